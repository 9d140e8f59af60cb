// Every process a suite's tests start ends with them. The supervisor is
// made the subreaper of what runs under it: a process that left its
// parent (started detached, or after setsid) is handed to it rather than
// to the system, so that it can still be found, stopped and collected.
// Otherwise one that outlives its test holds the output ctest reads and
// stalls it until its time limit, though every test passed.
#pragma once

#include <sys/types.h>

void BecomeSubreaper();

// Collects the processes of ours that ended; the test process's status
// when it is among them (then *ended is set).
void CollectEnded(pid_t testProcess, int* status, bool* ended);

// Stops every process under the supervisor and collects them, with the
// test process's status as above. With spareTestProcess, the test process
// and what runs under it go on: what is stopped is what was handed over to
// the supervisor when its parent left it.
void EndDescendants(pid_t testProcess, bool spareTestProcess, int* status, bool* ended);
