// What the card document asks of the program's main window: the window its
// dialogs belong to, what the text bar handed over with its command, Page
// Setup, and the colour and text bars that show the document's state. The application installs its shell at start-up; without
// one (tessaline-tool, the tests) the dialogs have no owner and nothing is
// shown on bars that don't exist.
#pragma once

#include <cstdint>

class ColorTable;
class CommandData;
class QWidget;
struct PageChoice;

// What the text bar shows of the text at the caret.
struct TextBarState {
    int32_t fontIndex = 0;
    int32_t size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int32_t alignment = 0;
    int32_t lineSpacing = 0;
};

class CardShell {
public:
    virtual ~CardShell() = default;

    // The main window; null while it is not made.
    virtual QWidget* MainWindow() = 0;
    // What the bar of the command being carried out handed over with it
    // (the font of the text bar's list), or null.
    virtual const CommandData* PendingCommandData() = 0;
    // File > Page Setup; what the card's label layout fixes (`page`) shows
    // fixed and stays as it is.
    virtual void DoPageSetup(PageChoice* page) = 0;
    // The colour bar offers the document's colours.
    virtual void ShowColorTable(ColorTable* colours) = 0;
    // The text bar shows state, when view is the active window's view.
    virtual void ShowTextBar(const QWidget* view, const TextBarState& state) = 0;
};

// The installed shell, or null.
CardShell* CurrentCardShell();
// Installs a shell (null takes it away); returns the previous one.
CardShell* SetCardShell(CardShell* shell);
