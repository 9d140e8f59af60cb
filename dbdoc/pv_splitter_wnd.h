// The two small window classes of the database window: the splitter that
// holds the browser beside the form, and the static text that takes the
// mouse for itself (so that it can show its tool tip).
#pragma once

#include <cstdint>

#include <QLabel>
#include <QSplitter>

// A column dragged below its minimum stays at the minimum instead of
// vanishing; the next column is given up only when the splitter was made
// to split dynamically.
class CPVSplitterWnd : public QSplitter {
public:
    explicit CPVSplitterWnd(QWidget* parent = nullptr);

    // The user drags the bar after column to x (splitter coordinates).
    void TrackColumnSize(int32_t x, int32_t column);
    // The space the bars and borders take, in pixels.
    QSize CalcTotalSize() const;
    void SetDynamicSplit(bool on) { dynamic_ = on; }
    bool DynamicSplit() const { return dynamic_; }
    int32_t BorderWidth() const { return border_; }

private:
    void Moved(int position, int index);

    bool dynamic_ = false;
    int32_t border_ = 2;
};

// A static text that answers every hit as its own.
class CTransparentStatic : public QLabel {
public:
    explicit CTransparentStatic(QWidget* parent = nullptr);
    // The hit test: always the client area.
    static constexpr int32_t kHitClient = 1;
    int32_t HitTest(const QPoint&) const { return kHitClient; }
};
