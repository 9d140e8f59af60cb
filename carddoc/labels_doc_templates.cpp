// What the document does with the wizard's designs: a set-up record, a
// template (the page's frames and fonts, kept as a body) and a backdrop
// (a picture frame under everything else, the size of the card).
#include <cstring>
#include <vector>

#include "carddoc/labels_doc.h"
#include "carddoc/picture_export.h"
#include "carddoc/selection_tool.h"
#include "catalog/backdrop_list.h"
#include "catalog/doc_setup_format.h"
#include "catalog/template_file.h"
#include "catalog/template_file_format.h"
#include "catalog/template_list.h"
#include "catalog/wizard_list_format.h"
#include "database/field_table.h"
#include "foundation/byte_order.h"
#include "foundation/program_folder.h"
#include "foundation/win_error.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_block_format.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_image.h"
#include "frames/page_record_format.h"
#include "typography/font_table.h"

namespace {

// Where the page options keep the design in use: the set-up's first four
// words.
constexpr size_t kPageOptionDesignAt = 5 * 4;
constexpr int32_t kPageOptionDesignWords = 4;
// The word of the label layout inside a set-up record that makes the
// backdrop printable.
constexpr size_t kDocSetupPrintableBackdropAt = 39 * 4;
// Picture types of a wizard backdrop.
constexpr uint32_t kBackdropBitmap = 1;
constexpr uint32_t kBackdropMetafile = 5;

// A scratch file in the program folder that is deleted with its handle,
// whichever way the work ends.
class ScratchFile {
public:
    ScratchFile()
    {
        PathRecord folder{};
        if ((error_ = GetProgramFolder(&folder)) != kErrNone)
            return;
        if ((error_ = CreateTempFileName(&folder, "tpl", &path_)) != kErrNone)
            return;
        made_ = true;
        error_ = FileOpen(&path_, kFileReadWrite, &file_);
    }
    ~ScratchFile()
    {
        if (file_ != kNoFile)
            FileClose(file_);
        if (made_)
            FileDelete(&path_);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    int32_t Error() const { return error_; }
    FileHandle File() const { return file_; }

private:
    PathRecord path_{};
    FileHandle file_ = kNoFile;
    bool made_ = false;
    int32_t error_ = kErrNone;
};

}  // namespace

// ---- page options ----

void CLabelsDoc::GetPageOptions(uint8_t* block) { manager_->CopyGuideBlock(block, 0); }

void CLabelsDoc::SetPageOptions(const uint8_t* block)
{
    uint8_t copy[kPageGuideBlockSize];
    std::memcpy(copy, block, sizeof copy);
    manager_->CopyGuideBlock(copy, 1);
}

// ---- clearing and applying a set-up ----

static void RemoveFramesOfPage(CLabelsDoc* doc, bool keepBackdrop)
{
    doc->SelectTool(kToolObject);
    if (SelectionTool* tool = SelectionToolOf(doc))
        tool->DeselectAll(false);
    CurrPageMng* pages = doc->PageManager();
    for (int16_t i = int16_t(pages->FrameCount() - 1); i >= 0; --i) {
        FrameObj* frame = pages->FrameAt(i);
        if (frame && !(keepBackdrop && frame->Block().backdrop))
            doc->DeleteFrame(frame);
    }
    // Groups of the frames that went go with them; the backdrop is never
    // in a group.
    for (int16_t i = int16_t(pages->GroupCount() - 1); i >= 0; --i)
        doc->DeleteFrame(pages->GroupAt(i));
}

void CLabelsDoc::ClearAndApplySetup(const uint8_t* record)
{
    RemoveFramesOfPage(this, false);
    ApplyDocSetup(record + kDocSetupLabelType);
    AfterDocSetup();
    SetModified(false);
}

void CLabelsDoc::InstallFieldFormats(const uint8_t* record)
{
    const uint8_t* source = record ? record : docSetup_;
    for (int32_t column = 0; column < int32_t(kDocSetupFieldTextCount); ++column) {
        char text[kDocSetupFieldTextSize];
        std::memcpy(text, source + kDocSetupFieldTexts + size_t(column) * kDocSetupFieldTextSize, sizeof text);
        text[sizeof text - 1] = 0;
        SetFieldPreviewText(FieldIdByIndex(column), text);
    }
}

int32_t CLabelsDoc::ApplyLayoutAndDesign(const uint8_t* record, bool whole)
{
    // A record may be the document's own set-up block, which this replaces.
    std::vector<uint8_t> r(record, record + kDocSetupSize);
    const int32_t templateResult = LoadWizardTemplate(int32_t(GetU32LE(&r[kDocSetupTemplateId])), whole);
    const int32_t backdropResult = LoadWizardBackdrop(int32_t(GetU32LE(&r[kDocSetupBackdropId])),
                                                      int32_t(GetU32LE(&r[kDocSetupBackdropColour])));
    uint8_t options[kPageGuideBlockSize];
    GetPageOptions(options);
    std::memcpy(options + kPageOptionDesignAt, r.data(), kPageOptionDesignWords * 4);
    SetPageOptions(options);
    if (whole) {
        InstallFieldFormats(r.data());
        if (FrameObj* backdrop = manager_->GetBackdropFrame())
            backdrop->SetPrintable(GetU32LE(&r[kDocSetupPrintableBackdropAt]) != 0 ? 1 : 0);
        ApplyDocSetup(&r[kDocSetupLabelType]);
        std::memcpy(docSetup_, r.data(), kDocSetupSize);
        AfterDocSetup();
        // A backdrop always covers the card, also after the card's size
        // changed under it.
        GetOrCreateBackdropFrame(false);
        UpdatePageBar();
    }
    manager_->SetRecordFedAll(1);
    RefreshView();
    return templateResult + backdropResult;
}

// ---- templates ----

int32_t CLabelsDoc::LoadWizardTemplate(int32_t id, bool clear)
{
    if (id == 0) {
        if (clear)
            RemoveFramesOfPage(this, false);
        return 0;
    }
    uint8_t info[kTmInSize];
    if (int32_t err = ReadTemplateInfo(id, info))
        return err;
    if (GetU32LE(info + kTmInPictureAt) != 0)
        return 0;
    PathRecord path{};
    if (int32_t err = TemplateInfoFilePath(info, &path))
        return err;
    return LoadTemplateFromPath(path);
}

int32_t CLabelsDoc::LoadTemplateFromPath(const PathRecord& path)
{
    uint8_t header[kTemplateHeaderSize];
    HandleOwner body(HandleNew(0));
    if (!body)
        return kErrNotEnoughMemory;
    if (int32_t err = LoadTemplateFile(&path, header, body.get(), kTemplateDocumentBlock))
        return err;
    return ApplyTemplateBody(body.get());
}

int32_t CLabelsDoc::ApplyTemplateBody(Handle body)
{
    SelectTool(kToolObject);
    RemoveFramesOfPage(this, true);
    const int32_t result = InsertTemplateFrames(body);
    manager_->RedrawCurrentPage(0, 0, 0);
    RefreshView();
    return result;
}

int32_t CLabelsDoc::InsertTemplateFrames(Handle body)
{
    SelectTool(kToolObject);
    SelectionTool* tool = SelectionToolOf(this);
    if (!tool || !body)
        return kErrHandleEof;
    ScratchFile scratch;
    if (scratch.Error() != kErrNone)
        return scratch.Error();
    const FileHandle file = scratch.File();
    const uint32_t size = HandleGetSize(body);
    if (int32_t err = FileWrite(file, HandleData(body), size))
        return err;
    if (int32_t err = FileSeek(file, kSeekStart, 0))
        return err;
    uint8_t word[4];
    if (int32_t err = FileRead(file, word, 4))
        return err;
    const uint32_t count = GetU32LE(word);
    // Every frame takes at least its fixed block: a count beyond what the
    // body can hold is damage, not a reason to make frames.
    if (count > size / kFrameBlockSize)
        return kErrHandleEof;

    tool->DeselectAll(false);
    HandleOwner pairs(HandleNew(0));
    if (!pairs)
        return kErrNotEnoughMemory;
    IntRect slot;
    GetPageSlotRect(0, &slot);
    const IntPoint origin{slot.left, slot.top};
    int32_t result = kErrNone;
    for (uint32_t i = 0; i < count; ++i) {
        if ((result = FileRead(file, word, 4)) != kErrNone)
            break;
        const uint32_t type = GetU32LE(word);
        // Only frames a page lists can come from a template: never a
        // group, which the group ids make again.
        if (type == 0 || type == 8 || type == uint32_t(kFrameGroup) || type == 10 || type > uint32_t(kFrameBarcode18)) {
            result = kErrHandleEof;
            break;
        }
        FrameObj* frame = NewFrame(int16_t(type));
        if (!frame) {
            result = kErrNotEnoughMemory;
            break;
        }
        uint16_t oldId = 0;
        if ((result = frame->ReloadFrom(file, origin, &oldId)) != kErrNone) {
            DeleteFrame(frame);
            break;
        }
        const uint32_t at = HandleGetSize(pairs.get());
        if (HandleResize(pairs.get(), at + 4) != 0) {
            result = kErrNotEnoughMemory;
            break;
        }
        PutU32LE(HandleData<uint8_t>(pairs.get()) + at, uint32_t(oldId) | (uint32_t(frame->FrameId()) << 16));
        tool->SelectFrame(frame, false);
    }
    if (result == kErrNone) {
        uint32_t position = 0;
        FileTell(file, &position);
        // Loading a template brings its fonts: the document's table becomes
        // the template's.
        if (position < size) {
            fonts_->Clear();
            if (fonts_->Read(file, -1) != 0)
                result = kErrHandleEof;
            fonts_->CheckInstalledFonts();
        }
    }
    tool->RemapAnchors(pairs.get());
    tool->RebuildGroups();
    tool->DeselectAll(false);
    SetModified(true);
    return result;
}

int32_t CLabelsDoc::BuildTemplateBody(Handle* body)
{
    ScratchFile scratch;
    if (scratch.Error() != kErrNone)
        return scratch.Error();
    const FileHandle file = scratch.File();
    std::vector<FrameObj*> frames;
    for (int16_t i = 0; i < manager_->FrameCount(); ++i) {
        FrameObj* frame = manager_->FrameAt(i);
        if (frame && !frame->Block().backdrop)
            frames.push_back(frame);
    }
    IntRect slot;
    GetPageSlotRect(0, &slot);
    const IntPoint origin{slot.left, slot.top};
    uint8_t word[4];
    PutU32LE(word, uint32_t(frames.size()));
    int32_t err = FileWrite(file, word, 4);
    for (FrameObj* frame : frames) {
        if (err != kErrNone)
            break;
        PutU32LE(word, uint32_t(uint16_t(frame->GetType())));
        err = FileWrite(file, word, 4);
        if (err == kErrNone)
            err = frame->WriteOffset(file, origin);
    }
    if (err == kErrNone && fonts_->Write(file, -1) != 0)
        err = kErrGeneralFailure;
    uint32_t size = 0;
    if (err == kErrNone)
        err = FileTell(file, &size);
    if (err == kErrNone)
        err = FileSeek(file, kSeekStart, 0);
    if (err != kErrNone)
        return err;
    if (!*body)
        *body = HandleNew(0);
    if (!*body || HandleResize(*body, size) != 0)
        return kErrNotEnoughMemory;
    return FileRead(file, HandleData(*body), size);
}

// ---- backdrops ----

FrameObj* CLabelsDoc::GetOrCreateBackdropFrame(bool create)
{
    FrameObj* frame = manager_->GetBackdropFrame();
    if (!frame && create) {
        frame = NewFrame(kFrameImage);
        if (!frame)
            return nullptr;
    }
    if (!frame)
        return nullptr;
    IntRect slot;
    GetPageSlotRect(0, &slot);
    frame->SetFromRect(slot);
    frame->SetBackdrop(1);
    frame->SetUndeletable(1);
    frame->SetPinned(1);
    // A backdrop is never picked up by a click: Set As BackDrop reaches it
    // without a selection.
    frame->SetSelectable(0);
    if (auto* image = dynamic_cast<FrameObjImage*>(frame))
        image->SetFitToFrame(1);
    manager_->MoveFrameTo(frame, 0);
    frame->Recompute(1);
    frame->MarkChanged(1, 0);
    return frame;
}

int32_t CLabelsDoc::LoadWizardBackdrop(int32_t id, int32_t kind)
{
    if (id == 0)
        return 0;
    uint32_t type = 0;
    Handle data = nullptr;
    if (int32_t err = GetBackdropPictureData(id, kind, &type, &data))
        return err;
    if (type != kBackdropBitmap && type != kBackdropMetafile) {
        HandleFree(data);
        return 1;
    }
    auto* image = dynamic_cast<FrameObjImage*>(GetOrCreateBackdropFrame(true));
    if (!image) {
        if (type == kBackdropBitmap)
            DibHandleFree(&data);
        else
            HandleFree(data);
        return kErrNotEnoughMemory;
    }
    image->ReleaseImage(true);
    image->ReleasePreview(true);
    const int32_t installed = type == kBackdropBitmap ? image->SetImage(data, true)
                                                      : image->SetMetafile(data);
    image->SetFitToFrame(1);
    image->MarkChanged(1, 0);
    manager_->RedrawCurrentPage(0, 0, 0);
    RefreshView();
    return installed;
}

// ---- the wizard's preview ----

int32_t CLabelsDoc::RenderWizardPreview(Handle* out)
{
    SelectTool(kToolObject);
    if (SelectionTool* tool = SelectionToolOf(this))
        tool->DeselectAll(false);
    FrameObj* backdrop = manager_->GetBackdropFrame();
    const bool shown = backdrop && backdrop->Block().attr.shown != 0;
    const bool modified = IsModified();
    if (backdrop)
        backdrop->SetShown(0);
    const int32_t result =
        RenderPicture(pageBlock_.cardWidth, pageBlock_.cardHeight, kRenderMetafile, false, out);
    // The render opens the page again: the frame to show is the one
    // loaded now.
    if (shown) {
        if (FrameObj* again = manager_->GetBackdropFrame())
            again->SetShown(1);
    }
    SetModified(modified);
    return result;
}
