// Signals as the user left them: a print started under nohup (or after
// trap '' INT) goes on through a hang-up (or a Ctrl+C) and writes its
// whole file; the window told to end closes at once through its own
// orderly close, not by the timer kept for work that never answers.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "journey_fixture.h"
#include "support/long_print.h"
#include "support/run_program.h"
#include "support/shell.h"

namespace {

class StopSignalsJourney : public JourneyTest {
protected:
    // Runs the program with `ignored` set aside (-1: none) and its standard
    // error into `errors`; sends `signal` once `ready` holds. How it ended,
    // or -1 when it never got ready.
    static int SignalledOnceReady(const std::vector<std::string>& arguments, int ignored, int signal,
                                  const std::string& errors, const std::function<bool(pid_t)>& ready)
    {
        const pid_t run = fork();
        if (run < 0)
            return -1;
        if (run == 0) {
            if (ignored > 0)
                ::signal(ignored, SIG_IGN);
            const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, STDERR_FILENO);
            std::vector<char*> argv;
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        bool isReady = false;
        for (int i = 0; i < 3000 && !(isReady = ready(run)); ++i)
            usleep(10000);
        kill(run, signal);
        // The whole print may take minutes on a loaded machine with the
        // address checker.
        const int ended = EndedWithin(run, 300);
        return isReady ? ended : -1;
    }

    // The print has written some of its sheets into the half of its file.
    static bool Printing(const std::string& folder)
    {
        std::error_code none;
        for (const auto& entry : std::filesystem::directory_iterator(folder, none)) {
            const std::string name = entry.path().filename();
            if (name.rfind("OUT", 0) == 0 && entry.path().extension() == ".TMP" &&
                std::filesystem::file_size(entry.path(), none) > 0)
                return true;
        }
        return false;
    }
};

TEST_F(StopSignalsJourney, APrintUnderNohupOrTrapGoesOnAndTheWindowEndsAtOnceInOrder)
{
    const std::string card = CopySample("Business Card.lqx");
    const std::string folder = std::filesystem::path(card).parent_path();
    const std::string errors = TempFile("errors.txt");
    // nohup, then the user logs out; trap '' INT, then Ctrl+C.
    for (const int signal : {SIGHUP, SIGINT}) {
        const std::string pdf = folder + "/cards-" + std::to_string(signal) + ".pdf";
        const int status = SignalledOnceReady({ToolPath(), "print-pdf", card, pdf, "--copies", kLongPrintCopies}, signal,
                                              signal, errors, [&](pid_t) { return Printing(folder); });
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << strsignal(signal) << ": status " << status << " " << ReadFileBytes(errors);
        EXPECT_TRUE(std::filesystem::exists(pdf)) << strsignal(signal);
    }

    // Without nohup, the hang-up stops the print as its Cancel does, said
    // once.
    const int status = SignalledOnceReady({ToolPath(), "print-pdf", card, folder + "/cut.pdf", "--copies", kLongPrintCopies},
                                          -1, SIGHUP, errors, [&](pid_t) { return Printing(folder); });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGHUP) << "status " << status;
    EXPECT_EQ(ReadFileBytes(errors), "tessaline-tool: Printing canceled by user.\n");
    EXPECT_FALSE(std::filesystem::exists(folder + "/cut.pdf"));

#ifdef TESSALINE_PROGRAM_PATH
    // The window waits for the user; a terminate ends it through its close,
    // which says nothing.
    int waiting = 0;
    const int ended = SignalledOnceReady(
        {TESSALINE_PROGRAM_PATH, card}, -1, SIGTERM, errors, [&waiting](pid_t run) {
            const bool polling =
                ReadFileBytes("/proc/" + std::to_string(run) + "/wchan").find("poll") != std::string::npos;
            return (waiting = polling ? waiting + 1 : 0) >= 30;
        });
    EXPECT_TRUE(WIFSIGNALED(ended) && WTERMSIG(ended) == SIGTERM) << "status " << ended;
    EXPECT_EQ(ReadFileBytes(errors).find("Nothing answered"), std::string::npos) << ReadFileBytes(errors);
#endif
}

}  // namespace
