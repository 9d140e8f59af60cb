// The suites' own safety nets (support/test_runner.h): a modal window
// nobody answers is closed and fails its test by name; a hang anywhere is
// stopped and named, and the tests after it run on; what a test started
// ends with it; a leak, a crash, a test or a suite's set-up or tear-down
// that ends its program, or a skip CI can't accept fails by name; and the suite sees none of the machine's
// printers. The subjects are disabled tests of this suite, run in a child
// process.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include "support/needed_tools.h"
#include "support/run_program.h"
#include "support/shell.h"
#include "support/temp_dir.h"
#include "support/test_runner.h"

namespace {

// Where a subject leaves what the test reads back.
std::string SubjectFile(const char* name)
{
    return std::string(std::getenv("TESSALINE_SUBJECT_FOLDER") ? std::getenv("TESSALINE_SUBJECT_FOLDER") : "/nonexistent") +
           "/" + name;
}

TEST(SafetyNetSubject, DISABLED_LeavesAMessageBoxOpen)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Nobody answers this"), QStringLiteral("Still there?"));
    box.exec();
}

TEST(SafetyNetSubject, DISABLED_RunsAfterTheWindowWasClosed) {}

TEST(SafetyNetSubject, DISABLED_NeverEnds)
{
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

TEST(SafetyNetSubject, DISABLED_RunsAfterTheOneStopped) {}

TEST(SafetyNetSubject, DISABLED_LeavesADetachedProcess)
{
    const QString pidFile = QString::fromStdString(SubjectFile("grandchild"));
    ASSERT_TRUE(QProcess::startDetached(QStringLiteral("setsid"),
                                        {QStringLiteral("sh"), QStringLiteral("-c"),
                                         QStringLiteral("echo $$ > \"$1.new\" && mv \"$1.new\" \"$1\" && exec sleep 600"),
                                         QStringLiteral("sh"), pidFile}));
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(pidFile) && waited.elapsed() < 20000)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(QFile::exists(pidFile));
}

TEST(SafetyNetSubject, DISABLED_MarksItsFolderAndCrashes)
{
    WriteFileBytes(std::string(std::getenv("HOME")) + "/mark", "left by a test that crashed");
    WriteFileBytes(std::string(std::getenv("TMPDIR")) + "/mark", "left by a test that crashed");
    std::abort();
}

// Ends the whole test program from inside the test, as a fatal alert does
// (exit code 3) or as a stray exit(0) would.
TEST(SafetyNetSubject, DISABLED_EndsItsProgramWithExitZero) { std::exit(0); }

TEST(SafetyNetSubject, DISABLED_EndsItsProgramWithExitThree) { std::exit(3); }

TEST(SafetyNetSubject, DISABLED_RunsAfterTheOneThatEndedItsProgram) {}

TEST(SafetyNetSubject, DISABLED_FindsNoMarkOfTheOneBefore)
{
    EXPECT_FALSE(std::filesystem::exists(std::string(std::getenv("HOME")) + "/mark"));
    EXPECT_FALSE(std::filesystem::exists(std::string(std::getenv("TMPDIR")) + "/mark"));
}

TEST(SafetyNetSubject, DISABLED_NeedsAToolNobodyHas)
{
    if (!HaveTool("tessaline-planted-missing-tool"))
        SKIP_FOR_MISSING_TOOL();
}

TEST(SafetyNetSubject, DISABLED_SkipsWithoutSayingWhy) { GTEST_SKIP(); }

// Made in a slot, as most of the program's work is: the leak check must
// see it there.
__attribute__((noinline)) void LeakFourKilobytesInASlot()
{
    static char* volatile kept;
    kept = new char[4096];
    kept[0] = 1;
    kept = nullptr;
}

TEST(SafetyNetSubject, DISABLED_LeaksInATimerSlot)
{
    bool ran = false;
    QTimer::singleShot(0, [&ran] {
        LeakFourKilobytesInASlot();
        ran = true;
    });
    QElapsedTimer waited;
    waited.start();
    while (!ran && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_TRUE(ran);
}

class SafetyNetTearDownSubject : public ::testing::Test {
protected:
    static void TearDownTestSuite()
    {
        for (;;)
            std::this_thread::sleep_for(std::chrono::seconds(1));
    }
};

TEST_F(SafetyNetTearDownSubject, DISABLED_PassesBeforeItsSuiteHangs) {}

TEST(SafetyNetAfterSubject, DISABLED_RunsAfterTheTearDownStopped) {}

// A suite's set-up or tear-down that ends the whole program, with the code
// TESSALINE_SUBJECT_EXIT names (0 as a stray exit(0), 3 as a fatal alert).
void EndTheProgramAsAsked()
{
    const char* code = std::getenv("TESSALINE_SUBJECT_EXIT");
    std::exit(code ? std::atoi(code) : 0);
}

class SafetyNetSetUpExitSubject : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EndTheProgramAsAsked(); }
};

TEST_F(SafetyNetSetUpExitSubject, DISABLED_NeverRunsAsItsSetUpEndsTheProgram) {}

class SafetyNetTearDownExitSubject : public ::testing::Test {
protected:
    static void TearDownTestSuite() { EndTheProgramAsAsked(); }
};

TEST_F(SafetyNetTearDownExitSubject, DISABLED_PassesBeforeItsTearDownEndsTheProgram) {}

// Ends the program before any test, in the global environments' set-up,
// where a subject run asks for it.
class EndsTheProgramFirst : public ::testing::Environment {
public:
    void SetUp() override { EndTheProgramAsAsked(); }
};
[[maybe_unused]] const bool gEndsTheProgramFirst =
    std::getenv("TESSALINE_SUBJECT_EXIT_FIRST") && ::testing::AddGlobalTestEnvironment(new EndsTheProgramFirst);

TEST(SafetyNetAfterExitSubject, DISABLED_FailsAfterASuiteEndedTheProgram)
{
    ADD_FAILURE() << "the planted failure after the suite that ended the program";
}

// Hangs as the program exits, after every test, in the process that ran
// the subject below (not its supervisor).
bool gHangAtExit = false;
struct HangAtExit {
    ~HangAtExit()
    {
        while (gHangAtExit)
            std::this_thread::sleep_for(std::chrono::seconds(1));
    }
} hangAtExit;

TEST(SafetyNetSubject, DISABLED_PassesThenHangsAtExit) { gHangAtExit = true; }

struct SubjectRun {
    int exitCode = -1;
    double seconds = 0;
    std::string output;
};

QProcessEnvironment SubjectEnvironment(const QString& variable, const QString& value)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"TESSALINE_TEST_TIMEOUT", "CI", "GTEST_OUTPUT"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(variable, value);
    return environment;
}

void StartSubjects(QProcess* child, const QString& filter, const QProcessEnvironment& environment,
                   const QStringList& more = {})
{
    child->setProcessEnvironment(environment);
    child->setProcessChannelMode(QProcess::MergedChannels);
    child->start(QCoreApplication::applicationFilePath(),
                 QStringList{QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=") + filter} +
                     more);
}

SubjectRun RunSubjects(const QString& filter, const QProcessEnvironment& environment, const QStringList& more = {})
{
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    StartSubjects(&child, filter, environment, more);
    SubjectRun run;
    if (!child.waitForFinished(120000)) {
        child.kill();
        child.waitForFinished();
        ADD_FAILURE() << "the subjects did not end within two minutes";
    }
    run.seconds = clock.elapsed() / 1000.0;
    run.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    run.output = child.readAll().toStdString();
    return run;
}

SubjectRun RunSubjects(const QString& filter, const QString& variable, const QString& value)
{
    return RunSubjects(filter, SubjectEnvironment(variable, value));
}

QProcessEnvironment Supervised(int seconds)
{
    return SubjectEnvironment(QStringLiteral("TESSALINE_TEST_TIMEOUT"), QString::number(seconds));
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(TestSafetyNet, AModalWindowNobodyAnswersIsClosedAndFailsItsTestByName)
{
    const SubjectRun run = RunSubjects(
        QStringLiteral("SafetyNetSubject.DISABLED_LeavesAMessageBoxOpen:SafetyNetSubject.DISABLED_RunsAfterTheWindowWasClosed"),
        QStringLiteral("TESSALINE_MODAL_TIMEOUT"), QStringLiteral("1"));
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_LT(run.seconds, 30) << run.output;
    EXPECT_NE(run.output.find("The modal window \"Nobody answers this\" (QMessageBox) stayed open for more than 1 s in "
                              "SafetyNetSubject.DISABLED_LeavesAMessageBoxOpen"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("[  FAILED  ] SafetyNetSubject.DISABLED_LeavesAMessageBoxOpen"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("[       OK ] SafetyNetSubject.DISABLED_RunsAfterTheWindowWasClosed"), std::string::npos)
        << run.output;
}

TEST(TestSafetyNet, ATestThatNeverEndsIsStoppedAndNamedAndTheRestRun)
{
    TempDir dir;
    const SubjectRun run = RunSubjects(
        QStringLiteral("SafetyNetSubject.DISABLED_NeverEnds:SafetyNetSubject.DISABLED_RunsAfterTheOneStopped"),
        Supervised(2), {QStringLiteral("--gtest_output=xml:") + QString::fromStdString(dir.file("report.xml"))});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_LT(run.seconds, 30) << run.output;
    EXPECT_NE(run.output.find("[ TIMEOUT  ] SafetyNetSubject.DISABLED_NeverEnds did not end within 2 s"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("[       OK ] SafetyNetSubject.DISABLED_RunsAfterTheOneStopped"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("[  STOPPED ] SafetyNetSubject.DISABLED_NeverEnds"), std::string::npos) << run.output;
    // The report holds both children's tests, the stopped one failed.
    const std::string report = ReadFileBytes(dir.file("report.xml"));
    EXPECT_TRUE(Contains(report, "<testsuites tests=\"2\" failures=\"1\"")) << report;
    EXPECT_TRUE(Contains(report, "<testcase name=\"DISABLED_NeverEnds\"")) << report;
    EXPECT_TRUE(Contains(report, "did not end within 2 s]]></failure>")) << report;
    EXPECT_TRUE(Contains(report, "<testcase name=\"DISABLED_RunsAfterTheOneStopped\" status=\"run\" result=\"completed\"")) << report;
}

TEST(TestSafetyNet, AHangInASuitesTearDownOrAtExitIsStoppedAndNamed)
{
    const SubjectRun run = RunSubjects(QStringLiteral("SafetyNetTearDownSubject.*:SafetyNetAfterSubject.*"), Supervised(2));
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_LT(run.seconds, 30) << run.output;
    EXPECT_TRUE(Contains(run.output, "[ TIMEOUT  ] the tear-down of test suite SafetyNetTearDownSubject "
                                     "(TearDownTestSuite) did not end within 2 s"))
        << run.output;
    EXPECT_TRUE(Contains(run.output, "[       OK ] SafetyNetAfterSubject.DISABLED_RunsAfterTheTearDownStopped"))
        << run.output;

    const SubjectRun atExit = RunSubjects(QStringLiteral("SafetyNetSubject.DISABLED_PassesThenHangsAtExit"), Supervised(2));
    EXPECT_EQ(atExit.exitCode, 1) << atExit.output;
    EXPECT_LT(atExit.seconds, 30) << atExit.output;
    EXPECT_TRUE(Contains(atExit.output, "[ TIMEOUT  ] the program's exit (the application's tear-down, static "
                                        "destructors) did not end within 2 s"))
        << atExit.output;
}

TEST(TestSafetyNet, AProcessATestLeftRunningEndsWithItEvenDetached)
{
    TempDir dir;
    QProcessEnvironment environment = Supervised(60);
    environment.insert(QStringLiteral("TESSALINE_SUBJECT_FOLDER"), QString::fromStdString(dir.path()));
    const SubjectRun run = RunSubjects(QStringLiteral("SafetyNetSubject.DISABLED_LeavesADetachedProcess"), environment);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const pid_t grandchild = pid_t(std::atol(ReadFileBytes(dir.file("grandchild")).c_str()));
    ASSERT_GT(grandchild, 0) << run.output;
    const bool alive = ::kill(grandchild, 0) == 0;
    EXPECT_FALSE(alive) << "the detached process " << grandchild << " still runs";
    if (alive)
        ::kill(grandchild, SIGKILL);
}

TEST(TestSafetyNet, TheTestsAfterACrashRunInAFreshFolder)
{
    const SubjectRun run = RunSubjects(
        QStringLiteral("SafetyNetSubject.DISABLED_MarksItsFolderAndCrashes:SafetyNetSubject.DISABLED_FindsNoMarkOfTheOneBefore"),
        Supervised(60));
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(Contains(run.output, "[  STOPPED ] SafetyNetSubject.DISABLED_MarksItsFolderAndCrashes (the suite died of signal"))
        << run.output;
    EXPECT_TRUE(Contains(run.output, "[       OK ] SafetyNetSubject.DISABLED_FindsNoMarkOfTheOneBefore")) << run.output;
}

TEST(TestSafetyNet, ATestThatEndsItsProgramFailsByNameAndTheRestRun)
{
    for (const char* code : {"Zero", "Three"}) {
        TempDir dir;
        const std::string subject = std::string("SafetyNetSubject.DISABLED_EndsItsProgramWithExit") + code;
        const SubjectRun run = RunSubjects(
            QString::fromStdString(subject + ":SafetyNetSubject.DISABLED_RunsAfterTheOneThatEndedItsProgram"), Supervised(60),
            {QStringLiteral("--gtest_output=xml:") + QString::fromStdString(dir.file("report.xml"))});
        const std::string exitCode = std::string("exit code ") + (code[0] == 'Z' ? "0" : "3");
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_TRUE(Contains(run.output, "[  STOPPED ] " + subject + " (the test ended the test program with " + exitCode))
            << run.output;
        EXPECT_FALSE(Contains(run.output, "SetUpTestSuite")) << run.output;
        EXPECT_TRUE(Contains(run.output, "[       OK ] SafetyNetSubject.DISABLED_RunsAfterTheOneThatEndedItsProgram"))
            << run.output;
        const std::string report = ReadFileBytes(dir.file("report.xml"));
        EXPECT_TRUE(Contains(report, "<testsuites tests=\"2\" failures=\"1\"")) << report;
        EXPECT_TRUE(Contains(report, "<testcase name=\"DISABLED_EndsItsProgramWithExit" + std::string(code) + "\""))
            << report;
        EXPECT_TRUE(Contains(report, "the test ended the test program with " + exitCode + "]]></failure>")) << report;
    }
}

TEST(TestSafetyNet, ASuiteSetUpOrTearDownThatEndsItsProgramFailsByNameAndTheRestRun)
{
    for (const bool setUp : {true, false}) {
        for (const char* code : {"0", "3"}) {
            SCOPED_TRACE(std::string(setUp ? "set-up" : "tear-down") + " ends with " + code);
            TempDir dir;
            QProcessEnvironment environment = Supervised(60);
            environment.insert(QStringLiteral("TESSALINE_SUBJECT_EXIT"), QString::fromLatin1(code));
            const std::string subject = setUp ? "SafetyNetSetUpExitSubject" : "SafetyNetTearDownExitSubject";
            const SubjectRun run =
                RunSubjects(QString::fromStdString(subject + ".*:SafetyNetAfterExitSubject.*"), environment,
                            {QStringLiteral("--gtest_output=xml:") + QString::fromStdString(dir.file("report.xml"))});
            EXPECT_EQ(run.exitCode, 1) << run.output;
            const std::string where = setUp ? "the set-up of test suite " + subject + " (SetUpTestSuite)"
                                            : "the tear-down of test suite " + subject + " (TearDownTestSuite)";
            EXPECT_TRUE(Contains(run.output, "[  STOPPED ] " + subject + "." + where +
                                                 " (the test program ended with exit code " + code + ")"))
                << run.output;
            // The suite after it runs, and its planted failure fails.
            EXPECT_TRUE(Contains(run.output, "[  FAILED  ] SafetyNetAfterExitSubject.DISABLED_FailsAfterASuiteEndedTheProgram"))
                << run.output;
            const std::string report = ReadFileBytes(dir.file("report.xml"));
            if (setUp) {
                // The suite's own test never ran: that fails by name too.
                EXPECT_TRUE(Contains(run.output, "[  STOPPED ] SafetyNetSetUpExitSubject."
                                                 "DISABLED_NeverRunsAsItsSetUpEndsTheProgram (never ran"))
                    << run.output;
                EXPECT_TRUE(Contains(report, "<testsuites tests=\"3\" failures=\"3\"")) << report;
            } else {
                EXPECT_TRUE(Contains(run.output, "[       OK ] SafetyNetTearDownExitSubject."
                                                 "DISABLED_PassesBeforeItsTearDownEndsTheProgram"))
                    << run.output;
                EXPECT_TRUE(Contains(report, "<testsuites tests=\"3\" failures=\"2\"")) << report;
            }
        }
    }
    // Before any test: nothing ran, and each test says so.
    QProcessEnvironment first = Supervised(60);
    first.insert(QStringLiteral("TESSALINE_SUBJECT_EXIT_FIRST"), QStringLiteral("1"));
    first.insert(QStringLiteral("TESSALINE_SUBJECT_EXIT"), QStringLiteral("0"));
    const SubjectRun run = RunSubjects(QStringLiteral("SafetyNetAfterExitSubject.*"), first);
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_TRUE(Contains(run.output, "[  STOPPED ] (outside any test).the set-up of the global test environments "
                                     "(the test program ended with exit code 0)"))
        << run.output;
    EXPECT_TRUE(Contains(run.output, "[  STOPPED ] SafetyNetAfterExitSubject.DISABLED_FailsAfterASuiteEndedTheProgram "
                                     "(never ran"))
        << run.output;
}

TEST(TestSafetyNet, UnderCiASkipForAMissingToolOrWithoutAReasonFails)
{
    const QString missingTool = QStringLiteral("SafetyNetSubject.DISABLED_NeedsAToolNobodyHas");
    const QString noReason = QStringLiteral("SafetyNetSubject.DISABLED_SkipsWithoutSayingWhy");
    // Elsewhere both are skips, and a run of nothing but skips says so.
    for (const QString& subject : {missingTool, noReason}) {
        const SubjectRun run = RunSubjects(subject, Supervised(60));
        EXPECT_EQ(run.exitCode, kEveryTestSkipped) << run.output;
        EXPECT_TRUE(Contains(run.output, "[  SKIPPED ] " + subject.toStdString())) << run.output;
    }
    QProcessEnvironment ci = Supervised(60);
    ci.insert(QStringLiteral("CI"), QStringLiteral("true"));
    for (const QString& subject : {missingTool, noReason}) {
        const SubjectRun run = RunSubjects(subject, ci);
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_TRUE(Contains(run.output, "[  FAILED  ] " + subject.toStdString())) << run.output;
    }
}

TEST(TestSafetyNet, ALeakInASlotFailsTheSuiteNamingWhereItWasMade)
{
#if defined(__SANITIZE_ADDRESS__) || (defined(__has_feature) && __has_feature(address_sanitizer))
    const SubjectRun run = RunSubjects(QStringLiteral("SafetyNetSubject.DISABLED_LeaksInATimerSlot"), Supervised(120));
    EXPECT_NE(run.exitCode, 0) << run.output;
    EXPECT_TRUE(Contains(run.output, "Direct leak of 4096 byte(s)")) << run.output;
    EXPECT_TRUE(Contains(run.output, "LeakFourKilobytesInASlot")) << run.output;
    EXPECT_TRUE(Contains(run.output, "[  STOPPED ] (outside any test).the program's exit")) << run.output;
#else
    GTEST_SKIP() << "only a build with the leak checker (TESSALINE_SANITIZE) sees a leak";
#endif
}

TEST(TestSafetyNet, AStoppedSupervisorLeavesNoFolderAndNoTestRunning)
{
    TempDir dir;
    QProcessEnvironment environment = Supervised(60);
    environment.insert(QStringLiteral("TMPDIR"), QString::fromStdString(dir.path()));
    const auto suiteFolders = [&dir] {
        return QDir(QString::fromStdString(dir.path())).entryList({QStringLiteral("tessaline-suite-*")}, QDir::Dirs);
    };
    const auto startHanging = [&](QProcess* supervisor) {
        StartSubjects(supervisor, QStringLiteral("SafetyNetSubject.DISABLED_NeverEnds"), environment);
        QElapsedTimer waited;
        waited.start();
        while (!supervisor->readAll().contains("[ RUN      ]") && waited.elapsed() < 60000)
            supervisor->waitForReadyRead(100);
    };
    {
        QProcess supervisor;
        startHanging(&supervisor);
        EXPECT_EQ(suiteFolders().size(), 1);
        ::kill(pid_t(supervisor.processId()), SIGTERM);
        EXPECT_TRUE(supervisor.waitForFinished(30000));
        EXPECT_EQ(supervisor.exitCode(), 128 + SIGTERM);
        EXPECT_TRUE(suiteFolders().isEmpty()) << suiteFolders().join(' ').toStdString();
    }
    {
        // Nobody can catch SIGKILL: the folder stays until the next suite
        // starts there, and the test goes with its supervisor.
        QProcess supervisor;
        startHanging(&supervisor);
        supervisor.kill();
        EXPECT_TRUE(supervisor.waitForFinished(30000));
        const SubjectRun next = RunSubjects(QStringLiteral("SafetyNetSubject.DISABLED_RunsAfterTheOneStopped"), environment);
        EXPECT_EQ(next.exitCode, 0) << next.output;
        EXPECT_TRUE(suiteFolders().isEmpty()) << suiteFolders().join(' ').toStdString();
    }
}

// Each suite is set up with no print server: a test gets the printers it
// sets up itself, whatever queue or default paper this machine has.
// A forked program's watchdog leaves one that ends in time alone, with its
// own status, and kills one that outlasts it.
TEST(TestSafetyNet, AForkedProgramIsWaitedForAndKilledOnlyPastItsTime)
{
    const pid_t quick = fork();
    if (quick == 0)
        _exit(3);
    bool inTime = false;
    int status = EndedWithin(quick, 60, &inTime);
    EXPECT_TRUE(inTime);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;

    const pid_t stuck = fork();
    if (stuck == 0) {
        pause();
        _exit(0);
    }
    status = EndedWithin(stuck, 1, &inTime);
    EXPECT_FALSE(inTime);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_EQ(kill(stuck, 0), -1) << "the stuck program was left running or unreaped";
}

TEST(TestSafetyNet, TheSuiteSeesNoneOfTheMachinesPrinters)
{
    EXPECT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty())
        << QPrinterInfo::availablePrinterNames().join(' ').toStdString();
    EXPECT_TRUE(QPrinterInfo::defaultPrinter().isNull());
}

}  // namespace
