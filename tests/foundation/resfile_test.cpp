#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "foundation/byte_order.h"
#include "foundation/resfile.h"
#include "foundation/resfile_format.h"
#include "support/flushes_skipped.h"
#include "support/temp_dir.h"

namespace {

constexpr ResType kTmpl = FourCC("tmpl");
constexpr ResType kBckp = FourCC("bckp");
constexpr ResType kDocp = FourCC("docp");

std::string U32(uint32_t v)
{
    uint8_t b[4];
    PutU32LE(b, v);
    return std::string(reinterpret_cast<char*>(b), 4);
}

std::string DataOf(Handle h) { return std::string(reinterpret_cast<char*>(HandleData(h)), HandleGetSize(h)); }

// Resource contents by type, in the order the table and the directory keep.
using Content = std::map<ResType, std::vector<std::pair<int32_t, std::string>>>;

class ResFileTest : public ::testing::Test {
protected:
    // What survives a crash is the crash trials' subject (tests/faults).
    FlushesSkipped flushes_;

    void TearDown() override
    {
        ResFileInjectWriteFailure(-1, false);
        Close();
    }

    std::string Bytes() const
    {
        std::ifstream f(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    void SetBytes(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }

    // Opens the file (made empty when missing) and makes it current.
    int32_t Open(int16_t mode = kResReadWrite)
    {
        Close();
        if (!std::ifstream(path_))
            SetBytes("");
        PathRecord record;
        PathRecordFromPosix(path_, &record);
        file_ = ResFileOpen(&record, mode);
        return file_ == kNoFile ? ResFileLastError() : ResFileUse(file_, mode);
    }
    void Close()
    {
        if (file_ != kNoFile)
            ResFileClose(file_);
        file_ = kNoFile;
    }

    int32_t Put(ResType type, int32_t id, const std::string& data)
    {
        return ResFilePut(type, id, data.data(), int32_t(data.size()), 1);
    }

    Content Current()
    {
        Content c;
        for (const ResEntry& e : std::vector<ResEntry>(ResFileTable())) {
            Handle h = ResFileGet(e.type, e.id);
            c[e.type].emplace_back(e.id, h ? DataOf(h) : "<unreadable>");
        }
        return c;
    }

    // Parses the file's bytes independently and checks what every file this
    // layer writes must hold: a directory that fits, data blocks behind it
    // that fill the rest of the file without gaps or overlaps, and exactly
    // the places the table has for the resources on disk.
    void ExpectSoundFile()
    {
        const std::string s = Bytes();
        const auto* p = reinterpret_cast<const uint8_t*>(s.data());
        ASSERT_GE(s.size(), kResHeaderSize);
        ASSERT_EQ(s.substr(0, 4), "FSER");
        using Place = std::tuple<uint32_t, uint32_t, ResType, int32_t>;  // offset, size, type, id
        std::vector<Place> listed, table;
        size_t at = kResHeaderSize;
        for (uint32_t g = 0, n = GetU32LE(p + 16); g < n; ++g, at += 8) {
            ASSERT_LE(at + 8, s.size());
            const uint32_t type = GetU32LE(p + at), count = GetU32LE(p + at + 4);
            EXPECT_GT(count, 0u);
            for (uint32_t i = 0; i < count; ++i, at += 12) {
                ASSERT_LE(at + 20, s.size());
                listed.emplace_back(GetU32LE(p + at + 16), GetU32LE(p + at + 12), type, GetI32LE(p + at + 8));
            }
        }
        for (const ResEntry& e : ResFileTable()) {
            if (e.offset != kResNoOffset)
                table.emplace_back(e.offset, e.size, e.type, e.id);
        }
        std::sort(listed.begin(), listed.end());
        std::sort(table.begin(), table.end());
        EXPECT_EQ(listed, table);
        uint64_t end = at;
        for (const auto& [offset, size, type, id] : listed) {
            EXPECT_EQ(offset, end);
            end = uint64_t(offset) + size;
        }
        EXPECT_EQ(end, s.size());
    }

    TempDir dir_;
    std::string path_ = dir_.file("data.res");
    FileHandle file_ = kNoFile;
};

TEST_F(ResFileTest, EmptyFileGetsHeaderAndWritesFollowTheDirectoryRules)
{
    ASSERT_EQ(Open(), 0);
    EXPECT_EQ(Bytes(), "FSER" + std::string(16, '\0'));
    EXPECT_EQ(ResFileCountTypes(), 0);

    ASSERT_EQ(Put(kTmpl, 5, "five!"), 0);
    ASSERT_EQ(Put(kTmpl, 2, "two"), 0);
    ASSERT_EQ(Put(kTmpl, 9, "nine!!"), 0);
    const std::string expected = "FSER" + std::string(12, '\0') + U32(1) + U32(kTmpl) + U32(3) +
                                 U32(2) + U32(3) + U32(69) + U32(5) + U32(5) + U32(64) + U32(9) + U32(6) + U32(72) +
                                 "five!two" + "nine!!";
    EXPECT_EQ(Bytes(), expected);

    ASSERT_EQ(Open(), 0);
    EXPECT_EQ(ResFileGetIndexedId(kTmpl, 1), 2);
    EXPECT_EQ(ResFileGetIndexedId(kTmpl, 4), kResNoTable);
    char buffer[8];
    EXPECT_EQ(ResFileReadInto(kTmpl, 9, buffer, 8), 0);
    EXPECT_EQ(std::string(buffer, 8), std::string("nine!!\0\0", 8));
}

TEST_F(ResFileTest, ReplacingAndRemovingMoveWhatFollows)
{
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(Put(kTmpl, 1, std::string(100, 'a')), 0);
    ASSERT_EQ(Put(kTmpl, 2, std::string(30, 'b')), 0);
    const uint32_t before = ResFileTable()[1].offset;
    const size_t size = Bytes().size();

    ASSERT_EQ(Put(kTmpl, 1, std::string(40, 'c')), 0);
    EXPECT_EQ(ResFileTable()[1].offset, before - 60);
    EXPECT_EQ(Bytes().size(), size - 60);
    ExpectSoundFile();
    ASSERT_EQ(Open(), 0);
    EXPECT_EQ(Current(), (Content{{kTmpl, {{1, std::string(40, 'c')}, {2, std::string(30, 'b')}}}}));

    // The only resource of a type takes its group with it: the file is as
    // if the type had never been there.
    ASSERT_EQ(Put(kDocp, 1, "x"), 0);
    const std::string withOne = Bytes();
    ASSERT_EQ(Put(kBckp, 7, "gone soon"), 0);
    ASSERT_EQ(ResFileRemove(kBckp, 7), 0);
    EXPECT_EQ(Bytes(), withOne);
    EXPECT_EQ(ResFileCountTypes(), 2);
    EXPECT_EQ(ResFileRemove(kBckp, 7), kResRemoveNotOnDisk);
}

TEST_F(ResFileTest, IdsIndexesAndMoves)
{
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(Put(kTmpl, 3, "three"), 0);
    ASSERT_EQ(Put(kTmpl, 7, "seven"), 0);
    ASSERT_EQ(Put(kTmpl, 5, "five"), 0);
    ASSERT_EQ(Put(kBckp, 1, "b"), 0);
    EXPECT_EQ(ResFileNextId(kTmpl), 8);
    EXPECT_EQ(ResFileNextId(kDocp), -1);
    EXPECT_EQ(ResFileNextType(), int32_t(kTmpl) + 1);

    EXPECT_EQ(ResFileMoveToIndex(kTmpl, 7, 0), kResBadIndex);
    EXPECT_EQ(ResFileMoveToIndex(kTmpl, 4, 1), kResNoTable);
    ASSERT_EQ(ResFileMoveToIndex(kTmpl, 3, 99), 0);
    ASSERT_EQ(ResFileMoveToIndex(kTmpl, 7, 1), 0);
    ExpectSoundFile();
    ASSERT_EQ(Open(), 0);
    EXPECT_EQ(ResFileGetIndexedId(kTmpl, 1), 7);
    EXPECT_EQ(ResFileGetIndexedId(kTmpl, 2), 5);
    EXPECT_EQ(ResFileGetIndexedId(kTmpl, 3), 3);

    // A new id goes before the first greater one, in the table and on disk.
    ASSERT_EQ(Put(kTmpl, 6, "six"), 0);
    EXPECT_EQ(ResFileGetIndexedId(kTmpl, 1), 6);
    ExpectSoundFile();

    // An entry not yet written counts in the table's order but takes no
    // place in the file's; released unwritten, it is gone.
    Handle h = HandleNew(3);
    ASSERT_EQ(ResFileAddEntry(h, kTmpl, 4), 0);
    EXPECT_EQ(ResFileAddEntry(h, kTmpl, 8), kResAddFailed);
    EXPECT_EQ(ResFileGetIndexedId(kTmpl, 1), 4);
    ASSERT_EQ(ResFileMoveToIndex(kTmpl, 3, 2), 0);
    ASSERT_EQ(ResFileRelease(h), 0);
    EXPECT_EQ(ResFileGet(kTmpl, 4), nullptr);
    EXPECT_EQ(ResFileCountType(kTmpl), 4);
    ASSERT_EQ(Open(), 0);
    std::vector<int32_t> order;
    for (int32_t n = 1; n <= ResFileCountType(kTmpl); ++n)
        order.push_back(ResFileGetIndexedId(kTmpl, n));
    EXPECT_EQ(order, (std::vector<int32_t>{3, 6, 7, 5}));
}

TEST_F(ResFileTest, ReadOnlyModeRefusesEveryChange)
{
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(Put(kTmpl, 1, "one"), 0);
    const std::string before = Bytes();
    ASSERT_EQ(Open(kResReadOnly), 0);
    Handle h = ResFileGet(kTmpl, 1);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(ResFileMarkChanged(h), 0);
    Handle fresh = HandleNew(4);
    EXPECT_EQ(Put(kTmpl, 1, "changed"), 5);
    EXPECT_EQ(Put(kTmpl, 2, "new"), 5);
    EXPECT_EQ(ResFileWriteResource(h), 5);
    EXPECT_EQ(ResFileAddEntry(fresh, kTmpl, 3), 5);
    EXPECT_EQ(ResFileRemoveResource(h), 5);
    EXPECT_EQ(ResFileRemove(kTmpl, 1), 5);
    EXPECT_EQ(ResFileMoveToIndex(kTmpl, 1, 1), 5);
    EXPECT_EQ(ResFileLastError(), 5);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(Current(), (Content{{kTmpl, {{1, "one"}}}}));
    HandleFree(fresh);
}

TEST_F(ResFileTest, ForeignShortAndDamagedFilesAreRefusedUntouched)
{
    SetBytes("");
    EXPECT_EQ(Open(kResReadOnly), kResBadFile);
    EXPECT_EQ(Bytes(), "");
    for (const std::string& foreign : {std::string("hello"), std::string("FSER" + std::string(15, '\0')),
                                       std::string("RESF" + std::string(30, '\0'))}) {
        SetBytes(foreign);
        EXPECT_EQ(Open(), kResBadFile);
        EXPECT_EQ(ResFileCountTypes(), -1);
        EXPECT_EQ(Bytes(), foreign);
    }

    Close();
    SetBytes("");
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(Put(kTmpl, 1, "aaaa"), 0);
    ASSERT_EQ(Put(kTmpl, 2, "bbbb"), 0);
    ASSERT_EQ(Put(kBckp, 3, "cc"), 0);
    Close();
    const std::string good = Bytes();
    // Header 0-19; group tmpl 20-27 with entries 28-39 and 40-51; group
    // bckp 52-59 with entry 60-71; data "aaaa" 72, "bbbb" 76, "cc" 80.
    auto with = [&](size_t at, uint32_t v) { return good.substr(0, at) + U32(v) + good.substr(at + 4); };
    const std::vector<std::string> damaged = {
        with(16, 0x7FFFFFFF),             // more groups than the file has room for
        with(16, 3),                      // one group too many
        with(24, 0x15555556),             // an entry count whose size wraps in 32 bits
        with(32, 0),                      // empty data
        with(32, 0xFFFFFFF0),             // data beyond the end
        with(36, 20),                     // data inside the directory
        with(36, 0xFFFFFFFF),             // the offset of "not on disk"
        with(36, 74),                     // overlapping the next block
        with(36, 81),                     // cut by the end
        with(40, 1),                      // the same id twice
        with(52, kTmpl),                  // the same type twice
        good.substr(0, good.size() - 1),  // cut short
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        SetBytes(damaged[i]);
        EXPECT_EQ(Open(), kResBadFile) << "case " << i;
        EXPECT_EQ(Bytes(), damaged[i]) << "case " << i;
    }
    SetBytes(good);
    EXPECT_EQ(Open(), 0);
}

// A write that fails at any step, alone or as the last thing before a
// crash, leaves a file that reads back whole: the old content or the new.
TEST_F(ResFileTest, FailingWritesLeaveTheOldOrTheNewFile)
{
    using Change = int32_t (*)();
    const std::vector<Change> changes = {
        [] { return ResFilePut(kTmpl, 4, "a new one", 9, 1); },
        [] { return ResFilePut(kDocp, 1, "a new type", 10, 1); },
        [] { return ResFilePut(kTmpl, 2, "longer than it was", 18, 1); },
        [] { return ResFilePut(kTmpl, 1, "s", 1, 0); },
        [] { return ResFileRemove(kTmpl, 2); },
        [] { return ResFileRemove(kBckp, 1); },
        [] { return ResFileMoveToIndex(kTmpl, 3, 1); },
    };
    for (size_t c = 0; c < changes.size(); ++c) {
        for (bool once : {true, false}) {
            for (int32_t step = 0; step < 8; ++step) {
                SCOPED_TRACE("change " + std::to_string(c) + (once ? " once" : " crash") + " step " +
                             std::to_string(step));
                SetBytes("");
                ASSERT_EQ(Open(), 0);
                ASSERT_EQ(Put(kTmpl, 1, "first resource"), 0);
                ASSERT_EQ(Put(kTmpl, 2, "second"), 0);
                ASSERT_EQ(Put(kTmpl, 3, "third one"), 0);
                ASSERT_EQ(Put(kBckp, 1, "backdrop"), 0);
                const std::string oldBytes = Bytes();
                const Content oldContent = Current();
                ASSERT_EQ(changes[c](), 0);
                const std::string newBytes = Bytes();
                const Content newContent = Current();
                SetBytes(oldBytes);
                ASSERT_EQ(Open(), 0);

                ResFileInjectWriteFailure(step, once);
                const int32_t result = changes[c]();
                ResFileInjectWriteFailure(-1, false);
                if (once) {
                    // A reported failure changed nothing, and the change can
                    // be made again; success is whole even when the file was
                    // only half rewritten.
                    if (result) {
                        EXPECT_EQ(Bytes(), oldBytes);
                        ASSERT_EQ(changes[c](), 0);
                    }
                    EXPECT_EQ(Current(), newContent);
                    ASSERT_EQ(Open(), 0);
                    EXPECT_EQ(Bytes(), newBytes);
                    continue;
                }
                Close();
                ASSERT_EQ(Open(kResReadOnly), 0);
                const Content seen = Current();
                EXPECT_TRUE(seen == oldContent || seen == newContent);
                ASSERT_EQ(Open(), 0);
                EXPECT_EQ(Current(), seen);
                if (seen == newContent)
                    EXPECT_EQ(Bytes(), newBytes);
                else
                    EXPECT_EQ(Bytes().substr(0, oldBytes.size()), oldBytes);
            }
        }
    }
}

// A change whose rewrite of the file failed lives in its copy behind the
// content; the next change must not bury that copy where a crash during
// it could no longer find it.
TEST_F(ResFileTest, AChangeAfterAFailedRewriteKeepsTheEarlierChangeThroughACrash)
{
    for (int32_t step = 0; step < 8; ++step) {
        SCOPED_TRACE("crash at step " + std::to_string(step));
        SetBytes("");
        ASSERT_EQ(Open(), 0);
        ASSERT_EQ(Put(kTmpl, 1, "first resource"), 0);
        ASSERT_EQ(Put(kTmpl, 2, "second"), 0);

        // The rewrite from the start of the file fails half way (a full
        // disk, say); the copy behind it was safe, so the change stands.
        ResFileInjectWriteFailure(3, true);
        ASSERT_EQ(Put(kTmpl, 3, std::string(300, 'n')), 0);
        ResFileInjectWriteFailure(-1, false);
        const Content first = Current();

        Content second = first;
        second[kBckp].emplace_back(1, "backdrop");

        ResFileInjectWriteFailure(step, false);
        Put(kBckp, 1, "backdrop");
        ResFileInjectWriteFailure(-1, false);
        Close();
        ASSERT_EQ(Open(kResReadOnly), 0);
        const Content seen = Current();
        EXPECT_TRUE(seen == first || seen == second);
    }
}

// A copy whose trailer reached the disk before its data (writes are not
// ordered) is not taken: the old content before it is whole.
TEST_F(ResFileTest, DamagedCopyBehindTheContentIsDropped)
{
    ASSERT_EQ(Open(), 0);
    ASSERT_EQ(Put(kTmpl, 1, std::string(80, 'x')), 0);
    const Content content = Current();
    Close();
    const std::string old = Bytes();
    const std::string copy = "FSER" + std::string(36, '?');
    SetBytes(old + copy + U32(kResFileMagic) + U32(kResPendingMagic) + U32(uint32_t(old.size())) +
             U32(uint32_t(copy.size())) + U32(12345));
    ASSERT_EQ(Open(kResReadOnly), 0);
    EXPECT_EQ(Current(), content);
    ASSERT_EQ(Open(), 0);
    EXPECT_EQ(Current(), content);
    EXPECT_EQ(Bytes(), old);
}

// Random changes against a plain model of what the file must hold.
TEST_F(ResFileTest, RandomChangesMatchTheModel)
{
    std::mt19937 random(20240611);
    auto pick = [&](int n) { return int(random() % uint32_t(n)); };
    const ResType types[] = {kTmpl, kBckp, kDocp};
    Content model;
    ASSERT_EQ(Open(), 0);
    for (int step = 0; step < 2500; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const ResType type = types[pick(3)];
        auto& list = model[type];
        const int32_t id = pick(24) - 4;
        auto it = std::find_if(list.begin(), list.end(), [&](auto& e) { return e.first == id; });
        const std::string data(size_t(1 + pick(pick(8) ? 40 : 3000)), char('a' + pick(26)));
        switch (pick(7)) {
        case 0:
        case 1:
            if (it == list.end() && pick(2)) {
                Handle h = nullptr;
                HandleFromBytes(data.data(), &h, uint32_t(data.size()));
                ASSERT_EQ(ResFileAddEntry(h, type, id), 0);
                ASSERT_EQ(ResFileWriteResource(h), 0);
            } else {
                ASSERT_EQ(Put(type, id, data), 0);
            }
            if (it != list.end()) {
                it->second = data;
            } else {
                auto at = std::find_if(list.begin(), list.end(), [&](auto& e) { return e.first > id; });
                list.insert(at, {id, data});
            }
            break;
        case 2: {
            // Changing the loaded data in place, as the wizard does.
            Handle h = ResFileGet(type, id);
            if (it == list.end()) {
                EXPECT_EQ(h, nullptr);
                break;
            }
            ASSERT_NE(h, nullptr);
            ASSERT_EQ(HandleResize(h, int32_t(data.size())), 0);
            std::memcpy(HandleData(h), data.data(), data.size());
            ASSERT_EQ(ResFileMarkChanged(h), 0);
            ASSERT_EQ(ResFileWriteResource(h), 0);
            ASSERT_EQ(ResFileRelease(h), 0);
            it->second = data;
            break;
        }
        case 3:
            if (it == list.end()) {
                EXPECT_EQ(ResFileRemove(type, id), kResRemoveNotOnDisk);
            } else {
                ASSERT_EQ(pick(2) ? ResFileRemove(type, id) : ResFileRemoveResource(ResFileGet(type, id)), 0);
                list.erase(it);
            }
            break;
        case 4:
        case 5: {
            const int32_t n = 1 + pick(int(list.size()) + 2);
            if (it == list.end()) {
                EXPECT_EQ(ResFileMoveToIndex(type, id, n), kResNoTable);
                break;
            }
            ASSERT_EQ(ResFileMoveToIndex(type, id, n), 0);
            auto moved = *it;
            list.erase(it);
            list.insert(list.begin() + std::min<size_t>(size_t(n), list.size() + 1) - 1, moved);
            break;
        }
        default:
            if (pick(8) == 0) {
                ExpectSoundFile();
                ASSERT_EQ(Open(), 0);
                std::erase_if(model, [](auto& t) { return t.second.empty(); });
                ASSERT_EQ(Current(), model);
                for (auto& [t, entries] : model)
                    EXPECT_EQ(ResFileCountType(t), int32_t(entries.size()));
            }
        }
    }
    ExpectSoundFile();
    ASSERT_EQ(Open(), 0);
    std::erase_if(model, [](auto& t) { return t.second.empty(); });
    EXPECT_EQ(Current(), model);
}

}  // namespace
