#include "support/test_progress.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

// Fields are separated by tabs; a tab, a newline or a backslash inside one
// is escaped, so that a failure message of many lines stays one line.
std::string Escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return out;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(Unescape(line.substr(start, tab - start)));
    fields.push_back(Unescape(line.substr(start)));
    return fields;
}

std::string Line(char kind, std::initializer_list<std::string> fields)
{
    std::string line(1, kind);
    for (const std::string& field : fields)
        line += '\t' + Escape(field);
    return line + '\n';
}

}  // namespace

bool ParseProgressLine(const std::string& line, ProgressEvent* event)
{
    const std::vector<std::string> fields = Fields(line);
    if (fields[0].size() != 1)
        return false;
    *event = ProgressEvent();
    event->kind = fields[0][0];
    switch (event->kind) {
    case 'P':
        if (fields.size() != 3)
            return false;
        event->phase = fields[1];
        event->suite = fields[2];
        return true;
    case 'F':
    case 'K':
        if (fields.size() != 2)
            return false;
        event->text = fields[1];
        return true;
    case 'S':
        if (fields.size() != 3)
            return false;
        event->suite = fields[1];
        event->test = fields[2];
        return true;
    case 'E':
        if (fields.size() != 5)
            return false;
        event->suite = fields[1];
        event->test = fields[2];
        event->result = fields[3];
        event->milliseconds = std::atol(fields[4].c_str());
        return true;
    default:
        return false;
    }
}

ProgressReport::ProgressReport(int fd) : fd_(fd) {}

std::string DescribePhase(const std::string& phase, const std::string& suite)
{
    if (phase == "start")
        return "the program's start";
    if (phase == "environments")
        return "the set-up of the global test environments";
    if (phase == "suite-set-up")
        return "the set-up of test suite " + suite + " (SetUpTestSuite)";
    if (phase == "suite-tear-down")
        return "the tear-down of test suite " + suite + " (TearDownTestSuite)";
    if (phase == "after-suite")
        return "the time after test suite " + suite;
    if (phase == "environments-tear-down")
        return "the tear-down of the global test environments";
    if (phase == "exit")
        return "the program's exit (the application's tear-down, static destructors)";
    return phase;
}

void ProgressReport::Phase(const std::string& phase, const std::string& suite) const
{
    Say(Line('P', {phase, suite}));
}

void ProgressReport::OnEnvironmentsSetUpStart(const ::testing::UnitTest&)
{
    Phase("environments");
}

void ProgressReport::OnTestSuiteStart(const ::testing::TestSuite& suite)
{
    Phase("suite-set-up", suite.name());
}

void ProgressReport::OnTestStart(const ::testing::TestInfo& test)
{
    Say(Line('S', {test.test_suite_name(), test.name()}));
}

void ProgressReport::OnTestPartResult(const ::testing::TestPartResult& part)
{
    if (part.skipped()) {
        Say(Line('K', {part.message()}));
        return;
    }
    if (!part.failed())
        return;
    std::string where = part.file_name() ? part.file_name() : "unknown file";
    if (part.line_number() >= 0)
        where += ':' + std::to_string(part.line_number());
    Say(Line('F', {where + "\n" + part.message()}));
}

void ProgressReport::OnTestEnd(const ::testing::TestInfo& test)
{
    const ::testing::TestResult& result = *test.result();
    const char* how = result.Failed() ? "failed" : result.Skipped() ? "skipped" : "passed";
    Say(Line('E', {test.test_suite_name(), test.name(), how, std::to_string(result.elapsed_time())}));
    // Until the next test starts, what runs is its suite's tear-down.
    Phase("suite-tear-down", test.test_suite_name());
}

void ProgressReport::OnTestSuiteEnd(const ::testing::TestSuite& suite)
{
    Phase("after-suite", suite.name());
}

void ProgressReport::OnEnvironmentsTearDownStart(const ::testing::UnitTest&)
{
    Phase("environments-tear-down");
}

void ProgressReport::OnTestProgramEnd(const ::testing::UnitTest&)
{
    Phase("exit");
}

void ProgressReport::Say(const std::string& line) const
{
    for (size_t done = 0; done < line.size();) {
        const ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
        if (n <= 0 && errno != EINTR)
            return;
        if (n > 0)
            done += size_t(n);
    }
}
