// The state of the font list popup while it is shown: which fonts are
// visible, which row is highlighted, and what the keys and the pointer do
// to them. When not all fonts fit, the first and last rows are arrows that
// scroll the list while highlighted.
#pragma once

#include <cstdint>

class FontListTracker {
public:
    enum Outcome {
        kGoOn,
        kAccept,      // the highlighted font is chosen
        kCloseList,   // cancelled: close this list
        kCloseMenus,  // cancelled: close the whole menu
    };
    enum Key {
        kKeyUp,
        kKeyDown,
        kKeyEnter,
        kKeyEscape,
        kKeyLeft,
        kKeyAlt,
    };

    // A list of fontCount fonts in rows rows, opened at its first font.
    void Open(int32_t fontCount, int32_t rows);

    Outcome Press(Key key);
    // The pointer is over row (-1: outside the rows).
    void PointAt(int32_t row);
    // The pointer button went up over row.
    Outcome Release(int32_t row);
    // One step of scrolling while an arrow row is highlighted and fonts lie
    // beyond it; false when nothing moved.
    bool ScrollStep();

    // The chosen font: the highlighted font row's font, -1 when no font
    // row is highlighted, -3 after a cancel.
    int32_t Result() const { return result_; }

    bool Scrollable() const { return scrollable_; }
    int32_t Rows() const { return rows_; }
    int32_t FirstVisible() const { return first_; }
    int32_t Highlight() const { return highlight_; }
    // The font shown in a row; -1 for an arrow row or a row past the end.
    int32_t FontAtRow(int32_t row) const;
    bool IsArrowRow(int32_t row) const { return scrollable_ && (row == 0 || row == rows_ - 1); }

private:
    int32_t FirstFontRow() const { return scrollable_ ? 1 : 0; }

    int32_t count_ = 0;
    int32_t rows_ = 0;
    int32_t first_ = 0;
    int32_t highlight_ = -1;
    bool scrollable_ = false;
    int32_t result_ = -1;
};
