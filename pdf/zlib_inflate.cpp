#include "pdf/zlib_inflate.h"

#include <zlib.h>

bool ZlibInflate(const char* data, size_t size, QByteArray* out, size_t* used)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    z.avail_in = uInt(size);
    out->clear();
    char chunk[65536];
    int r = Z_OK;
    while (r == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(chunk);
        z.avail_out = sizeof chunk;
        r = inflate(&z, Z_NO_FLUSH);
        out->append(chunk, qsizetype(sizeof chunk - z.avail_out));
    }
    *used = size_t(z.total_in);
    inflateEnd(&z);
    return r == Z_STREAM_END;
}
