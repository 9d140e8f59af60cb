// The database window as a new user meets it with an address book of a
// few hundred contacts: the keys the menus show work wherever the caret
// is, the list shows the records in the order the database holds them
// after every sort, and the highlighted row is always the record the form
// edits.
#include <algorithm>
#include <filesystem>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QTest>

#include "app/main_frame.h"
#include "app/tool_bar_db.h"
#include "database/data_file.h"
#include "database/db_test_util.h"
#include "database/field_table.h"
#include "database/index_mark.h"
#include "database/record_file_format.h"
#include "database/record_layout.h"
#include "dbdoc/brs_list_box.h"
#include "dbdoc/cdb_document.h"
#include "dbdoc/db_dialogs.h"
#include "dbdoc/view_browser.h"
#include "foundation/alert_sink.h"
#include "foundation/byte_order.h"
#include "foundation/cp1252.h"
#include "journey_fixture.h"
#include "records/command_ids.h"
#include "support/shell.h"
#include "typography/font_size_combo_box.h"

namespace {

constexpr int32_t kFirstNameColumn = 0;
constexpr int32_t kLastNameColumn = 1;

class DatabaseWindowJourney : public JourneyTest {
protected:
    // 500 generated contacts (accents, quotes, two-line addresses), opened
    // through File > Open > Database...
    CDBDocument* OpenAddressBook()
    {
        const std::string path = TempFile("Address Book.dqx");
        Tool("db new '" + path + "'");
        Tool("db fill '" + path + "' 500 --seed 22");
        OnNextDialog(ChooseFile(path));
        Trigger("File > Open > Database...");
        return DatabaseDocument();
    }

    CBrsListBox* List() { return DatabaseDocument()->Browser()->List(); }
    QLineEdit* Field(int32_t column) { return DatabaseDocument()->FieldEdit(column); }

    // The rows the list shows, scrolled through page by page.
    std::vector<std::string> ShownRows()
    {
        CBrsListBox* list = List();
        std::vector<std::string> rows;
        const int32_t page = std::max(1, list->VisibleRows() - 1);
        for (int32_t top = 0; top < list->RowCount(); top += page) {
            list->Scroll(CBrsListBox::kThumb, top);
            Settle(0);
            const int32_t end = std::min(list->RowCount(), list->TopRow() + list->VisibleRows());
            for (int32_t row = std::max(list->TopRow(), int32_t(rows.size())); row < end; ++row)
                rows.push_back(list->RowText(row).toStdString());
        }
        return rows;
    }

    // The LastNames of the records in the order the database holds them.
    std::vector<std::string> HeldRows()
    {
        std::vector<std::string> rows;
        ForEachHeldRecord(DatabaseDocument()->Data(), [&rows](const CardRecord& record) {
            char text[256] = {};
            record.GetFieldText(kFieldLastName, text);
            rows.push_back(Cp1252ToQString(text).toStdString());
        });
        return rows;
    }

    // The highlighted row is the record the form shows.
    void ExpectRowIsForm()
    {
        const int32_t row = List()->Selection();
        ASSERT_GE(row, 0);
        EXPECT_EQ(List()->RowText(row), Field(kLastNameColumn)->text()) << "row " << row;
    }

    void ChooseSortField(int32_t fieldId)
    {
        QComboBox* combo = MainWindow()->DatabaseBar()->SortCombo();
        const int32_t entry = FieldIndexOfId(fieldId, 1);
        combo->setCurrentIndex(entry);
        Q_EMIT combo->activated(entry);
        Settle();
    }
};

TEST_F(DatabaseWindowJourney, AKeyTheMenusShowRunsItsCommandWhereverTheCaretIs)
{
    ASSERT_NE(OpenAddressBook(), nullptr) << alerts.lastText();
    QLineEdit* first = Field(kFirstNameColumn);
    first->setFocus();
    Settle();
    const QString name = first->text();
    ASSERT_FALSE(name.isEmpty());
    first->setCursorPosition(int(name.size()));

    // Ctrl+U is Query..., not the field's delete-to-the-start.
    bool queried = false;
    OnNextDialog([&](QWidget* dialog) {
        queried = dynamic_cast<CDlgQuery*>(dialog) != nullptr;
        Reject()(dialog);
    });
    Key(Qt::Key_U, Qt::ControlModifier, first);
    EXPECT_TRUE(queried);
    EXPECT_EQ(first->text(), name);
    EXPECT_FALSE(DatabaseDocument()->EditsDirty());
    EXPECT_EQ(Action(kCmdEditUndo)->text().section('\t', 0, 0), "Can't Undo");

    // Ctrl+A is Edit > Select All; Ctrl+R Show All Records, the caret in a
    // field all along.
    Key(Qt::Key_A, Qt::ControlModifier, first);
    EXPECT_EQ(first->selectedText(), name);
    Key(Qt::Key_R, Qt::ControlModifier, first);
    EXPECT_EQ(first->text(), Field(kFirstNameColumn)->text());
    EXPECT_EQ(PendingDialogs(), 0u);

    // In a card window the tool bar's size box gives Ctrl+U to UnGroup.
    Trigger("File > Close");
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    auto* size = MainWindow()->findChild<FontSizeComboBox*>();
    ASSERT_NE(size, nullptr);
    size->lineEdit()->setFocus();
    size->lineEdit()->setText("12");
    size->lineEdit()->setCursorPosition(2);
    Key(Qt::Key_U, Qt::ControlModifier, size->lineEdit());
    EXPECT_EQ(size->lineEdit()->text(), "12");
}

TEST_F(DatabaseWindowJourney, TheListShowsTheHeldOrderAfterEverySort)
{
    ASSERT_NE(OpenAddressBook(), nullptr) << alerts.lastText();
    EXPECT_EQ(ShownRows(), HeldRows());
    // The tool bar's Sort by: City, then back to LastName, somewhere in
    // the middle of the list.
    DatabaseDocument()->SelectRow(250);
    ChooseSortField(kFieldCity);
    DatabaseDocument()->SelectRow(400);
    ChooseSortField(kFieldLastName);
    std::vector<std::string> shown = ShownRows();
    EXPECT_EQ(shown, HeldRows());
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
    })) << "the held order itself is not by LastName";
    ExpectRowIsForm();

    // Database > Sort..., LastName ascending.
    DatabaseDocument()->SelectRow(123);
    OnNextDialog([](QWidget* dialog) {
        auto* sort = dynamic_cast<CDlgSortCriteria*>(dialog);
        ASSERT_NE(sort, nullptr);
        sort->Combo(0)->setCurrentIndex(FieldIndexOfId(kFieldLastName, 1));
        sort->SetDescending(false);
        Accept()(dialog);
    });
    Trigger("Database > Sort...");
    EXPECT_EQ(ShownRows(), HeldRows());
    ExpectRowIsForm();
}

// A database that keeps its index between sessions uses it only while it is
// the index that database was last closed with, beside the records it was
// closed with. Another database's index put in its place, and an older copy
// of its own put back after another program changed a name in place, are
// built anew at the open: the list shows the database's own records, in
// order, without a word of damage.
TEST_F(DatabaseWindowJourney, AnIndexThatIsNotTheDatabasesOwnIsBuiltAnewAtTheOpen)
{
    const auto make = [this](const std::string& name, int seed) {
        const std::string path = TempFile(name);
        Tool("db new '" + path + "'");
        std::string bytes = ReadFileBytes(path);
        bytes[dbh::kPrefDeleteIndex] = bytes[dbh::kPrefDeleteIndex + 1] = 0;
        WriteFileBytes(path, bytes);
        Tool("db fill '" + path + "' 100 --seed " + std::to_string(seed));
        return path;
    };
    // The LastNames as a new selection lists them.
    const auto listed = [this](const std::string& path) {
        std::vector<std::string> names;
        const QStringList lines = QString::fromLatin1(Tool("db dump '" + path + "'")).split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            if (!lines[i].isEmpty())
                names.push_back(Cp1252ToQString(lines[i].section('\t', 3, 3).toLatin1().constData()).toStdString());
        }
        return names;
    };
    const auto opensListing = [this](const std::string& path, const std::vector<std::string>& names) {
        alerts.clear();
        OnNextDialog(ChooseFile(path));
        Trigger("File > Open > Database...");
        ASSERT_NE(DatabaseDocument(), nullptr) << alerts.lastText();
        EXPECT_EQ(ShownRows(), names);
        Trigger("File > Close");
        EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    };
    const std::string a = make("A.dqx", 1);
    const std::string b = make("B.dqx", 2);
    const auto replace = [](const std::string& from, const std::string& to) {
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    };
    replace(TempFile("B.idx"), TempFile("A.idx"));
    opensListing(a, listed(a));

    // Another program changes the first name of the list in place to one
    // as long that comes last; the name it became.
    const auto renameFirst = [&] {
        std::string bytes = ReadFileBytes(a);
        const std::string first = listed(a).front();
        const std::string last = "Z" + std::string(first.size() - 1, 'z');
        for (size_t at = kDbDataStart; at < bytes.size();) {
            const auto* head = reinterpret_cast<const uint8_t*>(bytes.data() + at);
            const size_t name = at + dbrec::kBodies + head[dbrec::kLengths] + head[dbrec::kLengths + 1] +
                                head[dbrec::kLengths + 2];
            if (bytes.compare(name, first.size(), first) == 0 &&
                head[dbrec::kLengths + kFieldLastName] == first.size()) {
                bytes.replace(name, first.size(), last);
                break;
            }
            at += size_t(RecordLength(head));
        }
        WriteFileBytes(a, bytes);
        return last;
    };
    // Under the index this database closed with.
    std::string renamed = renameFirst();
    std::vector<std::string> names = listed(a);
    ASSERT_EQ(names.back(), renamed);
    opensListing(a, names);

    // Then its index is built anew, and the older copy put back.
    replace(TempFile("A.idx"), TempFile("A-before.idx"));
    renamed = renameFirst();
    std::filesystem::remove(TempFile("A.idx"));
    Tool("db fill '" + a + "' 0");
    replace(TempFile("A-before.idx"), TempFile("A.idx"));
    names = listed(a);
    ASSERT_EQ(names.back(), renamed);
    opensListing(a, names);
}

// An index that passes the open's check yet points the list between the
// records (another database's, with the mark rewritten to name it): the
// list says so only once it has painted, never from inside a paint, where
// a box's own event loop kills the program; then the index is built anew
// and the list shows the database's own records in order.
TEST_F(DatabaseWindowJourney, AnIndexThatPointsBetweenTheRecordsIsBuiltAnewWithoutABoxInsideAPaint)
{
    const auto make = [this](const std::string& name, int sortField) {
        const std::string path = TempFile(name);
        Tool("db new '" + path + "'");
        std::string bytes = ReadFileBytes(path);
        bytes[dbh::kPrefDeleteIndex] = bytes[dbh::kPrefDeleteIndex + 1] = 0;
        PutU16LE(reinterpret_cast<uint8_t*>(&bytes[dbh::kSortSpec]), uint16_t(sortField));
        WriteFileBytes(path, bytes);
        return path;
    };
    const std::string ours = make("Ours.dqx", kFieldLastName);
    Tool("db fill '" + ours + "' 300 --seed 1");
    // The other begins with the same records, so that its index meets ours
    // at their places too, and goes on with others of other lengths.
    const std::string theirs = make("Theirs.dqx", kFieldCity);
    Tool("db fill '" + theirs + "' 150 --seed 1");
    Tool("db fill '" + theirs + "' 150 --seed 2");
    std::filesystem::copy_file(TempFile("Theirs.idx"), TempFile("Ours.idx"),
                               std::filesystem::copy_options::overwrite_existing);
    std::string bytes = ReadFileBytes(ours);
    const std::string other = ReadFileBytes(theirs);
    auto* header = reinterpret_cast<uint8_t*>(bytes.data());
    PutIndexMark(header, GetU32LE(reinterpret_cast<const uint8_t*>(other.data()) + dbh::kIndexMarkIndex),
                 GetU32LE(header + dbh::kIndexMarkRecords));
    WriteFileBytes(ours, bytes);
    ASSERT_NE(Tool("db verify '" + ours + "'").find("sound"), std::string::npos);

    // Every box is asked whether a list is painting as it opens.
    struct PaintWatch final : QObject, AlertSink {
        AlertSink* next = SetAlertSink(this);
        bool painting = false;
        std::vector<std::string> saidInPaint;
        ~PaintWatch() override { SetAlertSink(next); }
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() != QEvent::Paint || !dynamic_cast<CBrsListBox*>(watched) || painting)
                return false;
            painting = true;
            watched->event(event);
            painting = false;
            return true;
        }
        int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t style) override
        {
            if (painting)
                saidInPaint.push_back(text);
            return next->MessageBox(text, caption, style);
        }
        void Beep(uint32_t kind) override { next->Beep(kind); }
    } watch;
    qApp->installEventFilter(&watch);
    OnNextDialog(ChooseFile(ours));
    Trigger("File > Open > Database...");
    ASSERT_NE(DatabaseDocument(), nullptr) << alerts.lastText();
    Settle();
    qApp->removeEventFilter(&watch);
    EXPECT_TRUE(watch.saidInPaint.empty()) << watch.saidInPaint.front();
    EXPECT_NE(alerts.lastText().find("Ours.dqx: its index did not belong to its records"), std::string::npos)
        << alerts.lastText();
    EXPECT_EQ(ShownRows(), HeldRows());
    EXPECT_EQ(List()->RowCount(), 300);
    Trigger("File > Close");
    EXPECT_NE(Tool("db verify '" + ours + "'").find("300 records, 0 deleted, 0 new: sound"), std::string::npos);
}

TEST_F(DatabaseWindowJourney, TypingGoesIntoTheHighlightedRecordAfterAQueryAndShowAll)
{
    ASSERT_NE(OpenAddressBook(), nullptr) << alerts.lastText();
    DatabaseDocument()->SelectRow(321);
    OnNextDialog(LastNameContains("e"));
    Trigger("Database > Query...");
    ASSERT_GT(List()->RowCount(), 10);
    ASSERT_LT(List()->RowCount(), 500);
    EXPECT_EQ(ShownRows(), HeldRows());
    ExpectRowIsForm();

    // What is typed lands in the highlighted record.
    const std::string highlighted = List()->RowText(List()->Selection()).toStdString();
    QLineEdit* first = Field(kFirstNameColumn);
    first->setFocus();
    first->selectAll();
    Type("Quentin", first);
    Key(Qt::Key_Return, Qt::NoModifier, first);
    ExpectRowIsForm();
    EXPECT_EQ(first->text(), "Quentin");

    DatabaseDocument()->SelectRow(5);
    Key(Qt::Key_R, Qt::ControlModifier, first);  // Show All Records
    EXPECT_EQ(List()->RowCount(), 500);
    EXPECT_EQ(ShownRows(), HeldRows());
    ExpectRowIsForm();

    const std::string path = TempFile("Address Book.dqx");
    Trigger("File > Close");
    const std::string dump = Tool("db dump '" + path + "'");
    size_t quentins = 0;
    for (size_t at = dump.find("\tQuentin\t"); at != std::string::npos; at = dump.find("\tQuentin\t", at + 1)) {
        ++quentins;
        const size_t lineStart = dump.rfind('\n', at) + 1;
        const size_t lineEnd = dump.find('\n', at);
        const std::string line = dump.substr(lineStart, lineEnd - lineStart);
        EXPECT_NE(line.find("\tQuentin\t" + QStringToCp1252(QString::fromStdString(highlighted)) + "\t"),
                  std::string::npos)
            << line;
    }
    EXPECT_EQ(quentins, 1u);
}

TEST_F(DatabaseWindowJourney, LettersTheDatabaseCannotHoldAreRefusedAsTheyAreTypedOrPasted)
{
    ASSERT_NE(OpenAddressBook(), nullptr) << alerts.lastText();
    QLineEdit* last = Field(kLastNameColumn);
    last->setFocus();
    last->selectAll();
    alerts.clear();
    // As a keyboard with these letters sends them.
    for (const char16_t letter : {u'\u0141', u'\u0119', u'\u03A9'})
        QTest::sendKeyEvent(QTest::Click, last, Qt::Key_unknown, QString(QChar(letter)), Qt::NoModifier);
    Type("cki", last);
    EXPECT_EQ(last->text(), "cki");
    EXPECT_EQ(alerts.beeps().size(), 3u);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // A paste keeps what the database can hold, and says once how much it
    // left out.
    last->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("\u0141\u0119cka-M\u00fcller\u03A9"));
    Key(Qt::Key_V, Qt::ControlModifier, last);
    EXPECT_EQ(last->text(), QStringLiteral("cka-M\u00fcller"));
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(),
              "3 characters of the pasted text have no place in the database's character set; they were left out.");
    Key(Qt::Key_Return, Qt::NoModifier, last);
    EXPECT_EQ(last->text(), QStringLiteral("cka-M\u00fcller"));
    const std::string path = TempFile("Address Book.dqx");
    Trigger("File > Close");
    EXPECT_NE(Tool("db dump '" + path + "'").find("\tcka-M\xFCller\t"), std::string::npos);
}

TEST_F(DatabaseWindowJourney, ALineCopiedWithItsLineEndPastesAndARefusedPasteSaysWhy)
{
    ASSERT_NE(OpenAddressBook(), nullptr) << alerts.lastText();
    constexpr int32_t kCompanyColumn = 3;
    QLineEdit* company = Field(kCompanyColumn);
    company->setFocus();
    alerts.clear();
    // As a spreadsheet's cell or an editor's line is copied: the one line
    // end at the end is no part of the value.
    for (const char* copied : {"Acme Corp\n", "Acme Corp\r\n", "Acme Corp\r"}) {
        company->clear();
        QApplication::clipboard()->setText(QString::fromLatin1(copied));
        Key(Qt::Key_V, Qt::ControlModifier, company);
        EXPECT_EQ(company->text(), "Acme Corp") << copied;
    }
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // Two lines, or more than the field holds, are refused with the reason.
    company->selectAll();
    QApplication::clipboard()->setText("Acme\nCorp");
    Key(Qt::Key_V, Qt::ControlModifier, company);
    EXPECT_EQ(company->text(), "Acme Corp");
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(), "The pasted text was not pasted: this field holds one line, without tabs or line ends.");
    company->selectAll();
    QApplication::clipboard()->setText(QString(300, QLatin1Char('x')));
    Key(Qt::Key_V, Qt::ControlModifier, company);
    EXPECT_EQ(company->text(), "Acme Corp");
    ASSERT_EQ(alerts.boxes().size(), 2u);
    EXPECT_EQ(alerts.lastText().rfind("The pasted text was not pasted: it is longer than the ", 0), 0u)
        << alerts.lastText();

    Key(Qt::Key_Return, Qt::NoModifier, company);
    const std::string path = TempFile("Address Book.dqx");
    Trigger("File > Close");
    EXPECT_NE(Tool("db dump '" + path + "'").find("\tAcme Corp\t"), std::string::npos);
}

TEST_F(DatabaseWindowJourney, ThePictureFieldTakesAPathAndRefusesOneLongerThanItHolds)
{
    ASSERT_NE(OpenAddressBook(), nullptr) << alerts.lastText();
    constexpr int32_t kPictureColumn = 14;
    // A photo in the home folder, named as the shell names it: the field
    // takes the path and finds the file.
    ASSERT_TRUE(QDir().mkpath(QDir::homePath() + "/photos"));
    WriteFileBytes((QDir::homePath() + "/photos/p040.jpg").toStdString(), "\xFF\xD8");
    QLineEdit* picture = Field(kPictureColumn);
    picture->setFocus();
    picture->selectAll();
    alerts.clear();
    Type("~/photos/p040.jpg", picture);
    EXPECT_EQ(picture->text(), "~/photos/p040.jpg");
    Key(Qt::Key_Tab, Qt::NoModifier, picture);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    picture->setFocus();

    // A picture chosen deep in folders: its path is longer than the field.
    QString folder = QString::fromStdString(TempFile("photos of the summer holidays by the sea"));
    folder += "/second week";
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::string file = (folder + "/p040.bmp").toStdString();
    WriteFileBytes(file, "BM");
    ASSERT_GT(file.size(), 63u);
    alerts.clear();
    OnNextDialog(ChooseFile(file));
    ASSERT_TRUE(Trigger("File > Import Graphics..."));
    EXPECT_EQ(picture->text(), "~/photos/p040.jpg");
    ASSERT_EQ(alerts.boxes().size(), 1u);
    const std::string tooLong = alerts.lastText();
    EXPECT_NE(tooLong.find("longer than the 63 characters"), std::string::npos) << tooLong;

    // The same path typed is refused the same way when the character that
    // runs past the field is typed, and Enter keeps the path the field had.
    Key(Qt::Key_Return, Qt::NoModifier, picture);
    alerts.clear();
    picture->selectAll();
    Type(QString::fromStdString(file.substr(0, 64)), picture);
    ASSERT_EQ(alerts.boxes().size(), 1u) << picture->text().toStdString();
    EXPECT_EQ(alerts.lastText(), tooLong);
    EXPECT_EQ(picture->text(), "~/photos/p040.jpg");
    Key(Qt::Key_Return, Qt::NoModifier, picture);
    const std::string path = TempFile("Address Book.dqx");
    Trigger("File > Close");
    const std::string dump = Tool("db dump '" + path + "'");
    EXPECT_NE(dump.find("\t~/photos/p040.jpg\t"), std::string::npos);
    EXPECT_EQ(dump.find(file.substr(0, 63)), std::string::npos);
}

TEST_F(DatabaseWindowJourney, NamesWithCurlyQuotesPasteAndAnInputMethodTypesByTheFieldsRules)
{
    ASSERT_NE(OpenAddressBook(), nullptr) << alerts.lastText();
    ASSERT_TRUE(DatabaseDocument()->IsDomestic());
    QLineEdit* last = Field(kLastNameColumn);
    last->setFocus();
    alerts.clear();
    // Quotes, dashes and the euro sign are the database's own characters.
    for (const QString& name : {QStringLiteral("O\u2019Brien"), QStringLiteral("Caf\u00e9 \u20ac Ltd"),
                                QStringLiteral("\u201cq\u201d"), QStringLiteral("Sm\u00f8rrebr\u00f8d \u2013 O\u2019Hara")}) {
        last->selectAll();
        QApplication::clipboard()->setText(name);
        Key(Qt::Key_V, Qt::ControlModifier, last);
        EXPECT_EQ(last->text(), name);
    }
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_TRUE(alerts.beeps().empty());
    // Only what the character set lacks is left out, and said.
    last->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("O\u2019Brien\u0141"));
    Key(Qt::Key_V, Qt::ControlModifier, last);
    EXPECT_EQ(last->text(), QStringLiteral("O\u2019Brien"));
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(),
              "1 character of the pasted text has no place in the database's character set; it was left out.");

    // An input method's text goes in as its characters would be typed: a
    // Domestic ZIP code takes digits and "-", a name no tab, and neither
    // takes what the character set lacks.
    auto commit = [](QWidget* field, const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(field, &event);
    };
    constexpr int32_t kZipColumn = 8;
    QLineEdit* zip = Field(kZipColumn);
    zip->setFocus();
    zip->clear();
    alerts.clear();
    commit(zip, "ab*c");
    EXPECT_EQ(zip->text(), "");
    commit(zip, QStringLiteral("12x345\u03A9"));
    EXPECT_EQ(zip->text(), "12345");
    EXPECT_EQ(alerts.beeps().size(), 2u);
    // A paste the field's rules refuse is still refused whole, and says why.
    zip->selectAll();
    QApplication::clipboard()->setText("12a45");
    Key(Qt::Key_V, Qt::ControlModifier, zip);
    EXPECT_EQ(zip->text(), "12345");
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.lastText(), "The pasted text was not pasted: this field does not take \"a\".");
    last->setFocus();
    last->end(false);
    commit(last, QStringLiteral("\t\u2019s\u03A9"));
    EXPECT_EQ(last->text(), QStringLiteral("O\u2019Brien\u2019s"));
    EXPECT_EQ(alerts.beeps().size(), 3u);
    EXPECT_EQ(alerts.boxes().size(), 1u) << alerts.lastText();

    Key(Qt::Key_Return, Qt::NoModifier, last);
    const std::string path = TempFile("Address Book.dqx");
    Trigger("File > Close");
    EXPECT_NE(Tool("db dump '" + path + "'").find("\tO\x92" "Brien\x92s\t"), std::string::npos);
}

TEST_F(DatabaseWindowJourney, DeleteAllDuplicateRecordsKeepsOneOfEachAndTheListsOrder)
{
    ASSERT_NE(OpenAddressBook(), nullptr) << alerts.lastText();
    ChooseSortField(kFieldCity);
    // Three records twice over through Duplicate Record, one of them with
    // a change, so that it is no duplicate.
    for (int32_t row : {10, 200, 450}) {
        DatabaseDocument()->SelectRow(row);
        ASSERT_TRUE(Trigger("Database > Duplicate Record"));
    }
    QLineEdit* first = Field(kFirstNameColumn);
    first->setFocus();
    first->end(false);
    Type("x", first);
    Key(Qt::Key_Return, Qt::NoModifier, first);
    ASSERT_EQ(List()->RowCount(), 503);

    // A copy whose last name differs only in the case of its first letter,
    // then an exact copy: the index holds the three together, the other
    // case between. The exact copy goes, the other case stays.
    DatabaseDocument()->SelectRow(300);
    const int32_t original = DatabaseDocument()->Data().CurrentOffset();
    ASSERT_TRUE(Trigger("Database > Duplicate Record"));
    QLineEdit* last = Field(kLastNameColumn);
    const QString name = last->text();
    ASSERT_FALSE(name.isEmpty());
    last->setFocus();
    last->selectAll();
    Type((name.at(0).isUpper() ? name.at(0).toLower() : name.at(0).toUpper()) + name.mid(1), last);
    Key(Qt::Key_Return, Qt::NoModifier, last);
    int32_t row = 0;
    for (; row < List()->RowCount(); ++row) {
        DatabaseDocument()->SelectRow(row);
        if (DatabaseDocument()->Data().CurrentOffset() == original)
            break;
    }
    ASSERT_LT(row, List()->RowCount());
    ASSERT_TRUE(Trigger("Database > Duplicate Record"));
    ASSERT_EQ(List()->RowCount(), 505);

    ASSERT_TRUE(Trigger("Database > Delete All Duplicate Records"));
    EXPECT_EQ(List()->RowCount(), 502);
    EXPECT_EQ(DatabaseDocument()->Data().GetLiveCount(), 502);
    EXPECT_EQ(ShownRows(), HeldRows());
    EXPECT_EQ(MainWindow()->DatabaseBar()->SortCombo()->currentIndex(), FieldIndexOfId(kFieldCity, 1));
    ExpectRowIsForm();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
}

TEST_F(DatabaseWindowJourney, EditingOneFieldKeepsTheZipAndStateAsImported)
{
    // A Polish address and a made-up state, as another program wrote them.
    const std::string path = TempFile("Abroad.dqx");
    const std::string text = TempFile("abroad.txt");
    Tool("db new '" + path + "'");
    WriteFileBytes(text, "Anna\tNowak\t\t\tul. Dluga 5\t\tKrakow\tStat\t30-001\n"
                         "Olga\tPetrova\t\t\tvul. Lenina 3\t\tMinsk\tby\t220030\n");
    Tool("dbdoc import '" + path + "' '" + text + "' --delimiter 2");
    OnNextDialog(ChooseFile(path));
    Trigger("File > Open > Database...");
    ASSERT_NE(DatabaseDocument(), nullptr) << alerts.lastText();
    constexpr int32_t kTitleColumn = 2;
    constexpr int32_t kZipColumn = 8;
    for (int32_t row : {0, 1}) {
        DatabaseDocument()->SelectRow(row);
        EXPECT_EQ(Field(kZipColumn)->text(), row == 0 ? "30-001" : "220030");
        QLineEdit* title = Field(kTitleColumn);
        title->setFocus();
        Type("Dr", title);
        Key(Qt::Key_Return, Qt::NoModifier, title);
    }
    Trigger("File > Close");
    const std::string dump = Tool("db dump '" + path + "'");
    EXPECT_NE(dump.find("\tNowak\tDr\t\tul. Dluga 5\t\tKrakow\tStat\t30-001\t"), std::string::npos) << dump;
    EXPECT_NE(dump.find("\tPetrova\tDr\t\tvul. Lenina 3\t\tMinsk\tby\t220030\t"), std::string::npos) << dump;
}

TEST_F(DatabaseWindowJourney, PrintSetupWithoutAPrinterPointsToThePdfFileThatPrintOffers)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has a printer to set up";
    ASSERT_NE(OpenAddressBook(), nullptr) << alerts.lastText();
    alerts.clear();
    Trigger("File > Print Setup...");
    EXPECT_NE(alerts.lastText().find("\"Print to PDF file\""), std::string::npos) << alerts.lastText();
}

}  // namespace
