// CDBDocument: the commands of the File menu that move records between the
// database and other files: text import and export, the file and printed
// reports, merge and split. Each asks its dialog and its file, then hands
// the work to the command of the document without windows.

#include <cstdio>
#include <cstring>
#include <string>

#include <QApplication>

#include "database/database_messages.h"
#include "database/output_names.h"
#include "dbdoc/cdb_document.h"
#include "dbdoc/database_merge.h"
#include "dbdoc/database_report.h"
#include "dbdoc/database_split.h"
#include "dbdoc/export_report_db_dialogs.h"
#include "dbdoc/import_db_dialog.h"
#include "dbdoc/report_print_job.h"
#include "dbdoc/text_export.h"
#include "dbdoc/text_import.h"
#include "foundation/alert_sink.h"
#include "foundation/alerts.h"
#include "foundation/string_table.h"
#include "platform/file_dialog_run.h"

namespace {

// Titles of the file dialogs (strings of the string table).
constexpr int32_t kStringMergeTitle = 215;
constexpr int32_t kStringSplitTitle = 219;
constexpr int32_t kStringExportTitle = 222;
constexpr int32_t kStringTabularReportTitle = 224;
constexpr int32_t kStringRosterReportTitle = 225;
constexpr int32_t kStringImportTitle = 229;

// Database messages.
constexpr int32_t kNoteNothingToSplit = 18;
constexpr int32_t kNoteNothingToExport = 20;
constexpr int32_t kNoteNothingToReport = 23;

// Files of comma-separated values carry their own extension; they are text
// files all the same.
constexpr FileTypeEntry kTextFiles[] = {
    {"Text Files", "*.txt;*.csv;*.tsv;*.tab"},
    {"All Files", "*.*"},
};
constexpr FileTypeEntry kReportFiles[] = {
    {"Text Files", "*.txt"},
    {"All Files", "*.*"},
};
constexpr FileTypeEntry kExportFiles[] = {
    {"Export Files", "*.txt"},
    {"All Files", "*.*"},
};
constexpr FileTypeEntry kDatabaseFiles[] = {
    {"Database", "*.dqx"},
};

QWidget* DialogParent() { return QApplication::activeWindow(); }

const char* Title(int32_t id)
{
    const char* text = LookupString(id);
    return text ? text : "";
}

// The database's folder, for the open dialogs.
PathRecord DatabaseFolder(const PathRecord& database)
{
    PathRecord folder = database;
    folder.name[0] = 0;
    folder.extension[0] = 0;
    return folder;
}

// The file an import or a merge reads, from the database's folder. Both
// add records, which bulk-mail mode refuses with a beep.
bool ChooseSource(const DbDocument& document, int32_t title, const char* extension, const FileTypeEntry* types,
                  int32_t count, PathRecord* source)
{
    if (document.InBulkMailMode()) {
        MessageBeep(0);
        return false;
    }
    *source = DatabaseFolder(document.Path());
    std::strcpy(source->extension, extension);
    return ShowOpenFileDialog(source, Title(title), types, count) != 0;
}

std::string FileName(const PathRecord& path)
{
    char name[256] = {};
    PathRecordGetFileName(&path, name, sizeof name);
    return name;
}

}  // namespace

void CDBDocument::OnFileImportDatabase()
{
    PathRecord source;
    if (!ChooseSource(*this, kStringImportTitle, ".txt", kTextFiles, 2, &source))
        return;
    TextImport import;
    if (!import.Open(source))
        return;
    CDlgImportDB dialog(DialogParent());
    dialog.SetData(FileName(source), FileName(Path()), kEntryColumnCount, import.GuessedDelimiter());
    if (dialog.DoModal() != 1)
        return;
    TextImportResult result;
    import.Run(*this, dialog.Record(), &result);
    // An import taken back may have left an index the disk refused: the
    // list is then built again from the records as they are.
    if (result.failed && Data().Index().Failed())
        RebuildSelection(kPassBuild);
    // After a failure only the failure is said: nothing was stored.
    if (const std::string note = ImportNoteText(result); !result.failed && !note.empty())
        AlertNote(note.c_str(), 0);
}

void CDBDocument::OnFileExportDatabase()
{
    if (Data().GetLiveCount() <= 0) {
        DatabaseNote(kNoteNothingToExport);
        return;
    }
    CDlgExportDB dialog(DialogParent());
    dialog.SetRecord(LoadExportOptions(Header()));
    if (dialog.DoModal() != 1)
        return;
    const ExportOptions options = dialog.Record();
    StoreExportOptions(options, Header());
    PathRecord target = DefaultOutputName(Path(), kExportSuffix, ".txt");
    if (!ShowSaveFileDialog(&target, Title(kStringExportTitle), kExportFiles, 2))
        return;
    TextExportResult result;
    if (ExportRecords(*this, target, &result) == 1 && result.ambiguous > 0) {
        // Read back, such a field would be split at its separator.
        char text[256];
        std::snprintf(text, sizeof text,
                      "%d fields hold the delimiter itself and will not read back as one field. "
                      "\"Double Quotes AND Comma\" keeps them whole.",
                      int(result.ambiguous));
        AlertNote(text, 0);
    }
}

bool CDBDocument::AskReport(ReportOptions* options)
{
    if (Data().GetLiveCount() <= 0) {
        DatabaseNote(kNoteNothingToReport);
        return false;
    }
    CDlgReportDB dialog(DialogParent());
    dialog.SetRecord(LoadReportOptions(Header()));
    if (dialog.DoModal() != 1)
        return false;
    *options = dialog.Record();
    StoreReportOrder(*options, Header());
    return true;
}

void CDBDocument::OnFileExportReport()
{
    ReportOptions options;
    if (!AskReport(&options))
        return;
    PathRecord target = DefaultReportName(Path(), options.kind);
    const int32_t title = options.kind == kReportRoster ? kStringRosterReportTitle : kStringTabularReportTitle;
    if (!ShowSaveFileDialog(&target, Title(title), kReportFiles, 2))
        return;
    ReportResult result;
    ExportReport(*this, options, target, &result);
}

void CDBDocument::OnFilePrintReport()
{
    ReportOptions options;
    if (!AskReport(&options))
        return;
    PrintDatabaseReport(DialogParent(), *this, options);
}

void CDBDocument::OnFilePrintBulkMail()
{
    // The report follows only a bulk-mail order that was applied.
    if (SortRecords(2, -1) == 0)
        OnFilePrintReport();
}

void CDBDocument::OnFileMergeDatabase()
{
    PathRecord source;
    if (!ChooseSource(*this, kStringMergeTitle, ".dqx", kDatabaseFiles, 1, &source))
        return;
    MergeResult result;
    MergeDatabase(*this, source, &result);
    // As after an import taken back.
    if (result.failed && Data().Index().Failed())
        RebuildSelection(kPassBuild);
}

void CDBDocument::OnFileSplitDatabase()
{
    if (Data().GetLiveCount() <= 0) {
        DatabaseNote(kNoteNothingToSplit);
        return;
    }
    PathRecord target = DefaultOutputName(Path(), kSplitSuffix, ".dqx");
    if (!ShowSaveFileDialog(&target, Title(kStringSplitTitle), kDatabaseFiles, 1))
        return;
    SplitResult result;
    SplitDatabase(*this, target, &result);
}
