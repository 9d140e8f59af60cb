// Times merge printing as a person runs it: a card printed from a contact
// database into a PDF file by `tessaline-tool print-pdf`, a process of its
// own. Reports its wall time, CPU time, peak memory and the size of the
// PDF. The database is FILE.dqx when --db gives one, else N contacts made
// by `tessaline-tool db fill` with the seed S; the record count is the
// database's. The card is the sample business card unless --card names
// another.
//
//   print_bench [N, default 1000] [--seed S] [--db FILE.dqx] [--runs R] [--chunk C]
//               [--card FILE.lqx [--glabels FILE.glabels] [--floor-card DESIGN]]
//               [--pictures FOLDER] [--tool PROGRAM] [--keep FOLDER]
//
// When glabels-3-batch is installed, the same records are printed with
// gLabels on the same 2 x 5 sheet (in runs of at most --chunk records, as
// it holds a whole job in memory) and the ratios are printed: the sample
// card with a design of its own, another card when --glabels gives the
// same card as a gLabels design. A design's merge source is written
// "@SOURCE@" (tab-separated records with a first line of keys: First,
// Last, Title, Company, Address1, Address2, City, State, Zip, Country,
// Phone, Fax, EMail) and the folder of its pictures "@BENCH@": --pictures,
// by default this folder of the sources. The cards the README names for
// tools/bench/ come with theirs.
//
// The floor is the same sheets drawn by a plain one-thread QPdfWriter loop
// (print_floor.h), reported beside ours with the ratios of time, CPU and
// size. It draws the design --floor-card names (sample, turned-card,
// label-card, every-frame), else the one the gLabels design's file name
// names, else the sample card. Each print runs R times (default 3), the
// programs taking turns, and the medians are reported. The tools are found
// next to this program; --tool times another build's tessaline-tool (its
// print-pdf only) on the same database.

#include <sys/resource.h>
#include <sys/time.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "database/field_table.h"
#include "print_floor.h"

namespace fs = std::filesystem;

namespace {

// The keys of gLabels' merge source and the fields they are filled from.
const struct {
    const char* key;
    int field;
} kMergeKeys[] = {{"First", kFieldFirstName}, {"Last", kFieldLastName},     {"Title", kFieldTitle},
                  {"Company", kFieldCompany},  {"Address1", kFieldAddress1}, {"Address2", kFieldAddress2},
                  {"City", kFieldCity},        {"State", kFieldState},       {"Zip", kFieldZipCode},
                  {"Country", kFieldCountry},  {"Phone", kFieldPhone1},      {"Fax", kFieldFax},
                  {"EMail", kFieldEMail}};

using Contact = FloorContact;

// The records of `tessaline-tool db dump` (run in a UTF-8 locale): a line
// of field names, then a line a record, its fields by id, tab-separated,
// with backslash and control bytes escaped.
bool ReadDump(const fs::path& path, std::vector<Contact>* contacts)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!std::getline(in, line))
        return false;
    while (std::getline(in, line)) {
        Contact c(1);
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\t') {
                c.emplace_back();
            } else if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '\\') {
                c.back() += '\\';
                ++i;
            } else if (line[i] == '\\' && i + 3 < line.size() && line[i + 1] == 'x') {
                c.back() += char(std::strtol(line.substr(i + 2, 2).c_str(), nullptr, 16));
                i += 3;
            } else {
                c.back() += line[i];
            }
        }
        if (c.size() <= size_t(kBodyFieldCount))
            return false;
        contacts->push_back(std::move(c));
    }
    return bool(in.eof());
}

bool WriteContacts(const fs::path& path, const std::vector<Contact>& contacts)
{
    std::ofstream out(path, std::ios::binary);
    out << "dump\n";
    for (const Contact& c : contacts) {
        for (size_t i = 0; i < c.size(); ++i) {
            out << (i ? "\t" : "");
            for (char ch : c[i]) {
                if (ch == '\\')
                    out << "\\\\";
                else if (ch == '\t' || ch == '\n' || ch == '\r')
                    out << (ch == '\t' ? "\\x09" : ch == '\n' ? "\\x0A" : "\\x0D");
                else
                    out << ch;
            }
        }
        out << "\n";
    }
    return bool(out);
}

// gLabels' tab-separated merge source, keys on the first line.
bool WriteMergeText(const fs::path& path, const std::vector<Contact>& contacts, size_t from, size_t to)
{
    std::ofstream out(path, std::ios::binary);
    for (const auto& k : kMergeKeys)
        out << (k.field == kFieldFirstName ? "" : "\t") << k.key;
    out << "\n";
    for (size_t i = from; i < to; ++i) {
        for (const auto& k : kMergeKeys)
            out << (k.field == kFieldFirstName ? "" : "\t") << contacts[i][size_t(k.field)];
        out << "\n";
    }
    return bool(out);
}

// The sample business card drawn with gLabels' objects (it has no star
// shape; the other objects are the card's own, at its positions and sizes).
bool WriteGlabelsCard(const fs::path& path, const fs::path& source, const fs::path& design, const fs::path& pictures)
{
    if (!design.empty()) {
        std::ifstream in(design, std::ios::binary);
        if (!in)
            return false;
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // The merge source, and the folder of the pictures.
        const std::string bench = pictures.string();
        for (size_t at; (at = text.find("@BENCH@")) != std::string::npos;)
            text.replace(at, 7, bench);
        const size_t at = text.find("@SOURCE@");
        if (at == std::string::npos)
            return false;
        text.replace(at, 8, source.string());
        std::ofstream out(path, std::ios::binary);
        out << text;
        return bool(out);
    }
    std::ofstream out(path, std::ios::binary);
    const char* const blue = "0x0000a0ff";
    const char* const orange = "0xff8040ff";
    auto span = [](const char* size, const char* weight, bool italic, const char* colour, const std::string& body) {
        return std::string("      <Span font_family=\"Liberation Sans\" font_size=\"") + size +
               "\" font_weight=\"" + weight + "\" font_italic=\"" + (italic ? "True" : "False") + "\" color=\"" +
               colour + "\" line_spacing=\"1\">" + body + "</Span>\n";
    };
    auto text = [&](int x, int y, int w, int h, const std::string& spanText) {
        return "    <Object-text x=\"" + std::to_string(x) + "pt\" y=\"" + std::to_string(y) + "pt\" w=\"" +
               std::to_string(w) + "pt\" h=\"" + std::to_string(h) +
               "pt\" justify=\"Left\" valign=\"Top\" auto_shrink=\"False\" a0=\"1\" a1=\"0\" a2=\"0\" a3=\"1\" a4=\"0\" a5=\"0\">\n" +
               spanText + "    </Object-text>\n";
    };
    out << "<?xml version=\"1.0\"?>\n"
           "<Glabels-document xmlns=\"http://glabels.org/xmlns/3.0/\">\n"
           "  <Template brand=\"Bench\" part=\"5371\" size=\"US-Letter\" description=\"Business cards\">\n"
           "    <Meta category=\"business-card\"/>\n"
           "    <Label-rectangle id=\"0\" width=\"252pt\" height=\"144pt\" round=\"0pt\" x_waste=\"0pt\" "
           "y_waste=\"0pt\">\n"
           "      <Markup-margin size=\"0pt\"/>\n"
           "      <Layout nx=\"2\" ny=\"5\" x0=\"54pt\" y0=\"36pt\" dx=\"252pt\" dy=\"144pt\"/>\n"
           "    </Label-rectangle>\n"
           "  </Template>\n"
           "  <Objects id=\"0\" rotate=\"False\">\n"
        << "    <Object-ellipse x=\"14pt\" y=\"14pt\" w=\"40pt\" h=\"40pt\" line_width=\"0pt\" line_color=\""
        << blue << "\" fill_color=\"" << blue << "\" a0=\"1\" a1=\"0\" a2=\"0\" a3=\"1\" a4=\"0\" a5=\"0\"/>\n"
        << "    <Object-box x=\"62pt\" y=\"42pt\" w=\"176pt\" h=\"3pt\" line_width=\"0pt\" line_color=\"" << orange
        << "\" fill_color=\"" << orange << "\" a0=\"1\" a1=\"0\" a2=\"0\" a3=\"1\" a4=\"0\" a5=\"0\"/>\n"
        << text(62, 16, 178, 24, span("14", "Bold", false, blue, "<Field name=\"Company\"/>"))
        << text(14, 62, 166, 16,
                span("11", "Bold", false, "0x000000ff", "<Field name=\"First\"/> <Field name=\"Last\"/>"))
        << text(14, 78, 166, 16, span("8", "Regular", true, "0x505050ff", "<Field name=\"Title\"/>"))
        << text(14, 96, 154, 40,
                span("7", "Regular", false, "0x000000ff",
                     "<Field name=\"Address1\"/><NL/><Field name=\"City\"/>, <Field name=\"State\"/> "
                     "<Field name=\"Zip\"/><NL/>Tel. <Field name=\"Phone\"/>  <Field name=\"EMail\"/>"))
        << "    <Object-barcode x=\"172pt\" y=\"104pt\" w=\"73pt\" h=\"29pt\" backend=\"built-in\" style=\"Code39\" "
           "text=\"True\" checksum=\"False\" color=\"0x000000ff\" data=\"TS-0042\" a0=\"1\" a1=\"0\" a2=\"0\" a3=\"1\" a4=\"0\" a5=\"0\"/>\n"
        << "  </Objects>\n"
        << "  <Merge type=\"Text/Tab/Line1Keys\" src=\"" << source.string() << "\"/>\n"
        << "</Glabels-document>\n";
    return bool(out);
}

struct RunResult {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0;
    double peakMiB = 0;
};

// Runs a program (no shell), its output to `log`, and measures it from
// outside: wall time from start to reaping, and the child's own peak
// resident memory.
RunResult Run(const std::vector<std::string>& command, const fs::path& log)
{
    RunResult result;
    std::vector<char*> argv;
    for (const std::string& a : command)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        return result;
    if (pid == 0) {
        if (!freopen(log.c_str(), "a", stdout) || !freopen(log.c_str(), "a", stderr))
            _exit(126);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return result;
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.peakMiB = double(usage.ru_maxrss) / 1024.0;
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    result.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::string Spread(const std::vector<double>& v)
{
    std::string s;
    for (double x : v) {
        char text[32];
        std::snprintf(text, sizeof text, "%s%.3g", s.empty() ? "" : " ", x);
        s += text;
    }
    return s;
}

bool OnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return false;
    std::string dirs = path;
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const fs::path candidate = fs::path(dirs.substr(start, end - start)) / program;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// The pages a print-pdf run reported ("N pages"), from its own log.
long ReportedPages(const fs::path& log)
{
    std::ifstream in(log);
    std::string line;
    long pages = 0;
    while (std::getline(in, line)) {
        long n = 0;
        char word[16] = {};
        if (std::sscanf(line.c_str(), "%ld %15s", &n, word) == 2 && std::string(word) == "pages")
            pages = n;
    }
    return pages;
}

int Fail(const std::string& why)
{
    std::fprintf(stderr, "print_bench: %s\n", why.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    long count = 1000;
    uint64_t seed = 1;
    int runs = 3;
    long chunk = 1000;
    fs::path here = fs::canonical("/proc/self/exe").parent_path();
    fs::path card = fs::path(TESSALINE_SOURCE_DATA_DIR) / "Samples" / "Business Card.lqx";
    fs::path keep, design, given, pictures = fs::path(TESSALINE_SOURCE_DATA_DIR).parent_path() / "tools" / "bench";
    fs::path tool = here / "tessaline-tool", timed;
    std::string floorCard;
    // The floor's own process: --floor CONTACTS PAGES OUT.pdf DESIGN PICTURES.
    if (argc == 7 && std::string(argv[1]) == "--floor") {
        std::vector<Contact> contacts;
        if (!ReadDump(argv[2], &contacts))
            return Fail(std::string("cannot read ") + argv[2]);
        return DrawFloor(contacts, std::atol(argv[3]), argv[4], argv[5], argv[6]);
    }
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--seed" && hasValue)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--runs" && hasValue)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--chunk" && hasValue)
            chunk = std::max(1L, std::atol(argv[++i]));
        else if (a == "--card" && hasValue)
            card = argv[++i];
        else if (a == "--db" && hasValue)
            given = argv[++i];
        else if (a == "--keep" && hasValue)
            keep = argv[++i];
        else if (a == "--glabels" && hasValue)
            design = argv[++i];
        else if (a == "--floor-card" && hasValue)
            floorCard = argv[++i];
        else if (a == "--pictures" && hasValue)
            pictures = fs::absolute(argv[++i]);
        else if (a == "--tool" && hasValue)
            timed = fs::absolute(argv[++i]);
        else if (a[0] != '-' && std::atol(a.c_str()) > 0)
            count = std::atol(a.c_str());
        else
            return Fail("usage: print_bench [N] [--seed S] [--db FILE.dqx] [--runs R] [--chunk C] [--card FILE.lqx "
                        "[--glabels FILE.glabels] [--floor-card DESIGN]] [--pictures FOLDER] [--tool PROGRAM] "
                        "[--keep FOLDER]");
    }
    if (access(tool.c_str(), X_OK) != 0)
        return Fail("no tessaline-tool next to this program");
    if (timed.empty())
        timed = tool;
    else if (access(timed.c_str(), X_OK) != 0)
        return Fail("cannot run " + timed.string());

    fs::path folder = keep;
    if (folder.empty()) {
        char name[] = "/tmp/print_bench.XXXXXX";
        if (!mkdtemp(name))
            return Fail("cannot make a temporary folder");
        folder = name;
    } else {
        fs::create_directories(folder);
    }
    const fs::path log = folder / "log.txt";

    // The database, and its records as the floor and gLabels read them.
    fs::path database = given;
    if (database.empty()) {
        database = folder / "contacts.dqx";
        fs::remove(database);
        fs::remove(folder / "contacts.idx");
        const RunResult made = Run({tool.string(), "db", "new", database.string()}, log);
        const RunResult filled = Run(
            {tool.string(), "db", "fill", database.string(), std::to_string(count), "--seed", std::to_string(seed)},
            log);
        if (!made.ok || !filled.ok)
            return Fail("the database could not be made; see " + log.string());
    }
    const fs::path dump = folder / "contacts.tsv";
    {
        // Texts in UTF-8, as gLabels and Qt read them; the prints run in
        // the locale they were given.
        const char* locale = std::getenv("LC_ALL");
        const std::string before = locale ? locale : "";
        setenv("LC_ALL", "C.UTF-8", 1);
        fs::remove(dump);
        const RunResult dumped = Run({tool.string(), "db", "dump", database.string()}, dump);
        if (locale)
            setenv("LC_ALL", before.c_str(), 1);
        else
            unsetenv("LC_ALL");
        if (!dumped.ok)
            return Fail("cannot read the records of " + database.string() + "; see " + dump.string());
    }
    std::vector<Contact> contacts;
    if (!ReadDump(dump, &contacts))
        return Fail("cannot read " + dump.string());
    count = long(contacts.size());
    const fs::path floorContacts = folder / "floor-contacts.tsv";
    if (!WriteContacts(floorContacts, contacts))
        return Fail("cannot write " + floorContacts.string());

    const bool sample = fs::equivalent(card, fs::path(TESSALINE_SOURCE_DATA_DIR) / "Samples" / "Business Card.lqx");
    if (floorCard.empty())
        floorCard = sample ? "sample" : FloorKnows(design.stem().string()) ? design.stem().string() : "sample";
    if (!FloorKnows(floorCard))
        return Fail("the floor draws no card " + floorCard);
    if (given.empty())
        std::printf("%ld contact records (db fill, seed %llu)", count, static_cast<unsigned long long>(seed));
    else
        std::printf("%ld contact records of %s", count, given.filename().c_str());
    std::printf(", %s on 2 x 5 sheets, median of %d runs; the floor draws %s\n", card.filename().c_str(), runs,
                floorCard.c_str());
    if (timed != tool)
        std::printf("  (Tessaline is %s)\n", timed.c_str());

    // A program's jobs (gLabels may need several), run once: their summed
    // wall time and CPU time, the largest peak and the PDF files' total size.
    struct Program {
        std::string name;
        std::vector<std::vector<std::string>> jobs;
        std::vector<fs::path> outputs;
        fs::path log;
        std::vector<double> times, cpus, peaks;
        double bytes = 0;
    };
    auto runOnce = [&](Program& p) {
        double total = 0, cpu = 0, peak = 0;
        p.bytes = 0;
        for (size_t j = 0; j < p.jobs.size(); ++j) {
            fs::remove(p.outputs[j]);
            const RunResult run = Run(p.jobs[j], p.log);
            if (!run.ok || !fs::exists(p.outputs[j])) {
                std::fprintf(stderr, "print_bench: %s failed; see %s\n", p.name.c_str(), p.log.c_str());
                return false;
            }
            total += run.seconds;
            cpu += run.cpuSeconds;
            peak = std::max(peak, run.peakMiB);
            p.bytes += double(fs::file_size(p.outputs[j]));
        }
        p.times.push_back(total);
        p.cpus.push_back(cpu);
        p.peaks.push_back(peak);
        return true;
    };
    auto report = [](const Program& p) {
        std::printf("  %-32s %8.2f s  CPU %8.2f s  peak %6.1f MiB  PDF %7.2f MiB  (runs: %s s)\n", p.name.c_str(),
                    Median(p.times), Median(p.cpus), Median(p.peaks), p.bytes / (1024.0 * 1024.0),
                    Spread(p.times).c_str());
    };

    Program ours{"Tessaline, one process", {}, {}, folder / "tessaline-log.txt", {}, {}, {}, 0};
    const fs::path pdf = folder / "tessaline.pdf";
    ours.jobs.push_back({timed.string(), "print-pdf", card.string(), database.string(), pdf.string()});
    ours.outputs.push_back(pdf);

    // The floor draws as many pages as ours made, known after its first run.
    Program floor{"plain QPdfWriter loop, 1 thread", {}, {}, log, {}, {}, {}, 0};
    floor.outputs.push_back(folder / "floor.pdf");

    // gLabels draws the sample, or the card its design gives.
    const bool compare = OnPath("glabels-3-batch") && (sample || !design.empty());
    Program theirs;
    theirs.log = log;
    if (compare) {
        for (long from = 0, n = 0; from < count; from += chunk, ++n) {
            const long to = std::min(count, from + chunk);
            const fs::path source = folder / ("glabels-" + std::to_string(n) + ".tsv");
            const fs::path made = folder / ("glabels-" + std::to_string(n) + ".glabels");
            const fs::path output = folder / ("glabels-" + std::to_string(n) + ".pdf");
            if (!WriteMergeText(source, contacts, size_t(from), size_t(to)) ||
                !WriteGlabelsCard(made, source, sample ? fs::path() : design, pictures))
                return Fail("cannot write the gLabels files");
            theirs.jobs.push_back({"glabels-3-batch", "-o", output.string(), made.string()});
            theirs.outputs.push_back(output);
        }
        theirs.name = theirs.jobs.size() == 1 ? std::string("gLabels, one process")
                                              : "gLabels, " + std::to_string(theirs.jobs.size()) + " runs of " +
                                                    std::to_string(chunk);
    }
    // The programs take turns, so that a machine that gets busier or
    // quieter weighs on all; each turn gives a ratio.
    std::vector<double> ratios, cpuRatios, floorTimes, floorCpus;
    for (int r = 0; r < runs; ++r) {
        if (!runOnce(ours))
            return 1;
        if (floor.jobs.empty()) {
            const long pages = ReportedPages(ours.log);
            floor.jobs.push_back({(here / "print_bench").string(), "--floor", floorContacts.string(),
                                  std::to_string(pages), floor.outputs[0].string(), floorCard, pictures.string()});
        }
        if (!runOnce(floor) || (compare && !runOnce(theirs)))
            return 1;
        floorTimes.push_back(ours.times.back() / floor.times.back());
        floorCpus.push_back(ours.cpus.back() / floor.cpus.back());
        if (compare) {
            ratios.push_back(ours.times.back() / theirs.times.back());
            cpuRatios.push_back(ours.cpus.back() / theirs.cpus.back());
        }
    }
    report(ours);
    report(floor);
    std::printf("  Tessaline / floor: time %.3f (runs: %s), CPU %.3f (runs: %s), PDF size %.3f\n",
                Median(floorTimes), Spread(floorTimes).c_str(), Median(floorCpus), Spread(floorCpus).c_str(),
                ours.bytes / floor.bytes);
    if (!compare) {
        std::printf("  (no comparison: glabels-3-batch is not installed, or no gLabels design was given)\n");
    } else {
        report(theirs);
        std::printf("  Tessaline / gLabels: time %.3f (median of the runs' ratios: %s), CPU %.3f, PDF size %.3f, "
                    "peak memory %.2f\n",
                    Median(ratios), Spread(ratios).c_str(), Median(cpuRatios), ours.bytes / theirs.bytes,
                    Median(ours.peaks) / Median(theirs.peaks));
    }
    if (keep.empty())
        fs::remove_all(folder);
    return 0;
}
