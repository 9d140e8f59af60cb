// Settings of a test's own: the program's profile kept in the test's
// folder, never in the user's.
#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QString>

#include "support/temp_dir.h"

// The program's settings (its profile) from now on in dir/settings.
inline void UseOwnProfile(const TempDir& dir)
{
    QCoreApplication::setOrganizationName("Korrinworks Inc.");
    QCoreApplication::setApplicationName("Tessaline");
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(dir.file("settings")));
}
