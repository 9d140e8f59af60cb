// CStyleListBox: fill patterns (pattern mode) or border styles as drawn
// samples, one item each.
#pragma once

#include <cstdint>

#include <QListWidget>

#include "foundation/int_geometry.h"

class Dc;

// The selected item's row, -1 when none is.
int SelectedRow(const QListWidget* list);

class CStyleListBox : public QListWidget {
public:
    enum : uint8_t {
        kModeBorderStyles = 2,
        kModePatterns = 1,
    };

    explicit CStyleListBox(QWidget* parent = nullptr);

    // Appends count items of the given height; item i shows fill pattern i
    // (pattern mode) or border style i + 1 (any other mode).
    void Init(uint8_t mode, int32_t count, int32_t itemHeight, int32_t extra);
    uint8_t Mode() const { return mode_; }
    int32_t ItemHeight() const { return itemHeight_; }

    void DrawItem(Dc* dc, const IntRect& rect, int32_t item, bool selected, bool focused) const;

protected:
    // The list takes the focus without choosing an item: only the user's
    // click or arrow key chooses.
    void focusInEvent(QFocusEvent* event) override;

private:
    int32_t count_ = 0;
    int32_t itemHeight_ = 0;
    int32_t extra_ = 0;
    uint8_t mode_ = kModePatterns;
};
