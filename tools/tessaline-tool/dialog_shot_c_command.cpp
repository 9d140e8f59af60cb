// dialog-shot-c NAME OUT.png: a picture of one of the counter, quick card,
// quick card layout, preferences, and the database export, report and
// import dialogs, filled with sample values, for looking at.

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QHBoxLayout>
#include <QTemporaryDir>

#include "dbdoc/export_report_db_dialogs.h"
#include "dbdoc/import_db_dialog.h"
#include "dbdoc/text_import.h"
#include "dialogs/counter_spec_dialog.h"
#include "dialogs/picture_file_dialogs.h"
#include "dialogs/preferences_dialog.h"
#include "dialogs/quick_card_dialog.h"
#include "dialogs/quick_card_layout_dialog.h"
#include "foundation/byte_order.h"
#include "foundation/path_record.h"
#include "graphics/quick_card_block.h"
#include "graphics/quick_card_format.h"
#include "records/preferences.h"
#include "tool_command.h"
#include "widget_shot.h"

namespace {

Shot Counter()
{
    uint8_t record[kCounterSpecSize] = {};
    std::strcpy(reinterpret_cast<char*>(record + kCounterPrefixOffset), "No. ");
    PutI32LE(record + kCounterStartOffset, 100);
    PutI32LE(record + kCounterStepOffset, 1);
    PutI32LE(record + kCounterRepeatOffset, 2);
    PutI32LE(record + kCounterWidthModeOffset, kCounterPadZeros);
    PutI32LE(record + kCounterWidthOffset, 5);
    auto dialog = std::make_unique<CDlgCounterSpec>();
    dialog->SetRecord(record);
    return {std::move(dialog), {}};
}

Shot QuickCard()
{
    uint8_t settings[kQuickCardSpecSize] = {};
    for (int n : {0, 1, 2, 4, 5, 7, 8, 9})
        PutU32LE(settings + kQcSpecInclude + 4 * n, 1);
    for (int n : {1, 4, 5, 7})
        PutU32LE(settings + kQcSpecNewLine + 4 * n, 1);
    PutU32LE(settings + kQcSpecBarcode, 1);
    auto dialog = std::make_unique<CDlgQuickCard>();
    dialog->SetRecord(settings);
    return {std::move(dialog), {}};
}

Shot QuickCardLayout()
{
    auto item = std::make_shared<QuickCardItem>();
    item->words[2] = 0;
    item->data = QuickCardBlockNew();
    const std::pair<int32_t, bool> fields[] = {{-1, false}, {2, false}, {3, false}, {5, true}, {6, true}, {8, true}, {9, false}, {10, false}};
    for (const auto& [id, newLine] : fields) {
        HandleOwner piece(QuickCardItemNew());
        uint8_t* p = HandleData<uint8_t>(piece.get());
        PutI32LE(p + kQcItemField, id);
        PutU16LE(p + kQcItemNewLine, newLine ? 1 : 0);
        PutU16LE(p + kQcItemSeparator, 1);
        PutI16LE(p + kQcItemFontSize, id == 5 ? 14 : -1);
        PutU16LE(p + kQcItemStyle, id == 5 ? 1 : 0);
        if (id < 0)
            QuickCardItemSetText(piece.get(), "Dear", 4);
        QuickCardBlockAppendItem(item->data, piece.get());
    }
    auto dialog = std::make_unique<CDlgQuickCardLayout>();
    dialog->Init(0, item.get());
    return {std::move(dialog), [item] { QuickCardBlockFree(&item->data); }};
}

Shot Preferences()
{
    uint8_t block[kGeneralPrefsSize] = {};
    DefPrefGeneralDefaults(block);
    PutU32LE(block + kPrefSmartQuotes, 1);
    auto dialog = std::make_unique<CDlgPreferences>();
    dialog->SetRecord(block);
    return {std::move(dialog), {}};
}

Shot ExportDb()
{
    ExportOptions o;
    for (int i = 0; i < kEntryColumnCount; ++i)
        o.order[i] = int16_t(i == 3 ? -(i + 1) : i + 1);
    o.delimiter = kDelimiterComma;
    auto dialog = std::make_unique<CDlgExportDB>();
    dialog->SetRecord(o);
    return {std::move(dialog), {}};
}

Shot ReportDb()
{
    ReportOptions o;
    for (int i = 0; i < kEntryColumnCount; ++i)
        o.order[i] = int16_t(i + 1);
    o.kind = kReportRoster;
    auto dialog = std::make_unique<CDlgReportDB>();
    dialog->SetRecord(o);
    return {std::move(dialog), {}};
}

Shot ImportDb()
{
    auto folder = std::make_shared<QTemporaryDir>();
    const std::string path = folder->path().toStdString() + "/contacts.txt";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fputs("Ann,Lee,Manager,Lee & Co,12 Elm Street,,Boston,MA,02110\r\n", f);
        std::fclose(f);
    }
    auto import = std::make_shared<TextImport>();
    PathRecord record{};
    PathRecordFromPosix(path, &record);
    import->Open(record);
    auto dialog = std::make_unique<CDlgImportDB>();
    dialog->SetData("contacts.txt", "Contacts.dqx", kEntryColumnCount, kDelimiterComma);
    return {std::move(dialog), [folder, import] {}};
}

const std::vector<NamedShot> kShots = {
    {"counter", Counter}, {"quick-card", QuickCard}, {"quick-card-layout", QuickCardLayout},
    {"preferences", Preferences}, {"export-db", ExportDb}, {"report-db", ReportDb}, {"import-db", ImportDb},
};

int RunDialogShotC(const ToolArgs& args) { return RunNamedShot("dialog-shot-c", args, kShots); }

}  // namespace

TESSALINE_TOOL_COMMAND("dialog-shot-c", "dialog-shot-c NAME OUT.png", RunDialogShotC);
