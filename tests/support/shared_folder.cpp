#include "support/shared_folder.h"

#include <filesystem>
#include <sys/stat.h>

SharedFolder::SharedFolder()
{
    std::string pattern = "/tmp/tessaline-shared-XXXXXX";
    if (::mkdtemp(pattern.data()) && ::chmod(pattern.c_str(), 0755) == 0)
        path_ = pattern;
}

SharedFolder::~SharedFolder()
{
    if (path_.empty())
        return;
    std::error_code error;
    // Tests close folders to their other user; the owner opens them again.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
        if (it->is_directory(error) && !it->is_symlink(error))
            ::chmod(it->path().c_str(), 0755);
    std::filesystem::remove_all(path_, error);
}

std::string SharedFolder::CopyProgram(const std::string& program) const
{
    const std::string copy = file(std::filesystem::path(program).filename().string());
    std::error_code error;
    if (!std::filesystem::copy_file(program, copy, std::filesystem::copy_options::overwrite_existing, error))
        return {};
    ::chmod(copy.c_str(), 0755);
    return copy;
}
