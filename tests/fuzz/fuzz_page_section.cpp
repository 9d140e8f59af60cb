// Reads arbitrary bytes as the page section of a document. A section that
// is accepted holds whole 244-byte records that write back unchanged, and
// the table stays usable: lookups, renumbering, inserting and deleting.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/alert_sink.h"
#include "foundation/byte_order.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "frames/page_record_format.h"
#include "frames/page_table2.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();
    static FileHandle file = Scratch("pages");
    if (size > (1 << 20))
        return 0;
    Put(file, data, size);
    PageTable2 table(nullptr);
    table.InsertPages(0, 1, 0, 0);
    if (table.Read(file, 0) != 0) {
        Check(table.Count() == 1);
        return 0;
    }
    const uint32_t length = GetU32LE(data);
    Check(uint64_t(table.Count()) * kPageRecordSize <= length && size >= 4 + size_t(table.Count()) * kPageRecordSize);
    Check(table.Count() == 0 || std::memcmp(HandleData(table.Records()), data + 4, table.Count() * kPageRecordSize) == 0);

    Put(file, nullptr, 0);
    Check(table.Write(file, 0) == 0);
    PageTable2 again(nullptr);
    Check(again.Read(file, 0) == 0 && again.Count() == table.Count());

    for (int32_t i = 0; i < table.Count(); ++i) {
        uint8_t record[kPageRecordSize];
        Check(table.GetPage(i, record) == i);
        int16_t number = 0;
        const int32_t found = table.NumberOfHandle(PageHandle(record), &number);
        Check(PageHandle(record) == kNoPageHandle ? found == -1 : found >= 0 && found <= i);
    }
    table.Renumber();
    const int16_t first = table.Count() ? PageNumber(table.RecordPtr(0)) : 1;
    table.InsertPages(first, 2, 0, 0);
    table.DeletePages(int16_t(first + 1), int16_t(first + 1 + (size % 3)));
    table.DeletePages(-5, int16_t(data[size - 1]));
    return 0;
}
