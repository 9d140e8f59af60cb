#include "wizard/pg_wiz.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>

#include "catalog/wizard_designs.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/cp1252.h"
#include "foundation/int_math.h"
#include "foundation/string_table.h"
#include "wizard/dlg_wizard.h"
#include "wizard/wiz_preview_document.h"
#include "wizard/wizard_preview_wnd.h"

CPgWiz::CPgWiz(int32_t dialogId, const char* caption) : CTemplatePage(dialogId, caption)
{
    // The dialog base units of the font: the average width of the letters
    // rounded, and the height.
    const QFontMetrics metrics(font());
    const int32_t letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = std::max((letters / 26 + 1) / 2, 1);
    baseY_ = std::max(metrics.height(), 1);
    setFixedSize(UnitsX(433), UnitsY(242));
}

CPgWiz::~CPgWiz() = default;

void CPgWiz::Attach(CWizTree* tree, WizNode** nodeSlot, int32_t index, CDlgWizard* sheet)
{
    tree_ = tree;
    nodeSlot_ = nodeSlot;
    index_ = index;
    sheet_ = sheet;
}

DocSetup& CPgWiz::Record() const
{
    return sheet_->Record();
}

int32_t CPgWiz::Mode() const
{
    return sheet_ ? sheet_->Mode() : 0;
}

int32_t CPgWiz::LabelWidth() const
{
    return TruncToInt32(DocSetupLabelWidth(Record()));
}

int32_t CPgWiz::LabelHeight() const
{
    return TruncToInt32(DocSetupLabelHeight(Record()));
}

void CPgWiz::UpdateButtons()
{
    if (sheet_)
        sheet_->UpdateWizardButtons(index_);
}

QRect CPgWiz::TemplateRect(int32_t x, int32_t y, int32_t width, int32_t height) const
{
    return QRect(UnitsX(x), UnitsY(y), UnitsX(width), UnitsY(height));
}

void CPgWiz::BuildControls()
{
    AddFrame(kIdHeaderStrip, 7, 1, 419, 31);
}

bool CPgWiz::OnInitDialog()
{
    sheet_->UpdateWizardButtons(index_);
    header_ = new CWizardPreviewWnd;
    header_->CreateOver(Control(kIdHeaderStrip), kIdHeaderPreview);
    header_->SetMode(kWizPreviewPlain);
    header_->SetBackground(GetHeaderPicture(index_ + 1), 1, 1);
    for (const auto& [id, control] : Controls()) {
        if (const int32_t tip = GetToolTipId(id))
            control->setToolTip(Cp1252ToQString(LookupString(tip)));
    }
    return true;
}

void CPgWiz::CreateContentPreview()
{
    content_ = new CWizardPreviewWnd;
    content_->CreateOver(Control(kIdPreviewFrame), kIdContentPreview);
    content_->SetMode(kWizPreviewShadowed);
}

void CPgWiz::OnShow()
{
    if (captionPending_) {
        sheetCaption_ = QStringToCp1252(sheet_->windowTitle());
        captionPending_ = false;
    }
    sheet_->UpdateWizardButtons(index_);
    OnPageShown();
}

int32_t CPgWiz::OnWizardNext()
{
    StoreChoice();
    return sheet_->GetNextPageId(index_);
}

int32_t CPgWiz::OnWizardBack()
{
    return sheet_->GetPrevPageId(index_);
}

bool CPgWiz::OnWizardFinish()
{
    StoreChoice();
    return sheet_->FinishPages();
}

bool CPgWiz::OnQueryCancel()
{
    return sheet_->CancelPages();
}

void CPgWiz::TakeSnapshot()
{
    const DocSetup& r = Record();
    pageNode_ = CurrentNode();
    backdropId_ = r.backdropId;
    backdropColour_ = r.backdropColour;
    templateId_ = r.templateId;
    std::memcpy(layout_, r.labelLayout, sizeof layout_);
    dataCounter_ = sheet_->DataCounter();
}

bool CPgWiz::HasChanged(uint32_t mask) const
{
    const DocSetup& r = Record();
    if ((mask & kChangedNodeOrLayout) &&
        (pageNode_ != CurrentNode() || std::memcmp(layout_, r.labelLayout, sizeof layout_) != 0))
        return true;
    if ((mask & kChangedBackdrop) && (backdropId_ != r.backdropId || backdropColour_ != r.backdropColour))
        return true;
    if ((mask & kChangedDataOrTemplate) && (dataCounter_ != sheet_->DataCounter() || templateId_ != r.templateId))
        return true;
    return false;
}

void CPgWiz::ApplyToPreviewDocument()
{
    WizPreviewDocument* doc = sheet_->PreviewDocument();
    if (!doc)
        return;
    doc->ClearAndApplySetup(Record());
    doc->ApplyLayoutAndDesign(Record(), true);
}

Handle CPgWiz::RenderPreviewDocument()
{
    WizPreviewDocument* doc = sheet_->PreviewDocument();
    if (!doc)
        return nullptr;
    int32_t width = 100;
    int32_t height = 100;
    if (LabelWidth() > 0)
        width = LabelWidth();
    if (LabelHeight() > 0)
        height = LabelHeight();
    Handle bits = HandleNew(0);
    if (bits && doc->RenderWizardPreview(width, height, bits) != 0) {
        HandleFree(bits);
        return nullptr;
    }
    return bits;
}
