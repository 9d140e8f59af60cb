#include "wizard/template_page.h"

#include <QFrame>
#include <QLabel>

#include "foundation/cp1252.h"

CTemplatePage::CTemplatePage(int32_t dialogId, const char* caption)
    : dialogId_(dialogId), caption_(QString::fromLatin1(caption))
{
    setObjectName(QStringLiteral("page%1").arg(dialogId));
}

void CTemplatePage::EnsureCreated()
{
    if (created_)
        return;
    created_ = true;
    BuildControls();
    OnInitDialog();
}

QWidget* CTemplatePage::Control(int32_t id) const
{
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CTemplatePage::PlaceWidget(QWidget* control, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height)
{
    control->setParent(this);
    control->setGeometry(TemplateRect(x, y, width, height));
    // Controls made while the page is already on screen would stay hidden.
    control->show();
    if (id != -1) {
        control->setObjectName(QStringLiteral("control%1").arg(id));
        controls_[id] = control;
        ControlPlaced(control);
    }
}

QLabel* CTemplatePage::AddLabel(const char* text, int32_t id, int32_t x, int32_t y, int32_t width, int32_t height)
{
    auto* label = new QLabel(Cp1252ToQString(text));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return Place(label, id, x, y, width, height);
}

QWidget* CTemplatePage::AddFrame(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height)
{
    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::StyledPanel);
    return Place(frame, id, x, y, width, height);
}
