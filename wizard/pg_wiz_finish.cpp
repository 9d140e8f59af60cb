#include "wizard/pg_wiz_finish.h"

#include <QPushButton>

#include "catalog/wizard_designs.h"
#include "wizard/dlg_wizard.h"
#include "wizard/wiz_page_pictures.h"
#include "wizard/wiz_preview_document.h"
#include "wizard/wizard_preview_wnd.h"

namespace {

constexpr int32_t kFinishPictureNumber = 11000;

}  // namespace

CPgWiz_Finish::CPgWiz_Finish() : CPgWiz(564, "Finish It!") {}

void CPgWiz_Finish::BuildControls()
{
    CPgWiz::BuildControls();
    AddFrame(kIdPreviewFrame, 7, 41, 232, 192);
    // The three print buttons one under the other, each as wide as the
    // picture above them: side by side their captions would not fit.
    AddFrame(1536, 248, 42, 178, 141);
    printSheet_ = Place(new QPushButton(QStringLiteral("Print Sheet of Active Documents..")), 1463, 248, 187, 178, 14);
    printOptions_ = Place(new QPushButton(QStringLiteral("Print Options...")), 1464, 248, 203, 178, 14);
    printFromDatabase_ =
        Place(new QPushButton(QStringLiteral("Print Document From Database...")), 1733, 248, 219, 178, 14);
    QObject::connect(printSheet_, &QPushButton::clicked, this, [this] { OnPrintSheet(); });
    QObject::connect(printOptions_, &QPushButton::clicked, this, [this] { OnPrintOptions(); });
    QObject::connect(printFromDatabase_, &QPushButton::clicked, this, [this] { OnPrintFromDatabase(); });
}

bool CPgWiz_Finish::OnInitDialog()
{
    CPgWiz::OnInitDialog();
    CreateContentPreview();
    picture_ = new CWizardPreviewWnd;
    picture_->CreateOver(Control(1536), kIdSecondPreview);
    picture_->SetMode(kWizPreviewPlain);
    RebuildPreviews();
    TakeSnapshot();
    return true;
}

void CPgWiz_Finish::OnPageShown()
{
    if (HasChanged(kChangedAll)) {
        RebuildPreviews();
        TakeSnapshot();
    }
    UpdateButtons();
}

void CPgWiz_Finish::RebuildPreviews()
{
    ++rebuilds_;
    const DocSetup& r = Record();
    WizPreviewDocument* doc = Sheet()->PreviewDocument();
    if (doc)
        ApplyToPreviewDocument();
    if (r.backdropId > 0) {
        if (ShowBackdropPicture(content_, int32_t(r.backdropId), int32_t(r.backdropColour), LabelWidth(),
                                LabelHeight()) != 0)
            return;
    } else {
        content_->SetBackground(nullptr, 1, 1);
    }
    if (r.templateId > 0 && doc)
        content_->SetOverlayFromHandle(RenderPreviewDocument(), LabelWidth(), LabelHeight());
    else if (r.templateId > 0)
        ShowTemplateOverlay(content_, int32_t(r.templateId), LabelWidth(), LabelHeight());
    else
        ClearOverlayLayer(content_);
    picture_->SetBackground(GetHeaderPicture(kFinishPictureNumber), 1, 1);
}

void CPgWiz_Finish::UpdateButtons()
{
    const bool document = Sheet()->PreviewDocument() != nullptr;
    if (printSheet_)
        printSheet_->setEnabled(document);
    if (printFromDatabase_)
        printFromDatabase_->setEnabled(document && Record().databaseUse != 0);
    CPgWiz::UpdateButtons();
}

void CPgWiz_Finish::OnPrintSheet()
{
    if (WizPreviewDocument* doc = Sheet()->PreviewDocument()) {
        Sheet()->setEnabled(false);
        doc->PrintSheet(Sheet());
        Sheet()->setEnabled(true);
    }
}

void CPgWiz_Finish::OnPrintFromDatabase()
{
    if (WizPreviewDocument* doc = Sheet()->PreviewDocument()) {
        Sheet()->setEnabled(false);
        doc->PrintFromDatabase(Sheet());
        Sheet()->setEnabled(true);
    }
}

void CPgWiz_Finish::OnPrintOptions()
{
    if (WizPreviewDocument* doc = Sheet()->PreviewDocument())
        doc->OnFilePrintOptions();
}
