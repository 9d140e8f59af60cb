#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "support/temp_dir.h"
#include "typography/glyph_effect.h"
#include "typography/power_text_styles.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

PathRecord Record(const std::string& path)
{
    PathRecord r{};
    EXPECT_EQ(PathRecordFromPosix(path, &r), 0);
    return r;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::vector<uint8_t> StylesFile(uint32_t n, size_t actualBytes)
{
    std::vector<uint8_t> f(4 + actualBytes);
    PutU32LE(f.data(), n);
    for (size_t i = 0; i < actualBytes; ++i)
        f[4 + i] = uint8_t(i * 7 + 1);
    return f;
}

TEST(GlyphEffectRecord, FieldsSitAtTheirOffsetsAndEveryByteSurvives)
{
    uint8_t bytes[kGlyphRecordSize];
    for (size_t i = 0; i < sizeof bytes; ++i)
        bytes[i] = uint8_t(i * 37 + 11);
    GlyphEffect e;
    ASSERT_TRUE(DecodeGlyphEffect(bytes, sizeof bytes, &e));
    EXPECT_EQ(e.fontId, GetI16LE(bytes + 128));
    EXPECT_EQ(e.shape, GetU16LE(bytes + 130));
    EXPECT_EQ(e.orientation, GetU16LE(bytes + 134));
    EXPECT_EQ(e.style.outlineStyle, GetI16LE(bytes + 142));
    EXPECT_EQ(e.style.fillColor, GetI16LE(bytes + 150));
    EXPECT_EQ(e.style.shadowBlendTint, GetI16LE(bytes + 170));
    uint8_t back[kGlyphRecordSize];
    PutGlyphEffect(back, e);
    EXPECT_EQ(std::memcmp(bytes, back, sizeof bytes), 0);
    EXPECT_FALSE(DecodeGlyphEffect(bytes, sizeof bytes - 1, &e));
}

TEST(GlyphEffectRecord, LineTextStaysInsideItsField)
{
    uint8_t field[kGlyphLineFieldSize];
    std::memset(field, 'x', sizeof field);
    field[0] = 200;  // claims more than the field holds
    EXPECT_EQ(GlyphLineText(field), std::string(63, 'x'));
    field[5] = 0;
    EXPECT_EQ(GlyphLineText(field), "xxxx");

    SetGlyphLine(field, std::string(80, 'y'));
    EXPECT_EQ(field[0], 63);
    SetGlyphLine(field, "abcdef", 4);
    EXPECT_EQ(GlyphLineText(field), "abcd");
    EXPECT_EQ(field[5], 0);
}

TEST(PowerTextStyles, BuiltInFileHoldsTheTwentyOneStyles)
{
    const std::vector<uint8_t> f = BuiltInPowerTextStyles();
    ASSERT_EQ(f.size(), 634u);
    EXPECT_EQ(GetU32LE(f.data()), 630u);
    const GlyphStyle first = GetGlyphStyle(f.data() + 4);
    EXPECT_EQ(first, (GlyphStyle{1, 15, 100, 1, 15, 100, 1, 100, 1, 1, 1, 13, 100, 1, 100}));
    const GlyphStyle last = GetGlyphStyle(f.data() + 4 + 20 * 30);
    EXPECT_EQ(last, (GlyphStyle{4, 4, 100, 2, 4, 80, 14, 70, 2, 1, 2, 4, 100, 8, 100}));

    HandleOwner list(HandleNew(0));
    ASSERT_EQ(HandleAppendBytes(f.data() + 4, list.get(), 630), 0);
    EXPECT_EQ(FindPowerTextStyle(list.get(), first), 1);
    EXPECT_EQ(FindPowerTextStyle(list.get(), last), 21);
    EXPECT_EQ(FindPowerTextStyle(list.get(), GlyphStyle{}), -1);
}

// Reading is bounded by the file: only the whole styles it really holds.
TEST(PowerTextStyles, ReadingTakesOnlyWholeStylesTheFileHolds)
{
    TempDir dir;
    const std::string path = dir.file("styles.dat");
    struct Case {
        std::vector<uint8_t> file;
        uint32_t expected;
    };
    const Case cases[] = {
        {{}, 0},                            // the 0-byte file an empty list leaves
        {{1, 2}, 0},                        // shorter than the length field
        {StylesFile(0, 60), 0},             // length 0
        {StylesFile(90, 60), 60},           // cut short
        {StylesFile(0xFFFFFFFF, 30), 30},   // a length no file has
        {StylesFile(65, 65), 60},           // not whole styles
        {StylesFile(60, 90), 60},           // trailing bytes ignored
    };
    for (const Case& c : cases) {
        Write(path, c.file);
        HandleOwner list(HandleNew(0));
        const PathRecord record = Record(path);
        EXPECT_EQ(LoadPowerTextStyles(record, list.get()), 0);
        ASSERT_EQ(HandleGetSize(list.get()), c.expected);
        if (c.expected > 0) {
            EXPECT_EQ(std::memcmp(HandleData(list.get()), c.file.data() + 4, c.expected), 0);
        }
    }
    // With nothing to take, the list keeps what it had.
    Write(path, StylesFile(0, 0));
    HandleOwner list(HandleNew(30));
    HandleData(list.get())[0] = 9;
    EXPECT_EQ(LoadPowerTextStyles(Record(path), list.get()), 0);
    EXPECT_EQ(HandleGetSize(list.get()), 30u);
    EXPECT_EQ(HandleData(list.get())[0], 9);
}

TEST(PowerTextStyles, SavingReplacesTheFileWhole)
{
    TempDir dir;
    const std::string path = dir.file("QX_PTStyles.dat");
    const PathRecord record = Record(path);
    ASSERT_EQ(EnsurePowerTextStylesFile(record), 0);
    EXPECT_EQ(Bytes(path), BuiltInPowerTextStyles());
    // An existing file, even an empty one, is the user's and stays.
    Write(path, {});
    ASSERT_EQ(EnsurePowerTextStylesFile(record), 0);
    EXPECT_TRUE(Bytes(path).empty());

    HandleOwner list(HandleNew(60));
    for (uint32_t i = 0; i < 60; ++i)
        HandleData(list.get())[i] = uint8_t(i);
    ASSERT_EQ(SavePowerTextStyles(record, list.get()), 0);
    const std::vector<uint8_t> saved = Bytes(path);
    ASSERT_EQ(saved.size(), 64u);
    EXPECT_EQ(GetU32LE(saved.data()), 60u);
    EXPECT_EQ(saved[4 + 59], 59);

    ASSERT_EQ(HandleResize(list.get(), 0), 0);
    ASSERT_EQ(SavePowerTextStyles(record, list.get()), 0);
    EXPECT_TRUE(Bytes(path).empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
              1);

    // A folder that is not there: the save fails and reports it.
    EXPECT_NE(SavePowerTextStyles(Record(dir.file("missing/QX_PTStyles.dat")), list.get()), 0);
}

}  // namespace
