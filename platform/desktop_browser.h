// The command line of the user's web browser, as the desktop registers it.
#pragma once

#include <QString>

// $BROWSER when set (its first entry); else the Exec line of the desktop
// entry registered for HTML documents, or of the default web browser. Empty
// when none can be found; the xdg tools may be missing, and then nothing is
// found.
QString DesktopBrowserCommand();

// The Exec value of the [Desktop Entry] group of a desktop entry file's
// text; empty when it has none.
QString DesktopEntryExec(const QString& entryText);
