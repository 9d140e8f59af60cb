// Saves in the window onto a name that is a symbolic link: the file the
// link names (through a chain, or not there yet) gets the whole new file,
// made beside it and put in its place, and the link stays, as with the
// command line's outputs. Links that name each other in a loop, and a link
// into a folder the user may not write, are refused naming the file.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>

#include "as_another_user.h"
#include "journey_fixture.h"
#include "support/shared_folder.h"
#include "support/shell.h"

namespace {

class LinkedSaveJourney : public JourneyTest {
protected:
    void TearDown() override
    {
        ::chmod(shared_.file("locked").c_str(), 0755);
        JourneyTest::TearDown();
    }

    // What the link at path names, or "" when it is no link.
    static std::string LinkText(const std::string& path)
    {
        char named[4096];
        const ssize_t n = ::readlink(path.c_str(), named, sizeof named);
        return n < 0 ? std::string() : std::string(named, size_t(n));
    }

    static void Write(const std::string& path, const std::string& bytes)
    {
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path;
        file.write(bytes.data(), qint64(bytes.size()));
    }

    static QStringList Entries(const std::string& folder)
    {
        QStringList names = QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::System);
        names.sort();
        return names;
    }

    // The file dialog answered with path, without its question before a
    // file that is there is replaced.
    static DialogDriver ChooseOver(const std::string& path)
    {
        return [path](QWidget* dialog) {
            if (auto* files = qobject_cast<QFileDialog*>(dialog))
                files->setOption(QFileDialog::DontConfirmOverwrite);
            ChooseFile(path)(dialog);
        };
    }

    SharedFolder shared_;
};

TEST_F(LinkedSaveJourney, ACardADatabaseAndAPictureSavedOnALinkGoToTheFileItNamesAndALoopIsRefused)
{
    const std::string real = TempFile("real");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(real)));
    for (const char* name : {"target.lqx", "absolute.lqx", "chained.lqx", "people.dqx", "card.gif"})
        Write(real + "/" + name, "old");
    ASSERT_EQ(::symlink("real/target.lqx", TempFile("relative.lqx").c_str()), 0);
    ASSERT_EQ(::symlink((real + "/absolute.lqx").c_str(), TempFile("absolute.lqx").c_str()), 0);
    ASSERT_EQ(::symlink("chain2.lqx", TempFile("chain1.lqx").c_str()), 0);
    ASSERT_EQ(::symlink("real/chained.lqx", TempFile("chain2.lqx").c_str()), 0);
    ASSERT_EQ(::symlink("real/new.lqx", TempFile("dangling.lqx").c_str()), 0);
    ASSERT_EQ(::symlink("loop2.lqx", TempFile("loop.lqx").c_str()), 0);
    ASSERT_EQ(::symlink("loop.lqx", TempFile("loop2.lqx").c_str()), 0);
    ASSERT_EQ(::symlink("loop2.dqx", TempFile("loop.dqx").c_str()), 0);
    ASSERT_EQ(::symlink("loop.dqx", TempFile("loop2.dqx").c_str()), 0);

    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    const struct {
        const char* link;
        std::string names;
        std::string lands;
    } saves[] = {
        {"relative.lqx", "real/target.lqx", real + "/target.lqx"},
        {"absolute.lqx", real + "/absolute.lqx", real + "/absolute.lqx"},
        {"chain1.lqx", "chain2.lqx", real + "/chained.lqx"},
        {"dangling.lqx", "real/new.lqx", real + "/new.lqx"},
    };
    for (const auto& save : saves) {
        OnNextDialog(ChooseOver(TempFile(save.link)));
        ASSERT_TRUE(Trigger("File > Save As..."));
        EXPECT_TRUE(alerts.boxes().empty()) << save.link << ": " << alerts.lastText();
        EXPECT_EQ(CardWindow()->windowTitle().toStdString(), save.link);
        EXPECT_EQ(LinkText(TempFile(save.link)), save.names) << save.link << " is no longer the link";
        EXPECT_GT(ReadFileBytes(save.lands).size(), 1000u) << save.lands;
    }
    EXPECT_EQ(LinkText(TempFile("chain2.lqx")), "real/chained.lqx");

    // File > Save (and the auto-save, which is the same save) goes through
    // the link the card now has.
    ASSERT_TRUE(Trigger("Edit > Select All"));
    ASSERT_TRUE(Trigger("Object > Delete"));
    alerts.clear();
    ASSERT_TRUE(Trigger("File > Save"));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();

    // A loop is refused, naming the file, and nothing is written.
    alerts.answer(kIdCancel);
    OnNextDialog(ChooseFile(TempFile("loop.lqx")));
    ASSERT_TRUE(Trigger("File > Save As..."));
    EXPECT_EQ(alerts.lastText(), "Cannot save \"loop.lqx\": it is a link that leads back to itself (its links name "
                                 "each other in a loop).\nSave it under another name?");
    EXPECT_EQ(LinkText(TempFile("loop.lqx")), "loop2.lqx");
    alerts.answer(kIdOk);

    // A card opened through a link into a folder the user may not write:
    // its save is refused naming the link and the file, which stays.
    ASSERT_TRUE(shared_.ok());
    const std::string locked = shared_.file("locked");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(locked)));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(CopySample("Business Card.lqx")),
                            QString::fromStdString(locked + "/card.lqx")));
    ::chmod((locked + "/card.lqx").c_str(), 0666);
    ::chmod(locked.c_str(), 0555);
    const std::string before = ReadFileBytes(locked + "/card.lqx");
    ASSERT_EQ(::symlink((locked + "/card.lqx").c_str(), shared_.file("theirs.lqx").c_str()), 0);
    ASSERT_NE(OpenThroughMenu(shared_.file("theirs.lqx")), nullptr) << alerts.lastText();
    EXPECT_EQ(CardWindow()->windowTitle().toStdString(), "theirs.lqx");
    ASSERT_TRUE(Trigger("Edit > Select All"));
    ASSERT_TRUE(Trigger("Object > Delete"));
    ASSERT_TRUE(CardDocument()->IsModified()) << alerts.lastText();
    alerts.clear();
    alerts.answer(kIdCancel);
    {
        AsAnotherUser other(shared_.path());
        Key(Qt::Key_S, Qt::ControlModifier);
    }
    EXPECT_EQ(alerts.lastText(), "Cannot save \"theirs.lqx\": it is a link to \"" + locked +
                                     "/card.lqx\", and you don't have permission to write in that file's folder.\n"
                                     "Save it under another name?");
    EXPECT_TRUE(CardDocument()->IsModified());
    // Saved by one who may, it goes through the link.
    alerts.clear();
    alerts.answer(kIdOk);
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_EQ(LinkText(shared_.file("theirs.lqx")), locked + "/card.lqx");
    EXPECT_NE(ReadFileBytes(locked + "/card.lqx"), before);
    ASSERT_TRUE(Trigger("File > Close"));

    // A picture exported onto a link.
    ASSERT_NE(OpenThroughMenu(CopySample("Business Card.lqx")), nullptr) << alerts.lastText();
    ASSERT_EQ(::symlink("real/card.gif", TempFile("card.gif").c_str()), 0);
    OnNextDialog([this](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        files->selectNameFilter(QStringLiteral("GIF (*.gif)"));
        ChooseOver(TempFile("card.gif"))(dialog);
    });
    ASSERT_TRUE(Trigger("File > Export > Export As Picture..."));
    Settle();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_EQ(LinkText(TempFile("card.gif")), "real/card.gif");
    EXPECT_EQ(ReadFileBytes(real + "/card.gif").substr(0, 4), "GIF8");
    ASSERT_TRUE(Trigger("File > Close"));

    // A database saved as a link: the copy goes to the file it names, its
    // index lies beside it, and the window goes on with that file.
    ASSERT_EQ(::symlink("real/people.dqx", TempFile("staff.dqx").c_str()), 0);
    OnNextDialog(ChooseFile(CopySample("Contacts.dqx")));
    ASSERT_TRUE(Trigger("File > Open > Database..."));
    OnNextDialog(ChooseOver(TempFile("staff.dqx")));
    ASSERT_TRUE(Trigger("File > Save As..."));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_EQ(LinkText(TempFile("staff.dqx")), "real/people.dqx");
    EXPECT_EQ(MainWindow()->ActiveChildFrame()->windowTitle(), "people.dqx");
    // Onto a loop: refused naming it, and the window goes on with its file.
    OnNextDialog(ChooseOver(TempFile("loop.dqx")));
    ASSERT_TRUE(Trigger("File > Save As..."));
    EXPECT_EQ(alerts.lastText(), "loop.dqx: Its links name each other in a loop. [1921]");
    EXPECT_EQ(MainWindow()->ActiveChildFrame()->windowTitle(), "people.dqx");
    alerts.clear();
    ASSERT_TRUE(Trigger("File > Close"));
    EXPECT_NE(Tool("db dump '" + real + "/people.dqx'").find("Abbott"), std::string::npos);

    // Nothing of the saves was left beside their files, nor beside the
    // database's link.
    QStringList left = Entries(real);
    left.removeAll(QStringLiteral("people.idx"));
    EXPECT_EQ(left.join(" ").toStdString(), "absolute.lqx card.gif chained.lqx new.lqx people.dqx target.lqx");
    EXPECT_EQ(Entries(TempFile("")).filter(QStringLiteral("staff.")).join(" ").toStdString(), "staff.dqx");

    // The loop given on the command line is said for what it is, not as a
    // missing file (the file dialog itself offers no such name).
    alerts.clear();
    Start({TempFile("loop.lqx")});
    EXPECT_EQ(alerts.lastText(), "loop.lqx: Its links name each other in a loop. [1921]");
    alerts.clear();
    Start({TempFile("loop.dqx")});
    EXPECT_EQ(alerts.lastText(), "loop.dqx: Its links name each other in a loop. [1921]");
}

}  // namespace
