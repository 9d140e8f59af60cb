#include "mistyped_options.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <regex>
#include <string>

#include "tool_command.h"

namespace {

// The options a usage text names ("[--copies N]", "[--check]"), each with
// the name of the value that follows it (empty for none).
std::map<std::string, std::string> UsageOptions(const char* usage)
{
    static const std::regex option(R"((?:^|[ [])(--?[a-z][a-z-]*)( [A-Z][A-Z,]*)?)");
    std::map<std::string, std::string> options;
    const std::string text = usage;
    for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it)
        options[(*it)[1]] = (*it)[2].str();
    return options;
}

bool Number(const std::string& word)
{
    char* end = nullptr;
    std::strtod(word.c_str(), &end);
    return end && end != word.c_str() && *end == 0;
}

}  // namespace

bool RefusedMistypedOptions(const ToolCommand& command, const ToolArgs& args)
{
    // These take free text (a query's value) and name their files
    // themselves.
    if (!std::strcmp(command.name, "db") || !std::strcmp(command.name, "dbdoc"))
        return false;
    const std::map<std::string, std::string> options = UsageOptions(command.usage);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.empty() || word[0] != '-' || Number(word))
            continue;
        const auto known = options.find(word);
        if (known == options.end())
            return RefusedAsOption(command.name, word);
        if (known->second.empty())
            continue;
        if (i + 1 == args.size()) {
            ToolFail(std::string(command.name) + ": " + word + " needs its value (" + word + known->second +
                     "); nothing was done");
            return true;
        }
        ++i;
    }
    return false;
}
