// Writing the current selection to a text file, a piece of text per record
// in the browser's order: what export and the file report share. Nothing
// is written without live records or over an open database; the document
// commits its edits first; the file is written beside the target and
// replaces it when complete, so a file error or a record that cannot be
// read leaves the target as it was; when the user stops, what was written
// so far makes the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "database/card_record.h"
#include "foundation/path_record.h"

class DbDocument;

struct SelectionFileJob {
    // The database message when the selection holds no live record.
    int32_t emptyNote = 0;
    // The string the progress window shows while the records are written.
    int32_t workingString = 0;
    // Runs once the file is begun; false writes no record (the file is
    // still made). May be empty.
    std::function<bool()> prepare;
    // A record's text, appended to out.
    std::function<void(const CardRecord& record, std::string& out)> text;
};

// 1 when a file was written; 0 when there was nothing to write or target
// is an open database (after telling the user); -1 after a file error
// (after the file-error box) or a record that could not be read (after
// the damaged-database message). records counts the records written; aborted
// tells that the user stopped.
int32_t WriteSelectionFile(DbDocument& document, const PathRecord& target, const SelectionFileJob& job,
                           int32_t* records, bool* aborted);
