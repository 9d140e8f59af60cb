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
    return std::exchange(Script(), std::move(script));
}

const WorkerDialogScript& CurrentWorkerDialogScript() { return Script(); }
