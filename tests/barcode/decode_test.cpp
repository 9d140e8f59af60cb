// Barcodes drawn by the engine, read back by a standard decoder (zbarimg)
// and compared module by module with an independent encoder (zint). Both
// come with the test dependencies; without them the tests are skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "support/needed_tools.h"
#include "barcode/code39_encoding.h"
#include "barcode/codabar_encoding.h"
#include "barcode/interleaved25_encoding.h"
#include "barcode/upc_ean_encoding.h"
#include "barcode_test_util.h"
#include "render_support.h"
#include "support/temp_dir.h"
#include "support/zbar_read.h"

namespace {

// What the decoder reports for data: the symbol's text with any check
// character it transmits, and an add-on as a symbol of its own. The check
// digits are the engine's; the decoder rejects a symbol whose check is wrong.
std::vector<std::string> Expected(int16_t type, const std::string& data, bool check)
{
    PStr in, out, caption;
    SetPStr(in, data);
    std::string s;
    switch (type) {
    case kBarcodeInterleaved25:
        Interleaved25Digits(in, check, out);
        return {AsString(out)};
    case kBarcodeCode39:
        BuildCode39Strings(in, check, out, caption);
        s = AsString(out);
        return {s.substr(1, s.size() - 2)};
    case kBarcodeCodabar:
        BuildCodabarString(in, check, out);
        s = AsString(out);
        std::transform(s.begin(), s.end(), s.begin(), [](char c) { return char(std::toupper(uint8_t(c))); });
        return {s};
    case kBarcodeCode128:
        return {data};
    default: {
        UpcEanDigits d;
        SplitUpcEanData(type, in, 1, &d);
        s = type == kBarcodeUpcE ? "0" : "";
        for (int i = 0; i < d.mainCount; ++i)
            s += char('0' + d.main[i]);
        if (d.addOnCount == 0)
            return {s};
        return {s, data.substr(data.size() - d.addOnCount)};
    }
    }
}

struct Group {
    int16_t type;
    bool check;
    double charGap;
    std::vector<std::string> options;
    std::vector<std::string> data;
};

TEST(Decoding, EverySymbologyReadsBackAtTwoResolutionsAndTwoAngles)
{
    if (!HaveProgram("zbarimg"))
        SKIP_FOR_MISSING_TOOL() << "zbarimg (zbar-tools) is not installed";
    const std::vector<std::string> retail = {"-Supca.enable=1", "-Sisbn13.enable=1", "-Sean2.enable=1",
                                             "-Sean5.enable=1"};
    const Group groups[] = {
        {kBarcodeUpcA, false, 1, retail,
         {"03600029145", "12345678901", "00000000000", "98765432109", "0360002914513", "0123456789012345",
          "036000291452", "03600029145213", "03600029145290210"}},
        {kBarcodeUpcE, false, 1, {"-Supce.enable=1", "-Supca.disable", "-Sean2.enable=1", "-Sean5.enable=1"},
         {"123456", "042100", "654323", "111114", "99999955", "12345698765"}},
        {kBarcodeEan13, false, 1, retail,
         {"400638133393", "590123412345", "999999999999", "871234567890", "40063813339312", "40063813339390210",
          "4006381333931", "400638133393112", "400638133393190210"}},
        {kBarcodeEan8, false, 1, retail,
         {"9638507", "5512345", "0000000", "1234567", "963850799", "963850752495", "96385074", "9638507499",
          "9638507452495"}},
        {kBarcodeIsbn, false, 1, retail, {"030640615", "123456789", "00000000011", "86154412090000"}},
        {kBarcodeIssn, false, 1, retail, {"030640615", "123456789", "31415926505"}},
        {kBarcodeInterleaved25, false, 1, {"-Si25.min-length=2"}, {"123", "123456", "0042", "31415926535897"}},
        {kBarcodeInterleaved25, true, 1, {"-Si25.min-length=2"}, {"123", "9876543210"}},
        {kBarcodeCode39, false, 1, {}, {"CODE 39", "ab", "x@y", "A-1.B $/+%"}},
        // Without a gap between characters the narrow space stands in.
        {kBarcodeCode39, false, 0, {}, {"GAP0", "no gap"}},
        {kBarcodeCode39, true, 1, {}, {"Z", "Tessaline 2.0!", "A-1.B $/+%"}},
        {kBarcodeCodabar, false, 1, {"-Scodabar.enable=1", "-Scodabar.min-length=1"}, {"A123B", "C40156D", "B2C"}},
        {kBarcodeCodabar, true, 1, {"-Scodabar.enable=1"}, {"A123B", "a-$:/.+b", "D9999999A"}},
        {kBarcodeCode128, true, 1, {},
         {"XYZ", "abc", "123456", "12", "AB1234cd", "A1B", "Hello, World!", "0123456789ab", "x-1234567-Y", "~`{|}"}},
        // Stored with the check switch off, as older cards are: it reads all the same.
        {kBarcodeCode128, false, 1, {}, {"Ev-42", "123456", "x-1234567-Y"}},
    };
    TempDir dir;
    ASSERT_TRUE(dir.ok());
    int n = 0;
    for (const Group& group : groups) {
        std::vector<std::string> files;
        std::map<std::string, std::string> dataOf;
        for (const std::string& data : group.data) {
            for (int dpi : {300, 600}) {
                for (double angle : {0.0, 90.0}) {
                    BarcodeRecord rec = MakeRecord(group.type, data);
                    rec.module = rec.space = 0.96;  // 4 or 8 pixels
                    rec.charGap = rec.module * group.charGap;
                    rec.barHeight = 36.0;
                    rec.addCheckDigit = group.check;
                    rec.showText = n % 2;
                    rec.showSystemDigit = rec.showCheckDigit = rec.showStartStop = 1;
                    rec.bookPrefix = 1;
                    rec.angle = angle;
                    bool encoded = false;
                    const QImage image = RenderBarcode(rec, int16_t(dpi / 12), 6, &encoded, dpi / 5);
                    ASSERT_TRUE(encoded) << data;
                    const std::string file = dir.file(std::to_string(n++) + ".png");
                    ASSERT_TRUE(image.save(QString::fromStdString(file)));
                    files.push_back(file);
                    dataOf[file] = data;
                }
            }
        }
        auto found = ZbarRead(group.options, files);
        for (const std::string& file : files) {
            std::vector<std::string> expected = Expected(group.type, dataOf[file], group.check);
            std::sort(expected.begin(), expected.end());
            std::sort(found[file].begin(), found[file].end());
            EXPECT_EQ(found[file], expected) << "type " << group.type << " data \"" << dataOf[file] << "\" " << file;
        }
    }
}

// zint's module rows as strings of '0' and '1', from its hex dump.
std::vector<std::string> ZintRows(const std::string& symbology, const std::string& data)
{
    std::string out;
    std::vector<std::string> rows(1);
    if (!RunProgram("zint", {"-b", symbology, "-d", data, "--dump"}, &out))
        return {};
    for (char c : out) {
        if (c == '\n')
            rows.emplace_back();
        else if (std::isxdigit(uint8_t(c)))
            for (int v = std::stoi(std::string(1, c), nullptr, 16), b = 3; b >= 0; --b)
                rows.back() += (v >> b) & 1 ? '1' : '0';
    }
    return rows;
}

// The runs of a bit row as lists split at light runs of 7 modules or more
// (main symbol and add-on); widths kept exact or as narrow (1) and wide (2).
std::vector<std::vector<int>> Parts(const std::vector<int>& runs, bool exact)
{
    std::vector<std::vector<int>> parts(1);
    for (size_t i = 0; i < runs.size(); ++i) {
        if (i % 2 == 1 && runs[i] >= 7)
            parts.emplace_back();
        else
            parts.back().push_back(exact ? runs[i] : std::min(runs[i], 2));
    }
    return parts;
}

std::vector<int> BitRuns(const std::string& bits)
{
    std::vector<int> runs;
    for (size_t i = bits.find('1'), last = bits.rfind('1'); i <= last && i != std::string::npos;) {
        size_t j = i;
        while (j <= last && bits[j] == bits[i])
            ++j;
        runs.push_back(int(j - i));
        i = j;
    }
    return runs;
}

TEST(Decoding, ModulePatternsMatchAnIndependentEncoder)
{
    if (!HaveProgram("zint"))
        SKIP_FOR_MISSING_TOOL() << "zint is not installed";
    struct Reference {
        int16_t type;
        const char* data;
        bool check;
        const char* zintType;
        const char* zintData;
        bool exact;  // else only narrow and wide are compared
    };
    const Reference refs[] = {
        {kBarcodeEan13, "400638133393", false, "13", "400638133393", true},
        {kBarcodeEan13, "59012341234512", false, "13", "590123412345+12", true},
        {kBarcodeEan8, "963850752495", false, "13", "9638507+52495", true},
        {kBarcodeUpcA, "0360002914513", false, "34", "03600029145+13", true},
        {kBarcodeUpcE, "04210012345", false, "37", "042100+12345", true},
        {kBarcodeIsbn, "030640615", false, "13", "978030640615", true},
        {kBarcodeInterleaved25, "123", true, "3", "1236", false},
        {kBarcodeInterleaved25, "31415926535897", false, "3", "31415926535897", false},
        {kBarcodeCode39, "CODE 39", true, "8", "CODE 39R", false},
        {kBarcodeCode39, "ab", false, "9", "ab", false},
        {kBarcodeCodabar, "A123B", true, "18", "A1239B", false},
        {kBarcodeCodabar, "C40156D", false, "18", "C40156D", false},
    };
    for (const Reference& r : refs) {
        BarcodeRecord rec = MakeRecord(r.type, r.data);
        rec.barHeight = 20.0;
        rec.addCheckDigit = r.check;
        rec.bookPrefix = 1;
        bool encoded = false;
        const QImage image = RenderBarcode(rec, 4, 1, &encoded);  // 4 pixels a module
        const std::vector<int> ours = RunsInModules(RowRuns(image, MiddleInkRow(image)), 4);
        EXPECT_EQ(Parts(ours, r.exact), Parts(BitRuns(ZintRows(r.zintType, r.zintData)[0]), r.exact)) << r.data;
    }
}

TEST(Decoding, PostnetAndFimMatchAnIndependentEncoder)
{
    if (!HaveProgram("zint"))
        SKIP_FOR_MISSING_TOOL() << "zint is not installed";
    for (const char* data : {"12345", "123456789", "01234567890"}) {
        // zint's first row holds the tops of the tall bars, which stand on
        // every other module.
        const std::string tall = ZintRows("40", data)[0];
        std::string theirs;
        for (size_t k = 0, i = tall.find('1'); k < 2 + 5 * (std::strlen(data) + 1); ++k, i += 2)
            theirs += i < tall.size() ? tall[i] : '0';
        bool encoded = false;
        const QImage image = RenderBarcode(MakeRecord(kBarcodePostnet, data), 4, 1, &encoded);
        int bottom = image.height() - 1, top = 0;
        while (RowRuns(image, bottom).empty())
            --bottom;
        while (RowRuns(image, top).empty())
            ++top;
        std::string ours;
        for (int x = 1; x < image.width(); ++x) {
            if (IsInk(image, x, bottom) && !IsInk(image, x - 1, bottom))
                ours += IsInk(image, x, top) ? '1' : '0';
        }
        EXPECT_EQ(ours, theirs) << data;
    }
    for (int16_t type : {kBarcodeFimA, kBarcodeFimB, kBarcodeFimC}) {
        const std::string bits = ZintRows("49", std::string(1, char('A' + type - kBarcodeFimA)))[0];
        std::vector<int> theirs, ours;  // bar positions in sixteenths of an inch
        for (size_t i = 0; i < bits.size(); ++i) {
            if (bits[i] == '1')
                theirs.push_back(int(i) / 2);
        }
        bool encoded = false;
        const QImage image = RenderBarcode(MakeRecord(type, ""), 4, 1, &encoded);
        const int y = MiddleInkRow(image);
        for (int x = 1, left = -1; x < image.width(); ++x) {
            if (IsInk(image, x, y) && !IsInk(image, x - 1, y)) {
                left = left < 0 ? x : left;
                ours.push_back(int(std::lround((x - left) / 18.0)));  // 288 pixels an inch
            }
        }
        EXPECT_EQ(ours, theirs) << "FIM " << char('A' + type - kBarcodeFimA);
    }
}

}  // namespace
