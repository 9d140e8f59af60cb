// The program's file types and desktop entry, made known to the desktop.
//
// An installation brings them along: share/applications/tessaline.desktop,
// share/mime/packages/tessaline.xml and the icons under share/icons, beside
// bin/. The desktop finds them when that share folder is one it searches
// ($XDG_DATA_HOME, $XDG_DATA_DIRS). A program started from anywhere else
// (its build tree, a prefix the desktop does not search) registers itself
// for the user every time it starts, so that the user's cards and databases
// open with the program the user last ran: its desktop entry, with Exec
// naming this very program, goes to the user's applications folder, the
// file types to the user's MIME packages and the icons to the user's
// hicolor theme. Once the desktop does find an installation, a
// registration an earlier run left behind is taken back, since it would
// hide the installation's own.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

struct ShellPlaces {
    QString program;      // the program's file
    QString share;        // the share folder of its installation (or of its build tree)
    QString dataHome;     // the user's data folder
    QStringList dataDirs; // the other folders the desktop searches
};

// The places of the running program and the user's desktop.
ShellPlaces CurrentShellPlaces();

enum class ShellRegistration {
    kInstalled,   // the desktop finds the installation's own files
    kRegistered,  // the user's registration names this program (written or already so)
    kFailed,      // the installation's files are missing or the user's could not be written
};

// Writes only files whose content changes. With updateCaches, the
// desktop's MIME database and desktop entry cache of the user are brought
// up to date after a change, by update-mime-database and
// update-desktop-database running on their own.
ShellRegistration RegisterShellFileTypes(const ShellPlaces& places, bool updateCaches);

// The program's icon at every size the installation has, for its windows.
QIcon ProgramIcon(const ShellPlaces& places);

// The desktop entry of the user's registration: the installation's entry
// with Exec and TryExec naming the program and a mark telling it apart
// from an installation's.
QString UserDesktopEntry(const QString& installedEntry, const QString& program);

// The file names the registration uses.
extern const char* const kDesktopEntryName;    // "tessaline.desktop"
extern const char* const kMimePackageName;     // "tessaline.xml"
