// Where a print job that goes out as PostScript is written: a file the user
// chose, or a print queue that takes PostScript (the job is then made in a
// temporary file and handed to the queue when it is complete).
#pragma once

#include <memory>

#include <QPageLayout>
#include <QString>

class Dc;

struct PostScriptJobSettings {
    QPageLayout layout;  // the sheet and its printable area
    int resolution = 600;  // device pixels per inch
    QString title;
    QString creator;
    QString path;   // the file to write, when the job goes to a file
    QString queue;  // the print queue, when it goes to a printer
    int copies = 1;  // that the queue prints of the job
};

// The job's context: the job is complete, and written or handed to the
// queue, when the output is flushed (Dc::flush says whether it was).
std::unique_ptr<Dc> PostScriptJobDc(const PostScriptJobSettings& settings);
