// The zlib level a thread asks for stands in for the default on that
// thread only, while it is asked for: Qt's own compression (qCompress, as
// its PDF writer uses) takes it, a caller naming a level keeps its own.
#include <gtest/gtest.h>

#include <thread>

#include <QByteArray>
#include <zlib.h>

#include "platform/thread_deflate_level.h"

namespace {

// What zlib makes of `data` at `level`, in qCompress's framing (the
// length first).
QByteArray AtLevel(const QByteArray& data, int level)
{
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(int(size), '\0');
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
                        uLong(data.size()), level),
              Z_OK);
    out.resize(int(size));
    const uint32_t n = uint32_t(data.size());
    return QByteArray(1, char(n >> 24)) + char(n >> 16) + char(n >> 8) + char(n) + out;
}

TEST(ThreadDeflateLevel, StandsInForTheDefaultOnItsThreadWhileItLives)
{
    // A page's worth of the path text a PDF page holds.
    QByteArray page;
    for (int i = 0; i < 4000; ++i)
        page += QByteArray::number(1000 + i * 37 % 911) + ' ' + QByteArray::number(400 + i * 53 % 677) + " l\n";
    const QByteArray fastest = AtLevel(page, 1), usual = AtLevel(page, Z_DEFAULT_COMPRESSION);
    ASSERT_NE(fastest, usual);
    // zlib's header says which: 0x01 for the fastest, 0x9C for the default.
    EXPECT_EQ(uint8_t(fastest[5]), 0x01);
    EXPECT_EQ(uint8_t(usual[5]), 0x9C);

    EXPECT_EQ(qCompress(page), usual);
    {
        const ThreadDeflateLevel fast(1);
        EXPECT_EQ(qCompress(page), fastest);
        EXPECT_EQ(qCompress(page, 9), AtLevel(page, 9));
        QByteArray elsewhere;
        std::thread other([&] { elsewhere = qCompress(page); });
        other.join();
        EXPECT_EQ(elsewhere, usual);
    }
    EXPECT_EQ(qCompress(page), usual);
}

}  // namespace
