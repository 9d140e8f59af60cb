// The picture chooser of the wizard's pages and dialogs. It stands on its
// own so that the program's picture open dialog can take its place in one
// line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class QWidget;

// The settings block the picture open dialog keeps between runs.
constexpr size_t kWizPictureSettingsSize = 778;
// Where the block keeps the path chosen last.
constexpr size_t kWizPictureSettingsPathAt = 260;

// Asks for a picture file; true with its path (a host path) on OK. The
// chosen path is also noted in the settings block.
bool WizChoosePicture(QWidget* parent, uint8_t* settings, std::string* path);

// Replaces the chooser (tests, tools); null restores the default.
using WizPictureChooser = bool (*)(QWidget* parent, uint8_t* settings, std::string* path);
WizPictureChooser SetWizPictureChooser(WizPictureChooser chooser);
