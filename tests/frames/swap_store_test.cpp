#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/byte_order.h"
#include "frames/record_header_format.h"
#include "frames/swap_store.h"
#include "frames_fixture.h"

namespace {

std::string Text(Handle h) { return std::string(reinterpret_cast<char*>(HandleData(h)), HandleGetSize(h)); }

Handle MakeText(const std::string& s)
{
    Handle h = HandleNew(uint32_t(s.size()));
    std::memcpy(HandleData(h), s.data(), s.size());
    return h;
}

class SwapStoreTest : public SwapTest {
protected:
    SwapStore store_{kRecordHeaderSize, &swap_};

    const uint8_t* Record(uint16_t id)
    {
        for (int32_t i = 0; i < store_.Count(); ++i) {
            if (HeaderId(store_.RecordPtr(i)) == id)
                return store_.RecordPtr(i);
        }
        return nullptr;
    }
    uint16_t Add(const std::string& text) { return store_.InsertRecord(store_.Count(), MakeText(text), false); }
    // The text a record's data holds, loading it when needed.
    std::string Load(uint16_t id)
    {
        EXPECT_EQ(store_.LoadData(id, 0), 0);
        return Text(store_.DataHandle(store_.Current()));
    }
};

TEST_F(SwapStoreTest, IdsCountUpAndAfterTheWrapNeverRepeat)
{
    EXPECT_EQ(Add("a"), 1);
    EXPECT_EQ(Add("b"), 2);
    EXPECT_EQ(Add("c"), 3);
    EXPECT_EQ(store_.DeleteById(2), 0);
    EXPECT_EQ(Add("d"), 4) << "an id is not reused before the counter wraps";

    // Near the top: the counter wraps to the lowest free id, then counts on
    // from there, stepping over every id still in use.
    store_.SetLastId(65534);
    EXPECT_EQ(Add("e"), 65535);
    EXPECT_EQ(Add("f"), 2);
    EXPECT_EQ(Add("g"), 5);
    EXPECT_EQ(Add("h"), 6);
    std::vector<uint16_t> seen;
    for (int32_t i = 0; i < store_.Count(); ++i) {
        const uint16_t id = HeaderId(store_.RecordPtr(i));
        for (uint16_t s : seen)
            EXPECT_NE(s, id);
        seen.push_back(id);
    }
}

TEST_F(SwapStoreTest, AShrinkingRecordKeepsItsPlaceAndAGrowingOneMoves)
{
    const uint16_t id = Add("0123456789");
    ASSERT_EQ(store_.UnloadData(id), 0);
    const uint32_t first = HeaderPosition(Record(id));
    EXPECT_EQ(HeaderFlags(Record(id)), kRecCopied);

    ASSERT_EQ(store_.LoadData(id, 0), 0);
    Handle h = store_.DataHandle(store_.Current());
    HandleResize(h, 4);
    store_.MarkChanged(id, false);
    ASSERT_EQ(store_.UnloadData(id), 0);
    EXPECT_EQ(HeaderPosition(Record(id)), first);
    EXPECT_EQ(HeaderSize(Record(id)), 4u);
    EXPECT_EQ(swap_.FreeCount(), 1);

    EXPECT_EQ(Load(id), "0123");
    h = store_.DataHandle(store_.Current());
    HandleResize(h, 30);
    store_.MarkChanged(id, false);
    ASSERT_EQ(store_.UnloadData(id), 0);
    EXPECT_NE(HeaderPosition(Record(id)), first);
    EXPECT_EQ(HeaderSize(Record(id)), 30u);
}

TEST_F(SwapStoreTest, AnUnchangedRecordIsNotWrittenAgain)
{
    const uint16_t id = Add("same");
    ASSERT_EQ(store_.UnloadData(id), 0);
    const uint32_t length = swap_.GetFileSize();
    // Spoil the swap copy: an unload that wrote would repair it.
    ASSERT_EQ(swap_.WriteAt(HeaderPosition(Record(id)), 4, "XXXX"), 0);
    EXPECT_EQ(Load(id), "XXXX");
    ASSERT_EQ(store_.UnloadData(id), 0);
    EXPECT_EQ(Load(id), "XXXX");
    EXPECT_EQ(swap_.GetFileSize(), length);
}

TEST_F(SwapStoreTest, UnloadAllKeepsWhatTheMaskNames)
{
    const uint16_t kept = store_.InsertRecord(0, MakeText("k"), true);
    const uint16_t plain = Add("p");
    EXPECT_EQ(store_.UnloadAll(kRecKeep), 0);
    EXPECT_TRUE(HeaderHas(Record(kept), kRecLoaded));
    EXPECT_FALSE(HeaderHas(Record(plain), kRecLoaded));
    EXPECT_EQ(store_.CurrentIndex(), -1);
    EXPECT_EQ(store_.UnloadAll(0), 0);
    EXPECT_FALSE(HeaderHas(Record(kept), kRecLoaded));
    EXPECT_EQ(Load(kept), "k");
}

TEST_F(SwapStoreTest, LookupsThatFindNothing)
{
    const uint16_t a = Add("a");
    Add("b");
    ASSERT_EQ(store_.FindById(a), 0);
    EXPECT_EQ(store_.FindById(0), -1);
    EXPECT_EQ(store_.CurrentIndex(), 0) << "id 0 leaves the current record";
    EXPECT_EQ(store_.FindById(77), -1);
    EXPECT_EQ(store_.CurrentIndex(), -1) << "an absent id leaves no record current";
    EXPECT_EQ(store_.SelectIndex(store_.Count(), 0), 1);
    EXPECT_EQ(store_.LoadData(77, 0), 1);
    EXPECT_EQ(store_.UnloadData(77), 1);
    EXPECT_EQ(store_.DeleteById(77), 1);

    // An empty store has no record 0 to read.
    SwapStore empty(kRecordHeaderSize, &swap_);
    uint8_t header[kRecordHeaderSize];
    std::memset(header, 0xAB, sizeof header);
    empty.GetRecord(-1, header);
    for (uint8_t b : header)
        EXPECT_EQ(b, 0);
}

TEST_F(SwapStoreTest, ProtocolCodes)
{
    const uint16_t id = Add("x");
    SwapStore noSwap(kRecordHeaderSize, nullptr);
    uint8_t header[kRecordHeaderSize];
    noSwap.InitRecord(header);
    noSwap.Attach(header);
    EXPECT_EQ(noSwap.SwapIn(0), kStoreNoSwap);
    EXPECT_EQ(noSwap.SwapOut(), kStoreNoSwap);
    CTFileMng closed;
    SwapStore notOpen(kRecordHeaderSize, &closed);
    notOpen.Attach(header);
    EXPECT_EQ(notOpen.SwapIn(0), kStoreSwapNotOpen);
    EXPECT_EQ(notOpen.SwapOut(), kStoreSwapNotOpen);
    // A record that was never written out has no copy to load.
    ASSERT_GE(store_.FindById(id), 0);
    uint8_t copy[kRecordHeaderSize];
    std::memcpy(copy, store_.Current(), sizeof copy);
    SetHeaderFlags(copy, 0);
    store_.Attach(copy);
    EXPECT_EQ(store_.SwapIn(0), kStoreNoCopy);
    store_.Detach();
}

TEST_F(SwapStoreTest, ARecordWhoseSwapCopyIsShortDoesNotLoad)
{
    const uint16_t id = Add("0123456789");
    ASSERT_EQ(store_.UnloadData(id), 0);
    ASSERT_EQ(FileSetSize(swap_.GetFileHandle(), 4), 0);
    EXPECT_EQ(store_.LoadData(id, 0), 1);
    EXPECT_FALSE(HeaderHas(Record(id), kRecLoaded));
    EXPECT_EQ(store_.DataHandle(Record(id)), nullptr);
}

TEST_F(SwapStoreTest, TransferFormatRoundTripAndATruncatedFile)
{
    const uint16_t id = Add("moved text");
    store_.MarkChanged(id, false);
    SetHeaderFlags(store_.RecordPtr(0), uint8_t(HeaderFlags(store_.RecordPtr(0)) | 0xA0));
    ScratchFile file(dir_, "transfer");
    ASSERT_EQ(store_.WriteRecordTo(file.get(), id), 0);
    const std::vector<uint8_t> bytes = file.Bytes();
    ASSERT_EQ(bytes.size(), 30u);
    EXPECT_EQ(GetU32LE(bytes.data()), 0u) << "no pointer in a file";
    EXPECT_EQ(GetU32LE(bytes.data() + 8), 10u);
    EXPECT_EQ(GetU32LE(bytes.data() + 12), 20u);
    EXPECT_EQ(std::string(bytes.begin() + 20, bytes.end()), "moved text");

    SwapStore other(kRecordHeaderSize, &swap_);
    uint16_t newId = 0;
    FileSeek(file.get(), kSeekStart, 0);
    ASSERT_EQ(other.ReadRecordFrom(file.get(), &newId), 0);
    EXPECT_EQ(newId, 1);
    ASSERT_EQ(other.LoadData(newId, 0), 0);
    EXPECT_EQ(Text(other.DataHandle(other.Current())), "moved text");
    EXPECT_EQ(HeaderFlags(other.Current()) & kRecLayoutBits, 0xA0);

    // Cut inside the data, or with a size the file cannot hold: nothing is
    // added.
    file.Put(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 25));
    EXPECT_NE(other.ReadRecordFrom(file.get(), &newId), 0);
    std::vector<uint8_t> huge = bytes;
    PutU32LE(huge.data() + 8, 0xFFFFFFF0);
    file.Put(huge);
    EXPECT_NE(other.ReadRecordFrom(file.get(), &newId), 0);
    EXPECT_EQ(other.Count(), 1);
}

TEST_F(SwapStoreTest, CopyRecordsDuplicatesDataAndLayoutBits)
{
    Add("one");
    Add("two");
    SetHeaderFlags(store_.RecordPtr(1), uint8_t(HeaderFlags(store_.RecordPtr(1)) | 0x40));
    SwapStore copy(kRecordHeaderSize, &swap_);
    EXPECT_EQ(copy.CopyRecords(&store_, 0, 1, 0), 0);
    ASSERT_EQ(copy.Count(), 2);
    ASSERT_EQ(copy.SelectIndex(1, 0), 0);
    EXPECT_EQ(Text(copy.DataHandle(copy.Current())), "two");
    EXPECT_EQ(HeaderFlags(copy.Current()) & 0x40, 0x40);
    EXPECT_EQ(Load(1), "one") << "the source keeps its own data";
}

TEST_F(SwapStoreTest, DocumentSectionReadKeepsTheStoreWhenTheFileIsShort)
{
    Add("alpha");
    Add("beta");
    ASSERT_EQ(store_.UnloadAll(0), 0);
    ScratchFile doc(dir_, "doc");
    ASSERT_EQ(store_.WriteStore(doc.get(), -1), 0);
    EXPECT_EQ(store_.WindowPosition(), 0u);
    EXPECT_EQ(store_.WindowSize(), 40u);

    SwapStore read(kRecordHeaderSize, &swap_);
    ASSERT_EQ(read.ReadStore(doc.get(), 0, 40), 0);
    EXPECT_EQ(read.Count(), 2);
    EXPECT_EQ(read.NextId(), 3) << "a store read from a document continues after its highest id";
    EXPECT_EQ(HeaderFlags(read.RecordPtr(0)), kRecCopied);

    SwapStore refused(kRecordHeaderSize, &swap_);
    refused.NewRecord(false);
    EXPECT_EQ(refused.ReadStore(doc.get(), 0, 0x7FFFFF00), kStoreDocRead);
    EXPECT_EQ(refused.ReadStore(doc.get(), 30, 20), kStoreDocRead);
    EXPECT_EQ(refused.Count(), 1);
}

// Lookups by id are kept ready between edits; whatever happened to the
// records, they must find what reading the records in order finds, the
// first record with the id, also where a damaged file repeats ids.
TEST_F(SwapStoreTest, LookupByIdFindsTheFirstRecordWithTheIdAfterEveryEdit)
{
    auto firstInOrder = [](SwapStore& store, uint16_t id) {
        for (int32_t i = 0; id != 0 && i < store.Count(); ++i) {
            if (HeaderId(store.RecordPtr(i)) == id)
                return i;
        }
        return -1;
    };
    // The id the edit put at risk is looked up first: any lookup may
    // happen to refresh what the store keeps.
    auto agrees = [&](SwapStore& store, const char* after, uint16_t atRisk) {
        EXPECT_EQ(store.FindById(atRisk), firstInOrder(store, atRisk)) << "id " << atRisk << " after " << after;
        for (uint32_t id = 0; id <= 12; ++id) {
            EXPECT_EQ(store.FindById(uint16_t(id)), firstInOrder(store, uint16_t(id))) << "id " << id << " after " << after;
        }
    };
    auto setId = [&](int32_t index, uint16_t id) {
        uint8_t header[kRecordHeaderSize];
        store_.GetRecord(index, header);
        SetHeaderId(header, id);
        store_.PutRecord(index, header);
    };
    // The ids in the comments are the records' in order.
    for (const char* text : {"a", "b", "c", "d", "e", "f"})
        Add(text);
    agrees(store_, "adding", 1);
    setId(4, 2);
    setId(5, 3);  // 1 2 3 4 2 3
    agrees(store_, "repeating ids", 2);
    EXPECT_EQ(store_.FindById(2), 1) << "the first of two records with one id";
    EXPECT_EQ(store_.InsertRecord(0, MakeText("g"), false), 7);  // 7 1 2 3 4 2 3
    agrees(store_, "inserting in front", 7);
    setId(0, 3);  // 3 1 2 3 4 2 3
    agrees(store_, "giving a record an id that comes later", 3);
    setId(5, 4);  // 3 1 2 3 4 4 3
    ASSERT_EQ(store_.DeleteById(1), 0);  // 3 2 3 4 4 3
    agrees(store_, "deleting in front of a repeated id", 4);
    ASSERT_EQ(store_.DeleteById(2), 0);  // 3 3 4 4 3
    EXPECT_EQ(Load(3), "g");

    // The second of two records with one id trades places with the first
    // record.
    std::vector<uint8_t> first(kRecordHeaderSize), moved(kRecordHeaderSize);
    store_.ReadAt(0, first.data());
    store_.ReadAt(3, moved.data());
    store_.WriteAt(0, moved.data());
    store_.WriteAt(3, first.data());  // 4 3 4 3 3
    agrees(store_, "moving records", 4);
    EXPECT_EQ(Load(4), "e");
    store_.DeleteRange(0, 2);  // 4 3 3
    agrees(store_, "deleting a range", 4);

    // Reloaded from a document whose ids repeat.
    ASSERT_EQ(store_.UnloadAll(0), 0);
    ScratchFile doc(dir_, "doc");
    ASSERT_EQ(store_.WriteStore(doc.get(), -1), 0);
    std::vector<uint8_t> bytes = doc.Bytes();
    ASSERT_EQ(bytes.size(), 3 * kRecordHeaderSize);
    PutU16LE(bytes.data() + kRecordHeaderSize + kRecordIdOffset, 11);
    PutU16LE(bytes.data() + 2 * kRecordHeaderSize + kRecordIdOffset, 11);  // 4 11 11
    doc.Put(bytes);
    ASSERT_EQ(store_.ReadStore(doc.get(), 0, uint32_t(bytes.size())), 0);
    agrees(store_, "reloading", 11);

    // A borrowed array can change behind the store's back.
    Handle array = HandleNew(3 * kRecordHeaderSize);
    std::memset(HandleData(array), 0, 3 * kRecordHeaderSize);
    for (uint16_t i = 0; i < 3; ++i)
        SetHeaderId(HandleData(array) + i * kRecordHeaderSize, uint16_t(i + 1));
    SwapStore borrowing(&swap_);
    borrowing.AdoptArray(array, kRecordHeaderSize);
    agrees(borrowing, "adopting", 3);
    SetHeaderId(HandleData(array), 3);
    agrees(borrowing, "the owner changed an id", 3);
    borrowing.ReleaseArray();
    HandleFree(array);
}

}  // namespace
