#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fake_font_source.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "support/new_file_test.h"
#include "support/temp_dir.h"
#include "typography/font_list.h"
#include "typography/font_table.h"
#include "typography/font_table_format.h"

namespace {

FontSpec Spec(const char* face, uint32_t emSize = 0, uint8_t pitchAndFamily = 0x22, uint32_t type = kFontTypeTrueType,
              uint8_t charSet = 0)
{
    FontSpec s;
    s.type = type;
    s.charSet = charSet;
    s.pitchAndFamily = pitchAndFamily;
    s.emSize = emSize;
    std::strncpy(s.faceName, face, 31);
    return s;
}

class FontSection : public NewFileTest {
protected:
    FontSection() : NewFileTest("fonts") {}

    void Put(const std::vector<uint8_t>& bytes)
    {
        ASSERT_EQ(FileSetSize(file, 0), 0);
        ASSERT_EQ(FileSeek(file, kSeekStart, 0), 0);
        ASSERT_EQ(FileWrite(file, bytes.data(), uint32_t(bytes.size())), 0);
    }
    static std::vector<uint8_t> Section(const std::vector<int32_t>& ids, uint32_t count)
    {
        std::vector<uint8_t> b(4 + ids.size() * kFontTableEntrySize);
        PutU32LE(b.data(), count);
        for (size_t k = 0; k < ids.size(); ++k) {
            PutI32LE(b.data() + 4 + 48 * k, ids[k]);
            PutFontSpec(b.data() + 8 + 48 * k, Spec(("Face" + std::to_string(ids[k])).c_str()));
        }
        return b;
    }
};

TEST_F(FontSection, NextIdFollowsTheLargestIdRead)
{
    Put(Section({3, 7, 5}, 3));
    FontTable t;
    ASSERT_EQ(t.Read(file, 0), 0u);
    EXPECT_EQ(t.NextId(), 8);
    const FontSpec added = Spec("New");
    EXPECT_EQ(t.AddFont(&added), 8);
    FontSpec s;
    ASSERT_TRUE(t.Lookup(7, &s));
    EXPECT_STREQ(s.faceName, "Face7");

    Put(Section({}, 0));
    ASSERT_EQ(t.Read(file, 0), 0u);
    EXPECT_EQ(t.NextId(), 1);
    EXPECT_EQ(t.Fonts().GetCount(), 0);
}

TEST_F(FontSection, WritesInTheMapsOwnOrderAndReadsBack)
{
    FontTable mixed;
    for (const char* face : {"A", "B", "C"}) {
        const FontSpec f = Spec(face);
        mixed.AddFont(&f);
    }
    FontTable all;
    all.CopyFrom(mixed);
    EXPECT_EQ(all.NextId(), 3);

    // Ids 0-2 share a bucket with 160 and 17 has the next one; within a
    // bucket the newest is written first.
    std::vector<uint8_t> section = Section({0, 1, 2, 17, 160}, 5);
    Put(section);
    FontTable read;
    ASSERT_EQ(read.Read(file, 0), 0u);
    ASSERT_EQ(FileSetSize(file, 0), 0);
    ASSERT_EQ(read.Write(file, 0), 0u);
    const std::vector<uint8_t> b = Bytes();
    ASSERT_EQ(b.size(), 4 + 5 * kFontTableEntrySize);
    EXPECT_EQ(GetU32LE(b.data()), 5u);
    std::vector<int32_t> order;
    for (size_t k = 0; k < 5; ++k)
        order.push_back(GetI32LE(b.data() + 4 + 48 * k));
    EXPECT_EQ(order, (std::vector<int32_t>{160, 2, 1, 0, 17}));
    EXPECT_EQ(std::memcmp(b.data() + 4 + 48 * 4, section.data() + 4 + 48 * 3, 48), 0);

    // Written at the current position with -1.
    ASSERT_EQ(FileSeek(file, kSeekStart, 4), 0);
    ASSERT_EQ(read.Write(file, -1), 0u);
    EXPECT_EQ(Bytes().size(), 8 + 5 * kFontTableEntrySize);
}

TEST_F(FontSection, DamagedSectionsFailWithoutHarm)
{
    FontTable t;
    Put({1, 0});  // count cut short
    EXPECT_EQ(t.Read(file, 0), 1u);

    // Fewer entries than counted: those read stay, without the last step of
    // the id count, and a new font still never takes a used id.
    std::vector<uint8_t> s = Section({4, 9}, 3);
    s.resize(s.size() - 10);
    Put(s);
    EXPECT_EQ(t.Read(file, 0), 1u);
    EXPECT_EQ(t.Fonts().GetCount(), 1);
    EXPECT_EQ(t.NextId(), 4);
    const FontSpec added = Spec("Added");
    const int32_t id = t.AddFont(&added);
    EXPECT_NE(id, 4);
    FontSpec kept;
    ASSERT_TRUE(t.Lookup(4, &kept));
    EXPECT_STREQ(kept.faceName, "Face4");

    // More entries than ids exist: refused before anything is read.
    Put(Section({1}, kFontTableMaxEntries + 1));
    EXPECT_EQ(t.Read(file, 0), 1u);
    EXPECT_EQ(t.Fonts().GetCount(), 0);

    // Ids out of the 16-bit range do not carry new ids with them.
    Put(Section({INT32_MAX, -5, 0, 1}, 4));
    ASSERT_EQ(t.Read(file, 0), 0u);
    EXPECT_EQ(t.AddFont(&added), 2);
    EXPECT_EQ(t.AddFont(&added), 3);

    // A face filling its field ends inside it.
    std::vector<uint8_t> full = Section({0}, 1);
    std::memset(full.data() + 8 + 12, 'W', 32);
    Put(full);
    ASSERT_EQ(t.Read(file, 0), 0u);
    FontSpec w;
    ASSERT_TRUE(t.Lookup(0, &w));
    EXPECT_EQ(std::string(w.faceName), std::string(31, 'W'));

    EXPECT_EQ(t.Read(file, -100), 1u);
    EXPECT_EQ(t.Write(file, -100), 1u);
}

TEST(FontTable, IdsForFonts)
{
    FontTable t;
    EXPECT_EQ(t.GetFontId(nullptr), -1);
    EXPECT_EQ(t.AddFont(nullptr), -1);
    EXPECT_EQ(t.NextId(), 0);
    const FontSpec a = Spec("Garamond", 2048);
    const FontSpec b = Spec("Garamond", 1000);
    EXPECT_EQ(t.GetFontId(&a), 0);
    EXPECT_EQ(t.GetFontId(&a), 0);
    EXPECT_EQ(t.GetFontId(&b), 1);
    FontSpec stale = a;
    std::memcpy(stale.faceName + 10, "junk", 4);  // after the terminator
    EXPECT_EQ(t.FindId(&stale, true), 0);
    const FontSpec upper = Spec("GARAMOND", 2048);
    EXPECT_EQ(t.FindId(&upper, true), -1);
    EXPECT_EQ(t.FindId(&a, false), -1);

    LogFont lf;
    lf.height = -17;
    ASSERT_TRUE(t.GetLogFont(0, &lf));
    EXPECT_EQ(lf.outPrecision, OUT_TT_ONLY_PRECIS);
    EXPECT_EQ(lf.pitchAndFamily, 0x22);
    EXPECT_EQ(lf.height, -17);
    EXPECT_STREQ(lf.faceName, "Garamond");
    const FontSpec device = Spec("Printer", 0, 0x31, kFontTypeDevice, 2);
    ASSERT_TRUE(t.GetLogFont(t.AddFont(&device), &lf));
    EXPECT_EQ(lf.outPrecision, OUT_DEVICE_PRECIS);
    EXPECT_EQ(lf.charSet, 2);
    EXPECT_FALSE(t.GetLogFont(99, &lf));
}

class FontChecks : public ::testing::Test {
protected:
    void SetUp() override
    {
        source.faces.push_back({"Arial", TRUETYPE_FONTTYPE, 0x22, 2048, {0, 204}, {}});
        source.faces.push_back({"Times New Roman", TRUETYPE_FONTTYPE, 0x12, 2048, {0}, {}});
        source.faces.push_back({"Courier", RASTER_FONTTYPE, 0x31, 0, {0}, {10, 12}});
        source.fallback = "Times New Roman";
        LogFont all;
        all.charSet = DEFAULT_CHARSET;
        ASSERT_TRUE(GetGlobalFontList()->Build(&all));
    }
    void TearDown() override { GetGlobalFontList()->RemoveAll(); }

    FakeFontSource source;
};

TEST_F(FontChecks, InstalledFontsGetNoSubstitute)
{
    FontTable t;
    EXPECT_EQ(t.AddDefaultFont(), 1);
    EXPECT_EQ(source.realizeCalls, 0);
    EXPECT_TRUE(t.Substitutes().IsEmpty());
    int32_t index = -1;
    EXPECT_TRUE(t.IsInstalled(0, &index));
    EXPECT_EQ(index, 0);
    FontSpec s;
    ASSERT_TRUE(t.Lookup(0, &s));
    EXPECT_STREQ(s.faceName, "Arial");
    EXPECT_EQ(s.pitchAndFamily, 0x22);
}

TEST_F(FontChecks, MissingFontsDrawWithWhatTheDeviceSupplies)
{
    FontTable t;
    const FontSpec lower = Spec("arial");
    const FontSpec gone = Spec("Futura", 0, 0x22);
    const FontSpec asIs = Spec("Times New Roman", 0, 0x12);
    const FontSpec wrongPitch = Spec("Times New Roman", 0, 0x22);
    t.AddFont(&lower);
    t.AddFont(&gone);
    t.AddFont(&asIs);
    t.AddFont(&wrongPitch);
    source.printer = true;
    EXPECT_EQ(t.CheckInstalledFonts(), 1);
    EXPECT_TRUE(t.UsesPrinterDC());

    FontSpec s;
    ASSERT_TRUE(t.Lookup(0, &s));
    EXPECT_STREQ(s.faceName, "Arial");  // the device's spelling
    EXPECT_EQ(s.emSize, 0u);
    ASSERT_TRUE(t.Lookup(1, &s));
    EXPECT_STREQ(s.faceName, "Times New Roman");
    EXPECT_EQ(s.pitchAndFamily, 0x12);
    EXPECT_EQ(s.type, kFontTypeTrueType);
    // Realised exactly as asked: nothing to substitute.
    EXPECT_FALSE(t.Substitutes().Find(2));
    EXPECT_EQ(t.Fonts().Find(2)->substituted, 0);
    EXPECT_TRUE(t.Substitutes().Find(3));
    ASSERT_TRUE(t.LookupIn(1, &s, true));
    EXPECT_STREQ(s.faceName, "Futura");

    // The replacement dialog's edits.
    const FontSpec other = Spec("Arial");
    EXPECT_FALSE(t.SetSubstitute(2, &other));
    EXPECT_TRUE(t.SetSubstitute(1, &other));
    ASSERT_TRUE(t.Lookup(1, &s));
    EXPECT_STREQ(s.faceName, "Arial");
    EXPECT_FALSE(t.AdoptSubstitute(2));
    EXPECT_TRUE(t.AdoptSubstitute(1));
    EXPECT_FALSE(t.Substitutes().Find(1));
    ASSERT_TRUE(t.LookupIn(1, &s, true));
    EXPECT_STREQ(s.faceName, "Arial");

    FontTable copy;
    copy.CopyFrom(t);
    EXPECT_EQ(copy.NextId(), 4);
    EXPECT_TRUE(copy.UsesPrinterDC());
    ASSERT_TRUE(copy.Lookup(0, &s));
    EXPECT_STREQ(s.faceName, "Arial");

    // A font that cannot be made is left as it is.
    source.fallback.clear();
    t.CheckInstalledFonts();
    EXPECT_TRUE(t.Substitutes().Find(0));
    const FontSpec nowhere = Spec("Nowhere");
    const int32_t id = t.AddFont(&nowhere);
    t.CheckInstalledFonts();
    EXPECT_FALSE(t.Substitutes().Find(id));
    ASSERT_TRUE(t.Lookup(id, &s));
    EXPECT_STREQ(s.faceName, "Nowhere");
}

TEST_F(FontChecks, AdoptedSubstituteIsWhatTheFileStores)
{
    TempDir dir;
    PathRecord path{};
    FileHandle file = kNoFile;
    ASSERT_EQ(PathRecordFromPosix(dir.file("f"), &path), 0);
    ASSERT_EQ(FileCreate(&path, kFileReadWrite, &file), 0);
    FontTable t;
    const FontSpec lower = Spec("arial");
    t.AddFont(&lower);
    t.CheckInstalledFonts();
    ASSERT_EQ(t.Write(file, 0), 0u);
    FontTable back;
    ASSERT_EQ(back.Read(file, 0), 0u);
    FontSpec s;
    ASSERT_TRUE(back.Lookup(0, &s));
    EXPECT_STREQ(s.faceName, "arial");  // substitutes are not stored
    ASSERT_TRUE(t.AdoptSubstitute(0));
    ASSERT_EQ(t.Write(file, 0), 0u);
    ASSERT_EQ(back.Read(file, 0), 0u);
    ASSERT_TRUE(back.Lookup(0, &s));
    EXPECT_STREQ(s.faceName, "Arial");
    FileClose(file);
}

}  // namespace
