#include "records/label_stock_table.h"

#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "foundation/paper_table.h"
#include "foundation/program_folder.h"
#include "foundation/whole_file_writer.h"
#include "foundation/win_error.h"
#include "records/label_stock_file.h"

namespace {

int32_t CompareNames(const LabelTypeRecord& a, const LabelTypeRecord& b)
{
    const size_t n = strnlen(a.name, kLabelTypeNameSize);
    const size_t m = strnlen(b.name, kLabelTypeNameSize);
    const int c = std::memcmp(a.name, b.name, n < m ? n : m);
    if (c != 0)
        return c;
    return n == m ? 0 : (n < m ? -1 : 1);
}

// Earlier versions shipped their A4 sheets with the A4 paper code (9) where
// an entry of the paper table belongs, and entry 9 is Ledger. Such a sheet,
// the same in every other byte as one the program ships now on A4, is that
// sheet; any other keeps what it says, Ledger included.
void CorrectShippedA4Sheets(std::vector<LabelTypeRecord>* records)
{
    constexpr int32_t kA4CodeAsEntry = 9;
    bool any = false;
    for (const LabelTypeRecord& r : *records)
        any = any || r.paper == kA4CodeAsEntry;
    const std::string folder = any ? InstalledDataFolder() : std::string();
    PathRecord path{};
    FileHandle file = kNoFile;
    if (folder.empty() || PathRecordFromPosix(folder + "/Tessaline.dat", &path) != 0 ||
        FileOpen(&path, kFileRead, &file) != kErrNone)
        return;
    uint32_t size = 0;
    std::vector<uint8_t> bytes;
    if (FileGetSize(file, &size) == kErrNone && size / kLabelTypeSize <= uint32_t(kLabelFileMaxRecords)) {
        bytes.resize(size / kLabelTypeSize * kLabelTypeSize);
        if (!bytes.empty() && FileRead(file, bytes.data(), uint32_t(bytes.size())) != kErrNone)
            bytes.clear();
    }
    FileClose(file);
    std::vector<LabelTypeRecord> shipped;
    int32_t bad = 0;
    if (bytes.empty() || LabelFileDecode(bytes.data(), bytes.size(), &shipped, &bad) != LabelFileStatus::kOk)
        return;
    for (LabelTypeRecord& r : *records) {
        if (r.paper != kA4CodeAsEntry)
            continue;
        for (LabelTypeRecord s : shipped) {
            if (s.paper != kPaperEntryA4)
                continue;
            s.paper = kA4CodeAsEntry;
            if (LabelTypeSame(s, r)) {
                r.paper = kPaperEntryA4;
                break;
            }
        }
    }
}

}  // namespace

CDBLabel::~CDBLabel()
{
    if (file_ != kNoFile)
        FileClose(file_);
}

void CDBLabel::Fail(LabelErrorKind kind, int32_t cause)
{
    if (!HasPendingError())
        error_ = LabelError{kind, cause};
}

int32_t CDBLabel::Open(const PathRecord* path, bool create)
{
    if (HasPendingError() || open_ || !path || PathRecordToPosix(*path).empty() || path->name[0] == 0)
        return 0;
    FileHandle file = kNoFile;
    const int32_t err = create ? FileOpenAlways(path, kFileReadWrite, &file) : FileOpen(path, kFileReadWrite, &file);
    if (err != kErrNone) {
        Fail(LabelErrorKind::kFile, err);
        return 0;
    }
    file_ = file;
    path_ = *path;
    open_ = 1;
    return 1;
}

int32_t CDBLabel::OpenLabelFile(const PathRecord* path) { return Open(path, false); }

int32_t CDBLabel::CreateLabelFile(const PathRecord* path)
{
    if (error_.kind == LabelErrorKind::kFile && error_.cause == kErrFileNotFound)
        error_ = LabelError{};
    return Open(path, true);
}

int32_t CDBLabel::ReadAll()
{
    if (HasPendingError() || !open_)
        return 0;
    uint32_t size = 0;
    int32_t err = FileGetSize(file_, &size);
    if (err == kErrNone && size / kLabelTypeSize > uint32_t(kLabelFileMaxRecords)) {
        Fail(LabelErrorKind::kDamaged, 0);
        return 0;
    }
    std::vector<uint8_t> bytes;
    if (err == kErrNone) {
        try {
            bytes.resize(size / kLabelTypeSize * kLabelTypeSize);
        } catch (const std::bad_alloc&) {
            Fail(LabelErrorKind::kMemory, 0);
            return 0;
        }
        err = FileSeek(file_, kSeekStart, 0);
    }
    if (err == kErrNone && !bytes.empty())
        err = FileRead(file_, bytes.data(), uint32_t(bytes.size()));
    if (err != kErrNone) {
        Fail(LabelErrorKind::kFile, err);
        return 0;
    }
    std::vector<LabelTypeRecord> records;
    int32_t bad = 0;
    switch (LabelFileDecode(bytes.data(), bytes.size(), &records, &bad)) {
    case LabelFileStatus::kOk:
        break;
    case LabelFileStatus::kNoMemory:
        Fail(LabelErrorKind::kMemory, 0);
        return 0;
    case LabelFileStatus::kTooMany:
        Fail(LabelErrorKind::kDamaged, 0);
        return 0;
    case LabelFileStatus::kBadRecord:
        Fail(LabelErrorKind::kDamaged, bad);
        return 0;
    }
    CorrectShippedA4Sheets(&records);
    records_.swap(records);
    changed_ = 0;
    return 1;
}

int32_t CDBLabel::WriteReplacement()
{
    bool released = false;
    const auto write = [this](FileHandle out) {
        const std::vector<uint8_t> bytes = LabelFileEncode(records_);
        return bytes.empty() ? int32_t(kErrNone) : FileWrite(out, bytes.data(), uint32_t(bytes.size()));
    };
    // The replacement cannot take the place of a file an open holds.
    int32_t err = ReplaceFileWhole(path_, "LBL", write, [this, &released] {
        FileClose(file_);
        file_ = kNoFile;
        released = true;
    });
    if (released) {
        const int32_t reopened = FileOpen(&path_, kFileReadWrite, &file_);
        if (reopened != kErrNone) {
            file_ = kNoFile;
            open_ = 0;
            if (err == kErrNone)
                err = reopened;
        }
    }
    return err;
}

int32_t CDBLabel::WriteAll()
{
    if (HasPendingError() || !open_ || !changed_)
        return 0;
    const int32_t err = WriteReplacement();
    if (err != kErrNone) {
        Fail(LabelErrorKind::kFile, err);
        return 0;
    }
    changed_ = 0;
    return 1;
}

bool CDBLabel::InsertLabelType(int32_t index, const LabelTypeRecord& record)
{
    if (!Editable() || GetCount() >= kLabelFileMaxRecords)
        return false;
    const int32_t at = index < 0 ? 0 : (index >= GetCount() ? GetCount() : index + 1);
    try {
        records_.insert(records_.begin() + at, record);
    } catch (const std::bad_alloc&) {
        Fail(LabelErrorKind::kMemory, 0);
        return false;
    }
    changed_ = 1;
    return true;
}

bool CDBLabel::DeleteLabelType(int32_t index)
{
    if (!Editable() || index < 0 || index >= GetCount())
        return false;
    records_.erase(records_.begin() + index);
    changed_ = 1;
    return true;
}

bool CDBLabel::SetLabelType(int32_t index, const LabelTypeRecord& record)
{
    if (!Editable() || index < 0 || index >= GetCount())
        return false;
    records_[size_t(index)] = record;
    changed_ = 1;
    return true;
}

bool CDBLabel::SwapLabelTypes(int32_t i, int32_t j)
{
    if (!Editable() || i < 0 || i >= GetCount() || j < 0 || j >= GetCount())
        return false;
    std::swap(records_[size_t(i)], records_[size_t(j)]);
    changed_ = 1;
    return true;
}

int32_t CDBLabel::CompareLabelTypes(int32_t i, int32_t j) const
{
    if (i < 0 || i >= GetCount() || j < 0 || j >= GetCount())
        return 0;
    return CompareNames(records_[size_t(i)], records_[size_t(j)]);
}

int32_t CDBLabel::SortLabelTypes(int32_t* selected)
{
    int32_t sel = selected ? *selected : -1;
    if (!Editable())
        return sel;
    const bool follow = sel >= 0 && sel < GetCount();
    for (int32_t i = 0; i < GetCount(); ++i) {
        for (int32_t j = i; j < GetCount(); ++j) {
            if (CompareLabelTypes(i, j) > 0) {
                SwapLabelTypes(i, j);
                if (follow && sel == i)
                    sel = j;
                else if (follow && sel == j)
                    sel = i;
            }
        }
    }
    if (selected)
        *selected = sel;
    return sel;
}

const LabelTypeRecord* CDBLabel::GetLabelType(int32_t index) const
{
    return (index >= 0 && index < GetCount()) ? &records_[size_t(index)] : nullptr;
}

bool CDBLabel::GetLabelType(int32_t index, LabelTypeRecord* out) const
{
    const LabelTypeRecord* r = GetLabelType(index);
    if (r && out)
        *out = *r;
    return r != nullptr;
}

int32_t GetLabelFilePath(PathRecord* out)
{
    const int32_t err = GetProgramFolder(out);
    if (err != kErrNone)
        return err;
    std::memset(out->name, 0, sizeof(out->name));
    std::memset(out->extension, 0, sizeof(out->extension));
    std::strcpy(out->name, kLabelFileName);
    std::strcpy(out->extension, kLabelFileExtension);
    return kErrNone;
}
