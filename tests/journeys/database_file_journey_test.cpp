// The database window's File menu as a person uses it: records come in
// from a text file and go out to one, reports go to a file and to paper
// (a PDF file here), other databases are merged in and the selection is
// split off, and Close puts the window away. Every result is read back
// from the files written.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <cstdio>

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "support/needed_tools.h"
#include "app/main_frame.h"
#include "dbdoc/cdb_document.h"
#include "dbdoc/db_dialogs.h"
#include "dbdoc/export_report_db_dialogs.h"
#include "dbdoc/import_db_dialog.h"
#include "dialogs/print_dialog.h"
#include "foundation/alert_sink.h"
#include "foundation/path_record.h"
#include "journey_fixture.h"
#include "support/pointer_drive.h"
#include "support/shell.h"

namespace {

// Columns of tessaline-tool's db dump.
enum DumpColumn {
    kDumpFirstName = 2,
    kDumpLastName = 3,
    kDumpTitle = 4,
    kDumpCompany = 5,
    kDumpCity = 8,
};

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

// The dialog as the kind a driver expects; otherwise the test fails and the
// dialog is closed, so that the command goes on rather than waiting.
template <typename Dialog>
Dialog* As(QWidget* dialog)
{
    auto* expected = dynamic_cast<Dialog*>(dialog);
    if (!expected) {
        ADD_FAILURE() << "unexpected " << dialog->metaObject()->className();
        if (auto* other = qobject_cast<QDialog*>(dialog))
            other->reject();
    }
    return expected;
}

// The text without its blanks: pdftotext spaces words as it sees fit.
std::string Squeezed(std::string text)
{
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ' '; }), text.end());
    return text;
}

class DatabaseFileJourney : public JourneyTest {
protected:
    // A copy of the sample contacts, opened through File > Open.
    CDBDocument* OpenContacts(const std::string& as = "Contacts.dqx")
    {
        OnNextDialog(ChooseFile(CopySample("Contacts.dqx", as)));
        Trigger("File > Open > Database...");
        return DatabaseDocument();
    }

    // The records of a database file, each its dump's fields; the window
    // is closed first (File > Close) when it is still open.
    std::vector<std::vector<std::string>> Records(const std::string& path)
    {
        if (DatabaseDocument())
            Trigger("File > Close");
        std::vector<std::vector<std::string>> records;
        const std::vector<std::string> lines = Split(Tool("db dump '" + path + "'"), '\n');
        for (size_t i = 1; i < lines.size(); ++i)
            if (!lines[i].empty())
                records.push_back(Split(lines[i], '\t'));
        return records;
    }

    static std::vector<std::string> Column(const std::vector<std::vector<std::string>>& records, int column)
    {
        std::vector<std::string> values;
        for (const auto& record : records)
            values.push_back(record.size() > size_t(column) ? record[size_t(column)] : "?");
        return values;
    }

    // The Print dialog sent to a PDF file.
    static DialogDriver PrintTo(const std::string& pdf)
    {
        return [pdf](QWidget* dialog) {
            auto* print = As<CDlgPrint>(dialog);
            if (!print)
                return;
            print->PrinterList()->setCurrentIndex(print->PdfEntry());
            print->FileEdit()->setText(QString::fromStdString(pdf));
            print->accept();
        };
    }
};

TEST_F(DatabaseFileJourney, AnIndexPutBackFromBeforeAChangeIsBuiltAnewAtOpen)
{
    const std::string path = CopySample("Contacts.dqx", "Kept.dqx");
    std::string bytes = ReadFileBytes(path);
    bytes[4086] = bytes[4087] = 0;  // "Delete the Index file after a database closing" off
    WriteFileBytes(path, bytes);
    Tool("db fill '" + path + "' 1 --seed 2");
    const std::string index = path.substr(0, path.size() - 4) + ".idx";
    const std::string backup = ReadFileBytes(index);
    ASSERT_FALSE(backup.empty());
    // Five records come in while the index is away; the old one is put back.
    Tool("db fill '" + path + "' 5 --seed 3");
    WriteFileBytes(index, backup);
    OnNextDialog(ChooseFile(path));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    CDBDocument* database = DatabaseDocument();
    ASSERT_NE(database, nullptr) << alerts.lastText();
    EXPECT_EQ(database->Data().GetLiveCount(), 30);
    EXPECT_EQ(database->ListRows(), 30);
    ASSERT_TRUE(Trigger("File > Close"));
    EXPECT_NE(Tool("db verify '" + path + "'").find("30 records, 0 deleted, 0 new: sound"), std::string::npos);
}

TEST_F(DatabaseFileJourney, AnOpenThatFailsNamesTheFileItIsAbout)
{
    const auto said = [&](const std::string& text) {
        for (const auto& box : alerts.boxes())
            if (box.text == text)
                return true;
        return false;
    };
    const std::string notes = TempFile("Notes.dqx");
    WriteFileBytes(notes, std::string(7000, 'x'));
    OnNextDialog(ChooseFile(notes));
    Trigger("File > Open > Database...");
    EXPECT_EQ(DatabaseDocument(), nullptr);
    EXPECT_TRUE(said("Notes.dqx: This File is not DataBase file.")) << alerts.lastText();

    // Another program holds the database, if only to read it.
    const std::string path = CopySample("Contacts.dqx");
    const int held = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    alerts.clear();
    OnNextDialog(ChooseFile(path));
    Trigger("File > Open > Database...");
    ::close(held);
    EXPECT_EQ(DatabaseDocument(), nullptr);
    EXPECT_TRUE(said("Contacts.dqx: File is used by another program. Close it there, even where it is only open to "
                     "be read, then try again. [32]"))
        << alerts.lastText();
}

TEST_F(DatabaseFileJourney, AnEditToADatabaseReplacedUnderItsWindowIsSavedElsewhere)
{
    const std::string path = CopySample("Contacts.dqx");
    OnNextDialog(ChooseFile(path));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(DatabaseDocument(), nullptr) << alerts.lastText();
    // Another program puts a new database in its place.
    const std::string theirs = TempFile("Theirs.dqx");
    Tool("db new '" + theirs + "'");
    Tool("db fill '" + theirs + "' 3 --seed 5");
    ASSERT_EQ(::rename(theirs.c_str(), path.c_str()), 0);
    const std::string replacement = ReadFileBytes(path);

    QLineEdit* title = DatabaseDocument()->FieldEdit(2);
    title->setFocus();
    title->selectAll();
    Type("Rescuer", title);
    const std::string rescued = TempFile("Rescued.dqx");
    OnNextDialog(ChooseFile(rescued));
    Key(Qt::Key_Return, Qt::NoModifier, title);
    EXPECT_NE(alerts.lastText().find("Contacts.dqx is no longer the file this window opened"), std::string::npos)
        << alerts.lastText();
    EXPECT_EQ(PendingDialogs(), 0u);
    char name[256] = {};
    PathRecordGetFileName(&DatabaseDocument()->Path(), name, sizeof name);
    EXPECT_STREQ(name, "Rescued.dqx");
    ASSERT_TRUE(Trigger("File > Close"));
    EXPECT_EQ(ReadFileBytes(path), replacement);
    EXPECT_NE(Tool("db dump '" + rescued + "'").find("\tRescuer\t"), std::string::npos);
}

TEST_F(DatabaseFileJourney, MessagesNameTheFileAndALineOfWindowsTextKeepsItsLetters)
{
    // A database marked damaged, and one whose header counts a record more
    // than it holds: the offer to repair names the file.
    for (const char* name : {"Marked.dqx", "Counted.dqx"}) {
        const std::string path = CopySample("Contacts.dqx", name);
        std::string bytes = ReadFileBytes(path);
        if (name[0] == 'M')
            bytes[0] = 1;
        else
            ++bytes[20], ++bytes[24];
        WriteFileBytes(path, bytes);
        alerts.clear();
        OnNextDialog(ChooseFile(path));
        ASSERT_TRUE(Trigger("File > Open > Database..."));
        ASSERT_FALSE(alerts.boxes().empty());
        EXPECT_EQ(alerts.boxes().front().text, std::string(name) + ": Database is damaged. Recover Database ?");
        if (DatabaseDocument())
            Trigger("File > Close");
    }

    // UTF-8 from one program, and a line another added in Windows text.
    ASSERT_NE(OpenContacts(), nullptr) << alerts.lastText();
    const std::string text = TempFile("names.txt");
    WriteFileBytes(text, "J\xC3\xBCrgen\tM\xC3\xBCller\nRen\xC3\xA9\tDubois\nJ\xFCrgen\tSchmidt\n");
    OnNextDialog(ChooseFile(text));
    OnNextDialog(Accept());
    ASSERT_TRUE(Trigger("File > Import Database..."));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_NE(alerts.lastText().find("1 line of the file is not UTF-8 as the rest of it is; it was read as Windows "
                                     "text (line 3 of the file)."),
              std::string::npos)
        << alerts.lastText();
    std::vector<std::string> imported;
    for (const auto& record : Records(TempFile("Contacts.dqx")))
        if (record[kDumpLastName] == "M\xFCller" || record[kDumpLastName] == "Dubois" ||
            record[kDumpLastName] == "Schmidt")
            imported.push_back(record[kDumpFirstName] + "|" + record[kDumpLastName]);
    std::sort(imported.begin(), imported.end());
    EXPECT_EQ(imported, (std::vector<std::string>{"J\xFCrgen|M\xFCller", "J\xFCrgen|Schmidt", "Ren\xE9|Dubois"}));
}

// Another program copies a database over the open one in place (a sync
// tool, a backup put back): the same file, other bytes. The window's own
// edits, new records and saves say nothing; after the copy, the next edit
// writes nothing into the other program's database, says so, saves the
// record being edited in a new database, and the window shows what the
// file holds now. A close after another such copy writes nothing either.
TEST_F(DatabaseFileJourney, AnEditToADatabaseCopiedOverInPlaceIsSavedElsewhere)
{
    const std::string path = CopySample("Contacts.dqx");
    OnNextDialog(ChooseFile(path));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(DatabaseDocument(), nullptr) << alerts.lastText();
    const auto editTitle = [this](const QString& text) {
        QLineEdit* title = DatabaseDocument()->FieldEdit(2);
        title->setFocus();
        title->selectAll();
        Type(text, title);
        Key(Qt::Key_Return, Qt::NoModifier, title);
    };
    editTitle("Ours");
    ASSERT_TRUE(Trigger("Database > New Record"));
    editTitle("Ours too");
    DatabaseDocument()->GotoRow(1);
    editTitle("Ours again");
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    const auto copyOver = [this, &path](int seed) {
        const std::string theirs = TempFile("Theirs" + std::to_string(seed) + ".dqx");
        Tool("db new '" + theirs + "'");
        Tool("db fill '" + theirs + "' 3 --seed " + std::to_string(seed));
        struct stat before {}, after {};
        ::stat(path.c_str(), &before);
        std::filesystem::copy_file(theirs, path, std::filesystem::copy_options::overwrite_existing);
        ::stat(path.c_str(), &after);
        EXPECT_EQ(before.st_ino, after.st_ino) << "not copied in place";
        return ReadFileBytes(path);
    };
    const std::string replacement = copyOver(5);
    const std::string rescued = TempFile("Rescued.dqx");
    OnNextDialog(ChooseFile(rescued));
    editTitle("Rescuer");
    EXPECT_NE(alerts.lastText().find("Contacts.dqx has been changed by another program since this window read it"),
              std::string::npos)
        << alerts.lastText();
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_EQ(ReadFileBytes(path), replacement);
    const std::string saved = Tool("db dump '" + rescued + "'");
    EXPECT_NE(saved.find("\tRescuer\t"), std::string::npos) << saved;
    EXPECT_EQ(DatabaseDocument()->RowCount(), 3);

    // Theirs again, and the window closes untouched by any edit.
    alerts.clear();
    const std::string second = copyOver(6);
    ASSERT_TRUE(Trigger("File > Close"));
    EXPECT_NE(alerts.lastText().find("Contacts.dqx has been changed by another program"), std::string::npos)
        << alerts.lastText();
    EXPECT_EQ(ReadFileBytes(path), second);
    EXPECT_NE(Tool("db verify '" + path + "'").find("3 records, 0 deleted, 0 new: sound"), std::string::npos);
}

// The same copy over the open database while a record is being edited,
// and the user agrees to save the record elsewhere but cancels the file
// dialog: the edit is not dropped unsaid. Asked again, the user gives a
// name and the new database holds the record whole with the edit; the
// next time the user cancels twice, is told the edit is lost, and nothing
// is written anywhere.
TEST_F(DatabaseFileJourney, ACancelledSaveOfAnEditToADatabaseCopiedOverAsksBeforeTheEditIsLost)
{
    const std::string path = CopySample("Contacts.dqx");
    const std::vector<std::string> ours = Split(Tool("db dump '" + path + "'"), '\n');
    OnNextDialog(ChooseFile(path));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(DatabaseDocument(), nullptr) << alerts.lastText();
    const auto copyOver = [this, &path](int seed) {
        const std::string theirs = TempFile("Theirs" + std::to_string(seed) + ".dqx");
        Tool("db new '" + theirs + "'");
        Tool("db fill '" + theirs + "' 3 --seed " + std::to_string(seed));
        std::filesystem::copy_file(theirs, path, std::filesystem::copy_options::overwrite_existing);
        return ReadFileBytes(path);
    };
    const auto commitTitle = [this](const QString& text) {
        QLineEdit* title = DatabaseDocument()->FieldEdit(2);
        title->setFocus();
        title->selectAll();
        Type(text, title);
        Key(Qt::Key_Return, Qt::NoModifier, title);
    };
    const auto files = [this] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(TempFile("")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };

    const std::string replacement = copyOver(5);
    const std::string rescued = TempFile("Rescued.dqx");
    OnNextDialog(Reject());
    OnNextDialog(ChooseFile(rescued));
    commitTitle("Rescuer");
    EXPECT_EQ(PendingDialogs(), 0u);
    ASSERT_EQ(alerts.boxes().size(), 2u) << alerts.lastText();
    EXPECT_NE(alerts.boxes()[0].text.find("Save the record you were editing in a new database first?"),
              std::string::npos)
        << alerts.boxes()[0].text;
    EXPECT_NE(alerts.lastText().find("has not been saved anywhere: its changes will be lost"), std::string::npos)
        << alerts.lastText();
    EXPECT_EQ(DialogTitles(), (std::vector<QString>{"Open", "Save Record As:", "Save Record As:"}));
    EXPECT_EQ(ReadFileBytes(path), replacement);
    EXPECT_EQ(DatabaseDocument()->RowCount(), 3);
    // The new database holds that one record, every field as it was but the
    // title typed.
    const std::vector<std::string> saved = Split(Tool("db dump '" + rescued + "'"), '\n');
    ASSERT_EQ(saved.size(), 3u) << Tool("db dump '" + rescued + "'");
    std::vector<std::string> record = Split(saved[1], '\t');
    ASSERT_GT(record.size(), size_t(kDumpCompany));
    EXPECT_EQ(record[kDumpTitle], "Rescuer");
    record[kDumpTitle].clear();
    bool found = false;
    for (size_t i = 1; i < ours.size(); ++i) {
        std::vector<std::string> was = Split(ours[i], '\t');
        if (was.size() > size_t(kDumpTitle) && was[kDumpLastName] == record[kDumpLastName]) {
            was[kDumpTitle].clear();
            EXPECT_EQ(record, was);
            found = true;
        }
    }
    EXPECT_TRUE(found) << saved[1];

    // Cancel, then Cancel again when told the edit will be lost.
    alerts.clear();
    const std::string second = copyOver(6);
    const std::vector<std::string> before = files();
    OnNextDialog([this](QWidget* dialog) {
        alerts.answer(kIdCancel);
        Reject()(dialog);
    });
    commitTitle("Dropped");
    alerts.answer(kIdOk);
    EXPECT_EQ(PendingDialogs(), 0u);
    ASSERT_EQ(alerts.boxes().size(), 2u) << alerts.lastText();
    EXPECT_NE(alerts.lastText().find("its changes will be lost"), std::string::npos) << alerts.lastText();
    EXPECT_EQ(files(), before);
    EXPECT_EQ(ReadFileBytes(path), second);
    EXPECT_EQ(Tool("db dump '" + rescued + "'"), saved[0] + "\n" + saved[1] + "\n");
    EXPECT_EQ(DatabaseDocument()->RowCount(), 3);
}

TEST_F(DatabaseFileJourney, ACsvFileOfAnotherProgramImportsIntoTheRightFields)
{
    ASSERT_NE(OpenContacts(), nullptr) << alerts.lastText();
    // UTF-8 with a byte order mark, quoted fields that hold commas and
    // doubled quotation marks; "\xC5\x81" (L with stroke) has no place in the
    // database's character set.
    const std::string csv = TempFile("friends.csv");
    WriteFileBytes(csv, "\xEF\xBB\xBF"
                        "\"Ren\xC3\xA9" "e\",\"O\"\"Hara\",\"Smith, Jones & Co\",\"Z\xC3\xBCrich\"\r\n"
                        "\"\xC5\x81ukasz\",\"Nowak\",\"Caf\xC3\xA9 \"\"Zorba\"\"\",\"Gda\xC5\x84sk\"\r\n");
    ASSERT_TRUE(Enabled("File > Import Database..."));
    OnNextDialog(ChooseFile(csv));
    OnNextDialog([this](QWidget* dialog) {
        auto* import = As<CDlgImportDB>(dialog);
        if (!import)
            return;
        // The quoted mode was guessed; the first record shows whole.
        EXPECT_EQ(import->Delimiter()->currentText(), "Double Quotes AND Comma");
        const auto* left = import->FieldList()->Left();
        EXPECT_GE(left->size(), 4u);
        if (left->size() >= 4) {
            EXPECT_STREQ((*left)[0].text, "Ren\xE9" "e");
            EXPECT_STREQ((*left)[2].text, "Smith, Jones & Co");
        }
        // The file's third column feeds Company and its fourth City: each
        // field is dragged up beside its column on the right.
        CImportFieldListBox* list = import->FieldList();
        const auto onRight = [list](int row) {
            const QRect r = list->visualItemRect(list->item(row));
            return QPoint(list->viewport()->width() - 20, r.center().y());
        };
        Drag(onRight(3), {onRight(2)}, Qt::NoModifier, list->viewport());
        Drag(onRight(6), {onRight(5), onRight(4), onRight(3)}, Qt::NoModifier, list->viewport());
        EXPECT_STREQ((*import->FieldList()->Right())[2].text, "Company");
        EXPECT_STREQ((*import->FieldList()->Right())[3].text, "City");
        import->accept();
    });
    ASSERT_TRUE(Trigger("File > Import Database..."));
    EXPECT_EQ(PendingDialogs(), 0u);
    EXPECT_EQ(DatabaseDocument()->Data().GetLiveCount(), 26);
    // The two characters that have no place were stored as "?" and counted.
    EXPECT_NE(alerts.lastText().find("2 characters"), std::string::npos) << alerts.lastText();

    const auto records = Records(TempFile("Contacts.dqx"));
    ASSERT_EQ(records.size(), 26u);
    std::vector<std::string> imported;
    for (const auto& record : records)
        if (record[kDumpLastName] == "O\"Hara" || record[kDumpLastName] == "Nowak")
            imported.push_back(record[kDumpFirstName] + "|" + record[kDumpLastName] + "|" +
                               record[kDumpTitle] + "|" + record[kDumpCompany] + "|" + record[kDumpCity]);
    std::sort(imported.begin(), imported.end());
    EXPECT_EQ(imported, (std::vector<std::string>{"?ukasz|Nowak||Caf\xE9 \"Zorba\"|Gda?sk",
                                                  "Ren\xE9" "e|O\"Hara||Smith, Jones & Co|Z\xFCrich"}));
}

TEST_F(DatabaseFileJourney, ExportWritesWhatImportReadsBackIntoANewDatabase)
{
    ASSERT_NE(OpenContacts(), nullptr) << alerts.lastText();
    const std::string text = TempFile("contacts_out.txt");
    OnNextDialog([](QWidget* dialog) {
        auto* exportDialog = As<CDlgExportDB>(dialog);
        if (!exportDialog)
            return;
        exportDialog->Delimiter()->setCurrentText("Double Quotes AND Comma");
        exportDialog->accept();
    });
    OnNextDialog(ChooseFile(text));
    ASSERT_TRUE(Trigger("File > Export > Database..."));
    const std::string written = ReadFileBytes(text);
    EXPECT_EQ(written.substr(0, 24), "\"Ada\",\"Abbott\",\"Owner\",\"") << written.substr(0, 80);
    EXPECT_NE(written.find("\"Owen\",\"O'Brien\""), std::string::npos);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 24);

    // A new database takes the text back through the Import dialog as it
    // comes: the guessed delimiter and the fields in their order.
    const std::string copy = TempFile("Back.dqx");
    OnNextDialog(ChooseFile(copy));
    ASSERT_TRUE(Trigger("File > New > Database..."));
    ASSERT_NE(DatabaseDocument(), nullptr);
    OnNextDialog(ChooseFile(text));
    OnNextDialog([](QWidget* dialog) {
        auto* import = As<CDlgImportDB>(dialog);
        if (!import)
            return;
        EXPECT_EQ(import->Delimiter()->currentIndex(), 5);
        import->accept();
    });
    ASSERT_TRUE(Trigger("File > Import Database..."));
    auto back = Records(copy);
    // The blank record a new database starts on stays blank.
    back.erase(std::remove_if(back.begin(), back.end(),
                              [](const std::vector<std::string>& r) { return r[kDumpLastName].empty(); }),
               back.end());
    auto original = Records(TempFile("Contacts.dqx"));
    std::sort(back.begin(), back.end());
    std::sort(original.begin(), original.end());
    EXPECT_EQ(back, original);
}

TEST_F(DatabaseFileJourney, TheFileReportListsTheSelectionInColumns)
{
    ASSERT_NE(OpenContacts(), nullptr) << alerts.lastText();
    const std::string report = TempFile("report.txt");
    OnNextDialog([](QWidget* dialog) {
        auto* reportDialog = As<CDlgReportDB>(dialog);
        if (!reportDialog)
            return;
        EXPECT_EQ(reportDialog->Kind()->currentText(), "Tabular");
        EXPECT_FALSE(reportDialog->MaxLength()->isEnabled());
        reportDialog->accept();
    });
    OnNextDialog(ChooseFile(report));
    ASSERT_TRUE(Trigger("File > Export > Database Report..."));
    const std::vector<std::string> lines = Split(ReadFileBytes(report), '\n');
    ASSERT_GE(lines.size(), 24u);
    // Each column as wide as its longest text and two spaces, then a tab.
    EXPECT_EQ(lines[0].substr(0, 16), "Ada     \tAbbott ");
    EXPECT_EQ(lines[23].substr(0, 9), "Yusuf   \t");
}

TEST_F(DatabaseFileJourney, QuickDatabaseReportPrintsThroughThePrintDialog)
{
    ASSERT_NE(OpenContacts(), nullptr) << alerts.lastText();
    const std::string pdf = TempFile("report.pdf");
    OnNextDialog(Accept());  // the Report dialog as it opens: tabular
    OnNextDialog([pdf](QWidget* dialog) {
        auto* print = As<CDlgPrint>(dialog);
        if (!print)
            return;
        // A listing asks for the printer and the copies only.
        EXPECT_FALSE(print->AllButton()->isVisibleTo(print));
        EXPECT_FALSE(print->SkipCardsButton()->isVisibleTo(print));
        PrintTo(pdf)(dialog);
    });
    ASSERT_TRUE(Trigger("File > Print > Quick Database Report..."));
    const std::string text = PdfText(pdf);
    if (text.empty())
        SKIP_FOR_MISSING_TOOL() << "no pdftotext";
    EXPECT_NE(text.find("Contacts.dqx"), std::string::npos) << text.substr(0, 400);
    // Wider than the paper: the band of records goes on a strip of its own.
    EXPECT_NE(Squeezed(text).find("Page1-2"), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find("Abbott"), std::string::npos);
    EXPECT_NE(text.find("Yilmaz"), std::string::npos);
}

TEST_F(DatabaseFileJourney, BulkMailRecordsPrintOnlyAfterTheSortWasApplied)
{
    // 250 records: enough for Standard (A), too few for First Class.
    const std::string big = TempFile("Big.dqx");
    Tool("db new '" + big + "'");
    Tool("db fill '" + big + "' 250 --seed 7");
    OnNextDialog(ChooseFile(big));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    ASSERT_NE(DatabaseDocument(), nullptr) << alerts.lastText();
    const auto choose = [](int mode) {
        return [mode](QWidget* dialog) {
            if (!As<CDlgBulkMailSort>(dialog))
                return;
            dialog->findChildren<QRadioButton*>()[size_t(mode)]->setChecked(true);
            static_cast<QDialog*>(dialog)->accept();
        };
    };
    OnNextDialog(choose(0));
    ASSERT_TRUE(Trigger("File > Print > Print Database Bulk Mail Records"));
    EXPECT_EQ(alerts.lastText(), "The number of records is less than 500.");
    EXPECT_EQ(PendingDialogs(), 0u);

    const std::string pdf = TempFile("bulk.pdf");
    OnNextDialog(choose(1));
    OnNextDialog(Accept());
    OnNextDialog(PrintTo(pdf));
    ASSERT_TRUE(Trigger("File > Print > Print Database Bulk Mail Records"));
    const std::string text = PdfText(pdf);
    if (text.empty())
        SKIP_FOR_MISSING_TOOL() << "no pdftotext";
    EXPECT_NE(text.find("Big.dqx"), std::string::npos);
    EXPECT_NE(Squeezed(text).find("Page2-1"), std::string::npos) << "250 lines take more than a page";
}

TEST_F(DatabaseFileJourney, MergeAppendsAnotherDatabaseAndSplitWritesTheSelection)
{
    const std::string other = CopySample("Contacts.dqx", "Other.dqx");
    ASSERT_NE(OpenContacts(), nullptr) << alerts.lastText();
    OnNextDialog(ChooseFile(other));
    ASSERT_TRUE(Trigger("File > Merge Database..."));
    EXPECT_EQ(DatabaseDocument()->Data().GetLiveCount(), 48);

    const std::string part = TempFile("Part.dqx");
    OnNextDialog(ChooseFile(part));
    ASSERT_TRUE(Trigger("File > Split Database..."));
    const auto merged = Records(TempFile("Contacts.dqx"));
    EXPECT_EQ(merged.size(), 48u);
    const auto split = Records(part);
    EXPECT_EQ(split.size(), 48u);
    auto splitNames = Column(split, kDumpLastName), mergedNames = Column(merged, kDumpLastName);
    std::sort(mergedNames.begin(), mergedNames.end());
    EXPECT_EQ(splitNames, mergedNames);  // the split follows the list's order
    // Close took the window away, and its name from the title.
    EXPECT_EQ(DatabaseDocument(), nullptr);
    EXPECT_FALSE(MainWindow()->windowTitle().contains("Contacts.dqx")) << MainWindow()->windowTitle().toStdString();
}

}  // namespace
