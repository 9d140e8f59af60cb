// The zlib streams a thread begins at the default level are compressed
// whole by libdeflate at the levels it asked for, on that thread only,
// while it is asked for: Qt's own compression (qCompress, at one level)
// and a stream fed in pieces as its PDF writer feeds a page (at the
// other); a caller naming a level keeps zlib's.
#include <gtest/gtest.h>

#include <thread>

#include <QByteArray>
#include <libdeflate.h>
#include <zlib.h>

#include "pdf/thread_deflate_level.h"

namespace {

// qCompress's framing: the length first.
QByteArray WithLength(const QByteArray& data, const QByteArray& packed)
{
    const uint32_t n = uint32_t(data.size());
    return QByteArray(1, char(n >> 24)) + char(n >> 16) + char(n >> 8) + char(n) + packed;
}

// What zlib makes of `data` at `level`.
QByteArray ZlibAtLevel(const QByteArray& data, int level)
{
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(int(size), '\0');
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
                        uLong(data.size()), level),
              Z_OK);
    out.resize(int(size));
    return out;
}

QByteArray LibdeflateAtLevel(const QByteArray& data, int level)
{
    libdeflate_compressor* packer = libdeflate_alloc_compressor(level);
    QByteArray out(qsizetype(libdeflate_zlib_compress_bound(packer, size_t(data.size()))), '\0');
    out.resize(qsizetype(
        libdeflate_zlib_compress(packer, data.constData(), size_t(data.size()), out.data(), size_t(out.size()))));
    libdeflate_free_compressor(packer);
    return out;
}

// Fed in pieces of `in` bytes and taken in pieces of `out`, as Qt's PDF
// writer compresses a page.
QByteArray InPieces(const QByteArray& data, int in, int out, z_stream* z)
{
    *z = z_stream{};
    EXPECT_EQ(deflateInit(z, Z_DEFAULT_COMPRESSION), Z_OK);
    QByteArray packed;
    QByteArray room(out, '\0');
    for (qsizetype at = 0; at < data.size();) {
        z->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData() + at));
        z->avail_in = uInt(std::min<qsizetype>(in, data.size() - at));
        at += z->avail_in;
        while (z->avail_in > 0) {
            z->next_out = reinterpret_cast<Bytef*>(room.data());
            z->avail_out = uInt(out);
            EXPECT_EQ(deflate(z, Z_NO_FLUSH), Z_OK);
            packed.append(room.constData(), out - qsizetype(z->avail_out));
        }
    }
    int r = Z_OK;
    while (r == Z_OK) {
        z->next_out = reinterpret_cast<Bytef*>(room.data());
        z->avail_out = uInt(out);
        r = deflate(z, Z_FINISH);
        packed.append(room.constData(), out - qsizetype(z->avail_out));
    }
    EXPECT_EQ(r, Z_STREAM_END);
    return packed;
}

TEST(ThreadDeflateLevel, CompressesTheDefaultStreamsOfItsThreadWholeWhileItLives)
{
    // A page's worth of the path text a PDF page holds.
    QByteArray page;
    for (int i = 0; i < 4000; ++i)
        page += QByteArray::number(1000 + i * 37 % 911) + ' ' + QByteArray::number(400 + i * 53 % 677) + " l\n";
    const QByteArray usual = WithLength(page, ZlibAtLevel(page, Z_DEFAULT_COMPRESSION));
    const QByteArray whole = WithLength(page, LibdeflateAtLevel(page, 8));
    const QByteArray stored = LibdeflateAtLevel(page, 0);
    ASSERT_NE(whole, usual);
    // Smaller than zlib's default makes it.
    EXPECT_LT(whole.size(), usual.size());

    EXPECT_EQ(qCompress(page), usual);
    {
        const ThreadDeflateLevel asked(8, 0);
        EXPECT_EQ(qCompress(page), whole);
        EXPECT_EQ(qUncompress(qCompress(page)), page);
        EXPECT_EQ(qCompress(page, 9), WithLength(page, ZlibAtLevel(page, 9)));
        EXPECT_EQ(qCompress(QByteArray()), QByteArray(4, '\0'));
        EXPECT_EQ(qUncompress(qCompress(QByteArray("x"))), QByteArray("x"));

        // In pieces, and taken out in pieces smaller than them, even
        // smaller than a block's head: stored as it comes.
        z_stream z;
        const QByteArray pieces = InPieces(page, 4096, 1000, &z);
        EXPECT_GT(pieces.size(), page.size());
        EXPECT_LT(pieces.size(), stored.size() + page.size() / 50);
        EXPECT_EQ(qUncompress(WithLength(page, pieces)), page);
        EXPECT_EQ(z.total_in, uLong(page.size()));
        EXPECT_EQ(z.total_out, uLong(pieces.size()));
        EXPECT_EQ(z.adler, adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef*>(page.constData()), uInt(page.size())));
        // zlib's own calls refuse the stream rather than read it as theirs.
        EXPECT_EQ(deflateParams(&z, 1, Z_DEFAULT_STRATEGY), Z_STREAM_ERROR);
        EXPECT_EQ(deflateEnd(&z), Z_OK);
        z_stream narrow;
        EXPECT_EQ(qUncompress(WithLength(page, InPieces(page, 700, 3, &narrow))), page);
        EXPECT_EQ(deflateEnd(&narrow), Z_OK);

        QByteArray elsewhere;
        std::thread other([&] { elsewhere = qCompress(page); });
        other.join();
        EXPECT_EQ(elsewhere, usual);
    }
    EXPECT_EQ(qCompress(page), usual);
    z_stream z;
    EXPECT_EQ(InPieces(page, 4096, 1000, &z), usual.mid(4));
    EXPECT_EQ(deflateEnd(&z), Z_OK);
}

}  // namespace
