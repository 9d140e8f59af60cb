#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWidget>

#include <fstream>

#include "dbdoc/field_edits.h"
#include "dialogs/numeric_edit.h"
#include "foundation/dates.h"
#include "support/alert_capture.h"
#include "support/modal_answer.h"
#include "support/temp_dir.h"
#include "tests/dialogs/dialog_test_util.h"

namespace {

// A window holding edits side by side, shown and active so that focus
// moves between them as it does in a dialog.
struct Host {
    Host()
    {
        window.setLayout(new QVBoxLayout);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
    }
    template <typename E>
    E* Add()
    {
        auto* e = new E(&window);
        window.layout()->addWidget(e);
        e->show();
        return e;
    }
    QWidget window;
};

TEST(FilteredEditTest, FloatRuleTakesOneSignAtTheStartAndRefusesTwoMarksWhole)
{
    AlertCapture alerts;
    Host host;
    auto* e = host.Add<CFloatEdit>();
    e->Setup(0.0, -50.0, 50.0, 1.0, 10, 0.0, 0);
    TypeInto(e, "-1.5-x");
    EXPECT_EQ(e->text(), "-1.5");
    EXPECT_EQ(alerts.beeps().size(), 2u);  // the second sign, the letter

    // Replacing a selection that holds the sign may bring a new one.
    e->setSelection(0, 1);
    QTest::keyClicks(e, "+");
    EXPECT_EQ(e->text(), "+1.5");

    // The comma is a decimal mark as the point is, on every desktop. A
    // second mark stays as typed and the number is refused whole, with a
    // word, never read as another number: the box keeps what it held.
    e->SetValue(2.5, 0.0, false, 0, true);
    e->selectAll();
    TypeInto(e, "1,2.5");
    EXPECT_EQ(e->text(), "1,2.5");
    EXPECT_DOUBLE_EQ(e->GetValue(), 2.5);
    EXPECT_TRUE(e->Validate());
    EXPECT_EQ(e->text(), "2.50");
    EXPECT_FALSE(e->isModified());
    EXPECT_EQ(alerts.lastText(), "\"1,2.5\" was not taken: a number has one decimal mark, a point or a comma, and no "
                                 "thousands mark. The box keeps 2.50.");
    e->selectAll();
    TypeInto(e, "3,25");
    EXPECT_DOUBLE_EQ(e->GetValue(), 3.25);

    // Back in the box, what it took last is what comes back; Enter on two
    // marks goes no further than the box.
    EXPECT_TRUE(e->Validate());
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(e, &in);
    int returns = 0;
    QObject::connect(e, &QLineEdit::returnPressed, [&returns] { ++returns; });
    e->selectAll();
    TypeInto(e, "1.2,3");
    QTest::keyClick(e, Qt::Key_Return);
    EXPECT_EQ(returns, 0);
    EXPECT_EQ(e->text(), "3,25");
    EXPECT_EQ(e->selectedText(), "3,25");
    EXPECT_EQ(alerts.lastText(), "\"1.2,3\" was not taken: a number has one decimal mark, a point or a comma, and no "
                                 "thousands mark. The box keeps 3,25.");

    // A step of the arrows is the user's value: a refusal after it keeps it
    // as set, for the dialog to read.
    e->setModified(false);
    e->Step(1);
    e->selectAll();
    TypeInto(e, "7,,1");
    EXPECT_TRUE(e->Validate());
    EXPECT_EQ(e->text(), "4.25");
    EXPECT_TRUE(e->isModified());
}

TEST(FilteredEditTest, IntRuleAndLimitAndUnfilteredCharacters)
{
    AlertCapture alerts;
    Host host;
    auto* e = host.Add<CIntEdit>();
    e->Setup(5, 1, 100, 1, 4, 0, 0);
    e->setCursorPosition(0);
    QTest::keyClicks(e, "-");
    EXPECT_EQ(e->text(), "-5");
    e->setCursorPosition(0);
    QTest::keyClicks(e, "+");  // a sign is there already
    e->end(false);
    QTest::keyClicks(e, "-");  // never past the start
    EXPECT_EQ(e->text(), "-5");
    EXPECT_EQ(alerts.beeps().size(), 2u);

    QTest::keyClicks(e, "123");  // the fourth character is the limit
    EXPECT_EQ(e->text(), "-512");
    EXPECT_EQ(alerts.beeps().size(), 2u);  // dropped without a sound

    e->setText("1");
    QTest::keyClicks(e, "~");  // the tilde passes the rules
    EXPECT_EQ(e->text(), "1~");

    // A decimal mark in a whole number is refused with a word, so that
    // "1,25" typed on is not silently 125.
    e->setText(QString());
    QTest::keyClicks(e, ",");
    EXPECT_TRUE(e->text().isEmpty());
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains("whole numbers")) << QToolTip::text().toStdString();
}

TEST(FilteredEditTest, EveryTypedCharacterAndDeleteIsReported)
{
    Host host;
    auto* e = host.Add<CIntEdit>();
    e->SetControlId(1132);
    e->Setup(1, 1, 100, 1, 10, 0, 0);
    QSignalSpy spy(e, &CFilteredEdit::EditChanged);
    e->end(false);
    QTest::keyClicks(e, "23");
    QTest::keyClick(e, Qt::Key_Home);
    QTest::keyClick(e, Qt::Key_Delete);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1132);
    EXPECT_EQ(e->text(), "23");
    EXPECT_EQ(e->Value(), 23);  // the reported value is stored
}

TEST(FilteredEditTest, ChecksClampToTheRangeWhenTheFocusLeaves)
{
    Host host;
    auto* f = host.Add<CFloatEdit>();
    auto* other = host.Add<QLineEdit>();
    f->Setup(5.0, 1.0, 100.0, 1.0, 10, 0.0, 0);
    TypeInto(f, "250");
    EXPECT_DOUBLE_EQ(f->GetValue(), 100.0);  // reading clamps, the text stays
    EXPECT_EQ(f->text(), "250");
    other->setFocus();
    EXPECT_EQ(f->text(), "100.00");
    TypeInto(f, "");
    other->setFocus();
    EXPECT_EQ(f->text(), "1.00");

    auto* i = host.Add<CIntEdit>();
    i->Setup(5, 1, 10, 1, 10, 0, 0);
    TypeInto(i, "77");
    EXPECT_EQ(i->GetValue(), 77);  // integers are read as typed
    other->setFocus();
    EXPECT_EQ(i->text(), "10");
}

TEST(FilteredEditTest, StepsStayInTheRange)
{
    Host host;
    auto* i = host.Add<CIntEdit>();
    i->Setup(99, 1, 100, 1, 10, 0, 0);
    EXPECT_TRUE(i->Step(1));
    EXPECT_EQ(i->text(), "100");
    EXPECT_TRUE(i->isModified());
    EXPECT_FALSE(i->Step(1));
    EXPECT_EQ(i->Value(), 100);

    auto* f = host.Add<CFloatEdit>();
    f->Setup(99.5, 1.0, 100.0, 1.0, 10, 0.0, 0);
    EXPECT_TRUE(f->Step(1));
    EXPECT_EQ(f->text(), "100.00");
    f->setModified(false);
    EXPECT_TRUE(f->Step(1));
    EXPECT_FALSE(f->isModified());
    EXPECT_TRUE(f->Step(-2));
    EXPECT_EQ(f->text(), "98.00");
}

TEST(FilteredEditTest, PasteGoesInWholeOrNotAtAll)
{
    AlertCapture alerts;
    Host host;
    auto* e = host.Add<CIntEdit>();
    e->Setup(1, 1, 100000, 1, 6, 0, 0);
    e->end(false);
    QApplication::clipboard()->setText("23x4");
    e->Paste();
    EXPECT_EQ(e->text(), "1");
    QApplication::clipboard()->setText("234");
    QTest::keySequence(e, QKeySequence::Paste);
    EXPECT_EQ(e->text(), "1234");
    e->Paste();  // would pass the limit of six
    EXPECT_EQ(e->text(), "1234");
    EXPECT_TRUE(alerts.beeps().empty());
}

TEST(FilteredEditTest, DateSeparatorsGoInAsDigitsAreTyped)
{
    AlertCapture alerts;
    Host host;
    auto* d = host.Add<CDateEdit>();
    TypeInto(d, "123");
    EXPECT_EQ(d->text(), "12/3");
    QTest::keyClicks(d, "45");
    EXPECT_EQ(d->text(), "12/34/5");
    QTest::keyClicks(d, "-");  // two separators are enough
    EXPECT_EQ(d->text(), "12/34/5");
    TypeInto(d, "1-234");
    EXPECT_EQ(d->text(), "1-23-4");

    // An input method's text follows the same rule, character by character.
    d->clear();
    for (const char* text : {"ab*c", "1a2*345"}) {
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromLatin1(text));
        QApplication::sendEvent(d, &commit);
    }
    EXPECT_EQ(d->text(), "12/34/5");
}

TEST(FilteredEditTest, DateCheckCompletesOrHoldsTheKeyboardFocus)
{
    AlertCapture alerts;
    const CalendarDate today{7, 12, 2026};
    SetTodayOverride(&today);
    TestOwner owner;
    Host host;
    auto* d = host.Add<CDateEdit>();
    auto* next = host.Add<CTextEdit>();
    d->Setup("", 10, "", 0, &owner);
    d->setFocus();
    QApplication::processEvents();

    TypeInto(d, "3/4/26");
    next->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(d->text(), "03/04/2026");
    d->setFocus(Qt::TabFocusReason);
    TypeInto(d, "5");  // the typed groups lie over today from the right
    next->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(d->text(), "12/07/2025");
    EXPECT_TRUE(alerts.boxes().empty());

    d->setFocus(Qt::TabFocusReason);
    TypeInto(d, "13/45/2005");
    next->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(), "Invalid Date.");
    EXPECT_EQ(QApplication::focusWidget(), d);

    // A click elsewhere shows the message and lets the focus go.
    next->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(alerts.boxes().size(), 2u);
    EXPECT_EQ(QApplication::focusWidget(), next);

    // International order reads day first; while the document fills its
    // views nothing is checked.
    owner.domestic = false;
    d->setText("13/04/2026");
    EXPECT_TRUE(d->Validate());
    owner.refresh = false;
    d->setText("99/99/9999");
    EXPECT_TRUE(d->Validate());
    SetTodayOverride(nullptr);
}

TEST(FilteredEditTest, ZipAndStateFollowTheVerificationSetting)
{
    AlertCapture alerts;
    TestOwner owner;
    Host host;
    auto* zip = host.Add<CZipEdit>();
    zip->Setup("", 20, "", 0, &owner);
    TypeInto(zip, "123456789");
    EXPECT_EQ(zip->text(), "12345-6789");
    QTest::keyClicks(zip, "a");
    EXPECT_EQ(zip->text(), "12345-6789");
    TypeInto(zip, "1234");
    EXPECT_TRUE(zip->Validate());
    EXPECT_EQ(alerts.lastText(), "Zip-code must be 5, 9 or 11 digits.");

    auto* state = host.Add<CStateEdit>();
    state->Setup("", 2, "", 0, &owner);
    TypeInto(state, "ny");
    EXPECT_EQ(state->text(), "NY");
    alerts.clear();
    EXPECT_TRUE(state->Validate());
    EXPECT_TRUE(alerts.boxes().empty());
    TypeInto(state, "xx");
    state->Validate();
    EXPECT_EQ(alerts.lastText(), "Incorrect State Abbreviations.");

    owner.domestic = false;
    alerts.clear();
    TypeInto(zip, "SW1A 1AA");
    EXPECT_EQ(zip->text(), "SW1A 1AA");
    zip->Validate();
    TypeInto(state, "on");
    EXPECT_EQ(state->text(), "on");
    state->Validate();
    EXPECT_TRUE(alerts.boxes().empty());
    EXPECT_FALSE(owner.changed.empty());
}

TEST(FilteredEditTest, PictureNamesAreCheckedAgainstTheDisk)
{
    AlertCapture alerts;
    TempDir dir;
    TestOwner owner;
    Host host;
    auto* p = host.Add<CPictureEdit>();
    p->Setup("", 255, "", 0, &owner);
    TypeInto(p, "a*b?c");
    EXPECT_EQ(p->text(), "abc");

    const std::string file = dir.file("photo.bmp");
    std::ofstream(file) << "x";
    p->setText(QString::fromStdString(file) + "  ");
    EXPECT_TRUE(p->Validate());
    EXPECT_TRUE(alerts.boxes().empty());
    p->setText(QString::fromStdString(dir.file("missing.bmp")));
    EXPECT_TRUE(p->Validate());
    EXPECT_EQ(alerts.lastText(), "Invalid picture file path ");

    GraphicsFileChooser previous = SetGraphicsFileChooser([&](QWidget*, std::string* path) {
        *path = file;
        return true;
    });
    p->ImportGraphics();
    EXPECT_EQ(p->text().toStdString(), file);
    SetGraphicsFileChooser([](QWidget*, std::string*) { return false; });
    p->ImportGraphics();
    EXPECT_EQ(p->text().toStdString(), file);

    // Chosen in the program's picture dialog, the path keeps this system's
    // separators.
    SetGraphicsFileChooser(nullptr);
    p->setText(QString());
    ModalAnswer answer([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr) << dialog->metaObject()->className();
        AnswerFileDialog(files, QString::fromStdString(file));
    });
    p->ImportGraphics();
    EXPECT_EQ(p->text().toStdString(), file);
    SetGraphicsFileChooser(previous);
}

TEST(FilteredEditTest, DataEntryModeTurnsNavigationKeysIntoReports)
{
    Host host;
    auto* e = host.Add<CTextEdit>();
    e->SetControlId(7);
    e->SetDataEntryMode(true);
    e->setFocus();
    QSignalSpy tabs(e, &CFilteredEdit::TabKey);
    QSignalSpy keys(e, &CFilteredEdit::NavigationKey);
    QTest::keyClick(e, Qt::Key_Tab);
    QTest::keyClick(e, Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(e, Qt::Key_Down);
    QTest::keyClick(e, Qt::Key_Return);
    QTest::keyClick(e, Qt::Key_BracketLeft, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_BraceRight, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_FALSE(tabs.at(0).at(1).toBool());
    EXPECT_TRUE(tabs.at(1).at(1).toBool());
    ASSERT_EQ(keys.count(), 4);
    EXPECT_EQ(keys.at(0).at(0).toInt(), 40);
    EXPECT_EQ(keys.at(1).at(0).toInt(), 13);
    EXPECT_EQ(keys.at(2).at(0).toInt(), 91);
    EXPECT_EQ(keys.at(3).at(0).toInt(), 125);
    EXPECT_EQ(QApplication::focusWidget(), e);
    EXPECT_TRUE(IsFilteredEditWindow(e));
    EXPECT_FALSE(IsFilteredEditWindow(&host.window));
}

TEST(FilteredEditTest, LeadingNumbersOfTexts)
{
    EXPECT_DOUBLE_EQ(LeadingDecimal("12.5cm"), 12.5);
    EXPECT_DOUBLE_EQ(LeadingDecimal("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(LeadingDecimal("1,5 in"), 1.5);
    EXPECT_DOUBLE_EQ(LeadingDecimal("1.000,5"), 1.0);  // no thousands marks
    EXPECT_DOUBLE_EQ(LeadingDecimal("abc"), 0.0);
    EXPECT_DOUBLE_EQ(LeadingDecimal("+"), 0.0);
    EXPECT_EQ(LeadingInteger("42 pt"), 42);
    EXPECT_EQ(LeadingInteger("-99999999999"), INT32_MIN);
    EXPECT_EQ(LeadingInteger(""), 0);
}

}  // namespace
