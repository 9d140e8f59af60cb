// Opening web addresses and documents with the desktop's programs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Results above this value mean the target was handed to a program.
constexpr int32_t kHyperlinkFailureLimit = 32;
constexpr int32_t kHyperlinkOpened = 33;
// The show command the program passes (show the window normally).
constexpr int32_t kShowNormal = 5;

// Opens a web address, or a document by its path, with the program the
// desktop associates with it; when the desktop refuses, runs the user's web
// browser with it. Returns a value above 32 on success, else an error code
// for ShowHyperlinkError. The desktop decides how the program's window
// shows, so the show command is not used.
int32_t OpenHyperlink(const char* target, int32_t showCommand);

// An exclamation box: "Unable to open hyperlink:", a blank line and the text
// of the code.
void ShowHyperlinkError(int32_t code);
// The name the application shell knows it by.
void ReportShellExecuteError(int32_t code);
std::string HyperlinkErrorText(int32_t code);

// A browser command line cut where the target belongs: at the first quoted
// placeholder ("%1"), else at the first bare one; whole when it has none.
// Placeholders are %1, the desktop-entry codes %u %U %f %F and the %s of
// $BROWSER. Blanks before the cut are dropped.
std::string BrowserCommandPrefix(std::string_view commandLine);
// The prefix, a blank and the target: the command line that opens it.
std::string SpliceBrowserCommand(std::string_view commandLine, std::string_view target);

// Shows the hand of a link over the program's windows until
// RestoreSavedCursor (foundation/cursors.h).
void HyperlinkHandCursor();

// The build of a Windows system: there is none here, so 0 with build 0.
int32_t GetWindowsVersion(uint32_t* build);
