// The program folder: where the program keeps its settings files and the
// data it ships ("Tessaline.dat", "QXDefPref", the "Wizard" folder, ...).
//
// It is a per-user folder, "Korrinworks Inc./Tessaline" in the user's data
// home ($XDG_DATA_HOME, else ~/.local/share). On first use in a process it
// is created and given every file of the installed data that it lacks;
// files already there, which the user may have changed, are never
// overwritten. The installed data is the first existing folder of
// $TESSALINE_DATA_DIR, <program's folder>/../share/tessaline and the
// source tree's data folder.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/path_record.h"

// The folder as a host path with a trailing '/'.
std::string ProgramFolderPath();
// The folder as a record naming its inside. 0 or the code.
int32_t GetProgramFolder(PathRecord* record);

// The data the program ships, which a new program folder is seeded from:
// $TESSALINE_DATA_DIR, or share/tessaline beside the program's folder (an
// installation, or the build's staged copy); empty when there is none.
std::string InstalledDataFolder();

// Puts every file of source (sub-folders included) that destination lacks
// into destination. A file appears whole or not at all. 0, or the code of
// the first failure (the other files are still copied).
int32_t SeedFolder(const std::string& source, const std::string& destination);

// Makes the program use path as its folder (created if missing, not
// filled); an empty path returns to the user's folder.
void SetProgramFolderForTesting(const std::string& path);
