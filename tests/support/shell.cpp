#include "support/shell.h"

#include <array>
#include <cstdio>
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

std::string CommandOutput(const std::string& command, bool* ok)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        *ok = false;
        return out;
    }
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    *ok = pclose(pipe) == 0;
    return out;
}

int Shell(const TempDir& dir, const std::string& command)
{
    const std::string line = "cd '" + dir.path() + "' && export T='" + ToolPath() + "' && " + command;
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
