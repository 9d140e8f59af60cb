// The suites' own safety nets (support/test_runner.h): a modal window
// nobody answers is closed and fails its test by name, and a test that
// never ends is stopped and named; either way the tests after it run. The
// subjects are disabled tests of this suite, run in a child process.
#include <chrono>
#include <thread>

#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

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

struct SubjectRun {
    int exitCode = -1;
    double seconds = 0;
    std::string output;
};

SubjectRun RunSubjects(const QString& filter, const QString& variable, const QString& value)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("TESSALINE_TEST_TIMEOUT"));
    environment.insert(variable, value);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=") + filter});
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
    const SubjectRun run = RunSubjects(
        QStringLiteral("SafetyNetSubject.DISABLED_NeverEnds:SafetyNetSubject.DISABLED_RunsAfterTheOneStopped"),
        QStringLiteral("TESSALINE_TEST_TIMEOUT"), QStringLiteral("2"));
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_LT(run.seconds, 30) << run.output;
    EXPECT_NE(run.output.find("[ TIMEOUT  ] SafetyNetSubject.DISABLED_NeverEnds did not end within 2 s"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("[       OK ] SafetyNetSubject.DISABLED_RunsAfterTheOneStopped"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("[  STOPPED ] SafetyNetSubject.DISABLED_NeverEnds"), std::string::npos) << run.output;
}

}  // namespace
