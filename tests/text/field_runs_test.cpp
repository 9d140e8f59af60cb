// Merge fields as cards are printed: the field's text follows the record
// (nothing for an empty field while printing), keeps the field's format
// whole, and the field stays in the story for the next card.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "database/database_session.h"
#include "database/field_table.h"
#include "database/merge_text.h"
#include "frames/style_runs.h"
#include "support/alert_capture.h"
#include "text/field_runs.h"
#include "text_fixture.h"

namespace {

constexpr int16_t kBold = 1;

DataFile* g_records = nullptr;
DataFile* Records() { return g_records; }

class FieldRuns : public TextTest {
protected:
    void SetUp() override
    {
        TextTest::SetUp();
        frame = AddFrame(IntRect{0, 0, 400, 200});
        // "Lyon, " then the Country field showing seven characters, then
        // " 69001"; the field's text is made bold.
        ASSERT_NO_FATAL_FAILURE(SetStory(frame, {"Lyon, Country 69001"}));
        ParagraphText para = ctx.Current();
        ASSERT_TRUE(MarkFieldRun(&para, 6, kFieldCountry, 7));
        std::array<int16_t, kAttributeCount> bold = kRunDefaults;
        bold[kRankStyle] = kBold;
        ASSERT_TRUE(SetRunAttributes(&para, 6, 13, kRunStyle, bold, false));
        ctx.StoreFlags(para);
        PathRecord path{};
        ASSERT_EQ(PathRecordFromPosix(dir.file("records.dqx"), &path), 0);
        ASSERT_TRUE(records.Create(path));
        g_records = &records.Data();
        SetMergeDatabaseLookup(&Records);
    }
    void TearDown() override
    {
        SetMergeDatabaseLookup(nullptr);
        g_records = nullptr;
        records.Close();
        TextTest::TearDown();
    }

    // The record's value of the field, then the field brought up to date
    // on the screen or while printing.
    std::string Refresh(const char* value, bool printing)
    {
        return RefreshWith({{kFieldCountry, value}}, printing);
    }
    // Like Refresh, with the first and last names of the record.
    std::string RefreshNames(const char* first, const char* last, bool printing)
    {
        return RefreshWith({{kFieldFirstName, first}, {kFieldLastName, last}}, printing);
    }
    std::string RefreshWith(std::initializer_list<std::pair<int32_t, const char*>> values, bool printing)
    {
        DataFile& data = records.Data();
        data.Current().Clear();
        for (const auto& [field, value] : values)
            data.Current().SetFieldText(field, value);
        data.Current().SetNew(false);
        data.AddRecord(false, true);
        frame->ShiftForOutput(printing, 1, 0, 0);
        UpdateFieldsFrom(&ctx, 0);
        frame->ShiftForOutput(0, 0, 0, 0);
        return Paragraph(0);
    }
    int Fields()
    {
        int n = 0;
        for (const RunEntry& r : ReadRunTable(ctx.Current()))
            n += (r.flags & kRunField) != 0;
        return n;
    }
    std::string Bold()
    {
        const std::string text = Paragraph(0);
        std::string marks;
        for (size_t i = 0; i < text.size(); ++i) {
            RunCache run;
            const bool bold = LoadRunAt(ctx.Current(), int32_t(i), &run) && run.Has(kRunStyle) &&
                              (run.Value(kRankStyle) & kBold);
            marks += bold ? 'B' : '.';
        }
        return marks;
    }

    DatabaseSession records;
};

TEST_F(FieldRuns, AnEmptyValuePrintsAsNothingAndTheFieldStays)
{
    EXPECT_EQ(Refresh("", true), "Lyon,  69001\r");
    EXPECT_EQ(Bold(), ".............");
    // No field text, yet the field is there for the next card, which shows
    // its value in the field's format.
    int32_t start = -1;
    EXPECT_EQ(GetFieldRunAt(ctx.Current(), 6, &start), 0);
    EXPECT_EQ(start, 6);
    EXPECT_EQ(Refresh("", true), "Lyon,  69001\r");
    EXPECT_EQ(Refresh("France", true), "Lyon, France 69001\r");
    EXPECT_EQ(Bold(), "......BBBBBB.......");
    EXPECT_EQ(GetFieldIdAt(ctx.Current(), 11), kFieldCountry);

    // On the screen an empty field shows its name, so it can be seen.
    EXPECT_EQ(Refresh("", true), "Lyon,  69001\r");
    EXPECT_EQ(Refresh("", false), "Lyon, Country 69001\r");
    EXPECT_EQ(Bold(), "......BBBBBBB.......");
    // Card after card, it stays one field.
    for (const char* value : {"", "UK", "", "", "France", "Saint Helena", ""}) {
        Refresh(value, true);
        EXPECT_EQ(Fields(), 1) << value;
    }
    EXPECT_EQ(Refresh("", false), "Lyon, Country 69001\r");
}

TEST_F(FieldRuns, FieldsSideBySidePrintEveryCardsOwnValues)
{
    // "Dear " FirstName FirstName LastName " at": three fields with no
    // character between them, which all stand at one place on a card whose
    // record has no names. The card after it shows each in its place, in
    // its order, whatever the card before held.
    ASSERT_NO_FATAL_FAILURE(SetStory(frame, {"Dear FirstNameFirstNameLastName at"}));
    ParagraphText para = ctx.Current();
    ASSERT_TRUE(MarkFieldRun(&para, 5, kFieldFirstName, 9));
    ASSERT_TRUE(MarkFieldRun(&para, 14, kFieldFirstName, 9));
    ASSERT_TRUE(MarkFieldRun(&para, 23, kFieldLastName, 8));
    ctx.StoreFlags(para);
    const struct {
        const char* first;
        const char* last;
        const char* printed;
    } cards[] = {
        {"", "", "Dear  at\r"},
        {"Ada", "Abbott", "Dear AdaAdaAbbott at\r"},
        {"", "", "Dear  at\r"},
        {"", "Abbott", "Dear Abbott at\r"},
        {"Bruno", "", "Dear BrunoBruno at\r"},
        {"", "", "Dear  at\r"},
        {"", "", "Dear  at\r"},
        {"Cy", "Dee", "Dear CyCyDee at\r"},
        {"Ada", "", "Dear AdaAda at\r"},
        {"", "Barros", "Dear Barros at\r"},
        {"Bruno", "Barros", "Dear BrunoBrunoBarros at\r"},
    };
    for (const auto& card : cards) {
        EXPECT_EQ(RefreshNames(card.first, card.last, true), card.printed) << card.first << " " << card.last;
        EXPECT_EQ(Fields(), 3);
    }
    EXPECT_EQ(RefreshNames("", "", true), "Dear  at\r");
    EXPECT_EQ(RefreshNames("", "", false), "Dear FirstNameFirstNameLastName at\r");
    EXPECT_EQ(GetFieldIdAt(ctx.Current(), 14), kFieldFirstName);
    EXPECT_EQ(GetFieldIdAt(ctx.Current(), 23), kFieldLastName);
}

TEST_F(FieldRuns, TheFieldsFormatCoversEveryValueWhole)
{
    // Made bold over seven characters, the field is bold over all twelve
    // of a longer value and stops where a shorter one ends.
    EXPECT_EQ(Refresh("Saint Helena", true), "Lyon, Saint Helena 69001\r");
    EXPECT_EQ(Bold(), "......BBBBBBBBBBBB.......");
    EXPECT_EQ(Refresh("UK", true), "Lyon, UK 69001\r");
    EXPECT_EQ(Bold(), "......BB.......");
    // The text after the field moved with it and kept its own format.
    EXPECT_EQ(GetFieldIdAt(ctx.Current(), 8), -1);
    EXPECT_EQ(Refresh("Saint Helena", true), "Lyon, Saint Helena 69001\r");
    EXPECT_EQ(Bold(), "......BBBBBBBBBBBB.......");
}

TEST_F(FieldRuns, DeletingAroundAnEmptyFieldKeepsItInPlace)
{
    // "Lyon, " | field | " 69001"
    ASSERT_EQ(Refresh("", true), "Lyon,  69001\r");
    ParagraphText para = ctx.Current();
    // Deleting "Lyon" before it moves it back; deleting the space after it,
    // or the text just before it, leaves it between the same characters.
    ASSERT_EQ(para.DeleteChars(0, 3, true), 4u);
    AdjustRunsForDelete(&para, 0, 4);
    ASSERT_EQ(para.DeleteChars(2, 2, true), 1u);
    AdjustRunsForDelete(&para, 2, 1);
    ASSERT_EQ(para.DeleteChars(1, 1, true), 1u);
    AdjustRunsForDelete(&para, 1, 1);
    ctx.StoreFlags(para);
    EXPECT_EQ(Refresh("France", true), ",France69001\r");
    EXPECT_EQ(GetFieldIdAt(ctx.Current(), 1), kFieldCountry);
    EXPECT_EQ(GetFieldIdAt(ctx.Current(), 6), kFieldCountry);

    // Deleting a stretch with the empty field inside takes the field too.
    ASSERT_EQ(Refresh("", true), ",69001\r");
    para = ctx.Current();
    ASSERT_EQ(para.DeleteChars(0, 1, true), 2u);
    AdjustRunsForDelete(&para, 0, 2);
    ctx.StoreFlags(para);
    EXPECT_EQ(Refresh("France", true), "9001\r");
    EXPECT_EQ(CountRuns(ctx.Current()), 0);
}

TEST_F(FieldRuns, AFailedAllocationNeverLosesTheField)
{
    // A colour over the whole line, which the field's new text splits, and
    // a value long enough to make the paragraph grow: every allocation the
    // refresh makes fails in turn. The field may keep its old text, but it
    // is still there, and the next refresh shows the right text, whole and
    // bold.
    const std::string longValue(250, 'x');
    AlertCapture alerts;
    int32_t failures = 0;
    for (int32_t successes = 0; successes < 8; ++successes) {
        ASSERT_EQ(Refresh("UK", true), "Lyon, UK 69001\r");
        ParagraphText para = ctx.Current();
        std::vector<RunEntry> runs = ReadRunTable(para);
        RunEntry red;
        red.start = 0;
        red.end = uint16_t(para.Length());
        red.flags = kRunColour;
        red.values[kRankColour] = 2;
        runs.push_back(red);
        ASSERT_TRUE(WriteRunTable(&para, runs));
        ctx.StoreFlags(para);

        MemInjectAllocationFailure(successes);
        const std::string shown = Refresh(longValue.c_str(), true);
        MemInjectAllocationFailure(-1);
        failures += shown != "Lyon, " + longValue + " 69001\r";
        int32_t start = -1;
        GetFieldRunAt(ctx.Current(), 6, &start);
        EXPECT_EQ(start, 6) << successes;
        EXPECT_EQ(Refresh("France", true), "Lyon, France 69001\r") << successes;
        EXPECT_EQ(Bold(), "......BBBBBB.......") << successes;
    }
    EXPECT_GT(failures, 0);
}

TEST(FieldFormat, FormattingReachingIntoAFieldTakesTheWholeField)
{
    HandleOwner h(NewParagraph());
    const std::string text = "Dear Smith and Jones";
    ParagraphInsertBytes(h.get(), 0, 0, reinterpret_cast<const uint8_t*>(text.data()), uint32_t(text.size()));
    uint8_t flags = 0;
    ParagraphText para(h.get(), flags);
    ASSERT_TRUE(MarkFieldRun(&para, 5, 3, 5));
    ASSERT_TRUE(MarkFieldRun(&para, 15, 4, 5));
    auto widened = [&](int32_t from, int32_t to) {
        WidenToFields(para, &from, &to);
        return std::make_pair(from, to);
    };
    EXPECT_EQ(widened(7, 8), std::make_pair(5, 10));
    EXPECT_EQ(widened(0, 6), std::make_pair(0, 10));
    EXPECT_EQ(widened(8, 17), std::make_pair(5, 20));
    // Whole fields and text beside them stay as chosen.
    EXPECT_EQ(widened(5, 10), std::make_pair(5, 10));
    EXPECT_EQ(widened(10, 15), std::make_pair(10, 15));
    EXPECT_EQ(widened(0, 5), std::make_pair(0, 5));
    EXPECT_EQ(widened(7, 7), std::make_pair(7, 7));
}

}  // namespace
