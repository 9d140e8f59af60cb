#include "catalog/wizard_data.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "catalog/wizard_folders.h"
#include "catalog/wizard_list_files.h"
#include "catalog/wizard_results.h"

namespace {

std::unique_ptr<CWizTree> g_tree;

// What one WizardDataOpen achieved, so that its close undoes that much and
// no more: a tree that was not loaded whole is never saved over its file.
struct Bracket {
    bool lists = false;
    bool treeOpen = false;
    bool loaded = false;
};
std::vector<Bracket> g_brackets;

// The two operations that bracket themselves. While the data is open the
// tree in memory is the one in use, and they work on it as it is.
template <typename Work>
int32_t WithTree(int16_t mode, Work work)
{
    CWizTree* tree = g_tree.get();
    if (!tree)
        return kWizMissing;
    if (!g_brackets.empty())
        return work(tree);
    if (tree->OpenFile(mode) != 0)
        return kWizMissing;
    int32_t err = tree->Load();
    if (err == 0) {
        err = work(tree);
        const int32_t saved = tree->Save();
        if (err == 0)
            err = saved;
    }
    tree->CloseFile();
    tree->FreeAllNodes();
    return err;
}

}  // namespace

int32_t WizardTreeInit(const PathRecord* programFolder)
{
    if (programFolder)
        SetWizardHome(programFolder);
    int32_t result = EnsureWizardFiles();
    if (!g_tree) {
        g_tree.reset(new (std::nothrow) CWizTree);
        if (!g_tree)
            return result + kWizMissing;
    }
    PathRecord path;
    if (int32_t err = WizardFolderPath(&path, kWizFolderWizard))
        return result + err;
    std::strcpy(path.name, "Wiz_Tree");
    path.extension[0] = 0;
    g_tree->SetFilePath(&path);
    return result + g_tree->PrepareFile();
}

void WizardTreeFree()
{
    while (!g_brackets.empty())
        WizardDataClose();
    g_tree.reset();
}

CWizTree* GetWizardTree() { return g_tree.get(); }

int32_t WizardDataOpen(int16_t mode)
{
    Bracket bracket;
    int32_t err = ListFileOpen(kWizListBoth, mode);
    bracket.lists = err == 0;
    if (err == 0 && !g_tree)
        err = kWizMissing;
    if (err == 0) {
        err = g_tree->OpenFile(mode);
        bracket.treeOpen = err == 0;
    }
    if (err == 0) {
        // A nested open finds the tree loaded already.
        const bool nested = !g_brackets.empty() && g_brackets.back().loaded;
        err = nested ? 0 : g_tree->Load();
        bracket.loaded = err == 0;
    }
    g_brackets.push_back(bracket);
    return err;
}

int32_t WizardDataClose()
{
    if (g_brackets.empty())
        return 0;
    const Bracket bracket = g_brackets.back();
    g_brackets.pop_back();
    if (bracket.lists)
        ListFileClose(kWizListBoth);
    int32_t err = 0;
    if (g_tree && bracket.treeOpen) {
        if (bracket.loaded)
            err = g_tree->Save();
        g_tree->CloseFile();
    }
    if (g_tree && g_brackets.empty())
        g_tree->FreeAllNodes();
    return err;
}

int32_t AddTemplateToWizardTree(const DocSetup& setup, const WizTemplateEntry& entry)
{
    if (setup.fromCategory == 0)
        return kWizMissing;
    return WithTree(kFileReadWrite, [&](CWizTree* tree) { return tree->AddTemplateToBackdrops(setup, entry); });
}

int32_t GetWizardDocLayouts(Handle layouts, int32_t* count)
{
    return WithTree(kFileRead, [&](CWizTree* tree) { return tree->CollectLabelTypes(layouts, count); });
}
