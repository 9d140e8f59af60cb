#include "printqueue/cups_default_dest.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <strings.h>
#include <tuple>

namespace {

// What the print system's library asks of a queue for its destination,
// and the default paper by name and by size.
constexpr const char* kAsked[] = {
    "auth-info-required", "device-uri", "job-sheets-default", "marker-change-time", "marker-colors",
    "marker-high-levels", "marker-levels", "marker-low-levels", "marker-message", "marker-names", "marker-types",
    "printer-commands", "printer-defaults", "printer-info", "printer-is-accepting-jobs", "printer-is-shared",
    "printer-is-temporary", "printer-location", "printer-make-and-model", "printer-mandatory-job-attributes",
    "printer-name", "printer-state", "printer-state-change-time", "printer-state-reasons", "printer-type",
    "printer-uri-supported", "media-default", "media-col-default"};

// The attributes a destination carries as options under their own names.
constexpr const char* kDescription[] = {
    "auth-info-required", "device-uri", "marker-change-time", "marker-colors", "marker-high-levels",
    "marker-levels", "marker-low-levels", "marker-message", "marker-names", "marker-types", "printer-commands",
    "printer-info", "printer-is-shared", "printer-is-temporary", "printer-make-and-model",
    "printer-mandatory-job-attributes", "printer-state", "printer-state-change-time", "printer-type",
    "printer-is-accepting-jobs", "printer-location", "printer-state-reasons", "printer-uri-supported"};

struct QueueId {
    std::string name;
    std::optional<std::string> instance;
};

QueueId Split(const std::string& text)
{
    const size_t slash = text.find('/');
    if (slash == std::string::npos)
        return {text, std::nullopt};
    return {text.substr(0, slash), text.substr(slash + 1)};
}

bool SameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

bool SameQueue(const QueueId& a, const QueueId& b)
{
    if (!SameName(a.name, b.name) || a.instance.has_value() != b.instance.has_value())
        return false;
    return !a.instance || SameName(*a.instance, *b.instance);
}

// One line of an lpoptions file: "Dest name[/instance] options" or
// "Default name[/instance] options".
struct OptionsLine {
    bool isDefault = false;
    QueueId queue;
    std::string options;
};

std::optional<OptionsLine> ParseLine(std::string line)
{
    if (const size_t hash = line.find('#'); hash != std::string::npos)
        line.erase(hash);
    const auto word = [&line](size_t* at) {
        const size_t start = line.find_first_not_of(" \t\r", *at);
        if (start == std::string::npos) {
            *at = line.size();
            return std::string();
        }
        size_t end = line.find_first_of(" \t\r", start);
        if (end == std::string::npos)
            end = line.size();
        *at = end;
        return line.substr(start, end - start);
    };
    size_t at = 0;
    const std::string keyword = word(&at);
    if (!SameName(keyword, "dest") && !SameName(keyword, "default"))
        return std::nullopt;
    const std::string queue = word(&at);
    if (queue.empty())
        return std::nullopt;
    return OptionsLine{SameName(keyword, "default"), Split(queue), line.substr(at)};
}

template <class Each>
void ForEachLine(const std::string& path, Each each)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (const std::optional<OptionsLine> parsed = ParseLine(line))
            if (!each(*parsed))
                return;
}

std::string ServerRoot()
{
    const char* root = std::getenv("CUPS_SERVERROOT");
    return root && *root ? root : "/etc/cups";
}

std::optional<std::string> UserOptionsFile()
{
    const char* home = std::getenv("HOME");
    if (!home)
        return std::nullopt;
    return std::string(home) + "/.cups/lpoptions";
}

std::optional<QueueId> DefaultIn(const std::string& path)
{
    std::optional<QueueId> found;
    ForEachLine(path, [&](const OptionsLine& line) {
        if (line.isDefault)
            found = line.queue;
        return !line.isDefault;
    });
    return found;
}

// The default the user or the machine set without the scheduler: the
// environment, then the user's lpoptions, then the system's.
std::optional<QueueId> LocalDefault()
{
    // Set, even empty, the variable names the queue, as for every other
    // client of the print system.
    const char* env = std::getenv("LPDEST");
    if (!env) {
        env = std::getenv("PRINTER");
        if (env && std::strcmp(env, "lp") == 0)
            env = nullptr;
    }
    if (env)
        return Split(env);
    if (const std::optional<std::string> user = UserOptionsFile())
        if (std::optional<QueueId> queue = DefaultIn(*user))
            return queue;
    return DefaultIn(ServerRoot() + "/lpoptions");
}

// An attribute's values as the library writes them into an option.
std::string OptionValue(ipp_attribute_t* attr)
{
    const ipp_tag_t tag = ippGetValueTag(attr);
    std::string out;
    for (int i = 0; i < ippGetCount(attr); ++i) {
        if (i)
            out += ',';
        switch (tag) {
        case IPP_TAG_INTEGER:
        case IPP_TAG_ENUM: out += std::to_string(ippGetInteger(attr, i)); break;
        case IPP_TAG_BOOLEAN: out += ippGetBoolean(attr, i) ? "true" : "false"; break;
        case IPP_TAG_RANGE: {
            int upper = 0;
            const int lower = ippGetRange(attr, i, &upper);
            out += std::to_string(lower);
            if (upper != lower) {
                out += '-';
                out += std::to_string(upper);
            }
            break;
        }
        default: {
            const char* text = ippGetString(attr, i, nullptr);
            if (ippGetCount(attr) == 1)
                return text ? text : "";
            for (const char* c = text; c && *c; ++c) {
                if (std::strchr(" \t\n\\'\"", *c))
                    out += '\\';
                out += *c;
            }
        }
        }
    }
    return out;
}

bool TakenAsOption(ipp_tag_t tag)
{
    switch (tag) {
    case IPP_TAG_INTEGER:
    case IPP_TAG_ENUM:
    case IPP_TAG_BOOLEAN:
    case IPP_TAG_TEXT:
    case IPP_TAG_TEXTLANG:
    case IPP_TAG_NAME:
    case IPP_TAG_NAMELANG:
    case IPP_TAG_KEYWORD:
    case IPP_TAG_RANGE:
    case IPP_TAG_URI: return true;
    default: return false;
    }
}

bool IsDescription(const char* name)
{
    for (const char* d : kDescription)
        if (std::strcmp(name, d) == 0)
            return true;
    return false;
}

int CollectionInteger(ipp_t* collection, const char* name)
{
    ipp_attribute_t* attr = collection ? ippFindAttribute(collection, name, IPP_TAG_INTEGER) : nullptr;
    return attr ? ippGetInteger(attr, 0) : 0;
}

}  // namespace

std::pair<int, int> MediaCollectionSize(ipp_attribute_t* media)
{
    ipp_t* collection = media ? ippGetCollection(media, 0) : nullptr;
    ipp_attribute_t* size = collection ? ippFindAttribute(collection, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
    ipp_t* dimensions = size ? ippGetCollection(size, 0) : nullptr;
    return {CollectionInteger(dimensions, "x-dimension"), CollectionInteger(dimensions, "y-dimension")};
}

DefaultDest AskDefaultDest()
{
    const std::optional<QueueId> local = LocalDefault();
    ipp_t* request = ippNewRequest(local ? IPP_OP_GET_PRINTER_ATTRIBUTES : IPP_OP_CUPS_GET_DEFAULT);
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(sizeof kAsked / sizeof kAsked[0]), nullptr, kAsked);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    if (local) {
        char uri[1024];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                         local->name.c_str());
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    }
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    if (!response)
        return {};

    DefaultDest answer;
    answer.answered = true;
    std::string printerName;
    int count = 0;
    cups_option_t* options = nullptr;
    ipp_attribute_t* attr = ippFirstAttribute(response);
    while (attr && ippGetGroupTag(attr) != IPP_TAG_PRINTER)
        attr = ippNextAttribute(response);
    for (; attr && ippGetGroupTag(attr) == IPP_TAG_PRINTER; attr = ippNextAttribute(response)) {
        const char* name = ippGetName(attr);
        const ipp_tag_t tag = ippGetValueTag(attr);
        if (!name)
            continue;
        if (std::strcmp(name, "media-col-default") == 0 && tag == IPP_TAG_BEGIN_COLLECTION) {
            std::tie(answer.paperWidth, answer.paperLength) = MediaCollectionSize(attr);
            continue;
        }
        if (!TakenAsOption(tag))
            continue;
        if (IsDescription(name)) {
            count = cupsAddOption(name, OptionValue(attr).c_str(), count, &options);
        } else if (std::strcmp(name, "printer-name") == 0 && tag == IPP_TAG_NAME) {
            const char* named = ippGetString(attr, 0, nullptr);
            printerName = named ? named : "";
        } else if (const char* suffix = std::strstr(name, "-default");
                   suffix && std::strncmp(name, "notify-", 7) != 0 && std::strncmp(name, "print-quality-", 14) != 0 &&
                   tag != IPP_TAG_TEXT && tag != IPP_TAG_TEXTLANG && tag != IPP_TAG_NAMELANG && tag != IPP_TAG_URI) {
            const std::string option(name, size_t(suffix - name));
            count = cupsAddOption(option.c_str(), OptionValue(attr).c_str(), count, &options);
        }
    }
    ippDelete(response);
    if (printerName.empty()) {
        cupsFreeOptions(count, options);
        return {nullptr, 0, 0, true};
    }

    // The destination, with what lpoptions adds to it: the system's lines,
    // then the user's.
    const std::optional<std::string> instance = local ? local->instance : std::nullopt;
    // The library adds an instance after its queue: the one wanted is
    // copied out of the two.
    cups_dest_t* both = nullptr;
    const char* instanceName = instance ? instance->c_str() : nullptr;
    const int added = cupsAddDest(printerName.c_str(), instanceName, 0, &both);
    cups_dest_t* dest = nullptr;
    if (cups_dest_t* made = cupsGetDest(printerName.c_str(), instanceName, added, both)) {
        // The options go with it; the copy takes copies. (An array of none
        // may still be allocated, and the library frees only one of some.)
        cupsFreeOptions(made->num_options, made->options);
        if (made->num_options == 0)
            std::free(made->options);
        made->num_options = count;
        made->options = options;
        count = 0;
        options = nullptr;
        cupsCopyDest(made, 0, &dest);
    }
    cupsFreeDests(added, both);
    cupsFreeOptions(count, options);
    if (!dest)
        return {nullptr, 0, 0, true};
    dest->is_default = 1;
    const QueueId wanted{local ? local->name : printerName, instance};
    std::optional<std::string> files[] = {ServerRoot() + "/lpoptions", UserOptionsFile()};
    for (const std::optional<std::string>& file : files) {
        if (!file)
            continue;
        ForEachLine(*file, [&](const OptionsLine& line) {
            // A default the scheduler named takes every line of its queue;
            // one set here, the first line of that queue and instance.
            const bool matches = local ? SameQueue(line.queue, wanted)
                                       : !line.queue.instance && SameName(line.queue.name, wanted.name);
            if (matches)
                dest->num_options = cupsParseOptions(line.options.c_str(), dest->num_options, &dest->options);
            return !(matches && local);
        });
    }
    answer.dest = dest;
    return answer;
}
