#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstring>

#include "foundation/program_folder.h"
#include "support/alert_capture.h"
#include "support/shell.h"
#include "text/spell_checker.h"
#include "text/spell_dictionary.h"
#include "text/spelling_dialog.h"
#include "text/style_runs.h"
#include "text/word_finder.h"
#include "text_fixture.h"

namespace {

struct Word {
    PStr p;
    explicit Word(const std::string& s)
    {
        p[0] = uint8_t(s.size());
        std::memcpy(p + 1, s.data(), s.size());
    }
};

std::string Text(const uint8_t* pstr) { return std::string(reinterpret_cast<const char*>(pstr + 1), pstr[0]); }

WordSearch Find(const std::string& s, int32_t caret, FoundWord* w)
{
    return FindWord(reinterpret_cast<const uint8_t*>(s.data()), int32_t(s.size()), caret, w);
}

TEST(WordFinder, FindsWordsAndWhatToLookUp)
{
    FoundWord w;
    // On punctuation the walk back can reach the word before the caret.
    ASSERT_EQ(Find("cat -x\r", 4, &w), WordSearch::kFound);
    EXPECT_EQ(w.start, 0);
    EXPECT_EQ(w.end, 3);
    ASSERT_EQ(Find("cat -x\r", 5, &w), WordSearch::kFound);
    EXPECT_EQ(w.start, 4);
    // On a non-word character the word starts at the next letter.
    const std::string quoted = "  'Don\xD5t'. x\r";
    ASSERT_EQ(Find(quoted, 0, &w), WordSearch::kFound);
    EXPECT_EQ(w.start, 3);
    EXPECT_EQ(w.end, 10);
    FoundWord look;
    ASSERT_TRUE(WordToLookUp(reinterpret_cast<const uint8_t*>(quoted.data()), FoundWord{2, 10}, &look));
    EXPECT_EQ(look.start, 3);
    EXPECT_EQ(look.end, 9);  // one trailing character goes: Don't'
    const std::string stops = "etc.. ...\r";
    ASSERT_TRUE(WordToLookUp(reinterpret_cast<const uint8_t*>(stops.data()), FoundWord{0, 5}, &look));
    EXPECT_EQ(look.end, 4);
    EXPECT_FALSE(WordToLookUp(reinterpret_cast<const uint8_t*>(stops.data()), FoundWord{6, 9}, &look));

    EXPECT_EQ(Find(" 42 \xE9t\xE9\r", 0, &w), WordSearch::kFound);
    EXPECT_EQ(w.start, 5);
    EXPECT_EQ(Find(" 42 ...\r", 0, &w), WordSearch::kNone);
    EXPECT_EQ(Find("abc", 0, &w), WordSearch::kNone);  // no end mark, no end
    EXPECT_EQ(Find(std::string(253, 'a') + "\r", 0, &w), WordSearch::kFound);
    ASSERT_EQ(Find(std::string(254, 'a') + " b\r", 10, &w), WordSearch::kTooLong);
    EXPECT_EQ(w.end, 254);
}

class SpellCheckerTest : public TextTest {
protected:
    void SetUp() override
    {
        TextTest::SetUp();
        SetProgramFolderForTesting(dir.file("program"));
        path = dir.file("words.dic");
        UseDictionary(path);
        MakeDictionary({"cat", "catalog", "cats", "dog", "etc.", "mat", "on", "sat", "the", "a"});
        SetSpellingDialogRunner([this](SpellingDialog& dialog) {
            ++dialogs;
            dialog.show();
            if (drive)
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
    void UseDictionary(const std::string& file)
    {
        PathRecord record;
        ASSERT_EQ(PathRecordFromPosix(file, &record), 0);
        SetDictionaryPath(&record);
    }
    void MakeDictionary(const std::vector<std::string>& words)
    {
        WriteFileBytes(path, "");
        ASSERT_EQ(OpenDictionary(1, 1), 1);
        for (const std::string& w : words)
            ASSERT_EQ(AddWord(Word(w).p), 0) << w;
        ASSERT_EQ(CloseDictionary(1), 0);
    }
    void Story(const std::vector<std::string>& paragraphs)
    {
        frame = AddFrame(IntRect{0, 0, 600, 400});
        SetStory(frame, paragraphs);
        Flow(frame);
        ctx.SelectParagraph(0);
        ctx.SetCaretCharacter(0);
    }
    TextPosition Selection(int selector)
    {
        uint32_t p = 0;
        uint16_t c = 0;
        doc.frames.GetTextRef(frame->FrameId(), int16_t(selector), &p, &c);
        return TextPosition{p, c};
    }
    // The words the check shows, one after the other, in a dictionary that
    // stays open.
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
    static void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    static void ClickRow(QListWidget* list, int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    static std::vector<std::string> Rows(QListWidget* list)
    {
        std::vector<std::string> out;
        for (int i = 0; i < list->count(); ++i)
            out.push_back(list->item(i)->text().toStdString());
        return out;
    }

    AlertCapture alerts;
    std::string path;
    FrameObjText* frame = nullptr;
    int dialogs = 0;
    std::function<void(SpellingDialog&)> drive;
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
}

TEST_F(SpellCheckerTest, WordModeShowsTheWordAfterThePunctuationTheCaretIsOn)
{
    Story({"the cat -dgo sat"});
    ctx.SetCaretCharacter(8);
    ASSERT_EQ(OpenDictionary(1, 0), 1);
    SpellCheck check(&ctx, SpellMode::kWord);
    check.Begin();
    ASSERT_EQ(check.FindNextMisspelled(), 0);
    EXPECT_EQ(Text(check.Word()), "dgo");
    EXPECT_EQ(Selection(0), (TextPosition{0, 9}));
    EXPECT_EQ(Selection(1), (TextPosition{0, 12}));
    EXPECT_EQ(ctx.Caret(), 12);

    // A word spelt right is shown too, with the suggestions from it on.
    ctx.SetCaretCharacter(5);
    SpellCheck word(&ctx, SpellMode::kWord);
    word.Begin();
    ASSERT_EQ(word.FindNextMisspelled(), 0);
    EXPECT_EQ(Text(word.Word()), "cat");
    ASSERT_GE(SuggestionCount(), 1);
    EXPECT_EQ(Text(SuggestionAt(0)), "cat");
}

TEST_F(SpellCheckerTest, ReplacingKeepsTheFormatAndRefusesAnOverlongParagraph)
{
    Story({"the catt sat", "a catt " + std::string(65480, 'a') + " dgo"});
    ctx.SelectParagraph(0);
    ParagraphText para = ctx.Current();
    std::array<int16_t, kAttributeCount> values = kRunDefaults;
    values[kRankColour] = 3;
    ASSERT_TRUE(SetRunAttributes(&para, 4, 8, kRunColour, values, true));
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
    ASSERT_EQ(check.FindNextMisspelled(), 0);
    EXPECT_EQ(Text(check.Word()), "dgo");
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
    std::vector<std::string> seen;
    drive = [&](SpellingDialog& d) {
        EXPECT_EQ(d.SuspectWord()->text(), "catt");
        EXPECT_EQ(d.ReplaceWith()->text(), "catt");
        EXPECT_EQ(Rows(d.Suggestions()), (std::vector<std::string>{"cat", "catalog", "cats"}));
        EXPECT_FALSE(d.ReplaceButton()->isEnabled());
        EXPECT_TRUE(d.SkipButton()->isDefault());

        ClickRow(d.Suggestions(), 0);
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
        EXPECT_EQ(Selection(0), (TextPosition{1, 2}));

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

    // In word mode Replace ends the dialog; a double click replaces.
    Story({"catt catt"});
    drive = [&](SpellingDialog& d) {
        QListWidget* list = d.Suggestions();
        ASSERT_EQ(list->count(), 3);
        const QPoint at = list->visualItemRect(list->item(2)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
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
