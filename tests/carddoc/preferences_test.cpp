// The preference files: "QXDefPref" rebuilt from its defaults when it is
// missing, old or short, damaged contents never trusted, blocks nobody read
// never written back; "QXDocPref" records found and replaced in place, a
// file of another version dropped, and the window fitted to its parent.
#include <gtest/gtest.h>

#include <string>

#include "card_test_support.h"
#include "foundation/byte_order.h"
#include "graphics/quick_card_block.h"
#include "records/preferences.h"
#include "records/preferences_window.h"

namespace {

uint32_t EmptyBlockSize()
{
    Handle block = QuickCardBlockNew();
    const uint32_t size = HandleGetSize(block);
    QuickCardBlockFree(&block);
    return size;
}

class Preferences : public CardDocTest {
protected:
    std::string DefPref() const { return ReadFileBytes(program_.file("QXDefPref")); }
    void PutDefPref(const std::string& bytes) const { WriteFileBytes(program_.file("QXDefPref"), bytes); }
    static uint32_t Word(const std::string& b, size_t at)
    {
        return GetU32LE(reinterpret_cast<const uint8_t*>(&b[at]));
    }
};

TEST_F(Preferences, AMissingOldOrShortFileIsRebuiltFromTheDefaults)
{
    uint8_t general[kGeneralPrefsSize];
    ASSERT_EQ(ReadDefPrefGeneral(general), 0);
    std::string file = DefPref();
    const size_t emptyBlock = EmptyBlockSize();
    EXPECT_EQ(file.size(), kDefPrefDataAt + emptyBlock);
    EXPECT_EQ(Word(file, 0), 10u);
    EXPECT_EQ(Word(file, kDefPrefQuickCardAt + 12), emptyBlock);
    const struct {
        size_t at;
        uint32_t value;
    } defaults[] = {{0, 10},   {4, 32},   {8, 0},   {12, 0},         {16, 85},        {20, 70},
                    {24, 70},  {28, 2},   {32, 2},  {40, 0x0000FF00}, {44, 0x00FFFF21}, {48, 1},
                    {52, 1},   {56, 0},   {60, 1},  {64, 1},         {68, 0},         {72, 1},
                    {76, 100}, {80, 100}, {84, 20}, {88, 0},         {96, 1},         {100, 0},
                    {104, 1},  {144, 0}};
    for (const auto& d : defaults)
        EXPECT_EQ(GetU32LE(general + d.at), d.value) << "general word at " << d.at;
    uint8_t tools[kToolPrefsSize];
    ASSERT_EQ(ReadDefPrefTools(tools), 0);
    for (size_t w = 0; w < 23; ++w)
        EXPECT_EQ(GetU32LE(tools + 4 * w), (w <= 1 || (w >= 3 && w <= 11) || (w >= 15 && w <= 19)) ? 1u : 0u) << w;

    // A file that is one byte short, or of another version, is rebuilt.
    PutU32LE(general + kPrefScrollSpeed, 77);
    ASSERT_EQ(WriteDefPrefGeneral(general), 0);
    file = DefPref();
    PutDefPref(file.substr(0, kDefPrefDataAt - 1));
    ASSERT_EQ(ReadDefPrefGeneral(general), 0);
    EXPECT_EQ(GetU32LE(general + kPrefScrollSpeed), 32u);
    ASSERT_EQ(WriteDefPrefGeneral(general), 0);
    file = DefPref();
    PutU32LE(reinterpret_cast<uint8_t*>(&file[0]), 9);
    PutU32LE(reinterpret_cast<uint8_t*>(&file[kDefPrefGeneralAt + kPrefScrollSpeed]), 77);
    PutDefPref(file);
    ASSERT_EQ(ReadDefPrefGeneral(general), 0);
    EXPECT_EQ(GetU32LE(general + kPrefScrollSpeed), 32u);
}

TEST_F(Preferences, QuickCardDataIsBelievedOnlyWhenTheFileHoldsAValidBlock)
{
    QuickCardItem item;
    item.words[0] = 5;
    item.data = QuickCardBlockNew();
    Handle piece = QuickCardItemNew();
    QuickCardItemSetText(piece, "Name", 4);
    QuickCardBlockAppendItem(item.data, piece);
    HandleFree(piece);
    ASSERT_EQ(WriteDefPrefQuickCard(item), 0);
    const uint32_t size = HandleGetSize(item.data);
    QuickCardItem back;
    ASSERT_EQ(ReadDefPrefQuickCard(&back), 0);
    EXPECT_EQ(back.words[0], 5u);
    ASSERT_EQ(HandleGetSize(back.data), size);
    EXPECT_EQ(std::memcmp(HandleData(back.data), HandleData(item.data), size), 0);

    // A size word beyond the file, and bytes that are no block, give an
    // empty block.
    std::string file = DefPref();
    PutU32LE(reinterpret_cast<uint8_t*>(&file[kDefPrefQuickCardAt + 12]), 0xFFFFFFF0u);
    PutDefPref(file);
    ASSERT_EQ(ReadDefPrefQuickCard(&back), 0);
    EXPECT_TRUE(QuickCardBlockIsValid(back.data));
    EXPECT_EQ(HandleGetSize(back.data), EmptyBlockSize());
    PutU32LE(reinterpret_cast<uint8_t*>(&file[kDefPrefQuickCardAt + 12]), size);
    file.replace(kDefPrefDataAt, 4, "\xFF\xFF\xFF\xFF", 4);
    PutDefPref(file);
    ASSERT_EQ(ReadDefPrefQuickCard(&back), 0);
    EXPECT_TRUE(QuickCardBlockIsValid(back.data));
    QuickCardBlockFree(&back.data);
    QuickCardBlockFree(&item.data);
}

TEST_F(Preferences, OnlyTheBlocksSomeoneReadAreWrittenBackWhenADocumentGoes)
{
    uint8_t tools[kToolPrefsSize];
    ReadDefPrefTools(tools);
    PutU32LE(tools, 1234);
    ASSERT_EQ(WriteDefPrefTools(tools), 0);
    NewCardDocument().reset();
    EXPECT_EQ(Word(DefPref(), kDefPrefToolsAt), 1234u) << "nobody held the tool block";

    PutU32LE(GlobalToolPrefs(), 99);
    NewCardDocument().reset();
    EXPECT_EQ(Word(DefPref(), kDefPrefToolsAt), 99u);
}

TEST_F(Preferences, WindowRecordsAreFoundReplacedInPlaceAndDroppedWhenOld)
{
    DocWndPref a;
    std::strcpy(a.path, "\\docs\\a.lqx");
    a.page = 2;
    a.zoomNumerator = 3;
    a.zoomDenominator = 4;
    a.frameRect = IntRect{1, 2, 300, 400};
    ASSERT_EQ(StoreDocWndPref(a), 0);
    DocWndPref b = a;
    std::strcpy(b.path, "\\docs\\b.lqx");
    ASSERT_EQ(StoreDocWndPref(b), 0);
    a.page = 5;
    ASSERT_EQ(StoreDocWndPref(a), 0);
    const std::string file = ReadFileBytes(program_.file("QXDocPref"));
    EXPECT_EQ(file.size(), 2 * kDocWndPrefSize) << "the record was replaced, not added";
    EXPECT_EQ(file[kWndNotFound], 0);

    DocWndPref found;
    EXPECT_EQ(LookupDocWndPref("\\docs\\a.lqx", &found), 0);
    EXPECT_EQ(found.page, 5);
    EXPECT_EQ(found.zoomDenominator, 4);
    EXPECT_EQ(found.frameRect.right, 300);
    EXPECT_EQ(LookupDocWndPref("\\docs\\A.lqx", &found), 1) << "paths compare exactly";

    std::string old = file;
    PutU32LE(reinterpret_cast<uint8_t*>(&old[kDocWndPrefSize]), 9);
    WriteFileBytes(program_.file("QXDocPref"), old);
    EXPECT_EQ(LookupDocWndPref("\\docs\\b.lqx", &found), 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(program_.file("QXDocPref"))));
    EXPECT_EQ(alerts_.beeps().size(), 1u);
}

TEST_F(Preferences, AStoredWindowIsFittedIntoItsParent)
{
    const IntRect client{0, 0, 800, 600};
    EXPECT_EQ(FitWindowRect(IntRect{10, 20, 110, 220}, client).right, 110) << "a window inside stays";
    const IntRect big = FitWindowRect(IntRect{-50, -50, 1000, 900}, client);
    EXPECT_EQ(big.left, 0);
    EXPECT_EQ(big.top, 0);
    EXPECT_EQ(big.right, 800);
    EXPECT_EQ(big.bottom, 600);
    const IntRect pushed = FitWindowRect(IntRect{700, 550, 900, 650}, client);
    EXPECT_EQ(pushed.left, 600);
    EXPECT_EQ(pushed.top, 500);
    EXPECT_EQ(pushed.right, 800);
    const IntRect reversed = FitWindowRect(IntRect{900, 900, 100, 100}, client);
    EXPECT_EQ(reversed.right - reversed.left, 0);
}

TEST_F(Preferences, AReopenedDocumentTakesItsStoredPageAndZoomButNoBrokenZoom)
{
    auto doc = CardWithText("Window");
    const PathRecord path = DocPath("w.lqx");
    ASSERT_TRUE(doc->DoSave(&path));
    doc->SwitchToPage(2);
    doc->PageManager()->SetZoom(1, 2, 2, 0);
    doc->OnCloseDocument();
    doc.reset();

    auto reopened = OpenCardDocument(path);
    ASSERT_NE(reopened, nullptr);
    reopened->InitialUpdate();
    EXPECT_EQ(reopened->GetCurrentPage(), 2);
    int16_t n = 0, d = 0, mode = 0;
    reopened->PageManager()->GetZoom(&n, &d, &mode);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(d, 2);
    reopened->OnCloseDocument();
    reopened.reset();

    std::string file = ReadFileBytes(program_.file("QXDocPref"));
    ASSERT_EQ(file.size(), kDocWndPrefSize);
    PutI16LE(reinterpret_cast<uint8_t*>(&file[kWndZoomDenominator]), 0);
    WriteFileBytes(program_.file("QXDocPref"), file);
    reopened = OpenCardDocument(path);
    ASSERT_NE(reopened, nullptr);
    reopened->InitialUpdate();
    reopened->PageManager()->GetZoom(&n, &d, &mode);
    EXPECT_EQ(d, 1);
}

}  // namespace
