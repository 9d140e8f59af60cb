// What saves that were killed half way leave behind, as a person meets it:
// the halves of the program's own files go when the program next starts,
// the half of a card goes at the card's next save, and a file another
// running program still holds open stays where it is.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <set>
#include <string_view>
#include <filesystem>
#include <system_error>
#include <vector>

#include <cups/cups.h>

#include <QByteArray>

#include "journey_fixture.h"
#include "support/cups_scheduler.h"
#include "support/long_print.h"
#include "support/run_program.h"
#include "support/shell.h"
#include "support/stalling_print_server.h"

namespace {

class LeftoversJourney : public JourneyTest {
protected:
    void TearDown() override
    {
        for (const pid_t holder : holders_) {
            // flock and the sleep it runs: the sleep would otherwise hold
            // the suite's output open for the rest of its minute.
            kill(-holder, SIGKILL);
            waitpid(holder, nullptr, 0);
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
        const pid_t holder = fork();
        ASSERT_GE(holder, 0);
        if (holder == 0) {
            setpgid(0, 0);
            execlp("flock", "flock", "--shared", path.c_str(), "sleep", "600", static_cast<char*>(nullptr));
            _exit(127);
        }
        holders_.push_back(holder);
        // Until the lock is taken, the probe would find the file free. A
        // busy machine may start flock late; a minute is for one that never
        // takes it.
        for (int i = 0; i < 6000 && waitpid(holder, nullptr, WNOHANG) == 0; ++i) {
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

    // Another program reads the file, without a lock, until the test ends.
    void ReadByAnotherProgram(const std::string& path)
    {
        const int fd = ::open(path.c_str(), O_RDONLY);
        ASSERT_GE(fd, 0) << path;
        const pid_t reader = fork();
        ASSERT_GE(reader, 0);
        if (reader == 0) {
            setpgid(0, 0);
            execlp("sleep", "sleep", "600", static_cast<char*>(nullptr));
            _exit(127);
        }
        ::close(fd);
        holders_.push_back(reader);
    }

    // The halves of killed prints' files in the folder.
    static std::vector<std::string> Halves(const std::string& folder)
    {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string name = entry.path().filename();
            if (name.rfind("OUT", 0) == 0 && entry.path().extension() == ".TMP")
                found.push_back(entry.path());
        }
        return found;
    }

    // Runs the program and ends it with the signal once `ready` (asked of
    // the running program) holds; false when it never did. How it ended
    // goes to `status`. The program's environment is this one's with the
    // `changed` variables ("NAME=value").
    static bool KilledOnceReady(const std::vector<std::string>& arguments, int signal,
                                const std::function<bool(pid_t)>& ready, int* status = nullptr,
                                const std::vector<std::string>& changed = {})
    {
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        // Made before the fork: the child of a process with threads must
        // not allocate before it execs.
        std::vector<char*> envp;
        for (char** variable = environ; *variable; ++variable) {
            const std::string_view entry(*variable);
            const auto named = [&entry](const std::string& change) {
                return entry.substr(0, entry.find('=') + 1) == change.substr(0, change.find('=') + 1);
            };
            if (std::none_of(changed.begin(), changed.end(), named))
                envp.push_back(*variable);
        }
        for (const std::string& change : changed)
            envp.push_back(const_cast<char*>(change.c_str()));
        envp.push_back(nullptr);
        const pid_t run = fork();
        if (run < 0)
            return false;
        if (run == 0) {
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        bool isReady = false;
        for (int i = 0; i < 3000 && !(isReady = ready(run)); ++i)
            usleep(10000);
        kill(run, signal);
        const int ended = EndedWithin(run, 30);
        if (status)
            *status = ended;
        return isReady;
    }

    // A print of the card into the folder, killed once its file holds some
    // of the sheets; the half it left.
    std::string KilledPrint(const std::string& card, const std::string& folder, int signal = SIGKILL,
                            const std::string& database = "")
    {
        std::vector<std::string> arguments = {ToolPath(), "print-pdf", card};
        if (!database.empty())
            arguments.push_back(database);
        arguments.insert(arguments.end(), {folder + "/cards.pdf", "--copies", "9999"});
        const std::vector<std::string> before = Halves(folder);
        std::string left;
        const bool killed = KilledOnceReady(arguments, signal, [&](pid_t) {
            for (const std::string& half : Halves(folder)) {
                std::error_code gone;
                if (std::find(before.begin(), before.end(), half) == before.end() &&
                    std::filesystem::file_size(half, gone) > 0)
                    left = half;
            }
            return !left.empty();
        });
        EXPECT_TRUE(killed) << "the print never wrote its file";
        return left;
    }

    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    // The running program waits on something outside it (the print system,
    // the window system's next event).
    static bool Waiting(pid_t run)
    {
        return ReadFileBytes("/proc/" + std::to_string(run) + "/wchan").find("poll") != std::string::npos;
    }

    std::vector<pid_t> holders_;
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

// Prints that were killed (by a kill, a terminate or a hang-up) leave
// indexes, scratch folders and spool files in the temporary folder; the
// next start clears those no running program holds, and nothing that is
// not the program's, whatever its name.
TEST_F(LeftoversJourney, TheNextStartClearsWhatKilledPrintsLeftInTheTemporaryFolder)
{
    const std::string card = CopySample("Business Card.lqx");
    const std::string folder = std::filesystem::path(card).parent_path();
    const std::string database = TempFile("contacts.dqx");
    Tool("db new '" + database + "'");
    Tool("db fill '" + database + "' 20");
    Stop();
    const std::string temp = TempFile("tmp");
    std::filesystem::create_directories(temp);
    const QByteArray keptTmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QByteArray::fromStdString(temp));
    const std::string index = temp + "/IDX2B.TMP";
    const std::string heldIndex = temp + "/IDX2C.TMP";
    const std::string spool = temp + "/Tessaline.Ab12Cd";
    const std::string scratch = temp + "/qt_temp-Ab12Cd";
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
    LeftAnHourAgo(spool);
    ASSERT_NO_FATAL_FAILURE(HeldByAnotherProgram(heldIndex));
    leftFolder(scratch);
    leftFolder(elsewhere);
    std::filesystem::create_directories(fresh);
    WriteFileBytes(fresh + "/page1.pdf", "a print under way this minute");
    std::filesystem::create_directory_symlink(elsewhere, link);
    const auto entries = [&temp] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(temp))
            names.insert(entry.path().filename());
        return names;
    };
    const std::set<std::string> before = entries();

    // Told to end, a print clears its own files as it goes.
    for (const int signal : {SIGTERM, SIGHUP}) {
        EXPECT_FALSE(KilledPrint(card, folder, signal, database).empty());
        EXPECT_EQ(entries(), before) << strsignal(signal);
    }
    EXPECT_FALSE(KilledPrint(card, folder, SIGKILL, database).empty());
    // A PostScript job keeps its pages in a spool file until it ends.
    const bool spooled = KilledOnceReady({ToolPath(), "print-ps", card, folder + "/cards.ps", "--copies", "9999"},
                                         SIGKILL, [&](pid_t) {
                                             for (const std::string& name : entries()) {
                                                 std::error_code no;
                                                 if (!before.count(name) && name.rfind("IDX", 0) != 0 &&
                                                     std::filesystem::file_size(temp + "/" + name, no) > 0)
                                                     return true;
                                             }
                                             return false;
                                         });
    EXPECT_TRUE(spooled) << "the PostScript print never spooled its pages";
    std::vector<std::string> killedLeft;
    for (const std::string& name : entries())
        if (!before.count(name))
            killedLeft.push_back(temp + "/" + name);

    Start();
    qputenv("TMPDIR", keptTmpdir);
    if (keptTmpdir.isNull())
        qunsetenv("TMPDIR");
    EXPECT_TRUE(alerts.boxes().empty()) << alerts.lastText();
    for (const std::string& left : killedLeft)
        EXPECT_FALSE(Exists(left)) << left;
    EXPECT_TRUE(Exists(heldIndex)) << "another program holds it";
    for (const std::string& stranger : {index, spool, scratch + "/pages/page1.pdf", fresh + "/page1.pdf"})
        EXPECT_TRUE(Exists(stranger)) << stranger << ": the program never made it";
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
    const std::string left = KilledPrint(card, folder);
    ASSERT_FALSE(left.empty());
    EXPECT_FALSE(Exists(folder + "/cards.pdf"));

    // Another program's, and a new one a writer is about to open, stay.
    const std::string held = folder + "/OUT7A.TMP";
    const std::string opening = folder + "/OUT7B.TMP";
    WriteFileBytes(held, "a print under way");
    WriteFileBytes(opening, "");
    ASSERT_NO_FATAL_FAILURE(HeldByAnotherProgram(held));
    Tool("print-pdf '" + card + "' '" + folder + "/cards.pdf'");
    EXPECT_FALSE(Exists(left)) << "the next print leaves what the killed one left";
    EXPECT_TRUE(Exists(held)) << "another program holds it";
    EXPECT_TRUE(Exists(opening)) << "a print may be about to write it";

    const std::string later = KilledPrint(card, folder);
    ASSERT_FALSE(later.empty());
    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    ASSERT_TRUE(Trigger("File > Save"));
    EXPECT_FALSE(Exists(later)) << "the card's save leaves what a killed print left beside it";
    EXPECT_TRUE(Exists(held));
}

// A print beside files of the same kind of name that it did not write, or
// that another program reads: none of them is taken for a killed print's
// half.
TEST_F(LeftoversJourney, APrintLeavesFilesBesideItThatItDidNotLeaveOrThatAreRead)
{
    const std::string card = CopySample("Business Card.lqx");
    const std::string folder = std::filesystem::path(card).parent_path();
    const std::string users = folder + "/OUTFACE.TMP";
    const std::string read = folder + "/OUT7D.TMP";
    LeftAnHourAgo(users);
    LeftAnHourAgo(read);
    ASSERT_NO_FATAL_FAILURE(ReadByAnotherProgram(read));
    const std::string viewed = KilledPrint(card, folder);
    ASSERT_FALSE(viewed.empty());
    ASSERT_NO_FATAL_FAILURE(ReadByAnotherProgram(viewed));

    ASSERT_NE(OpenThroughMenu(card), nullptr) << alerts.lastText();
    OnNextDialog(PrintToPdfFile(folder + "/cards.pdf"));
    ASSERT_TRUE(Trigger("File > Print > Sheet of Active Document..."));
    EXPECT_TRUE(Exists(folder + "/cards.pdf"));
    EXPECT_TRUE(Exists(users)) << "the program never wrote it";
    EXPECT_TRUE(Exists(read)) << "the program never wrote it";
    EXPECT_TRUE(Exists(viewed)) << "another program reads it";
}

// Only what the program marked goes, and only once its maker has ended:
// a user's file in a folder a killed print left stays (and so does the
// folder), a folder another program works in stays whole, a file of the
// program's kind of name it never marked stays however old, and the folder
// of a print still running stays while another print clears around it.
TEST_F(LeftoversJourney, OnlyWhatTheProgramMarkedGoesNeverWhatARunningProgramHoldsOrWorksIn)
{
    const std::string card = CopySample("Business Card.lqx");
    const std::string folder = std::filesystem::path(card).parent_path();
    Stop();
    const std::string temp = TempFile("tmp");
    std::filesystem::create_directories(temp);
    // The mark of a maker that has ended: this process's number with
    // another start.
    const std::string gone = std::to_string(getpid()) + " 1";
    const auto marked = [&gone](const std::string& path) {
        ASSERT_EQ(lsetxattr(path.c_str(), "user.tessaline.maker", gone.data(), gone.size(), 0), 0) << path;
    };
    const std::string left = folder + "/qt_temp-Ab12Cd";
    std::filesystem::create_directories(left);
    marked(left);
    WriteFileBytes(left + "/QXDefPref", "the killed print's");
    marked(left + "/QXDefPref");
    WriteFileBytes(left + "/user-notes.txt", "a user's notes");
    const std::string worked = folder + "/qt_temp-Ef34Gh";
    std::filesystem::create_directories(worked);
    marked(worked);
    WriteFileBytes(worked + "/QXDefPref", "the killed print's");
    marked(worked + "/QXDefPref");
    const pid_t worker = fork();
    ASSERT_GE(worker, 0);
    if (worker == 0) {
        setpgid(0, 0);
        if (chdir(worked.c_str()) == 0)
            execlp("sleep", "sleep", "600", static_cast<char*>(nullptr));
        _exit(127);
    }
    holders_.push_back(worker);
    // Until it has moved into the folder, the folder would look forsaken.
    const auto inFolder = [&] {
        std::error_code error;
        return std::filesystem::read_symlink("/proc/" + std::to_string(worker) + "/cwd", error) == worked;
    };
    for (int i = 0; i < 6000 && !inFolder(); ++i)
        usleep(10000);
    ASSERT_TRUE(inFolder()) << "the other program never started in its folder";
    const std::string unmarked = temp + "/KPX1A.TMP";
    const std::string swap = temp + "/KPX1B.TMP";
    LeftAnHourAgo(unmarked);
    LeftAnHourAgo(swap);
    marked(swap);

    // A print named from inside the folder, as a user types it.
    bool ok = false;
    CommandOutput("cd '" + folder + "' && TMPDIR='" + temp + "' '" + ToolPath() +
                      "' print-pdf 'Business Card.lqx' cards.pdf 2>&1",
                  &ok);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(Exists(left + "/QXDefPref")) << "the killed print's own file";
    EXPECT_TRUE(Exists(left + "/user-notes.txt")) << "the program never wrote it";
    EXPECT_TRUE(Exists(worked + "/QXDefPref")) << "another program works in its folder";

    // A print still running keeps its folder while another clears around it.
    const std::string live = temp + "/live.pdf";
    const pid_t run = fork();
    ASSERT_GE(run, 0);
    if (run == 0) {
        setenv("TMPDIR", temp.c_str(), 1);
        execl(ToolPath().c_str(), "tessaline-tool", "print-pdf", card.c_str(), live.c_str(), "--copies",
              kLongPrintCopies, static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto ownFolders = [&temp] {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(temp))
            if (entry.path().filename().string().rfind("qt_temp-", 0) == 0)
                found.push_back(entry.path());
        return found;
    };
    for (int i = 0; i < 3000 && Halves(temp).empty(); ++i)
        usleep(10000);
    // Held where it is, however fast the machine: it runs on after.
    kill(run, SIGSTOP);
    const std::vector<std::string> running = ownFolders();
    EXPECT_EQ(running.size(), 1u);
    const std::string other = CopySample("Business Card.lqx", "Other.lqx");
    Tool("print-pdf '" + other + "' '" + temp + "/other.pdf'");
    qputenv("TMPDIR", QByteArray::fromStdString(temp));
    Start();
    qunsetenv("TMPDIR");
    for (const std::string& own : running)
        EXPECT_TRUE(Exists(own + "/QXDefPref")) << "a running print's own file";
    kill(run, SIGCONT);
    const int status = EndedWithin(run, 300);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_TRUE(Exists(live));
    EXPECT_TRUE(Exists(unmarked)) << "the program never marked it";
    EXPECT_FALSE(Exists(swap)) << "the program's own swap file, its maker gone";
}

// A print to a queue from the command line, told to end (a logout, a
// closed terminal) while the print system is taking its job: the print
// system gets no half job, the spool goes, and the program ends as told;
// so does the window.
TEST_F(LeftoversJourney, APrintToAQueueOrTheWindowToldToEndLeavesNothingAndEndsAsTold)
{
#ifdef TESSALINE_PROGRAM_PATH
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    CupsScheduler scheduler({{"Office", 0, "", true}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    // The print goes through a server that answers its questions and holds
    // the job's own request: told to end then, the job is still the
    // program's however fast it got there.
    const std::string socket = TempFile("holds.sock");
    StallingPrintServer server(socket, scheduler.server(), StallingPrintServer::AtTheJob{});
    ASSERT_TRUE(server.listening()) << socket;
    const std::string card = CopySample("Business Card.lqx");
    const std::string temp = TempFile("tmp");
    std::filesystem::create_directories(temp);
    const QByteArray keptTmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QByteArray::fromStdString(temp));
    const auto ours = [&temp] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(temp))
            if (entry.path().filename().string().rfind("runtime-", 0) != 0)
                names.push_back(entry.path().filename());
        return names;
    };
    // The program is told to end once it waits on the server to take the
    // job it drew into its spool.
    bool held = false;
    int waiting = 0;
    int status = 0;
    const bool spooled = KilledOnceReady(
        {TESSALINE_PROGRAM_PATH, "/pt", card, "Office"}, SIGTERM,
        [&](pid_t run) {
            const std::string process = "/proc/" + std::to_string(run);
            std::error_code none;
            for (const auto& fd : std::filesystem::directory_iterator(process + "/fd", none)) {
                const std::string file = std::filesystem::read_symlink(fd, none);
                held = held || file.rfind(temp + "/Tessaline.", 0) == 0 || file.rfind(temp + "/#", 0) == 0;
            }
            waiting = held && server.holding() && Waiting(run) ? waiting + 1 : 0;
            return waiting >= 3;
        },
        &status, {"CUPS_SERVER=" + socket});
    // What the program left with the server reaches the scheduler.
    server.LetGo();
    EXPECT_TRUE(spooled) << "the job never reached its spool or the server";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
    EXPECT_EQ(ours(), std::vector<std::string>{});
    EXPECT_EQ(scheduler.NextOutput("Office", 5), "") << "a job told to end was printed";

    // The window, told to end with the card open, closes it unasked and
    // ends the same way.
    waiting = 0;
    EXPECT_TRUE(KilledOnceReady({TESSALINE_PROGRAM_PATH, card}, SIGTERM,
                                [&](pid_t run) { return (waiting = Waiting(run) ? waiting + 1 : 0) >= 30; },
                                &status));
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
    EXPECT_EQ(ours(), std::vector<std::string>{});
    qputenv("TMPDIR", keptTmpdir);
    if (keptTmpdir.isNull())
        qunsetenv("TMPDIR");
#endif
}

// A print whose document the connection lost on the way, the server still
// answering, ends as failed, and the job made for that document goes from
// the queue: nothing is left there waiting for it.
TEST_F(LeftoversJourney, APrintWhoseDocumentWasLostLeavesNoJobInTheQueue)
{
#ifndef TESSALINE_PROGRAM_PATH
    GTEST_SKIP() << "the window program is not built here";
#else
    if (!CupsScheduler::Missing().empty())
        SKIP_FOR_MISSING_TOOL() << "the print scheduler needs" << CupsScheduler::Missing();
    CupsScheduler scheduler({{"Office", 0, "", true}});
    ASSERT_TRUE(scheduler.ok()) << scheduler.why();
    const std::string socket = TempFile("cuts.sock");
    StallingPrintServer server(socket, scheduler.server(), StallingPrintServer::AtTheDocument{});
    ASSERT_TRUE(server.listening()) << socket;
    bool ok = true;
    const std::string out = CommandOutput("LC_ALL=C QT_QPA_PLATFORM=offscreen CUPS_SERVER='" + socket +
                                              "' timeout 60 '" + TESSALINE_PROGRAM_PATH + "' /pt '" +
                                              CopySample("Business Card.lqx") + "' Office 2>&1",
                                          &ok);
    EXPECT_FALSE(ok) << out;
    EXPECT_NE(out.find("Error while printing."), std::string::npos) << out;
    EXPECT_EQ(scheduler.NextOutput("Office", 5), "") << "a document the server never had was printed";
    http_t* http = httpConnect2(scheduler.server().c_str(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1,
                                5000, nullptr);
    ASSERT_NE(http, nullptr) << scheduler.server();
    cups_job_t* jobs = nullptr;
    const int unfinished = cupsGetJobs2(http, &jobs, "Office", 0, CUPS_WHICHJOBS_ACTIVE);
    cupsFreeJobs(unfinished, jobs);
    httpClose(http);
    EXPECT_EQ(unfinished, 0) << "jobs left unfinished on the queue; " << cupsLastErrorString();
#endif
}

}  // namespace
