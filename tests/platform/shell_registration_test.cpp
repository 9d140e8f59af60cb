// The program's registration with the desktop: a program the desktop does
// not find installed writes the user's desktop entry (naming it), MIME
// package and icons; an installed one leaves the user's folders alone and
// takes back a registration of an earlier run.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <string>

#include "support/needed_tools.h"
#include "platform/shell_registration.h"
#include "support/shell.h"
#include "support/temp_dir.h"

namespace {

const std::string kDesktopSource = std::string(TESSALINE_TEST_DATA_DIR) + "/../../resources/desktop/";

void Put(const QString& path, const std::string& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    WriteFileBytes(path.toStdString(), bytes);
}

std::string Get(const QString& path) { return ReadFileBytes(path.toStdString()); }

class ShellRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = QString::fromStdString(dir_.path());
        places_.program = root_ + "/opt/tessaline/bin/tessaline";
        places_.share = root_ + "/opt/tessaline/share";
        places_.dataHome = root_ + "/home/.local/share";
        places_.dataDirs = {root_ + "/usr/share"};
        Put(places_.share + "/applications/tessaline.desktop", ReadFileBytes(kDesktopSource + "tessaline.desktop"));
        Put(places_.share + "/mime/packages/tessaline.xml", ReadFileBytes(kDesktopSource + "tessaline.xml"));
        Put(places_.share + "/icons/hicolor/16x16/apps/tessaline.png", "app16");
        Put(places_.share + "/icons/hicolor/48x48/mimetypes/application-x-tessaline-card.png", "card48");
        Put(places_.share + "/icons/hicolor/48x48/apps/someone-else.png", "not ours");
    }
    QString UserEntry() const { return places_.dataHome + "/applications/tessaline.desktop"; }
    QString UserTypes() const { return places_.dataHome + "/mime/packages/tessaline.xml"; }

    TempDir dir_;
    QString root_;
    ShellPlaces places_;
};

TEST_F(ShellRegistrationTest, AProgramTheDesktopDoesNotFindRegistersItselfForTheUser)
{
    ASSERT_EQ(RegisterShellFileTypes(places_, false), ShellRegistration::kRegistered);
    const std::string entry = Get(UserEntry());
    EXPECT_NE(entry.find("\nExec=" + places_.program.toStdString() + " %F\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nTryExec=" + places_.program.toStdString() + "\n"), std::string::npos);
    EXPECT_NE(entry.find("\nMimeType=application/x-tessaline-card;application/x-tessaline-database;\n"),
              std::string::npos);
    EXPECT_NE(entry.find("X-Tessaline-Registration=user"), std::string::npos);
    EXPECT_EQ(Get(UserTypes()), ReadFileBytes(kDesktopSource + "tessaline.xml"));
    EXPECT_EQ(Get(places_.dataHome + "/icons/hicolor/16x16/apps/tessaline.png"), "app16");
    EXPECT_EQ(Get(places_.dataHome + "/icons/hicolor/48x48/mimetypes/application-x-tessaline-card.png"), "card48");
    EXPECT_FALSE(QFile::exists(places_.dataHome + "/icons/hicolor/48x48/apps/someone-else.png"));

    if (HaveTool("desktop-file-validate")) {
        QProcess validate;
        validate.start("desktop-file-validate", {UserEntry()});
        ASSERT_TRUE(validate.waitForFinished(30000));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();
    }

    // Nothing is written again while nothing changed.
    const QDateTime written = QFileInfo(UserEntry()).lastModified();
    EXPECT_EQ(RegisterShellFileTypes(places_, false), ShellRegistration::kRegistered);
    EXPECT_EQ(QFileInfo(UserEntry()).lastModified(), written);

    // A program moved elsewhere (here, a folder with a space) takes the
    // registration over, quoted as the desktop entry rules ask.
    places_.program = root_ + "/my programs/tessaline";
    ASSERT_EQ(RegisterShellFileTypes(places_, false), ShellRegistration::kRegistered);
    EXPECT_NE(Get(UserEntry()).find("\nExec=\"" + places_.program.toStdString() + "\" %F\n"), std::string::npos)
        << Get(UserEntry());
}

TEST_F(ShellRegistrationTest, AnInstallationTheDesktopFindsTakesBackTheUsersRegistration)
{
    ASSERT_EQ(RegisterShellFileTypes(places_, false), ShellRegistration::kRegistered);
    ASSERT_TRUE(QFile::exists(UserEntry()));

    places_.dataDirs << places_.share + "/../share";
    EXPECT_EQ(RegisterShellFileTypes(places_, false), ShellRegistration::kInstalled);
    EXPECT_FALSE(QFile::exists(UserEntry()));
    EXPECT_FALSE(QFile::exists(UserTypes()));
    EXPECT_FALSE(QFile::exists(places_.dataHome + "/icons/hicolor/16x16/apps/tessaline.png"));

    // An entry the user made under the name is the user's: neither
    // replaced nor taken back.
    Put(UserEntry(), "[Desktop Entry]\nType=Application\nName=Mine\nExec=mine\n");
    EXPECT_EQ(RegisterShellFileTypes(places_, false), ShellRegistration::kInstalled);
    places_.dataDirs.removeLast();
    RegisterShellFileTypes(places_, false);
    EXPECT_EQ(Get(UserEntry()), "[Desktop Entry]\nType=Application\nName=Mine\nExec=mine\n");
}

TEST_F(ShellRegistrationTest, WithoutTheInstallationsFilesNothingIsRegistered)
{
    QFile::remove(places_.share + "/mime/packages/tessaline.xml");
    EXPECT_EQ(RegisterShellFileTypes(places_, false), ShellRegistration::kFailed);
    EXPECT_FALSE(QFile::exists(UserEntry()));
}

}  // namespace
