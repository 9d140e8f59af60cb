#include "printqueue/cups_queue.h"

#include <cups/cups.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr const char* kPostScript = CUPS_FORMAT_POSTSCRIPT;
constexpr const char* kFormat = "document-format";

// What the print system said a queue can do, kept until the next job asks
// afresh: a job, and the window between jobs, ask about a queue once.
struct QueueAnswer {
    std::string name;
    cups_dest_t* dest = nullptr;
    cups_dinfo_t* info = nullptr;
};

void FreeAnswers(std::vector<QueueAnswer>* answers)
{
    for (QueueAnswer& a : *answers) {
        if (a.info)
            cupsFreeDestInfo(a.info);
        if (a.dest)
            cupsFreeDests(1, a.dest);
    }
    answers->clear();
}

// The answers go back to the print system's library when the program ends,
// as at every job's start.
struct AnswerList {
    std::vector<QueueAnswer> answers;
    ~AnswerList() { FreeAnswers(&answers); }
};

std::vector<QueueAnswer>& Answers()
{
    static AnswerList list;
    return list.answers;
}

// `ask` answered about the named queue from what the print system says it
// can do; false where there is no such queue or it says nothing.
template <class Ask>
bool AskQueue(const QString& queue, Ask ask)
{
    if (queue.isEmpty())
        return false;
    const std::string name = queue.toUtf8().toStdString();
    std::vector<QueueAnswer>& answers = Answers();
    auto it = std::find_if(answers.begin(), answers.end(), [&](const QueueAnswer& a) { return a.name == name; });
    if (it == answers.end()) {
        QueueAnswer asked{name};
        asked.dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr);
        if (asked.dest)
            asked.info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, asked.dest);
        answers.push_back(asked);
        it = answers.end() - 1;
    }
    return it->dest && it->info && ask(it->dest, it->info);
}

}  // namespace

void ForgetQueueAnswers() { FreeAnswers(&Answers()); }

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
