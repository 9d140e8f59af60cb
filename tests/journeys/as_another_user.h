// The file system sees this thread as a user who owns none of the test's
// files. As root only the file system's user changes, for the thread and
// the threads it starts; any other user is such a user already.
#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

#include <string>

#include <QByteArray>
#include <QtGlobal>

class AsAnotherUser {
public:
    static constexpr uid_t kNobody = 65534;

    // temporary is that user's temporary folder (the suite's own is closed
    // to him).
    explicit AsAnotherUser(const std::string& temporary)
        : changed_(::geteuid() == 0), temporary_(qgetenv("TMPDIR"))
    {
        if (changed_) {
            ::setfsgid(kNobody);
            ::setfsuid(kNobody);
            qputenv("TMPDIR", QByteArray::fromStdString(temporary));
        }
    }
    ~AsAnotherUser()
    {
        if (changed_) {
            qputenv("TMPDIR", temporary_);
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    AsAnotherUser(const AsAnotherUser&) = delete;
    AsAnotherUser& operator=(const AsAnotherUser&) = delete;

private:
    bool changed_;
    QByteArray temporary_;
};
