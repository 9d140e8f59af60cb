#include "pdf/pdf_print_job.h"

#include "pdf/pdf_page_farm.h"
#include "platform/dc.h"

std::unique_ptr<Dc> PdfPrintJobDc(QPrinter* printer) { return Dc::ForPrintJob(printer, &PdfPageFarm::Make); }
