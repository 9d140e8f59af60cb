// The zlib streams a thread begins at the default level are compressed
// whole by libdeflate at the levels it asked for, on that thread only,
// while it is asked for: Qt's own compression (qCompress, at one level)
// and a stream fed in pieces as its PDF writer feeds a page (at the
// other); a caller naming a level keeps zlib's. The streams other
// libraries make on other threads meanwhile (a PNG Qt writes, a PDF qpdf
// writes) are byte for byte what zlib itself makes of them.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <future>
#include <thread>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <libdeflate.h>
#include <qpdf/qpdf-c.h>
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

// What zlib itself makes of `data`, by its own functions from its library:
// the program's definitions stand before them for every other caller.
QByteArray ZlibItself(const QByteArray& data, int level, int windowBits, int memLevel, int strategy)
{
    void* zlib = ::dlopen("libz.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!zlib)
        return {};
    const auto init = reinterpret_cast<int (*)(z_streamp, int, int, int, int, int, const char*, int)>(
        ::dlsym(zlib, "deflateInit2_"));
    const auto pack = reinterpret_cast<int (*)(z_streamp, int)>(::dlsym(zlib, "deflate"));
    const auto end = reinterpret_cast<int (*)(z_streamp)>(::dlsym(zlib, "deflateEnd"));
    ::dlclose(zlib);
    z_stream z{};
    if (!init || !pack || !end ||
        init(&z, level, Z_DEFLATED, windowBits, memLevel, strategy, ZLIB_VERSION, int(sizeof z)) != Z_OK)
        return {};
    QByteArray out(qsizetype(compressBound(uLong(data.size())) + 64), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const bool done = pack(&z, Z_FINISH) == Z_STREAM_END;
    out.resize(qsizetype(z.total_out));
    end(&z);
    return done ? out : QByteArray();
}

// zlib's inflating, told no size: qUncompress grows its room as it goes.
QByteArray Inflated(const QByteArray& packed) { return qUncompress(QByteArray(4, '\0') + packed); }

// The zlib stream of a PNG file: its IDAT chunks' data, joined.
QByteArray PngImageData(const QByteArray& png)
{
    QByteArray data;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto* p = reinterpret_cast<const uchar*>(png.constData() + at);
        const qsizetype length = qsizetype(uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]);
        if (png.mid(at + 4, 4) == "IDAT")
            data += png.mid(at + 8, length);
        at += 12 + length;
    }
    return data;
}

// The PDF qpdf writes of one stream holding `content`, compressed by it.
QByteArray QpdfWritten(const QByteArray& content)
{
    qpdf_data q = qpdf_init();
    qpdf_silence_errors(q);
    QByteArray written;
    if (qpdf_empty_pdf(q) == QPDF_SUCCESS) {
        const qpdf_oh stream = qpdf_oh_new_stream(q);
        qpdf_oh_replace_stream_data(q, stream, reinterpret_cast<const unsigned char*>(content.constData()),
                                    size_t(content.size()), qpdf_oh_new_null(q), qpdf_oh_new_null(q));
        qpdf_oh_replace_key(q, qpdf_get_root(q), "/Sample", stream);
        if (qpdf_init_write_memory(q) == QPDF_SUCCESS) {
            qpdf_set_compress_streams(q, QPDF_TRUE);
            qpdf_set_stream_data_mode(q, qpdf_s_compress);
            if (qpdf_write(q) == QPDF_SUCCESS)
                written = QByteArray(reinterpret_cast<const char*>(qpdf_get_buffer(q)),
                                     qsizetype(qpdf_get_buffer_length(q)));
        }
    }
    qpdf_cleanup(&q);
    return written;
}

// The stored bytes of that stream, and its filter.
QByteArray QpdfStoredStream(const QByteArray& pdf, std::string* filter)
{
    qpdf_data q = qpdf_init();
    qpdf_silence_errors(q);
    QByteArray stored;
    if (qpdf_read_memory(q, "written", pdf.constData(), static_cast<unsigned long long>(pdf.size()), nullptr) == QPDF_SUCCESS) {
        const qpdf_oh stream = qpdf_oh_get_key(q, qpdf_get_root(q), "/Sample");
        *filter = qpdf_oh_unparse(q, qpdf_oh_get_key(q, qpdf_oh_get_dict(q, stream), "/Filter"));
        unsigned char* bytes = nullptr;
        size_t size = 0;
        if (qpdf_oh_get_stream_data(q, stream, qpdf_dl_none, nullptr, &bytes, &size) == QPDF_SUCCESS)
            stored = QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(size));
        std::free(bytes);
    }
    qpdf_cleanup(&q);
    return stored;
}

TEST(ThreadDeflateLevel, LeavesTheStreamsOfOtherLibrariesOnOtherThreadsToZlib)
{
    // A painting worker holds its levels, with a stream of its own begun,
    // while another thread writes a PNG and a PDF.
    std::promise<void> holding, done;
    std::thread worker([&holding, finished = done.get_future()] {
        const ThreadDeflateLevel asked(8, 0);
        z_stream z{};
        deflateInit(&z, Z_DEFAULT_COMPRESSION);
        holding.set_value();
        finished.wait();
        deflateEnd(&z);
    });
    holding.get_future().wait();

    QImage picture(160, 100, QImage::Format_RGB32);
    uint32_t noise = 12345;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            noise = noise * 1103515245u + 12345u;
            picture.setPixel(x, y, qRgb(x * 255 / 160, y * 255 / 100, int(noise >> 24) & 0x0f));
        }
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(picture.save(&buffer, "PNG"));

    QByteArray content;
    for (int i = 0; i < 3000; ++i)
        content += QByteArray::number(100 + i * 37 % 911) + ' ' + QByteArray::number(40 + i * 53 % 677) + " l\n";
    const QByteArray pdf = QpdfWritten(content);
    done.set_value();
    worker.join();

    // The PNG's stream, with whatever level and settings Qt's PNG writer
    // chose: one of zlib's own makes it byte for byte.
    const QByteArray image = PngImageData(png);
    const QByteArray rows = Inflated(image);
    ASSERT_FALSE(rows.isEmpty());
    bool zlibs = false;
    for (int level = -1; level <= 9 && !zlibs; ++level)
        for (const int strategy : {Z_FILTERED, Z_DEFAULT_STRATEGY})
            for (const int memLevel : {8, 9})
                zlibs = zlibs || ZlibItself(rows, level, MAX_WBITS, memLevel, strategy) == image;
    EXPECT_TRUE(zlibs) << "the PNG's image data is not as zlib makes it";

    std::string filter;
    const QByteArray stored = QpdfStoredStream(pdf, &filter);
    EXPECT_EQ(filter, "/FlateDecode");
    EXPECT_EQ(Inflated(stored), content);
    EXPECT_EQ(stored, ZlibItself(content, Z_DEFAULT_COMPRESSION, MAX_WBITS, 8, Z_DEFAULT_STRATEGY));
    EXPECT_NE(stored, LibdeflateAtLevel(content, 8));
}

}  // namespace
