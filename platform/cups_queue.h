// The print system's queues, through libcups: whether a queue takes
// PostScript, and handing it a finished PostScript job.
#pragma once

#include <QString>

// True when the queue lists application/postscript among the document
// formats it accepts.
bool CupsQueueTakesPostScript(const QString& queue);
// Submits the file as one job of type application/postscript under the
// title; false when the queue is unknown or refuses it.
bool CupsSubmitPostScript(const QString& queue, const QString& path, const QString& title);
