#include "support/suite_folder.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kPrefix = "tessaline-suite-";

void MakeFolder(const std::string& path, mode_t mode)
{
    ::mkdir(path.c_str(), mode);
    ::chmod(path.c_str(), mode);
}

// Tests leave folders they made read-only; the owner may open them again.
void RemoveTree(const std::filesystem::path& root)
{
    std::error_code error;
    ::chmod(root.c_str(), 0700);
    for (int pass = 0; pass < 2; ++pass) {
        // Twice: the second pass reaches what a closed folder hid.
        for (auto it = std::filesystem::recursive_directory_iterator(root, error);
             !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
            if (it->is_directory(error) && !it->is_symlink(error))
                ::chmod(it->path().c_str(), 0700);
        }
        error.clear();
    }
    std::filesystem::remove_all(root, error);
}

// Run folders of supervisors that are gone.
void RemoveLeftFolders(const std::string& parent)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(parent, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kPrefix, 0) != 0)
            continue;
        const pid_t owner = pid_t(std::atol(name.c_str() + std::char_traits<char>::length(kPrefix)));
        struct stat info {};
        if (owner <= 0 || ::stat(entry.path().c_str(), &info) != 0 || info.st_uid != ::getuid())
            continue;
        if (::kill(owner, 0) != 0 && errno == ESRCH)
            RemoveTree(entry.path());
    }
}

}  // namespace

SuiteFolder::SuiteFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    const std::string parent = tmp && *tmp ? tmp : "/tmp";
    RemoveLeftFolders(parent);
    std::string pattern = parent + "/" + kPrefix + std::to_string(::getpid()) + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("tessaline test: cannot make the suite's folder");
        return;
    }
    root_ = pattern;
}

SuiteFolder::~SuiteFolder()
{
    if (!root_.empty())
        RemoveTree(root_);
}

EnvironmentSettings SuiteFolder::NewRunFolder()
{
    if (root_.empty())
        return {};
    run_ = root_ + "/run-" + std::to_string(++runs_);
    const std::string home = run_ + "/home";
    const std::string cups = run_ + "/cups";
    for (const std::string& folder : {run_, home, run_ + "/tmp", run_ + "/runtime", home + "/.config", home + "/.cache",
                                      home + "/.local", home + "/.local/share", cups})
        MakeFolder(folder, 0700);
    // A socket nobody listens on: no queue, no default printer, whatever
    // the machine has set up. The folder stands for the print system's own
    // settings folder too, which may name a default (lpoptions).
    const std::string noServer = cups + "/no-server";
    std::ofstream(cups + "/client.conf") << "ServerName " << noServer << "\n";
    return {
        {"HOME", home},
        {"TMPDIR", run_ + "/tmp"},
        {"XDG_CONFIG_HOME", home + "/.config"},
        {"XDG_CACHE_HOME", home + "/.cache"},
        {"XDG_DATA_HOME", home + "/.local/share"},
        {"XDG_RUNTIME_DIR", run_ + "/runtime"},
        {"CUPS_SERVERROOT", cups},
        {"CUPS_SERVER", noServer},
        // Both name a default queue to the print system's clients.
        {"PRINTER", ""},
        {"LPDEST", ""},
    };
}

void SuiteFolder::RemoveRunFolder()
{
    if (!run_.empty())
        RemoveTree(run_);
    run_.clear();
}

void ApplyEnvironment(const EnvironmentSettings& settings)
{
    for (const auto& [name, value] : settings) {
        if (value.empty())
            ::unsetenv(name.c_str());
        else
            ::setenv(name.c_str(), value.c_str(), 1);
    }
}
