// A request from outside to end the program (a terminate or a hang-up):
// work that checks it ends as a cancel does, so that the program leaves
// through its normal path and clears its scratch files on the way. A
// second request, or one still unanswered after a few seconds, ends the
// program at once, as without this.
#pragma once

// Takes over the terminate and hang-up signals for the rest of the run.
void CatchStopRequests();
// True once a request came.
bool StopRequested();
// Ends the program by the signal that asked, once its work is undone;
// nothing when none came.
void EndIfStopRequested();
