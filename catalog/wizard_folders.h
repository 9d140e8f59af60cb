// The wizard's folder under the program folder, its three sub-folders and
// its two list files, and making sure they all exist at start-up.
#pragma once

#include <cstdint>

#include "foundation/path_record.h"

// Folders.
enum : int32_t {
    kWizFolderWizard = 0,
    kWizFolderTemplates = 1,
    kWizFolderBackdrops = 2,
    kWizFolderDesigns = 3,
};

// List files.
enum : int32_t {
    kWizListTemplates = 1,
    kWizListBackdrops = 2,
    kWizListBoth = 5,
};

// The program folder the wizard works in (a record naming its inside).
// Until it is set, the program folder.
void SetWizardHome(const PathRecord* programFolder);

// The folder as a record naming its inside (empty name). 0, 1 for another
// selector, or the path's code.
int32_t WizardFolderPath(PathRecord* path, int32_t selector);
int32_t WizardListFilePath(PathRecord* path, int32_t selector);
// A file of one of the folders; name holds name and extension.
int32_t WizardFilePath(int32_t folder, const char* name, PathRecord* path);

// Makes sure the four folders exist (a file in the way of one is
// deleted), then checks both list files: a missing one is created, an
// older backdrop list converted, and a list of another version or one
// without its version record created afresh when the user agrees. The sum
// of the results.
int32_t EnsureWizardFiles();
