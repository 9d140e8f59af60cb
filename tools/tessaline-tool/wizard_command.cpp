// wizard dump and wizard starter: the wizard's catalogue on the command
// line. dump prints the tree, both lists and the references the lists
// lack; starter builds the small catalogue the program ships.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QTemporaryDir>

#include "catalog/backdrop_list.h"
#include "catalog/template_list.h"
#include "catalog/wiz_tree.h"
#include "catalog/wizard_data.h"
#include "catalog/wizard_fault_list.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_folders.h"
#include "catalog/wizard_list_files.h"
#include "catalog/wizard_list_format.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "foundation/program_folder.h"
#include "foundation/resfile.h"
#include "starter_catalogue.h"
#include "offscreen_application.h"
#include "terminal_text.h"
#include "tool_command.h"

namespace {

constexpr const char* kUsage = "usage: wizard dump PROGRAM-FOLDER | wizard starter PROGRAM-FOLDER";

int32_t HomeFrom(const std::string& folder, PathRecord* home)
{
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    return PathRecordFromPosix(path, home);
}

const char* KindName(uint32_t kind)
{
    switch (kind) {
    case kWizKindCategory:
        return "category";
    case kWizKindSubCategory:
        return "sub-category";
    case kWizKindFilter:
        return "filter";
    case kWizKindBackdrop:
        return "backdrop";
    default:
        return "node";
    }
}

uint32_t ListVersion()
{
    uint8_t record[kWizVersionSize];
    return ResFileReadInto(kWizVersionType, kWizVersionId, record, kWizVersionSize) == 0 ? GetU32LE(record) : 0;
}

void DumpTree(CWizTree* tree)
{
    std::printf("tree: %d nodes\n", tree->CountNodes());
    for (WizNode* n = tree->Root()->firstChild; n; n = CWizTreeNode::NextPreOrder(n, tree->Root())) {
        int depth = 0;
        for (const WizNode* p = n->parent; p; p = p->parent)
            ++depth;
        char name[kWizNameSize];
        const bool fits = tree->GetName(n, name, int32_t(sizeof name)) == 0;
        std::printf("%*s%s %u \"%s\"", depth * 2, "", KindName(n->kind), n->kind, TerminalText(name).c_str());
        uint8_t layout[kWizLayoutSize];
        uint32_t group = 0;
        if (!fits) {
            std::printf(" (payload of %u bytes does not fit the kind)", HandleGetSize(n->payload));
        } else if (tree->GetLabelType(n, layout) == 0) {
            const uint8_t* payload = HandleData(n->payload);
            std::printf(" %g x %g pt, %d x %d", GetF64LE(layout + kWizLayoutWidthAt),
                        GetF64LE(layout + kWizLayoutHeightAt), GetI16LE(layout + kLabelTypeColumnsOffset),
                        GetI16LE(layout + kLabelTypeRowsOffset));
            if (GetU32LE(payload + kWizCategoryPictureAt) == kWizDesignAttached)
                std::printf(", design %s", TerminalField(payload + kWizCategoryDesignAt, 63).c_str());
        } else if (tree->GetGroup(n, &group) == 0) {
            int32_t count = 0;
            tree->GetEntryCount(n, &count);
            std::printf(" group %u, %d templates", group, count);
        }
        std::printf("\n");
        int32_t count = 0;
        if (fits && tree->GetEntryCount(n, &count) == 0) {
            for (int32_t i = 1; i <= count; ++i) {
                WizTemplateEntry entry;
                tree->GetEntry(n, i, &entry);
                std::printf("%*stemplate %u \"%s\"\n", depth * 2 + 2, "", entry.templateId,
                            TerminalField(entry.name, 63).c_str());
            }
        }
    }
}

void DumpTemplates()
{
    if (ListFileOpen(kWizListTemplates, kResReadOnly) != 0)
        return;
    HandleOwner records(HandleNew(0)), ids(HandleNew(0));
    int32_t count = 0;
    std::printf("templates: version %u\n", ListVersion());
    if (ListTemplates(records.get(), ids.get(), &count) == 0) {
        for (int32_t i = 0; i < count; ++i) {
            const uint8_t* info = HandleData(records.get()) + size_t(i) * kTmInSize;
            char name[kWizNameSize];
            TemplateInfoName(info, name, int32_t(sizeof name));
            double w = 0, h = 0;
            TemplateInfoSize(info, &w, &h);
            std::printf("  %u \"%s\" %g x %g pt, file %s\n", GetU32LE(HandleData(ids.get()) + i * 4),
                        TerminalText(name).c_str(), w, h, TerminalField(info + kTmInFileAt, 63).c_str());
        }
    }
    ListFileClose(kWizListTemplates);
}

void DumpBackdrops()
{
    if (ListFileOpen(kWizListBackdrops, kResReadOnly) != 0)
        return;
    HandleOwner first(HandleNew(0)), ids(HandleNew(0));
    int32_t count = 0;
    std::printf("backdrops: version %u\n", ListVersion());
    if (ListBackdropGroups(first.get(), ids.get(), &count) == 0) {
        for (int32_t i = 0; i < count; ++i) {
            const int32_t group = int32_t(GetU32LE(HandleData(ids.get()) + i * 4));
            int32_t items = 0;
            if (GetGroupItemCount(group, &items) != 0) {
                std::printf("  group %d: damaged\n", group);
                continue;
            }
            std::printf("  group %d: %d items\n", group, items);
            for (int32_t n = 1; n <= items; ++n) {
                uint8_t item[kBkItemSize];
                GetBackdropItem(group, n, item);
                char name[kWizNameSize];
                BackdropItemName(item, name, int32_t(sizeof name));
                std::printf("    %d \"%s\" file %s, picture kind %u\n", n, TerminalText(name).c_str(),
                            TerminalField(item + kBkItemFileAt, 63).c_str(),
                            GetU32LE(item + kBkItemHeaderAt + 12));
            }
        }
    }
    ListFileClose(kWizListBackdrops);
}

int RunDump(const PathRecord& home)
{
    SetWizardHome(&home);
    PathRecord treePath;
    WizardFolderPath(&treePath, kWizFolderWizard);
    std::strcpy(treePath.name, "Wiz_Tree");
    CWizTree tree;
    if (tree.SetFilePath(&treePath) != 0)
        return ToolFail("no wizard tree in " + PathRecordToPosix(home));
    if (int32_t err = ListFileOpen(kWizListBoth, kResReadOnly))
        return ToolFail("the wizard's lists do not open (error " + std::to_string(err) + ")");
    int32_t err = tree.OpenFile(0);
    if (err == 0)
        err = tree.Load();
    if (err == 0) {
        DumpTree(&tree);
        DumpTemplates();
        DumpBackdrops();
        WizardFaultList faults;
        tree.CheckBackdropRefs(&faults);
        for (const WizardFault& f : faults.entries)
            std::printf("missing %s %u: \"%s\" under \"%s\"\n",
                        f.relationFault == kWizRelationGroupMissing ? "backdrop group" : "template", f.id,
                        TerminalText(f.displayName).c_str(), TerminalText(f.parentName).c_str());
    }
    tree.CloseFile();
    ListFileClose(kWizListBoth);
    return err ? ToolFail("the wizard tree does not read (error " + std::to_string(err) + ")") : 0;
}

// --- The shipped catalogue -------------------------------------------------------

int RunStarter(const PathRecord& home)
{
    SetWizardHome(&home);
    PathRecord treePath;
    WizardFolderPath(&treePath, kWizFolderWizard);
    std::strcpy(treePath.name, "Wiz_Tree");
    if (FileExists(&treePath, 0))
        return ToolFail("a wizard catalogue is there already: " + PathRecordToPosix(treePath));
    // Fonts and widgets for the templates' text and previews, and a program folder of its own for
    // the documents they are made from.
    const std::unique_ptr<QApplication> app = StartOffscreenApplication();
    QTemporaryDir folder;
    SetProgramFolderForTesting(folder.path().toStdString());
    const int32_t err = BuildStarterCatalogue(home);
    SetProgramFolderForTesting("");
    if (err)
        return ToolFail("the catalogue could not be built (error " + std::to_string(err) + ")");
    return 0;
}

int RunWizard(const ToolArgs& args)
{
    if (args.size() != 2 || (args[0] != "dump" && args[0] != "starter")) {
        std::fprintf(stderr, "%s\n", kUsage);
        return 2;
    }
    PathRecord home;
    if (int32_t err = HomeFrom(args[1], &home))
        return ToolFail("not a folder path: " + args[1] + " (error " + std::to_string(err) + ")");
    return args[0] == "dump" ? RunDump(home) : RunStarter(home);
}

}  // namespace

TESSALINE_TOOL_COMMAND("wizard", "wizard dump PROGRAM-FOLDER | wizard starter PROGRAM-FOLDER", RunWizard);
