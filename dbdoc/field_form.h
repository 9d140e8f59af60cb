// The layout of the 21 field edits that the data-entry form, the Find One
// dialog and the Default Data page share: the labels the user reads
// beside them and the six labels of the custom fields.
#pragma once

#include <cstdint>

#include "database/field_table.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

// The edit of a field column. The data-entry form's own edits with their
// character rules take its place once they are at hand.
QLineEdit* MakeFieldEdit(int32_t fieldId, QWidget* parent);

// Builds the form into parent: edits[column] and customLabels[0..5] are
// set. A label column on the left, the edits at their places on the right.
QGridLayout* BuildFieldForm(QWidget* parent, QLineEdit* edits[kEntryColumnCount], QLabel* customLabels[6]);

// The custom field's name as its label shows it.
void SetCustomLabelText(QLabel* label, int32_t customIndex);
