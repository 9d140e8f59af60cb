#include "support/zbar_read.h"

#include <gtest/gtest.h>

#include "support/run_program.h"

std::map<std::string, std::vector<std::string>> ZbarRead(const std::vector<std::string>& options,
                                                         const std::vector<std::string>& files)
{
    std::vector<std::string> args = {"-q", "--xml"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), files.begin(), files.end());
    std::map<std::string, std::vector<std::string>> found;
    // An exit code is zbarimg's answer (4: no symbol found).
    const ProgramRun run = RunProgramFor("zbarimg", args);
    if (run.exitCode < 0) {
        ADD_FAILURE() << run.failure;
        return found;
    }
    const std::string& xml = run.out;
    std::string source;
    for (size_t at = 0;;) {
        const size_t href = xml.find("<source href='", at);
        const size_t data = xml.find("<data><![CDATA[", at);
        if (href == std::string::npos && data == std::string::npos)
            break;
        if (href < data) {
            at = href + 14;
            source = xml.substr(at, xml.find('\'', at) - at);
        } else {
            at = data + 15;
            const size_t end = xml.find("]]></data>", at);
            found[source].push_back(xml.substr(at, end - at));
            at = end;
        }
    }
    return found;
}
