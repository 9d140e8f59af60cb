#include "support/cups_scheduler.h"

#include <cups/cups.h>

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kPrinterDescription = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
constexpr const char* kBackend = "tessaline-pdf";
// The folders of the print system's own programs (filters, the daemon's
// helpers), as Debian and others place them.
constexpr const char* kServerBins[] = {"/usr/lib/cups", "/usr/libexec/cups"};
constexpr int kStartSeconds = 20;
constexpr int kStopSeconds = 10;

std::string FindProgram(const char* name)
{
    QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(QString::fromLatin1(name), {"/usr/sbin", "/sbin", "/usr/bin"});
    return found.toStdString();
}

std::string ServerBin()
{
    for (const char* folder : kServerBins)
        if (fs::is_directory(std::string(folder) + "/filter"))
            return folder;
    return {};
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteAll(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return bool(out.flush());
}

// The description with every paper's printable area moved in by the
// margins, each on its side.
std::string WithMargins(const std::string& description, const SchedulerMargins& margins)
{
    if (margins.left <= 0 && margins.bottom <= 0 && margins.right <= 0 && margins.top <= 0)
        return description;
    // The area's corners: lower left, then upper right.
    const double moves[4] = {margins.left, margins.bottom, -margins.right, -margins.top};
    static const std::regex area(R"re((\*ImageableArea [^:]*: ")([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+)("))re");
    std::string out;
    auto from = description.cbegin();
    for (std::sregex_iterator it(description.begin(), description.end(), area), end; it != end; ++it) {
        const std::smatch& m = *it;
        out.append(from, m[0].first);
        out += m[1].str();
        // Whatever the locale says of decimal points.
        for (int i = 2; i <= 5; ++i) {
            double value = 0;
            const std::string word = m[i].str();
            std::from_chars(word.data(), word.data() + word.size(), value);
            value += moves[i - 2];
            char number[32];
            const auto made = std::to_chars(number, number + sizeof number, value);
            out.append(number, made.ptr);
            out += i < 5 ? " " : "";
        }
        out += m[6].str();
        from = m[0].second;
    }
    out.append(from, description.cend());
    return out;
}

bool Accepts(const std::string& socketPath)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

std::string GroupName()
{
    const group* g = ::getgrgid(::getgid());
    return g ? g->gr_name : "root";
}

std::string UserName()
{
    const passwd* p = ::getpwuid(::getuid());
    return p ? p->pw_name : "root";
}

// The description of a printer that prints both sides, long edge first,
// unless told otherwise.
std::string TwoSided(std::string description)
{
    return description + "*OpenUI *Duplex/2-Sided Printing: PickOne\n*OrderDependency: 10 AnySetup *Duplex\n"
                         "*DefaultDuplex: DuplexNoTumble\n*Duplex None/Off: \"<</Duplex false>>setpagedevice\"\n"
                         "*Duplex DuplexNoTumble/Long Edge: \"<</Duplex true/Tumble false>>setpagedevice\"\n"
                         "*Duplex DuplexTumble/Short Edge: \"<</Duplex true/Tumble true>>setpagedevice\"\n"
                         "*CloseUI: *Duplex\n";
}

// The description with the paper as the one the queue starts with.
std::string StartingWith(std::string description, const std::string& paper)
{
    if (paper.empty())
        return description;
    static const std::regex defaults(R"re((\*Default(PageSize|PageRegion|ImageableArea|PaperDimension): )\S+)re");
    return std::regex_replace(description, defaults, "$1" + paper);
}

}  // namespace

std::string CupsScheduler::Missing()
{
    std::string missing;
    if (FindProgram("cupsd").empty())
        missing += " cupsd (cups)";
    if (ServerBin().empty())
        missing += " the print system's filters (cups)";
    if (!fs::exists(kPrinterDescription))
        missing += " the cups-pdf printer description (printer-driver-cups-pdf)";
    if (FindProgram("gs").empty())
        missing += " gs (ghostscript)";
    return missing;
}

CupsScheduler::CupsScheduler(const std::vector<SchedulerQueue>& queues)
{
    if (const std::string missing = Missing(); !missing.empty()) {
        why_ = "missing:" + missing;
        return;
    }
    if (!Prepare(queues) || !Launch()) {
        Stop();
        return;
    }
    // The clients of this process have taken their server from the
    // settings when they first needed it; they take it again now, and the
    // programs the test starts take it from the environment.
    const char* old = std::getenv("CUPS_SERVER");
    hadServer_ = old != nullptr;
    oldServer_ = old ? old : "";
    ::setenv("CUPS_SERVER", socket_.c_str(), 1);
    cupsSetServer(nullptr);
}

CupsScheduler::~CupsScheduler()
{
    Stop();
    if (!socket_.empty()) {
        if (hadServer_)
            ::setenv("CUPS_SERVER", oldServer_.c_str(), 1);
        else
            ::unsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
    }
    for (auto it = openedFolders_.rbegin(); it != openedFolders_.rend(); ++it)
        ::chmod(it->first.c_str(), mode_t(it->second));
    if (!folder_.empty()) {
        std::error_code error;
        fs::remove_all(folder_, error);
    }
}

bool CupsScheduler::Prepare(const std::vector<SchedulerQueue>& queues)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/cupsd-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        why_ = "cannot make the scheduler's folder: " + std::string(std::strerror(errno));
        return false;
    }
    folder_ = pattern;
    ::chmod(folder_.c_str(), 0755);
    socket_ = folder_ + "/socket";
    output_ = folder_ + "/pdf";
    if (socket_.size() >= sizeof(sockaddr_un::sun_path)) {
        why_ = "the scheduler's socket path is too long: " + socket_;
        return false;
    }
    const std::string root = folder_ + "/settings";
    const std::string bin = folder_ + "/bin";
    std::error_code error;
    for (const std::string& sub : {root, root + "/ppd", bin, bin + "/backend", folder_ + "/spool",
                                   folder_ + "/spool/tmp", folder_ + "/cache", folder_ + "/state",
                                   folder_ + "/log", output_})
        fs::create_directories(sub, error);
    ::chmod(output_.c_str(), 0777);
    // The print system's own programs, and a device of the scheduler's.
    const std::string serverBin = ServerBin();
    for (const char* sub : {"filter", "daemon", "cgi-bin", "driver", "monitor", "notifier"})
        fs::create_directory_symlink(serverBin + "/" + sub, bin + "/" + sub, error);
    const std::string backend = bin + "/backend/" + kBackend;
    const std::string gs = FindProgram("gs");
    bool written = WriteAll(
        backend,
        "#!/bin/sh\n"
        "# Without arguments a device names its kind; with them it takes a job:\n"
        "# job user title copies options [file].\n"
        "if [ $# -eq 0 ]; then echo 'direct " + std::string(kBackend) + " \"Unknown\" \"PDF file\"'; exit 0; fi\n"
        "out=\"" + output_ + "/$PRINTER-$1.pdf\"\n"
        "'" + gs + "' -q -dCompatibilityLevel=1.4 -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite "
        "\"-sOutputFile=$out.part\" -dAutoRotatePages=/PageByPage -dAutoFilterColorImages=false "
        "-dColorImageFilter=/FlateEncode -dPDFSETTINGS=/prepress -c -f \"${6:--}\" || exit 1\n"
        "chmod 0644 \"$out.part\" && mv \"$out.part\" \"$out\"\n");
    // Run as root by a scheduler run as root, as the cups-pdf device is.
    ::chmod(backend.c_str(), 0700);

    const bool asRoot = ::geteuid() == 0;
    std::string files = "ServerRoot " + root + "\nServerBin " + bin + "\nDataDir /usr/share/cups\n" +
                        "DocumentRoot /usr/share/cups/doc-root\nRequestRoot " + folder_ + "/spool\nTempDir " +
                        folder_ + "/spool/tmp\nCacheDir " + folder_ + "/cache\nStateDir " + folder_ +
                        "/state\nErrorLog " + folder_ + "/log/error_log\nAccessLog " + folder_ +
                        "/log/access_log\nPageLog " + folder_ + "/log/page_log\nFileDevice No\n" +
                        "SystemGroup " + GroupName() + "\n";
    if (!asRoot)
        files += "User " + UserName() + "\nGroup " + GroupName() + "\n";
    written = written && WriteAll(root + "/cups-files.conf", files);
    written = written && WriteAll(root + "/cupsd.conf",
                                  "Listen " + socket_ +
                                      "\nLogLevel info\nAccessLogLevel all\nBrowsing No\nDefaultAuthType None\n"
                                      "WebInterface No\n"
                                      "ErrorPolicy abort-job\nPreserveJobFiles No\n"
                                      "<Location />\nOrder allow,deny\nAllow all\n</Location>\n");
    // The device draws on a grid of 1/2400 in. At the description's own
    // 300 dpi every edge of a clip that falls between two of its pixels
    // inks the next one out, up to a quarter of a point past where the
    // program put it: the tests measure the program, not that grid.
    std::string description = ReadAll(kPrinterDescription);
    description = std::regex_replace(description, std::regex(R"(\*DefaultResolution: \S+)"),
                                     "*DefaultResolution: 2400dpi");
    std::string printers;
    for (const SchedulerQueue& queue : queues) {
        written = written && WriteAll(root + "/ppd/" + queue.name + ".ppd",
                                      WithMargins(StartingWith(queue.twoSided ? TwoSided(description) : description,
                                                               queue.paper),
                                                  queue.sides.value_or(SchedulerMargins{queue.margin, queue.margin,
                                                                                        queue.margin, queue.margin})));
        const std::string entry = queue.isDefault ? "DefaultPrinter" : "Printer";
        printers += "<" + entry + " " + queue.name + ">\nInfo " + queue.name + "\nDeviceURI " + kBackend +
                    ":/\nState Idle\nAccepting Yes\nShared No\n</" + entry + ">\n";
    }
    written = written && WriteAll(root + "/printers.conf", printers);
    if (!written || description.empty()) {
        why_ = "cannot write the scheduler's settings in " + folder_;
        return false;
    }
    if (asRoot)
        OpenAncestors();
    return true;
}

// The filters run as the print system's user: they must pass through the
// folders above the scheduler's to reach its programs and its spool.
void CupsScheduler::OpenAncestors()
{
    for (fs::path at = fs::path(folder_).parent_path(); !at.empty() && at != at.root_path(); at = at.parent_path()) {
        struct stat info {};
        if (::stat(at.c_str(), &info) != 0 || info.st_uid != ::geteuid())
            continue;
        const mode_t passable = info.st_mode | S_IXGRP | S_IXOTH;
        if ((info.st_mode & 07777) == (passable & 07777))
            continue;
        openedFolders_.emplace_back(at.string(), unsigned(info.st_mode & 07777));
        ::chmod(at.c_str(), passable & 07777);
    }
}

bool CupsScheduler::Launch()
{
    const std::string cupsd = FindProgram("cupsd");
    const std::string conf = folder_ + "/settings/cupsd.conf";
    const std::string files = folder_ + "/settings/cups-files.conf";
    const std::string log = folder_ + "/log/cupsd";
    std::vector<std::string> words = {cupsd, "-f", "-c", conf, "-s", files};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0) {
        // The scheduler ends with the test process, however that ends.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::setpgid(0, 0);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out);
    ::close(in);
    if (child < 0) {
        why_ = "cannot start cupsd: " + std::string(std::strerror(errno));
        return false;
    }
    pid_ = child;
    const auto deadline = Clock::now() + std::chrono::seconds(kStartSeconds);
    while (Clock::now() < deadline) {
        if (Accepts(socket_))
            return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            why_ = "cupsd ended at its start:\n" + LogTail();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    why_ = "cupsd took no connection within " + std::to_string(kStartSeconds) + " s:\n" + LogTail();
    return false;
}

void CupsScheduler::Stop()
{
    if (pid_ <= 0)
        return;
    Pause(false);
    ::kill(pid_, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(kStopSeconds);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (Clock::now() >= deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
}

void CupsScheduler::Pause(bool paused) const
{
    if (pid_ > 0)
        ::kill(pid_, paused ? SIGSTOP : SIGCONT);
}

int CupsScheduler::Requests() const
{
    const std::string log = ReadAll(folder_ + "/log/access_log");
    return int(std::count(log.begin(), log.end(), '\n'));
}

std::string CupsScheduler::RequestLog(int from) const
{
    const std::string log = ReadAll(folder_ + "/log/access_log");
    size_t at = 0;
    for (int line = 0; line < from; ++line) {
        const size_t end = log.find('\n', at);
        if (end == std::string::npos)
            return {};
        at = end + 1;
    }
    return log.substr(at);
}

std::string CupsScheduler::LogTail() const
{
    std::string text = ReadAll(folder_ + "/log/cupsd") + ReadAll(folder_ + "/log/error_log");
    constexpr size_t kTail = 4000;
    if (text.size() > kTail)
        text = "..." + text.substr(text.size() - kTail);
    return text;
}

std::string CupsScheduler::NextOutput(const std::string& queue, int seconds)
{
    if (!ok()) {
        why_ = "the scheduler is not running";
        return {};
    }
    const std::string prefix = queue + "-";
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        // The first job of the queue not taken yet, by its number.
        std::string next;
        long nextJob = -1;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(output_, error)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(prefix, 0) != 0 || entry.path().extension() != ".pdf")
                continue;
            const long job = std::atol(name.c_str() + prefix.size());
            if (std::find(taken_.begin(), taken_.end(), name) != taken_.end())
                continue;
            if (nextJob < 0 || job < nextJob) {
                nextJob = job;
                next = name;
            }
        }
        if (!next.empty()) {
            taken_.push_back(next);
            return output_ + "/" + next;
        }
        // A job the scheduler gave up says so in its log.
        const std::string log = ReadAll(folder_ + "/log/error_log");
        std::istringstream lines(log);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("E ", 0) == 0 && line.find("[Job ") != std::string::npos) {
                why_ = "the scheduler gave up a job:\n" + LogTail();
                return {};
            }
        }
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            why_ = "cupsd ended:\n" + LogTail();
            return {};
        }
        if (Clock::now() >= deadline) {
            why_ = "no PDF file of queue " + queue + " within " + std::to_string(seconds) + " s:\n" + LogTail();
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}
