#include "support/descendants.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The living processes of the machine by their parent, read from /proc.
std::multimap<pid_t, pid_t> ChildrenByParent()
{
    std::multimap<pid_t, pid_t> children;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return children;
    while (const dirent* entry = ::readdir(proc)) {
        const pid_t pid = pid_t(std::atol(entry->d_name));
        if (pid <= 0)
            continue;
        std::ifstream file("/proc/" + std::string(entry->d_name) + "/stat");
        std::string stat;
        std::getline(file, stat);
        // The command name is in parentheses and may hold anything.
        const size_t close = stat.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream rest(stat.substr(close + 1));
        char state = 0;
        long parent = 0;
        rest >> state >> parent;
        if (state != 'Z' && state != 'X')
            children.emplace(pid_t(parent), pid);
    }
    ::closedir(proc);
    return children;
}

void AddTree(const std::multimap<pid_t, pid_t>& children, pid_t root, std::vector<pid_t>* tree)
{
    const auto [first, last] = children.equal_range(root);
    for (auto it = first; it != last; ++it) {
        tree->push_back(it->second);
        AddTree(children, it->second, tree);
    }
}

}  // namespace

void BecomeSubreaper() { ::prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0); }

void CollectEnded(pid_t testProcess, int* status, bool* ended)
{
    int what = 0;
    for (pid_t pid; (pid = ::waitpid(-1, &what, WNOHANG)) > 0;) {
        if (pid == testProcess) {
            *status = what;
            *ended = true;
        }
    }
}

// Whether the supervisor has a child besides the test process; true when
// it can't tell. Read first, as a test ends: scanning /proc costs more.
bool HasOtherChildren(pid_t testProcess)
{
    const std::string self = std::to_string(::getpid());
    std::ifstream file("/proc/" + self + "/task/" + self + "/children");
    if (!file)
        return true;
    for (long pid; file >> pid;)
        if (pid != testProcess)
            return true;
    return false;
}

void EndDescendants(pid_t testProcess, bool spareTestProcess, int* status, bool* ended)
{
    if (spareTestProcess && !HasOtherChildren(testProcess)) {
        CollectEnded(testProcess, status, ended);
        return;
    }
    // A process may start another while it is being stopped, and one
    // stopped hands its own to the supervisor: again until none is left.
    for (int round = 0; round < 200; ++round) {
        const std::multimap<pid_t, pid_t> children = ChildrenByParent();
        std::vector<pid_t> others;
        const auto [first, last] = children.equal_range(::getpid());
        for (auto it = first; it != last; ++it) {
            if (it->second == testProcess && spareTestProcess)
                continue;
            others.push_back(it->second);
            AddTree(children, it->second, &others);
        }
        CollectEnded(testProcess, status, ended);
        if (others.empty())
            return;
        for (const pid_t pid : others)
            ::kill(pid, SIGKILL);
        ::usleep(5000);
        CollectEnded(testProcess, status, ended);
    }
}
