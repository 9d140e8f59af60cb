#include "database/progress_window.h"

#include "database/db_host.h"
#include "foundation/string_table.h"

std::string WorkingMessage(int32_t id)
{
    const char* text = LookupString(id);
    return text ? text : "";
}

DbProgressWindow::DbProgressWindow(const std::string& database, const std::string& operation, int32_t total,
                                   int32_t showAt, int32_t start)
    : position_(start)
{
    CurrentDbHost().ProgressOpen(database, operation, total, showAt);
}

DbProgressWindow::~DbProgressWindow() { CurrentDbHost().ProgressClose(); }

bool DbProgressWindow::Step()
{
    DbHost& host = CurrentDbHost();
    host.ProgressStep(position_++);
    return !host.AbortRequested();
}

DbWorkingWindow::DbWorkingWindow(const std::string& caption, int32_t total)
{
    CurrentDbHost().WorkingOpen(caption, total);
}

DbWorkingWindow::~DbWorkingWindow() { CurrentDbHost().WorkingClose(); }

void DbWorkingWindow::StepIt() { SetPos(position_ + 1); }

void DbWorkingWindow::SetPos(int32_t position)
{
    position_ = position;
    CurrentDbHost().WorkingSetPos(position);
}
