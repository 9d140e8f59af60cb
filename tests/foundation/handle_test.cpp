#include <gtest/gtest.h>

#include <cstring>

#include "foundation/handle.h"

namespace {

TEST(Handle, NewOfZeroBytesHasValidBlockAndSizeZero)
{
    Handle h = HandleNew(0);
    ASSERT_NE(h, nullptr);
    EXPECT_NE(h->data, nullptr);
    EXPECT_EQ(HandleGetSize(h), 0u);
    EXPECT_EQ(h->tag, kHandleTag);
    HandleFree(h);
}

TEST(Handle, ResizeKeepsPrefixZeroFillsGrowthAndClampsNegative)
{
    Handle h = HandleNew(4);
    std::memcpy(h->data, "abcd", 4);
    ASSERT_EQ(HandleResize(h, 8), 0);
    EXPECT_EQ(std::memcmp(h->data, "abcd\0\0\0\0", 8), 0);
    ASSERT_EQ(HandleResize(h, 2), 0);
    EXPECT_EQ(HandleGetSize(h), 2u);
    EXPECT_EQ(HandleResize(h, -5), 0);
    EXPECT_EQ(HandleGetSize(h), 0u);
    HandleFree(h);
}

TEST(Handle, ResizeOfNullReturnsMinusTwoAndLeavesErrorClear)
{
    EXPECT_EQ(HandleResize(nullptr, 10), -2);
    EXPECT_EQ(MemLastError(), 0);
}

TEST(Handle, FailedResizeKeepsOldBlockAndReportsOutOfMemory)
{
    Handle h = HandleNew(3);
    std::memcpy(h->data, "xyz", 3);
    MemInjectAllocationFailure(0);
    EXPECT_EQ(HandleResize(h, 100), -1);
    MemInjectAllocationFailure(-1);
    EXPECT_EQ(MemLastError(), -1);
    EXPECT_EQ(HandleGetSize(h), 3u);
    EXPECT_EQ(std::memcmp(h->data, "xyz", 3), 0);
    HandleFree(h);
}

TEST(Handle, NewFailsCleanlyWhenEitherAllocationFails)
{
    for (int successes : {0, 1}) {
        MemInjectAllocationFailure(successes);
        EXPECT_EQ(HandleNew(16), nullptr);
        MemInjectAllocationFailure(-1);
        EXPECT_EQ(MemLastError(), -1);
    }
}

TEST(Handle, DuplicateGivesNewHeaderWithEqualDataAndKeepsOld)
{
    Handle original = HandleNew(5);
    std::memcpy(original->data, "hello", 5);
    Handle v = original;
    ASSERT_EQ(HandleDuplicate(&v), 0);
    EXPECT_NE(v, original);
    EXPECT_NE(v->data, original->data);
    EXPECT_EQ(HandleGetSize(v), 5u);
    EXPECT_EQ(std::memcmp(v->data, "hello", 5), 0);
    HandleFree(v);
    HandleFree(original);
}

TEST(Handle, AppendHandleAndBytes)
{
    Handle a = nullptr;
    ASSERT_EQ(HandleFromBytes("ab", &a, 2), 0);
    Handle b = nullptr;
    HandleFromBytes("cd", &b, 2);
    ASSERT_EQ(HandleAppendHandle(b, a), 0);
    ASSERT_EQ(HandleAppendBytes("ef", a, 2), 0);
    EXPECT_EQ(HandleGetSize(a), 6u);
    EXPECT_EQ(std::memcmp(a->data, "abcdef", 6), 0);
    HandleFree(a);
    HandleFree(b);
}

TEST(Handle, LockStateIsAlwaysUnlockedAndLockClearsError)
{
    Handle h = HandleNew(1);
    HandleResize(nullptr, 1);
    MemInjectAllocationFailure(0);
    HandleResize(h, 50);
    MemInjectAllocationFailure(-1);
    ASSERT_EQ(MemLastError(), -1);
    HandleLock(h);
    EXPECT_EQ(MemLastError(), 0);
    EXPECT_EQ(HandleGetLockState(h), 0);
    HandleFree(h);
}

TEST(Memory, MoveCopiesSourceToDestinationAcrossOverlapBothWays)
{
    char buf[] = "0123456789";
    MemMove(buf, buf + 2, 5);  // source first
    EXPECT_STREQ(buf, "0101234789");
    char buf2[] = "0123456789";
    MemMove(buf2 + 2, buf2, 5);
    EXPECT_STREQ(buf2, "2345656789");
}

TEST(Memory, CompareIsUnsignedAndAnswersZeroOneTwo)
{
    const unsigned char hi[] = {0x80};
    const unsigned char lo[] = {0x7F};
    EXPECT_EQ(MemCompare(hi, lo, 1), 1);
    EXPECT_EQ(MemCompare(lo, hi, 1), 2);
    EXPECT_EQ(MemCompare(hi, lo, 0), 0);
    EXPECT_EQ(MemCompare("abc", "abc", 3), 0);
}

TEST(Memory, ZeroIgnoresNonPositiveCounts)
{
    char buf[4] = {'a', 'b', 'c', 'd'};
    MemZero(buf, -3);
    MemZero(buf, 0);
    EXPECT_EQ(buf[0], 'a');
    MemZero(buf, 2);
    EXPECT_EQ(buf[1], 0);
    EXPECT_EQ(buf[2], 'c');
}

}  // namespace
