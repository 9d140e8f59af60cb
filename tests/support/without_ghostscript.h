// Ghostscript as the tests need it on the PATH: gone, as on a machine
// without it, or counted, to see how often the program runs it.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <QtGlobal>

#include <string>

#include "support/shell.h"
#include "support/temp_dir.h"

// Takes every program off the PATH for the length of a scope.
class WithoutGhostscript {
public:
    WithoutGhostscript() : path_(qgetenv("PATH")) { qputenv("PATH", "/nonexistent"); }
    ~WithoutGhostscript() { qputenv("PATH", path_); }
    WithoutGhostscript(const WithoutGhostscript&) = delete;
    WithoutGhostscript& operator=(const WithoutGhostscript&) = delete;

private:
    QByteArray path_;
};

// For the length of a scope the only program on the PATH is a gs that
// counts its runs and hands over to the real one.
class CountingGhostscript {
public:
    CountingGhostscript() : path_(qgetenv("PATH"))
    {
        const std::string real = QStandardPaths::findExecutable("gs").toStdString();
        WriteFileBytes(dir_.file("gs"),
                       "#!/bin/sh\necho run >> '" + dir_.file("runs") + "'\nexec '" + real + "' \"$@\"\n");
        QFile::setPermissions(QString::fromStdString(dir_.file("gs")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        qputenv("PATH", QByteArray::fromStdString(dir_.path()));
    }
    ~CountingGhostscript() { qputenv("PATH", path_); }
    CountingGhostscript(const CountingGhostscript&) = delete;
    CountingGhostscript& operator=(const CountingGhostscript&) = delete;

    int Runs() const { return int(ReadFileBytes(dir_.file("runs")).size() / 4); }

private:
    QByteArray path_;
    TempDir dir_;
};
