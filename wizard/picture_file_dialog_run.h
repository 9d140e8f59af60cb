// The picture import dialog of the wizard set-up pages: the desktop's open
// dialog with a preview panel, allowing several pictures at once. The
// "Show preview" choice lasts for the whole run of the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/handle.h"
#include "foundation/path_record.h"

class QWidget;

struct PictureFilterRow;
constexpr int32_t kWizardPictureFilterCount = 17;
extern const PictureFilterRow WizardPictureFilterTable[kWizardPictureFilterCount];

// 1 when the user pressed Open, with count records in list (a Handle the
// function sizes, one PathRecord per chosen file); 2 when cancelled, count
// and list untouched. start gives the folder and the file name the dialog
// starts with.
int32_t PictureFileDialogRun(QWidget* owner, const char* title, PathRecord start, int32_t* count, Handle list);

// What the dialog hands back, turned into the list: one file is taken as
// the full path given; several are each the folder (with a separator put
// behind it unless it has one) and a name. Stops at the first path that
// does not split, keeping what went before.
void ChosenFilesToList(const std::string& folder, const std::vector<std::string>& names, int32_t* count,
                       Handle list);

// Whether the preview shows, as the user left it.
bool PictureImportShowsPreview();
