// The context a print job draws into: PostScript for a PostScript file
// chosen in the Print dialog and for a print queue that takes PostScript
// (the frames then send their own PostScript into the job), else the
// printer through Qt (or the PDF file it is set to write).
#pragma once

#include <memory>

#include <QString>

class Dc;
class QPrinter;

std::unique_ptr<Dc> MakePrintJobDc(QPrinter* printer, const QString& postScriptFile);
