// pack [LEVEL] and unpack: the memory compressor between stdin and stdout.

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "foundation/handle.h"
#include "foundation/pack_data.h"
#include "foundation/pack_format.h"
#include "foundation/string_table.h"
#include "tool_command.h"

namespace {

constexpr int32_t kStringIoFileError = 365;
constexpr uint32_t kReadChunk = 64 * 1024;

// Reads stdin to its end into h. Fails when it cannot be read or holds more
// than a Handle can.
bool ReadStdin(Handle h, std::string& error)
{
    uint32_t size = 0;
    for (;;) {
        if (HandleGetSize(h) - size < kReadChunk) {
            const uint64_t grown = std::max<uint64_t>(uint64_t(size) * 2, size + kReadChunk);
            if (grown > INT32_MAX || HandleResize(h, int32_t(grown)) != 0) {
                error = "input too large";
                return false;
            }
        }
        const size_t got = std::fread(HandleData(h) + size, 1, kReadChunk, stdin);
        size += uint32_t(got);
        if (got < kReadChunk) {
            if (std::ferror(stdin)) {
                error = "cannot read the input";
                return false;
            }
            break;
        }
    }
    HandleResize(h, int32_t(size));
    return true;
}

bool WriteStdout(Handle h)
{
    const uint32_t n = HandleGetSize(h);
    return std::fwrite(HandleData(h), 1, n, stdout) == n && std::fflush(stdout) == 0;
}

// The level as given; values beyond int32 stay out of 1..9, so they too
// compress at the default level.
bool ParseLevel(const std::string& text, int32_t& level)
{
    int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range))
        return false;
    if (ec == std::errc::result_out_of_range)
        value = text[0] == '-' ? INT64_MIN : INT64_MAX;
    level = int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
    return true;
}

// Reports what the alert boxes would show and returns the codec's result
// as the exit status.
int Failure(const char* command, int32_t result)
{
    std::string text;
    if (result == kPackDataError) {
        text = PackDataLastMessage();
    } else {
        const char* title = LookupString(kStringIoFileError);
        text = std::string(title ? title : "IO FILE ERROR") + " [" + std::to_string(PackDataLastFileError()) + "]";
    }
    std::fprintf(stderr, "tessaline-tool: %s: %s\n", command, text.c_str());
    return result;
}

int Run(const char* command, int32_t mode, int32_t level)
{
    HandleOwner input(HandleNew(0));
    HandleOwner output(HandleNew(0));
    if (!input || !output)
        return ToolFail(std::string(command) + ": out of memory");
    std::string error;
    if (!ReadStdin(input.get(), error))
        return ToolFail(std::string(command) + ": " + error);
    const int32_t result = PackData(input.get(), output.get(), mode, level, 0);
    if (result != kPackOk)
        return Failure(command, result);
    if (!WriteStdout(output.get()))
        return ToolFail(std::string(command) + ": cannot write the output");
    return 0;
}

}  // namespace

int RunPack(const ToolArgs& args)
{
    int32_t level = kPackDefaultLevel;
    if (args.size() > 1 || (args.size() == 1 && !ParseLevel(args[0], level)))
        return ToolFail("usage: pack [LEVEL] < input > container");
    return Run("pack", kPackCompress, level);
}

int RunUnpack(const ToolArgs& args)
{
    if (!args.empty())
        return ToolFail("usage: unpack < container > output");
    return Run("unpack", kPackExpand, 0);
}

TESSALINE_TOOL_COMMAND("pack", "pack [LEVEL] < input > container", RunPack);
TESSALINE_TOOL_COMMAND("unpack", "unpack < container > output", RunUnpack);
