#include <gtest/gtest.h>

#include "foundation/file_io.h"
#include "graphics/metafile.h"
#include "graphics/wmf_header.h"
#include "metafile_build_support.h"
#include "metafile_test_support.h"
#include "support/temp_dir.h"

namespace {

EnhMetafile Make(std::vector<uint8_t> bytes) { return EnhMetafileFromBytes(std::move(bytes)); }

std::string Save(const TempDir& dir, const std::string& name, const std::vector<uint8_t>& bytes)
{
    const std::string path = dir.file(name);
    WriteBytes(path, bytes);
    return path;
}

std::vector<uint8_t> Written(const TempDir& dir, EnhMetafile mf, int32_t enhanced)
{
    PathRecord record;
    FileHandle file = kNoFile;
    EXPECT_EQ(PathRecordFromPosix(dir.file("out.bin"), &record), 0);
    EXPECT_EQ(FileCreate(&record, kFileWrite, &file), 0);
    EXPECT_EQ(MetafileWriteFile(file, mf, nullptr, enhanced), 0);
    FileClose(file);
    return ReadBytes(dir.file("out.bin"));
}

TEST(MetafileFiles, PlaceableHeaderOfAnInchSquareFrameAndEnhancedBitsAsTheyAre)
{
    TempDir dir;
    TestEmf emf;
    emf.brush(1, MakeRgb(255, 0, 0)).select(1).rect(10, 10, 90, 90);
    EnhMetafile mf = Make(emf.bytes());
    ASSERT_TRUE(mf);

    const std::vector<uint8_t> wmf = Written(dir, mf, 0);
    ASSERT_GT(wmf.size(), kPlaceableSize + kWmfHeaderSize);
    PlaceableHeader ph;
    ASSERT_TRUE(PlaceableHeaderRead(wmf.data(), uint32_t(wmf.size()), &ph));
    EXPECT_EQ(ph.left, 0);
    EXPECT_EQ(ph.top, 0);
    EXPECT_EQ(ph.right, 1000);
    EXPECT_EQ(ph.bottom, 1000);
    EXPECT_EQ(ph.unitsPerInch, 1000);
    uint16_t x = 0;
    for (int i = 0; i < 10; ++i)
        x ^= GetU16LE(wmf.data() + 2 * i);
    EXPECT_EQ(ph.checksum, x);
    WmfHeader h;
    ASSERT_TRUE(WmfHeaderRead(wmf.data() + kPlaceableSize, kWmfHeaderSize, &h));
    EXPECT_TRUE(WmfHeaderValid(h));
    EXPECT_EQ(h.sizeWords * 2, wmf.size() - kPlaceableSize);

    const std::vector<uint8_t> emfBits = Written(dir, mf, 1);
    EXPECT_EQ(emfBits, mf->bits);
    DeleteEnhMetaFile(mf);
}

TEST(MetafileFiles, ExtensionDecidesTheReaderWhateverItsCase)
{
    TempDir dir;
    TestEmf emf;
    emf.rect(0, 0, 10, 10);
    const std::vector<uint8_t> emfBytes = emf.bytes();
    TestWmf wmf;
    wmf.rec(META_RECTANGLE, {50, 50, 0, 0});
    const std::vector<uint8_t> wmfBytes = wmf.bytes();

    for (const char* name : {"a.emf", "b.EMF", "c.Emf"}) {
        EnhMetafile mf = MetafileLoadByExtension(Save(dir, name, emfBytes).c_str());
        EXPECT_TRUE(mf) << name;
        DeleteEnhMetaFile(mf);
    }
    for (const char* name : {"a.wmf", "b.WMF"}) {
        EnhMetafile mf = MetafileLoadByExtension(Save(dir, name, wmfBytes).c_str());
        EXPECT_TRUE(mf) << name;
        DeleteEnhMetaFile(mf);
    }
    // Wrong reader for the bytes, other extensions, a dot only in a folder.
    EXPECT_FALSE(MetafileLoadByExtension(Save(dir, "w.emf", wmfBytes).c_str()));
    EXPECT_FALSE(MetafileLoadByExtension(Save(dir, "e.txt", emfBytes).c_str()));
    ASSERT_EQ(QDir().mkpath(QString::fromStdString(dir.file("d.emf"))), true);
    EXPECT_FALSE(MetafileLoadByExtension(Save(dir, "d.emf/plain", emfBytes).c_str()));
    EXPECT_FALSE(MetafileLoadByExtension(dir.file("missing.emf").c_str()));
    EnhMetafile out = reinterpret_cast<EnhMetafile>(1);
    EXPECT_EQ(MetafileLoadString(&out, dir.file("missing.wmf").c_str()), 1);
    EXPECT_EQ(out, nullptr);
}

TEST(MetafileFiles, WindowsMetafileExtentsFromThePlaceableHeaderOrTheDefault)
{
    TempDir dir;
    TestWmf wmf;
    wmf.rec(META_RECTANGLE, {50, 50, 0, 0});

    WmfHeader h;
    EnhMetafile plain = WmfFileToEnhMetafile(Save(dir, "plain.wmf", wmf.bytes()).c_str(), &h);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->header.frame.right - plain->header.frame.left, 254000);
    EXPECT_EQ(plain->header.frame.bottom - plain->header.frame.top, 254000);
    EXPECT_EQ(h.version, 0x300);
    EXPECT_EQ(h.objects, 8);
    DeleteEnhMetaFile(plain);

    // 2880 x 1440 units at 1440 an inch: 2 x 1 inches.
    uint8_t ph[kPlaceableSize];
    PlaceableHeaderBuild(2880, 1440, 1440, ph);
    EnhMetafile placed = WmfFileToEnhMetafile(Save(dir, "placed.wmf", wmf.bytes(ph)).c_str(), nullptr);
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->header.frame.right, 5080);
    EXPECT_EQ(placed->header.frame.bottom, 2540);
    DeleteEnhMetaFile(placed);

    // No units per inch says nothing of the size: the default stands.
    PlaceableHeaderBuild(2880, 1440, 0, ph);
    EnhMetafile zero = WmfFileToEnhMetafile(Save(dir, "zero.wmf", wmf.bytes(ph)).c_str(), nullptr);
    ASSERT_TRUE(zero);
    EXPECT_EQ(zero->header.frame.right, 254000);
    DeleteEnhMetaFile(zero);

    // A size field far beyond the file reads what the file holds.
    EnhMetafile huge = WmfFileToEnhMetafile(Save(dir, "huge.wmf", wmf.bytes(nullptr, 0xFFFFFFFF)).c_str(), nullptr);
    ASSERT_TRUE(huge);
    DeleteEnhMetaFile(huge);

    // Header checks: type, size and version.
    std::vector<uint8_t> bad = wmf.bytes();
    PutU16LE(bad.data() + kWmfHeaderVersion, 0x200);
    EXPECT_FALSE(WmfFileToEnhMetafile(Save(dir, "v.wmf", bad).c_str(), nullptr));
    bad = wmf.bytes();
    PutU16LE(bad.data() + kWmfHeaderType, 3);
    EXPECT_FALSE(WmfFileToEnhMetafile(Save(dir, "t.wmf", bad).c_str(), nullptr));
    bad.resize(10);
    EXPECT_FALSE(WmfFileToEnhMetafile(Save(dir, "short.wmf", bad).c_str(), nullptr));
}

TEST(MetafileFiles, FrameSizeInSeventyTwoThsOfAnInchWithAndWithoutALimit)
{
    auto frame = [](IntRect f, int32_t maxSide) {
        TestEmf emf(f);
        EnhMetafile mf = Make(emf.bytes());
        int32_t w = -1, h = -1;
        MetafileGetFrameSize(mf, &w, &h, maxSide);
        DeleteEnhMetaFile(mf);
        return std::make_pair(w, h);
    };
    EXPECT_EQ(frame(IntRect{0, 0, 25400, 12700}, 0), std::make_pair(7200, 3600));
    EXPECT_EQ(frame(IntRect{0, 0, 25400, 12700}, 300), std::make_pair(300, 150));
    EXPECT_EQ(frame(IntRect{100, 100, 100 + 12700, 100 + 25400}, 300), std::make_pair(150, 300));
    EXPECT_EQ(frame(IntRect{0, 0, 254, 127}, 300), std::make_pair(72, 36));
    // A side of no size cannot divide.
    EXPECT_EQ(frame(IntRect{0, 0, 0, 25400}, 300), std::make_pair(0, 300));
    EXPECT_EQ(frame(IntRect{0, 0, 0, 0}, 300), std::make_pair(0, 0));
    int32_t w = -1, h = -1;
    MetafileGetFrameSize(nullptr, &w, &h, 300);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST(MetafileFiles, RenderedPictureOfAWideFrameAtMaxSide300)
{
    TestEmf emf(IntRect{0, 0, 25400, 12700});
    // The reference device here is 100 dpi: the frame is 1000 x 500 units.
    emf.brush(1, MakeRgb(0, 0, 255)).select(1).rec(EMR_SELECTOBJECT, {int32_t(kEmfStockObject | NULL_PEN)});
    emf.rect(0, 0, 500, 500);
    HandleOwner bits(HandleNew(0));
    EnhMetafile mf = Make(emf.bytes());
    ASSERT_EQ(MetafileToHandle(mf, bits.get()), 0);
    DeleteEnhMetaFile(mf);

    DibHandleOwner dib;
    ASSERT_EQ(MetafileHandleToDib(nullptr, bits.get(), dib.get(), 300), 0);
    EXPECT_EQ(DibHandleWidth(dib.get()), 300);
    EXPECT_EQ(DibHandleHeight(dib.get()), 150);
    EXPECT_EQ(DibHandleBitCount(dib.get()), 24);
    // Left half blue; where nothing was drawn the metafile background.
    const DibRecord* rec = DibHandleBlockSlot(dib.get());
    const uint8_t* row = rec->bits + size_t(DibHandleStride(dib.get())) * 75;
    EXPECT_EQ(row[3 * 50], 255);
    EXPECT_EQ(row[3 * 50 + 2], 0);
    EXPECT_EQ(row[3 * 250], 0xFE);
    EXPECT_EQ(row[3 * 250 + 1], 0xFF);
    EXPECT_EQ(row[3 * 250 + 2], 0xFF);

    ASSERT_EQ(MetafileHandleToDibRect(nullptr, bits.get(), dib.get(), IntRect{0, 0, 39, 19}), 0);
    EXPECT_EQ(DibHandleWidth(dib.get()), 40);
    EXPECT_EQ(DibHandleHeight(dib.get()), 20);

    // Bits that are no metafile leave the picture cleared.
    HandleOwner junk(HandleNew(200));
    EXPECT_EQ(MetafileHandleToDib(nullptr, junk.get(), dib.get(), 300), 1);
    EXPECT_EQ(DibHandleIsEmpty(dib.get()), 1);
    EnhMetafile none = nullptr;
    EXPECT_EQ(MetafileFromHandle(&none, junk.get()), 1);
    EXPECT_EQ(MetafileFromHandle(&none, nullptr), 1);
}

TEST(MetafileFiles, WindowsMetafileFileToHandleGivesEnhancedBits)
{
    TempDir dir;
    TestWmf wmf;
    wmf.rec(META_RECTANGLE, {50, 50, 0, 0});
    PathRecord record;
    ASSERT_EQ(PathRecordFromPosix(Save(dir, "pic.wmf", wmf.bytes()), &record), 0);
    HandleOwner bits(HandleNew(0));
    ASSERT_EQ(MetafileFileToHandle(&record, bits.get()), 0);
    ASSERT_GE(HandleGetSize(bits.get()), kEmfHeaderBaseSize);
    EXPECT_EQ(GetU32LE(HandleData(bits.get())), EMR_HEADER);
    EXPECT_EQ(GetU32LE(HandleData(bits.get()) + kEmfHeaderSignature), kEmfSignature);
    ASSERT_EQ(PathRecordFromPosix(dir.file("nothing.wmf"), &record), 0);
    EXPECT_EQ(MetafileFileToHandle(&record, bits.get()), 1);
}

TEST(MetafileFiles, DamagedEnhancedMetafilesAreCutAtTheirLastWholeRecord)
{
    TestEmf emf;
    emf.rect(0, 0, 10, 10).rect(5, 5, 20, 20);
    const std::vector<uint8_t> good = emf.bytes();

    // Cut inside the second rectangle: one rectangle is left, closed by an
    // end record, and the header counts what is there.
    std::vector<uint8_t> cut(good.begin(), good.end() - 20 - 10);
    EnhMetafile mf = Make(cut);
    ASSERT_TRUE(mf);
    EXPECT_EQ(mf->header.records, 3u);
    EXPECT_EQ(GetU32LE(mf->bits.data() + kEmfHeaderBytes), mf->bits.size());
    EXPECT_EQ(GetU32LE(mf->bits.data() + mf->bits.size() - 20), EMR_EOF);
    DeleteEnhMetaFile(mf);

    // A record claiming more than there is ends the stream the same way.
    std::vector<uint8_t> lying = good;
    PutU32LE(lying.data() + GetU32LE(lying.data() + 4) + 4, 0x7FFFFFF0);
    mf = Make(lying);
    ASSERT_TRUE(mf);
    EXPECT_EQ(mf->header.records, 2u);
    DeleteEnhMetaFile(mf);

    std::vector<uint8_t> unsigned_ = good;
    PutU32LE(unsigned_.data() + kEmfHeaderSignature, 0);
    EXPECT_FALSE(Make(unsigned_));
    std::vector<uint8_t> longHeader = good;
    PutU32LE(longHeader.data() + 4, uint32_t(good.size() + 4));
    EXPECT_FALSE(Make(longHeader));
    EXPECT_FALSE(SetEnhMetaFileBits(40, good.data()));
}

}  // namespace
