// "Print Preview": how a card document will print. The all-cards view shows
// the whole sheet with every card position filled; the one-card view one
// card enlarged. The buttons step through the pages of the design and,
// when the cards are filled from the database, a sheet's worth of records
// at a time. "Print" ends the dialog with OK, on which the caller prints.
//
// The document draws the cards (its crop marks, its frames moved onto each
// cell); the dialog works out where, at what zoom, and for which record.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QWidget>

#include "foundation/int_geometry.h"

class CLabelsDoc;
class CDlgPrintPreview;
class Dc;
class QGroupBox;
class QLabel;
class QToolButton;

class CPrintPreviewWnd : public QWidget {
public:
    explicit CPrintPreviewWnd(CDlgPrintPreview* dialog);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CDlgPrintPreview* dialog_;
};

class CDlgPrintPreview : public QDialog {
public:
    explicit CDlgPrintPreview(QWidget* parent = nullptr);
    ~CDlgPrintPreview() override;

    void Init(bool withRecords, CLabelsDoc* document);

    // The stepping buttons; false (after the beep) when there is nowhere
    // to go.
    bool OnNext();
    bool OnPrevious();
    void SetOneCardView(bool on);

    // Draws the pane's picture.
    void Paint(Dc* dc, int32_t width, int32_t height);
    // The sheet shown, in points.
    IntSize Paper() const { return paper_; }

    int32_t FirstRecord() const { return firstRecord_; }
    int16_t CardIndex() const { return cardIndex_; }
    int16_t Page() const { return page_; }
    bool OneCardView() const { return oneCard_; }
    const IntRect& SheetImage() const { return sheetImage_; }
    // A card cell of the all-cards view in pane pixels.
    IntRect CellImage(int32_t column, int32_t row) const;
    CPrintPreviewWnd* Pane() const { return pane_; }
    QToolButton* NextButton() const { return next_; }
    QToolButton* PreviousButton() const { return previous_; }
    QToolButton* ViewToggle() const { return toggle_; }
    QLabel* ToggleLabel() const { return toggleLabel_; }
    QGroupBox* RangeGroup() const { return rangeGroup_; }
    QLabel* FromValue() const { return fromValue_; }
    QLabel* ToValue() const { return toValue_; }
    QGroupBox* PagesGroup() const { return pagesGroup_; }
    QLabel* PageValue() const { return pageValue_; }
    QLabel* PageCountValue() const { return pageCountValue_; }

    void accept() override;
    void reject() override;

private:
    int32_t Cells() const;
    // One card at a time: the cards there are to step through, the sheet's
    // cells or the records left from the first one.
    int32_t CardsShown() const;
    int32_t Total() const;
    int16_t LastPage() const { return int16_t(firstPage_ + pageCount_ - 1); }
    void ShowPage();
    void LayOut();
    void ShowLabels();
    void ShowRange();
    void ShowButtons();
    void Refresh();
    // After a step: one that could not be made beeps. Answers ok.
    bool ShowStep(bool ok);
    void Closing();
    int32_t CounterNumber() const;
    // Draws the page's frames from the viewport origin, the card's corner,
    // clipped to the cell (pixels from that corner).
    void DrawCard(Dc* dc, const IntRect& cell);

    CLabelsDoc* document_ = nullptr;
    bool withRecords_ = false;
    bool oneCard_ = false;
    IntRect pane_rect_;
    IntRect sheetImage_;
    IntRect printableImage_;
    IntRect cardRect_;
    int32_t firstRecord_ = 1;
    int16_t cardIndex_ = 1;
    int16_t page_ = 1;
    int16_t firstPage_ = 1;
    int16_t pageCount_ = 1;
    int16_t zoomNumerator_ = 1;
    int16_t zoomDenominator_ = 1;
    IntSize paper_{612, 792};
    IntRect printable_{31, 30, 583, 760};

    CPrintPreviewWnd* pane_ = nullptr;
    QToolButton* toggle_ = nullptr;
    QLabel* toggleLabel_ = nullptr;
    QToolButton* next_ = nullptr;
    QToolButton* previous_ = nullptr;
    QGroupBox* rangeGroup_ = nullptr;
    QLabel* fromLabel_ = nullptr;
    QLabel* toLabel_ = nullptr;
    QLabel* fromValue_ = nullptr;
    QLabel* toValue_ = nullptr;
    QGroupBox* pagesGroup_ = nullptr;
    QLabel* pageValue_ = nullptr;
    QLabel* pageCountValue_ = nullptr;
    // Hears the pictures drawn in the background (EpsPreviewCache).
    int32_t drawingsHeard_ = 0;
};

// The Print Preview command of a card document: the dialog over the
// document's pages, and the print job when it ends with "Print". The page
// shown before is shown again afterwards.
void RunPrintPreview(CLabelsDoc* document, QWidget* owner);
