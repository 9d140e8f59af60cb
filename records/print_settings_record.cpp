#include "records/print_settings_record.h"

#include <cstring>

#include "foundation/byte_order.h"
#include "foundation/paper_table.h"
#include "foundation/win_error.h"

void PrintSettingsDefaults(PrintSettingsRecord* record)
{
    std::memset(record->bytes, 0, sizeof record->bytes);
    PutI16LE(record->bytes + kPrintSettingsWord12, kPrintSettingsWord12Default);
    PutF64LE(record->bytes + kPrintSettingsOverlap, kPrintSettingsOverlapDefault);
    PutI16LE(record->bytes + kPrintSettingsTile, kPrintSettingsTileDefault);
}

double PrintSettingsOverlap(const PrintSettingsRecord& record)
{
    return GetF64LE(record.bytes + kPrintSettingsOverlap);
}

bool PrintSettingsTile(const PrintSettingsRecord& record) { return GetI16LE(record.bytes + kPrintSettingsTile) != 0; }

void PrintSettingsOwnPage(const PrintSettingsRecord& record, uint32_t* orientation, uint32_t* paper)
{
    *orientation = GetU32LE(record.bytes + kPrintSettingsOwnOrientation);
    *paper = GetU32LE(record.bytes + kPrintSettingsOwnPaper);
    // A paper this program does not know (a damaged file) is no choice.
    if (*paper >= uint32_t(kPaperTableCount))
        *paper = 0;
}

void SetPrintSettingsOwnPage(PrintSettingsRecord* record, uint32_t orientation, uint32_t paper)
{
    PutU32LE(record->bytes + kPrintSettingsOwnOrientation, orientation);
    PutU32LE(record->bytes + kPrintSettingsOwnPaper, paper);
}

int32_t ReadPrintSettings(FileHandle file, int32_t position, PrintSettingsRecord* record)
{
    if (position != -1) {
        const int32_t err = FileSeek(file, kSeekStart, position);
        if (err != kErrNone)
            return err;
    }
    uint8_t bytes[kPrintSettingsSize];
    const int32_t err = FileRead(file, bytes, sizeof bytes);
    if (err == kErrNone)
        std::memcpy(record->bytes, bytes, sizeof bytes);
    return err;
}

int32_t WritePrintSettings(FileHandle file, int32_t position, const PrintSettingsRecord& record)
{
    if (position != -1) {
        const int32_t err = FileSeek(file, kSeekStart, position);
        if (err != kErrNone)
            return err;
    }
    return FileWrite(file, record.bytes, sizeof record.bytes);
}
