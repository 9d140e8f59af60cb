// The application's printer settings: which printer, and the paper,
// orientation and resolution to print with. They live only while the
// program runs and never go into a file.
#pragma once

#include <cstdint>

#include <QString>

// Bits of dmFields: which of the settings below are set.
constexpr uint32_t DM_ORIENTATION = 0x1;
constexpr uint32_t DM_PAPERSIZE = 0x2;
constexpr uint32_t DM_PAPERLENGTH = 0x4;
constexpr uint32_t DM_PAPERWIDTH = 0x8;
constexpr uint32_t DM_PRINTQUALITY = 0x400;
constexpr uint32_t DM_YRESOLUTION = 0x2000;

constexpr int16_t DMORIENT_PORTRAIT = 1;
constexpr int16_t DMORIENT_LANDSCAPE = 2;

struct PrinterSettings {
    uint32_t dmFields = 0;
    int16_t dmOrientation = 0;
    int16_t dmPaperSize = 0;    // a printer paper code
    int16_t dmPaperLength = 0;  // tenths of a millimetre
    int16_t dmPaperWidth = 0;   // tenths of a millimetre
    int16_t dmPrintQuality = 0; // horizontal dots per inch when positive
    int16_t dmYResolution = 0;  // vertical dots per inch

    QString deviceName;
    QString portName;
};
