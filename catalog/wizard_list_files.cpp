#include "catalog/wizard_list_files.h"

#include "catalog/wizard_folders.h"
#include "catalog/wizard_results.h"
#include "foundation/file_io.h"
#include "foundation/resfile.h"

namespace {

struct ListState {
    FileHandle file = kNoFile;
    int32_t count = 0;
    int16_t mode = kResReadOnly;
};

ListState g_lists[3];

}  // namespace

int32_t ListFileOpen(int32_t selector, int16_t mode)
{
    if (selector == kWizListBoth) {
        if (int32_t err = ListFileOpen(kWizListTemplates, mode))
            return err;
        const int32_t err = ListFileOpen(kWizListBackdrops, mode);
        if (err)
            ListFileClose(kWizListTemplates);
        return err;
    }
    if (selector != kWizListTemplates && selector != kWizListBackdrops)
        return kWizMissing;
    ListState& list = g_lists[selector];
    if (list.count == 0) {
        PathRecord path;
        if (int32_t err = WizardListFilePath(&path, selector))
            return err;
        const FileHandle file = ResFileOpen(&path, mode == kResReadOnly ? kResReadOnly : kResReadWrite);
        if (file == kNoFile)
            return ResFileLastError();
        list.file = file;
        list.mode = ResFileGetMode();
    }
    if (int32_t err = ResFileUse(list.file, list.mode)) {
        if (list.count == 0) {
            ResFileClose(list.file);
            list.file = kNoFile;
        }
        return err;
    }
    ++list.count;
    return 0;
}

void ListFileClose(int32_t selector)
{
    if (selector == kWizListBoth) {
        ListFileClose(kWizListTemplates);
        ListFileClose(kWizListBackdrops);
        return;
    }
    if (selector != kWizListTemplates && selector != kWizListBackdrops)
        return;
    ListState& list = g_lists[selector];
    if (list.count > 0 && --list.count == 0) {
        ResFileClose(list.file);
        list.file = kNoFile;
    }
}

int16_t ListFileMode(int32_t selector)
{
    if (selector != kWizListTemplates && selector != kWizListBackdrops)
        return -1;
    const ListState& list = g_lists[selector];
    return list.count > 0 ? list.mode : int16_t(-1);
}
