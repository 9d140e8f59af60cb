#include "typography/font_list_tracker.h"

#include <algorithm>

void FontListTracker::Open(int32_t fontCount, int32_t rows)
{
    count_ = std::max(fontCount, 0);
    scrollable_ = count_ > rows && rows >= 3;
    rows_ = scrollable_ ? rows : std::min(std::max(rows, 0), count_);
    first_ = 0;
    highlight_ = -1;
    result_ = -1;
}

int32_t FontListTracker::FontAtRow(int32_t row) const
{
    if (row < 0 || row >= rows_ || IsArrowRow(row))
        return -1;
    const int32_t font = first_ + row - FirstFontRow();
    return font < count_ ? font : -1;
}

FontListTracker::Outcome FontListTracker::Press(Key key)
{
    switch (key) {
    case kKeyAlt:
        result_ = -3;
        return kCloseMenus;
    case kKeyEscape:
    case kKeyLeft:
        result_ = -3;
        return kCloseList;
    case kKeyEnter:
        result_ = FontAtRow(highlight_);
        return kAccept;
    case kKeyUp:
        if (rows_ == 0)
            return kGoOn;
        highlight_ = highlight_ < 0 ? FirstFontRow() : std::max(highlight_ - 1, 0);
        return kGoOn;
    case kKeyDown:
        if (rows_ == 0)
            return kGoOn;
        highlight_ = highlight_ < 0 ? FirstFontRow() : std::min(highlight_ + 1, rows_ - 1);
        return kGoOn;
    }
    return kGoOn;
}

void FontListTracker::PointAt(int32_t row) { highlight_ = row >= 0 && row < rows_ ? row : -1; }

FontListTracker::Outcome FontListTracker::Release(int32_t row)
{
    PointAt(row);
    const int32_t font = FontAtRow(highlight_);
    if (font < 0)
        return kGoOn;
    result_ = font;
    return kAccept;
}

bool FontListTracker::ScrollStep()
{
    if (!scrollable_)
        return false;
    const int32_t fontRows = rows_ - 2;
    if (highlight_ == 0 && first_ > 0) {
        --first_;
        return true;
    }
    if (highlight_ == rows_ - 1 && first_ + fontRows < count_) {
        ++first_;
        return true;
    }
    return false;
}
