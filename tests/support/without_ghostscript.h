// Takes Ghostscript (and every other program) off the PATH for the length
// of a scope, as on a machine without it.
#pragma once

#include <QByteArray>
#include <QtGlobal>

class WithoutGhostscript {
public:
    WithoutGhostscript() : path_(qgetenv("PATH")) { qputenv("PATH", "/nonexistent"); }
    ~WithoutGhostscript() { qputenv("PATH", path_); }
    WithoutGhostscript(const WithoutGhostscript&) = delete;
    WithoutGhostscript& operator=(const WithoutGhostscript&) = delete;

private:
    QByteArray path_;
};
