#include "printqueue/cups_queue.h"

#include <cups/cups.h>

#include "printqueue/cups_default_dest.h"
#include "printqueue/print_server_link.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* kPostScript = CUPS_FORMAT_POSTSCRIPT;
constexpr const char* kFormat = "document-format";
constexpr const char* kNowhere = PrintServerLink::kNowhere;

// What the print system said of a queue, kept until the next job on a
// queue asks afresh: a job, and the window between jobs, ask about a queue
// once. The description is asked for only when a question needs it.
struct QueueAnswer {
    std::string name;
    cups_dest_t* dest = nullptr;
    cups_dinfo_t* info = nullptr;
    bool infoAsked = false;
    // Its default paper alone, for a print that needs no more of it.
    ipp_t* paper = nullptr;
    bool paperAsked = false;
};

// The answers go back to the print system's library when the program ends,
// as at every job's start.
struct AnswerList {
    std::vector<QueueAnswer> answers;
    // The default queue's name once the print system named one; empty
    // once it said it has none.
    std::optional<std::string> defaultQueue;
    std::string defaultTrouble;
    // The queues the print system lists, once it was asked.
    std::optional<QStringList> queues;
    // The question about the default queue asked ahead, on its own thread.
    std::future<DefaultDest> ahead;
    // The connection the questions go on, and what was said of the server
    // once it kept a question past the bound: nothing more is asked of it
    // until the next job, by us or by Qt's print support.
    std::unique_ptr<PrintServerLink> link;
    std::string silence;
    bool keepForNextJob = false;
    void Free()
    {
        if (ahead.valid())
            cupsFreeDests(1, ahead.get().dest);
        for (QueueAnswer& a : answers) {
            if (a.info)
                cupsFreeDestInfo(a.info);
            ippDelete(a.paper);
            if (a.dest)
                cupsFreeDests(1, a.dest);
        }
        answers.clear();
        defaultQueue.reset();
        defaultTrouble.clear();
        queues.reset();
        link.reset();
        if (!silence.empty())
            cupsSetServer(nullptr);
        silence.clear();
    }
    ~AnswerList() { Free(); }
};

AnswerList& Answers()
{
    static AnswerList list;
    return list;
}

// The connection for the next question, with the whole bound before it;
// null once the server was found silent.
PrintServerLink* Link()
{
    AnswerList& list = Answers();
    if (!list.silence.empty())
        return nullptr;
    if (!list.link || !list.link->Current())
        list.link = std::make_unique<PrintServerLink>();
    list.link->Restart();
    return list.link.get();
}

// After a question: a server that kept it past the bound is named, and is
// out of reach of this thread's print system calls from then on.
void NoteSilence(const PrintServerLink& link, const std::string& said = {})
{
    AnswerList& list = Answers();
    if (!link.GaveUp() || !list.silence.empty())
        return;
    list.silence = said.empty() ? link.Silence() : said;
    cupsSetServer(kNowhere);
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
    if (PrintServerLink* link = Link(); link && link->http()) {
        // "name/instance" names the queue and one of its option sets.
        const size_t slash = name.find('/');
        const std::string queue = name.substr(0, slash);
        const std::string instance = slash == std::string::npos ? std::string() : name.substr(slash + 1);
        asked.dest = link->Ask([&](http_t* http) {
            return cupsGetNamedDest(http, queue.c_str(), instance.empty() ? nullptr : instance.c_str());
        });
        NoteSilence(*link);
    }
    Answers().answers.push_back(asked);
    return Answers().answers.back();
}

// The description of the queue, asked for once.
cups_dinfo_t* InfoOf(QueueAnswer& answer)
{
    if (answer.dest && !answer.infoAsked) {
        answer.infoAsked = true;
        if (PrintServerLink* link = Link(); link && link->http()) {
            answer.info = link->Ask([&](http_t* http) { return cupsCopyDestInfo(http, answer.dest); });
            NoteSilence(*link);
        }
    }
    return answer.info;
}

bool& PaperAlone()
{
    static bool alone = false;
    return alone;
}

// The queue's address as its server gave it, with the resource (its path
// on the server) written into `resource`; null when the server gave none.
const char* QueueResource(const cups_dest_t& dest, char* resource, int size)
{
    const char* uri = cupsGetOption("printer-uri-supported", dest.num_options, dest.options);
    char scheme[32], user[256], host[256];
    int port = 0;
    if (!uri || httpSeparateURI(HTTP_URI_CODING_ALL, uri, scheme, sizeof scheme, user, sizeof user, host,
                                sizeof host, &port, resource, size) < HTTP_URI_STATUS_OK)
        return nullptr;
    return uri;
}

// The queue's default paper as its description gives it, asked for alone:
// the whole description comes from the server a few bytes a read, tens of
// thousands of reads, and a print into a file needs nothing more of it.
// Null when the queue's server is not ours to ask or did not say.
ipp_t* PaperDefaultsOf(QueueAnswer& answer)
{
    if (!answer.dest || answer.paperAsked)
        return answer.paper;
    answer.paperAsked = true;
    char resource[1024];
    const char* uri = QueueResource(*answer.dest, resource, sizeof resource);
    if (!uri)
        return nullptr;
    PrintServerLink* link = Link();
    if (!link || !link->http())
        return nullptr;
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    static const char* const kWanted[] = {"media-default", "media-col-default"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, kWanted);
    answer.paper = link->Ask([&](http_t* http) { return cupsDoRequest(http, request, resource); });
    NoteSilence(*link);
    if (answer.paper && ippGetStatusCode(answer.paper) > IPP_STATUS_OK_EVENTS_COMPLETE) {
        ippDelete(answer.paper);
        answer.paper = nullptr;
    }
    return answer.paper;
}

// `ask` answered about the named queue from what the print system says it
// can do; false where there is no such queue or it says nothing.
template <class Ask>
bool AskQueue(const QString& queue, Ask ask)
{
    if (queue.isEmpty())
        return false;
    QueueAnswer& answer = AnswerFor(queue.toUtf8().toStdString());
    cups_dinfo_t* info = InfoOf(answer);
    return answer.dest && info && ask(answer.dest, info);
}

void TakeDefault(DefaultDest asked)
{
    AnswerList& list = Answers();
    if (!asked.dest) {
        if (asked.answered)
            list.defaultQueue = std::string();
        list.defaultTrouble = asked.trouble;
        return;
    }
    list.defaultQueue = QueueName(*asked.dest);
    if (KeptAnswer(*list.defaultQueue))
        cupsFreeDests(1, asked.dest);
    else
        list.answers.push_back(QueueAnswer{*list.defaultQueue, asked.dest});
}

}  // namespace

void ForgetQueueAnswers() { Answers().Free(); }

void AskQueuePaperAlone() { PaperAlone() = true; }

void StartQueueJob()
{
    if (!std::exchange(Answers().keepForNextJob, false))
        Answers().Free();
}

void KeepQueueAnswersForNextJob() { Answers().keepForNextJob = true; }

void AskBeforeJobSetUp()
{
    if (!Answers().keepForNextJob)
        Answers().Free();
}

void AskDefaultQueueAhead()
{
    AnswerList& list = Answers();
    if (list.defaultQueue || list.ahead.valid())
        return;
    // The thread's own connection, to the server this thread would ask.
    const std::string server = PrintServerLink::Server();
    list.ahead = std::async(std::launch::async, [server] {
        cupsSetServer(server.c_str());
        PrintServerLink link;
        return AskDefaultDest(link);
    });
}

bool DefaultQueuePending()
{
    const AnswerList& list = Answers();
    return list.ahead.valid() && list.ahead.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

QString CupsDefaultQueue()
{
    AnswerList& list = Answers();
    if (list.ahead.valid()) {
        DefaultDest asked = list.ahead.get();
        if (!asked.answered && !asked.trouble.empty() && !asked.dest) {
            // The server kept the question past the bound.
            list.silence = asked.trouble;
            cupsSetServer(kNowhere);
        }
        TakeDefault(std::move(asked));
    }
    if (!list.defaultQueue && list.silence.empty()) {
        // The queue comes with what the print system says of it as a
        // destination, with what lpoptions adds to it: asking about it by
        // name later asks nothing more. That there is none is kept as a
        // queue is, once the print system said so; a print system out of
        // reach may yet start.
        if (PrintServerLink* link = Link()) {
            DefaultDest asked = AskDefaultDest(*link);
            NoteSilence(*link, asked.trouble);
            TakeDefault(std::move(asked));
        }
    }
    if (!list.silence.empty())
        list.defaultTrouble = list.silence;
    return QString::fromStdString(list.defaultQueue.value_or(std::string()));
}

QString CupsDefaultQueueTrouble()
{
    CupsDefaultQueue();
    return QString::fromStdString(Answers().defaultTrouble);
}

QueueLookup CupsLookUpQueue(const QString& queue)
{
    if (queue.isEmpty())
        return QueueLookup::kNoSuchQueue;
    const QueueAnswer& answer = AnswerFor(queue.toUtf8().toStdString());
    if (answer.dest)
        return QueueLookup::kFound;
    return Answers().silence.empty() ? QueueLookup::kNoSuchQueue : QueueLookup::kNoAnswer;
}

QStringList CupsQueueNames()
{
    AnswerList& list = Answers();
    if (list.queues)
        return *list.queues;
    list.queues.emplace();
    if (PrintServerLink* link = Link()) {
        cups_dest_t* dests = nullptr;
        int count = 0;
        if (link->http())
            count = link->Ask([&](http_t* http) { return cupsGetDests2(http, &dests); });
        NoteSilence(*link);
        // A list the server stopped giving halfway is not the list.
        if (list.silence.empty())
            for (int i = 0; i < count; ++i)
                list.queues->append(QString::fromStdString(QueueName(dests[i])));
        cupsFreeDests(count, dests);
    }
    return *list.queues;
}

QString CupsServerSilence() { return QString::fromStdString(Answers().silence); }

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

int CollectionInteger(ipp_t* collection, const char* name)
{
    ipp_attribute_t* attr = collection ? ippFindAttribute(collection, name, IPP_TAG_INTEGER) : nullptr;
    return attr ? ippGetInteger(attr, 0) : 0;
}

// The paper size a media collection (a queue's "media-col-default") gives,
// width and length in hundredths of a millimetre; 0 where it gives none.
std::pair<int, int> MediaCollectionSize(ipp_attribute_t* media)
{
    ipp_t* collection = media ? ippGetCollection(media, 0) : nullptr;
    ipp_attribute_t* size = collection ? ippFindAttribute(collection, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
    ipp_t* dimensions = size ? ippGetCollection(size, 0) : nullptr;
    return {CollectionInteger(dimensions, "x-dimension"), CollectionInteger(dimensions, "y-dimension")};
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
    cups_dest_t* dest = answer.dest;
    if (!dest)
        return false;
    // The user's own choice for the queue, as the queue's printer
    // description takes it (PageSize over media, as a job marks them),
    // else the queue's: "media-default", else "media-col-default", from
    // the description when it was asked for, else alone.
    const char* name = cupsGetOption("PageSize", dest->num_options, dest->options);
    if (!name || !NamedPaper(name))
        name = cupsGetOption("media", dest->num_options, dest->options);
    std::pair<int, int> given;
    if (!NamedPaper(name)) {
        ipp_attribute_t* media = nullptr;
        ipp_attribute_t* collection = nullptr;
        ipp_t* paper = answer.infoAsked || !PaperAlone() ? nullptr : PaperDefaultsOf(answer);
        if (paper) {
            media = ippFindAttribute(paper, "media-default", IPP_TAG_ZERO);
            collection = ippFindAttribute(paper, "media-col-default", IPP_TAG_ZERO);
        }
        if (!media && !collection) {
            if (cups_dinfo_t* info = InfoOf(answer)) {
                media = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media");
                collection = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media-col");
            }
        }
        if (!name && media)
            name = ippGetString(media, 0, nullptr);
        given = MediaCollectionSize(collection);
    }
    const auto [width, length] = PaperSize(name, given);
    if (width > 0 && length > 0)
        *millimetres = QSizeF(width / 100.0, length / 100.0);
    return true;
}

bool CupsQueuePapers(const QString& queue, std::vector<QSizeF>* listed, QSizeF* smallest, QSizeF* largest)
{
    listed->clear();
    *smallest = *largest = QSizeF();
    return AskQueue(queue, [&](cups_dest_t* dest, cups_dinfo_t* info) {
        // Each paper as the queue's description measures it; the sizes of
        // one's own it takes as ranges.
        ipp_attribute_t* sizes = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, "media-size");
        for (int i = 0, count = sizes ? ippGetCount(sizes) : 0; i < count; ++i) {
            ipp_t* size = ippGetCollection(sizes, i);
            ipp_attribute_t* x = size ? ippFindAttribute(size, "x-dimension", IPP_TAG_ZERO) : nullptr;
            ipp_attribute_t* y = size ? ippFindAttribute(size, "y-dimension", IPP_TAG_ZERO) : nullptr;
            if (!x || !y)
                continue;
            if (ippGetValueTag(x) == IPP_TAG_RANGE && ippGetValueTag(y) == IPP_TAG_RANGE) {
                int xHigh = 0, yHigh = 0;
                const int xLow = ippGetRange(x, 0, &xHigh), yLow = ippGetRange(y, 0, &yHigh);
                *smallest = QSizeF(xLow / 100.0, yLow / 100.0);
                *largest = QSizeF(xHigh / 100.0, yHigh / 100.0);
            } else if (ippGetValueTag(x) == IPP_TAG_INTEGER && ippGetValueTag(y) == IPP_TAG_INTEGER) {
                const auto [width, length] = PaperSize(nullptr, {ippGetInteger(x, 0), ippGetInteger(y, 0)});
                if (width > 0 && length > 0)
                    listed->push_back(QSizeF(width / 100.0, length / 100.0));
            }
        }
        return !listed->empty();
    });
}

std::string CupsQueueDefaultSides(const QString& queue)
{
    std::string sides;
    AskQueue(queue, [&](cups_dest_t* dest, cups_dinfo_t* info) {
        // The user's choice, in the print system's words or the printer
        // description's.
        const char* chosen = cupsGetOption("sides", dest->num_options, dest->options);
        if (const char* duplex = chosen ? nullptr : cupsGetOption("Duplex", dest->num_options, dest->options)) {
            const std::string d(duplex);
            chosen = d == "None" ? "one-sided"
                     : d == "DuplexNoTumble" ? "two-sided-long-edge"
                     : d == "DuplexTumble" ? "two-sided-short-edge"
                                            : nullptr;
        }
        if (!chosen) {
            ipp_attribute_t* given = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "sides");
            chosen = given ? ippGetString(given, 0, nullptr) : nullptr;
        }
        sides = chosen ? chosen : "";
        return true;
    });
    return sides;
}

PrintSystemOutOfReach::PrintSystemOutOfReach()
{
    // A socket that is never there: the print system's calls of this
    // thread fail at once, asking nothing.
    cupsSetServer(kNowhere);
}

// A server found silent stays out of reach until the next job.
PrintSystemOutOfReach::~PrintSystemOutOfReach() { cupsSetServer(Answers().silence.empty() ? nullptr : kNowhere); }

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

namespace {

// Sends the file as the job's one document, the bound starting again with
// each part the server takes: a large file on a slow network goes, a
// server that stops taking it is given up.
bool SendDocument(PrintServerLink& link, QueueAnswer& queue, int job, const std::string& file, const char* format)
{
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in)
        return false;
    bool sent = cupsStartDestDocument(link.http(), queue.dest, queue.info, job, nullptr, format, 0, nullptr, 1) ==
                HTTP_STATUS_CONTINUE;
    char buffer[65536];
    for (size_t n; sent && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) {
        link.Restart();
        sent = cupsWriteRequestData(link.http(), buffer, n) == HTTP_STATUS_CONTINUE;
    }
    sent = sent && !std::ferror(in);
    std::fclose(in);
    link.Restart();
    // A server that took the whole document and then held its answer has
    // not said the job is whole. Nor has one whose connection dropped:
    // cupsFinishDestDocument would give the status heard before (the job's
    // making) for an answer that never came, so the answer is looked at.
    // The queue's resource is where a server that asks who we are is
    // answered, as the library's own call does.
    char resource[1024];
    ipp_t* answer = cupsGetResponse(link.http(), QueueResource(*queue.dest, resource, sizeof resource) ? resource : "/");
    const bool finished = answer && ippGetStatusCode(answer) <= IPP_STATUS_OK_EVENTS_COMPLETE;
    ippDelete(answer);
    return finished && sent && !link.GaveUp();
}

}  // namespace

int CupsPrintFile(const std::string& queue, const std::string& file, const std::string& title,
                  const std::vector<std::pair<std::string, std::string>>& options)
{
    // The job goes to the queue as the print system described it for this
    // job: it is not asked about again.
    QueueAnswer& answer = AnswerFor(queue);
    InfoOf(answer);
    PrintServerLink* link = Link();
    if (!answer.dest || !answer.info || !link || !link->http())
        return 0;
    cups_option_t* list = nullptr;
    int count = 0;
    for (const auto& [name, value] : options)
        count = cupsAddOption(name.c_str(), value.c_str(), count, &list);
    const char* format = cupsGetOption(kFormat, count, list);
    const int id = link->Ask([&](http_t* http) {
        int made = 0;
        if (cupsCreateDestJob(http, answer.dest, answer.info, &made, title.c_str(), count, list) >
            IPP_STATUS_OK_EVENTS_COMPLETE)
            return 0;
        if (made > 0 && !SendDocument(*link, answer, made, file, format ? format : CUPS_FORMAT_AUTO)) {
            // What the queue has of the job is of no use.
            if (!link->GaveUp())
                cupsCancelDestJob(http, answer.dest, made);
            return 0;
        }
        return made;
    });
    NoteSilence(*link);
    cupsFreeOptions(count, list);
    return id;
}

const char* CupsLastError()
{
    const std::string& silence = Answers().silence;
    return silence.empty() ? cupsLastErrorString() : silence.c_str();
}
