#include "dbdoc/field_form.h"

#include <QGridLayout>
#include <QLabel>

#include "dbdoc/field_edits.h"
#include "foundation/cp1252.h"

namespace {

// One line of the form: its label and the columns whose edits share it.
struct FormLine {
    const char* label;
    int32_t columns[3];
};

constexpr FormLine kLines[] = {
    {"Name", {0, 1, -1}},      {"Title", {2, -1, -1}},     {"Company", {3, -1, -1}},
    {"Address 1", {4, -1, -1}}, {"Address 2", {5, -1, -1}}, {"Ci, St, ZIP", {6, 7, 8}},
    {"Country", {9, -1, -1}},  {"Fax", {10, -1, -1}},      {"Phone 1-2", {11, 12, -1}},
    {"E-Mail", {13, -1, -1}},  {"Picture", {14, -1, -1}},
};
constexpr int32_t kFirstCustomColumn = 15;
// Grid columns the edits span: a full line takes all six.
constexpr int32_t kGridColumns = 6;

}  // namespace

CFilteredEdit* MakeFieldEdit(int32_t fieldId, FieldEditKind kind, QWidget* parent)
{
    CFilteredEdit* edit = nullptr;
    if (kind == FieldEditKind::Text)
        edit = new CTextEdit(parent);
    else if (fieldId == kFieldState)
        edit = new CStateEdit(parent);
    else if (fieldId == kFieldZipCode)
        edit = new CZipEdit(parent);
    else if (fieldId == kFieldPicture)
        edit = new CPictureEdit(parent);
    else
        edit = new CTextEdit(parent);
    edit->Setup(QString(), int32_t(FieldMaxLength(fieldId)), QString(), 0, nullptr);
    return edit;
}

void SetCustomLabelText(QLabel* label, int32_t customIndex)
{
    char name[kFieldTypeNameSize] = {};
    FieldTypeName(kFieldCustom1 + customIndex, name, true, false);
    const QString text = Cp1252ToQString(name);
    if (label->text() != text)
        label->setText(text);
}

QGridLayout* BuildFieldForm(QWidget* parent, FieldEditKind kind, CFilteredEdit* edits[kEntryColumnCount],
                            QLabel* customLabels[6])
{
    auto* grid = new QGridLayout(parent);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    int32_t row = 0;
    for (const FormLine& line : kLines) {
        grid->addWidget(new QLabel(line.label, parent), row, 0);
        int32_t used = 0;
        for (int32_t c : line.columns)
            used += c >= 0;
        int32_t at = 1;
        for (int32_t i = 0; i < used; ++i) {
            const int32_t column = line.columns[i];
            CFilteredEdit* edit = MakeFieldEdit(FieldIdByIndex(column), kind, parent);
            edit->setObjectName(QString("field%1").arg(column));
            edit->SetControlId(kFirstFieldControl + column);
            // The state takes a narrow slot, the other parts share the rest.
            const int32_t span = used == 1 ? kGridColumns : used == 2 ? kGridColumns / 2 : (i == 1 ? 1 : 2 + (i == 0));
            grid->addWidget(edit, row, at, 1, span);
            at += span;
            edits[column] = edit;
        }
        ++row;
    }
    for (int32_t i = 0; i < 6; ++i) {
        auto* label = new QLabel(parent);
        SetCustomLabelText(label, i);
        customLabels[i] = label;
        grid->addWidget(label, row, 0);
        CFilteredEdit* edit = MakeFieldEdit(kFieldCustom1 + i, kind, parent);
        edit->setObjectName(QString("field%1").arg(kFirstCustomColumn + i));
        edit->SetControlId(kFirstFieldControl + kFirstCustomColumn + i);
        grid->addWidget(edit, row, 1, 1, kGridColumns);
        edits[kFirstCustomColumn + i] = edit;
        ++row;
    }
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(4, 1);
    return grid;
}
