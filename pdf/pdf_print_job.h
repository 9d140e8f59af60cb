// A print job's context whose PDF the page farm paints: the PDF file a
// printer set to PDF output would write, or the file a printer's queue is
// handed once it is whole; a printer set to neither is drawn on through
// Qt (see Dc::ForPrintJob).
#pragma once

#include <memory>

class Dc;
class QPrinter;

std::unique_ptr<Dc> PdfPrintJobDc(QPrinter* printer);
