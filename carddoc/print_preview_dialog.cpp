#include "carddoc/print_preview_dialog.h"

#include <algorithm>
#include <cmath>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "carddoc/labels_doc.h"
#include "carddoc/print_manager.h"
#include "carddoc/print_target_view.h"
#include "database/open_database_registry.h"
#include "foundation/alert_sink.h"
#include "foundation/byte_order.h"
#include "foundation/int_math.h"
#include "frames/curr_page_mng.h"
#include "frames/eps_preview_cache.h"
#include "graphics/beep.h"
#include "platform/dc.h"
#include "platform/print_printer.h"
#include "records/label_stock.h"
#include "typography/button_bitmap.h"

namespace {

// The buttons' pictures: arrows, and the view toggle's one-card and sheet
// pictures.
enum : int32_t {
    kBitmapNext = 520,
    kBitmapPrevious = 521,
    kBitmapOneCardView = 522,
    kBitmapSheetView = 523,
};

constexpr int32_t kBorder = 15;
constexpr ColorRef kLightGrey = 0xC0C0C0;
constexpr ColorRef kPureGreen = 0x00FF00;

int32_t Scaled(double v, int16_t n, int16_t d) { return d ? TruncToInt32(v * n / d) : TruncToInt32(v); }

// The pixels a card's side takes at the zoom: the frames' outlines take in
// the pixel at the far end of what they surround, so a border along the
// card's right or bottom edge lies one past its scaled side.
int32_t CardPixels(int32_t side, int16_t n, int16_t d) { return Scaled(side, n, d) + 1; }

// A cell's outline goes round the card and under it: drawn on the card's
// edge pixels, or over a neighbour where cells touch, it would hide what
// the card prints along its edges, such as a border.
void OutlineCell(Dc* dc, const IntRect& cell)
{
    dc->frameRect(IntRect{cell.left - 1, cell.top - 1, cell.right + 1, cell.bottom + 1}, Brush::Solid(kPureGreen));
}

// The card drawing that belongs to one paint: the page at the sheet's
// origin and at the pane's zoom, undone when the paint is over.
class PageForPane {
public:
    PageForPane(CLabelsDoc* document, int16_t page, int16_t n, int16_t d) : manager_(document->PageManager())
    {
        page_ = page;
        manager_->BeginPageOutput(1, page_);
        manager_->SetZoom(uint16_t(n), uint16_t(d), -1, 1);
    }
    ~PageForPane()
    {
        manager_->EndPageOutput(page_);
        manager_->RecalcAll();
    }
    PageForPane(const PageForPane&) = delete;
    PageForPane& operator=(const PageForPane&) = delete;

private:
    CurrPageMng* manager_;
    int16_t page_;
};

}  // namespace

CPrintPreviewWnd::CPrintPreviewWnd(CDlgPrintPreview* dialog) : QWidget(dialog), dialog_(dialog)
{
    setObjectName(QStringLiteral("previewPane"));
    setMinimumSize(420, 420);
}

void CPrintPreviewWnd::paintEvent(QPaintEvent*)
{
    QImage surface(size(), QImage::Format_RGB32);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        dialog_->Paint(dc.get(), width(), height());
    }
    QPainter(this).drawImage(0, 0, surface);
}

CDlgPrintPreview::CDlgPrintPreview(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Print Preview"));
    auto* layout = new QHBoxLayout(this);
    pane_ = new CPrintPreviewWnd(this);
    // Pictures that could not wait for Ghostscript show their stand-ins;
    // the pane is painted again as each drawing ends.
    drawingsHeard_ = EpsPreviewCache::Shared().AddListener([pane = pane_](const std::string&) { pane->update(); });
    layout->addWidget(pane_, 1);

    auto* side = new QVBoxLayout;
    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    buttons->addButton(QStringLiteral("Print"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgPrintPreview::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgPrintPreview::reject);
    side->addWidget(buttons);

    auto* toggleRow = new QHBoxLayout;
    toggle_ = new QToolButton(this);
    toggle_->setCheckable(true);
    SetButtonBitmap(toggle_, kBitmapSheetView);
    toggleLabel_ = new QLabel(this);
    toggleRow->addWidget(toggle_);
    toggleRow->addWidget(toggleLabel_, 1);
    side->addLayout(toggleRow);
    connect(toggle_, &QToolButton::toggled, this, &CDlgPrintPreview::SetOneCardView);

    auto* stepRow = new QHBoxLayout;
    previous_ = new QToolButton(this);
    SetButtonBitmap(previous_, kBitmapPrevious);
    next_ = new QToolButton(this);
    SetButtonBitmap(next_, kBitmapNext);
    stepRow->addWidget(previous_);
    stepRow->addWidget(next_);
    stepRow->addStretch();
    side->addLayout(stepRow);
    connect(next_, &QToolButton::clicked, this, [this] { OnNext(); });
    connect(previous_, &QToolButton::clicked, this, [this] { OnPrevious(); });

    rangeGroup_ = new QGroupBox(this);
    auto* range = new QGridLayout(rangeGroup_);
    fromLabel_ = new QLabel(rangeGroup_);
    toLabel_ = new QLabel(rangeGroup_);
    fromValue_ = new QLabel(rangeGroup_);
    toValue_ = new QLabel(rangeGroup_);
    range->addWidget(fromLabel_, 0, 0);
    range->addWidget(fromValue_, 0, 1);
    range->addWidget(toLabel_, 1, 0);
    range->addWidget(toValue_, 1, 1);
    side->addWidget(rangeGroup_);

    pagesGroup_ = new QGroupBox(QStringLiteral("Pages"), this);
    auto* pages = new QGridLayout(pagesGroup_);
    pageValue_ = new QLabel(pagesGroup_);
    pageCountValue_ = new QLabel(pagesGroup_);
    pages->addWidget(new QLabel(QStringLiteral("N#:"), pagesGroup_), 0, 0);
    pages->addWidget(pageValue_, 0, 1);
    pages->addWidget(new QLabel(QStringLiteral("Of:"), pagesGroup_), 1, 0);
    pages->addWidget(pageCountValue_, 1, 1);
    side->addWidget(pagesGroup_);
    side->addStretch();
    layout->addLayout(side);
}

void CDlgPrintPreview::Init(bool withRecords, CLabelsDoc* document)
{
    withRecords_ = withRecords;
    document_ = document;
    uint8_t layout[kLabelTypeSize];
    document_->GetLabelLayout(layout);
    cardRect_ = IntRect{0, 0, TruncToInt32(document_->PageGeometry().cardWidth),
                        TruncToInt32(document_->PageGeometry().cardHeight)};
    firstPage_ = document_->PageGeometry().firstPage;
    pageCount_ = std::max<int16_t>(document_->GetPageCount(), 1);
    page_ = firstPage_;
    QRect paper, printable;
    document_->Printer().GetJobPage(&paper, &printable);
    paper_ = IntSize{paper.width(), paper.height()};
    printable_ = IntRect{printable.left(), printable.top(), printable.left() + printable.width(),
                         printable.top() + printable.height()};
    ShowPage();
    firstRecord_ = 1;
    cardIndex_ = 1;
    LayOut();
    ShowLabels();
    ShowRange();
    ShowButtons();
}

int32_t CDlgPrintPreview::Cells() const
{
    const uint8_t* layout = document_->LabelLayout();
    return std::max(GetI16LE(layout + kLabelTypeColumnsOffset) * GetI16LE(layout + kLabelTypeRowsOffset), 1);
}

int32_t CDlgPrintPreview::Total() const { return withRecords_ ? GetCurrentLiveRecordCount() : 0; }

void CDlgPrintPreview::ShowPage()
{
    document_->SwitchToPage(page_);
    pageValue_->setText(QString::number(page_ - firstPage_ + 1));
    pageCountValue_->setText(QString::number(pageCount_));
    pagesGroup_->setVisible(pageCount_ >= 2);
}

void CDlgPrintPreview::LayOut()
{
    const int32_t width = std::max(pane_->width(), 2 * kBorder + 1);
    const int32_t height = std::max(pane_->height(), 2 * kBorder + 1);
    pane_rect_ = IntRect{0, 0, width, height};
    const IntSize content = oneCard_ ? IntSize{cardRect_.right, cardRect_.bottom} : paper_;
    const int32_t cw = std::max(content.width, 1), ch = std::max(content.height, 1);
    const double rx = double(cw) / (width - 2 * kBorder), ry = double(ch) / (height - 2 * kBorder);
    int32_t n = 1, d = 1;
    if (rx >= ry) {
        n = width - 2 * kBorder;
        d = cw;
    } else {
        n = height - 2 * kBorder;
        d = ch;
    }
    if (oneCard_ && n >= d)
        n = d = 1;
    // The fraction is kept in 16 bits, as the page zoom is.
    while (n > INT16_MAX || d > INT16_MAX) {
        n /= 2;
        d = std::max(d / 2, 1);
    }
    zoomNumerator_ = int16_t(std::max(n, 1));
    zoomDenominator_ = int16_t(std::max(d, 1));

    const int32_t sw = Scaled(paper_.width, zoomNumerator_, zoomDenominator_);
    const int32_t sh = Scaled(paper_.height, zoomNumerator_, zoomDenominator_);
    const int32_t left = (width - sw) / 2 - 1, top = (height - sh) / 2 - 1;
    sheetImage_ = IntRect{left, top, left + sw, top + sh};
    const int32_t insetX = Scaled((paper_.width - (printable_.right - printable_.left)) / 2.0, zoomNumerator_,
                                  zoomDenominator_);
    const int32_t insetY = Scaled((paper_.height - (printable_.bottom - printable_.top)) / 2.0, zoomNumerator_,
                                  zoomDenominator_);
    printableImage_ = IntRect{sheetImage_.left + insetX, sheetImage_.top + insetY, sheetImage_.right - insetX,
                              sheetImage_.bottom - insetY};

    if (GetU32LE(document_->LabelLayout() + kLabelTypeCenteringOffset) != 0) {
        LabelTypeRecord record;
        LabelTypeDecode(document_->LabelLayout(), &record);
        double x = 0, y = 0;
        CenterLabelGrid(&record, paper_.width, paper_.height, &x, &y);
        document_->SetCentringOffsets(TruncToInt32(x), TruncToInt32(y));
    }
}

IntRect CDlgPrintPreview::CellImage(int32_t column, int32_t row) const
{
    const uint8_t* layout = document_->LabelLayout();
    const double w = document_->PageGeometry().cardWidth, h = document_->PageGeometry().cardHeight;
    double x = column * (GetF64LE(layout + kLabelTypeHorizontalSpacingOffset) + w) +
               GetF64LE(layout + kLabelTypeLeftMarginOffset);
    double y = row * (GetF64LE(layout + kLabelTypeVerticalSpacingOffset) + h) +
               GetF64LE(layout + kLabelTypeTopMarginOffset);
    if (GetU32LE(layout + kLabelTypeCenteringOffset) != 0) {
        x += GetI32LE(layout + kLabelTypeCenterLeftOffset);
        y += GetI32LE(layout + kLabelTypeCenterTopOffset);
    }
    const int32_t left = sheetImage_.left + Scaled(TruncToInt32(x), zoomNumerator_, zoomDenominator_);
    const int32_t top = sheetImage_.top + Scaled(TruncToInt32(y), zoomNumerator_, zoomDenominator_);
    return IntRect{left, top, left + CardPixels(cardRect_.right, zoomNumerator_, zoomDenominator_),
                   top + CardPixels(cardRect_.bottom, zoomNumerator_, zoomDenominator_)};
}

void CDlgPrintPreview::ShowLabels()
{
    toggleLabel_->setText(oneCard_ ? QStringLiteral("View All Cards") : QStringLiteral("View One Card"));
    rangeGroup_->setTitle(oneCard_ ? QStringLiteral("Cards") : QStringLiteral("Records"));
    fromLabel_->setText(oneCard_ ? QStringLiteral("N#:") : QStringLiteral("From:"));
    toLabel_->setText(oneCard_ ? QStringLiteral("Of:") : QStringLiteral("To:"));
}

int32_t CDlgPrintPreview::CardsShown() const
{
    const int32_t cells = Cells();
    return withRecords_ ? std::min(cells, Total() - firstRecord_ + 1) : cells;
}

void CDlgPrintPreview::ShowRange()
{
    const int32_t cells = Cells();
    if (oneCard_) {
        fromValue_->setText(QString::number(cardIndex_));
        toValue_->setText(QString::number(CardsShown()));
        rangeGroup_->setVisible(true);
        return;
    }
    rangeGroup_->setVisible(withRecords_);
    fromValue_->setText(QString::number(firstRecord_));
    toValue_->setText(QString::number(std::min(firstRecord_ + cells - 1, Total())));
}

void CDlgPrintPreview::ShowButtons()
{
    const int32_t cells = Cells();
    if (oneCard_) {
        next_->setEnabled(cardIndex_ < CardsShown());
        previous_->setEnabled(cardIndex_ != 1);
        return;
    }
    if (withRecords_) {
        next_->setEnabled(page_ != LastPage() || firstRecord_ + cells - 1 < Total());
        previous_->setEnabled(!(page_ == firstPage_ && firstRecord_ == 1));
    } else {
        next_->setEnabled(page_ != LastPage());
        previous_->setEnabled(page_ != firstPage_);
    }
}

void CDlgPrintPreview::Refresh()
{
    ShowRange();
    ShowButtons();
    pane_->update();
}

bool CDlgPrintPreview::ShowStep(bool ok)
{
    if (!ok)
        MessageBeep(0xFFFFFFFF);
    Refresh();
    return ok;
}

bool CDlgPrintPreview::OnNext()
{
    bool ok = true;
    const int32_t cells = Cells();
    if (oneCard_) {
        if (cardIndex_ < CardsShown())
            ++cardIndex_;
        else
            ok = false;
    } else {
        if (page_ < LastPage()) {
            ++page_;
        } else if (withRecords_) {
            if (firstRecord_ + cells <= Total()) {
                firstRecord_ += cells;
                page_ = firstPage_;
            } else {
                ok = false;
            }
        } else {
            page_ = firstPage_;
        }
        ShowPage();
        LayOut();
    }
    return ShowStep(ok);
}

bool CDlgPrintPreview::OnPrevious()
{
    bool ok = true;
    const int32_t cells = Cells();
    if (oneCard_) {
        if (cardIndex_ > 1)
            --cardIndex_;
        else
            ok = false;
    } else {
        if (page_ != firstPage_) {
            --page_;
        } else if (withRecords_) {
            if (firstRecord_ - cells >= 1) {
                firstRecord_ -= cells;
                page_ = LastPage();
            } else {
                firstRecord_ = 1;
                ok = false;
            }
        } else {
            page_ = LastPage();
        }
        ShowPage();
        LayOut();
    }
    return ShowStep(ok);
}

void CDlgPrintPreview::SetOneCardView(bool on)
{
    oneCard_ = on;
    if (toggle_->isChecked() != on) {
        const QSignalBlocker block(toggle_);
        toggle_->setChecked(on);
    }
    SetButtonBitmap(toggle_, on ? kBitmapOneCardView : kBitmapSheetView);
    ShowLabels();
    LayOut();
    Refresh();
}

int32_t CDlgPrintPreview::CounterNumber() const
{
    if (!withRecords_)
        return oneCard_ ? cardIndex_ : 1;
    const int32_t cells = Cells();
    const int32_t base = ((firstRecord_ + cells - 1) / cells - 1) * cells;
    return base + (oneCard_ ? cardIndex_ : 1);
}

void CDlgPrintPreview::DrawCard(Dc* dc, const IntRect& cell)
{
    CurrPageMng* manager = document_->PageManager();
    FrameView* view = document_->View();
    if (view)
        view->PushDrawTarget(dc, 0);
    if (!manager->ApplyAlignments())
        manager->RelayoutTextFrames();
    IntPoint corners[2] = {{cell.left, cell.top}, {cell.right, cell.bottom}};
    dc->lpToDp(corners, 2);
    const Region clip = Region::FromRect(IntRect{corners[0].x, corners[0].y, corners[1].x, corners[1].y});
    dc->selectClipRgn(&clip);
    manager->ResetFrameStates(1);
    manager->DrawAll(dc, 1);
    dc->selectClipRgn(nullptr);
    manager->RevertAlignOffsets();
    if (view)
        view->PopDrawTarget();
}

void CDlgPrintPreview::Paint(Dc* dc, int32_t width, int32_t height)
{
    dc->fillRect(IntRect{0, 0, width, height}, Brush::Solid(kWhite));
    if (!document_)
        return;
    if (pane_rect_.right != width || pane_rect_.bottom != height)
        LayOut();
    dc->setTextAlign(TA_BASELINE | TA_UPDATECP);
    LentPrintView lent(document_);
    PageForPane page(document_, document_->GetCurrentPage(), zoomNumerator_, zoomDenominator_);
    document_->PageManager()->SetCounterValue(CounterNumber() - 1);

    if (oneCard_) {
        const int32_t w = Scaled(cardRect_.right, zoomNumerator_, zoomDenominator_);
        const int32_t h = Scaled(cardRect_.bottom, zoomNumerator_, zoomDenominator_);
        const IntRect card{(width - w) / 2, (height - h) / 2, (width - w) / 2 + w, (height - h) / 2 + h};
        if (withRecords_ && !GotoCurrentDatabaseRecord(firstRecord_ + cardIndex_ - 2))
            return;
        dc->setViewportOrg(card.left, card.top);
        const IntRect whole{0, 0, CardPixels(cardRect_.right, zoomNumerator_, zoomDenominator_),
                            CardPixels(cardRect_.bottom, zoomNumerator_, zoomDenominator_)};
        OutlineCell(dc, whole);
        DrawCard(dc, whole);
        dc->setViewportOrg(0, 0);
        return;
    }

    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
    const Brush oldBrush = dc->selectBrush(Brush::Hollow());
    dc->rectangle(sheetImage_.left, sheetImage_.top, sheetImage_.right, sheetImage_.bottom);
    const Pen shadow = dc->selectPen(Pen{PS_SOLID, 2, kBlack});
    dc->moveTo(sheetImage_.left + 2, sheetImage_.bottom);
    dc->lineTo(sheetImage_.right, sheetImage_.bottom);
    dc->lineTo(sheetImage_.right, sheetImage_.top + 2);
    dc->selectPen(shadow);
    Region band = Region::FromRect(IntRect{sheetImage_.left + 1, sheetImage_.top + 1, sheetImage_.right - 1,
                                           sheetImage_.bottom - 1});
    band.combine(band, Region::FromRect(printableImage_), RGN_DIFF);
    dc->fillRgn(band, Brush::Solid(kLightGrey));
    dc->selectBrush(oldBrush);
    dc->selectPen(oldPen);

    const uint8_t* layout = document_->LabelLayout();
    const int32_t columns = GetI16LE(layout + kLabelTypeColumnsOffset);
    const int32_t rows = GetI16LE(layout + kLabelTypeRowsOffset);
    if (columns < 1 || rows < 1 || columns > kLabelTypeMaxCount || rows > kLabelTypeMaxCount)
        return;
    // The cells that get a card are outlined first, all of them under the
    // cards.
    const int32_t cards = std::max(0, CardsShown());
    for (int32_t i = 0; i < cards; ++i)
        OutlineCell(dc, CellImage(i % columns, i / columns));
    const int32_t total = Total();
    int32_t record = firstRecord_;
    for (int32_t row = 0; row < rows; ++row) {
        for (int32_t column = 0; column < columns; ++column) {
            const IntRect cell = CellImage(column, row);
            document_->DrawSheetCell(dc, cell, &cell, int16_t(row), int16_t(column));
            if (withRecords_) {
                if (record > total || !GotoCurrentDatabaseRecord(record - 1))
                    break;
                ++record;
            }
            // The frames are drawn from the cell's own corner, as the print
            // draws them from the label's: moving them by the cell's place
            // in view units would round that place twice, and shift the
            // card's content off its cell by up to a pixel or two.
            dc->setViewportOrg(cell.left, cell.top);
            DrawCard(dc, IntRect{0, 0, cell.right - cell.left, cell.bottom - cell.top});
            dc->setViewportOrg(0, 0);
        }
    }
}

CDlgPrintPreview::~CDlgPrintPreview() { EpsPreviewCache::Shared().RemoveListener(drawingsHeard_); }

void CDlgPrintPreview::Closing()
{
    if (!document_)
        return;
    document_->SwitchToPage(page_);
    CurrPageMng* manager = document_->PageManager();
    manager->SetCounterValue(0);
    manager->RecalcAll();
    manager->MarkAllChanged();
    manager->ResetFrameStates(1);
}

void CDlgPrintPreview::accept()
{
    Closing();
    QDialog::accept();
}

void CDlgPrintPreview::reject()
{
    Closing();
    QDialog::reject();
}

void RunPrintPreview(CLabelsDoc* document, QWidget* owner)
{
    if (SayIfSelectionFailed())
        return;
    const bool withRecords = GetCurrentDatabaseDoc() != nullptr;
    const int16_t page = document->GetCurrentPage();
    CDlgPrintPreview dialog(owner);
    document->ClosePages();
    document->SetPrintPreview(true);
    int result = 0;
    {
        // The preview's cards step through the records; the user's stays
        // shown.
        CurrentRecordKeeper record;
        dialog.Init(withRecords, document);
        result = dialog.exec();
    }
    document->SetPrintPreview(false);
    if (result == QDialog::Accepted)
        document->PrintDocument(owner);
    document->ClosePages();
    document->OpenPages(page, 1, 1);
    CurrPageMng* manager = document->PageManager();
    manager->RecalcAll();
    manager->ResetFrameStates(2);
    manager->MarkAllChanged();
    manager->RefreshRecordFrames();
    manager->ApplyAlignments();
    document->RefreshView();
    // The preview may have closed on another side: the page bar names the
    // one shown again.
    document->UpdatePageBar();
}
