// Arbitrary bytes as the program folder's preference files: "QXDefPref"
// (general block, tool block, quick-card item and its data) and
// "QXDocPref" (window records). Whatever the files hold, reading gives the
// blocks or their defaults, quick-card data is a block the quick-card code
// can walk and comes back as it was written, and window records are
// looked up and stored.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/alert_sink.h"
#include "foundation/file_io.h"
#include "foundation/path_record.h"
#include "fuzz_support.h"
#include "graphics/quick_card_block.h"
#include "records/preferences.h"
#include "records/preferences_window.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();
    static const std::string folder = ProgramFolder("prefs");
    if (size < 1 || size > (1 << 16))
        return 0;
    // Byte 0 splits the rest between the two files.
    const size_t split = std::min(size - 1, size_t(data[0]) * (size - 1) / 255);
    WriteWholeFile(folder + "/QXDefPref", data + 1, split);
    WriteWholeFile(folder + "/QXDocPref", data + 1 + split, size - 1 - split);

    uint8_t general[kGeneralPrefsSize];
    uint8_t tools[kToolPrefsSize];
    ReadDefPrefGeneral(general);
    ReadDefPrefTools(tools);
    QuickCardItem item;
    ReadDefPrefQuickCard(&item);
    Check(item.data != nullptr && QuickCardBlockIsValid(item.data));
    Check(WriteDefPrefQuickCard(item) == 0);
    QuickCardItem back;
    Check(ReadDefPrefQuickCard(&back) == 0);
    Check(HandleGetSize(back.data) == HandleGetSize(item.data));
    Check(std::memcmp(HandleData(back.data), HandleData(item.data), HandleGetSize(item.data)) == 0);
    QuickCardBlockFree(&back.data);
    QuickCardBlockFree(&item.data);

    const char* const keys[] = {"\\a.lqx", "\\docs\\b.lqx"};
    for (const char* key : keys) {
        DocWndPref record;
        if (LookupDocWndPref(key, &record) == 0)
            Check(std::string(record.path) == key);
        DocWndPref stored;
        std::strcpy(stored.path, key);
        StoreDocWndPref(stored);
    }
    return 0;
}
