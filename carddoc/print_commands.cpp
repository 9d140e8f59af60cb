#include "carddoc/print_commands.h"

#include "carddoc/labels_doc.h"
#include "carddoc/print_preview_dialog.h"
#include "database/merge_text.h"
#include "database/open_database_registry.h"
#include "dialogs/print_options_dialog.h"
#include "frames/curr_page_mng.h"
#include "frames/page_record_format.h"
#include "platform/command_target.h"

namespace {

// A print flag set for one command; cleared however the command ends.
class FlagFor {
public:
    FlagFor(void (*set)(bool), bool on = true) : set_(set) { set_(on); }
    ~FlagFor() { set_(false); }
    FlagFor(const FlagFor&) = delete;
    FlagFor& operator=(const FlagFor&) = delete;

private:
    void (*set_)(bool);
};

void SetResort(bool on) { SetBulkMailResortFlag(on ? 1 : 0); }

}  // namespace

int32_t PrintFromDatabase(CLabelsDoc* document, QWidget* owner)
{
    const int32_t result = document->PrintDocument(owner);
    SetResort(false);
    return result;
}

int32_t PrintBulkMailLabels(CLabelsDoc* document, QWidget* owner)
{
    FlagFor resort(SetResort);
    return document->PrintDocument(owner);
}

int32_t PrintDefaultCardInfo(CLabelsDoc* document, QWidget* owner)
{
    FlagFor suppressed(SetNoDatabaseFlag);
    FlagFor samples(SetPreviewOnlyMode);
    return document->PrintDocument(owner);
}

int32_t PrintSheetOfDocument(CLabelsDoc* document, QWidget* owner)
{
    if (!GetCurrentDatabaseDoc())
        return PrintDefaultCardInfo(document, owner);
    FlagFor suppressed(SetNoDatabaseFlag);
    return document->PrintDocument(owner);
}

bool EditPrintOptions(CLabelsDoc* document, QWidget* owner)
{
    uint8_t block[kPageGuideBlockSize] = {};
    document->PageManager()->CopyGuideBlock(block, 0);
    CDlgPrintOptions dialog(owner);
    dialog.SetOptions(block);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetOptions(block);
    document->PageManager()->CopyGuideBlock(block, 1);
    document->SetModified(true);
    return true;
}

bool OnCardPrintCommand(CLabelsDoc* document, uint32_t id, QWidget* owner)
{
    switch (id) {
    case kCmdPrintFromDatabase:
        PrintFromDatabase(document, owner);
        return true;
    case kCmdPrintBulkMail:
        PrintBulkMailLabels(document, owner);
        return true;
    case kCmdPrintSheet:
        PrintSheetOfDocument(document, owner);
        return true;
    case kCmdPrintDefaultCardInfo:
        PrintDefaultCardInfo(document, owner);
        return true;
    case kCmdPrintPreview:
        RunPrintPreview(document, owner);
        return true;
    case kCmdPrintOptions:
        EditPrintOptions(document, owner);
        return true;
    default:
        return false;
    }
}

bool OnUpdateCardPrintCommand(CLabelsDoc*, CmdUI& ui)
{
    switch (ui.id) {
    case kCmdPrintFromDatabase:
    case kCmdPrintBulkMail:
        ui.Enable(GetCurrentDataFile() != nullptr);
        return true;
    case kCmdPrintSheet:
    case kCmdPrintDefaultCardInfo:
    case kCmdPrintPreview:
    case kCmdPrintOptions:
        ui.Enable(true);
        return true;
    default:
        return false;
    }
}
