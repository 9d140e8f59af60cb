#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstring>

#include "foundation/program_folder.h"
#include "frames/style_runs.h"
#include "spell_word.h"
#include "support/alert_capture.h"
#include "support/shell.h"
#include "text/spell_checker.h"
#include "text/spell_dictionary.h"
#include "text/spelling_dialog.h"
#include "text_fixture.h"

namespace {

std::string Text(const uint8_t* pstr) { return std::string(reinterpret_cast<const char*>(pstr + 1), pstr[0]); }

class SpellCheckerTest : public TextTest {
protected:
    void SetUp() override
    {
        TextTest::SetUp();
        SetProgramFolderForTesting(dir.file("program"));
        path = dir.file("words.dic");
        PathRecord record;
        ASSERT_EQ(PathRecordFromPosix(path, &record), 0);
        SetDictionaryPath(&record);
        WriteFileBytes(path, "");
        ASSERT_EQ(OpenDictionary(1, 1), 1);
        for (const char* w : {"cat", "catalog", "cats", "dog", "etc.", "mat", "on", "sat", "the", "a"})
            ASSERT_EQ(AddWord(Word(w).p), 0) << w;
        ASSERT_EQ(CloseDictionary(1), 0);
        SetSpellingDialogRunner([this](SpellingDialog& dialog) {
            ++dialogs;
            dialog.show();
            drive(dialog);
            return dialog.result();
        });
    }
    void TearDown() override
    {
        SetSpellingDialogRunner(nullptr);
        CloseDictionary(0);
        SetProgramFolderForTesting("");
    }
    void Story(const std::vector<std::string>& paragraphs, uint16_t caret = 0)
    {
        FlowStory(paragraphs, IntRect{0, 0, 600, 400});
        ctx.SelectParagraph(0);
        ctx.SetCaretCharacter(caret);
    }
    // The words a check shows, one after the other.
    std::vector<std::string> Shown(SpellMode mode)
    {
        EXPECT_EQ(OpenDictionary(1, 0), 1);
        SpellCheck check(&ctx, mode);
        check.Begin();
        std::vector<std::string> out;
        while (check.FindNextMisspelled() == 0 && out.size() < 20)
            out.push_back(Text(check.Word()));
        CloseDictionary(0);
        return out;
    }
    static void Click(QWidget* w, QPoint at = QPoint()) { QTest::mouseClick(w, Qt::LeftButton, {}, at); }
    static QPoint Row(QListWidget* list, int row) { return list->visualItemRect(list->item(row)).center(); }
    static std::vector<std::string> Rows(QListWidget* list)
    {
        std::vector<std::string> out;
        for (int i = 0; i < list->count(); ++i)
            out.push_back(list->item(i)->text().toStdString());
        return out;
    }

    AlertCapture alerts;
    std::string path;
    int dialogs = 0;
    std::function<void(SpellingDialog&)> drive = [](SpellingDialog&) {};
};

TEST_F(SpellCheckerTest, APunctuatedWordDoesNotEndItsParagraph)
{
    Story({"'helo' the cat -dgo sat on mat.", "teh end"});
    EXPECT_EQ(Shown(SpellMode::kParagraph), (std::vector<std::string>{"helo", "dgo"}));
    ctx.SelectParagraph(0);
    EXPECT_EQ(Shown(SpellMode::kStory), (std::vector<std::string>{"helo", "dgo", "teh", "end"}));

    // A trailing full stop is not part of the word; of two, one stays. Runs
    // of word characters too long to be words are stepped over.
    Story({"etc.. dog.. cat. " + std::string(300, '-') + " sat " + std::string(260, 'x') + " dgo"});
    EXPECT_EQ(Shown(SpellMode::kParagraph), (std::vector<std::string>{"dog.", "dgo"}));

    // Word mode from the caret on the dash shows the word after it, not the
    // word before, and goes on with every word, spelt right or not.
    Story({"the cat -dgo sat"}, 8);
    EXPECT_EQ(Shown(SpellMode::kWord), (std::vector<std::string>{"dgo", "sat"}));

    // The single quotation marks that smart quotes type are apostrophes.
    Story({"\x91the cat\x92 helo\x92s"});
    EXPECT_EQ(Shown(SpellMode::kParagraph), (std::vector<std::string>{"helo\x92s"}));
}

TEST_F(SpellCheckerTest, ReplacingKeepsTheFormatAndRefusesAnOverlongParagraph)
{
    Story({"the catt sat", "a catt " + std::string(65480, 'a') + " dgo"});
    ASSERT_NO_FATAL_FAILURE(Run(0, 4, 8, kRankColour, 3));
    // The last word of the second paragraph becomes a merge field's text.
    ctx.SelectParagraph(1);
    ParagraphText para = ctx.Current();
    ASSERT_TRUE(MarkFieldRun(&para, para.Length() - 4, 2, 3));
    ctx.StoreFlags(para);

    ASSERT_EQ(OpenDictionary(1, 0), 1);
    SpellCheck check(&ctx, SpellMode::kStory);
    check.Begin();
    ASSERT_EQ(check.FindNextMisspelled(), 0);
    check.ClearWordSelection();
    ASSERT_TRUE(check.ReplaceWord(Word("cat").p));
    EXPECT_EQ(Paragraph(0), "the cat sat\r");
    ctx.SelectParagraph(0);
    RunCache run;
    ASSERT_TRUE(LoadRunAt(ctx.Current(), 4, &run));
    EXPECT_EQ(run.start, 4);
    EXPECT_EQ(run.end, 7);
    EXPECT_EQ(run.Value(kRankColour), 3);
    EXPECT_EQ(ctx.Caret(), 7);

    ASSERT_EQ(check.FindNextMisspelled(), 0);
    ASSERT_EQ(check.Paragraph(), 1);
    const std::string before = Paragraph(1);
    EXPECT_FALSE(check.ReplaceWord(Word("catalogues and more").p));
    EXPECT_EQ(alerts.lastText(), "Paragraph is too large. Please make a new one.");
    EXPECT_EQ(Paragraph(1), before);
    // Past the run too long to be a word: the field's text, which stays.
    ASSERT_EQ(check.FindNextMisspelled(), 0);
    EXPECT_EQ(check.WordStart(), 7 + 65480 + 1);
    const std::string field = Paragraph(1);
    EXPECT_FALSE(check.ReplaceWord(Word("dog").p));
    EXPECT_EQ(alerts.beeps().size(), 1u);
    EXPECT_EQ(Paragraph(1), field);
    CloseDictionary(0);
}

TEST_F(SpellCheckerTest, CommandTellsWhenAllIsRightOrNoDictionaryOpens)
{
    Story({"The cat sat on the mat."});
    ASSERT_TRUE(SpellCheckText(&ctx, SpellMode::kParagraph));
    EXPECT_EQ(dialogs, 0);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(), "Spell Check complete.");
    EXPECT_FALSE(DictionaryIsOpen());

    alerts.clear();
    WriteFileBytes(path, "not a dictionary");
    EXPECT_FALSE(SpellCheckText(&ctx, SpellMode::kParagraph));
    EXPECT_EQ(alerts.beeps().size(), 1u);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(ReadFileBytes(path), "not a dictionary");
}

TEST_F(SpellCheckerTest, DialogReplacesSkipsAddsAndRemoves)
{
    Story({"the catt sat", "a dgo"});
    drive = [&](SpellingDialog& d) {
        EXPECT_EQ(d.SuspectWord()->text(), "catt");
        EXPECT_EQ(d.ReplaceWith()->text(), "catt");
        EXPECT_EQ(Rows(d.Suggestions()), (std::vector<std::string>{"cat", "catalog", "cats"}));
        EXPECT_FALSE(d.ReplaceButton()->isEnabled());
        EXPECT_TRUE(d.SkipButton()->isDefault());

        Click(d.Suggestions()->viewport(), Row(d.Suggestions(), 0));
        EXPECT_EQ(d.ReplaceWith()->text(), "cat");
        EXPECT_TRUE(d.ReplaceButton()->isEnabled());
        EXPECT_TRUE(d.ReplaceButton()->isDefault());
        EXPECT_FALSE(d.SkipButton()->isDefault());
        Click(d.ReplaceButton());

        // On to the next paragraph's word, Skip the default again.
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.SuspectWord()->text(), "dgo");
        EXPECT_FALSE(d.ReplaceButton()->isEnabled());
        EXPECT_TRUE(d.SkipButton()->isDefault());
        uint32_t paragraph = 0;
        uint16_t start = 0;
        doc.frames.GetTextRef(frame->FrameId(), 0, &paragraph, &start);
        EXPECT_EQ(paragraph, 1u);
        EXPECT_EQ(start, 2);

        Click(d.AddButton());
        EXPECT_EQ(Rows(d.Suggestions()), (std::vector<std::string>{"dgo"}));
        d.ReplaceWith()->clear();
        QTest::keyClicks(d.ReplaceWith(), "zzz");
        Click(d.RemoveButton());
        EXPECT_EQ(alerts.beeps().size(), 1u);
        EXPECT_TRUE(d.isVisible());

        // Skip on the last word ends the dialog.
        Click(d.SkipButton());
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), QDialog::Accepted);
    };
    ASSERT_TRUE(SpellCheckText(&ctx, SpellMode::kStory));
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(alerts.boxes().empty());
    EXPECT_EQ(Paragraph(0), "the cat sat\r");
    EXPECT_EQ(Paragraph(1), "a dgo\r");
    EXPECT_FALSE(doc.frames.IsInEdit(frame));

    // The word added went into the file.
    ASSERT_EQ(OpenDictionary(1, 0), 1);
    EXPECT_EQ(LookupWord(Word("dgo").p, kLookupOnly), 0);
    CloseDictionary(0);

    // Word mode shows a word spelt right too, with the suggestions from it
    // on; Replace (here by a double click) ends the dialog.
    Story({"cat catt"});
    drive = [&](SpellingDialog& d) {
        QListWidget* list = d.Suggestions();
        EXPECT_EQ(Rows(list), (std::vector<std::string>{"cat", "catalog", "cats"}));
        Click(list->viewport(), Row(list, 2));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, Row(list, 2));
        EXPECT_FALSE(d.isVisible());
    };
    ASSERT_TRUE(SpellCheckText(&ctx, SpellMode::kWord));
    EXPECT_EQ(Paragraph(0), "cats catt\r");
}

TEST(SpellDialogShot, WritesAPictureOfTheDialog)
{
    TempDir dir;
    ASSERT_EQ(Shell(dir, "\"$T\" spell-dialog-shot shot.png 2>/dev/null"), 0);
    QImage shot(QString::fromStdString(dir.file("shot.png")));
    EXPECT_GT(shot.width(), 200);
    EXPECT_GT(shot.height(), 150);
}

}  // namespace
