// What a user reopening a database after a fault finds, for the fault
// tests to compare with what was committed.
#pragma once

#include <set>
#include <string>

#include "database/database_session.h"
#include "database/db_test_util.h"
#include "foundation/path_record.h"
#include "support/alert_capture.h"

using Records = std::multiset<std::string>;

// The records as texts; a repair asked for is accepted and shows in the
// result, as does a record that cannot be read or a file that does not
// open.
inline Records Reopened(const PathRecord& path)
{
    AlertCapture alerts;
    Records records;
    DatabaseSession db;
    if (!db.Open(path))
        return {"(does not open)"};
    for (int32_t p = 0; p < db.Data().GetLiveCount(); ++p) {
        if (db.Data().GotoRecord(p, false, true) < 0) {
            records.insert("(unreadable)");
            break;
        }
        records.insert(RecordText(db.Data().Current()));
    }
    db.Close();
    for (const AlertCapture::Box& box : alerts.boxes()) {
        if (box.text.find("damaged") != std::string::npos)
            records.insert("(asked to repair)");
    }
    return records;
}
