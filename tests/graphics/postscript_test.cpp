#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <locale.h>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "graphics/eps_bounding_box.h"
#include "graphics/postscript.h"
#include "graphics/ps_text_builders.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

// Records every escape; refuses from the escape numbered refuseAt on.
class CapturingSink : public PassThroughSink {
public:
    int32_t Escape(const uint8_t* buffer, uint32_t size) override
    {
        if (int(escapes.size()) == refuseAt)
            return 0;
        escapes.emplace_back(buffer, buffer + size);
        return 1;
    }
    // The data the escapes carried, each length word checked and removed.
    std::string Data() const
    {
        std::string out;
        for (const auto& e : escapes) {
            EXPECT_EQ(GetU16LE(e.data()), e.size() - 2);
            out.append(e.begin() + 2, e.end());
        }
        return out;
    }

    std::vector<std::vector<uint8_t>> escapes;
    int refuseAt = -1;
};

PathRecord WriteFile(const TempDir& dir, const std::string& name, const std::string& bytes)
{
    std::ofstream(dir.file(name), std::ios::binary) << bytes;
    PathRecord record{};
    EXPECT_EQ(PathRecordFromPosix(dir.file(name), &record), 0);
    return record;
}

std::string DosEps(const std::string& postscript, const std::string& preview)
{
    std::string header(32, '\0');
    PutU32LE(reinterpret_cast<uint8_t*>(header.data()), 0xC6D3D0C5);
    PutU32LE(reinterpret_cast<uint8_t*>(header.data()) + 4, 32 + uint32_t(preview.size()));
    PutU32LE(reinterpret_cast<uint8_t*>(header.data()) + 8, uint32_t(postscript.size()));
    return header + preview + postscript;
}

std::string Text(Handle h)
{
    return HandleData<char>(h) ? std::string(HandleData<char>(h)) : std::string();
}

const char kSmallEps[] =
    "%!PS-Adobe-3.0 EPSF-3.0\n"
    "%%BoundingBox: 0 0 100 50\n"
    "%%EndComments\n"
    "0.2 0.4 0.6 setrgbcolor newpath 10 10 moveto 90 10 lineto 50 45 lineto closepath fill\n"
    "1 2 3 % left on the stack on purpose: the epilog pops it\n"
    "showpage\n"
    "%%EOF\n";

// A locale that writes a decimal comma, made from the system's locale
// sources into the build folder when the system has none installed.
locale_t DecimalCommaLocale()
{
    if (locale_t l = newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr))
        return l;
    const std::string dir = std::string(TESSALINE_BINARY_DIR) + "/locale";
    std::system(("mkdir -p '" + dir + "' && localedef -i de_DE -f UTF-8 -c '" + dir +
                 "/de_DE.UTF-8' >/dev/null 2>&1")
                    .c_str());
    setenv("LOCPATH", dir.c_str(), 1);
    return newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
}

TEST(PostScript, DataGoesOutInChunksOfAtMost2048BytesBehindTheirLength)
{
    CapturingSink sink;
    std::string data(5000, 'x');
    data[4999] = 'y';
    EXPECT_EQ(PsSendData(&sink, data.data(), 5000), 0);
    ASSERT_EQ(sink.escapes.size(), 3u);
    EXPECT_EQ(sink.escapes[0].size(), 2050u);
    EXPECT_EQ(sink.escapes[1].size(), 2050u);
    EXPECT_EQ(sink.escapes[2].size(), 906u);
    EXPECT_EQ(GetU16LE(sink.escapes[2].data()), 904);
    EXPECT_EQ(sink.Data(), data);

    CapturingSink refusing;
    refusing.refuseAt = 1;
    EXPECT_EQ(PsSendData(&refusing, data.data(), 5000), 1);
    EXPECT_EQ(refusing.escapes.size(), 1u);
    EXPECT_EQ(PsSendData(&refusing, data.data(), 0), 0);
    EXPECT_EQ(PsSendCStr(&refusing, ""), 0);

    CapturingSink small;
    EXPECT_EQ(PsGsave(&small), 0);
    EXPECT_EQ(PsGrestore(&small), 0);
    EXPECT_EQ(small.Data(), " gsave \n grestore \n");
}

TEST(PostScript, EpsInclusionSendsOnlyThePostScriptSectionBetweenPrologAndEpilog)
{
    TempDir dir;
    const std::string preview(3000, '\xAB');
    const PathRecord dos = WriteFile(dir, "pic.eps", DosEps(kSmallEps, preview));
    CapturingSink sink;
    EXPECT_EQ(PsIncludeEps(&sink, &dos), 0);
    EXPECT_EQ(sink.Data(), std::string(kEpsProlog) + "%%BeginDocument:A\n" + kSmallEps + "%%EndDocument\n" + kEpsEpilog);

    // Offset and length beyond the file are cut to it.
    std::string cut = DosEps(kSmallEps, "");
    PutU32LE(reinterpret_cast<uint8_t*>(cut.data()) + 8, 0x7FFFFFFF);
    const PathRecord longLength = WriteFile(dir, "long.eps", cut);
    CapturingSink rest;
    EXPECT_EQ(PsSendFile(&rest, &longLength), 0);
    EXPECT_EQ(rest.Data(), kSmallEps);
    PutU32LE(reinterpret_cast<uint8_t*>(cut.data()) + 4, 0x7FFFFFF0);
    const PathRecord farOffset = WriteFile(dir, "far.eps", cut);
    CapturingSink none;
    EXPECT_EQ(PsSendFile(&none, &farOffset), 0);
    EXPECT_TRUE(none.escapes.empty());

    PathRecord missing{};
    PathRecordFromPosix(dir.file("missing.eps"), &missing);
    CapturingSink failed;
    EXPECT_EQ(PsIncludeEps(&failed, &missing), 2);
    EXPECT_EQ(failed.Data(), std::string(kEpsProlog) + "%%BeginDocument:A\n%%EndDocument\n" + kEpsEpilog);

    CapturingSink refusing;
    refusing.refuseAt = 2;
    EXPECT_EQ(PsIncludeEps(&refusing, &dos), 1);
}

TEST(PostScript, BoundingBoxTakesIntegerPartsAndFindsCommentsAnywhere)
{
    TempDir dir;
    IntRect r{1, 1, 1, 1};
    PathRecord plain = WriteFile(dir, "a.eps", "%!PS\n%%BoundingBox: 0 0 612.5 792\n");
    EXPECT_EQ(EpsReadBoundingBox(&plain, &r), 0);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 612);
    EXPECT_EQ(r.bottom, 792);

    // Across the windows the file is read in, and in a DOS EPS section.
    for (size_t pad : {size_t(270), size_t(8185), size_t(8192 * 2 - 20)}) {
        const std::string eps = "%!PS\n" + std::string(pad, ' ') + "%%BoundingBox: -5 7 20 30\n";
        PathRecord straddling = WriteFile(dir, "b.eps", DosEps(eps, std::string(100, '%')));
        EXPECT_EQ(EpsReadBoundingBox(&straddling, &r), 0) << pad;
        EXPECT_EQ(r.left, -5);
        EXPECT_EQ(r.bottom, 30);
    }

    PathRecord atend = WriteFile(dir, "c.eps",
                                 "%!PS\n%%BoundingBox: (atend)\n%%Pages: 1 2 3 4\nshowpage\n%%Trailer\n"
                                 "%%BoundingBox: 10 20 30 40\n%%EOF\n");
    EXPECT_EQ(EpsReadBoundingBox(&atend, &r), 0);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.bottom, 40);

    PathRecord noTrailer = WriteFile(dir, "d.eps", "%!PS\n%%BoundingBox: (atend)\n%%Pages: 1 2 3 4\n");
    EXPECT_EQ(EpsReadBoundingBox(&noTrailer, &r), 2);
    EXPECT_EQ(r.right, 0);
    PathRecord none = WriteFile(dir, "e.eps", "%!PS\n%%HiResBoundingBox: 0 0 1 1\n");
    EXPECT_EQ(EpsReadBoundingBox(&none, &r), 2);
    PathRecord missing{};
    PathRecordFromPosix(dir.file("missing.eps"), &missing);
    EXPECT_EQ(EpsReadBoundingBox(&missing, &r), 1);
}

TEST(PostScript, FragmentsAreExactAndFreeOfTheLocale)
{
    locale_t comma = DecimalCommaLocale();
    ASSERT_NE(comma, locale_t(nullptr)) << "no de_DE locale could be made";
    const locale_t previous = uselocale(comma);
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    EXPECT_STREQ(probe, "0,5");

    HandleOwner text(HandleNew(0));
    EXPECT_EQ(PsMoveTo({1, -2}, text.get()), 0);
    EXPECT_EQ(PsLineTo({3, 4}, text.get()), 0);
    EXPECT_EQ(PsCurveTo({1, 2}, {3, 4}, {5, 6}, text.get()), 0);
    EXPECT_EQ(PsSetRgbColor(0x00FF7F00, text.get()), 0);
    EXPECT_EQ(PsScale(2.5, -0.129, 2, text.get()), 0);
    EXPECT_EQ(PsTranslate(-3, 4, text.get()), 0);
    EXPECT_EQ(PsRotate(-30, text.get()), 0);
    EXPECT_EQ(PsTranslateSigned(5, -6, 0, text.get()), 0);
    EXPECT_EQ(Text(text.get()), " 1 -2 moveto   3 4 lineto  1 2 3 4 5 6 curveto  0.000000 0.498039 1.000000 "
                                "setrgbcolor  2.50 -0.12 scale  -3 4 translate  -30 rotate  -5 6 translate ");
    // Grown to exactly the text and its terminator.
    EXPECT_EQ(HandleGetSize(text.get()), Text(text.get()).size() + 1);

    HandleOwner shapes(HandleNew(0));
    const IntPoint corners[3] = {{0, 0}, {10, 0}, {5, 8}};
    EXPECT_EQ(PsPolygonClipPath(corners, 3, shapes.get()), 0);
    EXPECT_EQ(PsFillQuad(0, 0, 10, 20, 0xFF0000, shapes.get()), 0);
    EXPECT_EQ(Text(shapes.get()), " newpath  0 0 moveto  10 0 lineto  5 8 lineto  closepath clip  newpath  0 0 "
                                  "moveto  10 0 lineto  10 20 lineto  0 20 lineto  closepath  0.000000 0.000000 "
                                  "1.000000 setrgbcolor  fill ");

    // A ring wider than its circle keeps an inner radius of 0.
    HandleOwner ring(HandleNew(0));
    EXPECT_EQ(PsFillRing(0, 0, 20, 20, 5, 0, ring.get()), 0);
    EXPECT_EQ(PsFillRing(0, 0, 4, 4, 9, 0, ring.get()), 0);
    EXPECT_EQ(Text(ring.get()), " newpath  10 10 10 0 360 arc 10 10 3 360 0 arcn  closepath  0.000000 0.000000 "
                                "0.000000 setrgbcolor  fill  newpath  2 2 2 0 360 arc 2 2 0 360 0 arcn  closepath "
                                " 0.000000 0.000000 0.000000 setrgbcolor  fill ");

    uselocale(previous);
    freelocale(comma);
}

TEST(PostScript, TextStaysAsItWasWhenItCannotGrow)
{
    HandleOwner text(HandleNew(0));
    ASSERT_EQ(TextHandleAppend(text.get(), "abc"), 0);
    MemInjectAllocationFailure(0);
    EXPECT_NE(PsRotate(90, text.get()), 0);
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(Text(text.get()), "abc");
    EXPECT_EQ(TextHandleAppend(text.get(), ""), 0);
    EXPECT_EQ(TextHandleAppend(nullptr, "x"), kMemNullHandle);
}

// A whole job as a printer would get it, run by Ghostscript, with the
// process under a decimal-comma locale while the job is written.
TEST(PostScript, GhostscriptRunsAJobWithAnIncludedEps)
{
    TempDir dir;
    locale_t comma = DecimalCommaLocale();
    ASSERT_NE(comma, locale_t(nullptr));
    const locale_t previous = uselocale(comma);

    const PathRecord dos = WriteFile(dir, "pic.eps", DosEps(kSmallEps, std::string(500, '\x01')));
    std::string magickEps;
    const std::string magick = dir.file("magick.eps");
    const bool haveMagick =
        std::system(("convert -size 30x20 gradient:red-blue 'eps2:" + magick + "' >/dev/null 2>&1").c_str()) == 0;
    PathRecord magickRecord{};
    PathRecordFromPosix(magick, &magickRecord);

    CapturingSink sink;
    ASSERT_EQ(PsSendCStr(&sink, "%!PS-Adobe-3.0\n"), 0);
    HandleOwner text(HandleNew(0));
    PsFillQuad(10, 10, 200, 100, 0x3366CC, text.get());
    PsFillRing(300, 300, 400, 400, 8, 0x00AA55, text.get());
    PsFillRing(300, 300, 304, 304, 30, 0x00AA55, text.get());
    PsMoveTo({20, 20}, text.get());
    PsCurveTo({40, 80}, {80, 80}, {100, 20}, text.get());
    PsLineTo({20, 20}, text.get());
    PsSetRgbColor(0x102030, text.get());
    TextHandleAppend(text.get(), " fill\n");
    ASSERT_EQ(PsSendCStr(&sink, Text(text.get()).c_str()), 0);

    IntRect box;
    ASSERT_EQ(EpsReadBoundingBox(&dos, &box), 0);
    for (const PathRecord* eps : {&dos, haveMagick ? &magickRecord : &dos}) {
        ASSERT_EQ(PsGsave(&sink), 0);
        HandleOwner placement(HandleNew(0));
        const IntPoint corners[4] = {{100, 100}, {300, 100}, {300, 200}, {100, 200}};
        PsPolygonClipPath(corners, 4, placement.get());
        PsTranslate(200, 150, placement.get());
        PsRotate(-15, placement.get());
        PsScale(1.337, -0.75, 2, placement.get());
        PsTranslate(int16_t(-(box.left + box.right) / 2), int16_t(-(box.top + box.bottom) / 2), placement.get());
        TextHandleAppend(placement.get(), "\n");
        ASSERT_EQ(PsSendCStr(&sink, kEpsProlog), 0);
        ASSERT_EQ(PsSendCStr(&sink, Text(placement.get()).c_str()), 0);
        ASSERT_EQ(PsSendCStr(&sink, "%%BeginDocument:A\n"), 0);
        ASSERT_EQ(PsSendFile(&sink, eps), 0);
        ASSERT_EQ(PsSendCStr(&sink, "%%EndDocument\n"), 0);
        ASSERT_EQ(PsSendCStr(&sink, kEpsEpilog), 0);
        ASSERT_EQ(PsGrestore(&sink), 0);
    }
    ASSERT_EQ(PsSendCStr(&sink, "showpage\n"), 0);
    uselocale(previous);
    freelocale(comma);

    const std::string job = sink.Data();
    EXPECT_EQ(job.find("0,"), std::string::npos);
    std::ofstream(dir.file("job.ps"), std::ios::binary) << job;
    const std::string command = "LC_ALL=de_DE.UTF-8 gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=nullpage '" +
                                dir.file("job.ps") + "' 2>&1";
    bool ran = false;
    const std::string output = CommandOutput(command, &ran);
    EXPECT_TRUE(ran) << output;
    EXPECT_EQ(output, "");
}

}  // namespace
