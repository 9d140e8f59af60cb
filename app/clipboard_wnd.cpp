#include "app/clipboard_wnd.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <string>

#include "app/clipboard_system.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "frames/ctfile_mng.h"
#include "frames/frame_obj.h"
#include "frames/text_buffer.h"
#include "records/clipboard_frames.h"
#include "text/clipboard_text.h"
#include "toolbase/frame_tool.h"

const char kClipFormatText[] = "Veltrane Text";
const char kClipFormatFrame[] = "Veltrane Frame";

namespace {

CClipboardWnd* gWindow = nullptr;
CTFileMng* gSwap = nullptr;

constexpr int kWindowHeight = 100;

// The marker under the program's formats: 1 text, 2 frames.
QByteArray Marker(uint8_t kind)
{
    QByteArray bytes(4, '\0');
    bytes[0] = char(kind);
    return bytes;
}

int32_t TextFormat() { return RegisterClipboardFormat(kClipFormatText); }
int32_t FrameFormat() { return RegisterClipboardFormat(kClipFormatFrame); }

// The order in which the program looks at what the clipboard offers.
int32_t FirstPasteFormat()
{
    const int32_t order[] = {TextFormat(), FrameFormat(), kClipText, kClipDib};
    return FirstAvailableFormat(order, 4);
}

IntRect Intersect(const IntRect& a, const IntRect& b)
{
    IntRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

// Each line end starts a paragraph: a CR, an LF, or the two as a pair.
int64_t LineEnds(const uint8_t* bytes, uint32_t size)
{
    int64_t ends = 0;
    for (uint32_t i = 0; i < size; ++i)
        ends += bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == size || bytes[i + 1] != '\n'));
    return ends;
}

// A rectangle of the size at the top-left of the visible area, cut to it.
IntRect PlaceInVisibleArea(const IntRect& visible, int32_t width, int32_t height)
{
    return Intersect(IntRect{visible.left, visible.top, visible.left + width, visible.top + height}, visible);
}

// Takes a frame made for a failed paste off the page again. A reload that
// failed part-way may have left the copied frame's id and story in it: they
// belong to another frame, which must not lose them with this one.
void DiscardFrame(ClipboardFrameHost* host, FrameObj* frame, uint16_t ownId, int16_t ownStory)
{
    frame->SetFrameId(ownId);
    if (frame->Block().storyId != ownStory)
        frame->SetStoryId(ownStory);
    host->DeleteFrame(frame);
}

}  // namespace

CClipboardWnd::CClipboardWnd(CTFileMng* swap, QWidget* owner) : QWidget(owner, Qt::Window), swap_(swap)
{
    setWindowTitle(QStringLiteral("Clipboard"));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        setGeometry(s.left(), s.bottom() + 1 - kWindowHeight, s.width(), kWindowHeight);
    }
    array_ = HandleNew(0);
    store_ = std::make_unique<TextBuffer>(nullptr, swap_);
    store_->AdoptArray(array_, TextBuffer::kParagraphRecordSize);
    TextFormat();
    FrameFormat();
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] { ClipboardChanged(); });
    created_ = 1;
}

CClipboardWnd::~CClipboardWnd()
{
    created_ = 0;
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        disconnect(clipboard, nullptr, this, nullptr);
    ReleaseClipboard();
    store_->DeleteRange(0, store_->Count());
    store_.reset();
    HandleFree(array_);
    FreeTextHandle();
}

// ---- the store's state ----

void CClipboardWnd::ClipboardChanged()
{
    if (!created_)
        return;
    RefreshClipboardState();
    update();
}

void CClipboardWnd::RefreshClipboardState()
{
    heldKind_ = kHeldNothing;
    foreignFormat_ = 0;
    const int32_t shown[] = {kClipOwnerDisplay, kClipText, kClipEnhMetafile, kClipDib};
    displayFormat_ = FirstAvailableFormat(shown, 4);
    const int32_t first = FirstPasteFormat();
    if (first == TextFormat())
        heldKind_ = kHeldText;
    else if (first == FrameFormat())
        heldKind_ = kHeldFrames;
    else
        foreignFormat_ = first;
}

void CClipboardWnd::ClearStore(bool emptyClipboard)
{
    // Text and frames are kept apart here; emptying the store empties both.
    store_->DeleteRange(0, store_->Count());
    frameRecords_.clear();
    Fonts().clear();
    heldKind_ = kHeldNothing;
    foreignFormat_ = 0;
    FreeTextHandle();
    if (emptyClipboard) {
        {
            ClipboardAccess access;
            access.Empty();
        }
        displayFormat_ = 0;
    }
}

void CClipboardWnd::ReleaseClipboard()
{
    RefreshClipboardState();
    if (IsClipboardFormatAvailable(TextFormat()) || IsClipboardFormatAvailable(FrameFormat())) {
        ClipboardAccess access;
        access.Empty();
    }
}

void CClipboardWnd::SetTextHandle(Handle text)
{
    FreeTextHandle();
    text_ = text;
}

void CClipboardWnd::FreeTextHandle()
{
    HandleFree(text_);
    text_ = nullptr;
}

bool CClipboardWnd::ReadClipboardText()
{
    const std::string text = ClipboardAccess().GetText(&leftOut_);
    Handle h = HandleNew(uint32_t(text.size()));
    if (!h)
        return false;
    if (!text.empty())
        std::copy(text.begin(), text.end(), HandleData(h));
    SetTextHandle(h);
    return !text.empty();
}

int32_t CClipboardWnd::ImportPlainText()
{
    Handle text = text_;
    text_ = nullptr;
    ClearStore(false);
    text_ = text;
    swap_->Flush(2);
    heldKind_ = kHeldNothing;
    foreignFormat_ = 0;
    if (!text_ || HandleGetSize(text_) == 0)
        return 1;
    // A story taking the text keeps its old paragraph until all the new
    // ones are in: a text frame takes one line fewer than a story holds.
    constexpr int32_t kMostLines = TextBuffer::kMostParagraphs - 1;
    // A text with more line ends than a frame holds is refused before it is
    // taken in line by line.
    const int64_t lineEnds = LineEnds(HandleData(text_), HandleGetSize(text_));
    const int32_t made = lineEnds > kMostLines ? kStoreFull : store_->SetPlainText(text_, true);
    if (made == kStoreFull || (made == 0 && store_->Count() > kMostLines)) {
        AlertStop(("The text was not pasted: it has more than " + std::to_string(kMostLines) +
                   " lines, the most a text frame holds.")
                      .c_str(),
                  0);
        return 1;
    }
    if (made != 0)
        return 1;
    foreignFormat_ = kClipText;
    return 0;
}

bool CClipboardWnd::HoldsText() const { return heldKind_ == kHeldText || foreignFormat_ == kClipText; }

void CClipboardWnd::ReleaseLoaded() { store_->UnloadAll(0); }

bool CClipboardWnd::CanPaste(int16_t mode)
{
    switch (mode) {
    case 0:
        return heldKind_ == kHeldFrames || heldKind_ == kHeldText || foreignFormat_ == kClipDib ||
               foreignFormat_ == kClipText;
    case 1: return heldKind_ == kHeldText || foreignFormat_ == kClipText;
    default: return false;
    }
}

// ---- copying ----

int32_t CClipboardWnd::CopyText(ToolDocument* document)
{
    document_ = document;
    ClearStore(true);
    ClipboardAccess access;
    swap_->Flush(3);
    if (TextClipboard::CopyText(document) != 0)
        return 1;
    Handle plain = nullptr;
    if (store_->GetPlainText(&plain) == 0 && plain && HandleGetSize(plain) > 0) {
        heldKind_ = kHeldText;
        access.PutText(HandleData(plain), HandleGetSize(plain));
        access.PutData(TextFormat(), Marker(1));
    }
    HandleFree(plain);
    return 0;
}

int32_t CClipboardWnd::CopyFrames(ToolDocument* document, FrameObj* const* frames, int16_t count)
{
    if (count <= 0 || !frames || !swap_->IsOpen())
        return 1;
    document_ = document;
    ClearStore(true);
    IntRect bounds;
    for (int16_t i = 0; i < count; ++i) {
        IntRect r;
        frames[i]->GetBounds(&r, kGeometryCurrent);
        bounds = i == 0 ? r
                        : IntRect{std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                                  std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
    }
    swap_->Flush(3);
    heldKind_ = kHeldFrames;
    auto* host = dynamic_cast<ClipboardFrameHost*>(document);
    const QImage picture = host ? host->PictureOfFrames(frames, count, bounds) : QImage();
    if (host)
        host->AddFontsOfFrames(frames, count, &Fonts());
    for (int16_t i = 0; i < count; ++i) {
        const uint32_t at = swap_->GetFileSize();
        if (swap_->Seek(at) != 0 || frames[i]->WriteOffset(swap_->GetFileHandle(), IntPoint{bounds.left, bounds.top}) != 0) {
            // What was written so far would paste only some of the frames.
            ClearStore(true);
            return 1;
        }
        std::array<uint8_t, kClipFrameRecordSize> record{};
        PutU16LE(record.data() + kClipRecordFrameId, frames[i]->FrameId());
        PutU32LE(record.data() + kClipRecordPosition, at);
        record[kClipRecordType] = uint8_t(frames[i]->GetType());
        frameRecords_.push_back(record);
    }
    // Other programs get the picture; the marker says the store holds the
    // frames.
    ClipboardAccess access;
    if (!picture.isNull())
        access.PutPicture(picture);
    const std::string text = host ? host->TextOfFrames(frames, count) : std::string();
    if (!text.empty())
        access.PutText(reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()));
    access.PutData(FrameFormat(), Marker(2));
    return 0;
}

// ---- pasting ----

void CClipboardWnd::Paste(ToolDocument* document)
{
    const int32_t first = FirstPasteFormat();
    if (first == kClipText || first == TextFormat())
        PasteText(document);
    else if (first == kClipDib)
        PastePicture(document);
    else if (first == FrameFormat())
        PasteFrames(document);
}

int32_t CClipboardWnd::PasteText(ToolDocument* document)
{
    const int32_t first = FirstPasteFormat();
    int32_t result = 1;
    leftOut_ = 0;
    switch (document->CurrentToolIndex()) {
    case kToolObject:
        if (first == kClipText)
            result = PasteTextAsFrame(document);
        break;
    case kToolText:
        if (first == kClipText && ReadClipboardText()) {
            // Refused before the lines are taken in when the text they go
            // into has too little room for them; the paste checks it again
            // for the paragraphs the import makes.
            const uint32_t size = HandleGetSize(text_);
            const uint8_t last = HandleData(text_)[size - 1];
            const int64_t lines = LineEnds(HandleData(text_), size) + (last != '\n' && last != '\r');
            const int32_t room = TextClipboard::PasteRoom(document);
            if (lines > room) {
                AlertStop(PasteTooLongText(int32_t(std::min<int64_t>(lines, INT32_MAX)), room).c_str(), 0);
                leftOut_ = 0;
                break;
            }
        }
        if (first == kClipText)
            ImportPlainText();
        if (first == kClipText || first == TextFormat())
            result = TextClipboard::PasteText(document);
        break;
    default: break;
    }
    FreeTextHandle();
    // Said once for the paste, also when nothing else was left to paste.
    if (leftOut_ > 0)
        AlertNote(CharactersLeftOutText(leftOut_, false, "the card's").c_str(), 0);
    leftOut_ = 0;
    return result;
}

int32_t CClipboardWnd::PasteTextAsFrame(ToolDocument* document)
{
    auto* host = dynamic_cast<ClipboardFrameHost*>(document);
    if (!host || !ReadClipboardText())
        return 1;
    // Measured before the import turns line feeds into spaces.
    const IntPoint size = PlainTextFrameSize(HandleData(text_), HandleGetSize(text_), host->WidthOfW());
    if (ImportPlainText() != 0)
        return 1;
    host->ClearFrameSelection();
    FrameObj* frame = document->NewFrame(kFrameText);
    if (!frame)
        return 1;
    frame->SetFromRect(PlaceInVisibleArea(host->VisibleArea(), size.x, size.y));
    if (!host->FillNewTextFrame(frame, store_.get())) {
        host->DeleteFrame(frame);
        return 1;
    }
    host->SelectFrame(frame);
    host->RecordPastedFrames();
    host->RedrawPage();
    return 0;
}

int32_t CClipboardWnd::PasteFrames(ToolDocument* document)
{
    auto* host = dynamic_cast<ClipboardFrameHost*>(document);
    if (!host || document->CurrentToolIndex() != kToolObject)
        return 1;
    host->ClearFrameSelection();
    if (!swap_->IsOpen())
        return 1;
    // The frames go in all together or not at all: half a paste would leave
    // groups without members and the user unsure what came in.
    std::vector<FrameObj*> made;
    int32_t result = 0;
    for (const auto& record : frameRecords_) {
        FrameObj* frame = document->NewFrame(int16_t(record[kClipRecordType]));
        if (!frame) {
            result = 1;
            break;
        }
        const uint16_t ownId = frame->FrameId();
        const int16_t ownStory = frame->Block().storyId;
        const IntPoint at = host->PastePoint();
        uint16_t oldId = 0;
        if (swap_->Seek(GetU32LE(record.data() + kClipRecordPosition)) != 0 ||
            frame->ReloadFrom(swap_->GetFileHandle(), at, &oldId) != 0) {
            DiscardFrame(host, frame, ownId, ownStory);
            result = 1;
            break;
        }
        host->AdoptFontsOfFrame(frame, Fonts());
        made.push_back(frame);
        host->SelectFrame(frame);
    }
    if (result != 0) {
        host->ClearFrameSelection();
        for (FrameObj* frame : made)
            host->DeleteFrame(frame);
    }
    host->FinishFramePaste();
    return result;
}

int32_t CClipboardWnd::PastePicture(ToolDocument* document)
{
    auto* host = dynamic_cast<ClipboardFrameHost*>(document);
    if (!host)
        return 1;
    const QImage picture = ClipboardAccess().GetPicture();
    if (picture.isNull())
        return 1;
    FrameObj* frame = nullptr;
    if (document->SelectionCount() == 1 && document->SelectedFrame(0) &&
        document->SelectedFrame(0)->GetType() == kFrameImage) {
        frame = document->SelectedFrame(0);
        if (!host->SetFramePicture(frame, picture))
            return 1;
    } else {
        host->ClearFrameSelection();
        frame = document->NewFrame(kFrameImage);
        if (!frame)
            return 1;
        frame->SetFromRect(PlaceInVisibleArea(host->VisibleArea(), picture.width(), picture.height()));
        host->SelectFrame(frame);
        if (!host->SetFramePicture(frame, picture)) {
            host->ClearFrameSelection();
            host->DeleteFrame(frame);
            return 1;
        }
        host->RecordPastedFrames();
    }
    frame->MarkChanged(1, 0);
    host->RedrawPage();
    return 0;
}

// ---- the viewer ----

void CClipboardWnd::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    const ClipboardAccess access;
    switch (displayFormat_) {
    case kClipText: {
        const std::string text = access.GetText();
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs,
                         ClipboardTextFromBytes(reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size())));
        break;
    }
    case kClipDib: {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), access.GetPicture());
        break;
    }
    case 0: painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("The clipboard is empty.")); break;
    default: painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("Unable to display format.")); break;
    }
}

void CClipboardWnd::closeEvent(QCloseEvent* event)
{
    event->ignore();
    hide();
}

// ---- the program's one store ----

int32_t CreateClipboardStore(const PathRecord& folder, QWidget* owner)
{
    if (gWindow)
        return 0;
    auto* swap = new CTFileMng;
    if (swap->CreateSwapFile(folder) != 0) {
        delete swap;
        return 1;
    }
    gSwap = swap;
    gWindow = new CClipboardWnd(gSwap, owner);
    gWindow->ReleaseClipboard();
    SetProgramClipboard(gWindow);
    return 0;
}

void DestroyClipboardStore()
{
    SetProgramClipboard(nullptr);
    delete gWindow;
    gWindow = nullptr;
    delete gSwap;
    gSwap = nullptr;
}

CClipboardWnd* ClipboardWindow() { return gWindow; }

void ToggleClipboardWindow()
{
    if (!gWindow)
        return;
    if (gWindow->isVisible()) {
        gWindow->hide();
    } else {
        gWindow->showNormal();
        gWindow->activateWindow();
        gWindow->setFocus();
    }
}

bool IsClipboardWindowVisible() { return gWindow && gWindow->isVisible(); }

IntPoint PlainTextFrameSize(const uint8_t* text, uint32_t n, int32_t widthOfW)
{
    int32_t lines = 2;
    int32_t longest = 2;
    int32_t length = 0;
    for (uint32_t i = 0; i < n; ++i) {
        if (text[i] == 13 || text[i] == 10) {
            longest = std::max(longest, length + 1);
            ++lines;
            length = 0;
        } else {
            ++length;
        }
    }
    longest = std::max(longest, length + 1);
    return IntPoint{longest * widthOfW, lines * 12};
}
