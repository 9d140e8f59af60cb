// card: card documents on the command line.
//   new-sample OUT.lqx   writes the sample business card the program ships
//   new-turned OUT.lqx [LOGO] [--face FACE] [--angles A,B,C] [--size PT] [--name-angle DEG]
//                        a card like it with its phone line turned by 30, 90
//                        and 45 degrees (or A, B and C) in 12 points (or PT),
//                        and the picture LOGO; its lines in the TrueType
//                        face FACE
//   new-everything OUT.lqx FOLDER
//                        a two-sided card of every frame kind, its pictures
//                        (every format, 200 to 6000 pixels) written into
//                        FOLDER first
//   new-picture OUT.lqx PICTURE
//                        a label of the picture PICTURE beside an address
//   new-crowded OUT.lqx PICTURE
//                        a card of 449 frames: PICTURE and 448 small ones
//   new-angled OUT.lqx ANGLE [PICTURE]
//                        a small and a large text frame of "ACCESS", or the
//                        picture PICTURE, turned by ANGLE degrees
//   new-visitor OUT.lqx FOLDER
//                        the visitor badge of every frame kind, its 600 x 400
//                        picture written into FOLDER first
//   new-odd-a|new-odd-b|new-odd-c OUT.lqx FOLDER
//                        a card of every frame kind turned by odd angles
//                        (17, 203 and 311 degrees; 7, 137 and 259 at 80%;
//                        29, 151 and 337 at 115%),
//                        its picture written into FOLDER first
//   new-shipping OUT.lqx LOGO
//                        a shipping label, two to a Letter sheet: the
//                        picture LOGO, eight merge fields and a Code 128 of
//                        the ZIP code
//   new-names OUT.lqx    65 labels of the contact's name on an A4 sheet
//   new-badge OUT.lqx    a badge of the contact's photograph (the picture
//                        field) beside the name
//   new-effects OUT.lqx  display text in every style of its effects and
//                        shapes of every fill and border style
//   new-sizes OUT.lqx    an address label of one face at 6, 9, 12 and 72
//                        points: the address at 9, the company at 6, the
//                        country at 12 and the first name at 72
//   new-patterns OUT.lqx a square of every hatch and pattern bitmap, black
//                        on white
//   dump FILE            the header, sections, pages, frames and stories of
//                        a card document, as text
//
// Both work with a program folder of their own, so that neither the user's
// preferences nor their window records are read or changed.

#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "card_sample.h"
#include "card_verdict.h"
#include "carddoc/card_document_header.h"
#include "carddoc/labels_doc.h"
#include "carddoc/labels_doc_registry.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "foundation/program_folder.h"
#include "frames/frame_obj.h"
#include "frames/frame_record_format.h"
#include "frames/frame_store.h"
#include "frames/page_table.h"
#include "frames/record_header_format.h"
#include "frames/story_store.h"
#include "frames/style_runs.h"
#include "text/text_context.h"
#include "offscreen_application.h"
#include "terminal_text.h"
#include "tool_command.h"

namespace {

constexpr const char* kSyntax =
    "card new-sample|new-badge|new-effects|new-sizes|new-patterns|new-names OUT.lqx | card new-turned OUT.lqx [LOGO] [--face FACE] [--angles A,B,C] [--size PT] [--name-angle DEG] | "
    "card new-picture|new-crowded|new-shipping OUT.lqx PICTURE | card new-angled OUT.lqx ANGLE [PICTURE] | "
    "card new-everything|new-visitor|new-odd-a|new-odd-b|new-odd-c OUT.lqx FOLDER | card dump FILE";

// A Qt application for the fonts, and a program folder that goes away
// afterwards.
class CardSession {
public:
    CardSession()
    {
        app_ = StartOffscreenGuiApplication();
        SetProgramFolderForTesting(folder_.path().toStdString());
    }
    ~CardSession() { SetProgramFolderForTesting(""); }
    CardSession(const CardSession&) = delete;
    CardSession& operator=(const CardSession&) = delete;

private:
    std::unique_ptr<QGuiApplication> app_;
    QTemporaryDir folder_;
};

std::string Code(uint32_t v)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = char((v >> shift) & 0xFF);
        s += c >= 0x20 && c < 0x7F ? c : '?';
    }
    return s;
}

int RunNewSample(const std::string& kind, const std::string& out, const std::string& picture,
                 const TurnedCardStyle& style = {}, int16_t angle = 0)
{
    CardSession session;
    PathRecord path{};
    if (PathRecordFromPosix(out, &path) != 0)
        return ToolFail("cannot name " + out);
    auto doc = NewCardDocument();
    if (!doc)
        return ToolFail("cannot make a card document");
    doc->InitialUpdate();
    if (kind == "new-everything" && !MakeEveryFramePictures(picture))
        return ToolFail("cannot write the pictures into " + picture);
    OddCardStyle odd;
    const bool oddCard = kind.rfind("new-odd-", 0) == 0 && OddCardStyleNamed(kind.substr(8), &odd);
    const bool built = kind == "new-turned"    ? BuildTurnedTextCard(*doc, picture, style)
                       : kind == "new-visitor" ? BuildVisitorBadgeCard(*doc, picture)
                       : oddCard               ? BuildOddFrameCard(*doc, picture, odd)
                       : kind == "new-everything" ? BuildEveryFrameCard(*doc, picture)
                       : kind == "new-picture" ? BuildPictureCard(*doc, picture)
                       : kind == "new-crowded" ? BuildCrowdedCard(*doc, picture)
                       : kind == "new-shipping" ? BuildShippingLabelCard(*doc, picture)
                       : kind == "new-names"   ? BuildNameSheetCard(*doc)
                       : kind == "new-badge"   ? BuildBadgeCard(*doc)
                       : kind == "new-angled"  ? BuildAngledCard(*doc, angle, picture)
                       : kind == "new-effects" ? BuildEffectsCard(*doc)
                       : kind == "new-sizes"   ? BuildSizesCard(*doc)
                       : kind == "new-patterns" ? BuildPatternsCard(*doc)
                                               : BuildSampleCard(*doc);
    if (!built)
        return ToolFail("cannot build the card");
    if (!doc->DoSave(&path))
        return ToolFail("cannot save " + out);
    return 0;
}

void PrintHeader(const CardDocHeader& h, uint64_t size)
{
    static const char* const kSectionNames[kCardSectionCount] = {"colours", "fonts",  "empty",   "pages",
                                                                 "empty",   "frames", "stories", "empty"};
    std::printf("header: status %u, file '%s', format '%s', kind '%s', version %u, end of data %u (file %llu)\n",
                h.status, Code(h.fileCode).c_str(), Code(h.formatCode).c_str(), Code(h.kind).c_str(), h.version,
                h.endOfData, static_cast<unsigned long long>(size));
    std::printf("section print settings: offset %u\n", h.printOffset);
    for (int s = 0; s < kCardSectionCount; ++s)
        std::printf("section %s: offset %u length %u\n", kSectionNames[s], h.sections[s].offset, h.sections[s].length);
    std::printf("thumbnail: offset %u length %u kind '%s'\n", h.thumbnail.offset, h.thumbnail.length,
                Code(h.thumbnailKind).c_str());
    std::printf("counts: pages %u, frames %u, stories %u\n", h.pageCount, h.frameCount, h.storyCount);
}

void PrintDocument(CLabelsDoc& doc)
{
    const PageBlock& p = doc.PageGeometry();
    const int32_t* m = doc.NonPrintingMargins();
    std::printf("card: %g x %g points, sides %d, first page %d, unit %d, margins %d %d %d %d\n", p.cardWidth,
                p.cardHeight, p.sides, p.firstPage, p.unit, m[0], m[1], m[2], m[3]);
    std::printf("label layout: %s\n", TerminalField(doc.LabelLayout(), 63).c_str());
    uint32_t ownOrientation = 0, ownPaper = 0;
    doc.GetAlternatePaper(&ownOrientation, &ownPaper);
    std::printf("page: layout orientation %u paper %u, own orientation %u paper %u\n",
                GetU32LE(doc.LabelLayout() + kLabelTypeOrientationOffset),
                GetU32LE(doc.LabelLayout() + kLabelTypePaperOffset), ownOrientation, ownPaper);

    PageTable* pages = doc.Pages();
    for (int32_t i = 0; i < pages->Count(); ++i) {
        uint8_t record[kPageRecordSize];
        pages->GetPage(i, record);
        std::printf("page %d: handle %u\n", PageNumber(record), PageHandle(record));
    }

    FrameStore* frames = doc.Frames();
    for (int32_t i = 0; i < frames->Count(); ++i) {
        uint8_t record[kFrameRecordSize];
        std::memcpy(record, frames->RecordPtr(i), kFrameRecordSize);
        const uint16_t id = HeaderId(record);
        int16_t page = kNoPageNumber;
        pages->NumberOfHandle(FramePage(record), &page);
        std::printf("frame %u: type %u, residence %u, page %d, story %u", id, FrameType(record),
                    FrameResidence(record), page, FrameStory(record));
        if (const FrameObj* f = frames->LoadFrame(id, 0)) {
            const FramePlacement& at = f->Block().attr.geometry;
            std::printf(", at %d %d size %d x %d angle %g", at.x, at.y, at.width, at.height, double(at.angle));
        } else {
            std::printf(", not readable");
        }
        std::printf("\n");
    }

    StoryStore* stories = doc.Stories();
    TextContext& ctx = doc.Text();
    for (int32_t i = 0; i < stories->Count(); ++i) {
        const uint16_t id = HeaderId(stories->RecordPtr(i));
        if (stories->BindStory(id) != 0) {
            std::printf("story %u: not readable\n", id);
            continue;
        }
        std::printf("story %u: %d paragraphs\n", id, ctx.ParagraphCount());
        for (int32_t n = 0; n < ctx.ParagraphCount(); ++n) {
            if (!ctx.SelectParagraph(n)) {
                std::printf("  paragraph %d: not readable\n", n);
                continue;
            }
            const ParagraphText para = ctx.Current();
            const std::string_view chars(reinterpret_cast<const char*>(para.Chars()), para.Length());
            std::printf("  \"%s\"", TerminalLine(chars).c_str());
            for (const RunEntry& run : ReadRunTable(para)) {
                if (run.flags & kRunField)
                    std::printf(" [field %d at %u length %d]", int16_t(run.fieldId), run.start, int16_t(run.fieldLength));
            }
            std::printf("\n");
        }
    }
}

int RunDump(const std::string& file)
{
    CardSession session;
    PathRecord path{};
    FileHandle h = kNoFile;
    if (const int32_t err = PathRecordFromPosix(file, &path); err != 0)
        return ToolFail(file + ": " + FileErrorWords(err));
    if (const int32_t err = FileOpen(&path, kFileRead, &h); err != 0) {
        // Named, as the other commands name it, for what is there: a
        // pipe, a folder, nothing.
        char name[kPathTextSize] = {};
        PathRecordGetFileName(&path, name, sizeof name);
        AlertFileErrorAbout(name, err);
        return ToolFail("cannot open " + file);
    }
    uint8_t bytes[kCardHeaderSize];
    uint32_t size = 0;
    const bool read = FileRead(h, bytes, sizeof bytes) == 0 && FileGetSize(h, &size) == 0;
    FileClose(h);
    if (!read)
        return ToolFail(file + " is shorter than a card document's header");
    CardDocHeader header;
    DecodeCardHeader(bytes, &header);
    std::printf("file: %s (%u bytes)\n", file.c_str(), size);
    PrintHeader(header, size);
    // Judged as a print judges it: a card the opening finds damaged is
    // not good, however sound its header.
    CardVerdict verdict = CardVerdict::kGood;
    auto doc = OpenJudgedCard(path, &verdict);
    std::printf("check: %s\n", CardVerdictText(verdict));
    if (!doc)
        return ToolFail(file + " " + CardRefusal(verdict));
    PrintDocument(*doc);
    return 0;
}

// new-turned's arguments after OUT.lqx: [LOGO] [--face FACE] [--angles
// A,B,C] [--size PT] [--name-angle DEG]. False when one is not understood.
bool ReadTurnedArgs(const ToolArgs& args, std::string* logo, TurnedCardStyle* style)
{
    for (size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--face" && i + 1 < args.size()) {
            style->face = args[++i];
        } else if (args[i] == "--angles" && i + 1 < args.size()) {
            int a = 0, b = 0, c = 0;
            char end = 0;
            if (std::sscanf(args[++i].c_str(), "%d,%d,%d%c", &a, &b, &c, &end) != 3)
                return false;
            style->angles = {int16_t(a), int16_t(b), int16_t(c)};
        } else if (args[i] == "--name-angle" && i + 1 < args.size()) {
            char* end = nullptr;
            const long angle = std::strtol(args[++i].c_str(), &end, 10);
            if (end == args[i].c_str() || *end != 0 || angle <= -360 || angle >= 360)
                return false;
            style->nameAngle = int16_t(angle);
        } else if (args[i] == "--size" && i + 1 < args.size()) {
            style->phoneSize = int16_t(std::atoi(args[++i].c_str()));
            if (style->phoneSize < 4 || style->phoneSize > 72)
                return false;
        } else if (args[i][0] != '-' && logo->empty()) {
            *logo = args[i];
        } else {
            return false;
        }
    }
    return true;
}

int RunCard(const ToolArgs& args)
{
    if (args.size() == 2 && (args[0] == "new-sample" || args[0] == "new-badge" || args[0] == "new-effects" ||
                             args[0] == "new-sizes" || args[0] == "new-names" ||
                             args[0] == "new-patterns"))
        return RunNewSample(args[0], args[1], "");
    if (args.size() >= 2 && args[0] == "new-turned") {
        std::string logo;
        TurnedCardStyle style;
        if (ReadTurnedArgs(args, &logo, &style))
            return RunNewSample(args[0], args[1], logo, style);
    }
    if (args.size() == 3 && (args[0] == "new-picture" || args[0] == "new-crowded" || args[0] == "new-shipping" ||
                             args[0] == "new-everything" ||
                             args[0] == "new-visitor" || args[0] == "new-odd-a" || args[0] == "new-odd-b" ||
                             args[0] == "new-odd-c"))
        return RunNewSample(args[0], args[1], args[2]);
    if ((args.size() == 3 || args.size() == 4) && args[0] == "new-angled") {
        char* end = nullptr;
        const long angle = std::strtol(args[2].c_str(), &end, 10);
        if (end != args[2].c_str() && *end == 0 && angle > -360 && angle < 360)
            return RunNewSample(args[0], args[1], args.size() == 4 ? args[3] : "", {}, int16_t(angle));
    }
    if (args.size() == 2 && args[0] == "dump")
        return RunDump(args[1]);
    return ToolFail(std::string("usage: ") + kSyntax);
}

}  // namespace

TESSALINE_TOOL_COMMAND("card", kSyntax, RunCard);
