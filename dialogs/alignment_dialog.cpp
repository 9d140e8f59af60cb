#include "dialogs/alignment_dialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"
#include "foundation/int_math.h"
#include "graphics/brush_state.h"
#include "graphics/ellipse_shape.h"
#include "graphics/frame_border.h"
#include "graphics/placement.h"
#include "graphics/rect_ops.h"
#include "platform/dc.h"

namespace {

// The preview's place in the template (118 x 120 dialog units) less the
// 2 pixels the pane keeps from its placeholder on every side.
constexpr int kPreviewWidth = 118 * 3 / 2 - 4;
constexpr int kPreviewHeight = 120 * 13 / 8 - 4;
constexpr ColorRef kGreen = 0x00FF00;
constexpr int32_t kRoundCorner = 4;
constexpr uint32_t kGroupBrushFlags =
    BrushState::kSetText | BrushState::kSetBackground | BrushState::kCheckerboardPattern;

int32_t MapLength(int32_t value, int32_t to, int32_t from)
{
    if (from <= 0)
        return 0;
    return TruncToInt32(double(int64_t(value) * to) / double(from));
}

// Radio groups and check boxes follow the values; -1 leaves a group
// without a checked button.
void CheckInGroup(QButtonGroup* group, int32_t id)
{
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(group->id(b) == id);
    group->setExclusive(true);
}

void DrawEntry(Dc* dc, const AlignEntry& entry, const IntRect& r, ColorRef colour, int32_t width)
{
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, width, colour});
    const Brush oldBrush = dc->selectBrush(Brush::Hollow());
    switch (entry.type) {
    case kAlignTypeRepeatedGroup:
    case 0: break;
    case 2: dc->roundRect(r.left, r.top, r.right, r.bottom, kRoundCorner, kRoundCorner); break;
    case 3: dc->ellipse(r.left, r.top, r.right, r.bottom); break;
    case 4: break;  // drawn by the caller, which knows the line's slope
    case 6: {
        dc->selectBrush(Brush::Solid(colour));
        PlacementBlock block;
        RectToPlacement(r, &block);
        block.lineWidth = int16_t(width);
        block.lineStyle = 1;
        DrawEllipseShape(dc, block, 0, kArcCentreTopRight);
        break;
    }
    case kAlignTypeGrouped: {
        BrushState brush(dc);
        brush.Set(colour, kWhite, 0, kGroupBrushFlags);
        IntRect ring = r;
        for (int32_t i = 0; i < width; ++i) {
            dc->frameRect(ring, dc->brush());
            RectInset(&ring, 1, 1);
        }
        break;
    }
    default:
        if (entry.type > 0)
            dc->rectangle(r.left, r.top, r.right, r.bottom);
        break;
    }
    dc->selectBrush(oldBrush);
    dc->selectPen(oldPen);
}

void DrawLineEntry(Dc* dc, const IntRect& r, const AlignFrame& frame, ColorRef colour, int32_t width)
{
    LineRecord line;
    switch (frame.slope) {
    case AlignLineSlope::kFalls:
        line.start = {r.left, r.top};
        line.end = {r.right, r.bottom};
        break;
    case AlignLineSlope::kRises:
        line.start = {r.left, r.bottom};
        line.end = {r.right, r.top};
        break;
    case AlignLineSlope::kHorizontal:
        line.start = {r.left, r.top};
        line.end = {r.right, r.top};
        break;
    case AlignLineSlope::kVertical:
        line.start = {r.right, r.top};
        line.end = {r.right, r.bottom};
        break;
    }
    line.lineWidth = int16_t(width);
    // A style the border code does not know would leave the line out of
    // the preview altogether.
    line.lineStyle = frame.lineStyle >= 1 && frame.lineStyle <= 9 ? frame.lineStyle : 1;
    const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, colour});
    const Brush oldBrush = dc->selectBrush(Brush::Solid(colour));
    DrawFrameBorder(dc, line, 0);
    dc->selectBrush(oldBrush);
    dc->selectPen(oldPen);
}

}  // namespace

IntRect AlignCardRect(const IntRect& client, const IntRect& page)
{
    IntRect card = client;
    RectToOrigin(&card);
    const int64_t pageWidth = int64_t(page.right) - page.left;
    const int64_t pageHeight = int64_t(page.bottom) - page.top;
    if (pageHeight >= pageWidth)
        RectInset(&card, 17, 10);
    else
        RectInset(&card, 10, 27);
    return card;
}

std::vector<AlignEntry> BuildAlignEntries(const AlignSelection& selection, const IntRect& card)
{
    IntRect page = selection.pageRect;
    RectToOrigin(&page);
    const int32_t cardWidth = card.right - card.left;
    const int32_t cardHeight = card.bottom - card.top;
    std::vector<AlignEntry> entries(selection.frames.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const AlignFrame& frame = selection.frames[i];
        AlignEntry& e = entries[i];
        e.type = frame.grouped ? int16_t(kAlignTypeGrouped) : frame.type;
        IntRect b = frame.bounds;
        RectOffset(&b, -selection.pageOrigin.x, -selection.pageOrigin.y);
        e.bounds.left = MapLength(b.left, cardWidth, page.right);
        e.bounds.right = MapLength(b.right, cardWidth, page.right);
        e.bounds.top = MapLength(b.top, cardHeight, page.bottom);
        e.bounds.bottom = MapLength(b.bottom, cardHeight, page.bottom);
    }
    // The frames of one group share its bounds: the first of them stands
    // for the group, the others are left out of the drawing.
    size_t from = 0;
    for (;;) {
        size_t first = from;
        while (first < entries.size() && entries[first].type != kAlignTypeGrouped)
            ++first;
        if (first >= entries.size())
            break;
        for (size_t j = first + 1; j < entries.size(); ++j) {
            if (entries[j].type == kAlignTypeGrouped && RectEqual(entries[j].bounds, entries[first].bounds))
                entries[j].type = kAlignTypeRepeatedGroup;
        }
        from = first + 1;
    }
    return entries;
}

void ComputeAlignOffsets(std::vector<AlignEntry>* entries, int32_t horizontal, int32_t vertical, bool toFirst,
                         int16_t currentIndex, int16_t leftIndex, int16_t topIndex)
{
    const int32_t n = int32_t(entries->size());
    auto valid = [n](int32_t i) { return i >= 0 && i < n; };
    IntRect ref;
    if (toFirst) {
        if (valid(currentIndex))
            ref = (*entries)[size_t(currentIndex)].bounds;
    } else {
        if (valid(leftIndex)) {
            ref.left = (*entries)[size_t(leftIndex)].bounds.left;
            ref.right = (*entries)[size_t(leftIndex)].bounds.right;
        }
        if (valid(topIndex)) {
            ref.top = (*entries)[size_t(topIndex)].bounds.top;
            ref.bottom = (*entries)[size_t(topIndex)].bounds.bottom;
        }
    }
    for (int32_t i = 0; i < n; ++i) {
        AlignEntry& e = (*entries)[size_t(i)];
        e.dx = 0;
        e.dy = 0;
        if (toFirst && i == currentIndex)
            continue;
        const IntRect& b = e.bounds;
        int32_t dx = 0;
        switch (horizontal) {
        case 1: dx = ref.left - b.left; break;
        case 2: dx = (ref.left + (ref.right - ref.left) / 2) - (b.left + (b.right - b.left) / 2); break;
        case 3: dx = ref.right - b.right; break;
        default: break;
        }
        int32_t dy = 0;
        switch (vertical) {
        case 1: dy = ref.top - b.top; break;
        case 2: dy = (ref.top + (ref.bottom - ref.top) / 2) - (b.top + (b.bottom - b.top) / 2); break;
        case 3: dy = ref.bottom - b.bottom; break;
        default: break;
        }
        e.dx = int16_t(dx);
        e.dy = int16_t(dy);
    }
}

CAlignPreviewWnd::CAlignPreviewWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("alignPreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CAlignPreviewWnd::paintEvent(QPaintEvent*)
{
    QImage surface(size(), QImage::Format_RGB32);
    surface.fill(palette().color(QPalette::Window));
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        Draw(dc.get());
    }
    QPainter(this).drawImage(0, 0, surface);
}

void CAlignPreviewWnd::Draw(Dc* dc)
{
    IntRect client{0, 0, width(), height()};
    RectInset(&client, 1, 1);
    dc->fillRect(client, Brush::Solid(kWhite));
    if (!dialog_)
        return;
    const IntRect card = dialog_->CardRect();
    {
        const Pen oldPen = dc->selectPen(Pen{PS_SOLID, 1, kBlack});
        const Brush oldBrush = dc->selectBrush(Brush::Solid(kWhite));
        dc->rectangle(card.left, card.top, card.right, card.bottom);
        dc->selectPen(Pen{PS_SOLID, 2, kBlack});
        dc->moveTo(card.left + 2, card.bottom);
        dc->lineTo(card.right, card.bottom);
        dc->lineTo(card.right, card.top + 1);
        dc->selectBrush(oldBrush);
        dc->selectPen(oldPen);
    }
    dialog_->UpdateOffsets();
    const int32_t highlighted = dialog_->HighlightedEntry();
    const IntRect area = dialog_->DrawingArea();
    const std::vector<AlignEntry>& entries = dialog_->Entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const AlignEntry& e = entries[i];
        const bool lit = int32_t(i) == highlighted;
        const ColorRef colour = lit ? kGreen : kBlack;
        const int32_t width = lit ? 2 : 1;
        IntRect r = e.bounds;
        RectOffset(&r, area.left + e.dx, area.top + e.dy);
        if (e.type == 4)
            DrawLineEntry(dc, r, dialog_->Selection().frames[i], colour, width);
        else
            DrawEntry(dc, e, r, colour, width);
    }
}

CDlgAlignment::CDlgAlignment(const AlignSelection& selection, QWidget* parent)
    : OpeningDialog("Alignment", "alignmentDialog", parent), selection_(selection)
{
    auto* horizontalBox = new QGroupBox(QStringLiteral("Horizontal"), this);
    auto* verticalBox = new QGroupBox(QStringLiteral("Vertical"), this);
    horizontalGroup_ = new QButtonGroup(this);
    verticalGroup_ = new QButtonGroup(this);
    auto* hLayout = new QVBoxLayout(horizontalBox);
    auto* vLayout = new QVBoxLayout(verticalBox);
    const char* const hTexts[] = {"No Change", "Left Sides", "Centers", "Right Sides"};
    const char* const vTexts[] = {"No Change", "Top Sides", "Centers", "Bottom Sides"};
    for (int i = 0; i < 4; ++i) {
        auto* h = new QRadioButton(QString::fromLatin1(hTexts[i]), horizontalBox);
        h->setObjectName(QStringLiteral("horizontal%1").arg(i));
        horizontalGroup_->addButton(h, i);
        hLayout->addWidget(h);
        auto* v = new QRadioButton(QString::fromLatin1(vTexts[i]), verticalBox);
        v->setObjectName(QStringLiteral("vertical%1").arg(i));
        verticalGroup_->addButton(v, i);
        vLayout->addWidget(v);
    }
    toFirstBox_ = Named(new QCheckBox(QStringLiteral("To First Selected Frame"), this), "toFirstSelected");

    preview_ = new CAlignPreviewWnd(this);
    preview_->setFixedSize(kPreviewWidth, kPreviewHeight);
    preview_->SetDialog(this);

    auto* buttons = OkCancelBox(this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(horizontalBox, 0, 0);
    layout->addWidget(verticalBox, 0, 1);
    layout->addWidget(toFirstBox_, 1, 0, 1, 2);
    layout->addWidget(preview_, 0, 2, 2, 1);
    layout->addWidget(buttons, 2, 0, 1, 3);

    // The preview's card and the frames mapped into it.
    const IntRect client{0, 0, kPreviewWidth, kPreviewHeight};
    card_ = AlignCardRect(client, selection_.pageRect);
    area_ = card_;
    RectInset(&area_, 1, 1);
    entries_ = BuildAlignEntries(selection_, card_);

    ExchangeIn();
    auto changed = [this] {
        ExchangeOut();
        UpdateOffsets();
        preview_->repaint();
    };
    connect(horizontalGroup_, &QButtonGroup::idClicked, this, changed);
    connect(verticalGroup_, &QButtonGroup::idClicked, this, changed);
    connect(toFirstBox_, &QCheckBox::clicked, this, changed);
}

void CDlgAlignment::SetModes(int32_t horizontal, int32_t vertical, bool toFirst)
{
    horizontal_ = horizontal;
    vertical_ = vertical;
    toFirst_ = toFirst;
    ExchangeIn();
    UpdateOffsets();
    preview_->update();
}

void CDlgAlignment::ExchangeIn()
{
    CheckInGroup(horizontalGroup_, horizontal_);
    CheckInGroup(verticalGroup_, vertical_);
    toFirstBox_->setChecked(toFirst_);
}

void CDlgAlignment::ExchangeOut()
{
    horizontal_ = horizontalGroup_->checkedId();
    vertical_ = verticalGroup_->checkedId();
    toFirst_ = toFirstBox_->isChecked();
}

int32_t CDlgAlignment::HighlightedEntry() const { return toFirst_ ? selection_.currentIndex : -1; }

void CDlgAlignment::UpdateOffsets()
{
    ComputeAlignOffsets(&entries_, horizontal_, vertical_, toFirst_, selection_.currentIndex, selection_.leftIndex,
                        selection_.topIndex);
}

void CDlgAlignment::accept()
{
    ExchangeOut();
    UpdateOffsets();
    QDialog::accept();
}
