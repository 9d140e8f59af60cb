#include "catalog/wizard_folders.h"

#include <cstring>

#include "catalog/wizard_list_files.h"
#include "catalog/wizard_results.h"
#include "foundation/file_io.h"
#include "foundation/program_folder.h"
#include "foundation/win_error.h"

namespace {

PathRecord g_home{};
bool g_homeSet = false;

const char* const kFolderNames[] = {"Wizard", "Templates", "Backdrops", "Designs"};

int32_t Home(PathRecord* path)
{
    if (g_homeSet) {
        *path = g_home;
        return 0;
    }
    return GetProgramFolder(path);
}

int32_t Enter(PathRecord* path, const char* folder)
{
    std::strcpy(path->name, folder);
    path->extension[0] = 0;
    return PathRecordEnterFolder(path);
}

// The record naming a folder itself, as FolderCheck and CreateFolder take
// it.
int32_t FolderItself(int32_t selector, PathRecord* path)
{
    if (int32_t err = Home(path))
        return err;
    if (selector != kWizFolderWizard) {
        if (int32_t err = Enter(path, kFolderNames[kWizFolderWizard]))
            return err;
    }
    std::strcpy(path->name, kFolderNames[selector]);
    path->extension[0] = 0;
    return 0;
}

}  // namespace

void SetWizardHome(const PathRecord* programFolder)
{
    g_homeSet = programFolder != nullptr;
    if (programFolder) {
        g_home = *programFolder;
        g_home.name[0] = g_home.extension[0] = 0;
    }
}

int32_t WizardFolderPath(PathRecord* path, int32_t selector)
{
    if (selector < kWizFolderWizard || selector > kWizFolderDesigns)
        return kWizMissing;
    if (int32_t err = FolderItself(selector, path))
        return err;
    return PathRecordEnterFolder(path);
}

int32_t WizardListFilePath(PathRecord* path, int32_t selector)
{
    if (selector != 1 && selector != 2)
        return kWizMissing;
    if (int32_t err = WizardFolderPath(path, kWizFolderWizard))
        return err;
    std::strcpy(path->name, selector == 1 ? "Wiz_Tmpl" : "Wiz_Back");
    return 0;
}

int32_t WizardFilePath(int32_t folder, const char* name, PathRecord* path)
{
    if (!name || std::strlen(name) > 255)
        return kWizMissing;
    if (int32_t err = WizardFolderPath(path, folder))
        return err;
    return SplitFileExtension(name, path->name, path->extension);
}

int32_t EnsureWizardFiles()
{
    int32_t result = 0;
    for (int32_t selector = kWizFolderWizard; selector <= kWizFolderDesigns; ++selector) {
        PathRecord folder;
        if (int32_t err = FolderItself(selector, &folder)) {
            result += err;
            continue;
        }
        int32_t state = FolderCheck(&folder);
        if (state == kErrAlreadyExists) {
            FileDelete(&folder);
            state = FolderCheck(&folder);
        }
        if (state != kErrNone)
            result += CreateFolder(&folder);
    }
    result += CheckWizardListFile(kWizListTemplates);
    result += CheckWizardListFile(kWizListBackdrops);
    return result;
}
