#include "support/shell.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

int Shell(const TempDir& dir, const std::string& command)
{
    const char* tool = std::getenv("TESSALINE_TOOL");
    const std::string line =
        "cd '" + dir.path() + "' && export T='" + (tool ? tool : "tessaline-tool") + "' && " + command;
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
