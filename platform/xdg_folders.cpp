#include "platform/xdg_folders.h"

#include <QDir>

QString XdgDataHome()
{
    // Only an absolute path counts; anything else is as good as unset.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.startsWith(QLatin1Char('/')))
        return dataHome;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QStringList XdgDataDirs()
{
    QStringList dirs;
    for (const QString& dir : qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (dir.startsWith(QLatin1Char('/')))
            dirs << dir;
    if (dirs.isEmpty())
        dirs << QStringLiteral("/usr/local/share") << QStringLiteral("/usr/share");
    return dirs;
}
