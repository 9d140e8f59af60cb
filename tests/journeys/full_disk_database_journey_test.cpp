// A database on a disk that fills up while records come in, as a person
// meets it: File > Import Database... and File > Merge Database... say the
// disk is full and that nothing was added, the window lists the records it
// had, and the file holds exactly them. A database on a disk with no room
// left at all still opens, to be read and printed from.
#include <QDialog>
#include <QDir>
#include <QFile>

#include "dbdoc/cdb_document.h"
#include "dbdoc/import_db_dialog.h"
#include "journey_fixture.h"
#include "support/refusing_disk.h"
#include "support/shell.h"

namespace {

class FullDiskDatabaseJourney : public JourneyTest {
protected:
    CDBDocument* OpenContacts()
    {
        path = CopySample("Contacts.dqx", "Contacts.dqx");
        before = Tool("db dump '" + path + "'");
        OnNextDialog(ChooseFile(path));
        Trigger("File > Open > Database...");
        return DatabaseDocument();
    }

    // The disk of the database's folder fills up a few writes into the
    // command; the command then says so, and that nothing was added.
    void FillsUpDuring(const char* command, const std::string& what)
    {
        CDBDocument* database = DatabaseDocument();
        ASSERT_NE(database, nullptr);
        const int32_t live = database->Data().GetLiveCount();
        const std::string folder = path.substr(0, path.rfind('/'));
        alerts.clear();
        {
            RefusingDisk disk(RefusingDisk::Refusal::NoSpace, 4, folder);
            ASSERT_TRUE(Trigger(command));
            EXPECT_GT(disk.refused(), 0);
        }
        EXPECT_EQ(PendingDialogs(), 0u);
        bool toldFull = false;
        for (const auto& box : alerts.boxes())
            toldFull = toldFull || box.text == "Disk is full [112]";
        EXPECT_TRUE(toldFull) << alerts.lastText();
        EXPECT_EQ(alerts.lastText(), "The " + what + " did not finish. No record of it was added: the database is as it was.");
        EXPECT_EQ(database->Data().GetLiveCount(), live);
        EXPECT_EQ(database->ListRows(), live);
        // Every row still shows its record.
        for (int32_t row = 0; row < live; ++row)
            EXPECT_TRUE(database->GotoRow(row)) << row;
    }

    std::string path;
    std::string before;
};

TEST_F(FullDiskDatabaseJourney, AnImportAndAMergeThatFillTheDiskAddNothingAndSaySo)
{
    ASSERT_NE(OpenContacts(), nullptr) << alerts.lastText();
    std::string text;
    for (int n = 0; n < 500; ++n)
        text += "Name" + std::to_string(n) + ",Imported,Acme " + std::to_string(n) + "\r\n";
    const std::string source = TempFile("many.txt");
    WriteFileBytes(source, text);
    OnNextDialog(ChooseFile(source));
    OnNextDialog([](QWidget* dialog) {
        if (auto* d = qobject_cast<QDialog*>(dialog))
            d->accept();
    });
    FillsUpDuring("File > Import Database...", "import");

    const std::string other = CopySample("Contacts.dqx", "Other.dqx");
    OnNextDialog(ChooseFile(other));
    FillsUpDuring("File > Merge Database...", "merge");

    ASSERT_TRUE(Trigger("File > Close"));
    EXPECT_EQ(Tool("db dump '" + path + "'"), before);
}

TEST_F(FullDiskDatabaseJourney, ADatabaseOnAFullDiskOpensToBeReadAndItsCardsPrint)
{
    const std::string folder = TempFile("full");
    path = folder + "/Contacts.dqx";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(CopySample("Contacts.dqx")), QString::fromStdString(path)));
    before = ReadFileBytes(path);
    const std::string pdf = TempFile("cards.pdf");
    {
        // No room at all for the index beside it.
        RefusingDisk disk(RefusingDisk::Refusal::NoSpace, 1, folder);
        OnNextDialog(ChooseFile(path));
        ASSERT_TRUE(Trigger("File > Open > Database..."));
        ASSERT_NE(DatabaseDocument(), nullptr) << alerts.lastText();
        // The box says whose room ran out.
        EXPECT_EQ(alerts.lastText(), "The index of Contacts.dqx (Contacts.idx): Disk is full [112]");
        EXPECT_EQ(DatabaseDocument()->ListRows(), 24);
        EXPECT_FALSE(Enabled("Database > New Record"));

        ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
        alerts.clear();
        OnNextDialog(PrintToPdfFile(pdf));
        ASSERT_TRUE(Trigger("File > Print > Document From Database..."));
        EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
        Trigger("File > Close");
        ASSERT_TRUE(ChooseWindow("Contacts.dqx"));
        ASSERT_TRUE(Trigger("File > Close"));
    }
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("ada@abbottbakery.example"), std::string::npos) << text.substr(0, 300);
    EXPECT_EQ(ReadFileBytes(path), before);
}

}  // namespace
