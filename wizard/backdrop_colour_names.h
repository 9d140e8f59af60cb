// The colour variants of a backdrop, as the Backdrop pages offer them.
#pragma once

#include <cstdint>

class QComboBox;

// Adds the names of the group's colour variants to the combo, in the list's
// order; adds none when the list cannot be read.
void AddBackdropColourNames(QComboBox* combo, int32_t group);
