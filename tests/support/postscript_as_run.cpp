#include "support/postscript_as_run.h"

#include <cstdint>

#include <zlib.h>

namespace {

constexpr const char kPiece[] = "currentfile /ASCII85Decode filter /FlateDecode filter cvx exec\n";

bool Inflate(const std::string& packed, std::string* out)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = uInt(packed.size());
    char buffer[1 << 16];
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        status = inflate(&z, Z_NO_FLUSH);
        out->append(buffer, sizeof buffer - z.avail_out);
        if (status == Z_BUF_ERROR && z.avail_in == 0)
            break;
    }
    inflateEnd(&z);
    return status == Z_STREAM_END;
}

}  // namespace

bool DecodeAscii85(const std::string& text, size_t at, std::string* bytes, size_t* end)
{
    uint32_t group[5];
    int count = 0;
    for (size_t i = at; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t')
            continue;
        if (c == '~') {
            if (i + 1 >= text.size() || text[i + 1] != '>' || count == 1)
                return false;
            if (count > 0) {
                for (int k = count; k < 5; ++k)
                    group[k] = 84;
                uint64_t word = 0;
                for (uint32_t v : group)
                    word = word * 85 + v;
                for (int k = 0; k < count - 1; ++k)
                    bytes->push_back(char(word >> (24 - 8 * k)));
            }
            *end = i + 2;
            return true;
        }
        if (c == 'z' && count == 0) {
            bytes->append(4, '\0');
            continue;
        }
        if (c < '!' || c > 'u')
            return false;
        group[count++] = uint32_t(c - '!');
        if (count == 5) {
            uint64_t word = 0;
            for (uint32_t v : group)
                word = word * 85 + v;
            if (word > 0xFFFFFFFFu)
                return false;
            for (int k = 0; k < 4; ++k)
                bytes->push_back(char(word >> (24 - 8 * k)));
            count = 0;
        }
    }
    return false;
}

std::string PostScriptAsRun(const std::string& job)
{
    std::string run;
    size_t from = 0;
    for (size_t at = job.find(kPiece); at != std::string::npos; at = job.find(kPiece, from)) {
        run.append(job, from, at - from);
        std::string packed, text;
        size_t end = 0;
        if (!DecodeAscii85(job, at + sizeof kPiece - 1, &packed, &end) || !Inflate(packed, &text))
            return {};
        run += text;
        from = end;
    }
    run.append(job, from, std::string::npos);
    return run;
}
