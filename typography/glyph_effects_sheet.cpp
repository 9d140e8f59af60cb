#include "typography/glyph_effects_sheet.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QVBoxLayout>

#include "foundation/string_table.h"
#include "foundation/cp1252.h"
#include "typography/glyph_combos.h"
#include "typography/glyph_preview.h"
#include "typography/glyph_sources.h"

const char* const kOutlineStyleNames[4] = {"No Outline", "Thin Outline", "Thick Outline", "Hilited"};
const char* const kFillStyleNames[6] = {"Solid",           "Blend Across",      "Blend Down",
                                        "Double Blend Across", "Double Blend Down", "Radiant Blend"};
const char* const kShadowStyleNames[4] = {"No Shadow", "Drop Shadow", "Block Shadow", "Silhouette"};
const char* const kShadowPositionNames[4] = {"Lower Right", "Lower Left", "Top Left", "Top Right"};

namespace {

constexpr int kPreviewMinimum = 160;

}  // namespace

CPgGE::CPgGE(const QString& title, QWidget* parent) : QWidget(parent), title_(title)
{
    auto* row = new QHBoxLayout(this);
    form_ = new QFormLayout;
    row->addLayout(form_);
    previewArea_ = new QFrame(this);
    previewArea_->setObjectName(QStringLiteral("Preview"));
    previewArea_->setFrameShape(QFrame::Box);
    previewArea_->setMinimumSize(kPreviewMinimum * 2, kPreviewMinimum);
    auto* inside = new QVBoxLayout(previewArea_);
    inside->setContentsMargins(2, 2, 2, 2);
    row->addWidget(previewArea_, 1);
}

QComboBox* CPgGE::AddList(const char* label, const char* name, int16_t GlyphStyle::*field, Kind kind,
                          const char* const* items, int count)
{
    QComboBox* combo = kind == Kind::kColor ? new GlyphColorCombo(this) : new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(name));
    if (kind == Kind::kStyle)
        FillNameCombo(combo, items, count);
    else if (kind == Kind::kTint)
        FillTintCombo(combo);
    form_->addRow(QString::fromLatin1(label), combo);
    bindings_.push_back(Binding{combo, field, kind});
    const Binding b = bindings_.back();
    connect(combo, &QComboBox::currentIndexChanged, this, [this, b](int index) {
        if (initialised_)
            Store(b, index);
    });
    return combo;
}

void CPgGE::SetEffect(GlyphEffect* effect, const GlyphTints* tints)
{
    effect_ = effect;
    tints_ = tints;
    if (preview_)
        preview_->SetEffect(effect_, tints_);
}

void CPgGE::CreatePreview()
{
    delete preview_;
    preview_ = new CGlyphPreviewWnd(previewArea_);
    previewArea_->layout()->addWidget(preview_);
    previewArea_->layout()->activate();
    preview_->SetEffect(effect_, tints_);
    preview_->show();
}

void CPgGE::EnsureInit()
{
    if (!initialised_ && effect_)
        OnInitDialog();
}

void CPgGE::OnInitDialog()
{
    CreatePreview();
    GlyphStyle& s = effect_->style;
    for (const Binding& b : bindings_) {
        const QSignalBlocker block(b.combo);
        if (b.kind == Kind::kColor && tints_)
            static_cast<GlyphColorCombo*>(b.combo)->SetColors(*tints_);
        int16_t& v = s.*b.field;
        switch (b.kind) {
        case Kind::kStyle:
            if (v < 1)
                v = 1;
            b.combo->setCurrentIndex(v - 1 < b.combo->count() ? v - 1 : -1);
            break;
        case Kind::kColor:
            if (v < 0 || v >= kGlyphColorCount)
                v = 0;
            b.combo->setCurrentIndex(v);
            break;
        case Kind::kTint:
            if (v < 0 || v > 100)
                v = 0;
            b.combo->setCurrentIndex(v / 10);
            break;
        }
    }
    initialised_ = true;
    UpdateEnabling();
}

void CPgGE::Store(const Binding& b, int index)
{
    int16_t& v = effect_->style.*b.field;
    switch (b.kind) {
    case Kind::kStyle:
        if (index >= 0)
            v = int16_t(index + 1);
        break;
    case Kind::kColor:
        v = int16_t(index >= 0 && index < kGlyphColorCount ? index : 0);
        break;
    case Kind::kTint:
        v = int16_t(index >= 0 && index <= 10 ? index * 10 : 0);
        break;
    }
    UpdateEnabling();
    Redraw();
}

void CPgGE::Redraw()
{
    if (preview_)
        preview_->Redraw();
}

CPgGE_Outline::CPgGE_Outline(QWidget* parent) : CPgGE(QStringLiteral("Outline"), parent)
{
    style_ = AddList("Style", "Style", &GlyphStyle::outlineStyle, Kind::kStyle, kOutlineStyleNames, 4);
    color_ = AddList("Color", "Color", &GlyphStyle::outlineColor, Kind::kColor);
    tint_ = AddList("Shade", "Shade", &GlyphStyle::outlineTint, Kind::kTint);
}

void CPgGE_Outline::UpdateEnabling()
{
    const bool outlined = style_->currentIndex() != kOutlineNone - 1;
    color_->setEnabled(outlined);
    tint_->setEnabled(outlined);
}

CPgGE_Interior::CPgGE_Interior(QWidget* parent) : CPgGE(QStringLiteral("Interior"), parent)
{
    fill_ = AddList("Fill", "Fill", &GlyphStyle::fillStyle, Kind::kStyle, kFillStyleNames, 6);
    AddList("Text Color", "Text Color", &GlyphStyle::fillColor, Kind::kColor);
    AddList("Text Shade", "Text Shade", &GlyphStyle::fillTint, Kind::kTint);
    blendColor_ = AddList("Blend Color", "Blend Color", &GlyphStyle::blendColor, Kind::kColor);
    blendTint_ = AddList("Blend Shade", "Blend Shade", &GlyphStyle::blendTint, Kind::kTint);
}

void CPgGE_Interior::UpdateEnabling()
{
    const bool blended = fill_->currentIndex() != kFillSolid - 1;
    blendColor_->setEnabled(blended);
    blendTint_->setEnabled(blended);
}

CPgGE_Shade::CPgGE_Shade(QWidget* parent) : CPgGE(QStringLiteral("Shade"), parent)
{
    style_ = AddList("Style", "Style", &GlyphStyle::shadowStyle, Kind::kStyle, kShadowStyleNames, 4);
    position_ = AddList("Position", "Position", &GlyphStyle::shadowPosition, Kind::kStyle, kShadowPositionNames, 4);
    fill_ = AddList("Fill", "Fill", &GlyphStyle::shadowFill, Kind::kStyle, kFillStyleNames, 6);
    color_ = AddList("Color", "Color", &GlyphStyle::shadowColor, Kind::kColor);
    tint_ = AddList("Shade", "Shade", &GlyphStyle::shadowTint, Kind::kTint);
    blendColor_ = AddList("Blend Color", "Blend Color", &GlyphStyle::shadowBlendColor, Kind::kColor);
    blendTint_ = AddList("Blend Shade", "Blend Shade", &GlyphStyle::shadowBlendTint, Kind::kTint);
}

void CPgGE_Shade::UpdateEnabling()
{
    const bool shadow = style_->currentIndex() != kShadowNone - 1;
    const bool silhouette = style_->currentIndex() == kShadowSilhouette - 1;
    const bool blended = fill_->currentIndex() != kFillSolid - 1;
    position_->setEnabled(shadow && !silhouette);
    fill_->setEnabled(shadow);
    color_->setEnabled(shadow);
    tint_->setEnabled(shadow);
    blendColor_->setEnabled(shadow && blended);
    blendTint_->setEnabled(shadow && blended);
}

CDlgGlyphEffects::CDlgGlyphEffects(const QString& title, QWidget* parent, int firstPage)
    : QDialog(parent), firstPage_(firstPage)
{
    setWindowTitle(title);
    // The pages belong to the sheet from the start; Prepare puts them on
    // their tabs.
    outline_ = new CPgGE_Outline(this);
    interior_ = new CPgGE_Interior(this);
    shade_ = new CPgGE_Shade(this);
    for (CPgGE* page : {static_cast<CPgGE*>(outline_), static_cast<CPgGE*>(interior_), static_cast<CPgGE*>(shade_)})
        page->hide();
    tabs_ = new QTabWidget(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addWidget(tabs_);
    column->addWidget(buttons);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (CPgGE* page = PageAt(index); page && created_)
            page->EnsureInit();
    });
}

CDlgGlyphEffects::CDlgGlyphEffects(int32_t titleId, QWidget* parent, int firstPage)
    : CDlgGlyphEffects(Cp1252ToQString(LookupString(titleId) ? LookupString(titleId) : ""), parent, firstPage)
{
}

void CDlgGlyphEffects::SetEffect(const GlyphEffect* effect, const GlyphTints* tints)
{
    effect_ = effect ? *effect : GlyphEffect{};
    for (CPgGE* page : {static_cast<CPgGE*>(outline_), static_cast<CPgGE*>(interior_), static_cast<CPgGE*>(shade_)})
        page->SetEffect(&effect_, tints);
}

void CDlgGlyphEffects::Prepare()
{
    if (tabs_->count() > 0)
        return;
    for (CPgGE* page : {static_cast<CPgGE*>(outline_), static_cast<CPgGE*>(interior_), static_cast<CPgGE*>(shade_)})
        tabs_->addTab(page, page->Title());
    if (firstPage_ >= 0 && firstPage_ < tabs_->count())
        tabs_->setCurrentIndex(firstPage_);
}

CPgGE* CDlgGlyphEffects::PageAt(int index) const
{
    switch (index) {
    case kOutlinePage:
        return outline_;
    case kInteriorPage:
        return interior_;
    case kShadePage:
        return shade_;
    default:
        return nullptr;
    }
}

void CDlgGlyphEffects::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    created_ = true;
    if (CPgGE* page = PageAt(tabs_->currentIndex()))
        page->EnsureInit();
}
