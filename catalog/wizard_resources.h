// Whole resources of the current resource file as bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/resfile.h"

// The resource's bytes; kResNotFound when the current file has none.
int32_t WizReadResource(ResType type, int32_t id, std::vector<uint8_t>* bytes);
// The id a new resource of the type gets: one above the highest, 1 for the
// first. kWizMissing when the ids are used up.
int32_t WizNextResourceId(ResType type, int32_t* id);
