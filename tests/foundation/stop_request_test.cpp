// A request to end, as a process meets it: the signals it was started with
// ignored stay ignored, the timer that ends a request nobody looks at is
// armed until the request is looked at, and a second request ends at once.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "foundation/stop_request.h"

namespace {

// How a child that ran `body` (its exit status, the answer) ended.
int InChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

bool TimerArmed()
{
    itimerval left{};
    getitimer(ITIMER_REAL, &left);
    return left.it_value.tv_sec != 0 || left.it_value.tv_usec != 0;
}

TEST(StopRequest, IgnoredSignalsStayIgnoredAndALookedAtRequestIsNeverCutShort)
{
    // Started under nohup and trap '' INT: those two are not taken.
    int status = InChild([] {
        signal(SIGHUP, SIG_IGN);
        signal(SIGINT, SIG_IGN);
        CatchStopRequests();
        raise(SIGHUP);
        raise(SIGINT);
        return StopRequested() ? 1 : 0;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;

    // A request is held for the work to look at, the timer armed; once
    // looked at, the timer is off and the work ends in its own time.
    status = InChild([] {
        CatchStopRequests();
        raise(SIGTERM);
        if (!TimerArmed())
            return 2;
        if (!StopRequested())
            return 3;
        if (TimerArmed())
            return 4;
        EndIfStopRequested();
        return 5;
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;

    // Nothing looks at it: the timer ends the program by the signal asked,
    // saying so.
    int note[2];
    ASSERT_EQ(pipe(note), 0);
    status = InChild([&note] {
        dup2(note[1], STDERR_FILENO);
        CatchStopRequests();
        raise(SIGHUP);
        // Shorter than the wait, so that the test is quick.
        alarm(1);
        for (;;)
            pause();
        return 6;
    });
    close(note[1]);
    char said[256] = {};
    EXPECT_GT(read(note[0], said, sizeof said - 1), 0);
    close(note[0]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGHUP) << "status " << status;
    EXPECT_STREQ(said, "Nothing answered the request to end: ended at once.\n");

    // A second request ends the program at once.
    status = InChild([] {
        CatchStopRequests();
        raise(SIGINT);
        raise(SIGTERM);
        return 7;
    });
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
}

}  // namespace
