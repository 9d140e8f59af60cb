#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "platform/dc.h"
#include "support/new_file_test.h"
#include "typography/color_table.h"

namespace {

ColorRef Tint(const ColorTable& t, int32_t index, int32_t percent)
{
    ColorRef c = 0x12345678;
    t.GetTint(&c, index, percent);
    return c;
}

std::string Name(const ColorTable& t, int32_t index)
{
    char name[32];
    t.GetName(index, name);
    return std::string(name, strnlen(name, sizeof(name)));
}

TEST(ColorTable, DefaultsAndResettingOneEntry)
{
    ColorTable t;
    EXPECT_EQ(t.GetColor(0), 0xFFFFFFu);
    EXPECT_EQ(t.GetColor(2), 0x4080FFu);
    EXPECT_EQ(t.GetColor(7), 0xFFB402u);
    EXPECT_EQ(t.GetColor(11), 0x0040B4u);
    EXPECT_EQ(t.GetColor(15), 0x000000u);
    EXPECT_EQ(Name(t, 5), "Dark Blue");
    EXPECT_EQ(Name(t, 12), "Light Gray");

    t.SetColor(3, 0x123456);
    t.SetName(3, "Rust");
    t.SetColor(4, 0x654321);
    t.LoadDefaults(3);
    t.LoadDefaults(16);
    t.LoadDefaults(-2);
    EXPECT_EQ(t.GetColor(3), 0x0000FFu);
    EXPECT_EQ(Name(t, 3), "Red");
    EXPECT_EQ(t.GetColor(4), 0x654321u);
    t.LoadDefaults(-1);
    EXPECT_EQ(t.GetColor(4), 0x8000FFu);
}

TEST(ColorTable, TintsFollowTheShadeRules)
{
    ColorTable t;
    EXPECT_EQ(Tint(t, 3, 100), 0x0000FFu);
    EXPECT_EQ(Tint(t, 3, 50), MakeRgb(255, 128, 128));
    EXPECT_EQ(Tint(t, 3, 0), kWhite);
    EXPECT_EQ(Tint(t, 15, 0), kWhite);
    // White darkens instead: a grey of lightness 2.16 x shade.
    EXPECT_EQ(Tint(t, 0, 0), kBlack);
    EXPECT_EQ(Tint(t, 0, 50), MakeRgb(127, 127, 127));
    // Outside the table reads as white, whatever the index.
    EXPECT_EQ(Tint(t, 16, 100), kWhite);
    EXPECT_EQ(Tint(t, -1, 50), MakeRgb(127, 127, 127));
    // An entry the user made white follows the white rule.
    t.SetColor(9, kWhite);
    EXPECT_EQ(Tint(t, 9, 25), Tint(t, 0, 25));
    EXPECT_EQ(Tint(t, 9, 25), MakeRgb(63, 63, 63));
}

TEST(ColorTable, ShadesOffTheScaleStayBetweenBlackAndWhite)
{
    ColorTable t;
    // 255 is how an unset shade byte reads.
    EXPECT_EQ(Tint(t, 3, 255), kBlack);
    EXPECT_EQ(Tint(t, 0, 255), kWhite);
    EXPECT_EQ(Tint(t, 3, -40), kWhite);
    EXPECT_EQ(Tint(t, 0, -40), kBlack);
    EXPECT_EQ(Tint(t, 6, INT32_MIN), kWhite);
    EXPECT_EQ(Tint(t, 6, INT32_MAX), kBlack);
}

TEST(ColorTable, BrushAndTextColourTakeTheTint)
{
    ColorTable t;
    auto dc = Dc::ForMeasuring();
    dc->selectBrush(Brush::Hollow());
    const Brush old = t.SelectTintBrush(dc.get(), 3, 50);
    EXPECT_EQ(old.style, BS_NULL);
    EXPECT_EQ(dc->brush().style, BS_SOLID);
    EXPECT_EQ(dc->brush().color, MakeRgb(255, 128, 128));
    t.SetTintTextColor(dc.get(), 0, 0);
    EXPECT_EQ(dc->textColor(), kBlack);
}

TEST(ColorTable, AccessorsOutsideTheTable)
{
    ColorTable t;
    ColorEntry e;
    e.color = 0x010203;
    std::strcpy(e.name, "Teal");
    t.SetEntry(40, e);
    EXPECT_EQ(t.GetColor(15), 0x010203u);
    EXPECT_EQ(Name(t, 15), "Teal");
    ColorEntry out;
    t.GetEntry(-3, &out);
    EXPECT_EQ(out.color, 0x010203u);
    t.SetColor(16, 0x0A0B0C);
    EXPECT_EQ(t.GetColor(15), 0x0A0B0Cu);

    t.SetName(16, "Nope");
    t.SetName(-1, "Nope");
    EXPECT_EQ(Name(t, 16), "");
    EXPECT_EQ(Name(t, 14), "Dark Gray");
    t.SetName(14, "A name far longer than the thirty-one bytes a name can hold");
    EXPECT_EQ(Name(t, 14), "A name far longer than the thir");

    EXPECT_EQ(t.FindColor(0x00FF00), 8);
    EXPECT_EQ(t.FindColor(0x123456), 0);  // no match reads as the first entry

    ColorEntry all[kColorCount];
    ColorTable other;
    other.GetAll(all);
    t.SetAll(all);
    EXPECT_EQ(t.GetColor(15), 0u);
    EXPECT_EQ(Name(t, 14), "Dark Gray");
}

class ColorSection : public NewFileTest {
protected:
    ColorSection() : NewFileTest("doc.lqx") {}
};

TEST_F(ColorSection, WritesSixteenEntriesFieldByField)
{
    ColorTable t;
    t.SetName(1, "Lemon");
    const uint8_t pad[10] = {};
    ASSERT_EQ(FileWrite(file, pad, sizeof(pad)), 0);
    ASSERT_EQ(t.Write(file, -1), 0);
    ASSERT_EQ(t.Write(file, 700), 0);
    const std::vector<uint8_t> b = Bytes();
    ASSERT_EQ(b.size(), 700 + kColorSectionSize);
    const uint8_t* s = b.data() + 700;
    EXPECT_EQ(std::memcmp(b.data() + 10, s, kColorSectionSize), 0);
    const uint8_t orange[] = {0xFF, 0x80, 0x40, 0x00, 'O', 'r', 'a', 'n', 'g', 'e', 0};
    EXPECT_EQ(std::memcmp(s + 2 * 36, orange, sizeof(orange)), 0);
    for (size_t i = 4 + 5; i < 36; ++i)
        EXPECT_EQ(s[36 + i], 0) << i;  // after "Lemon" the old "Yellow" is gone
    EXPECT_EQ(GetU32LE(s + 15 * 36), 0u);
    EXPECT_EQ(std::memcmp(s + 15 * 36 + 4, "Black", 6), 0);

    ColorTable back;
    back.LoadDefaults(-1);
    back.SetColor(0, 0x111111);
    ASSERT_EQ(back.Read(file, 10), 0);
    EXPECT_EQ(Name(back, 1), "Lemon");
    EXPECT_EQ(back.GetColor(0), kWhite);
}

TEST_F(ColorSection, DamagedSectionsAreBoundedOrRefused)
{
    std::vector<uint8_t> s(kColorSectionSize, 'x');
    PutU32LE(s.data(), 0xFF00FF00);  // byte 3 must be 0
    ASSERT_EQ(FileWrite(file, s.data(), uint32_t(s.size())), 0);
    ColorTable t;
    ASSERT_EQ(t.Read(file, 0), 0);
    EXPECT_EQ(t.GetColor(0), 0x00FF00u);
    EXPECT_EQ(Name(t, 0), std::string(31, 'x'));
    ASSERT_EQ(t.Write(file, 0), 0);
    const std::vector<uint8_t> written = Bytes();
    EXPECT_EQ(written[3], 0);
    EXPECT_EQ(written[35], 0);

    // A section cut short is not taken in part.
    ColorTable u;
    u.SetName(4, "Kept");
    ASSERT_EQ(FileSetSize(file, 300), 0);
    EXPECT_EQ(u.Read(file, 0), 38);
    EXPECT_EQ(Name(u, 4), "Kept");
    EXPECT_EQ(u.GetColor(0), kWhite);
    // Nor read from somewhere else when the position cannot be reached.
    EXPECT_NE(u.Read(file, -20), 0);
    EXPECT_EQ(Name(u, 4), "Kept");
    EXPECT_NE(u.Write(file, -20), 0);
}

}  // namespace
