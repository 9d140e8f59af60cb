// CTabComboBox: the tab kind selector of the Tabs dialog. Its items are the
// three tab kinds, each with its ruler marker; while a margin marker is
// chosen on the ruler the closed box shows that margin instead.
#pragma once

#include <cstdint>

#include <QImage>
#include <QStringList>
#include <vector>

#include "dialogs/combo_frame.h"
#include "foundation/int_geometry.h"

class Dc;

class CTabComboBox : public COwnerDrawnCombo {
public:
    explicit CTabComboBox(QWidget* parent = nullptr);

    // Margin markers first (right margin, first line, left margin), then
    // the tab kinds: only the kinds become items.
    void Fill(const std::vector<QImage>& bitmaps, const QStringList& names, int32_t kinds, int32_t margins);
    // -3 to -1 show a margin in the closed box (item 0 is selected); 0 to 2
    // select a kind; anything else is ignored.
    void SetSelection(int32_t selection);
    int32_t ShownSelection() const { return shown_; }
    int32_t ItemHeight() const { return itemHeight_; }

    // The closed box (field true) or list item `index` into rect.
    void DrawItem(Dc* dc, const IntRect& rect, int32_t index, bool field, bool selected, bool focused) const;

protected:
    void DrawCurrent(Dc* dc, const IntRect& field) override;

private:
    std::vector<QImage> bitmaps_;
    QStringList names_;
    int32_t shown_ = -4;
    int32_t kinds_ = 3;
    int32_t margins_ = 3;
    int32_t itemHeight_ = 17;
    int32_t widest_ = 0;
};
