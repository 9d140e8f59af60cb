#include "foundation/file_witness.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool FileWitness::Seen::operator==(const Seen& other) const
{
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
           head == other.head;
}

bool FileWitness::Look(int fd, Seen* seen) const
{
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return false;
    seen->device = uint64_t(st.st_dev);
    seen->inode = uint64_t(st.st_ino);
    seen->size = int64_t(st.st_size);
    seen->modified = st.st_mtim;
    // The head tells apart two states the clock may not: a copy made within
    // the same tick as the program's own last write, of the same size.
    seen->head.assign(headBytes_, 0);
    size_t got = 0;
    while (got < seen->head.size()) {
        const ssize_t n = ::pread(fd, seen->head.data() + got, seen->head.size() - got, off_t(got));
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += size_t(n);
    }
    // A file shorter than the head leaves zeros, which its size tells apart.
    return true;
}

void FileWitness::Take(FileHandle file)
{
    file_ = file;
    taken_ = Look(file, &seen_);
}

bool FileWitness::Matches(FileHandle file) const
{
    Seen now;
    return !taken_ || (Look(file, &now) && now == seen_);
}

bool FileWitness::HeadMatches(FileHandle file) const
{
    Seen now;
    return !taken_ || (Look(file, &now) && now.device == seen_.device && now.inode == seen_.inode &&
                       now.head == seen_.head);
}

bool FileWitness::Matches(const std::string& hostPath) const
{
    if (!taken_)
        return true;
    const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return true;
    Seen now;
    const bool same = Look(fd, &now) && now == seen_;
    ::close(fd);
    return same;
}
