#include "app/main_status_bar.h"

#include <QLabel>

#include "foundation/cp1252.h"
#include "foundation/string_table.h"
#include "records/command_ids.h"

CMainStatusBar::CMainStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(true);
}

bool CMainStatusBar::SetIndicators(const uint32_t* ids, int32_t count)
{
    if (!ids || count <= 0)
        return false;
    for (Pane& pane : panes_)
        delete pane.label;
    panes_.clear();
    for (int32_t i = 0; i < count; ++i) {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        if (ids[i] == 0) {
            label->setIndent(3);
            addWidget(label, 1);
        } else {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            // Names (the database, the layout, the template) read from
            // their start when they don't fit; the lock keys' are centred.
            const bool lockKey = ids[i] == kPaneCaps || ids[i] == kPaneNum || ids[i] == kPaneScroll;
            label->setAlignment(lockKey ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
            label->setIndent(lockKey ? -1 : 3);
            // Lock-key panes are as wide as their own names.
            const char* name = LookupString(int32_t(ids[i]));
            const int32_t width = fontMetrics().horizontalAdvance(Cp1252ToQString(name ? name : "XXXX")) + 10;
            label->setFixedWidth(width);
            addPermanentWidget(label);
        }
        panes_.push_back({ids[i], label});
    }
    return true;
}

void CMainStatusBar::SetPaneInfo(int32_t index, uint32_t id, uint32_t /*style*/, int32_t width)
{
    if (index < 0 || index >= PaneCount())
        return;
    panes_[size_t(index)].id = id;
    if (index > 0)
        panes_[size_t(index)].label->setFixedWidth(width);
}

uint32_t CMainStatusBar::PaneId(int32_t index) const
{
    return index >= 0 && index < PaneCount() ? panes_[size_t(index)].id : 0;
}

int32_t CMainStatusBar::CommandToIndex(uint32_t id) const
{
    for (int32_t i = 0; i < PaneCount(); ++i)
        if (panes_[size_t(i)].id == id)
            return i;
    return -1;
}

QString CMainStatusBar::PaneText(int32_t index) const
{
    return index >= 0 && index < PaneCount() ? panes_[size_t(index)].label->text() : QString();
}

void CMainStatusBar::SetPaneText(int32_t index, const QString& text)
{
    if (index >= 0 && index < PaneCount() && panes_[size_t(index)].label->text() != text)
        panes_[size_t(index)].label->setText(text);
}

QString CMainStatusBar::PaneToolTip(int32_t index) const
{
    return index >= 0 && index < PaneCount() ? panes_[size_t(index)].label->toolTip() : QString();
}

QRect CMainStatusBar::PaneRect(int32_t index) const
{
    return index >= 0 && index < PaneCount() ? panes_[size_t(index)].label->geometry() : QRect();
}

void CMainStatusBar::SetMessageText(const QString& text)
{
    SetPaneText(0, text);
}

void CMainStatusBar::AddPaneToolTips()
{
    for (const uint32_t id : {uint32_t(kPaneDatabaseName), uint32_t(kPaneDocument), uint32_t(kPaneTemplateName)}) {
        const int32_t index = CommandToIndex(id);
        const char* text = LookupString(int32_t(id));
        if (index > 0 && text)
            panes_[size_t(index)].label->setToolTip(Cp1252ToQString(text));
    }
}
