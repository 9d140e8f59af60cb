#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/byte_order.h"
#include "frames/page_table2.h"
#include "frames/style_sheet.h"
#include "support/alert_capture.h"
#include "test_document.h"

namespace {

std::vector<int16_t> Numbers(PageTable& t)
{
    std::vector<int16_t> out;
    for (int32_t i = 0; i < t.Count(); ++i)
        out.push_back(PageNumber(t.RecordPtr(i)));
    return out;
}

std::vector<uint32_t> Handles(PageTable& t)
{
    std::vector<uint32_t> out;
    for (int32_t i = 0; i < t.Count(); ++i)
        out.push_back(PageHandle(t.RecordPtr(i)));
    return out;
}

TEST(PageTable, InsertingNumbersFromTheFirstPageAndHandsOutNewHandles)
{
    TempDir dir;
    TestDocument doc(dir.path());
    doc.firstPage = 5;
    doc.pages.InsertPages(0, 1, 7, 0);
    EXPECT_EQ(Numbers(doc.pages), std::vector<int16_t>{5});
    doc.pages.InsertPages(5, 2, 7, 0);
    EXPECT_EQ(Numbers(doc.pages), (std::vector<int16_t>{5, 6, 7}));
    EXPECT_EQ(Handles(doc.pages), (std::vector<uint32_t>{1, 2, 3}));
    const uint8_t* r = doc.pages.RecordPtr(1);
    EXPECT_EQ(PageKind(r), 7);
    EXPECT_EQ(r[178], 1);
    EXPECT_EQ(r[184], 1);
    EXPECT_EQ(GetI16LE(r + 10), 1);
    // No page numbered 99: the new page goes first.
    doc.pages.InsertPages(99, 1, 0, 0);
    EXPECT_EQ(Handles(doc.pages), (std::vector<uint32_t>{4, 1, 2, 3}));

    PageTable plain(&doc);
    uint8_t record[kPageRecordSize];
    plain.InitPage(record, 0);
    EXPECT_EQ(record[184], 0);
}

TEST(PageTable, ThePageLimitAndLookupsOfNothing)
{
    PageTable2 t(nullptr);
    t.InsertPages(0, 999, 0, 0);
    t.InsertPages(1, 2, 0, 0);
    EXPECT_EQ(t.Count(), 1000);
    uint32_t handle = 0;
    int16_t number = 0;
    EXPECT_EQ(t.HandleOfNumber(kNoPageNumber, &handle), -1);
    EXPECT_EQ(handle, kNoPageHandle);
    EXPECT_EQ(t.NumberOfHandle(kNoPageHandle, &number), -1);
    EXPECT_EQ(number, kNoPageNumber);
    uint8_t record[kPageRecordSize];
    std::memset(record, 0x77, sizeof record);
    EXPECT_EQ(t.GetPage(1000, record), -1);
    EXPECT_EQ(PageHandle(record), kNoPageHandle);
    EXPECT_EQ(PageNumber(record), kNoPageNumber);
    EXPECT_EQ(PageKind(record), 0xFFFF);
    EXPECT_EQ(record[185], 0);
    EXPECT_EQ(record[100], 0x77);
    EXPECT_EQ(t.PutPage(-1, record), -1);
}

TEST(PageTable, DeletingPagesThatAreNotThereDoesNothing)
{
    PageTable2 t(nullptr);
    t.InsertPages(0, 4, 0, 0);
    EXPECT_EQ(t.DeletePages(9, 10), 0);
    EXPECT_EQ(t.DeletePages(3, 1), 0);
    EXPECT_EQ(t.Count(), 4);
    t.DeletePages(2, 3);
    EXPECT_EQ(Numbers(t), (std::vector<int16_t>{1, 2}));
    EXPECT_EQ(Handles(t), (std::vector<uint32_t>{1, 4}));
    PageTable base(nullptr);
    base.InsertPages(0, 2, 0, 0);
    EXPECT_EQ(base.DeletePages(1, 1), 0);
    EXPECT_EQ(base.Count(), 2);
}

TEST(PageTable, TheSectionRoundTripAndALengthTheFileCannotHold)
{
    TempDir dir;
    ScratchFile file(dir, "pages");
    PageTable2 t(nullptr);
    t.InsertPages(0, 2, 3, 0);
    PutI16LE(t.RecordPtr(0) + kPageGuidesOffset, 144);
    ASSERT_EQ(t.Write(file.get(), 0), 0);
    const std::vector<uint8_t> bytes = file.Bytes();
    ASSERT_EQ(bytes.size(), 4u + 2 * 244u);
    EXPECT_EQ(GetU32LE(bytes.data()), 488u);
    EXPECT_EQ(GetI16LE(&bytes[4 + 18]), 144) << "guides start at 18";

    PageTable2 back(nullptr);
    ASSERT_EQ(back.Read(file.get(), 0), 0);
    EXPECT_EQ(Handles(back), (std::vector<uint32_t>{1, 2}));

    AlertCapture alerts;
    std::vector<uint8_t> lying = bytes;
    PutU32LE(lying.data(), 0x7FFFFFF0);
    file.Put(lying);
    back.InsertPages(2, 1, 0, 0);
    EXPECT_NE(back.Read(file.get(), 0), 0);
    EXPECT_EQ(back.Count(), 3) << "the table keeps what it held";
    EXPECT_EQ(alerts.lastText(), " NotEnough memory to load a page ");

    file.Put({0, 0, 0, 0});
    ASSERT_EQ(back.Read(file.get(), 0), 0);
    EXPECT_EQ(back.Count(), 0);
}

TEST(StyleSheet, NormalAndTheFallbackToIt)
{
    StyleSheet sheet;
    uint8_t style[kStyleRecordSize];
    ASSERT_TRUE(sheet.GetStyleById(0, style));
    EXPECT_STREQ(reinterpret_cast<char*>(style), "Normal");
    EXPECT_STREQ(reinterpret_cast<char*>(style + kStyleNextNameOffset), "Normal");
    EXPECT_EQ(GetU16LE(style + kStyleBaseFormatOffset + 6), 12);
    EXPECT_EQ(GetI16LE(style + kStyleRuleBelowOffset + kRuleStyleOffset), 4);
    EXPECT_EQ(GetI16LE(style + kStyleRuleAboveOffset + kRuleColourOffset), 5);

    ParaFormat format;
    format.leading = 9;
    EXPECT_FALSE(sheet.GetParaFormat(7, &format));
    ParaFormat normal;
    normal.alignment = 1;
    EXPECT_EQ(format, normal);

    EXPECT_EQ(sheet.FindStyleByName("Normal"), 0u);
    EXPECT_EQ(sheet.FindStyleByName("Heading"), 0u);

    uint8_t tabs[kTabBlockSize];
    sheet.GetTabs(0, tabs);
    EXPECT_EQ(GetU16LE(tabs), 0);
    for (size_t i = 0; i < kTabStopCount; ++i)
        EXPECT_EQ(GetU16LE(tabs + kTabStopsOffset + i * kTabStopSize + kTabStopPositionOffset), 0xFFFF);

    StyleSheet::MakeNormalStyle(style);
    std::memcpy(style, "Heading", 8);
    PutU32LE(style + kStyleIdOffset, 4);
    PutU16LE(style + kStyleBaseFormatOffset + 6, 18);
    sheet.InsertRecords(1, 2, style);
    EXPECT_EQ(sheet.FindStyleByName("Heading"), 4u);
    uint8_t base[kStyleBaseFormatSize];
    EXPECT_TRUE(sheet.GetBaseFormat(4, base));
    EXPECT_EQ(GetU16LE(base + 6), 18);
}

}  // namespace
