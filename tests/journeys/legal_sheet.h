// The Legal 3x14 sheet typed into File > Document Setup..., in inches as
// sold: 2.625 x 1 in labels, three across from 3/16 in with 1/8 in
// between, fourteen down from the top, on the paper named, upright.
#pragma once

#include <functional>
#include <utility>

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "dialogs/label_type_dlg.h"
#include "dialogs/label_type_list.h"

// The driver of the Document Settings dialog that types the sheet and
// presses OK.
inline std::function<void(QWidget*)> TypeTheLegalSheetInto(const QString& paper)
{
    return [paper](QWidget* dialog) {
        auto* settings = dynamic_cast<CDlgLabelType*>(dialog);
        if (!settings) {
            ADD_FAILURE() << dialog->metaObject()->className();
            if (auto* other = qobject_cast<QDialog*>(dialog))
                other->reject();
            return;
        }
        settings->FormatCombo()->setEditText(QStringLiteral("Legal 3x14"));
        settings->UnitsCombo()->setCurrentIndex(1);  // Inch
        const std::pair<QAbstractSpinBox*, const char*> typed[] = {
            {settings->WidthEdit(), "2.625"},      {settings->HeightEdit(), "1"},
            {settings->TopEdit(), "0"},            {settings->LeftEdit(), "0.1875"},
            {settings->HorizontalEdit(), "0.125"}, {settings->VerticalEdit(), "0"},
            {settings->AcrossEdit(), "3"},         {settings->DownEdit(), "14"},
        };
        for (const auto& [edit, text] : typed) {
            QLineEdit* line = edit->findChild<QLineEdit*>();
            line->selectAll();
            QTest::keyClicks(line, QString::fromLatin1(text));
            QTest::keyClick(line, Qt::Key_Tab);
        }
        settings->PaperCombo()->setCurrentIndex(settings->PaperCombo()->findText(paper, Qt::MatchStartsWith));
        settings->OrientationButton(1)->click();
        settings->accept();
    };
}
