#include "carddoc/worker_dialog.h"

#include <utility>

namespace {

WorkerDialogScript& Script()
{
    static WorkerDialogScript script;
    return script;
}

}  // namespace

WorkerDialogScript SetWorkerDialogScript(WorkerDialogScript script)
{
    WorkerDialogScript previous = std::move(Script());
    Script() = std::move(script);
    return previous;
}

const WorkerDialogScript& CurrentWorkerDialogScript() { return Script(); }
