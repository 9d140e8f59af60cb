// The print system's queues, through libcups (this and the default queue's
// lookup are the files that call it): the queues it lists, whether a queue
// takes PostScript, the part of its paper it prints on, and handing a queue
// a finished job.
#pragma once

#include <QMarginsF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// What the print system said of the queues asked about is kept, so that
// it is asked about each once; a job on a queue forgets it first, to ask
// afresh.
void ForgetQueueAnswers();
// From now on a queue's default paper is asked for alone, not with the
// queue's whole description, which comes from the server a few bytes a
// read: a program that prints only into files needs no more of it.
void AskQueuePaperAlone();
// A job on a queue starts: what was asked before it is asked afresh,
// unless it was asked for this job (KeepQueueAnswersForNextJob: a print
// from the command line asks before its job starts).
void StartQueueJob();
void KeepQueueAnswersForNextJob();
// A job is being set up (the Print dialog): the print system is asked
// afresh, on the connection that gives up; a server found silent before is
// asked again. What was asked for this job already
// (KeepQueueAnswersForNextJob) is kept.
void AskBeforeJobSetUp();

// The print system's default queue ("name" or "name/instance"); empty when
// there is none, no print system or no answer.
QString CupsDefaultQueue();
// Why there is no default queue, when the user should hear it: a default
// named where there is no such queue (in the print system's words), or a
// print server that did not answer; empty otherwise.
QString CupsDefaultQueueTrouble();
// Starts asking for the default queue on a thread of its own, for a window
// that must not wait on the print system to open.
void AskDefaultQueueAhead();
// Whether the default queue's question is still out: what would ask it
// waits for the answer, a bounded time.
bool DefaultQueuePending();

// What the print system says of a queue ("name" or "name/instance").
enum class QueueLookup { kFound, kNoSuchQueue, kNoAnswer };
QueueLookup CupsLookUpQueue(const QString& queue);
// The queues the print system lists, as its other clients list them: each
// as "name", and each set of options lpoptions gives one as
// "name/instance". Empty when it has none, or when its server did not
// answer (CupsServerSilence() then says so).
QStringList CupsQueueNames();
// The sentence naming the print server that did not answer this job's
// questions; empty while it answers.
QString CupsServerSilence();
// The paper the queue prints on unless told otherwise, in millimetres (a
// standard paper as exactly as its standard gives it); empty when the
// queue names none. False when there is no such queue.
bool CupsQueueDefaultPaper(const QString& queue, QSizeF* millimetres);
// The papers the queue lists, in millimetres (a standard paper as exactly
// as its standard gives it), and the smallest and largest paper of a size
// of one's own it takes (left empty when it takes none). False when there
// is no such queue or it lists no paper.
bool CupsQueuePapers(const QString& queue, std::vector<QSizeF>* listed, QSizeF* smallest, QSizeF* largest);
// The sides the queue prints unless told otherwise, as the print system
// names them ("one-sided", "two-sided-long-edge", "two-sided-short-edge"):
// the user's choice for the queue, else the queue's; empty when it says
// none.
std::string CupsQueueDefaultSides(const QString& queue);

// While one lives, this thread's calls into the print system (Qt's among
// them) reach no print system and ask nothing: for what a file printed
// without one needs not know. The print system named by the settings is
// back when it goes.
class PrintSystemOutOfReach {
public:
    PrintSystemOutOfReach();
    ~PrintSystemOutOfReach();
    PrintSystemOutOfReach(const PrintSystemOutOfReach&) = delete;
    PrintSystemOutOfReach& operator=(const PrintSystemOutOfReach&) = delete;
};

// True when the queue lists application/postscript among the document
// formats it accepts.
bool CupsQueueTakesPostScript(const QString& queue);
// The margins (left, top, right, bottom, in points) the queue cannot print
// in on the paper of that size (portrait, in points), as its printer
// description says: its printable area placed from the sheet's lower left
// corner, its far edges where the description puts them, also where it
// names the paper a little larger or smaller (A4 as 595 x 842 points);
// false when the queue is unknown or does not take that paper.
bool CupsQueuePrintableMargins(const QString& queue, const QSizeF& paper, QMarginsF* margins);
// Submits the file as one job of type application/postscript under the
// title, the queue printing it copies times; false when the queue is
// unknown or refuses it.
bool CupsSubmitPostScript(const QString& queue, const QString& path, const QString& title, int copies = 1);

// Hands the file to the queue as one job under the title, with the
// options (name and value): the job's id, or 0 when the queue is unknown
// or refuses it; then CupsLastError() says why.
int CupsPrintFile(const std::string& queue, const std::string& file, const std::string& title,
                  const std::vector<std::pair<std::string, std::string>>& options);
const char* CupsLastError();
