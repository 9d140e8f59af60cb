// A fresh folder under /tmp itself, with mode 755, removed with everything
// in it afterwards. Another user may enter it, for what a test hands to a
// user other than the one running it (`runuser -u nobody`, a changed
// file-system user): the test's own folders lie under the suite's temporary
// folder, and the programs under the checkout, either of which may be
// closed to other users. And its paths are short whatever TMPDIR is, for a
// path that must fit a field of a fixed width.
#pragma once

#include <string>

class SharedFolder {
public:
    SharedFolder();
    ~SharedFolder();
    SharedFolder(const SharedFolder&) = delete;
    SharedFolder& operator=(const SharedFolder&) = delete;

    bool ok() const { return !path_.empty(); }
    // The folder's path, without a trailing slash.
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // A copy of the program (it needs only the system's shared libraries)
    // in the folder, which any user may run; its path, or "" when it could
    // not be copied.
    std::string CopyProgram(const std::string& program) const;

private:
    std::string path_;
};
