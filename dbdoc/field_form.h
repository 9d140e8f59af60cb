// The layout of the 21 field edits that the data-entry form, the Find One
// dialog and the Default Data page share: the labels the user reads
// beside them and the six labels of the custom fields.
#pragma once

#include <cstdint>

#include "database/field_table.h"

class CFilteredEdit;
class QGridLayout;
class QLabel;
class QWidget;

// The control id of column 0's edit; column c has this + c. The edits
// report their changes and keys by it.
constexpr int32_t kFirstFieldControl = 1659;

// The data-entry form checks each field by its kind (states, ZIP codes,
// picture file names); the dialogs that only collect texts to look for or
// to start new records with take free text in every field.
enum class FieldEditKind { ByField, Text };

// The edit of a field column, limited to the field's length, with no owner.
CFilteredEdit* MakeFieldEdit(int32_t fieldId, FieldEditKind kind, QWidget* parent);

// Builds the form into parent: edits[column] and customLabels[0..5] are
// set. A label column on the left, the edits at their places on the right.
QGridLayout* BuildFieldForm(QWidget* parent, FieldEditKind kind, CFilteredEdit* edits[kEntryColumnCount],
                            QLabel* customLabels[6]);

// The custom field's name as its label shows it.
void SetCustomLabelText(QLabel* label, int32_t customIndex);
