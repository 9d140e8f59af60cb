#include "support/test_runner.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <poll.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr const char* kProgressVariable = "TESSALINE_TEST_PROGRESS_FD";

// ---- the suite's own folder ----

void MakeFolder(const std::string& path, mode_t mode)
{
    ::mkdir(path.c_str(), mode);
    ::chmod(path.c_str(), mode);
}

// Tests leave folders they made read-only; the owner may open them again.
void RemoveTree(const std::filesystem::path& root)
{
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error))
            ::chmod(it->path().c_str(), 0700);
    }
    ::chmod(root.c_str(), 0700);
    // Once more now every folder can be entered.
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error))
            ::chmod(it->path().c_str(), 0700);
    }
    std::filesystem::remove_all(root, error);
}

class SuiteFolder {
public:
    SuiteFolder()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tessaline-suite-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("tessaline test: cannot make the suite's folder");
            return;
        }
        root_ = pattern;
        const std::string home = root_ + "/home";
        MakeFolder(home, 0700);
        MakeFolder(root_ + "/tmp", 0700);
        MakeFolder(root_ + "/runtime", 0700);
        MakeFolder(home + "/.config", 0700);
        MakeFolder(home + "/.cache", 0700);
        MakeFolder(home + "/.local", 0700);
        MakeFolder(home + "/.local/share", 0700);
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("TMPDIR", (root_ + "/tmp").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (root_ + "/runtime").c_str(), 1);
    }
    ~SuiteFolder()
    {
        if (!root_.empty())
            RemoveTree(root_);
    }
    SuiteFolder(const SuiteFolder&) = delete;
    SuiteFolder& operator=(const SuiteFolder&) = delete;

private:
    std::string root_;
};

// ---- the child's report of its progress ----

// Writes "S name" as a test starts and "E name" as it ends, straight to the
// pipe, so that the line is there even when the child is stopped.
class ProgressReport : public ::testing::EmptyTestEventListener {
public:
    explicit ProgressReport(int fd) : fd_(fd) {}
    void OnTestStart(const ::testing::TestInfo& test) override { Say('S', test); }
    void OnTestEnd(const ::testing::TestInfo& test) override { Say('E', test); }

private:
    void Say(char what, const ::testing::TestInfo& test) const
    {
        const std::string line = std::string(1, what) + " " + test.test_suite_name() + "." + test.name() + "\n";
        for (size_t done = 0; done < line.size();) {
            const ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
            if (n <= 0 && errno != EINTR)
                return;
            if (n > 0)
                done += size_t(n);
        }
    }
    int fd_;
};

int RunHere(int argc, char** argv, SuiteBody body)
{
    if (const char* fd = std::getenv(kProgressVariable); fd && *fd) {
        const int progress = std::atoi(fd);
        // Programs the tests start don't get it: one that outlives its test
        // would keep the supervisor waiting for the pipe to close.
        ::fcntl(progress, F_SETFD, FD_CLOEXEC);
        ::testing::UnitTest::GetInstance()->listeners().Append(new ProgressReport(progress));
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

// The child's process group, for a supervisor that is itself stopped
// (Ctrl+C, ctest's own time limit): the child goes with it.
volatile sig_atomic_t gChildGroup = 0;

void StopChildAndExit(int signal)
{
    if (gChildGroup > 0)
        ::kill(-pid_t(gChildGroup), SIGKILL);
    ::_exit(128 + signal);
}

struct ChildRun {
    int status = 0;
    std::optional<std::string> hung;     // the test stopped for taking too long
    std::optional<std::string> running;  // the test running when the child ended
};

ChildRun RunChild(const std::vector<std::string>& arguments, double limitSeconds, std::vector<std::string>* started)
{
    ChildRun run;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        std::perror("tessaline test: pipe");
        run.status = 1;
        return run;
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        // A group of its own, so that what its tests started (a forked
        // child waiting on a dialog) is stopped with it.
        ::setpgid(0, 0);
        ::close(pipeFds[0]);
        ::setenv(kProgressVariable, std::to_string(pipeFds[1]).c_str(), 1);
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv("/proc/self/exe", argv.data());
        std::perror("tessaline test: exec");
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    gChildGroup = child;
    std::signal(SIGINT, StopChildAndExit);
    std::signal(SIGTERM, StopChildAndExit);
    using Clock = std::chrono::steady_clock;
    Clock::time_point since = Clock::now();
    std::string pending;
    bool ended = false;
    for (bool open = true; open;) {
        pollfd watch = {pipeFds[0], POLLIN, 0};
        const int ready = ::poll(&watch, 1, 250);
        if (ready > 0) {
            char buffer[4096];
            const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
            if (n <= 0) {
                if (n < 0 && errno == EINTR)
                    continue;
                open = false;
            } else {
                pending.append(buffer, size_t(n));
                for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
                    const std::string name = pending.substr(2, end - 2);
                    if (pending[0] == 'S') {
                        run.running = name;
                        started->push_back(name);
                        since = Clock::now();
                    } else {
                        run.running.reset();
                    }
                }
            }
        }
        // Ended, though something it started holds the pipe: what it said
        // has been read by now.
        if (open && ready == 0 && ::waitpid(child, &run.status, WNOHANG) == child) {
            ended = true;
            open = false;
        }
        if (open && run.running && std::chrono::duration<double>(Clock::now() - since).count() > limitSeconds) {
            run.hung = run.running;
            std::printf("\n[ TIMEOUT  ] %s did not end within %g s; it was stopped, and the tests after it run on\n",
                        run.hung->c_str(), limitSeconds);
            std::fflush(stdout);
            ::kill(-child, SIGKILL);
            ::kill(child, SIGKILL);
            open = false;
        }
    }
    ::close(pipeFds[0]);
    while (!ended && ::waitpid(child, &run.status, 0) < 0 && errno == EINTR) {
    }
    // What its tests started and left running goes with it.
    ::kill(-child, SIGKILL);
    gChildGroup = 0;
    return run;
}

int Supervise(const std::vector<std::string>& original, double limitSeconds)
{
    std::vector<std::string> arguments;
    for (const std::string& argument : original)
        if (argument.rfind("--gtest_filter=", 0) != 0)
            arguments.push_back(argument);
    const std::string filter = GTEST_FLAG_GET(filter);
    const size_t minus = filter.find('-');
    const std::string positive = minus == std::string::npos ? filter : filter.substr(0, minus);
    const std::string negative = minus == std::string::npos ? std::string() : filter.substr(minus + 1);

    std::vector<std::string> started;
    std::vector<std::string> stopped;
    int result = 0;
    for (;;) {
        std::vector<std::string> excluded = started;
        if (!negative.empty())
            excluded.insert(excluded.begin(), negative);
        std::string childFilter = "--gtest_filter=";
        childFilter += positive.empty() ? std::string("*") : positive;
        if (!excluded.empty()) {
            childFilter += '-';
            childFilter += Join(excluded);
        }
        std::vector<std::string> childArguments = arguments;
        childArguments.push_back(childFilter);
        const ChildRun run = RunChild(childArguments, limitSeconds, &started);
        if (run.hung) {
            stopped.push_back(*run.hung + " (did not end within " + std::to_string(int(limitSeconds)) + " s)");
            result = 1;
            continue;
        }
        if (WIFSIGNALED(run.status)) {
            const std::string what = run.running ? *run.running : std::string("(no test running)");
            std::printf("\n[ CRASHED  ] %s: the suite died of signal %d%s\n", what.c_str(), WTERMSIG(run.status),
                        run.running ? "; the tests after it run on" : "");
            stopped.push_back(what + " (signal " + std::to_string(WTERMSIG(run.status)) + ")");
            result = 1;
            if (run.running)
                continue;
            break;
        }
        if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0)
            result = 1;
        break;
    }
    for (const std::string& test : stopped)
        std::printf("[  STOPPED ] %s\n", test.c_str());
    std::fflush(stdout);
    return result;
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
    SuiteFolder folder;
    const double limit = TestTimeLimit();
    if (limit > 0)
        return Supervise(original, limit);
    return RunHere(argc, argv, body);
}
