// The card document file: the writer, the reader and the page thumbnail
// (layout in card_document_format.h).
#include <cstring>
#include <string>
#include <vector>

#include "carddoc/card_document_header.h"
#include "carddoc/card_view_services.h"
#include "carddoc/labels_doc.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/string_table.h"
#include "foundation/win_error.h"
#include "frames/ctfile_mng.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_block_format.h"
#include "frames/frame_geometry_limits.h"
#include "frames/frame_store.h"
#include "frames/page_table2.h"
#include "frames/record_header_format.h"
#include "frames/story_store.h"
#include "graphics/dib_serial.h"
#include "graphics/offscreen_dc.h"
#include "platform/dc.h"
#include "typography/color_table.h"
#include "typography/font_table.h"

namespace {

// The document management messages (480 + n) and the file management
// ones (450 + n).
constexpr int32_t kDocMngBase = 480;
constexpr int32_t kMsgPreviousVersion = 1;
constexpr int32_t kMsgNotOurFile = 2;
constexpr int32_t kMsgDamaged = 4;

constexpr int32_t kCopyBufferKb = 50;

int32_t Tell(FileHandle file, uint32_t* position)
{
    *position = 0;
    return FileTell(file, position);
}

// The place a section was written at: from offset to the file's position.
int32_t CloseSection(FileHandle file, CardSectionPlace* place)
{
    uint32_t here = 0;
    const int32_t err = Tell(file, &here);
    place->length = here >= place->offset ? here - place->offset : 0;
    return err;
}

// The page section begins with the length of its records, which must lie
// within the section the header gives it.
bool PageSectionFits(FileHandle file, const CardSectionPlace& place)
{
    uint8_t word[4];
    return place.length >= sizeof word && FileSeek(file, kSeekStart, int32_t(place.offset)) == kErrNone &&
           FileRead(file, word, sizeof word) == kErrNone && GetU32LE(word) <= place.length - sizeof word;
}

// Frames and stories are found by id, and id 0 means none: a record
// without an id of its own, or sharing one, would let a frame loaded for
// one record be listed and freed as another's.
bool IdsUnique(const SwapStore& store)
{
    std::vector<bool> seen(0x10000, false);
    seen[0] = true;
    for (int32_t i = 0; i < store.Count(); ++i) {
        const uint16_t id = HeaderId(store.RecordPtr(i));
        if (seen[id])
            return false;
        seen[id] = true;
    }
    return true;
}

// The message about the card file, after its name: the user may be opening
// several.
void SayAbout(const PathRecord& path, const std::string& message)
{
    char name[kPathTextSize] = {};
    PathRecordGetFileName(&path, name, sizeof name);
    AlertStop((*name ? std::string(name) + ": " + message : message).c_str(), 0);
}

int32_t Refuse(const PathRecord& path, int32_t message)
{
    char text[256] = {};
    LoadStringByIndex(kDocMngBase, message, text);
    SayAbout(path, text);
    return kReadRefused;
}

// A card whose last save went wrong, or whose frames lie off its pages, is
// opened all the same: the user hears so, and what to do.
void SayOpenedDamaged(const PathRecord& path)
{
    SayAbout(path, "The document is damaged. It was opened with what could be read of it: check it before "
                   "saving it, or save it under another name.");
}

}  // namespace

int32_t CLabelsDoc::WriteDocumentFile(FileHandle file, uint32_t kind)
{
    // Whoever writes the document: a story copy kept by the undo step is
    // not part of it.
    SetUndoOwner(nullptr);
    CardDocHeader h;
    h.kind = kind;
    uint8_t header[kCardHeaderSize];
    EncodeCardHeader(h, header);
    int32_t sum = FileSeek(file, kSeekStart, 0);
    sum += FileWrite(file, header, sizeof header);

    std::vector<uint8_t> fixed(kCardFixedEnd - kCardHeaderSize);
    std::memcpy(&fixed[kCardGeneralPrefsAt - kCardHeaderSize], general_, kGeneralPrefsSize);
    NonPrintingMargins();
    EncodePageBlock(pageBlock_, &fixed[kCardPageBlockAt - kCardHeaderSize]);
    std::memcpy(&fixed[kCardLabelLayoutAt - kCardHeaderSize], labelLayout_, kLabelTypeSize);
    std::memcpy(&fixed[kCardDocSetupAt - kCardHeaderSize], docSetup_, kDocSetupSize);
    sum += FileWrite(file, fixed.data(), uint32_t(fixed.size()));

    uint32_t here = 0;
    sum += Tell(file, &here);
    if (here > kCardDataStart) {
        AlertStop("kBeginDataFilePos is small", 0);
    } else if (here < kCardDataStart) {
        const std::vector<uint8_t> zeros(kCardDataStart - here);
        sum += FileWrite(file, zeros.data(), uint32_t(zeros.size()));
    }

    sum += Tell(file, &h.printOffset);
    sum += WritePrintSettings(file, -1, printSettings_);

    CardSectionPlace* s = h.sections;
    sum += Tell(file, &s[kSectionColours].offset);
    sum += colours_->Write(file, -1);
    sum += CloseSection(file, &s[kSectionColours]);
    sum += Tell(file, &s[kSectionFonts].offset);
    sum += int32_t(fonts_->Write(file, -1));
    sum += CloseSection(file, &s[kSectionFonts]);
    sum += Tell(file, &s[kSectionEmpty4].offset);
    sum += Tell(file, &s[kSectionPages].offset);
    // A page table, frame or story that did not reach the file makes the
    // save a failure like any other write.
    sum += pages_->Write(file, -1);
    sum += CloseSection(file, &s[kSectionPages]);
    sum += Tell(file, &s[kSectionEmpty6].offset);
    sum += frames_->WriteStore(file, -1);
    s[kSectionFrames].offset = frames_->WindowPosition();
    sum += CloseSection(file, &s[kSectionFrames]);
    sum += stories_->WriteStore(file, -1);
    s[kSectionStories].offset = stories_->WindowPosition();
    sum += CloseSection(file, &s[kSectionStories]);
    sum += Tell(file, &s[kSectionEmpty9].offset);
    h.pageCount = uint32_t(pages_->Count());
    h.frameCount = uint32_t(frames_->Count());
    h.storyCount = uint32_t(stories_->Count());

    sum += Tell(file, &h.thumbnail.offset);
    h.thumbnailKind = kCardThumbnailKind;
    sum += WriteThumbnail(file);
    sum += Tell(file, &h.endOfData);
    h.thumbnail.length = h.endOfData - h.thumbnail.offset;
    sum += FileSetSize(file, h.endOfData);
    if (sum != 0)
        h.status = 1;
    EncodeCardHeader(h, header);
    sum += FileSeek(file, kSeekStart, 0);
    sum += FileWrite(file, header, sizeof header);
    return sum;
}

namespace {

// True when every frame the file holds is placed where the program could
// have put it.
bool FramePlacementsSound(FileHandle file, FrameStore& frames)
{
    for (int32_t i = 0; i < frames.Count(); ++i) {
        const uint8_t* record = frames.RecordPtr(i);
        uint8_t bytes[kFrameGeometrySize];
        if (HeaderSize(record) < kFrameGeometrySize ||
            FileSeek(file, kSeekStart, int32_t(HeaderPosition(record))) != kErrNone ||
            FileRead(file, bytes, sizeof bytes) != kErrNone)
            continue;
        if (!FrameGeometryWithinLimits(GetFrameGeometry(bytes)))
            return false;
    }
    return true;
}

}  // namespace

int32_t CLabelsDoc::ReadDocumentFile(FileHandle file)
{
    uint8_t header[kCardHeaderSize];
    uint32_t size = 0;
    if (FileSeek(file, kSeekStart, 0) != kErrNone || FileRead(file, header, sizeof header) != kErrNone ||
        FileGetSize(file, &size) != kErrNone)
        return Refuse(path_, kMsgNotOurFile);
    CardDocHeader h;
    DecodeCardHeader(header, &h);
    switch (CheckCardHeader(h, size)) {
    case CardHeaderCheck::kNotCardFile:
        return Refuse(path_, kMsgNotOurFile);
    case CardHeaderCheck::kOtherVersion:
        return Refuse(path_, kMsgPreviousVersion);
    case CardHeaderCheck::kDamaged:
        return Refuse(path_, kMsgDamaged);
    case CardHeaderCheck::kGood:
        break;
    }
    foundDamaged_ = h.status != 0;
    if (foundDamaged_)
        SayOpenedDamaged(path_);
    if (!MakeSwapRoom(h.endOfData))
        return kReadRefused;

    std::vector<uint8_t> fixed(kCardFixedEnd - kCardHeaderSize);
    if (FileRead(file, fixed.data(), uint32_t(fixed.size())) != kErrNone)
        return Refuse(path_, kMsgDamaged);
    std::memcpy(general_, &fixed[kCardGeneralPrefsAt - kCardHeaderSize], kGeneralPrefsSize);
    DecodePageBlock(&fixed[kCardPageBlockAt - kCardHeaderSize], &pageBlock_);
    std::memcpy(labelLayout_, &fixed[kCardLabelLayoutAt - kCardHeaderSize], kLabelTypeSize);
    std::memcpy(docSetup_, &fixed[kCardDocSetupAt - kCardHeaderSize], kDocSetupSize);

    const int32_t seek = FileSeek(file, kSeekStart, 0);
    if (seek != kErrNone)
        return seek;
    if (swap_->Seek(0) != 0 || FileCopyData(file, h.endOfData, swap_->GetFileHandle(), kCopyBufferKb) != 0)
        return kReadSwapCopyFailed;

    // A section that cannot be read would leave the document without some
    // of its frames or text, and the next save would make that loss
    // permanent: such a file is refused.
    const CardSectionPlace* s = h.sections;
    bool read = ReadPrintSettings(file, int32_t(h.printOffset), &printSettings_) == kErrNone;
    read = read && colours_->Read(file, int32_t(s[kSectionColours].offset)) == kErrNone;
    read = read && fonts_->Read(file, int32_t(s[kSectionFonts].offset)) == 0;
    read = read && PageSectionFits(file, s[kSectionPages]);
    read = read && pages_->Read(file, int32_t(s[kSectionPages].offset)) == 0 && pages_->Count() > 0;
    read = read && frames_->ReadStore(file, int32_t(s[kSectionFrames].offset), s[kSectionFrames].length) == 0;
    read = read && stories_->ReadStore(file, int32_t(s[kSectionStories].offset), s[kSectionStories].length) == 0;
    read = read && IdsUnique(*frames_) && IdsUnique(*stories_);
    if (!read)
        return Refuse(path_, kMsgDamaged);
    // A frame placed where no page reaches is drawn where the limits keep
    // it; the user hears that the file is damaged, and reading goes on.
    if (h.status == 0 && !FramePlacementsSound(file, *frames_)) {
        foundDamaged_ = true;
        SayOpenedDamaged(path_);
    }
    frames_->RebuildPageLists();
    return 0;
}

int32_t CLabelsDoc::WriteThumbnail(FileHandle file)
{
    if (!view_ || !view_->GetViewDC() || GeneralPref(kPrefThumbnail) == 0)
        return 0;
    ClosePages();
    OpenPages(pageBlock_.firstPage, 1, 1);
    const int16_t slot = GetPageSlot(1);
    if (slot < 0) {
        ClosePages();
        return 0;
    }
    IntRect bounds;
    GetPageSlotRect(slot, &bounds);
    manager_->PushZoom(1, 1, 1);
    manager_->ResetFrameStates(1);

    DibHandle dib = DibHandleNew();
    bool drawn = false;
    {
        OffscreenDC offscreen(view_->GetViewDC());
        IntRect covered;
        if (dib && bounds.right > bounds.left && bounds.bottom > bounds.top &&
            offscreen.Begin(bounds.left, bounds.top, bounds.right - 1, bounds.bottom - 1, 0xFFFFFF, &covered, true) ==
                0) {
            Dc* dc = offscreen.GetSafeHdc();
            view_->PushDrawTarget(dc, 0);
            dc->setTextAlign(TA_BASELINE | TA_UPDATECP);
            const uint8_t guides = display_[1];
            display_[1] = 0;
            manager_->DrawAllFrames();
            display_[1] = guides;
            drawn = offscreen.End(dib) == 0;
            view_->PopDrawTarget();
        }
    }
    manager_->RestoreZoom(1);
    ClosePages();
    int32_t result = 0;
    if (drawn)
        result = DibHandleWriteFile(file, dib);
    DibHandleFree(&dib);
    return result;
}

int32_t ReadDocumentThumbnail(const PathRecord& path, DibHandle* out)
{
    *out = nullptr;
    FileHandle file = kNoFile;
    if (FileOpen(&path, kFileRead, &file) != kErrNone)
        return 1;
    uint8_t header[kCardHeaderSize];
    uint32_t size = 0;
    CardDocHeader h;
    const bool read = FileRead(file, header, sizeof header) == kErrNone && FileGetSize(file, &size) == kErrNone;
    if (read)
        DecodeCardHeader(header, &h);
    if (!read || h.version != kCardVersion || h.fileCode != kCardFileCode || h.formatCode != kCardFormatCode ||
        h.status != 0 || !CardThumbnailPlaced(h, size)) {
        FileClose(file);
        return 1;
    }
    int32_t result = FileSeek(file, kSeekStart, int32_t(h.thumbnail.offset));
    if (result == kErrNone)
        result = DibHandleReadFile(file, out);
    FileClose(file);
    return result;
}
