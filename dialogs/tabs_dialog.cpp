#include "dialogs/tabs_dialog.h"

#include <cmath>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/auto_repeat_button.h"
#include "dialogs/filtered_edit.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/tab_combo_box.h"
#include "foundation/units.h"
#include "frames/tab_stops.h"

namespace {

constexpr int32_t kScrollBackId = 1289;
constexpr int32_t kScrollOnId = 1290;
constexpr int32_t kScrollInterval = 25;
constexpr uint8_t kEntryFlags = 1;

CAutoRepeatButton* ScrollButton(int32_t id, int32_t bitmap, const char* name, QWidget* parent)
{
    auto* b = new CAutoRepeatButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->SetControlId(id);
    b->setIcon(QIcon(QPixmap::fromImage(TabMarkerBitmap(bitmap))));
    b->setFixedWidth(24);
    return b;
}

}  // namespace

int32_t KindIndexOfAlignment(uint8_t alignment)
{
    switch (alignment) {
    case kTabCentre: return 1;
    case kTabRight: return 2;
    default: return 0;
    }
}

uint8_t AlignmentOfKindIndex(int32_t index)
{
    switch (index) {
    case 1: return kTabCentre;
    case 2: return kTabRight;
    default: return kTabLeft;
    }
}

CDlgTabs::CDlgTabs(QWidget* parent) : OpeningDialog("Tabs", "tabsDialog", parent)
{
    ruler_ = new CTabRulerWnd(this);
    kind_ = Named(new CTabComboBox(this), "kind");
    position_ = Named(new QLineEdit(this), "position");
    position_->setMaxLength(10);
    clearAll_ = new QPushButton(QStringLiteral("Clear All"), this);
    delete_ = new QPushButton(QStringLiteral("Delete"), this);
    add_ = new QPushButton(QStringLiteral("Add"), this);
    for (QPushButton* b : {clearAll_, delete_, add_})
        b->setAutoDefault(false);
    back_ = ScrollButton(kScrollBackId, 513, "scrollBack", this);
    on_ = ScrollButton(kScrollOnId, 26049, "scrollOn", this);

    auto* rulerRow = new QHBoxLayout;
    rulerRow->addWidget(back_);
    rulerRow->addWidget(ruler_, 1);
    rulerRow->addWidget(on_);
    auto* controls = new QGridLayout;
    controls->addWidget(new QLabel(QStringLiteral("Kind :"), this), 0, 0);
    controls->addWidget(kind_, 0, 1);
    controls->addWidget(new QLabel(QStringLiteral("Position :"), this), 1, 0);
    controls->addWidget(position_, 1, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add_);
    buttons->addWidget(delete_);
    buttons->addWidget(clearAll_);
    auto* lower = new QHBoxLayout;
    lower->addLayout(controls);
    lower->addStretch(1);
    lower->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rulerRow);
    layout->addLayout(lower);
    layout->addLayout(OkCancelRow(this));

    connect(ruler_, &CTabRulerWnd::PreviewChangedData, this, [this] { FillControls(); });
    connect(position_, &QLineEdit::textEdited, this, [this] { ReadControls(); });
    connect(kind_, &QComboBox::activated, this, [this](int index) { KindChosen(index); });
    connect(clearAll_, &QPushButton::clicked, this, [this] { ClearAll(); });
    connect(delete_, &QPushButton::clicked, this, [this] { Delete(); });
    connect(add_, &QPushButton::clicked, this, [this] { Add(); });
    for (CAutoRepeatButton* b : {back_, on_})
        connect(b, &CAutoRepeatButton::ScrollPressed, this,
                [this](int32_t id) { ruler_->Scroll(id == kScrollBackId ? -1 : 1); });
}

void CDlgTabs::Init(int32_t units, const TabRecord& record)
{
    record_ = record;
    units_ = units;
    TabStops tabs(record_.bytes);
    if (tabs.GetDefined() == 0)
        for (int i = 0; i < kTabEntries; ++i)
            tabs.SetPosition(i, -1);
    for (int i = 0; i < kTabEntries; ++i)
        tabs.SetFillAndFlags(i, ' ', kEntryFlags);
    // A stop behind an unused entry would be out of the ruler's reach.
    tabs.Compact();
    ruler_->SetData(units_, record_.bytes, &current_, &marker_);
}

void CDlgTabs::Open()
{
    std::vector<QImage> bitmaps;
    for (int32_t id = 26043; id <= 26048; ++id)
        bitmaps.push_back(TabMarkerBitmap(id));
    kind_->Fill(bitmaps,
                {QStringLiteral("Right margin"), QStringLiteral("First line"), QStringLiteral("Left margin"),
                 QStringLiteral("Left tab"), QStringLiteral("Center tab"), QStringLiteral("Right tab")},
                3, 3);
    back_->Init(kScrollInterval);
    on_->Init(kScrollInterval);
    FillControls();
}

void CDlgTabs::FillControls()
{
    filling_ = true;
    if (marker_ >= kMarkerRightMargin && marker_ <= kMarkerLeftMargin)
        kind_->SetSelection(marker_);
    else
        kind_->SetSelection(KindIndexOfAlignment(current_.alignment));
    const double factor = UnitFactorPoints(units_);
    position_->setText(QString::asprintf("%.3g", current_.position / factor));
    filling_ = false;
}

void CDlgTabs::ReadControls()
{
    if (filling_)
        return;
    current_.alignment = AlignmentOfKindIndex(kind_->currentIndex());
    const double points = LeadingDecimal(position_->text().left(255)) * UnitFactorPoints(units_);
    current_.position = int16_t(std::clamp(std::trunc(points), -32768.0, 32767.0));
    if (!ruler_->Dragging())
        ruler_->ApplyCurrent(kApplyPosition);
}

void CDlgTabs::KindChosen(int index)
{
    current_.alignment = AlignmentOfKindIndex(index);
    if (marker_ < 0 && marker_ != kMarkerNone)
        ruler_->SetSelected(kMarkerNone);
    else
        ruler_->ApplyCurrent(kApplyKind);
}

void CDlgTabs::ClearAll()
{
    TabStops tabs(record_.bytes);
    for (int i = 0; i < kTabEntries; ++i)
        tabs.SetPosition(i, -1);
    tabs.SetDefined(0);
    ruler_->SetSelected(kMarkerNone);
    ruler_->repaint();
}

void CDlgTabs::Delete()
{
    current_.position = -1;
    ruler_->ApplyCurrent(kApplyDelete);
    ruler_->SetSelected(kMarkerNone);
    TabStops tabs(record_.bytes);
    tabs.SetDefined(tabs.AnyUsed());
}

void CDlgTabs::Add()
{
    ruler_->AddTab();
    TabStops(record_.bytes).SetDefined(1);
}
