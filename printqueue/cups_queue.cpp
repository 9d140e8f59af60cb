#include "printqueue/cups_queue.h"

#include <cups/cups.h>

#include "printqueue/cups_default_dest.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* kPostScript = CUPS_FORMAT_POSTSCRIPT;
constexpr const char* kFormat = "document-format";

// What the print system said a queue can do, kept until the next job on a
// queue asks afresh: a job, and the window between jobs, ask about a queue
// once. The description is asked for only when a question needs it.
struct QueueAnswer {
    std::string name;
    cups_dest_t* dest = nullptr;
    cups_dinfo_t* info = nullptr;
    bool infoAsked = false;
    // The size of the default paper, where the queue was asked for it with
    // its destination (hundredths of a millimetre).
    std::optional<std::pair<int, int>> paperSize;
};

// The answers go back to the print system's library when the program ends,
// as at every job's start.
struct AnswerList {
    std::vector<QueueAnswer> answers;
    // The default queue's name once the print system named one; empty
    // once it said it has none.
    std::optional<std::string> defaultQueue;
    void Free()
    {
        for (QueueAnswer& a : answers) {
            if (a.info)
                cupsFreeDestInfo(a.info);
            if (a.dest)
                cupsFreeDests(1, a.dest);
        }
        answers.clear();
        defaultQueue.reset();
    }
    ~AnswerList() { Free(); }
};

AnswerList& Answers()
{
    static AnswerList list;
    return list;
}

// The queue as "name" or "name/instance".
std::string QueueName(const cups_dest_t& dest)
{
    std::string name = dest.name ? dest.name : "";
    if (dest.instance && *dest.instance)
        name += std::string("/") + dest.instance;
    return name;
}

// What was kept about the named queue; null when it was not asked about.
QueueAnswer* KeptAnswer(const std::string& name)
{
    std::vector<QueueAnswer>& answers = Answers().answers;
    auto it = std::find_if(answers.begin(), answers.end(), [&](const QueueAnswer& a) { return a.name == name; });
    return it != answers.end() ? &*it : nullptr;
}

QueueAnswer& AnswerFor(const std::string& name)
{
    if (QueueAnswer* kept = KeptAnswer(name))
        return *kept;
    QueueAnswer asked{name};
    asked.dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
    Answers().answers.push_back(asked);
    return Answers().answers.back();
}

// `ask` answered about the named queue from what the print system says it
// can do; false where there is no such queue or it says nothing.
template <class Ask>
bool AskQueue(const QString& queue, Ask ask)
{
    if (queue.isEmpty())
        return false;
    QueueAnswer& answer = AnswerFor(queue.toUtf8().toStdString());
    if (answer.dest && !answer.infoAsked) {
        answer.info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, answer.dest);
        answer.infoAsked = true;
    }
    return answer.dest && answer.info && ask(answer.dest, answer.info);
}

}  // namespace

void ForgetQueueAnswers() { Answers().Free(); }

QString CupsDefaultQueue()
{
    AnswerList& list = Answers();
    if (!list.defaultQueue) {
        // The queue comes with what the print system says of it as a
        // destination and with its default paper, in one request: asking
        // about it by name later asks nothing more, and a print into a file
        // nothing at all. That there is none is kept as a queue is, once the
        // print system said so; a print system out of reach may yet start.
        const DefaultDest asked = AskDefaultDest();
        if (!asked.dest) {
            if (asked.answered)
                list.defaultQueue = std::string();
            return QString();
        }
        list.defaultQueue = QueueName(*asked.dest);
        if (KeptAnswer(*list.defaultQueue)) {
            cupsFreeDests(1, asked.dest);
        } else {
            QueueAnswer answer{*list.defaultQueue, asked.dest};
            answer.paperSize = std::make_pair(asked.paperWidth, asked.paperLength);
            list.answers.push_back(answer);
        }
    }
    return QString::fromStdString(*list.defaultQueue);
}

namespace {

// A paper named as the print system takes a "media" option: by its
// standard name ("iso_a4_210x297mm"), its older one ("iso-a4") or a
// printer description's ("A4", "Legal", "Custom.100x150mm", any case); the
// option may also name a tray or a kind of paper beside it ("A4,Tray1").
const pwg_media_t* NamedPaper(const char* option)
{
    if (!option)
        return nullptr;
    std::string text(option);
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        std::string name = text.substr(start, comma - start);
        start = comma + 1;
        if (name.empty())
            continue;
        if (const pwg_media_t* paper = pwgMediaForPWG(name.c_str()))
            return paper;
        if (const pwg_media_t* paper = pwgMediaForLegacy(name.c_str()))
            return paper;
        if (const pwg_media_t* paper = pwgMediaForPPD(name.c_str()))
            return paper;
        name[0] = char(std::toupper(static_cast<unsigned char>(name[0])));
        if (const pwg_media_t* paper = pwgMediaForPPD(name.c_str()))
            return paper;
    }
    return nullptr;
}

// The default paper's size in hundredths of a millimetre, from its name
// (a standard one as its standard gives it) or else from its size as the
// queue gives it (a standard paper near it as that standard does).
std::pair<int, int> PaperSize(const char* name, std::pair<int, int> given)
{
    if (const pwg_media_t* standard = NamedPaper(name))
        return {standard->width, standard->length};
    auto [width, length] = given;
    if (const pwg_media_t* near = width > 0 && length > 0 ? pwgMediaForSize(width, length) : nullptr)
        return {near->width, near->length};
    return given;
}

}  // namespace

bool CupsQueueDefaultPaper(const QString& queue, QSizeF* millimetres)
{
    *millimetres = QSizeF();
    if (queue.isEmpty())
        return false;
    QueueAnswer& answer = AnswerFor(queue.toUtf8().toStdString());
    if (!answer.dest)
        return false;
    const auto put = [millimetres](std::pair<int, int> size) {
        if (size.first > 0 && size.second > 0)
            *millimetres = QSizeF(size.first / 100.0, size.second / 100.0);
    };
    // The user's own choice for the queue, else the queue's.
    const char* name = cupsGetOption("media", answer.dest->num_options, answer.dest->options);
    if (answer.paperSize) {
        put(PaperSize(name, *answer.paperSize));
        return true;
    }
    AskQueue(queue, [&](cups_dest_t* dest, cups_dinfo_t* info) {
        if (!name) {
            ipp_attribute_t* paper = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media");
            name = paper ? ippGetString(paper, 0, nullptr) : nullptr;
        }
        put(PaperSize(name, MediaCollectionSize(cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media-col"))));
        return true;
    });
    return true;
}

PrintSystemOutOfReach::PrintSystemOutOfReach()
{
    // A socket that is never there: the print system's calls of this
    // thread fail at once, asking nothing.
    cupsSetServer("/nonexistent/tessaline-no-print-system");
}

PrintSystemOutOfReach::~PrintSystemOutOfReach() { cupsSetServer(nullptr); }

bool CupsQueueTakesPostScript(const QString& queue)
{
    return AskQueue(queue, [](cups_dest_t* dest, cups_dinfo_t* info) {
        return cupsCheckDestSupported(CUPS_HTTP_DEFAULT, dest, info, kFormat, kPostScript) != 0;
    });
}

bool CupsQueuePrintableMargins(const QString& queue, const QSizeF& paper, QMarginsF* margins)
{
    if (paper.isEmpty())
        return false;
    return AskQueue(queue, [&](cups_dest_t* dest, cups_dinfo_t* info) {
        // The print system measures paper in hundredths of a millimetre.
        const auto hundredths = [](double points) { return int(std::lround(points * 2540.0 / 72.0)); };
        cups_size_t size{};
        if (!cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, dest, info, hundredths(paper.width()),
                                    hundredths(paper.height()), CUPS_MEDIA_FLAGS_DEFAULT, &size))
            return false;
        const auto points = [](int v) { return v * 72.0 / 2540.0; };
        // The margins are measured on the sheet the queue's description
        // names, which may round the paper (A4 as 595 x 842 points). The
        // left and bottom ones start at the corner the printable area is
        // placed from, as on any sheet; the right and top ones are where
        // that area ends on the named sheet, so they are read from its far
        // edges and put on the paper's own. A margin of none stays none:
        // the queue prints to the paper's edge, whatever its size.
        const auto far = [&](int margin, int named, double own) {
            return margin == 0 ? 0.0 : own - points(named - margin);
        };
        *margins = QMarginsF(points(size.left), far(size.top, size.length, paper.height()),
                             far(size.right, size.width, paper.width()), points(size.bottom));
        return true;
    });
}

bool CupsSubmitPostScript(const QString& queue, const QString& path, const QString& title, int copies)
{
    std::vector<std::pair<std::string, std::string>> options{{kFormat, kPostScript}};
    if (copies > 1)
        options.emplace_back("copies", std::to_string(copies));
    return CupsPrintFile(queue.toUtf8().toStdString(), path.toLocal8Bit().toStdString(), title.toUtf8().toStdString(),
                         options) > 0;
}

int CupsPrintFile(const std::string& queue, const std::string& file, const std::string& title,
                  const std::vector<std::pair<std::string, std::string>>& options)
{
    cups_option_t* list = nullptr;
    int count = 0;
    for (const auto& [name, value] : options)
        count = cupsAddOption(name.c_str(), value.c_str(), count, &list);
    const int id = cupsPrintFile(queue.c_str(), file.c_str(), title.c_str(), count, list);
    cupsFreeOptions(count, list);
    return id;
}

const char* CupsLastError() { return cupsLastErrorString(); }
