// wizard dump and wizard starter: the wizard's catalogue on the command
// line. dump prints the tree, both lists and the references the lists
// lack; starter builds the small catalogue the program ships.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/label_stock_format.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "foundation/resfile.h"
#include "graphics/dib_bmp.h"
#include "graphics/dib_handle.h"
#include "graphics/dib_pixels.h"
#include "platform/gdi_types.h"
#include "tool_command.h"
#include "wizard/backdrop_list.h"
#include "wizard/template_list.h"
#include "wizard/wiz_tree.h"
#include "wizard/wizard_data.h"
#include "wizard/wizard_fault_list.h"
#include "wizard/wizard_file_io.h"
#include "wizard/wizard_folders.h"
#include "wizard/wizard_list_files.h"
#include "wizard/wizard_list_format.h"

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
        std::printf("%*s%s %u \"%s\"", depth * 2, "", KindName(n->kind), n->kind, name);
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
                std::printf(", design %.63s", reinterpret_cast<const char*>(payload + kWizCategoryDesignAt));
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
                std::printf("%*stemplate %u \"%.63s\"\n", depth * 2 + 2, "", entry.templateId, entry.name);
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
            std::printf("  %u \"%s\" %g x %g pt, file %.63s\n", GetU32LE(HandleData(ids.get()) + i * 4), name, w, h,
                        reinterpret_cast<const char*>(info + kTmInFileAt));
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
                std::printf("    %d \"%s\" file %.63s, picture kind %u\n", n, name,
                            reinterpret_cast<const char*>(item + kBkItemFileAt),
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
                        f.displayName.c_str(), f.parentName.c_str());
    }
    tree.CloseFile();
    ListFileClose(kWizListBoth);
    return err ? ToolFail("the wizard tree does not read (error " + std::to_string(err) + ")") : 0;
}

// --- The shipped catalogue -------------------------------------------------------

struct Layout {
    const char* name;
    double width, height, top, left, rowGap, columnGap;
    int16_t columns, rows;
};

std::vector<uint8_t> LabelType(const Layout& l)
{
    std::vector<uint8_t> r(kWizLayoutSize, 0);
    WizPutName(r.data(), kWizNameSize, l.name);
    PutF64LE(&r[kLabelTypeCardWidthOffset], l.width);
    PutF64LE(&r[kLabelTypeCardHeightOffset], l.height);
    PutF64LE(&r[kLabelTypeTopMarginOffset], l.top);
    PutF64LE(&r[kLabelTypeLeftMarginOffset], l.left);
    PutF64LE(&r[kLabelTypeVerticalSpacingOffset], l.rowGap);
    PutF64LE(&r[kLabelTypeHorizontalSpacingOffset], l.columnGap);
    PutI16LE(&r[kLabelTypeColumnsOffset], l.columns);
    PutI16LE(&r[kLabelTypeRowsOffset], l.rows);
    PutI16LE(&r[kLabelTypeUnitOffset], 1);  // shown in inches
    PutU32LE(&r[kLabelTypeSidesOffset], 2);  // front and back
    PutU32LE(&r[kLabelTypeWord140Offset], 1);
    return r;
}

// A backdrop picture: a soft band of the colour across a light ground, in
// one of three patterns.
DibHandle BackdropPicture(int pattern, ColorRef colour)
{
    constexpr int32_t kWidth = 96, kHeight = 56;
    DibHandle h = DibHandleNew();
    if (!h || DibHandleCreate(h, kWidth, kHeight, 24) != 0)
        return h;
    const int r = int(colour & 0xFF), g = int((colour >> 8) & 0xFF), b = int((colour >> 16) & 0xFF);
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            int weight = 0;  // 0..16 parts of the colour over white
            if (pattern == 0)
                weight = (y * 16) / kHeight;
            else if (pattern == 1)
                weight = ((x / 8) % 2) ? 10 : 3;
            else
                weight = x + y < 40 ? 14 : (x + y < 56 ? 6 : 0);
            auto mix = [&](int c) { return uint8_t((c * weight + 255 * (16 - weight)) / 16); };
            DibHandleSetPixel(h, x, y, MakeRgb(mix(r), mix(g), mix(b)));
        }
    }
    return h;
}

// Writes the picture as a bitmap file in the temporary folder and makes a
// backdrop item of it.
int32_t AddBackdropItem(const std::string& tempFolder, int pattern, ColorRef colour, const char* name,
                        int32_t* group)
{
    DibHandleOwner picture(BackdropPicture(pattern, colour));
    std::vector<uint8_t> bmp;
    if (DibHandleToBmpBytes(picture.get(), &bmp) != 0)
        return 1;
    PathRecord source;
    if (int32_t err = PathRecordFromPosix(tempFolder + name + ".bmp", &source))
        return err;
    if (int32_t err = WizWriteFile(source, bmp))
        return err;
    int32_t n = 0;
    uint8_t item[kBkItemSize];
    const int32_t err = ReadBackdropFile(&source, name, group, &n, item);
    FileDelete(&source);
    return err;
}

int RunStarter(const PathRecord& home)
{
    SetWizardHome(&home);
    PathRecord treePath;
    WizardFolderPath(&treePath, kWizFolderWizard);
    std::strcpy(treePath.name, "Wiz_Tree");
    if (FileExists(&treePath, 0))
        return ToolFail("a wizard catalogue is there already: " + PathRecordToPosix(treePath));
    if (int32_t err = WizardTreeInit(&home))
        return ToolFail("the wizard's files cannot be made (error " + std::to_string(err) + ")");

    const std::string temp = PathRecordToPosix(home);
    struct Group {
        int pattern;
        std::vector<std::pair<const char*, ColorRef>> colours;
        int32_t id = 0;
    };
    std::vector<Group> groups = {
        {0, {{"Sky Blue", MakeRgb(40, 110, 200)}, {"Sea Green", MakeRgb(30, 150, 110)}, {"Rose", MakeRgb(200, 70, 110)}}},
        {1, {{"Slate Stripes", MakeRgb(70, 80, 100)}, {"Amber Stripes", MakeRgb(220, 150, 30)}}},
        {2, {{"Teal Corner", MakeRgb(20, 130, 140)}, {"Plum Corner", MakeRgb(120, 50, 120)}}},
    };
    int32_t err = WizardDataOpen(2);
    for (Group& g : groups) {
        for (const auto& [name, colour] : g.colours) {
            if (err == 0)
                err = AddBackdropItem(temp, g.pattern, colour, name, &g.id);
        }
    }

    CWizTree* tree = GetWizardTree();
    const Layout business{"Business Cards", 252, 144, 36, 54, 0, 0, 2, 5};
    const Layout address{"Address Labels", 189, 72, 36, 13.5, 0, 9, 3, 10};
    const Layout shipping{"Shipping Labels", 288, 144, 36, 11.25, 0, 11.25, 2, 5};
    const Layout index{"Index Cards", 360, 216, 72, 126, 0, 0, 1, 3};
    auto backdrops = [&](WizNode* parent, std::initializer_list<int> which) {
        for (int i : which) {
            if (err == 0 && !tree->AddBackdrop(parent, uint32_t(groups[size_t(i)].id)))
                err = 1;
        }
    };
    if (err == 0) {
        WizNode* cards = tree->AddCategory(LabelType(business).data(), nullptr);
        WizNode* labels = tree->AddCategory(LabelType(address).data(), nullptr);
        WizNode* indexCards = tree->AddCategory(LabelType(index).data(), nullptr);
        if (!cards || !labels || !indexCards || tree->SetName(labels, "Labels") != 0) {
            err = 1;
        } else {
            backdrops(cards, {0, 1, 2});
            WizNode* addressSub = tree->AddSubCategory(labels, LabelType(address).data(), nullptr);
            WizNode* shippingSub = tree->AddSubCategory(labels, LabelType(shipping).data(), nullptr);
            WizNode* plain = addressSub ? tree->AddFilter(addressSub) : nullptr;
            if (!shippingSub || !plain || tree->SetName(plain, "Plain") != 0)
                err = 1;
            else {
                backdrops(plain, {1});
                backdrops(shippingSub, {0, 2});
                backdrops(indexCards, {0, 1});
            }
        }
    }
    const int32_t closed = WizardDataClose();
    WizardTreeFree();
    if (err == 0)
        err = closed;
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
