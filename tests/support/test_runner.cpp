#include "support/test_runner.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fnmatch.h>
#include <optional>
#include <set>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "support/descendants.h"
#include "support/junit_report.h"
#include "support/needed_tools.h"
#include "support/suite_folder.h"
#include "support/test_progress.h"

namespace {

constexpr const char* kProgressVariable = "TESSALINE_TEST_PROGRESS_FD";
constexpr const char* kOutsideTests = "(outside any test)";

int RunHere(int argc, char** argv, SuiteBody body)
{
    if (const char* fd = std::getenv(kProgressVariable); fd && *fd) {
        const int progress = std::atoi(fd);
        // Programs the tests start don't get it: one that outlives its test
        // would keep the supervisor waiting for the pipe to close.
        ::fcntl(progress, F_SETFD, FD_CLOEXEC);
        auto* report = new ProgressReport(progress);
        report->Phase("start");
        ::testing::UnitTest::GetInstance()->listeners().Append(report);
        ::unsetenv(kProgressVariable);
    }
    if (!body || GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    return body(argc, argv);
}

// ---- the supervisor ----

double TestTimeLimit()
{
    const char* text = std::getenv("TESSALINE_TEST_TIMEOUT");
    return text && *text ? std::atof(text) : 0;
}

std::string Join(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ":") + name;
    return joined;
}

// The child's process group, so that a supervisor stopped itself (Ctrl+C,
// ctest's time limit) takes the child with it, and the signal that stopped
// it: the supervisor then ends what is left and removes its folder.
volatile sig_atomic_t gChildGroup = 0;
volatile sig_atomic_t gStopSignal = 0;
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void OnStopSignal(int signal)
{
    gStopSignal = signal;
    if (gChildGroup > 0)
        ::kill(-pid_t(gChildGroup), SIGKILL);
}

void CatchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait the signal breaks returns, and the loop sees it.
    for (const int signal : kStopSignals)
        ::sigaction(signal, &action, nullptr);
}

sigset_t StopSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kStopSignals)
        sigaddset(&set, signal);
    return set;
}

// Whether one of the patterns a filter joins with ':' takes `name`.
bool FilterTakes(const std::string& patterns, const std::string& name)
{
    for (size_t from = 0;;) {
        const size_t colon = patterns.find(':', from);
        const std::string pattern = patterns.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
        if (!pattern.empty() && ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0)
            return true;
        if (colon == std::string::npos)
            return false;
        from = colon + 1;
    }
}

using TestNames = std::vector<std::pair<std::string, std::string>>;

// The tests a run is to run, suite and name: those its filter takes
// (disabled ones only when asked for). What ran is held against them at
// the end, so that no way of ending the program leaves a test out unsaid.
TestNames ScheduledTests(const std::string& positive, const std::string& negative)
{
    TestNames scheduled;
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    const bool disabledToo = GTEST_FLAG_GET(also_run_disabled_tests);
    for (int i = 0; i < unit.total_test_suite_count(); ++i) {
        const ::testing::TestSuite& suite = *unit.GetTestSuite(i);
        const std::string suiteName = suite.name();
        for (int j = 0; j < suite.total_test_count(); ++j) {
            const std::string name = suite.GetTestInfo(j)->name();
            const std::string full = suiteName + "." + name;
            if (!disabledToo && (suiteName.rfind("DISABLED_", 0) == 0 || name.rfind("DISABLED_", 0) == 0))
                continue;
            if (FilterTakes(positive.empty() ? "*" : positive, full) && !FilterTakes(negative, full))
                scheduled.emplace_back(suiteName, name);
        }
    }
    return scheduled;
}

TestOutcome Outcome(const std::string& suite, const std::string& name)
{
    TestOutcome outcome;
    outcome.suite = suite;
    outcome.name = name;
    outcome.result = "failed";
    return outcome;
}

struct ChildEnd {
    int status = 0;
    bool hung = false;
    bool startedAny = false;
    bool failedAny = false;
    std::optional<TestOutcome> running;  // the test running when the child ended
    std::string phase = "start";         // else, where the child was
    std::string phaseSuite;
};

class Supervisor {
public:
    Supervisor(std::vector<std::string> arguments, double limitSeconds)
        : arguments_(std::move(arguments)), limit_(limitSeconds)
    {
    }

    int Run(const std::string& xmlPath);

private:
    ChildEnd RunChild(const std::vector<std::string>& arguments);
    pid_t StartChild(const std::vector<std::string>& arguments, int progressFd);
    void Take(const ProgressEvent& event, ChildEnd* end, pid_t child, int* status, bool* ended);
    // Records how the child ended; whether the tests after it run on.
    bool Judge(const ChildEnd& end);
    // A failure the supervisor found: a test it stopped, or one outside any
    // test.
    void Fail(TestOutcome outcome, const std::string& why);

    std::vector<std::string> arguments_;
    double limit_;
    SuiteFolder folder_;
    std::vector<TestOutcome> outcomes_;
    std::vector<std::string> excluded_;  // what the next child leaves out
    std::vector<std::string> stopped_;
    std::vector<std::string> looseFailures_;
    TestNames scheduled_;
    bool ownReport_ = false;
    int result_ = 0;
};

pid_t Supervisor::StartChild(const std::vector<std::string>& arguments, int progressFd)
{
    EnvironmentSettings environment = folder_.NewRunFolder();
    environment.emplace_back(kProgressVariable, std::to_string(progressFd));
    // The supervisor writes the XML report from what every child said;
    // another kind (JSON) each child writes itself.
    if (ownReport_)
        environment.emplace_back("GTEST_OUTPUT", "");
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t supervisor = ::getpid();

    // Until the child has its group and the supervisor knows it, a Ctrl+C
    // waits: else it could leave the child running.
    const sigset_t stops = StopSignalSet();
    sigset_t before;
    ::sigprocmask(SIG_BLOCK, &stops, &before);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        // A group of its own, so that what its tests started is stopped
        // with it; and it goes if the supervisor is killed outright.
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != supervisor)
            ::_exit(127);
        for (const int signal : kStopSignals)
            std::signal(signal, SIG_DFL);
        ::sigprocmask(SIG_SETMASK, &before, nullptr);
        ApplyEnvironment(environment);
        ::execv("/proc/self/exe", argv.data());
        std::perror("tessaline test: exec");
        ::_exit(127);
    }
    if (child > 0) {
        ::setpgid(child, child);
        gChildGroup = child;
    }
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
    return child;
}

void Supervisor::Take(const ProgressEvent& event, ChildEnd* end, pid_t child, int* status, bool* ended)
{
    switch (event.kind) {
    case 'P':
        end->phase = event.phase;
        end->phaseSuite = event.suite;
        return;
    case 'S':
        end->running = Outcome(event.suite, event.test);
        end->startedAny = true;
        excluded_.push_back(event.suite + "." + event.test);
        return;
    case 'F':
        if (end->running)
            end->running->failures.push_back(event.text);
        else
            looseFailures_.push_back("In " + DescribePhase(end->phase, end->phaseSuite) + ":\n" + event.text);
        return;
    case 'K':
        if (end->running)
            end->running->skipReason = event.text;
        return;
    case 'E':
        if (!end->running)
            return;
        end->running->result = event.result;
        end->running->milliseconds = event.milliseconds;
        if (event.result == "skipped" && end->running->skipReason.empty() && ToolsRequired()) {
            // A skip on CI says why the test can't hold there.
            end->running->result = "failed";
            static const std::string kWhy = "skipped under CI=true without saying why";
            end->running->failures.push_back(kWhy);
            result_ = 1;
            std::printf("[  FAILED  ] %s.%s was skipped under CI=true without saying why\n", event.suite.c_str(),
                        event.test.c_str());
        }
        end->failedAny |= end->running->result == "failed";
        outcomes_.push_back(*end->running);
        end->running.reset();
        // What the test started and left behind, detached from it, ends
        // with the test.
        EndDescendants(child, true, status, ended);
        return;
    default:
        return;
    }
}

ChildEnd Supervisor::RunChild(const std::vector<std::string>& arguments)
{
    ChildEnd end;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0 || ::fcntl(pipeFds[1], F_SETFD, 0) != 0) {
        std::perror("tessaline test: pipe");
        end.status = 1 << 8;
        return end;
    }
    const pid_t child = StartChild(arguments, pipeFds[1]);
    ::close(pipeFds[1]);
    if (child < 0) {
        std::perror("tessaline test: fork");
        ::close(pipeFds[0]);
        end.status = 1 << 8;
        return end;
    }
    using Clock = std::chrono::steady_clock;
    Clock::time_point since = Clock::now();
    std::string pending;
    bool ended = false;
    while (!gStopSignal) {
        pollfd watch = {pipeFds[0], POLLIN, 0};
        const int ready = ::poll(&watch, 1, 250);
        if (ready > 0) {
            char buffer[4096];
            const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            pending.append(buffer, size_t(n));
            for (size_t newline; (newline = pending.find('\n')) != std::string::npos; pending.erase(0, newline + 1)) {
                ProgressEvent event;
                if (ParseProgressLine(pending.substr(0, newline), &event)) {
                    Take(event, &end, child, &end.status, &ended);
                    // The time runs from where the child moved on to, not
                    // from its last failure.
                    if (event.kind == 'P' || event.kind == 'S' || event.kind == 'E')
                        since = Clock::now();
                }
            }
        }
        // Ended, though something it started holds the pipe: what it said
        // has been read by now.
        if (ready == 0) {
            CollectEnded(child, &end.status, &ended);
            if (ended)
                break;
        }
        if (std::chrono::duration<double>(Clock::now() - since).count() > limit_) {
            end.hung = true;
            const std::string what = end.running ? end.running->suite + "." + end.running->name
                                                  : DescribePhase(end.phase, end.phaseSuite);
            std::printf("\n[ TIMEOUT  ] %s did not end within %g s; it was stopped\n", what.c_str(), limit_);
            std::fflush(stdout);
            ::kill(-child, SIGKILL);
            ::kill(child, SIGKILL);
            break;
        }
    }
    ::close(pipeFds[0]);
    if (gStopSignal)
        ::kill(-child, SIGKILL);
    while (!ended) {
        int status = 0;
        const pid_t pid = ::waitpid(child, &status, 0);
        if (pid == child) {
            end.status = status;
            ended = true;
        } else if (pid < 0 && errno != EINTR) {
            break;
        }
    }
    gChildGroup = 0;
    // What its tests started and left running goes with it.
    ::kill(-child, SIGKILL);
    EndDescendants(child, false, &end.status, &ended);
    folder_.RemoveRunFolder();
    return end;
}

void Supervisor::Fail(TestOutcome outcome, const std::string& why)
{
    outcome.result = "failed";
    outcome.failures.push_back(why);
    stopped_.push_back(outcome.suite + "." + outcome.name + " (" + why.substr(0, why.find('\n')) + ")");
    outcomes_.push_back(std::move(outcome));
    result_ = 1;
}

bool Supervisor::Judge(const ChildEnd& end)
{
    std::string why;
    if (end.hung)
        why = "did not end within " + std::to_string(int(limit_)) + " s";
    else if (WIFSIGNALED(end.status))
        why = "the suite died of signal " + std::to_string(WTERMSIG(end.status));
    else if (end.running && WIFEXITED(end.status))
        // exit() inside a test (the program's own fatal alerts end so) ends
        // the child with the test unfinished, whatever the code: that test
        // failed, not the suite's set-up, and the tests after it still run.
        why = "the test ended the test program with exit code " + std::to_string(WEXITSTATUS(end.status));
    else if (WIFEXITED(end.status) && end.phase != "exit")
        // Outside any test, before the tests were done (a suite's set-up or
        // tear-down, the global environments): whatever the code, even 0,
        // what was still to run never ran.
        why = "the test program ended with exit code " + std::to_string(WEXITSTATUS(end.status));
    if (why.empty()) {
        if (!WIFEXITED(end.status) || WEXITSTATUS(end.status) != 0) {
            result_ = 1;
            // A failure no test holds, such as a leak report at exit, still
            // shows in the report.
            if (!end.failedAny && looseFailures_.empty())
                Fail(Outcome(kOutsideTests, DescribePhase(end.phase, end.phaseSuite)),
                     "the test program exited with code " + std::to_string(WEXITSTATUS(end.status)) +
                         " outside any test (see its output)");
        }
        return false;
    }
    if (end.running) {
        if (!end.hung)
            std::printf("\n[ CRASHED  ] %s.%s: %s; the tests after it run on\n", end.running->suite.c_str(),
                        end.running->name.c_str(), why.c_str());
        TestOutcome outcome = *end.running;
        outcome.milliseconds = end.hung ? long(limit_ * 1000) : 0;
        Fail(outcome, why);
        return true;
    }
    const std::string where = DescribePhase(end.phase, end.phaseSuite);
    if (!end.hung)
        std::printf("\n[ CRASHED  ] %s: %s\n", where.c_str(), why.c_str());
    Fail(Outcome(end.phaseSuite.empty() ? kOutsideTests : end.phaseSuite, where), why);
    // A suite whose set-up never ends, or ends the program, would do so the
    // next time too: its tests are left out, and the rest run on.
    if (end.phase == "suite-set-up") {
        excluded_.push_back(end.phaseSuite + ".*");
        return true;
    }
    // The tests after a suite's tear-down run on; before the first test or
    // after the last, nothing is left to run.
    return end.startedAny && (end.phase == "suite-tear-down" || end.phase == "after-suite");
}

int Supervisor::Run(const std::string& xmlPath)
{
    ownReport_ = !xmlPath.empty();
    BecomeSubreaper();
    CatchStopSignals();
    std::vector<std::string> arguments;
    for (const std::string& argument : arguments_)
        if (argument.rfind("--gtest_filter=", 0) != 0 && (!ownReport_ || argument.rfind("--gtest_output=", 0) != 0))
            arguments.push_back(argument);
    const std::string filter = GTEST_FLAG_GET(filter);
    const size_t minus = filter.find('-');
    const std::string positive = minus == std::string::npos ? filter : filter.substr(0, minus);
    if (minus != std::string::npos && minus + 1 < filter.size())
        excluded_.push_back(filter.substr(minus + 1));
    // Sharded, a child runs only its share of what the filter takes.
    if (!std::getenv("GTEST_TOTAL_SHARDS"))
        scheduled_ = ScheduledTests(positive, minus == std::string::npos ? std::string() : filter.substr(minus + 1));

    for (bool again = true; again && !gStopSignal;) {
        std::string childFilter = "--gtest_filter=";
        childFilter += positive.empty() ? std::string("*") : positive;
        if (!excluded_.empty()) {
            childFilter += '-';
            childFilter += Join(excluded_);
        }
        std::vector<std::string> childArguments = arguments;
        childArguments.push_back(childFilter);
        again = Judge(RunChild(childArguments));
    }
    for (const std::string& failure : looseFailures_)
        Fail(Outcome(kOutsideTests, "a failure outside any test"), failure);
    // What was to run and never did (its suite's set-up ended the program,
    // or the program ended before the tests) fails by name.
    std::set<std::string> ran;
    for (const TestOutcome& outcome : outcomes_)
        ran.insert(outcome.suite + "." + outcome.name);
    for (const auto& [suite, name] : scheduled_)
        if (!gStopSignal && !ran.count(suite + "." + name))
            Fail(Outcome(suite, name), "never ran: the test program ended before it (see above)");
    for (const std::string& test : stopped_)
        std::printf("[  STOPPED ] %s\n", test.c_str());
    if (!xmlPath.empty() && !WriteXmlReport(xmlPath, outcomes_)) {
        std::fprintf(stderr, "tessaline test: cannot write %s\n", xmlPath.c_str());
        result_ = 1;
    }
    std::fflush(stdout);
    if (gStopSignal) {
        std::fprintf(stderr, "tessaline test: stopped by signal %d\n", int(gStopSignal));
        return 128 + gStopSignal;
    }
    bool allSkipped = !outcomes_.empty();
    for (const TestOutcome& outcome : outcomes_)
        allSkipped &= outcome.result == "skipped";
    return result_ == 0 && allSkipped ? kEveryTestSkipped : result_;
}

}  // namespace

int RunTestSuite(int argc, char** argv, SuiteBody body)
{
    const std::vector<std::string> original(argv, argv + argc);
    ::testing::InitGoogleTest(&argc, argv);
    if (std::getenv(kProgressVariable))
        return RunHere(argc, argv, body);
    if (GTEST_FLAG_GET(list_tests))
        return RunHere(argc, argv, nullptr);
    // A death test's own child runs its statement here: it tells nothing of
    // its progress, and how it ends is the death test's to judge.
    if (!GTEST_FLAG_GET(internal_run_death_test).empty())
        return RunHere(argc, argv, body);
    const double limit = TestTimeLimit();
    if (limit > 0)
        return Supervisor(original, limit).Run(XmlReportPath(GTEST_FLAG_GET(output), original[0]));
    SuiteFolder folder;
    ApplyEnvironment(folder.NewRunFolder());
    return RunHere(argc, argv, body);
}
