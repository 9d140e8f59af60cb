// Every text of every wizard page shows whole at the default font: labels
// hold their wrapped lines, buttons and boxes their captions, and nothing
// reaches past its page.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "wizard/category_tree_ctrl.h"
#include "wizard/pg_wiz_1.h"
#include "wizard/pg_wiz_2.h"
#include "wizard_sheet_fixture.h"

namespace {

class WizardPageLayoutTest : public StarterCatalogue {
protected:
    // What of the page's texts does not fit, one line each.
    static std::vector<std::string> Clipped(CPgWiz* page)
    {
        std::vector<std::string> clipped;
        const QRect inside = page->rect();
        for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QRect r = child->geometry();
            QString text;
            bool fits = true;
            if (auto* label = qobject_cast<QLabel*>(child); label && !label->text().isEmpty()) {
                text = label->text();
                const QSize needed = label->wordWrap() ? QSize(0, label->heightForWidth(r.width()))
                                                       : label->sizeHint();
                fits = needed.width() <= r.width() && needed.height() <= r.height();
            } else if (auto* button = qobject_cast<QAbstractButton*>(child); button && !button->text().isEmpty()) {
                // The caption within the part of the button the style
                // draws it in.
                text = button->text();
                QStyleOptionButton option;
                option.initFrom(button);
                option.text = text;
                QStyle::SubElement contents = QStyle::SE_PushButtonContents;
                if (qobject_cast<QCheckBox*>(button))
                    contents = QStyle::SE_CheckBoxContents;
                else if (qobject_cast<QRadioButton*>(button))
                    contents = QStyle::SE_RadioButtonContents;
                const QRect room = button->style()->subElementRect(contents, &option, button);
                // A push button's caption keeps some air from its frame.
                const int air = contents == QStyle::SE_PushButtonContents ? 6 : 0;
                const QFontMetrics metrics(button->font());
                fits = metrics.horizontalAdvance(QString(text).remove('&')) + air <= room.width() &&
                       metrics.height() <= room.height();
            } else {
                continue;
            }
            if (!inside.contains(r))
                fits = false;
            if (!fits)
                clipped.push_back(page->objectName().toStdString() + ": \"" + text.toStdString() + "\"");
        }
        return clipped;
    }
};

TEST_F(WizardPageLayoutTest, EveryTextOfEveryPageShowsWhole)
{
    // The category route passes five pages, the custom route the other two.
    std::vector<std::string> clipped;
    for (const char* category : {"Business Cards", "Custom Document"}) {
        CDlgWizard sheet("Wizard", nullptr);
        sheet.Init(GetWizardTree(), 1, nullptr);
        sheet.show();
        Settle();
        Select(static_cast<CPgWiz_1*>(sheet.Page(kPageDocumentType))->Tree(), category);
        for (int step = 0; step < 6; ++step) {
            CPgWiz* page = sheet.ActivePage();
            ASSERT_NE(page, nullptr);
            for (const std::string& c : Clipped(page))
                clipped.push_back(c);
            if (sheet.ActiveIndex() == kPageBackdrop) {
                auto* list = static_cast<CPgWiz_2*>(page)->Tree();
                list->setCurrentItem(list->topLevelItem(1));
                Settle();
            }
            if (sheet.ActiveIndex() == kPageFinish)
                break;
            Next(sheet);
        }
    }
    std::sort(clipped.begin(), clipped.end());
    clipped.erase(std::unique(clipped.begin(), clipped.end()), clipped.end());
    EXPECT_TRUE(clipped.empty()) << ::testing::PrintToString(clipped);
}

}  // namespace
