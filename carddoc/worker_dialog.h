// How the card document's workers run their dialogs. In the program every
// worker runs its dialog modally; a test puts a script in the way that
// answers the dialog (by setting its record) and says whether it was OK,
// so that no modal loop has to be driven.
#pragma once

#include <cstdint>
#include <functional>

#include "dialogs/object_dialog_kit.h"

class QDialog;

// Answers a dialog in place of the user: 1 for OK, anything else for Cancel.
using WorkerDialogScript = std::function<int32_t(QDialog* dialog)>;

// The script every worker dialog goes to until it is cleared (an empty
// function); returns the one it replaces.
WorkerDialogScript SetWorkerDialogScript(WorkerDialogScript script);
const WorkerDialogScript& CurrentWorkerDialogScript();

// 1 when the dialog ended with OK.
template <class Dialog>
int32_t RunWorkerDialog(Dialog& dialog)
{
    if (const WorkerDialogScript& script = CurrentWorkerDialogScript())
        return script(&dialog);
    if constexpr (requires { dialog.DoModal(); })
        return dialog.DoModal();
    else
        return RunDialogModal(&dialog);
}
