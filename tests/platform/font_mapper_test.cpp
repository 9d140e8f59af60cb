// The face mapper draws every name with the face the font system picks for
// it, and keeps a bounded number of face designs whatever names and weights
// a damaged document throws at it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include <QFont>
#include <QRawFont>

#include "platform/font_mapper.h"

namespace {

LogFont Font(const std::string& face, int32_t height, int32_t weight = FW_NORMAL, bool italic = false)
{
    LogFont f;
    std::strncpy(f.faceName, face.c_str(), sizeof(f.faceName) - 1);
    f.height = height;
    f.weight = weight;
    f.italic = italic ? 1 : 0;
    return f;
}

std::shared_ptr<const FontFace> Map(const LogFont& f) { return MapLogFont(f, 1, 1, 96); }

// What the font system itself draws a face name with.
QRawFont SystemFace(const char* face, int weight, bool italic)
{
    QFont f(ResolveFaceFamily(face));
    f.setWeight(QFont::Weight(weight));
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setPixelSize(2048);
    return QRawFont::fromFont(f);
}

TEST(FontMapper, EveryNameDrawsWithTheFaceTheFontSystemPicks)
{
    // Installed faces, the Windows faces, aliases, unknown faces, noise.
    const char* names[] = {"Liberation Serif", "liberation mono", "Arial",     "Times New Roman", "Courier New",
                           "Helvetica",        "Times",           "Courier",   "Garamond",        "Symbol",
                           "Qzv Unknown Face", "",                "\xC4rger\x01"};
    const QString sample = QStringLiteral("AWaim1.");
    int32_t height = -31;
    for (const char* name : names) {
        for (int weight : {FW_NORMAL, FW_BOLD}) {
            for (bool italic : {false, true}) {
                const QRawFont want = SystemFace(name, weight, italic);
                const QRawFont got = Map(Font(name, height--, weight, italic))->rawFont();
                ASSERT_TRUE(want.isValid() && got.isValid()) << name;
                EXPECT_EQ(got.fontTable("head"), want.fontTable("head")) << name << " " << weight << " " << italic;
                EXPECT_EQ(got.styleName(), want.styleName()) << name << " " << weight << " " << italic;
                EXPECT_EQ(got.weight(), want.weight()) << name;
                EXPECT_EQ(got.style(), want.style()) << name;
                QRawFont sized = want;
                sized.setPixelSize(got.pixelSize());
                EXPECT_EQ(got.advancesForGlyphIndexes(got.glyphIndexesForString(sample)),
                          sized.advancesForGlyphIndexes(sized.glyphIndexesForString(sample)))
                    << name << " " << weight << " " << italic;
            }
        }
    }
}

TEST(FontMapper, UnknownNamesShareTheDesignOfAnInstalledFace)
{
    const std::shared_ptr<const FontFace> first = Map(Font("Qzv Unknown 0", -12));
    const size_t before = FontDesignCacheSize();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(1, 255), length(1, 31);
    for (int i = 0; i < 4000; ++i) {
        std::string name;
        const int n = length(rng);
        for (int k = 0; k < n; ++k)
            name += char(byte(rng));
        const std::shared_ptr<const FontFace> face = Map(Font(name, -12 - i % 7));
        ASSERT_TRUE(face && face->design);
        ASSERT_LE(FontDesignCacheSize(), kFontDesignCacheLimit);
    }
    // Noise matches a handful of installed faces at most, not a design a name.
    EXPECT_LE(FontDesignCacheSize(), before + 8);
    for (int i = 1; i < 50; ++i)
        EXPECT_EQ(Map(Font("Qzv Unknown " + std::to_string(i), -12))->design, first->design);
}

TEST(FontMapper, ManyWeightsStayWithinTheBoundAndFacesInUseAreKept)
{
    // Every weight of a real face is a design of its own; the least recently
    // used go first, so a face drawn all along keeps its design.
    const std::shared_ptr<const FontFace> kept = Map(Font("Liberation Serif", -20));
    for (int i = 0; i < int(kFontDesignCacheLimit) + 100; ++i) {
        Map(Font("Liberation Sans", -10, 1 + i * 3));
        ASSERT_LE(FontDesignCacheSize(), kFontDesignCacheLimit);
        if (i % 20 == 0) {
            // A new size makes a new face, which asks for the design again.
            EXPECT_EQ(Map(Font("Liberation Serif", -21 - i))->design, kept->design) << i;
        }
    }
    EXPECT_EQ(FontDesignCacheSize(), kFontDesignCacheLimit);
}

}  // namespace
