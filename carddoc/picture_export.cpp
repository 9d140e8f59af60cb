#include "carddoc/picture_export.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include <QFileInfo>

#include "carddoc/labels_doc.h"
#include "dialogs/file_choosers.h"
#include "dialogs/picture_file_dialogs.h"
#include "foundation/alerts.h"
#include "foundation/cp1252.h"
#include "foundation/cursors.h"
#include "foundation/file_io.h"
#include "foundation/utf8_text.h"
#include "foundation/whole_file_writer.h"
#include "foundation/win_error.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/story_store.h"
#include "graphics/dib_derived.h"
#include "graphics/dib_imaging.h"
#include "graphics/imaging_bitmap.h"
#include "graphics/metafile.h"
#include "graphics/offscreen_dc.h"
#include "platform/dc.h"
#include "text/text_tool.h"

namespace {

// A story's paragraphs are told apart by 16-bit ids: a text of more lines
// than there are ids cannot come in.
constexpr int32_t kStoryMostParagraphs = 65535;

void SayTooManyParagraphs(const std::string& name, int32_t paragraphs)
{
    AlertStop(("\"" + name + "\" was not imported: its " + std::to_string(paragraphs) +
               " lines would make as many paragraphs, and a story holds at most " +
               std::to_string(kStoryMostParagraphs) + ". The story was left as it was.")
                  .c_str(),
              0);
}

// A picture is drawn a pixel a point, so it declares 72 pixels an inch:
// its size in another program is the size chosen.
constexpr int32_t kExportPixelsPerInch = 72;

// Kept from one export to the next: folder, target, format and size.
ExportPictureSettings g_exportBlock = {};

struct CursorScope {
    CursorScope() { SetWaitCursor(); }
    ~CursorScope() { RestoreSavedCursor(); }
};

}  // namespace

int32_t CLabelsDoc::RenderPicture(double width, double height, int32_t kind, bool actualSize, Handle* out)
{
    if (!view_ || !view_->GetViewDC())
        return 1;
    if (pageBlock_.cardWidth <= 0 || pageBlock_.cardHeight <= 0 || !(width > 0) || !(height > 0))
        return 2;
    const double scale = std::min(width / pageBlock_.cardWidth, height / pageBlock_.cardHeight);
    uint16_t numerator = uint16_t(std::clamp(std::trunc(scale * 100.0), 1.0, 65535.0));
    uint16_t denominator = 100;
    if (scale < 1.0 && actualSize)
        numerator = denominator = 1;

    const int16_t page = GetCurrentPage();
    ClosePages();
    OpenPages(page > 0 ? page : pageBlock_.firstPage, 1, 1);
    const int16_t slot = GetPageSlot(1);
    if (slot < 0) {
        ReopenAfterSave(page);
        return 2;
    }
    manager_->PushZoom(1, numerator, denominator);
    IntRect slotRect;
    GetPageSlotRect(slot, &slotRect);
    // The frames draw at the zoom, so the card's area is the slot scaled.
    const auto zoomed = [&](int32_t v) { return int32_t(int64_t(v) * numerator / denominator); };
    const IntRect bounds{zoomed(slotRect.left), zoomed(slotRect.top), zoomed(slotRect.right), zoomed(slotRect.bottom)};
    manager_->ResetFrameStates(1);

    bool made = false;
    {
        OffscreenDC surface(view_->GetViewDC());
        IntRect covered;
        const bool open =
            bounds.right > bounds.left && bounds.bottom > bounds.top &&
            (kind == kRenderMetafile
                 ? surface.BeginMetafile(bounds.left, bounds.top, bounds.right - 1, bounds.bottom - 1, "Tessaline",
                                         kExportPixelsPerInch) == 0
                 : surface.Begin(bounds.left, bounds.top, bounds.right - 1, bounds.bottom - 1, kWhite, &covered,
                                 false) == 0);
        if (open) {
            Dc* dc = surface.GetSafeHdc();
            view_->PushDrawTarget(dc, 0);
            dc->setTextAlign(TA_BASELINE | TA_UPDATECP);
            const Brush oldBrush = dc->selectBrush(Brush::Solid(kBlack));
            const int32_t oldRop = dc->setRop2(R2_COPYPEN);
            // The picture is of the card, not of the guides laid over it.
            const uint8_t guides = display_[1];
            display_[1] = 0;
            manager_->DrawAllFrames();
            display_[1] = guides;
            dc->setRop2(oldRop);
            dc->selectBrush(oldBrush);
            if (kind == kRenderMetafile) {
                if (!*out)
                    *out = HandleNew(0);
                made = *out && surface.EndMetafile(*out) == 0;
            } else {
                if (!*out)
                    *out = DibHandleNew();
                made = *out && surface.End(*out) == 0;
                if (made && kind == kRenderMonochrome) {
                    DibHandleOwner colour(DibHandleNew());
                    made = colour && DibHandleCopy(colour.get(), *out) == 0 &&
                           DibHandleToMonochrome(colour.get(), *out) == 0;
                }
            }
            view_->PopDrawTarget();
        }
    }
    manager_->RestoreZoom(1);
    ClosePages();
    ReopenAfterSave(page);
    return made ? 0 : 2;
}

void CLabelsDoc::ExportAsPicture(QWidget* parent)
{
    SelectTool(kToolObject);
    Handle rendered = nullptr;
    {
        CursorScope wait;
        if (RenderPicture(kExportPreviewSide, kExportPreviewSide, kRenderBitmap, false, &rendered) != 0) {
            DibHandleFree(&rendered);
            return;
        }
    }
    DibHandleOwner preview(rendered);
    ExportPictureSettings& s = g_exportBlock;
    std::strncpy(s.title, "Export Document As Picture.", sizeof s.title - 1);
    if (s.format < 1 || s.format > kExportFormatCount)
        s.format = 1;
    s.width = float(pageBlock_.cardWidth);
    s.height = float(pageBlock_.cardHeight);
    std::memset(s.path, 0, sizeof s.path);
    std::strncpy(s.path, Title().c_str(), sizeof s.path - 1);
    DibHandle source = preview.get();
    if (RunExportPictureDialog(parent, &s, &source) != 1)
        return;

    CursorScope wait;
    std::string target;
    s.format = int16_t(ExportTargetFor(s.path, s.format, &target));
    const ExportFormatRow& row = ExportFormatTable[s.format - 1];
    // Errors name the file, as the user typed it.
    const std::string name = QStringToCp1252(QFileInfo(QString::fromStdString(target)).fileName());
    PathRecord path{};
    if (const int32_t err = PathRecordFromPosix(target, &path); err != 0) {
        AlertFileErrorAbout(name.c_str(), err);
        return;
    }

    if (ExportRowIsMetafile(s.format)) {
        Handle h = nullptr;
        const bool made = RenderPicture(s.width, s.height, kRenderMetafile, true, &h) == 0;
        HandleOwner bits(h);
        EnhMetafile metafile = nullptr;
        if (!made || MetafileFromHandle(&metafile, bits.get()) != 0) {
            AlertStop("Saving Error.", 0);
            return;
        }
        // A file already under the name stays until the new one is whole.
        WholeFileWriter out(path);
        int32_t error = out.Open();
        if (error == kErrNone)
            error = MetafileWriteFile(out.File(), metafile, view_->GetViewDC(), s.format == 7 ? 1 : 0);
        if (error == kErrNone)
            error = out.Commit();
        DeleteEnhMetaFile(metafile);
        if (error != kErrNone)
            AlertFileErrorAbout(name.c_str(), error);
        return;
    }

    Handle h = nullptr;
    const int32_t kind = row.blackAndWhite ? kRenderMonochrome : kRenderBitmap;
    const bool made = RenderPicture(s.width, s.height, kind, true, &h) == 0;
    DibHandleOwner picture(h);
    ImagingBitmap bitmap;
    int32_t writeError = 0;
    const bool saved = made && DibHandleToSdkBitmap(&bitmap, picture.get(), false) == 0 &&
                       bitmap.SetPixelsPerInch(kExportPixelsPerInch) &&
                       bitmap.SaveFile(target, row.formatCode, row.blackAndWhite ? 1 : 0, 0, &writeError);
    // A file that could not be written says why (a full disk, a folder the
    // user may not write); the old file under the name stays.
    if (!saved && writeError != 0)
        AlertFileErrorAbout(name.c_str(), writeError);
    else if (!saved)
        AlertStop("Saving Error.", 0);
}

int32_t CLabelsDoc::ImportText(QWidget* parent)
{
    FrameObj* frame = TextToolFrame();
    if (!frame)
        return 1;
    Handle text = nullptr;
    std::string name;
    int32_t error = ChooseTextFile(parent, &text, &name);
    int32_t replaced = 0;
    int32_t paragraphs = 0;
    if (error == kErrNone && text && HandleGetSize(text) > 0) {
        // Files from elsewhere come in UTF-8 and with the line ends of any
        // system; the story holds Windows-1252 and a CR at each paragraph's
        // end.
        // The text never grows in that.
        const std::string taken =
            TextFileToCp1252(std::string_view(HandleData<const char>(text), HandleGetSize(text)), &replaced);
        std::memcpy(HandleData(text), taken.data(), taken.size());
        HandleResize(text, int32_t(taken.size()));
        paragraphs = int32_t(std::count(taken.begin(), taken.end(), '\r')) + (taken.back() != '\r');
        if (paragraphs > kStoryMostParagraphs) {
            SayTooManyParagraphs(name, paragraphs);
            HandleFree(text);
            return 0;
        }
    }
    if (error == kErrNone && text && HandleGetSize(text) > 0) {
        error = stories_->ReplaceStoryText(text, uint16_t(frame->Block().storyId));
        if (error == 0) {
            frame->MarkChanged(1, 0);
            frame->Invalidate(1);
            modified_ = true;
            RefreshView();
            if (TextTool* tool = Tool())
                tool->StoryReplaced();
        }
    }
    if (error != 0)
        AlertStop(("\"" + name + "\" could not be imported; the story was left as it was.").c_str(), error);
    else if (replaced == 1)
        AlertNote("1 character of the file has no place in the card's character set; it was put in as \"?\".", 0);
    else if (replaced > 1)
        AlertNote((std::to_string(replaced) +
                   " characters of the file have no place in the card's character set; each was put in as \"?\".")
                      .c_str(),
                  0);
    RefreshView();
    manager_->ResetFrameStates(2);
    HandleFree(text);
    return 0;
}
