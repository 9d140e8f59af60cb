// A print scheduler of the test's own: the print system's daemon (cupsd)
// run in the foreground from a folder of its own (its settings, spool,
// logs and the PDF files its queues make), listening only on a socket in
// that folder, with queues that make a PDF file of every job as a cups-pdf
// queue does: the cups-pdf printer description (A4 by default, every paper
// printable to its edges), or a copy of it whose printable area leaves a
// margin on every side (the same or each its own) or that starts with
// another paper. While it runs,
// the print system's clients of this process (Qt's print support, the
// program's own calls) and the programs it starts see its queues and no
// others; the scheduler is stopped, its folder removed and the clients'
// settings restored when it goes.
//
// The queue's device is a small script of the scheduler's own that makes
// the PDF file with the Ghostscript call of the cups-pdf backend: that
// backend reads its settings from /etc/cups only and writes into the home
// folder of the job's user, neither of which a test may touch.
//
// cupsd, Ghostscript and the cups-pdf printer description must be there
// (tools/install-deps.sh installs them for the tests); Missing() says what
// is not. When run by root, the scheduler's filters run as the print
// system's own user, so the folders above the scheduler's are opened to be
// passed through (not read) while it runs.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Unprintable margins of the portrait sheet, in points, one on each side.
struct SchedulerMargins {
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;
};

struct SchedulerQueue {
    std::string name;
    // The unprintable margin on every side of every paper, in points; 0
    // prints to the paper's edges.
    double margin = 0;
    // The paper the queue starts with, by its name in the description
    // ("Letter"); empty for the description's own, A4.
    std::string paper;
    // The print system's default queue.
    bool isDefault = false;
    // Margins that differ from side to side, in place of `margin`. The
    // description gives them in points as they are; the print system keeps
    // them in hundredths of a millimetre, a whole point mostly a little
    // off (10 points as 353, 10.006 points).
    std::optional<SchedulerMargins> sides;
    // The queue prints on both sides of the sheet unless told otherwise.
    bool twoSided = false;
};

class CupsScheduler {
public:
    // Starts the scheduler with the queues; ok() tells whether it runs.
    explicit CupsScheduler(const std::vector<SchedulerQueue>& queues);
    ~CupsScheduler();
    CupsScheduler(const CupsScheduler&) = delete;
    CupsScheduler& operator=(const CupsScheduler&) = delete;

    // What of the scheduler's programs and files this machine lacks; empty
    // when it has them all.
    static std::string Missing();

    bool ok() const { return pid_ > 0; }
    // Why it did not start, or why the last wait for a job failed, with
    // the end of the scheduler's log.
    const std::string& why() const { return why_; }
    // The socket the clients reach it on.
    const std::string& server() const { return socket_; }

    // The requests its clients have made so far (its access log's lines),
    // and those lines from the one numbered `from` (0 for the first) on.
    int Requests() const;
    std::string RequestLog(int from) const;

    // Holds the scheduler where it is: it takes connections but answers
    // none until it is let go on.
    void Pause(bool paused) const;

    // Waits, at most the seconds, for the PDF file the queue makes of the
    // next job it was given (the jobs in the order they were taken); its
    // path, or empty when none came (why() says what the scheduler said).
    std::string NextOutput(const std::string& queue, int seconds = 60);

private:
    bool Prepare(const std::vector<SchedulerQueue>& queues);
    bool Launch();
    void Stop();
    std::string LogTail() const;
    void OpenAncestors();

    std::string folder_;
    std::string socket_;
    std::string output_;
    pid_t pid_ = -1;
    std::string why_;
    std::vector<std::string> taken_;
    std::vector<std::pair<std::string, unsigned>> openedFolders_;
    bool hadServer_ = false;
    std::string oldServer_;
};
