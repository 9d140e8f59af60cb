// The card document's dialog workers under test: a card in its view with
// the Object tool current, rectangles to select, and the dialogs answered by
// a script instead of the user.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <string>
#include <vector>

#include "app/clipboard_wnd.h"
#include "card_test_support.h"
#include "card_window_stand_in.h"
#include "carddoc/labels_doc.h"
#include "carddoc/selection_tool.h"
#include "carddoc/worker_dialog.h"
#include "platform/command_target.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "card_in_view_fixture.h"

// Answers every worker dialog while it lives: the dialog must be of the
// expected class, gets the answer filled in, and ends with OK (or with
// Cancel, untouched). Records the classes it was shown.
class ScriptedDialogs {
public:
    ScriptedDialogs() : previous_(SetWorkerDialogScript([this](QDialog* d) { return Answer(d); })) {}
    ~ScriptedDialogs() { SetWorkerDialogScript(std::move(previous_)); }
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // OK after fill has set the dialog's answer.
    template <class Dialog>
    void Ok(std::function<void(Dialog&)> fill)
    {
        answer_ = [fill](QDialog* d) {
            auto* dialog = dynamic_cast<Dialog*>(d);
            EXPECT_NE(dialog, nullptr) << "another dialog was run";
            if (!dialog)
                return 2;
            fill(*dialog);
            return 1;
        };
    }
    // Cancel, after look has seen what the dialog was given.
    template <class Dialog>
    void Cancel(std::function<void(Dialog&)> look = nullptr)
    {
        answer_ = [look](QDialog* d) {
            auto* dialog = dynamic_cast<Dialog*>(d);
            EXPECT_NE(dialog, nullptr) << "another dialog was run";
            if (dialog && look)
                look(*dialog);
            return 2;
        };
    }
    int runs = 0;

private:
    int32_t Answer(QDialog* d)
    {
        ++runs;
        return answer_ ? answer_(d) : 2;
    }
    std::function<int32_t(QDialog*)> answer_;
    WorkerDialogScript previous_;
};

class WorkerTest : public NewCardViewTest {
protected:
    WorkerTest() : NewCardViewTest(640, 480) {}

    // The command's state as the document shows it in a menu; a command
    // the document does not answer fails the test.
    CmdUI Update(uint32_t id)
    {
        CmdUI ui(id);
        EXPECT_TRUE(doc->OnUpdateCommand(ui)) << id;
        return ui;
    }
    bool Enabled(uint32_t id) { return Update(id).enabled; }
    void Select(std::vector<FrameObj*> frames)
    {
        doc->SetTool(kToolObject, 0);
        tool->DeselectAll(false);
        for (FrameObj* f : frames)
            tool->SelectFrame(f, false);
    }
    std::string UndoText()
    {
        std::string text;
        FrameTool* owner = doc->UndoOwner();
        if (!owner || !owner->GetUndoMenuText(&text))
            return "";
        return text;
    }

    ScriptedDialogs dialogs;
};
