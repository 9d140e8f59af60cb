#include "dialogs/object_dialog_kit.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/filtered_edit.h"
#include "foundation/alert_sink.h"
#include "foundation/cp1252.h"
#include "foundation/units.h"
#include "graphics/fill_patterns.h"
#include "platform/dc.h"
#include "typography/color_table.h"

int32_t RunDialogModal(QDialog* dialog) { return dialog->exec() == QDialog::Accepted ? 1 : 2; }

QPushButton* PlainButton(const char* text, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QDialogButtonBox* OkCancelBox(QDialog* dialog, Qt::Orientation orientation)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, orientation, dialog);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

QLayout* OkCancelRow(QDialog* dialog, QPushButton** okOut, QPushButton** cancelOut)
{
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = PlainButton("Cancel", "cancel", dialog);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    if (okOut)
        *okOut = ok;
    if (cancelOut)
        *cancelOut = cancel;
    return row;
}

QGroupBox* GroupAround(const char* title, QWidget* content, QWidget* parent)
{
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    (new QVBoxLayout(group))->addWidget(content);
    return group;
}

QFormLayout* FormRows(std::initializer_list<FormRow> rows)
{
    auto* form = new QFormLayout;
    for (const FormRow& row : rows)
        form->addRow(QString::fromLatin1(row.label), row.field);
    return form;
}

void FillUnitsCombo(QComboBox* combo)
{
    for (int32_t i = 0; i < kUnitCount; ++i)
        combo->addItem(Cp1252ToQString(UnitTable[i].longName));
}

double PointsPerUnit(int32_t unit) { return UnitFactorPoints(unit); }

namespace {

class WinTriStateBox : public QCheckBox {
public:
    WinTriStateBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) { setTristate(true); }

protected:
    void nextCheckState() override
    {
        switch (checkState()) {
        case Qt::Unchecked: setCheckState(Qt::Checked); break;
        case Qt::Checked: setCheckState(Qt::PartiallyChecked); break;
        default: setCheckState(Qt::Unchecked); break;
        }
    }
};

}  // namespace

QCheckBox* TriStateBox(const char* text, QWidget* parent) { return new WinTriStateBox(QString::fromLatin1(text), parent); }

void NoteBoxClick(const QCheckBox* box, uint32_t bit, uint32_t* flags)
{
    *flags |= bit;
    if (box->checkState() == Qt::PartiallyChecked)
        *flags &= ~bit;
}

void SetBoxState(QCheckBox* box, int32_t value)
{
    box->setCheckState(value == kBoxMixed ? Qt::PartiallyChecked : value > 0 ? Qt::Checked : Qt::Unchecked);
}

void ShowBoxState(QCheckBox* box, int32_t value, uint32_t known, uint32_t bit)
{
    SetBoxState(box, known & bit ? value : kBoxMixed);
}

int32_t BoxState(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked: return kBoxOn;
    case Qt::PartiallyChecked: return kBoxMixed;
    default: return kBoxOff;
    }
}

void FillShadeCombo(QComboBox* combo)
{
    for (int i = 0; i <= 100; i += 10)
        combo->addItem(QString::number(i));
}

void FillLineWidthCombo(QComboBox* combo)
{
    for (int w : {1, 2, 4, 8, 12, 20})
        combo->addItem(QString::number(w));
}

void ShowComboNumber(QComboBox* combo, bool known, int32_t value)
{
    combo->setCurrentIndex(-1);
    combo->setEditText(known ? QString::number(value) : QString());
}

int32_t PercentOfText(const QString& text) { return std::clamp(LeadingInteger(text), 0, 100); }

ColorRef PaletteColour(const QWidget* widget, QPalette::ColorRole role, QPalette::ColorGroup group)
{
    return FromQColor(widget->palette().color(group, role));
}

void PaintWithDc(QPainter* painter, const QRect& rect, const DcDrawing& draw)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    QImage surface(rect.size(), QImage::Format_RGB32);
    surface.fill(Qt::white);
    {
        std::unique_ptr<Dc> dc = Dc::ForImage(&surface);
        draw(dc.get(), IntRect{0, 0, rect.width(), rect.height()});
    }
    painter->drawImage(rect.topLeft(), surface);
}

void DrawFocusRect(Dc* dc, const IntRect& r)
{
    const auto invert = [dc](int32_t x, int32_t y) { dc->setPixel(x, y, dc->getPixel(x, y) ^ 0xFFFFFF); };
    for (int32_t x = r.left; x < r.right; x += 2) {
        invert(x, r.top);
        invert(x, r.bottom - 1);
    }
    for (int32_t y = r.top + 2; y < r.bottom - 1; y += 2) {
        invert(r.left, y);
        invert(r.right - 1, y);
    }
}

int32_t DialogUnitsX(int32_t units) { return units * 3 / 2; }
int32_t DialogUnitsY(int32_t units) { return units * 13 / 8; }

SamplePane::SamplePane(int32_t widthUnits, int32_t heightUnits, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("samplePane"));
    setFixedSize(std::max(1, DialogUnitsX(widthUnits) - 4), std::max(1, DialogUnitsY(heightUnits) - 4));
}

void SamplePane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintWithDc(&painter, rect(), [this](Dc* dc, const IntRect& client) { Draw(dc, client); });
}

const ColorTable& TableOrDefaults(const ColorTable* table)
{
    static const ColorTable defaults;
    return table ? *table : defaults;
}

ColorRef Tint(const ColorTable& table, int32_t index, int32_t percent)
{
    ColorRef c = 0;
    table.GetTint(&c, index, percent);
    return c;
}

bool IsFillPattern(int32_t n) { return n >= 0 && n < GetFillPatternCount(); }

QComboBox* NumberCombo(const char* name, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // A number is taken as typed: completing "7" to "72" from the list
    // would apply a number nobody asked for.
    combo->setCompleter(nullptr);
    combo->lineEdit()->setMaxLength(5);
    return combo;
}

namespace {

bool ParseWholeInt(const QString& text, int32_t* out)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < INT32_MIN || v > INT32_MAX)
        return false;
    *out = int32_t(v);
    return true;
}

bool Refuse(QLineEdit* edit, const std::string& message)
{
    ShowMessageBox(message, kMbOk | kMbIconExclamation);
    edit->setFocus();
    edit->selectAll();
    return false;
}

}  // namespace

bool ExchangeInt(QLineEdit* edit, int32_t* out)
{
    if (!ParseWholeInt(edit->text(), out))
        return Refuse(edit, "Please enter an integer.");
    return true;
}

bool ParseIntInRange(const QString& text, int32_t minimum, int32_t maximum, int32_t* out)
{
    int32_t v = 0;
    if (!ParseWholeInt(text, &v) || v < minimum || v > maximum)
        return false;
    *out = v;
    return true;
}

bool ExchangeIntInRange(QLineEdit* edit, int32_t* out, int32_t minimum, int32_t maximum)
{
    if (!ParseIntInRange(edit->text(), minimum, maximum, out))
        return Refuse(edit, "Please enter an integer between " + std::to_string(minimum) + " and " +
                                std::to_string(maximum) + ".");
    return true;
}
