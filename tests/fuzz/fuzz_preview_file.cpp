// Reads arbitrary bytes as the "QXPreview" file of preview texts. Whatever
// the bytes, every preview text reads back as a terminated text of its
// field, and the file written from them loads to the same texts.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "database/field_table.h"
#include "database/merge_text.h"
#include "database/preview_file.h"
#include "database/preview_file_format.h"
#include "foundation/alert_sink.h"
#include "foundation/path_record.h"
#include "fuzz_support.h"

namespace {

std::string Texts()
{
    std::string all;
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        char text[kPreviewBlockSize + 8] = {};
        GetPreviewFieldText(FieldIdByIndex(column), false, text);
        if (std::strlen(text) >= kPreviewBlockSize)
            std::abort();
        all += text;
        all += '\n';
    }
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SilenceAlerts();
    const std::string folder = ProcessTempPath("fuzz_preview_") + "/";
    std::filesystem::create_directories(folder);
    WriteWholeFile(folder + kPreviewFileName, data, size);
    const PathRecord record = PathOf(folder);
    if (LoadSavePreviewFormats(&record, false) != 0)
        return 0;
    const std::string loaded = Texts();
    if (LoadSavePreviewFormats(&record, true) != 0 || LoadSavePreviewFormats(&record, false) != 0)
        std::abort();
    if (Texts() != loaded)
        std::abort();
    return 0;
}
