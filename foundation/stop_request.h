// A request from outside to end the program (a terminate, a hang-up or an
// interrupt): work that checks it ends as a cancel does, so that the
// program leaves through its normal path and clears its scratch files on
// the way. A second request, or one that nothing has looked at after a few
// seconds, ends the program at once, as without this. A signal the program
// was started with ignored (nohup, trap '' INT) stays ignored.
#pragma once

// Takes over the terminate, hang-up and interrupt signals for the rest of
// the run, each one the program was not told to ignore.
void CatchStopRequests();
// True once a request came. Asking shows the request is being answered:
// from then on the close goes its own pace, never cut short by the timer.
bool StopRequested();
// From here on a request also ends the application's event loop, once it
// is back there, so that the windows go as at a quit.
void EndEventLoopOnStopRequest();
// Ends the program by the signal that asked, once its work is undone;
// nothing when none came.
void EndIfStopRequested();

// For the event loop's watch: the end of a pipe written to at each
// request (-1 for none).
void SetStopRequestWake(int fd);
