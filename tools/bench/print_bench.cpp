// Times merge printing as a person runs it: N contact records made by a
// seeded generator, imported into a new contact database, and the sample
// business card printed from them into a PDF file by `tessaline-tool
// print-pdf`, a process of its own. Reports its wall time, its peak memory
// and the size of the PDF. When glabels-3-batch is installed, the same
// records are printed with gLabels on the same 2 x 5 sheet (in runs of at
// most --chunk records, as it holds a whole job in memory) and the ratios
// are printed.
//
//   print_bench [N, default 1000] [--seed S] [--runs R] [--chunk C]
//               [--card FILE.lqx [--glabels FILE.glabels]] [--keep FOLDER]
//
// Another card than the sample is compared with gLabels when --glabels
// gives the same card as a gLabels design, whose merge source is written
// "@SOURCE@" (the tab-separated records with a first line of keys: First,
// Last, Title, Company, Address1, City, State, Zip, Phone, EMail) and the
// folder of its pictures "@BENCH@" (this folder of the sources). The cards
// the README names for tools/bench/ come with theirs.
//
// The floor is the same sheets drawn by a plain one-thread QPdfWriter loop
// (this program run with --floor), reported beside ours with the ratios of
// time and CPU; the designs of tools/bench/ have floors of their own, other
// cards are set beside the sample's. Each print runs R times (default 3), the programs taking
// turns, and the medians are reported. The tools are found next to this
// program.

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

#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>

namespace fs = std::filesystem;

namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return uint32_t(Next() % n); }
    template <size_t N>
    const char* Pick(const char* const (&list)[N])
    {
        return list[Below(N)];
    }

private:
    uint64_t state_;
};

// Names in Windows-1252, as the database stores them.
const char* const kFirstNames[] = {"James", "Mary", "John", "Patricia", "Robert", "Jennifer", "Michael",
                                   "Linda", "William", "Elizabeth", "David", "Barbara", "Richard", "Susan",
                                   "Ren\xE9", "Zo\xEB", "J\xFCrgen", "Chlo\xE9", "Fran\xE7ois", "Ingrid",
                                   "Kenji", "Amara", "Luis", "Mei"};
const char* const kLastNames[] = {"Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller",
                                  "Davis", "Rodriguez", "Martinez", "Wilson", "Anderson", "Taylor", "Moore",
                                  "M\xFCller", "Sch\xFCtz", "Lef\xE8vre", "O'Brien", "Nguyen", "Kowalski",
                                  "Yamamoto", "Okafor", "Walker", "Young", "Allen", "King", "Wright"};
const char* const kStreets[] = {"Main Street", "Oak Avenue", "Maple Drive", "Cedar Lane", "Elm Street",
                                "Pine Road", "Washington Blvd", "Lake Shore Drive", "Hillcrest Road",
                                "Park Place", "Sunset Boulevard", "River Road", "Church Street"};
const char* const kCompanies[] = {"Acme Corp.", "Globex", "Initech", "Umbrella Supplies", "Northwind Labs",
                                  "Harbor Supply", "Abbott Bakery", "Vandelay Industries", "Soylent Foods",
                                  "Tyrell Company"};
const char* const kTitles[] = {"Manager", "Director", "Engineer", "Accountant", "Designer", "Consultant",
                               "Sales Representative", "Owner", "Teacher", "Nurse"};
struct Place {
    const char* city;
    const char* state;
    int zip3;
};
const Place kPlaces[] = {{"New York", "NY", 100}, {"Boston", "MA", 21},     {"Hartford", "CT", 61},
                         {"Baltimore", "MD", 212}, {"Atlanta", "GA", 303},  {"Chicago", "IL", 606},
                         {"Detroit", "MI", 482},  {"Nashville", "TN", 372}, {"Austin", "TX", 787},
                         {"Denver", "CO", 802},   {"Phoenix", "AZ", 850},   {"San Diego", "CA", 921},
                         {"Portland", "OR", 972}, {"Seattle", "WA", 981},   {"Omaha", "NE", 681}};

// The columns of the import, in the order of the data-entry form.
enum Column {
    kFirst,
    kLast,
    kTitle,
    kCompany,
    kAddress1,
    kAddress2,
    kCity,
    kState,
    kZip,
    kCountry,
    kFax,
    kPhone,
    kPhone2,
    kEMail,
    kColumns = 21,
};

using Contact = std::vector<std::string>;

Contact MakeContact(Random& random)
{
    Contact c(kColumns);
    char text[96];
    c[kFirst] = random.Pick(kFirstNames);
    c[kLast] = random.Pick(kLastNames);
    c[kTitle] = random.Pick(kTitles);
    c[kCompany] = random.Pick(kCompanies);
    std::snprintf(text, sizeof text, "%u %s", 1 + random.Below(9899), random.Pick(kStreets));
    c[kAddress1] = text;
    if (random.Below(5) == 0) {
        std::snprintf(text, sizeof text, "Apt %u", 1 + random.Below(400));
        c[kAddress2] = text;
    }
    const Place& place = kPlaces[random.Below(sizeof kPlaces / sizeof kPlaces[0])];
    c[kCity] = place.city;
    c[kState] = place.state;
    std::snprintf(text, sizeof text, "%05u", unsigned(place.zip3) * 100 + random.Below(100));
    c[kZip] = text;
    c[kCountry] = "USA";
    std::snprintf(text, sizeof text, "(%03u) %03u-%04u", 200 + random.Below(800), 200 + random.Below(800),
                  random.Below(10000));
    c[kPhone] = text;
    std::snprintf(text, sizeof text, "%c.%s%u@example.com", c[kFirst][0], c[kLast].c_str(), random.Below(100));
    c[kEMail] = text;
    return c;
}

std::string Utf8(const std::string& cp1252)
{
    // The generator's names only use Latin-1 letters.
    std::string out;
    for (unsigned char ch : cp1252) {
        if (ch < 0x80) {
            out += char(ch);
        } else {
            out += char(0xC0 | (ch >> 6));
            out += char(0x80 | (ch & 0x3F));
        }
    }
    return out;
}

bool WriteImportText(const fs::path& path, const std::vector<Contact>& contacts)
{
    std::ofstream out(path, std::ios::binary);
    for (const Contact& c : contacts) {
        for (int i = 0; i < kColumns; ++i)
            out << (i ? "\t" : "") << c[size_t(i)];
        out << "\r\n";
    }
    return bool(out);
}

// gLabels' tab-separated merge source, keys on the first line.
bool WriteMergeText(const fs::path& path, const std::vector<Contact>& contacts, size_t from, size_t to)
{
    std::ofstream out(path, std::ios::binary);
    out << "First\tLast\tTitle\tCompany\tAddress1\tCity\tState\tZip\tPhone\tEMail\n";
    for (size_t i = from; i < to; ++i) {
        const Contact& c = contacts[i];
        for (int col : {kFirst, kLast, kTitle, kCompany, kAddress1, kCity, kState, kZip, kPhone, kEMail})
            out << (col == kFirst ? "" : "\t") << Utf8(c[size_t(col)]);
        out << "\n";
    }
    return bool(out);
}

// The sample business card drawn with gLabels' objects (it has no star
// shape; the other objects are the card's own, at its positions and sizes).
bool WriteGlabelsCard(const fs::path& path, const fs::path& source, const fs::path& design)
{
    if (!design.empty()) {
        std::ifstream in(design, std::ios::binary);
        if (!in)
            return false;
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // The merge source, and the pictures kept beside the designs.
        const std::string bench = (fs::path(TESSALINE_SOURCE_DATA_DIR).parent_path() / "tools" / "bench").string();
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

// The floor of a card of tools/bench/ (design "turned-card" or
// "label-card"), as its gLabels design draws it; `font` makes a font of a
// size in points.
template <class Font>
void DrawFloorDesign(QPainter* painter, const std::string& design, const Contact& c, const Font& font)
{
    const fs::path bench = fs::path(TESSALINE_SOURCE_DATA_DIR).parent_path() / "tools" / "bench";
    auto latin = [](const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); };
    const QColor blue(0, 0, 160), orange(255, 128, 64);
    if (design == "label-card") {
        static const QImage photo(QString::fromStdString((bench / "photo.jpg").string()));
        painter->drawImage(QRectF(8, 8, 144, 96), photo);
        painter->setPen(blue);
        painter->setFont(font(11, true, false));
        painter->drawText(QRectF(163, 13, 82, 16), Qt::AlignLeft | Qt::AlignTop, latin(c[kCompany]));
        painter->setPen(Qt::black);
        painter->setFont(font(9, false, false));
        painter->drawText(QRectF(163, 30, 82, 14), Qt::AlignLeft | Qt::AlignTop,
                          latin(c[kFirst]) + ' ' + latin(c[kLast]));
        painter->setFont(font(8, false, false));
        painter->drawText(QRectF(163, 44, 82, 30), Qt::AlignLeft | Qt::AlignTop,
                          latin(c[kAddress1]) + '\n' + latin(c[kCity]) + ' ' + latin(c[kZip]));
        return;
    }
    static const QImage logo(QString::fromStdString((bench / "logo.png").string()));
    painter->drawImage(QRectF(10, 100, 34, 34), logo);
    painter->setPen(Qt::NoPen);
    painter->setBrush(orange);
    painter->drawRect(QRectF(110, 40, 110, 3));
    painter->setPen(blue);
    painter->setFont(font(14, true, false));
    painter->drawText(QRectF(113, 17, 104, 18), Qt::AlignLeft | Qt::AlignTop, latin(c[kCompany]));
    painter->setPen(Qt::black);
    painter->setFont(font(11, true, false));
    painter->drawText(QRectF(113, 51, 104, 26), Qt::AlignLeft | Qt::AlignTop, latin(c[kFirst]) + ' ' + latin(c[kLast]));
    painter->setFont(font(12, false, false));
    for (const auto& [x, y, angle] : {std::tuple{6.0, 70.0, 30.0}, {224.0, 140.0, 90.0}, {50.0, 140.0, 45.0}}) {
        painter->save();
        painter->translate(x, y);
        painter->rotate(-angle);
        painter->drawText(QRectF(3, 3, 104, 18), Qt::AlignLeft | Qt::AlignTop, "Tel. " + latin(c[kPhone]));
        painter->restore();
    }
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::black);
    double x = 150;
    for (int bar = 0; bar < 45; ++bar) {
        const double width = (bar * 7) % 3 == 0 ? 1.0 : 0.4;
        painter->drawRect(QRectF(x, 108, width, 18));
        x += width + ((bar * 5) % 3 == 0 ? 1.0 : 0.4);
    }
    painter->setPen(Qt::black);
    painter->setFont(font(6, false, false));
    painter->drawText(QRectF(150, 127, 62, 8), Qt::AlignHCenter | Qt::AlignTop, "TS-0042");
}

// The floor: the same sheets drawn by a plain Qt program on one thread, with
// QPdfWriter and QPainter's own text, no layout of ours. `pages` is the
// number of pages the Tessaline job made; the pages after each sheet's
// cards (a card's back) are left empty, as in ours.
int DrawFloor(long count, uint64_t seed, long pages, const fs::path& output, const std::string& design)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "print_bench";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    Random random(seed);
    const long sheets = (count + 9) / 10;
    const long pagesPerSheet = sheets > 0 ? std::max(1L, pages / sheets) : 1;
    QPdfWriter writer(QString::fromStdString(output.string()));
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    writer.setTitle("Business Card");
    writer.setCreator("print_bench");
    QPainter painter(&writer);
    painter.scale(600.0 / 72.0, 600.0 / 72.0);  // points
    const QColor blue(0, 0, 160), orange(255, 128, 64), grey(80, 80, 80);
    // Sizes in points on a painter already scaled to points.
    auto font = [](double points, bool bold, bool italic) {
        QFont f("Liberation Sans");
        f.setPointSizeF(points * 72.0 / 600.0);
        f.setBold(bold);
        f.setItalic(italic);
        return f;
    };
    const QFont company = font(14, true, false), name11 = font(11, true, false), title = font(8, false, true),
                small = font(7, false, false), code = font(6, false, false);
    QPolygonF star;
    for (int k = 0; k < 10; ++k) {
        const double angle = k * 3.14159265358979 / 5 - 3.14159265358979 / 2, r = k % 2 ? 7 : 16;
        star << QPointF(34 + r * std::cos(angle), 34 + r * std::sin(angle));
    }
    auto latin = [](const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); };
    for (long i = 0; i < count; ++i) {
        const Contact c = MakeContact(random);
        const long slot = i % 10;
        if (i > 0 && slot == 0) {
            for (long p = 0; p < pagesPerSheet; ++p)
                writer.newPage();
        }
        painter.save();
        painter.translate(54 + 252 * double(slot % 2), 36 + 144 * double(slot / 2));
        if (!design.empty()) {
            DrawFloorDesign(&painter, design, c, font);
            painter.restore();
            continue;
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(blue);
        painter.drawEllipse(QRectF(14, 14, 40, 40));
        painter.setBrush(orange);
        painter.drawPolygon(star);
        painter.drawRect(QRectF(62, 42, 176, 3));
        painter.setFont(company);
        painter.setPen(blue);
        painter.drawText(QRectF(62, 16, 178, 24), Qt::AlignLeft | Qt::AlignTop, latin(c[kCompany]));
        painter.setFont(name11);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(14, 62, 166, 16), Qt::AlignLeft | Qt::AlignTop,
                         latin(c[kFirst]) + ' ' + latin(c[kLast]));
        painter.setFont(title);
        painter.setPen(grey);
        painter.drawText(QRectF(14, 78, 166, 16), Qt::AlignLeft | Qt::AlignTop, latin(c[kTitle]));
        painter.setFont(small);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(14, 96, 154, 40), Qt::AlignLeft | Qt::AlignTop,
                         latin(c[kAddress1]) + '\n' + latin(c[kCity]) + ", " + latin(c[kState]) + ' ' +
                             latin(c[kZip]) + "\nTel. " + latin(c[kPhone]) + "  " + latin(c[kEMail]));
        // A Code 39 symbol's worth of bars (9 characters of 5 bars) and its text.
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        double x = 172;
        for (int bar = 0; bar < 45; ++bar) {
            const double width = (bar * 7) % 3 == 0 ? 1.2 : 0.5;
            painter.drawRect(QRectF(x, 104, width, 22));
            x += width + ((bar * 5) % 3 == 0 ? 1.2 : 0.5);
        }
        painter.setFont(code);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(172, 126, 73, 8), Qt::AlignHCenter | Qt::AlignTop, "TS-0042");
        painter.restore();
    }
    for (long p = 1; p < pagesPerSheet; ++p)
        writer.newPage();
    return painter.end() ? 0 : 1;
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
    fs::path keep;
    fs::path design;
    // The floor's own process: --floor N SEED PAGES OUT.pdf [DESIGN].
    if ((argc == 6 || argc == 7) && std::string(argv[1]) == "--floor")
        return DrawFloor(std::atol(argv[2]), std::strtoull(argv[3], nullptr, 10), std::atol(argv[4]), argv[5],
                         argc == 7 ? argv[6] : "");
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
        else if (a == "--keep" && hasValue)
            keep = argv[++i];
        else if (a == "--glabels" && hasValue)
            design = argv[++i];
        else if (a[0] != '-' && std::atol(a.c_str()) > 0)
            count = std::atol(a.c_str());
        else
            return Fail("usage: print_bench [N] [--seed S] [--runs R] [--chunk C] [--card FILE.lqx [--glabels "
                        "FILE.glabels]] [--keep FOLDER]");
    }
    const fs::path tool = here / "tessaline-tool";
    if (access(tool.c_str(), X_OK) != 0)
        return Fail("no tessaline-tool next to this program");

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

    Random random(seed);
    std::vector<Contact> contacts;
    contacts.reserve(size_t(count));
    for (long i = 0; i < count; ++i)
        contacts.push_back(MakeContact(random));
    const fs::path text = folder / "contacts.txt";
    const fs::path database = folder / "contacts.dqx";
    fs::remove(database);
    fs::remove(folder / "contacts.idx");
    if (!WriteImportText(text, contacts))
        return Fail("cannot write " + text.string());
    const bool sample = fs::equivalent(card, fs::path(TESSALINE_SOURCE_DATA_DIR) / "Samples" / "Business Card.lqx");
    std::printf("%ld contact records (seed %llu), %s on 2 x 5 sheets, median of %d runs\n", count,
                static_cast<unsigned long long>(seed), card.filename().c_str(), runs);
    const std::string stem = design.stem().string();
    if (!sample && stem != "turned-card" && stem != "label-card")
        std::printf("  (the floor draws the sample card)\n");

    const RunResult made = Run({tool.string(), "db", "new", database.string()}, log);
    const RunResult imported =
        Run({tool.string(), "dbdoc", "import", database.string(), text.string(), "--delimiter", "2"}, log);
    if (!made.ok || !imported.ok)
        return Fail("the import failed; see " + log.string());
    std::printf("  import into a new database        %8.2f s\n", made.seconds + imported.seconds);

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
    ours.jobs.push_back({tool.string(), "print-pdf", card.string(), database.string(), pdf.string()});
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
                !WriteGlabelsCard(made, source, sample ? fs::path() : design))
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
    std::vector<double> ratios, floorTimes, floorCpus;
    for (int r = 0; r < runs; ++r) {
        if (!runOnce(ours))
            return 1;
        if (floor.jobs.empty()) {
            const long pages = ReportedPages(ours.log);
            floor.jobs.push_back({(here / "print_bench").string(), "--floor", std::to_string(count),
                                  std::to_string(seed), std::to_string(pages), floor.outputs[0].string()});
            // A design of tools/bench/ has a floor of its own.
            const std::string stem = design.stem().string();
            if (!sample && (stem == "turned-card" || stem == "label-card"))
                floor.jobs.back().push_back(stem);
        }
        if (!runOnce(floor) || (compare && !runOnce(theirs)))
            return 1;
        floorTimes.push_back(ours.times.back() / floor.times.back());
        floorCpus.push_back(ours.cpus.back() / floor.cpus.back());
        if (compare)
            ratios.push_back(ours.times.back() / theirs.times.back());
    }
    report(ours);
    report(floor);
    std::printf("  Tessaline / floor: time %.3f (runs: %s), CPU %.3f (runs: %s)\n", Median(floorTimes),
                Spread(floorTimes).c_str(), Median(floorCpus), Spread(floorCpus).c_str());
    if (!compare) {
        std::printf("  (no comparison: glabels-3-batch is not installed, or no gLabels design was given)\n");
    } else {
        report(theirs);
        std::printf("  Tessaline / gLabels: time %.3f (median of the runs' ratios: %s), PDF size %.3f, peak memory %.2f\n",
                    Median(ratios), Spread(ratios).c_str(), ours.bytes / theirs.bytes,
                    Median(ours.peaks) / Median(theirs.peaks));
    }
    if (keep.empty())
        fs::remove_all(folder);
    return 0;
}
