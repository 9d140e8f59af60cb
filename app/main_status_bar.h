// CMainStatusBar: the main frame's status bar. Pane 0 is the message line;
// the others show what their update handlers give them. The information
// panes (database name, document, template name) carry their names as
// tool tips.
#pragma once

#include <cstdint>
#include <vector>

#include <QStatusBar>

class QLabel;

class CMainStatusBar : public QStatusBar {
public:
    explicit CMainStatusBar(QWidget* parent = nullptr);

    // One pane per id; 0 is the stretching message line. False when ids is
    // empty.
    bool SetIndicators(const uint32_t* ids, int32_t count);
    // Pane index's id and width in pixels (style 0: a sunken pane).
    void SetPaneInfo(int32_t index, uint32_t id, uint32_t style, int32_t width);
    int32_t PaneCount() const { return int32_t(panes_.size()); }
    uint32_t PaneId(int32_t index) const;
    // The pane of an id; -1 when none.
    int32_t CommandToIndex(uint32_t id) const;
    QString PaneText(int32_t index) const;
    void SetPaneText(int32_t index, const QString& text);
    QString PaneToolTip(int32_t index) const;
    // The pane's rectangle on the bar.
    QRect PaneRect(int32_t index) const;

    // The message line.
    void SetMessageText(const QString& text);
    QString MessageText() const { return PaneText(0); }

    // Gives the information panes their tool tips from the string table.
    void AddPaneToolTips();

private:
    struct Pane {
        uint32_t id = 0;
        QLabel* label = nullptr;
    };
    std::vector<Pane> panes_;
};
