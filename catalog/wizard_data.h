// The program's one wizard tree and the brackets around every use of the
// wizard's data.
//
// Start-up builds the tree object and makes sure the wizard's folders and
// files exist; the tree stays empty in memory until WizardDataOpen. The
// new-document wizard opens the data for reading (mode 0), so nothing is
// written back; the set-up sheet opens it for reading and writing (mode 2),
// and its changes are saved when it closes.
#pragma once

#include <cstdint>

#include "catalog/doc_setup.h"
#include "catalog/wiz_tree.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"

// The sum of the results of making the folders, the list files and the
// tree file ready. programFolder null: the program folder.
int32_t WizardTreeInit(const PathRecord* programFolder);
void WizardTreeFree();
// Null before WizardTreeInit.
CWizTree* GetWizardTree();

// Opens both list files and the tree file in the mode and loads the tree.
// Every call, also a failing one, is to be paired with WizardDataClose,
// which undoes only what its open did.
int32_t WizardDataOpen(int16_t mode);
// Closes the lists, saves the tree when its bracket could write and the
// load was whole, closes the tree file and frees the nodes.
int32_t WizardDataClose();

// Appends the entry to the backdrops of the set-up's group under the
// category of its label layout; 1 when the layout did not come from a
// category.
int32_t AddTemplateToWizardTree(const DocSetup& setup, const WizTemplateEntry& entry);
// The label layouts of the tree's document formats (168 bytes each).
int32_t GetWizardDocLayouts(Handle layouts, int32_t* count);
