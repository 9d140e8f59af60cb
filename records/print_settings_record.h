// The print settings a card document carries: the 48-byte record of
// print_settings_format.h, kept as its stored bytes so that the reserved
// fields go back to the file exactly as they came.
#pragma once

#include <cstdint>

#include "foundation/file_io.h"
#include "records/print_settings_format.h"

struct PrintSettingsRecord {
    uint8_t bytes[kPrintSettingsSize] = {};
};

// The record a new print manager holds.
void PrintSettingsDefaults(PrintSettingsRecord* record);

// The tiling fields the print job reads.
double PrintSettingsOverlap(const PrintSettingsRecord& record);
bool PrintSettingsTile(const PrintSettingsRecord& record);

// The orientation and paper the card prints on where its label layout
// leaves them open (the page set-up chosen for it), kept with the file.
void PrintSettingsOwnPage(const PrintSettingsRecord& record, uint32_t* orientation, uint32_t* paper);
void SetPrintSettingsOwnPage(PrintSettingsRecord* record, uint32_t orientation, uint32_t paper);

// The record at position (from the file's start; -1 where the file
// stands). The file layer's code; a read that does not get all 48 bytes
// leaves the record as it was.
int32_t ReadPrintSettings(FileHandle file, int32_t position, PrintSettingsRecord* record);
int32_t WritePrintSettings(FileHandle file, int32_t position, const PrintSettingsRecord& record);
