// A run of glyphs written as one string must put every glyph where the
// engine put it: placed by the widths the file's font gives its glyphs,
// with a number wherever a glyph does not follow by its width (kerned,
// moved by part of a pixel, drawn back over the one before). A run whose
// widths are not known, or runs that do not pair with the widths given,
// keep the engine's lines.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>

#include "pdf/pdf_content_trim.h"
#include "pdf/pdf_page_farm.h"
#include "pdf/zlib_inflate.h"
#include "platform/font_mapper.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

struct Placed {
    int code = 0;
    double x = 0, y = 0;  // in the text space, from the text object's start
};

// Where each glyph of the text objects of `content` lands, read as a
// reader does: "Td" moves the line's start, "Tj" and "TJ" show glyphs of
// two bytes each from the text's place, advancing by the font's widths
// (`widths` by code, thousandths of the size "Tf" sets).
std::vector<Placed> Placements(const std::string& content, const std::map<int, int>& widths)
{
    std::vector<Placed> placed;
    double size = 0, lineX = 0, lineY = 0, x = 0, y = 0;
    std::vector<std::string> operands;
    const auto show = [&](const std::string& hex) {
        for (size_t i = 0; i + 4 <= hex.size(); i += 4) {
            const int code = std::stoi(hex.substr(i, 4), nullptr, 16);
            placed.push_back({code, x, y});
            const auto w = widths.find(code);
            x += (w == widths.end() ? 0 : w->second) * size / 1000;
        }
    };
    size_t i = 0;
    while (i < content.size()) {
        const char c = content[i];
        if (c == ' ' || c == '\n') {
            ++i;
        } else if (c == '[') {
            const size_t end = content.find(']', i);
            operands.push_back(content.substr(i, end + 1 - i));
            i = end + 1;
        } else if (c == '<') {
            const size_t end = content.find('>', i);
            operands.push_back(content.substr(i, end + 1 - i));
            i = end + 1;
        } else {
            size_t end = i;
            while (end < content.size() && std::string(" \n[<").find(content[end]) == std::string::npos)
                ++end;
            const std::string word = content.substr(i, end - i);
            i = end;
            if (word == "Tf") {
                size = std::stod(operands.back());
            } else if (word == "BT") {
                lineX = lineY = x = y = 0;
            } else if (word == "Td") {
                lineX += std::stod(operands[operands.size() - 2]);
                lineY += std::stod(operands.back());
                x = lineX;
                y = lineY;
            } else if (word == "Tj") {
                show(operands.back().substr(1, operands.back().size() - 2));
            } else if (word == "TJ") {
                const std::string& array = operands.back();
                for (size_t k = 1; k + 1 < array.size();) {
                    if (array[k] == '<') {
                        const size_t close = array.find('>', k);
                        show(array.substr(k + 1, close - k - 1));
                        k = close + 1;
                    } else {
                        size_t stop = k;
                        while (array[stop] != '<' && array[stop] != ']')
                            ++stop;
                        x -= std::stod(array.substr(k, stop - k)) * size / 1000;
                        k = stop;
                    }
                }
            } else if (!word.empty() && (std::isdigit(uint8_t(word[0])) || word[0] == '-' || word[0] == '.' || word[0] == '/')) {
                operands.push_back(word);
                continue;
            }
            operands.clear();
        }
    }
    return placed;
}

void ExpectSamePlaces(const std::vector<Placed>& drawn, const std::vector<Placed>& written)
{
    ASSERT_EQ(written.size(), drawn.size());
    for (size_t k = 0; k < drawn.size(); ++k) {
        SCOPED_TRACE("glyph " + std::to_string(k));
        EXPECT_EQ(written[k].code, drawn[k].code);
        // A hundredth of a device pixel at the most, never before.
        EXPECT_NEAR(written[k].x, drawn[k].x, 0.01);
        EXPECT_GT(written[k].x, drawn[k].x - 1e-9);
        EXPECT_EQ(written[k].y, drawn[k].y);
    }
}

TEST(PdfGlyphStrings, ARunIsOneStringWithEveryGlyphWhereTheEngineDrewIt)
{
    // Three runs as the engine writes them: one whose glyphs follow by
    // their widths, by whole pixels near them, a 64th of a pixel off,
    // drawn back and on the same place; one whose widths the painter does
    // not know; one of two glyphs.
    const std::string text = "BT\n/F7 75 Tf 1 0 0 -1 0 0 Tm\n";
    const std::string first = "328 -519 Td <0001> Tj\n42 0 Td <0002> Tj\n41.984375 0 Td <0003> Tj\n"
                              "-3 0 Td <0004> Tj\n0 0 Td <0002> Tj\n17 0 Td <0005> Tj\n";
    const std::string second = "1305 -519 Td <0002> Tj\n41 0 Td <0003> Tj\n";
    const std::string third = "2000 -519 Td <0001> Tj\n42 0 Td <0005> Tj\n";
    const std::string page = text + first + "ET\n" + text + second + "ET\n" + text + third + "ET\n";
    const std::map<int, int> widths = {{1, 560}, {2, 556}, {3, 222}, {4, 0}, {5, 278}};
    GlyphRunWidths runs;
    runs.widths = {560, 556, 222, 0, 556, 278, /* third */ 560, 278};
    runs.counts = {6, GlyphRunWidths::kUnknown, 2};
    const std::string written = TrimPageContent(QByteArray::fromStdString(page), &runs).toStdString();

    // Each glyph a hair further on than the engine put it, never before;
    // one that follows by its width shown with the one before.
    EXPECT_NE(written.find("328 -519 Td [<0001>-.01<0002>-3.8<0003>262<00040002>329.33<0005>]TJ\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find(second), std::string::npos) << "a run without widths keeps its lines";
    EXPECT_NE(written.find("2000 -519 Td [<0001>-.1<0005>]TJ\n"), std::string::npos) << written;
    ExpectSamePlaces(Placements(page, widths), Placements(written, widths));

    // Widths that do not pair with the runs, one by one, leave every run
    // as the engine wrote it.
    const std::string asItWas = TrimPageContent(QByteArray::fromStdString(page)).toStdString();
    GlyphRunWidths shortRun = runs;
    shortRun.counts = {5, GlyphRunWidths::kUnknown, 3};
    GlyphRunWidths fewerRuns = runs;
    fewerRuns.counts = {6, GlyphRunWidths::kUnknown};
    for (const GlyphRunWidths* unpaired : {&shortRun, &fewerRuns})
        EXPECT_EQ(TrimPageContent(QByteArray::fromStdString(page), unpaired).toStdString(), asItWas);
    // Nor are the lines joined where the characters are spaced apart.
    const std::string spaced = "2 Tc\n" + page;
    EXPECT_EQ(TrimPageContent(QByteArray::fromStdString(spaced), &runs).toStdString().find("TJ"), std::string::npos);
}

// The font object `id`'s descendant's widths, by code, as the file has them
// ("/W [first [w w ...] first last w ...]", or "/DW w" for all).
std::map<int, int> FontWidths(const std::string& pdf, const std::string& id)
{
    std::map<int, int> widths;
    const size_t font = pdf.find("\n" + id + " 0 obj");
    const size_t descendant = pdf.find("/DescendantFonts [", font);
    if (font == std::string::npos || descendant == std::string::npos)
        return widths;
    const std::string child = pdf.substr(descendant + 18, pdf.find(' ', descendant + 18) - descendant - 18);
    const size_t from = pdf.find("\n" + child + " 0 obj");
    const std::string object = pdf.substr(from, pdf.find("endobj", from) - from);
    // Glyphs all of one width have it as the font's default.
    if (const size_t all = object.find("/DW "); all != std::string::npos) {
        for (int code = 0; code < 0x400; ++code)
            widths[code] = std::stoi(object.substr(all + 4));
        return widths;
    }
    const size_t at = pdf.find("/W [", from);
    if (at > from + object.size())
        return widths;
    std::vector<std::string> words;
    std::string word;
    int depth = 1;
    for (size_t i = at + 4; i < pdf.size() && depth > 0; ++i) {
        const char c = pdf[i];
        if (c == '[' || c == ']' || c == ' ' || c == '\n') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
            if (c == '[' || c == ']')
                words.push_back(std::string(1, c));
            depth += c == '[' ? 1 : c == ']' ? -1 : 0;
        } else {
            word += c;
        }
    }
    for (size_t k = 0; k < words.size();) {
        if (words[k] == "]") {
            ++k;
        } else if (k + 1 < words.size() && words[k + 1] == "[") {
            int code = std::stoi(words[k]);
            for (k += 2; words[k] != "]"; ++k)
                widths[code++] = std::stoi(words[k]);
            ++k;
        } else if (k + 2 < words.size()) {
            for (int code = std::stoi(words[k]); code <= std::stoi(words[k + 1]); ++code)
                widths[code] = std::stoi(words[k + 2]);
            k += 3;
        } else {
            break;
        }
    }
    return widths;
}

TEST(PdfGlyphStrings, APrintedRunLandsWhereItWasDrawnByTheWidthsItsFontWrites)
{
    // Every printable character of three faces at sizes that are no whole
    // number of points, placed by their pixels, some a fraction off.
    struct Face {
        const char* name;
        int height, weight;
    };
    const std::vector<Face> faces = {{"Arial", -75, FW_NORMAL}, {"Times New Roman", -131, FW_BOLD},
                                     {"Courier New", -47, FW_NORMAL}};
    std::string all;
    for (int c = 0x21; c < 0x100; ++c)
        if (c < 0x7f || c > 0xa0)
            all += char(c);
    PageOps page;
    std::vector<std::vector<QPointF>> drawn;
    for (size_t f = 0; f < faces.size(); ++f) {
        LogFont font;
        font.height = faces[f].height;
        font.weight = faces[f].weight;
        std::strcpy(font.faceName, faces[f].name);
        const std::shared_ptr<const FontFace> face = MapLogFont(font, 1, 1, 600);
        // Lines of 40 characters.
        for (size_t from = 0; from < all.size(); from += 40) {
            PageOp op;
            op.kind = PageOp::kGlyphs;
            PageOpDetail& run = op.more();
            run.face = face;
            run.colour = Qt::black;
            run.chars = all.substr(from, 40);
            run.transform = QTransform::fromTranslate(100, 200 + 700 * double(f) + 2 * double(from) * 2);
            double x = 0;
            for (size_t k = 0; k < run.chars.size(); ++k) {
                const auto ch = uint8_t(run.chars[k]);
                run.glyphs.append(face->glyph[ch]);
                run.positions.append(QPointF(x + (k % 7 == 3 ? 0.25 : 0), 0));
                x += face->advance[ch];
            }
            drawn.push_back({run.positions.begin(), run.positions.end()});
            page.push_back(op);
        }
    }
    TempDir dir;
    PdfPageFarm::Settings settings;
    settings.path = QString::fromStdString(dir.file("runs.pdf"));
    settings.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    settings.resolution = 600;
    settings.workers = 1;
    {
        PdfPageFarm farm(settings);
        ASSERT_TRUE(farm.begin());
        ASSERT_TRUE(farm.addPage(page));
        ASSERT_TRUE(farm.finish());
    }
    const std::string pdf = ReadFileBytes(dir.file("runs.pdf"));
    std::string content;
    for (size_t at = pdf.find(">>\nstream\n"); at != std::string::npos; at = pdf.find(">>\nstream\n", at + 1)) {
        QByteArray stream;
        size_t used = 0;
        if (ZlibInflate(pdf.data() + at + 10, pdf.size() - at - 10, &stream, &used) && stream.contains(" Tf "))
            content = stream.toStdString();
    }
    ASSERT_FALSE(content.empty());
    // Each run is one string, in the order drawn; a run in the font of the
    // one before does not name it again.
    size_t object = 0;
    std::string font;
    for (size_t at = 0, end = 0; (end = content.find("]TJ\n", at)) != std::string::npos; at = end + 4, ++object) {
        ASSERT_LT(object, drawn.size());
        SCOPED_TRACE("run " + std::to_string(object));
        const std::string run = content.substr(at, end + 4 - at);
        if (const size_t name = run.rfind("/F"); name != std::string::npos)
            font = run.substr(name, run.find("Tf", name) + 3 - name);
        const std::map<int, int> widths = FontWidths(pdf, font.substr(2, font.find(' ') - 2));
        ASSERT_FALSE(widths.empty());
        const std::vector<Placed> written = Placements(font + run, widths);
        ASSERT_EQ(written.size(), drawn[object].size());
        std::vector<Placed> placed;
        for (size_t k = 0; k < written.size(); ++k)
            placed.push_back({written[k].code, written[0].x + drawn[object][k].x() - drawn[object][0].x(), written[0].y});
        ExpectSamePlaces(placed, written);
    }
    EXPECT_EQ(object, drawn.size());
}

}  // namespace
