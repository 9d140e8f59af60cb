// Reads arbitrary bytes as a label-type file. A file is taken whole or not
// at all; what is taken holds only layouts a sheet can have, encodes back to
// the bytes it came from, reads the same through the table, sorts to names
// in order and saves to the same bytes. The same bytes as a sheet cell grid
// never reach outside their handle.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/file_io.h"
#include "foundation/handle.h"
#include "foundation/path_record.h"
#include "records/label_stock.h"
#include "records/label_stock_file.h"
#include "records/label_stock_table.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

const PathRecord& ScratchPath()
{
    static PathRecord record = [] {
        PathRecord r{};
        const std::string path = "/tmp/tessaline-fuzz-labels-" + std::to_string(getpid()) + ".dat";
        Check(PathRecordFromPosix(path, &r) == 0);
        return r;
    }();
    return record;
}

void Put(const uint8_t* data, size_t n)
{
    FileHandle f = kNoFile;
    Check(FileCreate(&ScratchPath(), kFileWrite, &f) == 0);
    if (n)
        Check(FileWrite(f, data, uint32_t(n)) == 0);
    Check(FileClose(f) == 0);
}

std::vector<uint8_t> Get()
{
    FileHandle f = kNoFile;
    uint32_t size = 0;
    Check(FileOpen(&ScratchPath(), kFileRead, &f) == 0 && FileGetSize(f, &size) == 0);
    std::vector<uint8_t> bytes(size);
    if (size)
        Check(FileRead(f, bytes.data(), size) == 0);
    FileClose(f);
    return bytes;
}

void Grid(const uint8_t* data, size_t size)
{
    HandleOwner grid(HandleNew(uint32_t(size)));
    if (!grid)
        return;
    if (size)
        std::memcpy(HandleData(grid.get()), data, size);
    const int32_t count = LabelGridCountCells(grid.get());
    Check(count >= 0 && size_t(count) <= size / 4);
    for (int32_t a = -1; a < 4; ++a)
        for (int32_t b = -1; b < 4; ++b)
            LabelGridGetCell(grid.get(), a, b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 64 * kLabelTypeSize)
        return 0;
    Grid(data, size);

    std::vector<LabelTypeRecord> records;
    const LabelFileStatus status = LabelFileDecode(data, size, &records);
    const size_t whole = size / kLabelTypeSize * kLabelTypeSize;
    Put(data, size);
    std::vector<LabelTypeRecord> sorted;
    {
        CDBLabel table;
        Check(table.OpenLabelFile(&ScratchPath()) == 1);
        if (status != LabelFileStatus::kOk) {
            Check(records.empty());
            Check(table.ReadAll() == 0 && table.HasPendingError() && table.GetCount() == 0);
            Check(!table.InsertLabelType(0, LabelTypeRecord{}));
            return 0;
        }
        Check(records.size() == size / kLabelTypeSize);
        for (const LabelTypeRecord& r : records) {
            Check(LabelTypeIsSane(r) && LabelTypeName(r).size() <= kLabelTypeNameMax);
            double left = 0, top = 0;
            CenterLabelGrid(&r, 612, 792, &left, &top);
        }
        const std::vector<uint8_t> encoded = LabelFileEncode(records);
        Check(encoded.size() == whole && (whole == 0 || std::memcmp(encoded.data(), data, whole) == 0));

        Check(table.ReadAll() == 1 && table.GetCount() == int32_t(records.size()));
        for (int32_t i = 0; i < table.GetCount(); ++i)
            Check(LabelTypeSame(*table.GetLabelType(i), records[size_t(i)]));
        int32_t selected = table.GetCount() / 2;
        LabelTypeRecord chosen;
        const bool any = table.GetLabelType(selected, &chosen);
        table.SortLabelTypes(&selected);
        for (int32_t i = 1; i < table.GetCount(); ++i)
            Check(table.CompareLabelTypes(i - 1, i) <= 0);
        if (any)
            Check(LabelTypeName(*table.GetLabelType(selected)) == LabelTypeName(chosen));

        for (int32_t i = 0; i < table.GetCount(); ++i)
            sorted.push_back(*table.GetLabelType(i));
        Check(table.InsertLabelType(-1, LabelTypeRecord{}) && table.DeleteLabelType(0));
        Check(table.WriteAll() == 1);
    }
    // Read back once the table has let go of the file.
    Check(Get() == LabelFileEncode(sorted));
    return 0;
}
