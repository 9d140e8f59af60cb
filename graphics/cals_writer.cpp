#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "graphics/cals_format.h"
#include "graphics/ink_rows.h"
#include "graphics/picture_writers.h"

namespace {

// A TIFF file in memory, for libtiff's Group 4 coder: the picture is coded
// into a one-strip TIFF and the strip's bytes are the CALS data.
struct MemoryFile {
    std::string bytes;
    toff_t at = 0;
};

tsize_t Read(thandle_t h, tdata_t data, tsize_t size)
{
    auto* f = static_cast<MemoryFile*>(h);
    const toff_t n = std::min<toff_t>(toff_t(size), f->at < f->bytes.size() ? f->bytes.size() - f->at : 0);
    std::memcpy(data, f->bytes.data() + f->at, size_t(n));
    f->at += n;
    return tsize_t(n);
}

tsize_t Write(thandle_t h, tdata_t data, tsize_t size)
{
    auto* f = static_cast<MemoryFile*>(h);
    if (f->at + toff_t(size) > f->bytes.size())
        f->bytes.resize(size_t(f->at + toff_t(size)));
    std::memcpy(f->bytes.data() + f->at, data, size_t(size));
    f->at += toff_t(size);
    return size;
}

toff_t Seek(thandle_t h, toff_t offset, int whence)
{
    auto* f = static_cast<MemoryFile*>(h);
    const toff_t base = whence == SEEK_CUR ? f->at : whence == SEEK_END ? toff_t(f->bytes.size()) : 0;
    f->at = base + offset;
    return f->at;
}

int Close(thandle_t) { return 0; }
toff_t Size(thandle_t h) { return toff_t(static_cast<MemoryFile*>(h)->bytes.size()); }
int Map(thandle_t, tdata_t*, toff_t*) { return 0; }
void Unmap(thandle_t, tdata_t, toff_t) {}

bool Group4(const InkRows& rows, std::string* coded)
{
    MemoryFile file;
    TIFF* tiff = TIFFClientOpen("cals", "w", &file, Read, Write, Seek, Close, Size, Map, Unmap);
    if (!tiff)
        return false;
    bool ok = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(rows.width)) &&
              TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(rows.height)) &&
              TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1) && TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1) &&
              TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4) &&
              TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE) &&
              TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB) &&
              TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, uint32_t(rows.height));
    std::vector<uint8_t> line(rows.rowBytes);
    for (int y = 0; ok && y < rows.height; ++y) {
        std::memcpy(line.data(), rows.row(y), rows.rowBytes);
        ok = TIFFWriteScanline(tiff, line.data(), uint32_t(y), 0) == 1;
    }
    ok = ok && TIFFWriteDirectory(tiff);
    TIFFClose(tiff);
    if (!ok)
        return false;

    file.at = 0;
    tiff = TIFFClientOpen("cals", "r", &file, Read, Write, Seek, Close, Size, Map, Unmap);
    if (!tiff)
        return false;
    uint64_t* counts = nullptr;
    ok = TIFFNumberOfStrips(tiff) == 1 && TIFFGetField(tiff, TIFFTAG_STRIPBYTECOUNTS, &counts) && counts;
    if (ok) {
        coded->resize(size_t(counts[0]));
        ok = TIFFReadRawStrip(tiff, 0, coded->data(), tmsize_t(coded->size())) == tmsize_t(coded->size());
    }
    TIFFClose(tiff);
    return ok;
}

void AppendRecord(QByteArray* out, const std::string& text)
{
    std::string record = text.substr(0, kCalsRecordSize);
    record.resize(kCalsRecordSize, ' ');
    out->append(record.data(), qsizetype(record.size()));
}

}  // namespace

bool WriteCalsPicture(const QImage& image, QByteArray* out)
{
    out->clear();
    if (image.isNull() || image.width() > kCalsMaxSide || image.height() > kCalsMaxSide)
        return false;
    const InkRows rows = MakeInkRows(image);
    std::string coded;
    if (rows.bits.empty() || !Group4(rows, &coded))
        return false;
    const int dpm = image.dotsPerMeterX();
    const long dpi = std::clamp(dpm > 0 ? std::lround(dpm * 0.0254) : 200L, 1L, 9999L);
    char line[kCalsRecordSize + 1];
    const char* const fixed[] = {"srcdocid: NONE", "dstdocid: NONE", "txtfilid: NONE", "figid: NONE",
                                 "srcgph: NONE",   "docls: NONE",    "rtype: 1",       "rorient: 000,270"};
    for (const char* text : fixed)
        AppendRecord(out, text);
    std::snprintf(line, sizeof line, "rpelcnt: %06d,%06d", rows.width, rows.height);
    AppendRecord(out, line);
    std::snprintf(line, sizeof line, "rdensty: %04ld", dpi);
    AppendRecord(out, line);
    AppendRecord(out, "notes: NONE");
    while (uint32_t(out->size()) < kCalsHeaderSize)
        AppendRecord(out, "");
    out->append(coded.data(), qsizetype(coded.size()));
    return true;
}
