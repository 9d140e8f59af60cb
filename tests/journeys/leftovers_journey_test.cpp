// What saves that were killed half way leave behind, as a person meets it:
// the halves of the program's own files go when the program next starts,
// the half of a card goes at the card's next save, and a file another
// running program still holds open stays where it is.
#include <fcntl.h>
#include <sys/file.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <system_error>
#include <vector>

#include <QByteArray>

#include "journey_fixture.h"
#include "support/shell.h"

namespace {

class LeftoversJourney : public JourneyTest {
protected:
    void TearDown() override
    {
        if (holder_ > 0) {
            // flock and the sleep it runs: the sleep would otherwise hold
            // the suite's output open for the rest of its minute.
            kill(-holder_, SIGKILL);
            waitpid(holder_, nullptr, 0);
        }
        JourneyTest::TearDown();
    }

    // A file a save that died an hour ago left.
    static void LeftAnHourAgo(const std::string& path)
    {
        WriteFileBytes(path, "half of a file");
        const struct timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        ::utimensat(AT_FDCWD, path.c_str(), hourAgo, 0);
    }

    // Another program holds the file open (and locked) until the test ends.
    void HeldByAnotherProgram(const std::string& path)
    {
        holder_ = fork();
        ASSERT_GE(holder_, 0);
        if (holder_ == 0) {
            setpgid(0, 0);
            execlp("flock", "flock", "--shared", path.c_str(), "sleep", "60", static_cast<char*>(nullptr));
            _exit(127);
        }
        // Until the lock is taken, the probe would find the file free.
        for (int i = 0; i < 200; ++i) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            const bool taken = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == -1;
            if (fd >= 0)
                ::close(fd);
            if (taken)
                return;
            usleep(10000);
        }
        FAIL() << "the other program never took its lock";
    }

    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    pid_t holder_ = -1;
};

TEST_F(LeftoversJourney, TheNextStartClearsWhatKilledSavesOfTheProgramsFilesLeft)
{
    Stop();
    const std::string program = TempFile("program");
    const std::string label = program + "/LBL1F.TMP";
    const std::string wizard = program + "/WIZ2A0.TMP";
    const std::string styles = program + "/PTS7.TMP";
    const std::string words = program + "/Dictionaries/DIC3C.TMP";
    const std::string held = program + "/WIZ44.TMP";
    const std::string fresh = program + "/LBL9.TMP";
    const std::string notOurs = program + "/LBLnotes.TMP";
    for (const std::string& path : {label, wizard, styles, words, held, notOurs})
        LeftAnHourAgo(path);
    WriteFileBytes(fresh, "a save under way this minute");
    ASSERT_NO_FATAL_FAILURE(HeldByAnotherProgram(held));

    Start();
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    for (const std::string& gone : {label, wizard, styles, words})
        EXPECT_FALSE(Exists(gone)) << gone;
    EXPECT_TRUE(Exists(held)) << "another program holds it";
    EXPECT_TRUE(Exists(fresh)) << "a save may be writing it";
    EXPECT_TRUE(Exists(notOurs)) << "no name the program makes";
}

TEST_F(LeftoversJourney, OpeningTheCardAgainAndItsNextSaveClearWhatAKilledSaveLeftBesideIt)
{
    const std::string card = CopySample("Business Card.lqx");
    const std::string half = TempFile("LQX5E1.TMP");
    const std::string held = TempFile("LQX5E2.TMP");
    const std::string later = TempFile("LQX5E3.TMP");
    LeftAnHourAgo(half);
    LeftAnHourAgo(held);
    ASSERT_NO_FATAL_FAILURE(HeldByAnotherProgram(held));
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    EXPECT_FALSE(Exists(half)) << "the card's open clears what a killed save left";
    EXPECT_TRUE(Exists(held)) << "another program holds it";

    LeftAnHourAgo(later);
    ASSERT_TRUE(Trigger("File > Save"));
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_FALSE(Exists(later));
    EXPECT_TRUE(Exists(held)) << "another program holds it";
    // Nothing else of the save is left beside the card.
    int temporary = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(card).parent_path()))
        temporary += entry.path().extension() == ".TMP" ? 1 : 0;
    EXPECT_EQ(temporary, 1);
}

// Readers and prints that were killed leave indexes and scratch folders in
// the temporary folder; the next start clears those no running program
// holds, and nothing that is not the program's.
TEST_F(LeftoversJourney, TheNextStartClearsIndexesAndScratchFoldersKilledReadersLeft)
{
    Stop();
    const std::string temp = TempFile("tmp");
    std::filesystem::create_directories(temp);
    const QByteArray keptTmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QByteArray::fromStdString(temp));
    const std::string index = temp + "/IDX2B.TMP";
    const std::string heldIndex = temp + "/IDX2C.TMP";
    const std::string scratch = temp + "/qt_temp-Ab12Cd";
    const std::string worked = temp + "/qt_temp-Ef34Gh";
    const std::string fresh = temp + "/qt_temp-Ij56Kl";
    const std::string elsewhere = TempFile("elsewhere");
    const std::string link = temp + "/qt_temp-Mn78Op";
    const auto leftFolder = [](const std::string& folder) {
        std::filesystem::create_directories(folder + "/pages");
        LeftAnHourAgo(folder + "/pages/page1.pdf");
        LeftAnHourAgo(folder + "/KPX12.TMP");
        const struct timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        ::utimensat(AT_FDCWD, (folder + "/pages").c_str(), hourAgo, 0);
        ::utimensat(AT_FDCWD, folder.c_str(), hourAgo, 0);
    };
    LeftAnHourAgo(index);
    LeftAnHourAgo(heldIndex);
    ASSERT_NO_FATAL_FAILURE(HeldByAnotherProgram(heldIndex));
    leftFolder(scratch);
    leftFolder(worked);
    leftFolder(elsewhere);
    std::filesystem::create_directories(fresh);
    WriteFileBytes(fresh + "/page1.pdf", "a print under way this minute");
    std::filesystem::create_directory_symlink(elsewhere, link);
    // Another program still works in one of the folders.
    const pid_t worker = fork();
    ASSERT_GE(worker, 0);
    if (worker == 0) {
        if (::chdir((worked + "/pages").c_str()) == 0)
            execlp("sleep", "sleep", "60", static_cast<char*>(nullptr));
        _exit(127);
    }
    std::error_code unreadable;
    for (int i = 0; i < 200; ++i) {
        const auto cwd = std::filesystem::read_symlink("/proc/" + std::to_string(worker) + "/cwd", unreadable);
        if (cwd == std::filesystem::path(worked + "/pages"))
            break;
        usleep(10000);
    }

    Start();
    kill(worker, SIGKILL);
    waitpid(worker, nullptr, 0);
    qputenv("TMPDIR", keptTmpdir);
    if (keptTmpdir.isNull())
        qunsetenv("TMPDIR");
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    EXPECT_FALSE(Exists(index));
    EXPECT_TRUE(Exists(heldIndex)) << "another program holds it";
    EXPECT_FALSE(Exists(scratch));
    EXPECT_TRUE(Exists(worked + "/pages/page1.pdf")) << "another program works in it";
    EXPECT_TRUE(Exists(fresh + "/page1.pdf")) << "a print may be writing it";
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(Exists(elsewhere + "/pages/page1.pdf")) << "what a link points to is not ours";
}

// A print killed midway leaves the half of its PDF file beside the file it
// was to write; the next print into that folder, or the next save of a
// card there, takes it away at once, unless a running program holds it.
TEST_F(LeftoversJourney, WhatAKilledPrintLeftGoesAtTheNextPrintOrSaveBesideIt)
{
    const std::string card = CopySample("Business Card.lqx");
    const std::string folder = std::filesystem::path(card).parent_path();
    const auto halves = [&folder] {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string name = entry.path().filename();
            if (name.rfind("OUT", 0) == 0 && entry.path().extension() == ".TMP")
                found.push_back(entry.path());
        }
        return found;
    };
    // Killed once its file holds some of the sheets.
    const pid_t print = fork();
    ASSERT_GE(print, 0);
    if (print == 0) {
        execl(ToolPath().c_str(), "tessaline-tool", "print-pdf", card.c_str(), (folder + "/cards.pdf").c_str(),
              "--copies", "9999", static_cast<char*>(nullptr));
        _exit(127);
    }
    std::vector<std::string> left;
    for (int i = 0; i < 3000 && left.empty(); ++i) {
        for (const std::string& half : halves()) {
            if (std::filesystem::file_size(half) > 0)
                left.push_back(half);
        }
        usleep(10000);
    }
    kill(print, SIGKILL);
    waitpid(print, nullptr, 0);
    ASSERT_EQ(left.size(), 1u) << "the print never wrote its file";
    EXPECT_FALSE(Exists(folder + "/cards.pdf"));

    // Another program's, and a new one a writer is about to open, stay.
    const std::string held = folder + "/OUT7A.TMP";
    const std::string opening = folder + "/OUT7B.TMP";
    WriteFileBytes(held, "a print under way");
    WriteFileBytes(opening, "");
    ASSERT_NO_FATAL_FAILURE(HeldByAnotherProgram(held));
    Tool("print-pdf '" + card + "' '" + folder + "/cards.pdf'");
    EXPECT_FALSE(Exists(left[0])) << "the next print leaves what the killed one left";
    EXPECT_TRUE(Exists(held)) << "another program holds it";
    EXPECT_TRUE(Exists(opening)) << "a print may be about to write it";

    const std::string later = folder + "/OUT7C.TMP";
    WriteFileBytes(later, "half of a PDF file");
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    ASSERT_TRUE(Trigger("File > Save"));
    EXPECT_FALSE(Exists(later)) << "the card's save leaves what a killed print left beside it";
    EXPECT_TRUE(Exists(held));
}

}  // namespace
