#include "support/needed_tools.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QStandardPaths>
#include <QString>

bool ToolsRequired()
{
    const char* ci = std::getenv("CI");
    return ci && std::strcmp(ci, "true") == 0;
}

bool HaveTool(const std::string& program)
{
    if (!QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty())
        return true;
    if (ToolsRequired())
        ADD_FAILURE() << program << " is not installed (tools/install-deps.sh with TESSALINE_TEST_DEPS=1 installs it)";
    else
        std::printf("%s is not installed: the checks that need it are left out\n", program.c_str());
    return false;
}
