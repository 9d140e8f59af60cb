// The context a print job draws into: PostScript for a PostScript file
// chosen in the Print dialog and for a print queue that takes PostScript
// (the frames then send their own PostScript into the job, and its text
// keeps glyph names a reader of what the queue makes maps back to the
// characters), else the printer through Qt (or the PDF file it is set to
// write). A queue prints as many copies as the printer is set to.
#pragma once

#include <memory>

#include <QString>

class Dc;
class QPrinter;

std::unique_ptr<Dc> MakePrintJobDc(QPrinter* printer, const QString& postScriptFile);
