#include "wizard/pg_ws.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>

#include "catalog/template_list.h"
#include "dialogs/object_dialog_kit.h"
#include "foundation/cp1252.h"
#include "foundation/string_table.h"
#include "wizard/dlg_wizard_setup.h"
#include "wizard/wiz_page_pictures.h"
#include "wizard/wizard_preview_wnd.h"

namespace {

// Every page of the sheet has the size of the largest one.
constexpr int32_t kPageWidth = 473;
constexpr int32_t kPageHeight = 210;

}  // namespace

CPgWS::CPgWS(int32_t dialogId, const char* caption) : CTemplatePage(dialogId, caption)
{
    setMinimumSize(DialogUnitsX(kPageWidth), DialogUnitsY(kPageHeight));
}

CPgWS::~CPgWS() = default;

QRect CPgWS::TemplateRect(int32_t x, int32_t y, int32_t width, int32_t height) const
{
    return QRect(DialogUnitsX(x), DialogUnitsY(y), DialogUnitsX(width), DialogUnitsY(height));
}

void CPgWS::ControlPlaced(QWidget* control) { control->installEventFilter(this); }

void CPgWS::Attach(CWizTree* tree, CDlgWizardSetup* sheet, uint32_t* backdropCounter, uint32_t* templateCounter)
{
    tree_ = tree;
    sheet_ = sheet;
    backdropCounter_ = backdropCounter;
    templateCounter_ = templateCounter;
}

void CPgWS::OnPageShown(bool) {}

int32_t CPgWS::GetToolTipId(int32_t)
{
    return 0;
}

QString CPgWS::ToolTipText(int32_t controlId)
{
    const int32_t id = GetToolTipId(controlId);
    return id ? Cp1252ToQString(LookupString(id)) : QString();
}

bool CPgWS::OnInitDialog()
{
    if (sheet_)
        sheet_->PrepareSheet();
    preview_ = new CWizardPreviewWnd;
    preview_->CreateOver(Control(kIdSetupPreviewPlace), kIdSetupPreview);
    preview_->SetMode(kWizPreviewShadowed);
    initialised_ = true;
    return true;
}

void CPgWS::showEvent(QShowEvent* event)
{
    // The page is made when it is first turned to, before it is seen.
    EnsureCreated();
    QWidget::showEvent(event);
    if (initialised_)
        OnPageShown(true);
}

void CPgWS::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (initialised_)
        OnPageShown(false);
}

bool CPgWS::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        for (const auto& [id, control] : Controls()) {
            if (control != watched)
                continue;
            const QString tip = ToolTipText(id);
            auto* help = static_cast<QHelpEvent*>(event);
            if (tip.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), tip, control);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QPushButton* CPgWS::Button(int32_t id) const
{
    return Item<QPushButton>(id);
}

QPushButton* CPgWS::AddButton(const char* text, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height)
{
    return Place(new QPushButton(Cp1252ToQString(text)), id, x, y, width, height);
}

void CPgWS::AddGroup(const char* text, int32_t x, int32_t y, int32_t width, int32_t height)
{
    auto* group = Place(new QGroupBox(Cp1252ToQString(text)), -1, x, y, width, height);
    group->lower();
}

void CPgWS::EnableControl(int32_t id, bool on)
{
    if (QWidget* control = Control(id))
        control->setEnabled(on);
}

void CPgWS::RaiseBackdropCounter()
{
    if (backdropCounter_)
        ++*backdropCounter_;
    TakeBackdropCounter();
}

void CPgWS::RaiseTemplateCounter()
{
    if (templateCounter_)
        ++*templateCounter_;
    TakeTemplateCounter();
}

void CPgWS::TakeBackdropCounter()
{
    if (backdropCounter_)
        seenBackdrop_ = *backdropCounter_;
}

void CPgWS::TakeTemplateCounter()
{
    if (templateCounter_)
        seenTemplate_ = *templateCounter_;
}

void CPgWS::ShowTemplatePicture(uint32_t templateId, int32_t width, int32_t height)
{
    if (!preview_)
        return;
    ClearOverlayLayer(preview_);
    DibHandle picture = templateId != 0 ? LoadTemplatePreview(int32_t(templateId)) : nullptr;
    if (!picture) {
        ClearBackdropLayer(preview_);
        return;
    }
    preview_->SetBackground(picture, width, height);
}
