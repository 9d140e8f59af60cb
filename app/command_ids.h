// Command ids of the application shell: the menus, tool bars and status
// panes send and show these. Ids of the document commands stay with the
// documents that carry them out.
#pragma once

#include <cstdint>

enum : uint32_t {
    // Application commands.
    kCmdNewDatabase = 32780,
    kCmdCreateNewLabel = 32781,
    kCmdOpenDatabase = 32826,
    kCmdOpenDocument = 32827,
    kCmdCloseAll = 32828,
    kCmdPageSetup = 32836,
    kCmdShowClipboard = 32864,
    kCmdNewDocument = 34032,
    kCmdWizard = 34045,
    kCmdWizardSetup = 34043,
    kCmdShowSplashExtra = 33503,
    kCmdCompanyWeb = 34051,
    kCmdNothing = 33440,

    // Main frame commands.
    kCmdToggleDatabaseBar = 32861,
    kCmdToggleDocumentBar = 32862,
    kCmdToggleToolPalette = 32863,

    // Card frame.
    kCmdShowRulers = 32855,

    // The standard commands of the window framework.
    kCmdFileNew = 57600,
    kCmdFileOpen = 57601,
    kCmdFileClose = 57602,
    kCmdFileSave = 57603,
    kCmdFileSaveAs = 57604,
    kCmdFilePrintSetup = 57606,
    kCmdFilePrint = 57607,
    kCmdRecentFile1 = 57616,  // to 57631
    kCmdEditClear = 57632,
    kCmdEditCopy = 57634,
    kCmdEditCut = 57635,
    kCmdEditFind = 57636,
    kCmdEditPaste = 57637,
    kCmdEditUndo = 57643,
    kCmdWindowArrange = 57649,
    kCmdWindowCascade = 57650,
    kCmdWindowTile = 57651,
    kCmdAppAbout = 57664,
    kCmdAppExit = 57665,
    kCmdViewToolbar = 59392,
    kCmdViewStatusBar = 59393,

    // Status bar panes.
    kPaneDatabaseName = 34006,
    kPaneDocument = 34005,
    kPaneTemplateName = 34049,
    kPaneCaps = 59137,
    kPaneNum = 59138,
    kPaneScroll = 59139,

    // Tool bar controls.
    kCmdFindCombo = 33240,
    kCmdSortCombo = 33243,
    kCmdInsertFieldCombo = 33256,
    kCmdFontNameCombo = 33257,
    kCmdFontSizeCombo = 33258,
    kCmdBold = 33260,
    kCmdItalic = 33261,
    kCmdUnderline = 33262,
    kCmdAlignLeft = 33263,
    kCmdJustify = 33266,
    kCmdSingleSpacing = 33267,
    kCmdDoubleSpacing = 33268,
    kCmdPlaceFieldFirst = 33144,

    // The message line's text while nothing is being pointed at.
    kStringIdleMessage = 57345,
    // The application title.
    kStringAppTitle = 128,
};

// Entries of the recent-file list.
constexpr int32_t kRecentFileCount = 4;
