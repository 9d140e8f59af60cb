#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "foundation/file_io.h"
#include "frames/ctfile_mng.h"
#include "frames_fixture.h"
#include "support/alert_capture.h"

namespace {

using FreeList = std::vector<std::pair<uint32_t, uint32_t>>;

FreeList Free(const CTFileMng& m)
{
    FreeList out;
    for (int32_t i = 0; i < m.FreeCount(); ++i) {
        uint32_t p = 0, n = 0;
        m.FreeEntry(i, &p, &n);
        out.emplace_back(p, n);
    }
    return out;
}

double g_freeBytes = 1e12;
double FakeFreeSpace(const char*) { return g_freeBytes; }

class SwapFile : public SwapTest {
protected:
    void SetUp() override
    {
        SwapTest::SetUp();
        previous_ = CTFileMng::SetFreeSpaceQuery(FakeFreeSpace);
        g_freeBytes = 1e12;
    }
    void TearDown() override
    {
        CTFileMng::SetFreeSpaceQuery(previous_);
        SwapTest::TearDown();
    }
    // Gives the file length bytes so that stretches can be freed in it.
    void Grow(uint32_t length)
    {
        std::vector<uint8_t> zeros(length);
        ASSERT_EQ(swap_.WriteAt(0, length, zeros.data()), 0);
    }

    CTFileMng::FreeSpaceQuery previous_ = nullptr;
};

TEST_F(SwapFile, TheNameIsGoneWhileTheFileIsInUse)
{
    EXPECT_TRUE(swap_.IsOpen());
    EXPECT_EQ(std::string(swap_.SwapPath().name, 3), "KPX");
    uint8_t in[5] = {1, 2, 3, 4, 5}, out[5] = {};
    EXPECT_EQ(swap_.WriteAt(100, 5, in), 0);
    EXPECT_EQ(swap_.ReadAt(100, 5, out), 0);
    EXPECT_EQ(std::memcmp(in, out, 5), 0);
    EXPECT_EQ(swap_.GetFileSize(), 105u);
    EXPECT_EQ(swap_.ReadAt(kNoSwapPosition, 5, out), 1);
    EXPECT_EQ(swap_.Seek(kNoSwapPosition), 1);
    EXPECT_EQ(swap_.Seek(3), 0);
    EXPECT_EQ(swap_.Tell(), 3);
}

TEST_F(SwapFile, BestFitTakesTheSmallestStretchThatHolds)
{
    Grow(200);
    swap_.FreeSpace(0, 30);
    swap_.FreeSpace(100, 12);
    EXPECT_EQ(swap_.Allocate(10), 100u);
    EXPECT_EQ(Free(swap_), (FreeList{{0, 30}, {110, 2}}));
    EXPECT_EQ(swap_.Allocate(2), 110u);
    EXPECT_EQ(Free(swap_), (FreeList{{0, 30}}));
    // Nothing fits: the end of the file, reserved at once, so that a
    // second allocation before any write does not get the same place.
    EXPECT_EQ(swap_.Allocate(40), 200u);
    EXPECT_EQ(swap_.Allocate(40), 240u);
}

TEST_F(SwapFile, FreeingMergesNeighboursAndNeverListsAByteTwice)
{
    Grow(100);
    swap_.FreeSpace(10, 10);
    swap_.FreeSpace(30, 10);
    swap_.FreeSpace(20, 10);
    EXPECT_EQ(Free(swap_), (FreeList{{10, 30}}));
    swap_.FreeSpace(50, 0);
    EXPECT_EQ(Free(swap_), (FreeList{{10, 30}}));
    // A stretch given back twice, or reaching past the end of the file,
    // only adds what was not free yet.
    swap_.FreeSpace(5, 20);
    swap_.FreeSpace(90, 50);
    EXPECT_EQ(Free(swap_), (FreeList{{5, 35}, {90, 10}}));
    EXPECT_EQ(swap_.Allocate(35), 5u);
    EXPECT_EQ(swap_.Allocate(35), 100u);
}

TEST_F(SwapFile, DiskFullIsShownOnceUntilTheEndGrowsAgain)
{
    AlertCapture alerts;
    g_freeBytes = 50;
    EXPECT_EQ(swap_.Allocate(100), kNoSwapPosition);
    EXPECT_EQ(swap_.Allocate(100), kNoSwapPosition);
    ASSERT_EQ(alerts.boxes().size(), 1u);
    EXPECT_EQ(alerts.boxes()[0].caption, "FILE MNG ERROR");
    EXPECT_EQ(alerts.lastText(), "The disk is full. Cannot save any additional files on this disk.");
    EXPECT_EQ(swap_.Allocate(10), 0u);
    EXPECT_EQ(swap_.Allocate(100), kNoSwapPosition);
    EXPECT_EQ(alerts.boxes().size(), 2u);
    EXPECT_FALSE(swap_.HasDiskSpace(50));
    EXPECT_TRUE(swap_.HasDiskSpace(49));
}

TEST_F(SwapFile, HandlesGoOutAndComeBack)
{
    Handle h = HandleNew(6);
    std::memcpy(HandleData(h), "swap!!", 6);
    uint32_t size = 0;
    const uint32_t at = swap_.SaveHandle(h, &size);
    EXPECT_EQ(size, 6u);
    ASSERT_NE(at, kNoSwapPosition);
    Handle back = nullptr;
    EXPECT_EQ(swap_.LoadHandle(&back, 6, at), 0);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(std::memcmp(HandleData(back), "swap!!", 6), 0);
    HandleFree(back);
    // A size no stretch of the file holds is refused before any memory is
    // taken for it.
    EXPECT_EQ(swap_.LoadHandle(&back, 0x7FFFFFF0, at), 1);
    EXPECT_EQ(back, nullptr);
    EXPECT_EQ(swap_.SaveHandle(nullptr, &size), kNoSwapPosition);
    EXPECT_EQ(size, 0u);
    HandleFree(h);
}

TEST_F(SwapFile, FlushCutsTheFileAndEmptiesTheList)
{
    Grow(64);
    swap_.FreeSpace(0, 8);
    EXPECT_EQ(swap_.Flush(2), 0);
    EXPECT_TRUE(Free(swap_).empty());
    EXPECT_EQ(swap_.GetFileSize(), 64u);
    EXPECT_EQ(swap_.Flush(1), 0);
    EXPECT_EQ(swap_.GetFileSize(), 0u);
    EXPECT_EQ(swap_.Allocate(4), 0u);
    CTFileMng closed;
    EXPECT_EQ(closed.Flush(3), 1);
}

// A picture kept for a frame read back is handed back once, with its mask
// only for the same key, and is forgotten as soon as its stretch is
// written or given back; neighbouring stretches leave it.
TEST_F(SwapFile, APictureKeptComesBackOnlyWhileItsStretchIsUntouched)
{
    Grow(256);
    auto keep = [&](uint32_t at) {
        swap_.Pictures().Keep(at, 64, HandleNew(16), HandleNew(4), 0xFFFFFF, 7);
    };
    DibHandle image = nullptr, mask = nullptr;
    uint64_t hash = 0;
    keep(64);
    EXPECT_FALSE(swap_.Pictures().Take(0, 0xFFFFFF, &image, &mask, &hash));
    ASSERT_TRUE(swap_.Pictures().Take(64, 0xFFFFFF, &image, &mask, &hash));
    EXPECT_NE(image, nullptr);
    EXPECT_NE(mask, nullptr);
    EXPECT_EQ(hash, 7u);
    DibHandleFree(&image);
    DibHandleFree(&mask);
    EXPECT_FALSE(swap_.Pictures().Take(64, 0xFFFFFF, &image, &mask, &hash));
    keep(64);
    ASSERT_TRUE(swap_.Pictures().Take(64, 0xFEFFFF, &image, &mask, &hash));
    EXPECT_EQ(mask, nullptr);
    DibHandleFree(&image);

    const uint8_t byte = 1;
    keep(64);
    swap_.FreeSpace(0, 64);
    ASSERT_EQ(swap_.WriteAt(128, 1, &byte), 0);
    ASSERT_TRUE(swap_.Pictures().Take(64, 0xFFFFFF, &image, &mask, &hash));
    DibHandleFree(&image);
    DibHandleFree(&mask);
    keep(64);
    ASSERT_EQ(swap_.WriteAt(127, 1, &byte), 0);
    EXPECT_FALSE(swap_.Pictures().Take(64, 0xFFFFFF, &image, &mask, &hash));
    keep(64);
    swap_.FreeSpace(100, 8);
    EXPECT_FALSE(swap_.Pictures().Take(64, 0xFFFFFF, &image, &mask, &hash));
    keep(64);
    EXPECT_EQ(swap_.Flush(1), 0);
    EXPECT_FALSE(swap_.Pictures().Take(64, 0xFFFFFF, &image, &mask, &hash));
}

TEST(SwapFileCreation, AFolderThatCannotHoldItFallsBackSilently)
{
    TempDir dir;
    AlertCapture alerts;
    CTFileMng swap;
    ASSERT_EQ(swap.CreateSwapFile(FolderRecord(dir.file("missing"))), 0);
    EXPECT_TRUE(swap.IsOpen());
    EXPECT_TRUE(alerts.boxes().empty());
    EXPECT_EQ(PathRecordToPosix(swap.SwapPath()).rfind(QDir::tempPath().toStdString(), 0), 0u);
    EXPECT_EQ(FileExists(&swap.SwapPath(), 0), 0) << "a swap file keeps no name while it is open";
}

}  // namespace
