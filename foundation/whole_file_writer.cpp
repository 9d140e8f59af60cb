#include "foundation/whole_file_writer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "foundation/file_host.h"
#include "foundation/path_record.h"
#include "foundation/scratch_mark.h"
#include "foundation/win_error.h"

namespace {

// Writers hand over small pieces (a PDF writer a few bytes at a time); the
// disk is written in pieces of this size, gathered in a buffer no larger:
// a larger one held for the whole job only adds to its memory at the peak,
// and writes of this size cost no more time.
constexpr size_t kPiece = size_t(1) << 16;

// The name a file the user named has until it takes the target's place.
constexpr const char* kTempPrefix = "OUT";

}  // namespace

int32_t RemoveKilledWritersFiles(const PathRecord& folder)
{
    // Each writer marks its file as it opens it and holds it until it has
    // taken the target's place: a marked one whose writer has ended and that
    // no program holds is gone at once, however new. A file of a like name
    // the program never marked is someone else's.
    return RemoveOwnLeftovers(&folder);
}

WholeFileWriter::WholeFileWriter(const PathRecord& target)
    : target_(target), tempPrefix_(kTempPrefix), heldWhileWritten_(true)
{
}

WholeFileWriter::WholeFileWriter(const PathRecord& target, const char* tempPrefix, bool askTargetWritable)
    : target_(target), tempPrefix_(tempPrefix), askTargetWritable_(askTargetWritable)
{
}

WholeFileWriter::WholeFileWriter(const std::string& posixTarget) : tempPrefix_(kTempPrefix), heldWhileWritten_(true)
{
    if (const int32_t err = PathRecordFromPosix(posixTarget, &target_); err != 0)
        error_ = err;
}

WholeFileWriter::~WholeFileWriter() { Discard(); }

int32_t WholeFileWriter::Open()
{
    if (error_ != kErrNone || made_)
        return error_;
    // A target that is a link is written through: the new file takes the
    // place of the file it names, beside that file, and the link stays.
    if (const int32_t err = FileWriteLanding(&target_, &target_); err != kErrNone)
        return error_ = err;
    // Only a file is replaced: never a folder, a pipe or a device.
    if (struct stat st; ::stat(PathRecordToPosix(target_).c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return error_ = NotAFileError(st.st_mode);
    if (askTargetWritable_ && FileExists(&target_, 0)) {
        // Taking the place of a file the user may not change would change
        // it all the same.
        FileHandle probe = kNoFile;
        const int32_t err = FileOpen(&target_, kFileWrite, &probe);
        FileClose(probe);
        if (err != kErrNone)
            return error_ = err;
    }
    PathRecord folder = target_;
    folder.name[0] = 0;
    folder.extension[0] = 0;
    // What a writer that was killed midway left here goes now.
    if (heldWhileWritten_)
        RemoveKilledWritersFiles(folder);
    else
        RemoveStaleTempFiles(&folder, tempPrefix_);
    int32_t err = CreateTempFileName(&folder, tempPrefix_, &temp_);
    if (err != kErrNone)
        return error_ = err;
    made_ = true;
    err = FileOpen(&temp_, kFileWrite, &file_);
    if (err != kErrNone)
        return error_ = err;
    if (heldWhileWritten_)
        MarkOwnScratch(file_);
    pending_.reserve(kPiece);
    return kErrNone;
}

int32_t WholeFileWriter::Drain()
{
    if (error_ != kErrNone || pending_.empty())
        return error_;
    error_ = FileWrite(file_, pending_.data(), uint32_t(pending_.size()));
    pending_.clear();
    return error_;
}

int32_t WholeFileWriter::Write(const void* bytes, size_t n)
{
    if (error_ != kErrNone)
        return error_;
    if (file_ == kNoFile)
        return error_ = kErrInvalidHandle;
    const auto* p = static_cast<const uint8_t*>(bytes);
    while (n > 0) {
        if (pending_.empty() && n >= kPiece) {
            // A whole piece is written from the writer's own bytes, without
            // a copy.
            if ((error_ = FileWrite(file_, p, uint32_t(kPiece))) != kErrNone)
                return error_;
            p += kPiece;
            n -= kPiece;
            continue;
        }
        const size_t take = std::min(n, kPiece - pending_.size());
        pending_.insert(pending_.end(), p, p + take);
        p += take;
        n -= take;
        if (pending_.size() >= kPiece && Drain() != kErrNone)
            return error_;
    }
    return kErrNone;
}

int32_t WholeFileWriter::Commit(const std::function<void()>& release)
{
    if (error_ == kErrNone && file_ == kNoFile)
        error_ = kErrInvalidHandle;
    if (Drain() == kErrNone)
        error_ = FileSync(file_);
    if (error_ == kErrNone && release)
        release();
    // Once in the target's place the file is the user's.
    if (error_ == kErrNone && heldWhileWritten_)
        UnmarkOwnScratch(file_);
    // The new file is still held while it takes the target's place, so that
    // no other program's clearing of killed writers' halves can take it
    // between its close and the replacement. A target another program
    // holds is not replaced.
    if (error_ == kErrNone)
        error_ = HostFileHeldOpen(PathRecordToPosix(target_)) ? kErrSharingViolation
                                                               : FileReplaceWhileOpen(&temp_, &target_);
    if (error_ == kErrNone)
        made_ = false;
    const int32_t closed = FileClose(file_);
    file_ = kNoFile;
    if (error_ == kErrNone)
        error_ = closed;
    const int32_t result = error_;
    Discard();
    return result;
}

void WholeFileWriter::Discard()
{
    const bool dropped = file_ != kNoFile || made_;
    if (file_ != kNoFile) {
        FileClose(file_);
        file_ = kNoFile;
    }
    if (made_) {
        FileDelete(&temp_);
        made_ = false;
    }
    // The buffer goes with the file, not with the writer.
    std::vector<uint8_t>().swap(pending_);
    if (dropped && error_ == kErrNone)
        error_ = kErrGeneralFailure;
}

int32_t WriteWholeFile(const std::string& posixTarget, const void* bytes, size_t n)
{
    WholeFileWriter writer(posixTarget);
    if (const int32_t err = writer.Open(); err != kErrNone)
        return err;
    if (const int32_t err = writer.Write(bytes, n); err != kErrNone)
        return err;
    return writer.Commit();
}

int32_t ReplaceFileWhole(const PathRecord& target, const char* tempPrefix,
                         const std::function<int32_t(FileHandle)>& write, const std::function<void()>& release)
{
    WholeFileWriter writer(target, tempPrefix, false);
    if (const int32_t err = writer.Open(); err != kErrNone)
        return err;
    if (const int32_t err = write(writer.File()); err != kErrNone) {
        writer.Discard();
        return err;
    }
    return writer.Commit(release);
}
