// The database window at the edges a new user meets: an office list of
// 32,000 customers in a window of any size, a spreadsheet export too long
// for the database or with a character it has no place for, the files the
// File menu remembers, and a database of another user that may only be
// read.
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QSplitter>
#include <QSplitterHandle>

#include "app/ch_frame_db.h"
#include "app/main_frame.h"
#include "app/tool_bar_db.h"
#include "database/data_file.h"
#include "database/field_table.h"
#include "dbdoc/brs_list_box.h"
#include "dbdoc/cdb_document.h"
#include "dbdoc/db_dialogs.h"
#include "dbdoc/export_report_db_dialogs.h"
#include "dbdoc/import_db_dialog.h"
#include "dbdoc/view_browser.h"
#include "as_another_user.h"
#include "journey_fixture.h"
#include "support/shared_folder.h"
#include "records/menu_resources.h"
#include "support/shell.h"

namespace {

class DatabaseEdgesJourney : public JourneyTest {
protected:
    CDBDocument* OpenDatabase(const std::string& path)
    {
        OnNextDialog(ChooseFile(path));
        Trigger("File > Open > Database...");
        Settle();
        return DatabaseDocument();
    }

    CChFrameDB* DatabaseWindow()
    {
        for (DocumentChildFrame* frame : MainWindow()->ChildFrames())
            if (auto* window = dynamic_cast<CChFrameDB*>(frame); window && window->isVisible())
                return window;
        return nullptr;
    }

    // The three record counters under the list, with the texts they show
    // and whether each shows every character of it.
    std::vector<QString> Counters(bool* whole)
    {
        *whole = true;
        std::vector<QString> texts;
        for (int id = kStatusCurrentId; id < kStatusCurrentId + 3; ++id) {
            auto* label = DatabaseDocument()->Browser()->findChild<QLabel*>(QString("status%1").arg(id));
            if (!label) {
                ADD_FAILURE() << "no counter " << id;
                *whole = false;
                continue;
            }
            texts.push_back(label->text());
            const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
            const QRect shown = label->geometry().intersected(label->parentWidget()->rect());
            if (!label->isVisible() || shown.width() < needed)
                *whole = false;
        }
        return texts;
    }

    // The Import dialog as it opens, accepted.
    static DialogDriver AcceptImport()
    {
        return [](QWidget* dialog) {
            auto* import = dynamic_cast<CDlgImportDB*>(dialog);
            EXPECT_NE(import, nullptr) << dialog->metaObject()->className();
            static_cast<QDialog*>(dialog)->accept();
        };
    }
};

TEST_F(DatabaseEdgesJourney, CountersShowEveryDigitAndAMaximisedWindowGrowsItsListAndForm)
{
    const std::string path = TempFile("Customers.dqx");
    Tool("db new '" + path + "'");
    Tool("db fill '" + path + "' 32000 --seed 16");
    ASSERT_NE(OpenDatabase(path), nullptr) << alerts.lastText();
    CChFrameDB* window = DatabaseWindow();
    ASSERT_NE(window, nullptr);

    bool whole = false;
    EXPECT_EQ(Counters(&whole), (std::vector<QString>{"1", "32000", "32000"}));
    EXPECT_TRUE(whole) << "as the window opens";

    // The list dragged as narrow as it goes, then the window.
    auto* splitter = window->findChild<QSplitter*>();
    ASSERT_NE(splitter, nullptr);
    QSplitterHandle* handle = splitter->handle(1);
    const QPoint middle = handle->rect().center();
    Drag(middle, {middle - QPoint(40, 0), middle - QPoint(400, 0)}, Qt::NoModifier, handle);
    Settle();
    Counters(&whole);
    EXPECT_TRUE(whole) << "with the list dragged narrow";
    // The window's corner dragged as far up and left as it goes.
    const QPoint corner = window->rect().bottomRight() - QPoint(2, 2);
    Drag(corner, {corner - QPoint(50, 50), QPoint(-400, -400)}, Qt::NoModifier, window);
    Settle();
    ASSERT_LT(window->width(), window->GetMaxTrackSize().width()) << "the corner did not move";
    Counters(&whole);
    EXPECT_TRUE(whole) << "in the smallest window";
    window->resize(window->GetMaxTrackSize());
    Settle();

    // The title bar's maximise button: the list and the form take the work
    // area; restored, the window is as it was.
    CBrsListBox* list = DatabaseDocument()->Browser()->List();
    QWidget* form = window->DataEntry();
    const QSize normal = window->size();
    const int rows = list->VisibleRows();
    const int formWidth = form->width();
    ASSERT_LT(normal.height() + 100, MainWindow()->MdiArea()->viewport()->height())
        << "the work area leaves no room to grow";
    window->showMaximized();
    Settle();
    EXPECT_GT(list->VisibleRows(), rows);
    EXPECT_GT(form->width(), formWidth);
    EXPECT_EQ(window->size(), MainWindow()->MdiArea()->viewport()->size());
    Counters(&whole);
    EXPECT_TRUE(whole) << "maximised";
    window->showNormal();
    Settle();
    EXPECT_EQ(window->size(), normal);
}

TEST_F(DatabaseEdgesJourney, AFailedImportSaysOnlyTheFailureAndRecentFileListsTheDatabases)
{
    // File > New > Database..., then another opened: File > Recent File
    // lists both, the latest first.
    const std::string fresh = TempFile("Created.dqx");
    OnNextDialog(ChooseFile(fresh));
    ASSERT_TRUE(Trigger("File > New > Database..."));
    ASSERT_NE(DatabaseDocument(), nullptr) << alerts.lastText();
    ASSERT_NE(OpenDatabase(CopySample("Contacts.dqx")), nullptr) << alerts.lastText();
    ASSERT_TRUE(Enabled(kCmdRecentFile1));
    EXPECT_TRUE(Action(kCmdRecentFile1)->text().endsWith("Contacts.dqx"))
        << Action(kCmdRecentFile1)->text().toStdString();
    ASSERT_TRUE(Enabled(kCmdRecentFile1 + 1));
    EXPECT_TRUE(Action(kCmdRecentFile1 + 1)->text().endsWith("Created.dqx"));

    // A spreadsheet export one line longer than the room left (24 records
    // are there), saved as tab-separated text, with characters that have
    // no place in the database: the import dialog offers *.tsv files, and
    // the failure alone is said, with the counts.
    std::string lines;
    for (int i = 0; i < 31977; ++i)
        lines += "\xC5\x81ukasz\tNowak\tCaf\xC3\xA9 \"Zorba\"\r\n";
    const std::string big = TempFile("customers.tsv");
    WriteFileBytes(big, lines);
    QStringList filters;
    OnNextDialog([&](QWidget* dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(dialog))
            filters = files->nameFilters();
        ChooseFile(big)(dialog);
    });
    OnNextDialog(AcceptImport());
    alerts.clear();
    ASSERT_TRUE(Trigger("File > Import Database..."));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_TRUE(filters.join(";").contains("*.tsv")) << filters.join(";").toStdString();
    EXPECT_TRUE(filters.join(";").contains("*.tab")) << filters.join(";").toStdString();
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_EQ(alerts.lastText(), "\"customers.tsv\" holds 31977 records, and the database has room for 31976 more "
                                 "records (a database holds at most 32000 records). Nothing was imported.");
    EXPECT_EQ(DatabaseDocument()->Data().GetLiveCount(), 24);

    // One character without a place is one character.
    const std::string one = TempFile("one.tab");
    WriteFileBytes(one, "\xC5\x81ukasz\tNowak\r\n");
    OnNextDialog(ChooseFile(one));
    OnNextDialog(AcceptImport());
    alerts.clear();
    ASSERT_TRUE(Trigger("File > Import Database..."));
    EXPECT_EQ(DatabaseDocument()->Data().GetLiveCount(), 25);
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_EQ(alerts.lastText(),
              "1 character of the file has no place in the database's character set; it was stored as \"?\" (in "
              "line 1 of the file).");
}

TEST_F(DatabaseEdgesJourney, AnImportSaysWhichFieldsWereCutAndSkipsBlankLines)
{
    ASSERT_NE(OpenDatabase(CopySample("Contacts.dqx")), nullptr) << alerts.lastText();
    // A file of blank lines makes no records, whatever ends its lines:
    // they are counted as an editor counts them.
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(int(end[0]) + int(end[1]));
        const std::string blank = TempFile("blank.txt");
        std::string lines;
        for (int i = 0; i < 31001; ++i)
            lines += end;
        WriteFileBytes(blank, lines);
        OnNextDialog(ChooseFile(blank));
        OnNextDialog(AcceptImport());
        alerts.clear();
        ASSERT_TRUE(Trigger("File > Import Database..."));
        EXPECT_EQ(DatabaseDocument()->Data().GetLiveCount(), 24);
        ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
        EXPECT_EQ(alerts.lastText(), "31001 blank lines were skipped: a line without characters is no record.");
    }

    // A first name past its field's 18 characters, a last name of a
    // megabyte, a character without a place, and blank lines between.
    // LF line ends: the sixth line is named the sixth.
    const std::string mixed = TempFile("mixed.txt");
    WriteFileBytes(mixed, "Ada,Abbott\n\nMaximiliano-Alejandro,Ruiz\n\n\nJo,Kowalsk\xC4\x85\nEve," +
                              std::string(1 << 20, 'x') + "\n");
    OnNextDialog(ChooseFile(mixed));
    OnNextDialog(AcceptImport());
    alerts.clear();
    ASSERT_TRUE(Trigger("File > Import Database..."));
    EXPECT_EQ(DatabaseDocument()->Data().GetLiveCount(), 28);
    ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();
    EXPECT_EQ(alerts.lastText(),
              "1 character of the file has no place in the database's character set; it was stored as \"?\" (in "
              "line 6 of the file).\n"
              "2 fields were longer than their database fields hold and were cut to fit (the first: the FirstName "
              "of line 3 of the file, cut to 18 characters).\n"
              "3 blank lines were skipped: a line without characters is no record.");
}

TEST_F(DatabaseEdgesJourney, AnotherUsersDatabaseOpensReadOnlyToBrowseSortQueryExportAndPrint)
{
    // The other user may reach "shared" and keep his temporary files in a
    // folder of his own: the suite's folders may be closed to him.
    SharedFolder reachable;
    ASSERT_TRUE(reachable.ok());
    const std::string shared = reachable.file("shared");
    ::mkdir(shared.c_str(), 0777);
    ::chmod(shared.c_str(), 0777);
    const std::string theirTemp = reachable.file("tmp");
    ::mkdir(theirTemp.c_str(), 0777);
    ::chmod(theirTemp.c_str(), 0777);
    const std::string database = shared + "/Theirs.dqx";
    QFile::copy(QString::fromStdString(CopySample("Contacts.dqx")), QString::fromStdString(database));
    ::chmod(database.c_str(), 0644);
    const std::string card = shared + "/Card.lqx";
    QFile::copy(QString::fromStdString(CopySample("Business Card.lqx")), QString::fromStdString(card));
    ::chmod(card.c_str(), 0644);
    const std::string original = ReadFileBytes(database);
    {
        AsAnotherUser other(theirTemp);
        ASSERT_NE(OpenDatabase(database), nullptr) << alerts.lastText();
        EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
        EXPECT_EQ(DatabaseWindow()->windowTitle(), "Theirs.dqx (Read-Only)");
        CDBDocument* document = DatabaseDocument();
        ASSERT_EQ(document->Data().GetLiveCount(), 24);

        // What would change it is greyed; the form takes no typing.
        EXPECT_FALSE(Enabled("Database > New Record"));
        EXPECT_FALSE(Enabled("Database > Delete Record"));
        EXPECT_FALSE(Enabled("File > Import Database..."));
        EXPECT_FALSE(Enabled("File > Merge Database..."));
        QLineEdit* last = document->FieldEdit(FieldIndexOfId(kFieldLastName, 0));
        const QString name = last->text();
        last->setFocus();
        Type("Changed", last);
        Key(Qt::Key_Return, Qt::NoModifier, last);
        EXPECT_EQ(last->text(), name);

        // Sort by City from the tool bar, then a query.
        QComboBox* sort = MainWindow()->DatabaseBar()->SortCombo();
        const int city = FieldIndexOfId(kFieldCity, 1);
        sort->setCurrentIndex(city);
        Q_EMIT sort->activated(city);
        Settle();
        EXPECT_EQ(document->Browser()->List()->RowCount(), 24);
        OnNextDialog(LastNameContains("e"));
        ASSERT_TRUE(Trigger("Database > Query..."));
        const int found = document->Browser()->List()->RowCount();
        EXPECT_GT(found, 0);
        EXPECT_LT(found, 24);

        // The selection exported into the shared folder.
        const std::string text = shared + "/selection.txt";
        OnNextDialog(Accept());
        OnNextDialog(ChooseFile(text));
        ASSERT_TRUE(Trigger("File > Export > Database..."));
        const std::string exported = ReadFileBytes(text);
        EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), found);

        // The card printed from the database's records.
        ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
        const std::string pdf = shared + "/cards.pdf";
        OnNextDialog(PrintToPdfFile(pdf));
        ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
        ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf))) << alerts.lastText();
        const std::string printed = PdfText(pdf);
        EXPECT_NE(printed.find("@"), std::string::npos) << printed.substr(0, 300);
        Trigger("File > Close");

        // Save As makes a copy of the user's own, to change.
        ASSERT_TRUE(ChooseWindow("Theirs.dqx"));
        OnNextDialog(ChooseFile(shared + "/Mine.dqx"));
        ASSERT_TRUE(Trigger("File > Save As..."));
        EXPECT_EQ(DatabaseWindow()->windowTitle(), "Mine.dqx");
        EXPECT_TRUE(Enabled("Database > New Record"));
        ASSERT_TRUE(Trigger("File > Close"));
    }
    EXPECT_NE(Tool("db dump '" + shared + "/Mine.dqx'").find("Abbott"), std::string::npos);
    // Nothing was written to it or beside it.
    EXPECT_EQ(ReadFileBytes(database), original);
    QStringList beside = QDir(QString::fromStdString(shared)).entryList(QDir::Files);
    beside.sort();
    EXPECT_EQ(beside.join(" ").toStdString(), "Card.lqx Mine.dqx Theirs.dqx cards.pdf selection.txt");
}

}  // namespace
