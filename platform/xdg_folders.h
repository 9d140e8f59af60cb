// The folders of the freedesktop base directory rules that the desktop
// reads programs, file types and icons from.
#pragma once

#include <QString>
#include <QStringList>

// $XDG_DATA_HOME, else ~/.local/share.
QString XdgDataHome();
// $XDG_DATA_DIRS, else /usr/local/share and /usr/share.
QStringList XdgDataDirs();
