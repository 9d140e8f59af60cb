// The database document in its two views: typing into the form, moving
// through the list, new, delete and undo, the searches and sorts, and the
// shell's question when a window with uncommitted typing closes.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>

#include "app/database_document_kind.h"
#include "app/doc_manager.h"
#include "app/shell_prompts.h"
#include "database/database_session.h"
#include "database/db_test_util.h"
#include "database/open_database_registry.h"
#include "database/record_file_format.h"
#include "dbdoc/brs_list_box.h"
#include "dbdoc/cdb_document.h"
#include "dbdoc/field_edits.h"
#include "dbdoc/view_browser.h"
#include "dbdoc/view_data_entry.h"
#include "foundation/byte_order.h"
#include "records/command_ids.h"
#include "support/shared_folder.h"
#include "support/alert_capture.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

constexpr int32_t kLastNameColumn = 1;
constexpr int32_t kCityColumn = 6;
constexpr int32_t kStateColumn = 7;
constexpr int32_t kZipColumn = 8;
constexpr int32_t kPictureColumn = 14;

const char* const kNames[] = {"Evans", "Adams", "Dixon", "Baker", "Clark"};
const char* const kCities[] = {"Austin", "Boston", "Austin", "Denver", "Chicago"};

// A database file with the five people above.
void MakeDatabase(const PathRecord& path)
{
    DatabaseSession db;
    ASSERT_TRUE(db.Create(path));
    for (int i = 0; i < 5; ++i) {
        FillCurrent(db.Data(), {{kFieldFirstName, std::string(1, 'F') + char('0' + i)},
                                {kFieldLastName, kNames[i]},
                                {kFieldCity, kCities[i]}});
        db.Data().Current().SetNew(false);
        ASSERT_GE(db.Data().AddRecord(false, true), 0);
    }
    db.Close();
}

std::multiset<std::string> LastNames(const PathRecord& path)
{
    std::multiset<std::string> names;
    DatabaseSession db;
    if (!db.Open(path))
        return names;
    for (int32_t p = 0; p < db.Data().GetLiveCount(); ++p)
        if (db.Data().GotoRecord(p, false, true) >= 0)
            names.insert(FieldOf(db.Data().Current(), kFieldLastName));
    db.CloseUnchanged();
    return names;
}

class Prompts : public ShellPrompts {
public:
    Prompts() { previous_ = SetShellPrompts(this); }
    ~Prompts() override { SetShellPrompts(previous_); }
    Answer AskSaveChanges(const std::string& title) override
    {
        asked.push_back(title);
        return answer;
    }
    Answer answer = kCancel;
    std::vector<std::string> asked;

private:
    ShellPrompts* previous_ = nullptr;
};

class DbViewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = DbPath(dir.file("people.dqx"));
        MakeDatabase(path);
    }
    void TearDown() override
    {
        window.reset();
        doc.reset();
    }

    // Opens the database in a window with both views, as the shell does.
    void OpenInViews()
    {
        doc = std::make_unique<CDBDocument>();
        ASSERT_TRUE(doc->OnOpenDocument(path));
        PutInViews();
        window->resize(700, 500);
        window->show();
        QApplication::processEvents();
    }
    // The document's two views side by side in a window not shown yet.
    void PutInViews()
    {
        window = std::make_unique<QWidget>();
        auto* layout = new QHBoxLayout(window.get());
        browser = new CViewBrowser(doc.get(), window.get());
        form = new CViewDataEntry(doc.get(), window.get());
        layout->addWidget(browser);
        layout->addWidget(form);
        browser->RefreshRecords(true);
        form->RefreshRecords(true);
    }
    std::string Text(int32_t column) const { return form->Edit(column)->text().toStdString(); }
    void Type(int32_t column, const QString& text)
    {
        QLineEdit* edit = form->Edit(column);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    bool Enabled(uint32_t id)
    {
        CmdUI ui(id);
        doc->OnUpdateCommand(ui);
        return ui.enabled;
    }

    TempDir dir;
    AlertCapture alerts;
    PathRecord path{};
    std::unique_ptr<CDBDocument> doc;
    std::unique_ptr<QWidget> window;
    CViewBrowser* browser = nullptr;
    CViewDataEntry* form = nullptr;
};

TEST_F(DbViewsTest, OpensSortedByLastNameWithTheStatusLine)
{
    OpenInViews();
    EXPECT_EQ(browser->RowCount(), 5);
    EXPECT_EQ(browser->CurrentRow(), 0);
    EXPECT_EQ(Text(kLastNameColumn), "Adams");
    EXPECT_EQ(browser->StatusText(0), "1");
    EXPECT_EQ(browser->StatusText(1), "5");
    EXPECT_EQ(browser->StatusText(2), "5");
    EXPECT_EQ(CViewBrowser::StatusToolTip(1373), "Number of Records in Browser");
    EXPECT_EQ(GetCurrentDatabaseDoc(), doc.get());
}

TEST_F(DbViewsTest, TypingAndEnterCommitsTheRecordAndItSurvivesReopening)
{
    OpenInViews();
    Type(kCityColumn, "Zurich");
    EXPECT_TRUE(doc->EditsDirty());
    QTest::keyClick(form->Edit(kCityColumn), Qt::Key_Return);
    EXPECT_FALSE(doc->EditsDirty());
    // Typing the LastName moves the record to its new place in the order.
    Type(kLastNameColumn, "Young");
    QTest::keyClick(form->Edit(kLastNameColumn), Qt::Key_Return);
    EXPECT_EQ(browser->CurrentRow(), 4);
    EXPECT_EQ(Text(kLastNameColumn), "Young");
    // Categories and fields the form does not show stay as they were.
    window.reset();
    doc.reset();
    const auto names = LastNames(path);
    EXPECT_EQ(names, (std::multiset<std::string>{"Young", "Baker", "Clark", "Dixon", "Evans"}));
}

TEST_F(DbViewsTest, NavigationStopsAtBothEndsAndKeysMove)
{
    OpenInViews();
    EXPECT_FALSE(Enabled(kCmdPreviousRecord));  // previous
    EXPECT_FALSE(Enabled(kCmdFirstRecord));  // first
    EXPECT_TRUE(Enabled(kCmdNextRecord));   // next
    doc->GoToRecord(kGoPrevious);
    EXPECT_EQ(browser->CurrentRow(), 0);
    QTest::keyClick(form->Edit(0), Qt::Key_Down);
    EXPECT_EQ(Text(kLastNameColumn), "Baker");
    QTest::keyClick(form->Edit(0), Qt::Key_End);
    EXPECT_EQ(browser->CurrentRow(), 4);
    EXPECT_EQ(Text(kLastNameColumn), "Evans");
    EXPECT_FALSE(Enabled(kCmdNextRecord));
    EXPECT_FALSE(Enabled(kCmdLastRecord));
    doc->GoToRecord(kGoNext);
    EXPECT_EQ(browser->CurrentRow(), 4);
    doc->GoToRecord(7);  // not a step: nothing
    EXPECT_EQ(browser->CurrentRow(), 4);
    QTest::keyClick(form->Edit(0), Qt::Key_Home);
    EXPECT_EQ(Text(kLastNameColumn), "Adams");
    // Picking a row in the list loads it.
    doc->SelectRow(2);
    EXPECT_EQ(Text(kLastNameColumn), "Clark");
    EXPECT_EQ(browser->StatusText(0), "3");
}

TEST_F(DbViewsTest, NewRecordTwiceAddsOneAndAnUntypedOneIsNotKept)
{
    OpenInViews();
    doc->NewRecord();
    EXPECT_EQ(browser->RowCount(), 6);
    doc->NewRecord();
    EXPECT_EQ(browser->RowCount(), 6);
    EXPECT_EQ(doc->UndoMenuText(), "Undo Add Record");
    Type(kLastNameColumn, "Moore");
    QTest::keyClick(form->Edit(kLastNameColumn), Qt::Key_Return);
    EXPECT_EQ(Text(kLastNameColumn), "Moore");
    window.reset();
    doc.reset();
    EXPECT_EQ(LastNames(path).count("Moore"), 1u);
    EXPECT_EQ(LastNames(path).size(), 6u);
}

TEST_F(DbViewsTest, ANewDatabaseCountsTheSameRecordsAtEveryOpening)
{
    // A new database holds nothing until a record is entered; what it
    // counts now it counts after the next open.
    path = DbPath(dir.file("new.dqx"));
    doc = std::make_unique<CDBDocument>();
    ASSERT_TRUE(doc->OnNewDocument(path));
    PutInViews();
    window->show();
    EXPECT_EQ(browser->RowCount(), 0);
    EXPECT_EQ(browser->StatusText(2), "0");
    Type(kLastNameColumn, "Moore");
    QTest::keyClick(form->Edit(kLastNameColumn), Qt::Key_Return);
    EXPECT_EQ(browser->RowCount(), 1);
    EXPECT_EQ(browser->StatusText(1), "1");
    EXPECT_EQ(browser->StatusText(2), "1");
    window.reset();
    doc.reset();
    EXPECT_EQ(LastNames(path), (std::multiset<std::string>{"Moore"}));
    OpenInViews();
    EXPECT_EQ(browser->RowCount(), 1);
    EXPECT_EQ(browser->StatusText(2), "1");
    EXPECT_EQ(Text(kLastNameColumn), "Moore");
}

TEST_F(DbViewsTest, DeleteAsksAndUndoBringsTheRecordBackThenRedoDeletesAgain)
{
    OpenInViews();
    doc->SelectRow(1);  // Baker
    alerts.answer(kIdCancel);
    EXPECT_FALSE(doc->DeleteRecord(true, true));
    EXPECT_EQ(browser->RowCount(), 5);
    alerts.answer(kIdOk);
    EXPECT_TRUE(doc->DeleteRecord(true, true));
    EXPECT_EQ(alerts.lastText(), "Delete Record ?");
    EXPECT_EQ(browser->RowCount(), 4);
    EXPECT_EQ(doc->UndoMenuText(), "Undo Delete Record");
    doc->OnEditUndo();
    EXPECT_EQ(browser->RowCount(), 5);
    EXPECT_EQ(browser->CurrentRow(), 1);
    EXPECT_EQ(Text(kLastNameColumn), "Baker");
    EXPECT_EQ(doc->UndoMenuText(), "Redo Delete Record");
    alerts.clear();
    doc->OnEditUndo();
    EXPECT_TRUE(alerts.boxes().empty());
    EXPECT_EQ(browser->RowCount(), 4);
    window.reset();
    doc.reset();
    EXPECT_EQ(LastNames(path).count("Baker"), 0u);
}

TEST_F(DbViewsTest, ClearAllFieldsUndoRestoresWithoutWriting)
{
    OpenInViews();
    doc->ClearAllFields();
    EXPECT_EQ(Text(kLastNameColumn), "");
    doc->OnEditUndo();
    EXPECT_EQ(Text(kLastNameColumn), "Adams");
    EXPECT_EQ(Text(kCityColumn), "Boston");
}

TEST_F(DbViewsTest, SortFindQueryAndShowAll)
{
    OpenInViews();
    SortSpec byCity;
    byCity.fields[0] = kFieldCity;
    doc->ApplySort(byCity);
    EXPECT_EQ(Text(kCityColumn), "Austin");
    EXPECT_EQ(doc->SortComboIndex(), kCityColumn + 1);

    // Find One from the first record, then on.
    SetHeaderText(doc->Header(), dbh::kFindValues + kLastNameColumn * 40, 40, "Clark");
    doc->FindOne(kFindFromFirst);
    EXPECT_EQ(Text(kLastNameColumn), "Clark");
    const int32_t row = browser->CurrentRow();
    alerts.clear();
    doc->FindOne(kFindForward);
    EXPECT_EQ(browser->CurrentRow(), row);
    EXPECT_FALSE(alerts.beeps().empty());

    // Query: City starts with "Aus"; twice keeps the criterion once.
    PutU16LE(doc->Header() + dbh::kQueryField, kFieldCity);
    doc->Header()[dbh::kQueryOperator] = 0;
    SetHeaderText(doc->Header(), dbh::kQueryValue, 64, "Aus");
    doc->ApplyQuery();
    doc->ApplyQuery();
    EXPECT_EQ(GetU16LE(doc->Header() + dbh::kActiveCriteria), 3);
    EXPECT_EQ(browser->RowCount(), 2);
    EXPECT_EQ(doc->FindComboIndex(), 3);
    doc->ApplySearchAll("F4");
    EXPECT_EQ(GetU16LE(doc->Header() + dbh::kActiveCriteria), 23);
    EXPECT_EQ(browser->RowCount(), 0);
    doc->ShowAllRecords();
    EXPECT_EQ(browser->RowCount(), 5);
    EXPECT_EQ(doc->FindComboIndex(), 4);
}

// What the list shows, row by row, scrolled through as the user would, and
// the browse field of each record in the order the index holds them.
std::vector<std::string> ShownRows(CBrsListBox* list)
{
    std::vector<std::string> rows;
    for (int32_t top = 0; top < list->RowCount(); top += std::max(1, list->VisibleRows() - 1)) {
        list->Scroll(CBrsListBox::kThumb, top);
        QApplication::processEvents();
        for (int32_t row = list->TopRow(); row < std::min(list->RowCount(), list->TopRow() + list->VisibleRows());
             ++row)
            if (row >= int32_t(rows.size()))
                rows.push_back(list->RowText(row).toStdString());
    }
    return rows;
}

std::vector<std::string> HeldRows(DataFile& data, int32_t field)
{
    std::vector<std::string> rows;
    ForEachHeldRecord(data, [&](const CardRecord& record) { rows.push_back(FieldOf(record, field)); });
    return rows;
}

TEST_F(DbViewsTest, TheListShowsTheHeldOrderAndTheFormItsHighlightedRecord)
{
    // Many records sharing names and cities, as real address books do.
    path = DbPath(dir.file("many.dqx"));
    {
        DatabaseSession db;
        ASSERT_TRUE(db.Create(path));
        for (int i = 0; i < 400; ++i) {
            FillCurrent(db.Data(), {{kFieldFirstName, "F" + std::to_string(i)},
                                    {kFieldLastName, kNames[(i * 7) % 5] + std::to_string(i % 37)},
                                    {kFieldCity, kCities[(i * 3) % 5] + std::to_string(i % 11)}});
            db.Data().Current().SetNew(false);
            ASSERT_GE(db.Data().AddRecord(false, true), 0);
        }
        db.Close();
    }
    OpenInViews();
    CBrsListBox* list = browser->List();
    const auto formMatchesRow = [&] {
        const int32_t row = browser->CurrentRow();
        return row >= 0 && list->RowText(row).toStdString() == Text(kLastNameColumn);
    };
    EXPECT_EQ(ShownRows(list), HeldRows(doc->Data(), kFieldLastName));
    doc->SelectRow(250);
    doc->SortRecords(1, kFieldCity);
    doc->SelectRow(300);
    doc->SortRecords(1, kFieldLastName);
    EXPECT_EQ(ShownRows(list), HeldRows(doc->Data(), kFieldLastName));
    EXPECT_TRUE(formMatchesRow());

    SortSpec byName;
    doc->SelectRow(120);
    doc->ApplySort(byName);
    EXPECT_EQ(ShownRows(list), HeldRows(doc->Data(), kFieldLastName));

    // After a query and after Show All the highlighted row is the record
    // the form edits, and typing goes into it.
    doc->SelectRow(333);
    PutU16LE(doc->Header() + dbh::kQueryField, kFieldCity);
    doc->Header()[dbh::kQueryOperator] = 0;
    SetHeaderText(doc->Header(), dbh::kQueryValue, 64, "Aus");
    doc->ApplyQuery();
    EXPECT_EQ(ShownRows(list), HeldRows(doc->Data(), kFieldLastName));
    EXPECT_TRUE(formMatchesRow());
    doc->SelectRow(20);
    doc->ShowAllRecords();
    EXPECT_EQ(browser->RowCount(), 400);
    EXPECT_EQ(ShownRows(list), HeldRows(doc->Data(), kFieldLastName));
    EXPECT_TRUE(formMatchesRow());
}

TEST_F(DbViewsTest, BulkMailNeedsEnoughRecordsAndRefusesEdits)
{
    OpenInViews();
    EXPECT_EQ(doc->ApplyBulkMail(1), 1);
    EXPECT_NE(alerts.lastText().find("less than 500"), std::string::npos);
    EXPECT_FALSE(doc->InBulkMailMode());
    EXPECT_EQ(doc->Header()[dbh::kSortSpec + dbsort::kBulkMail], 0);
}

TEST_F(DbViewsTest, DuplicatesAreRemovedAndTheOrderKept)
{
    OpenInViews();
    SortSpec byCity;
    byCity.fields[0] = kFieldCity;
    doc->ApplySort(byCity);
    doc->SelectRow(0);
    doc->DuplicateRecord();
    EXPECT_EQ(browser->RowCount(), 6);
    doc->DeleteAllDuplicates();
    EXPECT_EQ(browser->RowCount(), 5);
    EXPECT_EQ(doc->Data().GetSortSpec().fields[0], kFieldCity);
    EXPECT_EQ(Text(kCityColumn), "Austin");
}

TEST_F(DbViewsTest, TabFollowsTheEntryOrderAndSkipsSkippedFields)
{
    // Entry order: LastName, then FirstName, City skipped.
    OpenInViews();
    PutU16LE(doc->Header() + dbh::kEntryOrder, 2);
    PutU16LE(doc->Header() + dbh::kEntryOrder + 2, 1);
    PutU16LE(doc->Header() + dbh::kEntryOrder + 2 * kCityColumn, uint16_t(-(kCityColumn + 1)));
    form->Edit(kLastNameColumn)->setFocus();
    QTest::keyClick(form->Edit(kLastNameColumn), Qt::Key_Tab);
    EXPECT_TRUE(form->Edit(0)->hasFocus());
    QTest::keyClick(form->Edit(0), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(form->Edit(kLastNameColumn)->hasFocus());
    // From the last field, on to the first; Shift+Tab from the first goes
    // to the last used field.
    QTest::keyClick(form->Edit(kLastNameColumn), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(form->Edit(20)->hasFocus());
    form->Edit(5)->setFocus();
    QTest::keyClick(form->Edit(5), Qt::Key_Tab);
    EXPECT_TRUE(form->Edit(7)->hasFocus());
}

TEST_F(DbViewsTest, FieldsCheckWhatIsTypedByTheirKind)
{
    OpenInViews();
    EXPECT_NE(qobject_cast<CStateEdit*>(form->Edit(kStateColumn)), nullptr);
    EXPECT_NE(qobject_cast<CZipEdit*>(form->Edit(kZipColumn)), nullptr);
    EXPECT_NE(qobject_cast<CPictureEdit*>(form->Edit(kPictureColumn)), nullptr);
    EXPECT_NE(qobject_cast<CTextEdit*>(form->Edit(kCityColumn)), nullptr);
    EXPECT_EQ(form->Edit(kStateColumn)->Owner(), doc.get());
    EXPECT_EQ(form->Edit(kStateColumn)->Limit(), int32_t(FieldMaxLength(kFieldState)));

    // Domestic: the state is upper-cased and the ZIP code gets its dash as
    // typed, and both reach the record.
    Type(kStateColumn, "ny");
    EXPECT_EQ(Text(kStateColumn), "NY");
    Type(kZipColumn, "123456789");
    EXPECT_EQ(Text(kZipColumn), "12345-6789");
    EXPECT_TRUE(doc->EditsDirty());
    // The menu's paste keeps to the rules: a letter in a ZIP code is refused
    // whole.
    QApplication::clipboard()->setText("12a45");
    form->Edit(kZipColumn)->setFocus();
    form->Edit(kZipColumn)->selectAll();
    EXPECT_TRUE(doc->OnCommand(kCmdEditPaste));
    EXPECT_EQ(Text(kZipColumn), "12345-6789");
    QTest::keyClick(form->Edit(kZipColumn), Qt::Key_Return);
    EXPECT_FALSE(doc->EditsDirty());
    EXPECT_EQ(FieldOf(doc->Data().Current(), kFieldState), "NY");
    EXPECT_EQ(FieldOf(doc->Data().Current(), kFieldZipCode), "12345-6789");
    // A record loaded into the form is not an edit of it.
    QTest::keyClick(form->Edit(kZipColumn), Qt::Key_Down);
    EXPECT_FALSE(doc->EditsDirty());

    // International: neither rewrite happens.
    doc->Header()[dbh::kVerification] = 1;
    Type(kStateColumn, "ny");
    EXPECT_EQ(Text(kStateColumn), "ny");
    Type(kZipColumn, "123456789");
    EXPECT_EQ(Text(kZipColumn), "123456789");
}

TEST_F(DbViewsTest, ImportGraphicsFillsThePictureFieldWhileItHasTheFocus)
{
    OpenInViews();
    // A path that fits the picture field (63 characters), wherever the
    // suite's temporary folder lies.
    SharedFolder shortFolder;
    const std::string picture = shortFolder.file("face.bmp");
    WriteFileBytes(picture, "BM");
    GraphicsFileChooser previous = SetGraphicsFileChooser([&](QWidget*, std::string* chosen) {
        *chosen = picture;
        return true;
    });
    form->Edit(kCityColumn)->setFocus();
    EXPECT_FALSE(Enabled(kCmdImportGraphics));
    form->Edit(kPictureColumn)->setFocus();
    EXPECT_TRUE(Enabled(kCmdImportGraphics));
    EXPECT_TRUE(doc->OnCommand(kCmdImportGraphics));
    SetGraphicsFileChooser(previous);
    EXPECT_EQ(Text(kPictureColumn), picture);
    EXPECT_TRUE(doc->EditsDirty());
    QTest::keyClick(form->Edit(kPictureColumn), Qt::Key_Return);
    EXPECT_EQ(FieldOf(doc->Data().Current(), kFieldPicture), picture);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST(BrsListBoxTest, PagingSelectionAndRowCount)
{
    CBrsListBox list;
    list.Initialise(0, false);
    EXPECT_EQ(list.SetSelection(5), -2);
    EXPECT_EQ(list.Selection(), -1);
    list.resize(200, 4 * list.RowHeight() + 2);
    list.show();
    list.SetRowCount(10, false);
    EXPECT_EQ(list.VisibleRows(), 4);
    list.Scroll(CBrsListBox::kPageDown);
    EXPECT_EQ(list.TopRow(), 3);
    list.Scroll(CBrsListBox::kPageDown);
    EXPECT_EQ(list.TopRow(), 6);
    list.Scroll(CBrsListBox::kPageDown);
    EXPECT_EQ(list.TopRow(), 6);
    list.SetSelection(9);
    list.SetRowCount(5, false);
    EXPECT_EQ(list.Selection(), -1);
    EXPECT_EQ(list.RowFromPoint(0, -5), list.TopRow());
}

TEST(BrsListBoxTest, DraggingBelowScrollsFastFarOutAndStopsOnRelease)
{
    CBrsListBox list;
    list.Initialise(0, false);
    list.resize(200, 4 * list.RowHeight() + 2);
    list.SetRowCount(20, false);
    list.show();
    QTest::mousePress(&list, Qt::LeftButton, {}, QPoint(20, 5));
    QMouseEvent far(QEvent::MouseMove, QPointF(20, list.height() + 40), QPointF(), Qt::NoButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(&list, &far);
    EXPECT_TRUE(list.AutoScrolling());
    EXPECT_EQ(list.AutoScrollInterval(), 5);
    QMouseEvent near(QEvent::MouseMove, QPointF(20, list.height() + 10), QPointF(), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&list, &near);
    EXPECT_EQ(list.AutoScrollInterval(), 40);
    const int32_t top = list.TopRow();
    list.AutoScrollTick();
    EXPECT_EQ(list.TopRow(), top + 1);
    QTest::mouseRelease(&list, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_FALSE(list.AutoScrolling());
}

// The shell's side: the adapter and the factory of the database kind. The
// host makes the window with both views, and takes it down before the
// document goes, as the main frame does.
class DbShellTest : public DbViewsTest, public DocumentFrameHost {
protected:
    bool CreateDocumentFrame(ShellDocument* document, bool) override
    {
        window = std::make_unique<QWidget>();
        auto* layout = new QHBoxLayout(window.get());
        QWidget* left = document->CreateView(0, window.get());
        QWidget* right = document->CreateView(1, window.get());
        if (!left || !right)
            return false;
        layout->addWidget(left);
        layout->addWidget(right);
        window->show();
        return true;
    }
    void DestroyDocumentFrames(ShellDocument*) override
    {
        // The main frame deletes the window later, after the document.
        if (windowsGoLater)
            goingLater = std::move(window);
        window.reset();
        form = nullptr;
        browser = nullptr;
    }
    void ActivateDocumentFrame(ShellDocument*) override {}

    DatabaseShellDocument* OpenThroughShell(DocManager& docs)
    {
        docs.SetFrameHost(this);
        auto kind = std::make_unique<DocTemplate>(130, "Tessaline Database\nDatabase\nDatabase\nDatabase (*.dqx)\n.dqx\nTessalineDB\nTessaline Database",
                                                  ChildFrameKind::kDatabase);
        kind->SetFactory(std::make_unique<DatabaseDocumentFactory>());
        DocTemplate* t = docs.AddTemplate(std::move(kind));
        auto* shell = dynamic_cast<DatabaseShellDocument*>(docs.OpenDocument(t, dir.file("people.dqx"), true));
        if (!shell)
            return nullptr;
        form = shell->DataEntryView();
        browser = shell->BrowserView();
        return shell;
    }

    bool windowsGoLater = false;
    std::unique_ptr<QWidget> goingLater;
};

TEST_F(DbShellTest, AWindowThatOutlivesItsDocumentReachesItNoMore)
{
    DocManager docs;
    windowsGoLater = true;
    DatabaseShellDocument* shell = OpenThroughShell(docs);
    ASSERT_NE(shell, nullptr);
    CViewDataEntry* formView = form;
    CViewBrowser* listView = browser;
    Prompts prompts;
    ASSERT_TRUE(docs.CanCloseAndClose(shell));
    ASSERT_NE(goingLater, nullptr);
    EXPECT_EQ(formView->Document(), nullptr);
    EXPECT_EQ(listView->Document(), nullptr);
    EXPECT_EQ(formView->Edit(kCityColumn)->Owner(), nullptr);
    // What still happens to the window before it goes touches nothing freed.
    QTest::keyClicks(formView->Edit(kCityColumn), "x");
    QTest::keyClick(formView->Edit(kCityColumn), Qt::Key_Tab);
    goingLater.reset();
}

TEST_F(DbShellTest, ClosingWithUncommittedTypingAsksAndCancelKeepsEverything)
{
    DocManager docs;
    DatabaseShellDocument* shell = OpenThroughShell(docs);
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(shell->Title(), "people.dqx");
    EXPECT_FALSE(shell->IsModified());
    Type(kCityColumn, "Zurich");
    EXPECT_TRUE(shell->IsModified());

    Prompts prompts;
    prompts.answer = ShellPrompts::kCancel;
    EXPECT_FALSE(docs.CanCloseAndClose(shell));
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(docs.DocumentCount(), 1);
    EXPECT_EQ(Text(kCityColumn), "Zurich");
    EXPECT_TRUE(shell->IsModified());

    prompts.answer = ShellPrompts::kYes;
    EXPECT_TRUE(docs.CanCloseAndClose(shell));
    EXPECT_EQ(docs.DocumentCount(), 0);
    window.reset();
    DatabaseSession db;
    ASSERT_TRUE(db.Open(path));
    ASSERT_GE(db.Data().GotoRecord(0, false, true), 0);
    EXPECT_EQ(FieldOf(db.Data().Current(), kFieldCity), "Zurich");
    db.CloseUnchanged();
}

TEST_F(DbShellTest, NoDropsTheTypingAndSaveIsNeverOffered)
{
    DocManager docs;
    DatabaseShellDocument* shell = OpenThroughShell(docs);
    ASSERT_NE(shell, nullptr);
    CmdUI save(kCmdFileSave);
    ASSERT_TRUE(shell->OnUpdateCommand(save));
    EXPECT_FALSE(save.enabled);
    Type(kLastNameColumn, "Nobody");
    Prompts prompts;
    prompts.answer = ShellPrompts::kNo;
    EXPECT_TRUE(docs.CanCloseAndClose(shell));
    window.reset();
    EXPECT_EQ(LastNames(path).count("Nobody"), 0u);
    EXPECT_EQ(LastNames(path).size(), 5u);
}

TEST_F(DbShellTest, AFileThatIsNoDatabaseIsRefused)
{
    DocManager docs;
    auto kind = std::make_unique<DocTemplate>(130, "Tessaline Database\nDatabase\nDatabase\nDatabase (*.dqx)\n.dqx\nTessalineDB\nTessaline Database",
                                              ChildFrameKind::kDatabase);
    kind->SetFactory(std::make_unique<DatabaseDocumentFactory>());
    DocTemplate* t = docs.AddTemplate(std::move(kind));
    WriteFileBytes(dir.file("junk.dqx"), std::string(7000, 'x'));
    EXPECT_EQ(docs.OpenDocument(t, dir.file("junk.dqx"), true), nullptr);
    EXPECT_FALSE(alerts.boxes().empty());
    EXPECT_EQ(docs.DocumentCount(), 0);
}

}  // namespace
