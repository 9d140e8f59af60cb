#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "database/db_file_io.h"
#include "database/field_table.h"
#include "database/record_file_format.h"
#include "database/repair.h"
#include "database_file_test.h"
#include "db_test_util.h"
#include "foundation/byte_order.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class RepairTest : public DatabaseFileTest {
protected:
    RepairTest() : DatabaseFileTest("r.dqx") {}
    void SetUp() override
    {
        DatabaseFileTest::SetUp();
        DatabaseSession db;
        ASSERT_TRUE(db.Create(path));
        offsets.push_back(AddSample(db.Data(), 1));
        FillCurrent(db.Data(), {{kFieldFirstName, "J\xFC" "rgen"}, {kFieldLastName, "M\xFCller"}, {kFieldCity, "Z\xFCrich"}});
        offsets.push_back(db.Data().AddRecord(false, true));
        offsets.push_back(AddSample(db.Data(), 3));
        db.Close();
    }

    // Runs the repair over the file; returns its result.
    int32_t Repair(RepairCounts* counts)
    {
        FileHandle handle = kNoFile;
        EXPECT_EQ(FileOpen(&path, kFileReadWrite, &handle), 0);
        const int32_t result = RepairDataFile(&handle, &path, kDbDataStart, 3, counts);
        FileClose(handle);
        return result;
    }

    std::map<int32_t, std::string> Fields(int32_t offset)
    {
        DataFile data;
        data.Open(&path, 0x40000000, kIndexModeNone);
        CardRecord r;
        data.ReadRecordAt(offset, &r, 0);
        std::map<int32_t, std::string> out;
        for (int32_t id = 0; id < kBodyFieldCount; ++id)
            if (r.GetFieldLength(id))
                out[id] = FieldOf(r, id);
        data.Close(true, false);
        return out;
    }

    std::vector<int32_t> offsets;
};

TEST_F(RepairTest, SoundRecordsWithTheLetterUeAreKeptWhole)
{
    Bytes bytes = Read(file);
    PutI16LE(&bytes[size_t(offsets[2]) + dbrec::kSlack], 5);  // spare bytes at the end
    bytes.insert(bytes.end(), 5, 'S');
    Write(file, bytes);
    const auto before = Fields(offsets[1]);
    RepairCounts counts;
    EXPECT_EQ(Repair(&counts), 0);
    EXPECT_EQ(counts.repaired, 0);
    EXPECT_EQ(counts.lost, 0);
    EXPECT_EQ(capture.lastText(), " Ok.\nNumber of damage records: 0\nNumber of lost records: 0");
    EXPECT_EQ(Fields(offsets[1]), before);
    EXPECT_EQ(Read(file).size(), bytes.size() - 5);  // packed: the slack is gone
    EXPECT_EQ(GetI16LE(&Read(file)[size_t(offsets[2]) + dbrec::kSlack]), 0);
}

TEST_F(RepairTest, LengthsClaimingMoreThanTheRecordAreCutToFit)
{
    Bytes bytes = Read(file);
    bytes[size_t(offsets[0]) + dbrec::kLengths + kFieldCustom6] = 40;  // 40 bytes that are not there
    Write(file, bytes);
    const auto second = Fields(offsets[1]);
    const auto third = Fields(offsets[2]);
    RepairCounts counts;
    EXPECT_EQ(Repair(&counts), 0);
    EXPECT_EQ(counts.repaired, 1);
    EXPECT_EQ(counts.lost, 0);
    EXPECT_EQ(Read(file).size(), bytes.size());
    EXPECT_EQ(Fields(offsets[0]).at(kFieldFirstName), SampleFields(1).at(kFieldFirstName));
    EXPECT_EQ(Fields(offsets[1]), second);
    EXPECT_EQ(Fields(offsets[2]), third);
}

TEST_F(RepairTest, AnOverlongFieldLosesOnlyItsExcessBytes)
{
    Bytes bytes = Read(file);
    const size_t at = size_t(offsets[2]);
    // State claims 5 bytes (its maximum is 4): all five stand in the file,
    // so the ZIP code behind them must stay whole.
    size_t body = at + dbrec::kBodies;
    for (int32_t id = 0; id < kFieldState; ++id)
        body += bytes[at + dbrec::kLengths + id];
    const uint8_t stateLength = bytes[at + dbrec::kLengths + kFieldState];
    bytes.insert(bytes.begin() + long(body + stateLength), {'Q', 'Q', 'Q'});
    bytes[at + dbrec::kLengths + kFieldState] = uint8_t(stateLength + 3);
    Write(file, bytes);
    RepairCounts counts;
    EXPECT_EQ(Repair(&counts), 0);
    EXPECT_EQ(counts.repaired, 1);
    const auto fields = Fields(offsets[2]);
    EXPECT_EQ(fields.at(kFieldZipCode), SampleFields(3).at(kFieldZipCode));
    EXPECT_EQ(fields.at(kFieldState), "WAQQ");
    EXPECT_EQ(fields.at(kFieldCity), "Springfield");
}

TEST_F(RepairTest, AFieldClaimingBytesBeyondTheRecordCostsOnlyThoseBytes)
{
    // State claims 250 bytes, most of them past the end of the record: the
    // fields before it are whole and must stay so.
    Bytes bytes = Read(file);
    bytes[size_t(offsets[0]) + dbrec::kLengths + kFieldState] = 250;
    Write(file, bytes);
    RepairCounts counts;
    EXPECT_EQ(Repair(&counts), 0);
    EXPECT_EQ(counts.repaired, 1);
    EXPECT_EQ(counts.lost, 0);
    const auto fields = Fields(offsets[0]);
    for (int32_t id : {kFieldFirstName, kFieldLastName, kFieldAddress1, kFieldCity})
        EXPECT_EQ(fields.count(id) ? fields.at(id) : "", SampleFields(1).at(id)) << id;
    EXPECT_EQ(fields.at(kFieldState).substr(0, 2), SampleFields(1).at(kFieldState));
}

TEST_F(RepairTest, GarbageAfterTheLastRecordIsDropped)
{
    Bytes bytes = Read(file);
    const size_t size = bytes.size();
    bytes.insert(bytes.end(), 300, 0x41);
    Write(file, bytes);
    RepairCounts counts;
    EXPECT_EQ(Repair(&counts), 0);
    EXPECT_EQ(counts.lost, 0);
    EXPECT_EQ(Read(file).size(), size);
}

TEST_F(RepairTest, RecordsWhoseTextHoldsControlBytesAreDroppedAndCounted)
{
    const Bytes sound = Read(file);
    Bytes bytes = sound;
    // Two copies of the first record with a bell in its first name: one
    // whose lengths claim more than it holds (the repair cuts it to fit),
    // then one whole in its shape. Bytes of another file, or junk appended
    // to this one, look like that; as records they would print.
    Bytes copy(sound.begin() + offsets[0], sound.begin() + offsets[1]);
    copy[dbrec::kBodies] = 0x07;
    Bytes claiming = copy;
    claiming[dbrec::kLengths + kFieldCity] = uint8_t(claiming[dbrec::kLengths + kFieldCity] + 9);
    bytes.insert(bytes.end(), claiming.begin(), claiming.end());
    bytes.insert(bytes.end(), copy.begin(), copy.end());
    Write(file, bytes);
    const auto first = Fields(offsets[0]);

    RepairCounts counts;
    EXPECT_EQ(Repair(&counts), 0);
    EXPECT_EQ(Read(file), sound);
    EXPECT_EQ(counts.lost, 2);
    EXPECT_EQ(counts.repaired, 0);
    EXPECT_EQ(Fields(offsets[0]), first);
    EXPECT_NE(capture.lastText().find("Number of lost records: 2"), std::string::npos) << capture.lastText();
}

TEST_F(RepairTest, RecordsAfterALongRunWithoutMarkersAreKept)
{
    // A damaged stretch (here zeros, as a crash can leave them) longer than
    // the largest record separates the first record from the other two.
    Bytes bytes = Read(file);
    const size_t size = bytes.size();
    bytes.insert(bytes.begin() + offsets[1], 3000, 0);
    Write(file, bytes);
    const auto first = Fields(offsets[0]);
    RepairCounts counts;
    EXPECT_EQ(Repair(&counts), 0);
    EXPECT_EQ(counts.lost, 0);
    EXPECT_EQ(Read(file).size(), size);
    EXPECT_EQ(Fields(offsets[0]), first);
    EXPECT_EQ(Fields(offsets[1]).at(kFieldCity), "Z\xFCrich");
    EXPECT_EQ(Fields(offsets[2]).at(kFieldZipCode), SampleFields(3).at(kFieldZipCode));
}

TEST_F(RepairTest, TheRepairedFileKeepsThePermissions)
{
    namespace fs = std::filesystem;
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(file, mode);
    EXPECT_EQ(Repair(nullptr), 0);
    EXPECT_EQ(fs::status(file).permissions(), mode);
}

TEST_F(RepairTest, AWriteErrorLeavesTheFileAsItWas)
{
    Bytes bytes = Read(file);
    bytes[size_t(offsets[0]) + dbrec::kLengths + kFieldCustom6] = 40;
    Write(file, bytes);
    SetDbFaultHook([](DbIoStep step, uint32_t) { return DbFault{step == DbIoStep::Sync ? 5 : 0, 0}; });
    RepairCounts counts;
    EXPECT_EQ(Repair(&counts), 1);
    SetDbFaultHook(nullptr);
    EXPECT_EQ(capture.boxes().at(capture.boxes().size() - 2).text, "I/O Error [5]");
    EXPECT_EQ(Read(file), bytes);
    EXPECT_FALSE(std::filesystem::exists(file + "~"));
}

TEST_F(RepairTest, ANotOpenFileIsRefused)
{
    FileHandle none = kNoFile;
    EXPECT_EQ(RepairDataFile(&none, &path, kDbDataStart, 0), 1);
}

}  // namespace
