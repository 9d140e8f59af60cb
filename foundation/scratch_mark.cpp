#include "foundation/scratch_mark.h"

#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

constexpr const char* kMarkName = "user.tessaline.maker";

// A process as no other before or after it on this machine: its number and
// the moment it started (in clock ticks since boot). Empty when /proc does
// not tell.
std::string ProcessStamp(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // The program's name, in parentheses, may hold spaces; the fields after
    // the last parenthesis start with the third.
    const size_t close = line.rfind(')');
    if (close == std::string::npos)
        return {};
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int n = 3; fields >> field; ++n) {
        if (n == 22)
            return std::to_string(pid) + " " + field;
    }
    return {};
}

const std::string& OwnStamp()
{
    static const std::string stamp = ProcessStamp(::getpid());
    return stamp;
}

}  // namespace

void MarkOwnScratch(int fd)
{
    if (fd >= 0 && !OwnStamp().empty())
        ::fsetxattr(fd, kMarkName, OwnStamp().data(), OwnStamp().size(), 0);
}

void MarkOwnScratch(const std::string& path)
{
    if (!OwnStamp().empty())
        ::lsetxattr(path.c_str(), kMarkName, OwnStamp().data(), OwnStamp().size(), 0);
}

void UnmarkOwnScratch(int fd)
{
    if (fd >= 0)
        ::fremovexattr(fd, kMarkName);
}

void MarkIfInOwnScratch(int fd, const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    char value[64];
    const ssize_t n = ::lgetxattr(folder.c_str(), kMarkName, value, sizeof value);
    if (n > 0 && !OwnStamp().empty() && std::string(value, size_t(n)) == OwnStamp())
        MarkOwnScratch(fd);
}

ScratchMaker ScratchMakerOf(const std::string& path)
{
    char value[64];
    const ssize_t n = ::lgetxattr(path.c_str(), kMarkName, value, sizeof value - 1);
    if (n <= 0)
        return ScratchMaker::kNone;
    const std::string stamp(value, size_t(n));
    char* end = nullptr;
    const long pid = std::strtol(stamp.c_str(), &end, 10);
    if (pid <= 0 || *end != ' ')
        return ScratchMaker::kNone;
    // Without /proc no maker can be seen to have ended.
    if (OwnStamp().empty())
        return ScratchMaker::kRunning;
    return ProcessStamp(pid_t(pid)) == stamp ? ScratchMaker::kRunning : ScratchMaker::kGone;
}
