#include "wizard/label_type_fields.h"

#include <iterator>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "foundation/byte_order.h"
#include "foundation/units.h"

namespace {

struct FloatField {
    int32_t id;
    int32_t spinner;
    size_t offset;
    bool size;  // width and height: only above 0
    const char* label;
    int32_t x, y;
};

// In the order of the record's fields the edits show.
constexpr FloatField kFloats[6] = {
    {1002, 1011, kLabelTypeCardWidthOffset, true, "Width :", 6, 10},
    {1003, 1012, kLabelTypeCardHeightOffset, true, "Height :", 6, 26},
    {1000, 1013, 80, false, "Top :", 6, 58},
    {1001, 1014, 88, false, "Left :", 6, 74},
    {1006, 1016, 96, false, "Vertical :", 96, 58},
    {1005, 1015, 104, false, "Horizontal :", 96, 74},
};

struct IntField {
    int32_t id;
    int32_t spinner;
    size_t offset;
    const char* label;
    int32_t x, y;
};

constexpr IntField kInts[2] = {
    {1008, 1017, 112, "Across :", 6, 108},
    {1009, 1018, 114, "Down :", 96, 108},
};

constexpr size_t kUnitAt = 116;
constexpr size_t kCentringAt = 120;

// A spin button pair whose own position never moves: each press hands a
// step to the field beside it.
QWidget* MakeSpinner(const std::function<void(int32_t)>& step)
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* up = new QToolButton(box);
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(box);
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setAutoRepeat(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    QObject::connect(up, &QToolButton::clicked, box, [step] { step(1); });
    QObject::connect(down, &QToolButton::clicked, box, [step] { step(-1); });
    return box;
}

}  // namespace

CLabelTypeFields::CLabelTypeFields(uint8_t* record, const Placer& place, int32_t x, int32_t y,
                                   std::function<void()> changed)
    : record_(record), changed_(std::move(changed))
{
    const auto group = [&](const char* title, int32_t gx, int32_t gy, int32_t w, int32_t h) {
        place(new QGroupBox(QString::fromLatin1(title)), -1, x + gx, y + gy, w, h);
    };
    group("Dimensions", 0, 0, 178, 42);
    group("Margins", 0, 46, 88, 44);
    group("Spacing", 90, 46, 88, 44);
    group("Amount", 0, 94, 178, 30);
    const auto label = [&](const char* text, int32_t lx, int32_t ly, int32_t w) {
        place(new QLabel(QString::fromLatin1(text)), -1, x + lx, y + ly + 2, w, 8);
    };
    for (size_t i = 0; i < std::size(kFloats); ++i) {
        const FloatField& f = kFloats[i];
        const bool wide = f.size;
        // "Horizontal :" needs the room of the longest caption.
        label(f.label, f.x, f.y, wide ? 28 : 40);
        auto* edit = new CFloatEdit;
        edit->SetControlId(f.id);
        place(edit, f.id, x + f.x + (wide ? 30 : 42), y + f.y, wide ? 44 : 28, 12);
        QObject::connect(edit, &CFilteredEdit::EditChanged, edit, [this] { ReadEdits(); });
        floats_[i] = edit;
        spinners_[i] = MakeSpinner([this, id = f.id](int32_t delta) { Spin(id, delta); });
        place(spinners_[i], f.spinner, x + f.x + (wide ? 74 : 70), y + f.y, 9, 12);
    }
    for (size_t i = 0; i < std::size(kInts); ++i) {
        const IntField& f = kInts[i];
        label(f.label, f.x, f.y, 30);
        auto* edit = new CIntEdit;
        edit->SetControlId(f.id);
        place(edit, f.id, x + f.x + 34, y + f.y, 30, 12);
        QObject::connect(edit, &CFilteredEdit::EditChanged, edit, [this] { ReadEdits(); });
        ints_[i] = edit;
        spinners_[6 + i] = MakeSpinner([this, id = f.id](int32_t delta) { Spin(id, delta); });
        place(spinners_[6 + i], f.spinner, x + f.x + 64, y + f.y, 9, 12);
    }
    label("Units :", 98, 10, 30);
    units_ = new QComboBox;
    for (int32_t u = 0; u < kUnitCount; ++u)
        units_->addItem(QString::fromLatin1(UnitTable[u].shortName));
    place(units_, 1004, x + 128, y + 8, 44, 12);
    QObject::connect(units_, &QComboBox::activated, units_, [this](int index) { SetUnit(index); });
    centring_ = new QCheckBox(QStringLiteral("Centering"));
    place(centring_, 1604, x + 98, y + 26, 70, 10);
}

CFloatEdit* CLabelTypeFields::FloatEdit(int32_t id) const
{
    for (size_t i = 0; i < std::size(kFloats); ++i)
        if (kFloats[i].id == id)
            return floats_[i];
    return nullptr;
}

CIntEdit* CLabelTypeFields::IntEdit(int32_t id) const
{
    for (size_t i = 0; i < std::size(kInts); ++i)
        if (kInts[i].id == id)
            return ints_[i];
    return nullptr;
}

void CLabelTypeFields::ShowAll()
{
    const int32_t unit = GetI16LE(record_ + kUnitAt);
    factor_ = UnitEntryFor(unit).pointsPerUnit;
    units_->setCurrentIndex(unit >= 0 && unit < kUnitCount ? unit : 0);
    for (size_t i = 0; i < std::size(kFloats); ++i) {
        const FloatField& f = kFloats[i];
        const double points = GetF64LE(record_ + f.offset);
        const double low = f.size ? 0.01 : -10000.0;
        floats_[i]->Setup(points / factor_, low, 10000.0, 0.01, 10, 0.0, 0);
        floats_[i]->setModified(false);
    }
    for (size_t i = 0; i < std::size(kInts); ++i) {
        ints_[i]->Setup(GetI16LE(record_ + kInts[i].offset), 1, 100, 1, 5, 0, 0);
        ints_[i]->setModified(false);
    }
    centring_->setChecked(GetU32LE(record_ + kCentringAt) != 0);
}

void CLabelTypeFields::ReadEdits()
{
    for (size_t i = 0; i < std::size(kFloats); ++i) {
        if (!floats_[i]->isModified())
            continue;
        PutF64LE(record_ + kFloats[i].offset, floats_[i]->GetValue() * double(factor_));
        floats_[i]->setModified(false);
    }
    for (size_t i = 0; i < std::size(kInts); ++i) {
        if (!ints_[i]->isModified())
            continue;
        PutI16LE(record_ + kInts[i].offset, int16_t(ints_[i]->GetValue()));
        ints_[i]->setModified(false);
    }
    if (changed_)
        changed_();
}

void CLabelTypeFields::Spin(int32_t editId, int32_t delta)
{
    if (CFloatEdit* edit = FloatEdit(editId)) {
        edit->Step(delta);
        edit->setModified(true);
    } else if (CIntEdit* count = IntEdit(editId)) {
        if (!count->Step(delta))
            return;
        count->setModified(true);
    } else {
        return;
    }
    ReadEdits();
}

void CLabelTypeFields::SetUnit(int32_t unit)
{
    if (unit < 0 || unit >= kUnitCount || unit == GetI16LE(record_ + kUnitAt))
        return;
    PutI16LE(record_ + kUnitAt, int16_t(unit));
    ShowAll();
}

void CLabelTypeFields::EnableSize(bool on)
{
    for (size_t i = 0; i < 2; ++i) {
        floats_[i]->setEnabled(on);
        spinners_[i]->setEnabled(on);
    }
}

bool CLabelTypeFields::IsUsable(const uint8_t* record)
{
    return record[0] != 0 && GetF64LE(record + kLabelTypeCardWidthOffset) > 0 &&
           GetF64LE(record + kLabelTypeCardHeightOffset) > 0 && GetI16LE(record + 112) > 0 &&
           GetI16LE(record + 114) > 0;
}

SheetLabelLayout CLabelTypeFields::SheetLayout(const uint8_t* record)
{
    SheetLabelLayout l;
    l.cardWidth = GetF64LE(record + kLabelTypeCardWidthOffset);
    l.cardHeight = GetF64LE(record + kLabelTypeCardHeightOffset);
    l.topMargin = GetF64LE(record + 80);
    l.leftMargin = GetF64LE(record + 88);
    l.verticalGap = GetF64LE(record + 96);
    l.horizontalGap = GetF64LE(record + 104);
    // A layout no sheet can have shows no cards rather than looping over
    // millions of them.
    const int16_t columns = GetI16LE(record + 112);
    const int16_t rows = GetI16LE(record + 114);
    const bool sane = columns > 0 && rows > 0 && columns <= 100 && rows <= 100;
    l.columns = sane ? columns : 0;
    l.rows = sane ? rows : 0;
    l.centred = int32_t(GetU32LE(record + kCentringAt));
    return l;
}
