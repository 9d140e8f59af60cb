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

std::string ToolPath()
{
    if (const char* tool = std::getenv("TESSALINE_TOOL"); tool && *tool)
        return tool;
    return TESSALINE_TOOL_PATH;
}

int Shell(const TempDir& dir, const std::string& command)
{
    const std::string line = "cd '" + dir.path() + "' && export T='" + ToolPath() + "' && " + command;
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
