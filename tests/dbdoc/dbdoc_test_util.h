// Databases for the database document tests: documents made in a temporary
// folder, the records they hold as texts, and a host that stops a pass.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "database/db_document.h"
#include "database/db_host.h"
#include "database/db_test_util.h"
#include "database/record_file_format.h"
#include "foundation/byte_order.h"
#include "support/alert_capture.h"
#include "support/temp_dir.h"

// A document that records what the commands ask of the views.
class TestDocument : public DbDocument {
public:
    void CommitEdits() override { ++commits; }
    void RecordsAppended(int32_t count) override { appended += count; }
    int32_t SortRecords(int32_t mode) override
    {
        sortModes.push_back(mode);
        return 7;
    }
    int32_t commits = 0;
    int32_t appended = 0;
    std::vector<int32_t> sortModes;
};

// The 21 column fields of a record joined by '|'.
inline std::string ColumnsText(const CardRecord& record)
{
    std::string text;
    for (int32_t column = 0; column < kEntryColumnCount; ++column) {
        const int32_t id = FieldIdByIndex(column);
        text.append(reinterpret_cast<const char*>(record.FieldBody(id)), record.GetFieldLength(id));
        text += '|';
    }
    return text;
}

// Every record of the selection in browser order.
inline std::vector<std::string> SelectionTexts(DataFile& data)
{
    std::vector<std::string> out;
    for (int32_t p = 0; p < data.GetLiveCount(); ++p) {
        if (data.GotoRecord(p, false, true) < 0)
            break;
        out.push_back(ColumnsText(data.Current()));
    }
    return out;
}

inline std::multiset<std::string> AsSet(const std::vector<std::string>& texts)
{
    return {texts.begin(), texts.end()};
}

// Every live record of a database file, opened on its own.
inline std::multiset<std::string> FileRecords(const PathRecord& path)
{
    DatabaseSession db;
    if (!db.Open(path))
        return {};
    std::multiset<std::string> records = AsSet(SelectionTexts(db.Data()));
    db.CloseUnchanged();
    return records;
}

// Stops the running pass once it has taken `steps` steps.
class StoppingHost : public DbHost {
public:
    explicit StoppingHost(int32_t steps) : steps_(steps) { previous_ = SetDbHost(this); }
    ~StoppingHost() override { SetDbHost(previous_); }
    void ProgressOpen(const std::string&, const std::string& operation, int32_t, int32_t) override
    {
        operations.push_back(operation);
        taken_ = 0;
    }
    void ProgressStep(int32_t) override { ++taken_; }
    bool AbortRequested() override { return taken_ >= steps_; }
    std::vector<std::string> operations;

private:
    DbHost* previous_;
    int32_t steps_;
    int32_t taken_ = 0;
};

class DbDocTest : public ::testing::Test {
protected:
    PathRecord Path(const std::string& name) { return DbPath(dir.file(name)); }

    // A new database document holding the given records (field id, text).
    std::unique_ptr<TestDocument> Make(const std::string& name,
                                       const std::vector<std::map<int32_t, std::string>>& records)
    {
        auto document = std::make_unique<TestDocument>();
        EXPECT_TRUE(document->New(Path(name)));
        for (const auto& fields : records) {
            FillCurrent(document->Data(), fields);
            EXPECT_GE(document->Data().AddRecord(false, true), 0);
        }
        return document;
    }
    std::unique_ptr<TestDocument> MakeSamples(const std::string& name, int count)
    {
        std::vector<std::map<int32_t, std::string>> records;
        for (int n = 0; n < count; ++n)
            records.push_back(SampleFields(n));
        return Make(name, records);
    }

    // Selects the records whose field starts with value.
    static void Query(DbDocument& document, int32_t field, const char* value)
    {
        uint8_t* header = document.Header();
        PutU16LE(header + dbh::kQueryField, uint16_t(field));
        header[dbh::kQueryOperator] = 0;
        std::memset(header + dbh::kQueryValue, 0, dbh::kQueryValueSize);
        std::strcpy(reinterpret_cast<char*>(header + dbh::kQueryValue), value);
        PutU16LE(header + dbh::kActiveCriteria, 3);
        document.RebuildSelection();
    }

    TempDir dir;
    AlertCapture capture;
};
