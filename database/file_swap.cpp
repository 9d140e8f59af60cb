#include "database/file_swap.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "database/db_file_io.h"
#include "foundation/cstr.h"
#include "foundation/win_error.h"

namespace {
constexpr uint32_t kBufferSize = 256 * 1024;
}

FileSwap::FileSwap(const PathRecord& target) : target_(target), temp_(PathFor(target)) {}

PathRecord FileSwap::PathFor(const PathRecord& target)
{
    // Beside the target, so that the swap is a rename within one file
    // system.
    PathRecord temp = target;
    StrCatN(temp.extension, "~", sizeof temp.extension);
    return temp;
}

void FileSwap::RemoveLeftovers(const PathRecord& file)
{
    const std::string ending = std::string(file.extension) + "~";
    if (ending.size() < 2)
        return;
    PathRecord folder = file;
    folder.name[0] = 0;
    folder.extension[0] = 0;
    // A name without a folder is in the current one.
    const std::filesystem::path directory(FileHostPath(&folder));
    std::error_code error;
    std::filesystem::directory_iterator entries(directory.empty() ? std::filesystem::path(".") : directory, error);
    std::vector<std::string> names;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if (name.size() > ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0 &&
            entries->is_regular_file(error))
            names.push_back(name.substr(0, name.size() - ending.size()));
    }
    for (const std::string& name : names) {
        PathRecord leftover = folder;
        StrCopyN(leftover.name, name.c_str(), sizeof leftover.name);
        StrCopyN(leftover.extension, ending.c_str(), sizeof leftover.extension);
        FileDelete(&leftover);
    }
}

FileSwap::~FileSwap()
{
    if (file_ != kNoFile) {
        FileClose(file_);
        FileDelete(&temp_);
    }
}

int32_t FileSwap::Begin()
{
    if (std::strlen(target_.extension) + 1 >= sizeof target_.extension)
        return kErrFilenameExceedsRange;
    buffer_.reset(new (std::nothrow) uint8_t[kBufferSize]);
    if (!buffer_)
        return kErrNotEnoughMemory;
    const bool existed = FileExists(&temp_, 0) != 0;
    const int32_t err = FileCreate(&temp_, kFileReadWrite, &file_);
    if (err != kErrNone) {
        file_ = kNoFile;
        // What the failed create made goes with it; a file that was there
        // (held by another program) stays.
        if (!existed)
            FileDelete(&temp_);
    }
    return err;
}

int32_t FileSwap::Flush()
{
    if (buffered_ == 0)
        return kErrNone;
    const int32_t err = DbWriteAt(file_, written_, buffer_.get(), buffered_);
    if (err == kErrNone) {
        written_ += buffered_;
        buffered_ = 0;
    }
    return err;
}

int32_t FileSwap::Append(const void* bytes, uint32_t n)
{
    const auto* p = static_cast<const uint8_t*>(bytes);
    while (n > 0) {
        if (buffered_ == kBufferSize) {
            if (const int32_t err = Flush(); err != kErrNone)
                return err;
        }
        const uint32_t take = n < kBufferSize - buffered_ ? n : kBufferSize - buffered_;
        std::memcpy(buffer_.get() + buffered_, p, take);
        buffered_ += take;
        size_ += take;
        p += take;
        n -= take;
    }
    return kErrNone;
}

int32_t FileSwap::Patch(uint32_t offset, const void* bytes, uint32_t n)
{
    if (const int32_t err = Flush(); err != kErrNone)
        return err;
    return DbWriteAt(file_, offset, bytes, n);
}

int32_t FileSwap::Commit(FileHandle* handle)
{
    int32_t err = Flush();
    if (err == kErrNone)
        err = DbSync(file_);
    if (err == kErrNone)
        err = DbReplaceFile(&temp_, &target_);
    if (err != kErrNone)
        return err;
    *handle = file_;
    file_ = kNoFile;
    return kErrNone;
}
