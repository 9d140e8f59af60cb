// Files of this process cannot grow past `limit` bytes while it lives: the
// write that would take one further fails, as on a full disk.
#pragma once

#include <csignal>

#include <sys/resource.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit next = previous_;
        next.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &next);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};
