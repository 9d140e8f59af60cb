#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/alert_sink.h"
#include "tool_command.h"

int ToolFail(const std::string& message)
{
    std::fprintf(stderr, "tessaline-tool: %s\n", message.c_str());
    return 1;
}

int RunPack(const ToolArgs& args);
int RunUnpack(const ToolArgs& args);
int RunDb(const ToolArgs& args);

namespace {

// Boxes the engines show become lines on stderr; questions are declined.
class ToolAlertSink final : public AlertSink {
public:
    int32_t MessageBox(const std::string& text, const std::string&, uint32_t style) override
    {
        std::fprintf(stderr, "tessaline-tool: %s\n", text.c_str());
        return (style & 0x0F) == kMbOkCancel ? kIdCancel : kIdOk;
    }
    void Beep(uint32_t) override {}
};

const ToolCommand kCommands[] = {
    {"pack", "pack [LEVEL] < input > container", RunPack},
    {"unpack", "unpack < container > output", RunUnpack},
    {"db", "db new|fill|dump|verify|repair|query|presort|bench ...", RunDb},
    {nullptr, nullptr, nullptr},
};

void Usage()
{
    std::fprintf(stderr, "usage: tessaline-tool COMMAND [ARGS...]\n\ncommands:\n");
    for (const ToolCommand& c : kCommands) {
        if (c.name)
            std::fprintf(stderr, "  %s\n", c.usage);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    ToolAlertSink sink;
    SetAlertSink(&sink);
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        Usage();
        return argc < 2 ? 2 : 0;
    }
    for (const ToolCommand& c : kCommands) {
        if (c.name && !std::strcmp(c.name, argv[1]))
            return c.run(ToolArgs(argv + 2, argv + argc));
    }
    Usage();
    return ToolFail(std::string("unknown command: ") + argv[1]);
}
