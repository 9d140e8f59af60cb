#include "foundation/file_witness.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "host_files.h"
#include "support/temp_dir.h"

namespace {

// Another program's rewrite is told from the program's own state by each
// thing the witness keeps: which file, its size, its time and its head,
// even when all the others are as they were.
TEST(FileWitness, TellsAnotherProgramsRewriteByAnyOfWhatItKeeps)
{
    TempDir dir;
    const std::string path = dir.file("t.dqx");
    PutFile(path, "HEAD-ours-and-the-records");
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    FileWitness witness(4);
    // Nothing taken yet: nothing to tell.
    EXPECT_TRUE(witness.Matches(fd));
    EXPECT_TRUE(witness.Matches(dir.file("none")));
    witness.Take(fd);
    EXPECT_TRUE(witness.Matches(fd));
    EXPECT_TRUE(witness.Matches(path));

    struct stat seen {};
    ASSERT_EQ(::fstat(fd, &seen), 0);
    const timespec times[2] = {seen.st_atim, seen.st_mtim};
    // Only the head differs: same size, the time put back.
    ASSERT_EQ(::pwrite(fd, "head", 4, 0), 4);
    ASSERT_EQ(::futimens(fd, times), 0);
    EXPECT_FALSE(witness.Matches(fd));
    // Only the time.
    ASSERT_EQ(::pwrite(fd, "HEAD", 4, 0), 4);
    EXPECT_FALSE(witness.Matches(fd));
    ASSERT_EQ(::futimens(fd, times), 0);
    EXPECT_TRUE(witness.Matches(fd));
    // Only the size, past the head.
    ASSERT_EQ(::ftruncate(fd, 8), 0);
    ASSERT_EQ(::futimens(fd, times), 0);
    EXPECT_FALSE(witness.Matches(fd));
    // The program's own write, taken again, matches.
    witness.Take(fd);
    EXPECT_TRUE(witness.Matches(fd));
    // A head longer than the file.
    FileWitness whole(64);
    whole.Take(fd);
    EXPECT_TRUE(whole.Matches(fd));
    ASSERT_EQ(::pwrite(fd, "h", 1, 0), 1);
    ASSERT_EQ(::futimens(fd, times), 0);
    EXPECT_FALSE(whole.Matches(fd));
    ASSERT_EQ(::pwrite(fd, "H", 1, 0), 1);
    ASSERT_EQ(::futimens(fd, times), 0);

    // Another file put under the name, with the same bytes and time.
    const std::string other = dir.file("other");
    PutFile(other, FileText(path));
    const int otherFd = ::open(other.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(otherFd, 0);
    ASSERT_EQ(::fstat(fd, &seen), 0);
    const timespec same[2] = {seen.st_atim, seen.st_mtim};
    ASSERT_EQ(::futimens(otherFd, same), 0);
    ::close(otherFd);
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    EXPECT_TRUE(witness.Matches(fd));
    EXPECT_FALSE(witness.Matches(path));
    // A name that no longer names a file holds nothing of anyone's.
    ASSERT_EQ(::unlink(path.c_str()), 0);
    EXPECT_TRUE(witness.Matches(path));
    ::close(fd);
}

}  // namespace
