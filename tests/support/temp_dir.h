// A fresh folder for one test, removed with everything in it afterwards.
#pragma once

#include <QTemporaryDir>
#include <string>

class TempDir {
public:
    TempDir() : dir_(QDir::tempPath() + "/tessaline-test-XXXXXX") {}
    bool ok() const { return dir_.isValid(); }
    // The folder's path, without a trailing slash.
    std::string path() const { return dir_.path().toStdString(); }
    std::string file(const std::string& name) const { return path() + "/" + name; }

private:
    QTemporaryDir dir_;
};
