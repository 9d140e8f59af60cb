// What the program's main window answers the card document and the wizard:
// the owner of their dialogs, the text bar's pending font, Page Setup, the
// colour and text bars, and the wizard's last set-up.
#pragma once

#include "carddoc/card_shell.h"
#include "wizard/wizard_shell.h"

class CCardApp;

class CardAppShell final : public CardShell, public WizardShell {
public:
    explicit CardAppShell(CCardApp* app) : app_(app) {}

    QWidget* MainWindow() override;
    const CommandData* PendingCommandData() override;
    void DoPageSetup(PageChoice* page) override;
    void ShowColorTable(ColorTable* colours) override;
    void ShowTextBar(const QWidget* view, const TextBarState& state) override;
    const uint8_t* LastDocSetup() override;

private:
    CCardApp* app_;
};
