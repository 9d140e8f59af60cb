// What the object and document dialogs share: the field bits of their
// selection-aware records, the units combo, three-state boxes, drawing a
// control through a Dc, and the sample panes.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

#include <QPalette>
#include <QWidget>

#include "foundation/int_geometry.h"
#include "platform/gdi_types.h"

class Dc;
class QCheckBox;
class QComboBox;
class QDialog;
class QFormLayout;
class QLayout;
class QPainter;
class QPushButton;

// Bits of a record's flag word: on entry the field has one value over the
// whole selection, on return the user set it. The same bit means the same
// attribute in every record.
enum : uint32_t {
    kFieldOriginAcross = 0x1,
    kFieldOriginDown = 0x2,
    kFieldHeight = 0x4,
    kFieldWidth = 0x8,
    kFieldBoxAngle = 0x10,
    kFieldLineWidth = 0x20,
    kFieldBorderStyle = 0x40,
    kFieldLeftSide = 0x80,
    kFieldBelow = 0x100,
    kFieldRightSide = 0x200,
    kFieldAbove = 0x400,
    kFieldLineColour = 0x800,
    kFieldLineShade = 0x1000,
    kFieldFillColour = 0x2000,
    kFieldFillShade = 0x4000,
    kFieldBackground = 0x8000,
    kFieldBorderPattern = 0x10000,
    kFieldFillPattern = 0x20000,
    kFieldVisible = 0x40000,
    kFieldOpaque = 0x40000,
    kFieldLocked = 0x80000,
    kFieldPrintable = 0x100000,
    kFieldUnitsChanged = 0x200000,
};

// The values of a three-state box as records carry them.
enum : int32_t {
    kBoxOff = 0,
    kBoxOn = 1,
    kBoxMixed = 2,
};

// The dialogs' modal run: 1 for OK, 2 for Cancel.
int32_t RunDialogModal(QDialog* dialog);

// A new control with its object name, the name tests and pictures find it
// by.
template <typename W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A button that Enter does not press (the default button keeps it).
QPushButton* PlainButton(const char* text, const char* name, QWidget* parent);
class QDialogButtonBox;
// The platform's OK and Cancel box, which accepts or rejects the dialog.
QDialogButtonBox* OkCancelBox(QDialog* dialog, Qt::Orientation orientation = Qt::Horizontal);
// OK and Cancel under a dialog's controls; OK is the default button.
QLayout* OkCancelRow(QDialog* dialog, QPushButton** ok = nullptr, QPushButton** cancel = nullptr);

class QGroupBox;
// A titled group box holding one control.
QGroupBox* GroupAround(const char* title, QWidget* content, QWidget* parent);
// A form of labelled rows, in order.
struct FormRow {
    const char* label;
    QWidget* field;
};
QFormLayout* FormRows(std::initializer_list<FormRow> rows);

// "Points", "Inches", "Centimeters", "Picas", in the units table's order.
void FillUnitsCombo(QComboBox* combo);
// Points per unit of a combo index (an index outside the table: points).
double PointsPerUnit(int32_t unit);

// A three-state box that turns as the desktop's do: off, on, mixed, off.
QCheckBox* TriStateBox(const char* text, QWidget* parent);
void SetBoxState(QCheckBox* box, int32_t value);
int32_t BoxState(const QCheckBox* box);
// A click on a box of a selection-aware record: the user set the field,
// unless the box was turned back to mixed.
void NoteBoxClick(const QCheckBox* box, uint32_t bit, uint32_t* flags);
// A box of a selection-aware record as the dialog opens: the record's
// value when the bit is among the fields known over the whole selection,
// else mixed.
void ShowBoxState(QCheckBox* box, int32_t value, uint32_t known, uint32_t bit);

// "0", "10", ... "100".
void FillShadeCombo(QComboBox* combo);
// "1", "2", "4", "8", "12", "20".
void FillLineWidthCombo(QComboBox* combo);
// An editable combo's number when it is known over the whole selection,
// else a blank edit; no list item is chosen either way.
void ShowComboNumber(QComboBox* combo, bool known, int32_t value);
// The leading number of a combo's text (0 when it has none) within 0-100.
int32_t PercentOfText(const QString& text);

// The colour a palette gives a widget, as a ColorRef.
ColorRef PaletteColour(const QWidget* widget, QPalette::ColorRole role,
                       QPalette::ColorGroup group = QPalette::Active);

// Draws through a Dc over an image of the rectangle's size (the rectangle
// at 0,0) and shows the image at the rectangle.
using DcDrawing = std::function<void(Dc* dc, const IntRect& rect)>;
void PaintWithDc(QPainter* painter, const QRect& rect, const DcDrawing& draw);
// The focus rectangle of a list or combo item: a dotted frame of inverted
// pixels.
void DrawFocusRect(Dc* dc, const IntRect& r);

// A sample pane: a child window in place of a dialog template's
// placeholder, drawn through a Dc and repainted at once after a change.
class SamplePane : public QWidget {
public:
    // The placeholder's size in dialog units; the pane is 2 pixels smaller
    // on every side.
    SamplePane(int32_t widthUnits, int32_t heightUnits, QWidget* parent);
    void Redraw() { repaint(); }

protected:
    virtual void Draw(Dc* dc, const IntRect& client) = 0;
    void paintEvent(QPaintEvent* event) override;
};

// Pixels of a dialog template's units (the dialog font's average width is
// four units across, its height eight units down).
int32_t DialogUnitsX(int32_t units);
int32_t DialogUnitsY(int32_t units);

class ColorTable;
// The table a record points to, or the sixteen defaults when it points to
// none.
const ColorTable& TableOrDefaults(const ColorTable* table);
// An entry's colour at a shade.
ColorRef Tint(const ColorTable& table, int32_t index, int32_t percent);
// Whether n names one of the fill patterns on offer.
bool IsFillPattern(int32_t n);

// An editable combo box whose edit takes only what fits a percentage or a
// line width, as typed (nothing is completed from the list).
QComboBox* NumberCombo(const char* name, QWidget* parent);

class QLineEdit;
// A dialog's integer field read on OK: the whole text must be an integer,
// within [minimum, maximum] when a range is given. Otherwise the user is
// told what the field takes, the field gets the focus with its text
// selected, and false keeps the dialog open.
bool ExchangeInt(QLineEdit* edit, int32_t* out);
bool ExchangeIntInRange(QLineEdit* edit, int32_t* out, int32_t minimum, int32_t maximum);
// The test ExchangeIntInRange makes, for fields that answer otherwise than
// with a message: the whole text an integer within [minimum, maximum].
bool ParseIntInRange(const QString& text, int32_t minimum, int32_t maximum, int32_t* out);
