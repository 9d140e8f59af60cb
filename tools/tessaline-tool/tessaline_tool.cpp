#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/alert_sink.h"
#include "mistyped_options.h"
#include "platform/heap_reuse.h"
#include "terminal_text.h"
#include "tool_command.h"
#include "tools/stand_ins/stand_in_hosts.h"

int ToolFail(const std::string& message)
{
    std::fprintf(stderr, "tessaline-tool: %s\n", message.c_str());
    return 1;
}

bool RefusedAsOption(const std::string& command, const std::string& file)
{
    if (file.empty() || file[0] != '-')
        return false;
    ToolFail(command + ": \"" + file + "\" is not an option of " + command +
             "; a file whose name begins with \"-\" is written ./" + file);
    return true;
}

namespace {

// Boxes the engines show become lines on stderr, in the locale's character
// set; questions are declined.
class ToolAlertSink final : public AlertSink {
public:
    int32_t MessageBox(const std::string& text, const std::string&, uint32_t style) override
    {
        std::fprintf(stderr, "tessaline-tool: %s\n", TerminalText(text).c_str());
        return (style & 0x0F) == kMbOkCancel ? kIdCancel : kIdOk;
    }
    void Beep(uint32_t) override {}
};

std::vector<ToolCommand>& Registry()
{
    static std::vector<ToolCommand> commands;
    return commands;
}

void Usage()
{
    std::fprintf(stderr, "usage: tessaline-tool COMMAND [ARGS...]\n\ncommands:\n");
    for (const ToolCommand& c : ToolCommands())
        std::fprintf(stderr, "  %s\n", c.usage);
}

}  // namespace

ToolCommandRegistration::ToolCommandRegistration(const ToolCommand& command) { Registry().push_back(command); }

std::vector<ToolCommand> ToolCommands()
{
    std::vector<ToolCommand> commands = Registry();
    std::sort(commands.begin(), commands.end(),
              [](const ToolCommand& a, const ToolCommand& b) { return std::strcmp(a.name, b.name) < 0; });
    return commands;
}

int main(int argc, char** argv)
{
    KeepLargeFreedBlocksForReuse();
    ToolAlertSink sink;
    SetAlertSink(&sink);
    // Nobody is there to answer a card document's questions.
    ScopedStandInCardDocumentHost documentHost;
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        Usage();
        return argc < 2 ? 2 : 0;
    }
    for (const ToolCommand& c : ToolCommands()) {
        if (std::strcmp(c.name, argv[1]))
            continue;
        const ToolArgs args(argv + 2, argv + argc);
        // Asked anywhere after the command, --help is a question, never a
        // name: "db new --help" must not make a database called so.
        if (std::find(args.begin(), args.end(), "--help") != args.end()) {
            std::printf("usage: tessaline-tool %s\n", c.usage);
            return 0;
        }
        if (RefusedMistypedOptions(c, args))
            return 1;
        return c.run(args);
    }
    Usage();
    return ToolFail(std::string("unknown command: ") + argv[1]);
}
