#include "support/junit_report.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>

namespace {

std::string Escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '\n': out += "&#x0A;"; break;
        default:
            // Control characters have no place in XML 1.0.
            if (u >= 0x20 || c == '\t')
                out += c;
        }
    }
    return out;
}

// A CDATA section may not hold its own end.
std::string Cdata(const std::string& text)
{
    std::string out = "<![CDATA[";
    size_t start = 0;
    for (size_t end; (end = text.find("]]>", start)) != std::string::npos; start = end + 2)
        out += text.substr(start, end + 2 - start) + "]]><![CDATA[";
    return out + text.substr(start) + "]]>";
}

std::string Seconds(long milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", double(milliseconds) / 1000);
    return text;
}

struct Counts {
    int tests = 0;
    int failures = 0;
    int skipped = 0;
    long milliseconds = 0;

    void Add(const TestOutcome& outcome)
    {
        ++tests;
        failures += outcome.result == "failed";
        skipped += outcome.result == "skipped";
        milliseconds += outcome.milliseconds;
    }
    std::string Attributes() const
    {
        return "tests=\"" + std::to_string(tests) + "\" failures=\"" + std::to_string(failures) +
               "\" disabled=\"0\" skipped=\"" + std::to_string(skipped) + "\" errors=\"0\" time=\"" +
               Seconds(milliseconds) + "\"";
    }
};

}  // namespace

std::string XmlReportPath(const std::string& output, const std::string& program)
{
    if (output.rfind("xml", 0) != 0)
        return std::string();
    if (output.size() <= 4)
        return "test_detail.xml";
    const std::string path = output.substr(4);
    if (path.back() != '/')
        return path;
    const size_t slash = program.rfind('/');
    return path + (slash == std::string::npos ? program : program.substr(slash + 1)) + ".xml";
}

bool WriteXmlReport(const std::string& path, const std::vector<TestOutcome>& outcomes)
{
    std::vector<std::string> order;
    std::map<std::string, std::vector<const TestOutcome*>> bySuite;
    Counts all;
    for (const TestOutcome& outcome : outcomes) {
        if (!bySuite.count(outcome.suite))
            order.push_back(outcome.suite);
        bySuite[outcome.suite].push_back(&outcome);
        all.Add(outcome);
    }
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", std::localtime(&now));
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites " << all.Attributes() << " timestamp=\""
         << stamp << "\" name=\"AllTests\">\n";
    for (const std::string& suite : order) {
        Counts counts;
        for (const TestOutcome* outcome : bySuite[suite])
            counts.Add(*outcome);
        file << "  <testsuite name=\"" << Escaped(suite) << "\" " << counts.Attributes() << ">\n";
        for (const TestOutcome* outcome : bySuite[suite]) {
            file << "    <testcase name=\"" << Escaped(outcome->name) << "\" status=\"run\" result=\""
                 << (outcome->result == "skipped" ? "skipped" : "completed") << "\" time=\""
                 << Seconds(outcome->milliseconds) << "\" classname=\"" << Escaped(suite) << "\"";
            if (outcome->failures.empty() && outcome->result != "skipped") {
                file << " />\n";
                continue;
            }
            file << ">\n";
            for (const std::string& failure : outcome->failures) {
                file << "      <failure message=\"" << Escaped(failure) << "\" type=\"\">" << Cdata(failure)
                     << "</failure>\n";
            }
            if (outcome->result == "skipped")
                file << "      <skipped message=\"" << Escaped(outcome->skipReason) << "\" />\n";
            file << "    </testcase>\n";
        }
        file << "  </testsuite>\n";
    }
    file << "</testsuites>\n";
    return bool(file.flush());
}
