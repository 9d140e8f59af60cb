#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/needed_tools.h"
#include "fake_font_source.h"
#include "typography/font_list.h"
#include "typography/font_table.h"

namespace {

LogFont AllFonts()
{
    LogFont f;
    f.charSet = DEFAULT_CHARSET;
    return f;
}

std::vector<std::string> Faces(const FontList& list)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        char face[32];
        list.GetFaceName(i, face);
        out.push_back(face);
    }
    return out;
}

TEST(FontList, OneRecordPerFaceAndTechnologyInByteOrder)
{
    FakeFontSource source;
    source.faces.push_back({"zapf", TRUETYPE_FONTTYPE, 0x52, 1000, {0}, {}});
    source.faces.push_back({"Tahoma", TRUETYPE_FONTTYPE, 0x22, 2048, {0, 238, 204, 0}, {}});
    source.faces.push_back({"Tahoma", DEVICE_FONTTYPE, 0x22, 0, {0}, {}});
    source.faces.push_back({"Fixedsys", RASTER_FONTTYPE, 0x31, 0, {0, 255}, {12, 8, 10, 8}});
    source.faces.push_back({"Arial", TRUETYPE_FONTTYPE, 0x22, 2048, {0}, {}});
    FontList list;
    const LogFont all = AllFonts();
    ASSERT_TRUE(list.Build(&all));
    EXPECT_FALSE(list.UsesPrinterDC());
    EXPECT_EQ(Faces(list), (std::vector<std::string>{"Arial", "Fixedsys", "Tahoma", "Tahoma", "zapf"}));

    const FontRecord tt = list.GetAt(2);
    EXPECT_EQ(tt.type, kFontTypeTrueType);
    EXPECT_EQ(tt.emSize, 2048u);
    ASSERT_TRUE(tt.charsets.has_value());
    std::vector<uint8_t> sets;
    for (const FontCharset& c : *tt.charsets)
        sets.push_back(c.charSet);
    EXPECT_EQ(sets, (std::vector<uint8_t>{0, 238, 204}));
    EXPECT_EQ(tt.charsets->front().script, "Western");
    EXPECT_FALSE(tt.sizes.has_value());
    const FontRecord device = list.GetAt(3);
    EXPECT_EQ(device.type, kFontTypeDevice);
    EXPECT_EQ(device.emSize, 0u);

    const FontRecord raster = list.GetAt(1);
    EXPECT_EQ(raster.type, kFontTypeRaster);
    ASSERT_TRUE(raster.sizes.has_value());
    EXPECT_EQ(*raster.sizes, (std::vector<int32_t>{8, 10, 12}));
    std::vector<uint32_t> sizes{99};
    ASSERT_TRUE(list.GetSizeList(1, &sizes));
    EXPECT_EQ(sizes, (std::vector<uint32_t>{8, 10, 12}));
    ASSERT_TRUE(list.GetSizeList(0, &sizes));
    EXPECT_EQ(sizes, (std::vector<uint32_t>{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72}));

    EXPECT_EQ(list.FindFont("Tahoma", kFontTypeDevice), 3);
    EXPECT_EQ(list.FindFont("", kFontTypeTrueType), 0);
    EXPECT_EQ(list.FindFont("tahoma", kFontTypeTrueType), -1);
    EXPECT_EQ(list.FindFont("Arial", kFontTypeRaster), -1);

    // A rebuild starts over.
    source.faces.resize(1);
    ASSERT_TRUE(list.Build(&all));
    EXPECT_EQ(Faces(list), (std::vector<std::string>{"zapf"}));
}

TEST(FontList, DescriptionsOfAFace)
{
    FakeFontSource source;
    source.faces.push_back({"Tahoma", TRUETYPE_FONTTYPE, 0x22, 2048, {238, 204}, {}});
    source.faces.push_back({"Modern", DEVICE_FONTTYPE, 0x31, 0, {0}, {}});
    FontList list;
    const LogFont all = AllFonts();
    ASSERT_TRUE(list.Build(&all));

    FontSpec s;
    ASSERT_TRUE(list.GetFontSpec(1, 204, &s));
    EXPECT_EQ(s.charSet, 204);
    EXPECT_EQ(s.emSize, 2048u);
    EXPECT_STREQ(s.faceName, "Tahoma");
    ASSERT_TRUE(list.GetFontSpec(1, 0, &s));
    EXPECT_EQ(s.charSet, 238);  // lacking the wanted set: the first one
    ASSERT_TRUE(list.GetFontSpec(7, 0, &s));
    EXPECT_STREQ(s.faceName, "Modern");  // outside the list: record 0

    LogFont lf;
    lf.height = -30;
    lf.weight = FW_BOLD;
    ASSERT_TRUE(list.GetLogFont(0, 1, &lf));
    EXPECT_EQ(lf.outPrecision, OUT_DEVICE_PRECIS);
    EXPECT_EQ(lf.pitchAndFamily, 0x31);
    EXPECT_EQ(lf.height, -30);
    EXPECT_EQ(lf.weight, FW_BOLD);
    ASSERT_TRUE(list.GetLogFont(1, 1, &lf));
    EXPECT_EQ(lf.outPrecision, OUT_TT_ONLY_PRECIS);

    EXPECT_EQ(list.GetAt(-1).faceName[0], 0);
    EXPECT_EQ(list.GetAt(2).type, 0u);
    char face[32] = "junk";
    list.GetFaceName(5, face);
    EXPECT_EQ(face[0], 0);

    FontList empty;
    EXPECT_FALSE(empty.GetFontSpec(0, 0, &s));
    EXPECT_FALSE(empty.GetLogFont(0, 0, &lf));
}

TEST(FontList, RecordsAddedByHand)
{
    FontList list;
    EXPECT_EQ(list.AddFont("Symbol", 0x12, 0, TRUETYPE_FONTTYPE | DEVICE_FONTTYPE, false), 0);
    EXPECT_EQ(list.AddFont("Terminal", 0x31, 0, RASTER_FONTTYPE, true), 1);
    EXPECT_EQ(list.AddFont("A face name longer than thirty-one bytes", 0, 0, DEVICE_FONTTYPE, true), 2);
    EXPECT_EQ(list.GetAt(0).type, kFontTypeTrueType);
    EXPECT_FALSE(list.GetAt(0).charsets.has_value());
    EXPECT_TRUE(list.GetAt(1).charsets.has_value());
    EXPECT_TRUE(list.GetAt(1).sizes.has_value());
    EXPECT_EQ(list.GetAt(2).type, kFontTypeDevice);
    EXPECT_EQ(std::string(list.GetAt(2).faceName), "A face name longer than thirty-");
    FontSpec s;
    ASSERT_TRUE(list.GetFontSpec(0, 161, &s));
    EXPECT_EQ(s.charSet, 161);
}

TEST(FontList, AnEnumerationThatStopsLeavesTheListEmpty)
{
    FakeFontSource source;
    source.faces.push_back({"Arial", TRUETYPE_FONTTYPE, 0x22, 2048, {0}, {}});
    source.familyResult = 0;
    source.printer = true;
    FontList list;
    const LogFont all = AllFonts();
    EXPECT_FALSE(list.Build(&all));
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(list.UsesPrinterDC());
}

// The fonts of this computer, as the program lists them.
TEST(InstalledFonts, WindowsFacesStandForTheirStandIns)
{
    FontList list;
    const LogFont all = AllFonts();
    ASSERT_TRUE(list.Build(&all));
    ASSERT_GT(list.GetCount(), 0);
    const int32_t arial = list.FindFont("Arial", kFontTypeTrueType);
    if (arial < 0 || list.FindFont("Courier New", kFontTypeTrueType) < 0)
        SKIP_FOR_MISSING_TOOL() << "the Liberation fonts are not installed";
    const FontRecord r = list.GetAt(arial);
    EXPECT_EQ(r.pitchAndFamily, 0x22);
    EXPECT_GT(r.emSize, 0u);
    ASSERT_TRUE(r.charsets.has_value());
    EXPECT_EQ(r.charsets->front().charSet, 0);
    EXPECT_EQ(r.charsets->front().script, "Western");
    EXPECT_EQ(list.GetAt(list.FindFont("Courier New", kFontTypeTrueType)).pitchAndFamily, 0x31);
    for (int32_t i = 1; i < list.GetCount(); ++i)
        EXPECT_LE(std::strcmp(list.GetAt(i - 1).faceName, list.GetAt(i).faceName), 0);

    // A new document's font is there as it is; a face in other letters
    // and a missing face draw with what the fonts supply.
    FontList* global = GetGlobalFontList();
    ASSERT_TRUE(global->Build(&all));
    FontTable t;
    t.AddDefaultFont();
    EXPECT_TRUE(t.Substitutes().IsEmpty());
    FontSpec lower;
    lower.type = kFontTypeTrueType;
    lower.pitchAndFamily = 0x22;
    std::strcpy(lower.faceName, "arial");
    FontSpec missing = lower;
    std::strcpy(missing.faceName, "No Such Face At All");
    const int32_t lowerId = t.AddFont(&lower);
    const int32_t missingId = t.AddFont(&missing);
    t.CheckInstalledFonts();
    FontSpec s;
    ASSERT_TRUE(t.Lookup(lowerId, &s));
    EXPECT_STREQ(s.faceName, "Arial");
    ASSERT_TRUE(t.Lookup(missingId, &s));
    EXPECT_NE(std::string(s.faceName), "No Such Face At All");
    EXPECT_GE(list.FindFont(s.faceName, s.type), 0);
    global->RemoveAll();
}

}  // namespace
