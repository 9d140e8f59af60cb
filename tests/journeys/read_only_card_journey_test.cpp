// Cards the user may read but not change: a file of another user, and a
// card in a folder the user may not write to. They open to be viewed and
// printed, and a save says why it cannot write there and offers another
// name instead of doing nothing. A card he may not even read is named and
// said to be unreadable.
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QFile>
#include <QMessageBox>

#include "app/child_frame.h"
#include "carddoc/labels_doc.h"
#include "as_another_user.h"
#include "journey_fixture.h"
#include "support/shared_folder.h"

namespace {

class ReadOnlyCardJourney : public JourneyTest {
protected:
    void SetUp() override
    {
        JourneyTest::SetUp();
        // The other user uses the "shared" folder freely; it lies where he
        // can reach it, whoever may enter the test's own folder.
        ASSERT_TRUE(reachable_.ok());
        shared_ = reachable_.file("shared");
        ::mkdir(shared_.c_str(), 0777);
        ::chmod(shared_.c_str(), 0777);
        theirTemp_ = reachable_.file("tmp");
        ::mkdir(theirTemp_.c_str(), 01777);
        ::chmod(theirTemp_.c_str(), 01777);
    }

    void TearDown() override
    {
        // The folder must be writable again for the test's folder to go.
        ::chmod(reachable_.file("locked").c_str(), 0755);
        JourneyTest::TearDown();
    }

    // A copy of the sample card at folder/name with the file's mode.
    std::string CardAt(const std::string& folder, const std::string& name, mode_t mode)
    {
        const std::string path = folder + "/" + name;
        QFile::copy(QString::fromStdString(CopySample("Business Card.lqx")), QString::fromStdString(path));
        ::chmod(path.c_str(), mode);
        return path;
    }

    static std::string Bytes(const std::string& path)
    {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    // Removes every frame, as Select All and Delete do.
    void ChangeTheCard()
    {
        ASSERT_TRUE(Trigger("Edit > Select All"));
        ASSERT_TRUE(Trigger("Object > Delete"));
        ASSERT_TRUE(CardDocument()->IsModified());
        alerts.clear();  // "This will delete several items..."
    }

    SharedFolder reachable_;
    std::string shared_;
    std::string theirTemp_;
};

TEST_F(ReadOnlyCardJourney, AnotherUsersCardOpensReadOnlyPrintsAndIsSavedUnderAnotherName)
{
    const std::string card = CardAt(shared_, "Theirs.lqx", 0644);
    const std::string secret = CardAt(shared_, "Secret.lqx", 0);
    const std::string original = Bytes(card);
    const std::string pdf = shared_ + "/sheet.pdf";
    const std::string mine = shared_ + "/Mine.lqx";
    {
        AsAnotherUser other(theirTemp_);
        EXPECT_EQ(OpenThroughMenu(secret), nullptr);
        EXPECT_EQ(alerts.lastText(), "Secret.lqx: You don't have permission to read this file. [5]");
        alerts.clear();

        ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
        EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
        EXPECT_EQ(CardWindow()->windowTitle(), "Theirs.lqx (Read-Only)");

        OnNextDialog(PrintToPdfFile(pdf));
        ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
        ASSERT_TRUE(QFile::exists(QString::fromStdString(pdf)));
        const std::string text = PdfText(pdf);
        EXPECT_NE(text.find("Tel."), std::string::npos) << text;

        ChangeTheCard();
        // Save says why, and Cancel leaves everything as it was.
        alerts.answer(kIdCancel);
        ASSERT_TRUE(Trigger("File > Save"));
        ASSERT_EQ(alerts.boxes().size(), 1u) << alerts.boxes().front().text;
        EXPECT_EQ(alerts.lastText(), "Cannot save \"Theirs.lqx\": the file is read-only.\nSave it under another name?");
        EXPECT_TRUE(CardDocument()->IsModified());

        // OK asks for another name, and the card goes there.
        alerts.answer(kIdOk);
        OnNextDialog(ChooseFile(mine));
        ASSERT_TRUE(Trigger("File > Save"));
        EXPECT_EQ(PendingDialogs(), 0u);
        EXPECT_FALSE(CardDocument()->IsModified());
        EXPECT_EQ(CardWindow()->windowTitle(), "Mine.lqx");
        ASSERT_TRUE(Trigger("File > Close"));
    }
    EXPECT_EQ(Bytes(card), original);
    EXPECT_NE(Tool("card dump '" + mine + "'").find("check: good"), std::string::npos);
    EXPECT_EQ(Tool("card dump '" + mine + "'").find("Tel."), std::string::npos) << "the change was not saved";
}

TEST_F(ReadOnlyCardJourney, ACardInAFolderTheUserMayNotWriteToSaysSoOnSaveAndOnClose)
{
    const std::string folder = reachable_.file("locked");
    ::mkdir(folder.c_str(), 0755);
    const std::string card = CardAt(folder, "Card.lqx", 0666);
    ::chmod(folder.c_str(), 0555);
    const std::string original = Bytes(card);
    const std::string elsewhere = shared_ + "/Card.lqx";
    {
        AsAnotherUser other(theirTemp_);
        ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
        EXPECT_EQ(CardWindow()->windowTitle(), "Card.lqx (Read-Only)");
        ChangeTheCard();

        // Ctrl+S tells why; Cancel keeps the change in the window.
        alerts.answer(kIdCancel);
        Key(Qt::Key_S, Qt::ControlModifier);
        ASSERT_EQ(alerts.boxes().size(), 1u);
        EXPECT_EQ(alerts.lastText(),
                  "Cannot save \"Card.lqx\": you don't have permission to write in its folder.\n"
                  "Save it under another name?");
        EXPECT_TRUE(CardDocument()->IsModified());

        // Close, "Save changes?" naming the file alone, Yes: the same, and
        // cancelling the other name keeps the window open with the change.
        alerts.clear();
        std::string asked;
        OnNextDialog([&asked](QWidget* dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog))
                asked = box->text().toStdString();
            Answer(QMessageBox::Yes)(dialog);
        });
        ASSERT_TRUE(Trigger("File > Close"));
        EXPECT_EQ(asked, "Save changes to Card.lqx?");
        ASSERT_EQ(alerts.boxes().size(), 1u);
        ASSERT_NE(CardWindow(), nullptr) << "the window closed and the change was lost";
        EXPECT_TRUE(CardDocument()->IsModified());

        // Yes and another name: saved there, and the window closes.
        alerts.answer(kIdOk);
        OnNextDialog(Answer(QMessageBox::Yes));
        OnNextDialog(ChooseFile(elsewhere));
        ASSERT_TRUE(Trigger("File > Close"));
        EXPECT_EQ(PendingDialogs(), 0u);
        EXPECT_EQ(CardWindow(), nullptr);
    }
    EXPECT_EQ(Bytes(card), original);
    EXPECT_EQ(Tool("card dump '" + elsewhere + "'").find("Tel."), std::string::npos) << "the change was not saved";
}

}  // namespace
