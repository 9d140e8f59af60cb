// The wizard's folders and its two list files: start-up checks, the
// conversion of an older backdrop list, and the record operations.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <cstring>
#include <string>
#include <vector>

#include "catalog/backdrop_list.h"
#include "catalog/template_list.h"
#include "catalog/wizard_list_files.h"
#include "catalog/wizard_list_format.h"
#include "catalog/wizard_results.h"
#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "foundation/resfile.h"
#include "support/shell.h"
#include "wizard_fixture.h"

namespace {

std::vector<uint8_t> Item(const char* name, const char* file)
{
    std::vector<uint8_t> item(kBkItemSize, 0);
    std::strcpy(reinterpret_cast<char*>(&item[kBkItemNameAt]), name);
    std::strcpy(reinterpret_cast<char*>(&item[kBkItemFileAt]), file);
    return item;
}

std::vector<uint8_t> Info(const char* name, const char* file)
{
    std::vector<uint8_t> info(kTmInSize, 0);
    std::strcpy(reinterpret_cast<char*>(&info[kTmInNameAt]), name);
    std::strcpy(reinterpret_cast<char*>(&info[kTmInFileAt]), file);
    return info;
}

// The raw bytes of a resource of a list file.
std::vector<uint8_t> Resource(int32_t selector, ResType type, int32_t id)
{
    std::vector<uint8_t> bytes;
    if (ListFileOpen(selector, kResReadOnly) != 0)
        return bytes;
    for (const ResEntry& e : ResFileTable()) {
        if (e.type == type && e.id == id) {
            bytes.resize(e.size);
            ResFileReadInto(type, id, bytes.data(), int32_t(bytes.size()));
        }
    }
    ListFileClose(selector);
    return bytes;
}

std::vector<std::string> ItemNames(int32_t group)
{
    HandleOwner names(HandleNew(0));
    int32_t count = 0;
    std::vector<std::string> out;
    if (ListGroupItemNames(group, names.get(), &count) == 0) {
        for (int32_t i = 0; i < count; ++i)
            out.push_back(reinterpret_cast<const char*>(HandleData(names.get()) + i * 64));
    }
    return out;
}

class Lists : public WizardHome {
protected:
    void SetUp() override
    {
        WizardHome::SetUp();
        ASSERT_EQ(EnsureWizardFiles(), 0);
        alerts.clear();
    }

    // Writes a list file by hand with the given resources.
    void WriteList(int32_t selector, const std::vector<std::pair<ResType, std::vector<uint8_t>>>& resources,
                   int32_t id = 1)
    {
        PathRecord path;
        ASSERT_EQ(WizardListFilePath(&path, selector), 0);
        FileDelete(&path);
        FileHandle created = kNoFile;
        ASSERT_EQ(FileCreate(&path, kFileReadWrite, &created), 0);
        FileClose(created);
        const FileHandle file = ResFileOpen(&path, kResReadWrite);
        ASSERT_NE(file, kNoFile);
        ASSERT_EQ(ResFileUse(file, kResReadWrite), 0);
        for (const auto& [type, bytes] : resources)
            ASSERT_EQ(ResFilePut(type, type == kWizVersionType ? 1 : id, bytes.data(), int32_t(bytes.size()), 1), 0);
        ResFileClose(file);
    }

    std::vector<uint8_t> Version(uint32_t v)
    {
        std::vector<uint8_t> r(kWizVersionSize, 0);
        PutU32LE(r.data(), v);
        return r;
    }
};

TEST_F(Lists, StartUpMakesFoldersAndLists)
{
    for (const char* folder : {"", "Templates", "Backdrops", "Designs"})
        EXPECT_TRUE(QFileInfo(QString::fromStdString(WizardFile(folder))).isDir()) << folder;
    EXPECT_EQ(Resource(kWizListTemplates, kWizVersionType, 1), Version(3));
    EXPECT_EQ(Resource(kWizListBackdrops, kWizVersionType, 1), Version(4));

    // A file in the way of a folder goes; a second start-up changes nothing.
    QDir(QString::fromStdString(WizardFile("Designs"))).removeRecursively();
    WriteFileBytes(WizardFile("Designs"), "in the way");
    const std::string lists = ReadFileBytes(WizardFile("Wiz_Back"));
    EXPECT_EQ(EnsureWizardFiles(), 0);
    EXPECT_TRUE(QFileInfo(QString::fromStdString(WizardFile("Designs"))).isDir());
    EXPECT_EQ(ReadFileBytes(WizardFile("Wiz_Back")), lists);
    EXPECT_TRUE(alerts.boxes().empty());
}

TEST_F(Lists, ListsOfAnotherVersionAskFirst)
{
    WriteList(kWizListTemplates, {{kWizVersionType, Version(2)}, {kWizTemplateType, Info("kept", "tmpl000.tp")}});
    const std::string old = ReadFileBytes(WizardFile("Wiz_Tmpl"));
    alerts.answer(kIdCancel);
    EXPECT_EQ(CheckWizardListFile(kWizListTemplates), kWizWrongCode);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_NE(alerts.lastText().find("older version"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(WizardFile("Wiz_Tmpl")), old);

    alerts.answer(kIdOk);
    EXPECT_EQ(CheckWizardListFile(kWizListTemplates), 0);
    EXPECT_EQ(Resource(kWizListTemplates, kWizVersionType, 1), Version(3));
    EXPECT_TRUE(Resource(kWizListTemplates, kWizTemplateType, 1).empty());

    // Without its version record, and as no resource file at all.
    WriteList(kWizListBackdrops, {{kWizBackdropType, std::vector<uint8_t>(280, 0)}});
    alerts.clear();
    alerts.answer(kIdCancel);
    EXPECT_NE(CheckWizardListFile(kWizListBackdrops), 0);
    EXPECT_NE(alerts.lastText().find("not contain version"), std::string::npos);
    WriteFileBytes(WizardFile("Wiz_Back"), "garbage that is no resource file");
    alerts.answer(kIdOk);
    EXPECT_EQ(CheckWizardListFile(kWizListBackdrops), 0);
    EXPECT_EQ(Resource(kWizListBackdrops, kWizVersionType, 1), Version(4));
}

TEST_F(Lists, OlderBackdropListIsConverted)
{
    // Two items of the older 200-byte form.
    std::vector<uint8_t> group(16 + 2 * 200, 0);
    PutU32LE(&group[12], 2);
    for (uint32_t i = 0; i < 2; ++i) {
        uint8_t* item = &group[16 + i * 200];
        PutU32LE(item, 9);
        PutU32LE(item + 4, i + 1);
        std::strcpy(reinterpret_cast<char*>(item + 8), i ? "Second" : "First");
        PutU32LE(item + 72, 0);
        std::strcpy(reinterpret_cast<char*>(item + 76), i ? "bckp001.bp" : "bckp000.bp");
        for (int k = 0; k < 40; ++k)
            item[140 + k] = uint8_t(k + 1);
        item[180] = 0xEE;  // the old tail is not carried
    }
    WriteList(kWizListBackdrops, {{kWizVersionType, Version(3)}, {kWizBackdropType, group}}, 9);
    EXPECT_EQ(CheckWizardListFile(kWizListBackdrops), 0);
    EXPECT_EQ(alerts.lastText(), "Backdrop Rsrc was converted successful.");
    EXPECT_EQ(Resource(kWizListBackdrops, kWizVersionType, 1), Version(4));

    const std::vector<uint8_t> record = Resource(kWizListBackdrops, kWizBackdropType, 9);
    ASSERT_EQ(record.size(), 16u + 2 * 264);
    EXPECT_EQ(GetU32LE(&record[12]), 2u);
    const uint8_t* second = &record[16 + 264];
    EXPECT_EQ(GetU32LE(second), 9u);
    EXPECT_EQ(GetU32LE(second + 4), 2u);
    EXPECT_STREQ(reinterpret_cast<const char*>(second + 8), "Second");
    EXPECT_STREQ(reinterpret_cast<const char*>(second + 72), "Second");
    EXPECT_STREQ(reinterpret_cast<const char*>(second + 140), "bckp001.bp");
    EXPECT_EQ(second[204], 1);
    EXPECT_EQ(second[243], 40);
    for (int k = 244; k < 264; ++k)
        EXPECT_EQ(second[k], 0) << k;

    // A group that does not hold the items it counts is no conversion.
    PutU32LE(&group[12], 3);
    WriteList(kWizListBackdrops, {{kWizVersionType, Version(3)}, {kWizBackdropType, group}}, 9);
    alerts.clear();
    alerts.answer(kIdCancel);
    EXPECT_EQ(CheckWizardListFile(kWizListBackdrops), kWizWrongCode);
    EXPECT_EQ(Resource(kWizListBackdrops, kWizVersionType, 1), Version(3));
}

TEST_F(Lists, BackdropGroupsAndItems)
{
    int32_t group = 0, n = 0;
    ASSERT_EQ(PutBackdropItem(&group, &n, Item("A", "a.bp").data()), 0);
    EXPECT_EQ(group, 1);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(Resource(kWizListBackdrops, kWizBackdropType, 1).size(), 280u);
    n = 0;
    ASSERT_EQ(PutBackdropItem(&group, &n, Item("B", "b.bp").data()), 0);
    EXPECT_EQ(n, 2);
    n = 50;
    ASSERT_EQ(PutBackdropItem(&group, &n, Item("C", "c.bp").data()), 0);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(Resource(kWizListBackdrops, kWizBackdropType, 1).size(), 16u + 3 * 264);
    int32_t count = 0;
    ASSERT_EQ(GetGroupItemCount(group, &count), 0);
    EXPECT_EQ(count, 3);

    ASSERT_EQ(MoveBackdropItem(group, 3, 1), 0);
    EXPECT_EQ(ItemNames(group), (std::vector<std::string>{"C", "A", "B"}));
    ASSERT_EQ(RemoveBackdropItem(group, 1), 0);
    EXPECT_EQ(ItemNames(group), (std::vector<std::string>{"A", "B"}));
    uint8_t item[kBkItemSize];
    ASSERT_EQ(GetBackdropItem(group, 2, item), 0);
    EXPECT_EQ(GetU32LE(item + kBkItemNumberAt), 2u);
    EXPECT_EQ(GetU32LE(item + kBkItemGroupAt), 1u);
    EXPECT_EQ(GetBackdropItem(group, 3, item), kWizMissing);
    EXPECT_EQ(GetBackdropItem(group, 0, item), kWizMissing);
    ASSERT_EQ(RemoveBackdropItem(group, 1), 0);
    ASSERT_EQ(RemoveBackdropItem(group, 1), 0);
    EXPECT_EQ(Resource(kWizListBackdrops, kWizBackdropType, 1).size(), 280u) << "an empty group keeps its slot";

    int32_t second = 0;
    ASSERT_EQ(PutBackdropItem(&second, &(n = 0), Item("Other", "o.bp").data()), 0);
    EXPECT_EQ(second, 2);
    ASSERT_EQ(MoveBackdropItem(second, 0, 1), 0);
    HandleOwner items(HandleNew(0)), ids(HandleNew(0));
    ASSERT_EQ(ListBackdropGroups(items.get(), ids.get(), &count), 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(GetU32LE(HandleData(ids.get())), 2u);
    EXPECT_STREQ(reinterpret_cast<const char*>(HandleData(items.get()) + kBkItemNameAt), "Other");
    ASSERT_EQ(RemoveBackdropItem(group, 0), 0);
    EXPECT_NE(GetGroupItemCount(group, &count), 0);
}

TEST_F(Lists, DeletingBackdropsRemovesTheirFilesOnlyInTheirFolder)
{
    WriteFileBytes(WizardFile("Backdrops/a.bp"), "a");
    WriteFileBytes(WizardFile("Backdrops/b.bp"), "b");
    WriteFileBytes(WizardFile("Wiz_Keep"), "keep");
    int32_t group = 0, n = 0;
    PutBackdropItem(&group, &n, Item("A", "a.bp").data());
    PutBackdropItem(&group, &(n = 0), Item("B", "b.bp").data());
    // A damaged record must not reach a file outside the folder.
    PutBackdropItem(&group, &(n = 0), Item("Evil", "../Wiz_Keep").data());

    ASSERT_EQ(DeleteBackdrop(group, 1), 0);
    EXPECT_TRUE(ReadFileBytes(WizardFile("Backdrops/a.bp")).empty());
    EXPECT_EQ(ReadFileBytes(WizardFile("Backdrops/b.bp")), "b");
    ASSERT_EQ(DeleteBackdrop(group, 0), 0);
    EXPECT_TRUE(ReadFileBytes(WizardFile("Backdrops/b.bp")).empty());
    EXPECT_EQ(ReadFileBytes(WizardFile("Wiz_Keep")), "keep");
    int32_t count = 0;
    EXPECT_NE(GetGroupItemCount(group, &count), 0);
}

TEST_F(Lists, DamagedGroupIsRefusedAndLeftAlone)
{
    std::vector<uint8_t> group(280, 0);
    PutU32LE(&group[12], 5);  // five items in the room of one
    WriteList(kWizListBackdrops, {{kWizVersionType, Version(4)}, {kWizBackdropType, group}}, 3);
    int32_t count = 0;
    EXPECT_EQ(GetGroupItemCount(3, &count), kResBadFile);
    uint8_t item[kBkItemSize];
    EXPECT_EQ(GetBackdropItem(3, 1, item), kResBadFile);
    int32_t id = 3, n = 0;
    EXPECT_EQ(PutBackdropItem(&id, &n, Item("x", "x.bp").data()), kResBadFile);
    EXPECT_EQ(RemoveBackdropItem(3, 1), kResBadFile);
    EXPECT_EQ(Resource(kWizListBackdrops, kWizBackdropType, 3), group);
}

TEST_F(Lists, TemplateRecords)
{
    int32_t a = 0, b = 0;
    ASSERT_EQ(WriteTemplateInfo(&a, Info("First", "tmpl000.tp").data()), 0);
    ASSERT_EQ(WriteTemplateInfo(&b, Info("Second", "tmpl001.tp").data()), 0);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    ASSERT_EQ(MoveTemplate(b, 1), 0);
    HandleOwner records(HandleNew(0)), ids(HandleNew(0));
    int32_t count = 0;
    ASSERT_EQ(ListTemplates(records.get(), ids.get(), &count), 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(GetU32LE(HandleData(ids.get())), 2u);
    char name[64];
    TemplateInfoName(HandleData(records.get()), name, sizeof name);
    EXPECT_STREQ(name, "Second");

    WriteFileBytes(WizardFile("Templates/tmpl000.tp"), "x");
    ASSERT_EQ(DeleteTemplate(a), 0);
    EXPECT_TRUE(ReadFileBytes(WizardFile("Templates/tmpl000.tp")).empty());
    uint8_t info[kTmInSize];
    EXPECT_NE(ReadTemplateInfo(a, info), 0);
    ASSERT_EQ(ReadTemplateInfo(b, info), 0);
    ASSERT_EQ(RemoveTemplateInfo(b), 0);
    EXPECT_NE(ReadTemplateInfo(b, info), 0);
}

TEST_F(Lists, NestedOpensOnlyCount)
{
    ASSERT_EQ(ListFileOpen(kWizListBoth, kResReadOnly), 0);
    EXPECT_EQ(ListFileMode(kWizListTemplates), kResReadOnly);
    uint8_t info[kTmInSize];
    EXPECT_NE(ReadTemplateInfo(1, info), 0);
    EXPECT_EQ(ListFileMode(kWizListBackdrops), kResReadOnly) << "still open after a nested use";
    ListFileClose(kWizListBoth);
    EXPECT_EQ(ListFileMode(kWizListTemplates), -1);
    EXPECT_EQ(ListFileOpen(9, kResReadOnly), kWizMissing);
}

}  // namespace
