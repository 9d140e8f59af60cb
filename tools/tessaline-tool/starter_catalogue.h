// The catalogue the program ships with its wizard: the kinds of documents
// (categories and subcategories with their sheet layouts), backdrops drawn
// for each, and layout templates made through the card document's own
// "save as template" path, each filled from the contact database.
#pragma once

#include <cstdint>

struct PathRecord;

// Builds the whole catalogue into the wizard folders of the program folder
// home, which must have none yet. 0, or the first error met.
int32_t BuildStarterCatalogue(const PathRecord& home);
