// CSheetPreviewWnd: a sheet of paper with its printable area and the grid
// of cards (labels) a label type places on it, scaled to fit the window. It
// serves as a plain layout preview (mode 1), as a picker of the card at
// which printing starts on the first sheet (mode 2), and as an editor of
// the card positions the first sheet skips (mode 3), where each click
// toggles one position.
//
// The skip grid travels in a Handle of little-endian 32-bit words: count
// (columns x rows), columns, rows, then one flag per card in row order
// (index = row x columns + column), 1 printed and 0 skipped.
#pragma once

#include <cstdint>

#include <QWidget>

#include "foundation/handle.h"
#include "foundation/int_geometry.h"
#include "graphics/rotation.h"
#include "platform/gdi_types.h"

class Dc;

// The geometry of a label type that the window draws, in points: what the
// label-stock record holds of its cards, margins and gaps.
struct SheetLabelLayout {
    double cardWidth = 0;
    double cardHeight = 0;
    double topMargin = 0;
    double leftMargin = 0;
    double verticalGap = 0;    // added to the card height for the row step
    double horizontalGap = 0;  // added to the card width for the column step
    int16_t columns = 0;
    int16_t rows = 0;
    int32_t centred = 0;  // non-zero: the grid is centred on the sheet
};

enum : int32_t {
    kSheetLayoutOnly = 1,
    kSheetFirstCard = 2,
    kSheetSkipCards = 3,
};

// Where a grid centred on a page of that size starts: per axis
// (page - (n x size + (n - 1) x gap)) / 2.
DoublePoint CentredLabelOrigin(const SheetLabelLayout& layout, double pageWidth, double pageHeight);

class CSheetPreviewWnd : public QWidget {
public:
    explicit CSheetPreviewWnd(QWidget* parent = nullptr);
    ~CSheetPreviewWnd() override;
    CSheetPreviewWnd(const CSheetPreviewWnd&) = delete;
    CSheetPreviewWnd& operator=(const CSheetPreviewWnd&) = delete;

    // Takes the place of a placeholder control, 2 pixels inside it on
    // every side, in the placeholder's parent. 1 when there is no
    // placeholder to replace, else 0.
    int32_t CreateInPlace(QWidget* placeholder);

    // The paper and its printable area (points, relative to the paper's
    // corner; null: the whole paper).
    void SetSheetSize(IntSize paper, const IntRect* printable);
    void SetLabelType(const SheetLabelLayout& layout);
    void SetLabelTypeAndFirstCard(const SheetLabelLayout& layout, const int32_t firstCard[2]);
    // In mode 3 the window keeps a copy of the grid (the caller keeps its
    // own); a grid that does not fit the label type is adapted to it.
    void SetMode(int32_t mode, Handle grid);

    void GetLabelType(SheetLabelLayout* out) const { *out = label_; }
    // 1-based column and row.
    void GetFirstCard(int32_t out[2]) const;
    // Mode 3: a new copy of the skip grid, which the caller frees; else null.
    Handle GetSkipGrid() const;
    // Repaints at once. The setters do not repaint.
    void Redraw();

    int32_t Mode() const { return mode_; }
    const IntRect& SheetImage() const { return sheetImage_; }
    const IntRect& PrintableImage() const { return printableImage_; }
    double Scale() const { return scale_; }
    // The window's own grid (null outside mode 3).
    Handle SkipGrid() const { return skipGrid_; }

    // Computes the images of the sheet and the printable area for the
    // window's size; false when the window is too small to show a sheet.
    bool Layout();
    // The card's rectangle in the window; whether it meets the sheet.
    bool GetCellRect(int32_t column, int32_t row, IntRect* out) const;
    // The 0-based card under the point, if any.
    bool HitTest(const IntPoint& point, int32_t out[2]) const;

    void Draw(Dc* dc);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void RebuildSkipGrid();
    void DrawSheet(Dc* dc);
    void DrawCells(Dc* dc);
    void DrawCell(Dc* dc, int32_t column, int32_t row, const IntRect& cell);
    ColorRef WindowColour() const;

    IntRect sheetRect_{0, 0, 210, 297};
    IntRect printableRect_{0, 0, 197, 285};
    IntRect sheetImage_;
    IntRect printableImage_;
    double scale_ = 1.0;
    SheetLabelLayout label_;
    bool labelSet_ = false;
    int32_t firstCard_[2] = {0, 0};
    int32_t mode_ = kSheetLayoutOnly;
    Handle skipGrid_ = nullptr;
};

// Reading a skip grid: its columns and rows when the Handle holds a whole
// grid of that shape, else false.
bool SkipGridShape(Handle grid, int32_t* columns, int32_t* rows);
// Flag of a card of a whole grid; 1 outside it.
uint32_t SkipGridFlag(Handle grid, int32_t column, int32_t row);
