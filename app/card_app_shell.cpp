#include "app/card_app_shell.h"

#include "app/card_app.h"
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/tool_bar_draw.h"

QWidget* CardAppShell::MainWindow() { return app_->MainFrame(); }

const CommandData* CardAppShell::PendingCommandData()
{
    CMainFrame* frame = app_->MainFrame();
    return frame ? frame->PendingCommandData() : nullptr;
}

void CardAppShell::DoPageSetup(PageChoice* page) { app_->DoPageSetup(page); }

void CardAppShell::ShowColorTable(ColorTable* colours)
{
    if (CMainFrame* frame = app_->MainFrame())
        frame->SetColorTable(colours);
}

void CardAppShell::ShowTextBar(const QWidget* view, const TextBarState& state)
{
    CMainFrame* frame = app_->MainFrame();
    CToolBarDraw* bar = frame ? frame->TextBar() : nullptr;
    auto* window = frame ? dynamic_cast<CChildFrame*>(frame->ActiveChildFrame()) : nullptr;
    // Only the window in front shows its text on the bar.
    if (!bar || !window || window->ActiveView() != view)
        return;
    bar->ShowFont(CToolBarDraw::kShowFont | CToolBarDraw::kShowSize | CToolBarDraw::kShowBold |
                      CToolBarDraw::kShowItalic | CToolBarDraw::kShowUnderline,
                  state.fontIndex, state.size, state.bold, state.italic, state.underline);
    bar->ShowAlignment(state.alignment);
    bar->ShowSpacing(state.lineSpacing);
}

const uint8_t* CardAppShell::LastDocSetup() { return app_->DefaultDocSetup(); }
