// A request from outside to end the program (a terminate, a hang-up or an
// interrupt): work that checks it ends as a cancel does, so that the
// program leaves through its normal path and clears its scratch files on
// the way. A second request, or one still unanswered after a few seconds,
// ends the program at once, as without this.
#pragma once

// Takes over the terminate, hang-up and interrupt signals for the rest of
// the run.
void CatchStopRequests();
// True once a request came.
bool StopRequested();
// From here on a request also ends the application's event loop, once it
// is back there, so that the windows go as at a quit.
void EndEventLoopOnStopRequest();
// Ends the program by the signal that asked, once its work is undone;
// nothing when none came.
void EndIfStopRequested();
