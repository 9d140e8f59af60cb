#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "dialogs/find_replace_dialog.h"
#include "support/alert_capture.h"
#include "text/text_fixture.h"

namespace {

class FindDocument : public FindReplaceDocument {
public:
    TextContext* TextToolContext() override { return textTool ? ctx : nullptr; }
    TextContext* ctx = nullptr;
    bool textTool = true;
};

class FindReplaceDialogTest : public TextTest {
protected:
    void SetUp() override
    {
        TextTest::SetUp();
        frame = AddFrame(IntRect{0, 0, 600, 400});
        SetStory(frame, {"the cat and the hat", "then the end"});
        Flow(frame);
        ctx.SelectParagraph(0);
        ctx.SetCaretCharacter(0);
        document.ctx = &ctx;
    }
    void TearDown() override
    {
        delete document.findReplaceDialog;
        EXPECT_EQ(document.findReplaceDialog, nullptr);
    }
    CDlgFindReplace* Open(const FindSettings& settings = {})
    {
        CDlgFindReplace* d = ShowFindReplaceDialog(&document, settings);
        d->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(d));
        return d;
    }
    static void Type(QLineEdit* edit, const char* text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }

    FrameObjText* frame = nullptr;
    FindDocument document;
    AlertCapture alerts;
};

TEST_F(FindReplaceDialogTest, TheCommandShowsOneDialogAndSelectsItsFindText)
{
    FindSettings s;
    s.find = "hat";
    s.replace = "cap";
    s.ignoreCase = true;
    CDlgFindReplace* d = Open(s);
    EXPECT_EQ(document.findReplaceDialog, d);
    EXPECT_EQ(d->FindEdit()->text(), QStringLiteral("hat"));
    EXPECT_EQ(d->ReplaceEdit()->text(), QStringLiteral("cap"));
    EXPECT_FALSE(d->WholeWordBox()->isChecked());
    EXPECT_TRUE(d->IgnoreCaseBox()->isChecked());
    EXPECT_EQ(d->FindEdit()->selectedText(), QStringLiteral("hat"));

    d->FindEdit()->setCursorPosition(1);
    FindSettings other;
    other.find = "dog";
    EXPECT_EQ(ShowFindReplaceDialog(&document, other), d);
    EXPECT_EQ(d->FindEdit()->text(), QStringLiteral("hat"));
    EXPECT_EQ(d->FindEdit()->selectedText(), QStringLiteral("hat"));

    // Close destroys the dialog, which forgets itself in the document.
    QPointer<CDlgFindReplace> watch(d);
    QTest::mouseClick(d->CloseButton(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(document.findReplaceDialog, nullptr);
}

TEST_F(FindReplaceDialogTest, ButtonsFollowTheFindTextAndTheSelection)
{
    CDlgFindReplace* d = Open();
    EXPECT_FALSE(d->FindNextButton()->isEnabled());
    EXPECT_FALSE(d->ReplaceAllButton()->isEnabled());
    EXPECT_FALSE(d->ReplaceButton()->isEnabled());

    Type(d->FindEdit(), "the");
    EXPECT_TRUE(d->FindNextButton()->isEnabled());
    EXPECT_TRUE(d->ReplaceAllButton()->isEnabled());
    EXPECT_FALSE(d->ReplaceButton()->isEnabled());
    QTest::mouseClick(d->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(d->Selection()[0], 3);
    EXPECT_TRUE(d->ReplaceButton()->isEnabled());

    // One letter more and the selection is no longer the found text.
    QTest::keyClicks(d->FindEdit(), QStringLiteral("n"));
    EXPECT_FALSE(d->ReplaceButton()->isEnabled());
    EXPECT_FALSE(ctx.match.selected);
    QTest::keyClick(d->FindEdit(), Qt::Key_Backspace);
    EXPECT_TRUE(d->ReplaceButton()->isEnabled());
    EXPECT_TRUE(ctx.match.selected);

    // With no find text a selection still allows Replace.
    d->FindEdit()->clear();
    EXPECT_FALSE(d->FindNextButton()->isEnabled());
    EXPECT_TRUE(d->ReplaceButton()->isEnabled());
}

TEST_F(FindReplaceDialogTest, ReplaceAndReplaceAllChangeTheStory)
{
    CDlgFindReplace* d = Open();
    Type(d->FindEdit(), "the");
    Type(d->ReplaceEdit(), "a");
    QTest::mouseClick(d->FindNextButton(), Qt::LeftButton);
    QTest::mouseClick(d->ReplaceButton(), Qt::LeftButton);
    EXPECT_EQ(Paragraph(0), "a cat and the hat\r");
    // Replace went on to the next match.
    EXPECT_EQ(ctx.match.paragraph, 0);
    EXPECT_EQ(ctx.match.start, 10);

    // The whole-word switch clicked just before counts: "then" stays.
    QTest::mouseClick(d->WholeWordBox(), Qt::LeftButton);
    QTest::mouseClick(d->ReplaceAllButton(), Qt::LeftButton);
    EXPECT_EQ(Paragraph(0), "a cat and a hat\r");
    EXPECT_EQ(Paragraph(1), "then a end\r");
    EXPECT_EQ(alerts.lastText(), "2 instances changed !");
    EXPECT_TRUE(d->Settings().wholeWord);
    EXPECT_EQ(d->Settings().replace, "a");
}

TEST_F(FindReplaceDialogTest, WithoutTheTextToolTheButtonsOnlyKeepTheSettings)
{
    document.textTool = false;
    CDlgFindReplace* d = Open();
    Type(d->FindEdit(), "cat");
    Type(d->ReplaceEdit(), "dog");
    QTest::mouseClick(d->IgnoreCaseBox(), Qt::LeftButton);
    QTest::mouseClick(d->ReplaceAllButton(), Qt::LeftButton);
    QTest::mouseClick(d->FindNextButton(), Qt::LeftButton);
    EXPECT_EQ(Paragraph(0), "the cat and the hat\r");
    EXPECT_TRUE(alerts.boxes().empty());
    EXPECT_EQ(d->Settings().find, "cat");
    EXPECT_EQ(d->Settings().replace, "dog");
    EXPECT_TRUE(d->Settings().ignoreCase);
    EXPECT_EQ(d->Selection()[0], 0);

    // At most 255 characters are kept.
    d->FindEdit()->setText(QString(300, QChar(0xE9)));
    EXPECT_EQ(d->Settings().find, std::string(255, '\xE9'));
}

}  // namespace
