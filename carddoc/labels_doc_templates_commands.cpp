// The Templates menu, the backdrop commands and Change Layout and Design.
// Saving and changing the wizard's stock is for whoever keeps it: those
// commands do nothing unless the program runs in master mode.
#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <cstring>
#include <string>

#include "carddoc/labels_doc.h"
#include "carddoc/layout_wizard_host.h"
#include "carddoc/picture_export.h"
#include "carddoc/picture_problem_alert.h"
#include "carddoc/selection_tool.h"
#include "carddoc/template_name_prompt.h"
#include "catalog/backdrop_list.h"
#include "catalog/doc_setup.h"
#include "catalog/read_backdrop_dib.h"
#include "catalog/template_file.h"
#include "catalog/template_file_format.h"
#include "catalog/template_list.h"
#include "catalog/wizard_data.h"
#include "catalog/wizard_file_io.h"
#include "catalog/wizard_folders.h"
#include "catalog/wizard_list_format.h"
#include "database/field_table.h"
#include "dialogs/file_choosers.h"
#include "foundation/alert_sink.h"
#include "foundation/alerts.h"
#include "foundation/byte_order.h"
#include "foundation/keys.h"
#include "foundation/program_folder.h"
#include "foundation/resfile.h"
#include "foundation/win_error.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_store.h"
#include "frames/page_record_format.h"
#include "platform/file_dialog_run.h"
#include "platform/profile.h"
#include "records/label_stock_format.h"

namespace {

// Where the page options keep the template id of the design in use.
constexpr size_t kPageOptionTemplateAt = 8 * 4;
constexpr size_t kPageOptionBackdropAt = 6 * 4;
constexpr size_t kTemplateNameLength = 64;

// The template file chosen last, for the whole run of the program.
PathRecord& TemplatePath()
{
    static PathRecord path = [] {
        PathRecord r{};
        GetProgramFolder(&r);
        std::strncpy(r.name, "tmpl", sizeof r.name - 1);
        std::strncpy(r.extension, ".tp", sizeof r.extension - 1);
        return r;
    }();
    return path;
}

const FileTypeEntry kTemplateTypes[] = {{"Template files", "*.tp"}};

// The preview of a template: the card as the user sees it, merge fields
// by name, without the backdrop.
int32_t RenderTemplatePreview(CLabelsDoc* doc, Handle* out, uint8_t* lastDisplayFlag)
{
    FrameObj* backdrop = doc->PageManager()->GetBackdropFrame();
    const bool shown = backdrop && backdrop->Block().attr.shown != 0;
    const bool modified = doc->IsModified();
    if (backdrop)
        backdrop->SetShown(0);
    const bool names = SetShowFieldNames(true);
    const uint8_t flag = *lastDisplayFlag;
    *lastDisplayFlag = 1;
    const int32_t result = doc->RenderPicture(doc->PageGeometry().cardWidth, doc->PageGeometry().cardHeight,
                                              kRenderMetafile, false, out);
    *lastDisplayFlag = flag;
    SetShowFieldNames(names);
    // The texts took the fields' names for the picture: they flow again to
    // show what the fields hold.
    doc->Frames()->ReflowHeld(true);
    doc->RefreshView();
    // The render opens the page again: the frame to show is the one
    // loaded now.
    if (shown) {
        if (FrameObj* again = doc->PageManager()->GetBackdropFrame())
            again->SetShown(1);
    }
    doc->SetModified(modified);
    return result;
}

}  // namespace

// ---- writing templates ----

int32_t CLabelsDoc::BuildTemplateParts(const char* name, uint8_t* header, HandleOwner* body, HandleOwner* preview)
{
    body->reset(HandleNew(0));
    preview->reset(HandleNew(0));
    if (!*body || !*preview)
        return kErrNotEnoughMemory;
    SelectTool(kToolObject);
    if (SelectionTool* tool = SelectionToolOf(this))
        tool->DeselectAll(true);
    std::memset(header, 0, kTemplateHeaderSize);
    WizPutName(header + kTemplateNameAt, kTemplateNameSize, name ? name : "");
    PutF64LE(header + kTemplateWidthAt, pageBlock_.cardWidth);
    PutF64LE(header + kTemplateHeightAt, pageBlock_.cardHeight);
    PutU32LE(header + kTemplateKindAt, 5);
    PutU32LE(header + kTemplatePackedAt, 1);
    Handle bodyOut = body->get();
    if (int32_t err = BuildTemplateBody(&bodyOut))
        return err;
    Handle previewOut = preview->get();
    if (RenderTemplatePreview(this, &previewOut, &display_[7]) != 0)
        return kErrGeneralFailure;
    return kErrNone;
}

int32_t CLabelsDoc::WriteTemplateFile(const PathRecord& path, const char* name)
{
    uint8_t header[kTemplateHeaderSize];
    HandleOwner body;
    HandleOwner preview;
    if (int32_t err = BuildTemplateParts(name, header, &body, &preview))
        return err;
    return SaveTemplateFile(&path, header, body.get(), preview.get());
}

static void FillTemplateInfo(const uint8_t* header, const char* name, const PathRecord& file, uint8_t* info)
{
    std::memset(info, 0, kTmInSize);
    std::memcpy(info + kTmInHeaderAt, header + kTemplateVersionAt, kTmInHeaderSize);
    PutU32LE(info + kTmInPictureAt, 0);
    WizPutName(info + kTmInNameAt, kTemplateNameSize, name);
    char fileName[kPathTextSize] = {};
    PathRecordGetFileName(&file, fileName, int32_t(sizeof fileName));
    WizPutName(info + kTmInFileAt, kWizFileNameSize, fileName);
}

int32_t CLabelsDoc::AddTemplateToWizard(const char* name, int32_t* id)
{
    *id = 0;
    uint8_t header[kTemplateHeaderSize];
    HandleOwner body;
    HandleOwner preview;
    if (int32_t err = BuildTemplateParts(name, header, &body, &preview))
        return err;
    PathRecord path{};
    if (int32_t err = WizardFilePath(kWizFolderTemplates, "tmpl.tp", &path))
        return err;
    if (int32_t err = MakeUniqueFileName(&path))
        return err;
    if (int32_t err = SaveTemplateFile(&path, header, body.get(), preview.get()))
        return err;
    uint8_t info[kTmInSize];
    FillTemplateInfo(header, name, path, info);
    int32_t newId = 0;
    if (int32_t err = WriteTemplateInfo(&newId, info)) {
        // A file no record names would never be seen again.
        FileDelete(&path);
        return err;
    }
    *id = newId;
    return kErrNone;
}

int32_t CLabelsDoc::RegisterTemplateDesign(const char* name, int32_t id)
{
    uint8_t options[kPageGuideBlockSize];
    GetPageOptions(options);
    uint8_t record[kDocSetupSize];
    std::memcpy(record, docSetup_, sizeof record);
    std::memcpy(record + kDocSetupBackdropId, options + kPageOptionBackdropAt, 3 * 4);
    DocSetup setup;
    DocSetupDecode(record, &setup);
    WizTemplateEntry entry;
    std::strncpy(entry.name, name, sizeof entry.name - 1);
    entry.templateId = uint32_t(id);
    int32_t err = WizardDataOpen(2);
    if (err == kErrNone)
        err = AddTemplateToWizardTree(setup, entry);
    const int32_t closed = WizardDataClose();
    return err != kErrNone ? err : closed;
}

int32_t CLabelsDoc::ReplaceTemplateInWizard(int32_t id)
{
    uint8_t info[kTmInSize];
    int32_t err = ReadTemplateInfo(id, info);
    if (err == kResNotFound)
        return kTemplateNotInWizard;
    if (err != kErrNone)
        return err;
    PathRecord path{};
    if ((err = TemplateInfoFilePath(info, &path)) != kErrNone)
        return err;
    char name[kTemplateNameLength + 1] = {};
    TemplateInfoName(info, name, int32_t(sizeof name));
    uint8_t header[kTemplateHeaderSize];
    HandleOwner body;
    HandleOwner preview;
    // Everything is made before the old file goes, so that a failure on the
    // way leaves the wizard's template as it was.
    if ((err = BuildTemplateParts(name, header, &body, &preview)) != kErrNone)
        return err;
    if ((err = SaveTemplateFile(&path, header, body.get(), preview.get())) != kErrNone)
        return err;
    std::memcpy(info + kTmInHeaderAt, header + kTemplateVersionAt, kTmInHeaderSize);
    WizPutName(info + kTmInNameAt, kTemplateNameSize, name);
    PutU32LE(info + kTmInPictureAt, 0);
    return WriteTemplateInfo(&id, info);
}

// ---- the Templates menu ----

bool CLabelsDoc::CanSaveTemplate()
{
    for (int16_t i = 0; i < manager_->FrameCount(); ++i) {
        if (FrameObj* frame = manager_->FrameAt(i); frame && !frame->Block().backdrop)
            return true;
    }
    return false;
}

void CLabelsDoc::SaveTemplate(bool toFile, bool toWizard, bool askName, QWidget* parent)
{
    if (!IsMasterMode())
        return;
    SelectTool(kToolObject);
    if (SelectionTool* tool = SelectionToolOf(this))
        tool->DeselectAll(true);
    std::string name;
    int32_t err = kErrNone;
    if (toFile) {
        PathRecord& path = TemplatePath();
        PathRecord chosen = path;
        if (ShowSaveFileDialog(&chosen, "Save Template As:", kTemplateTypes, 1) == 1) {
            err = WriteTemplateFile(chosen, chosen.name);
            if (err == kErrNone) {
                path = chosen;
                name = chosen.name;
            }
        }
    }
    if (err == kErrNone && (toWizard || askName)) {
        if (askName || name.empty()) {
            name = "New_Template";
            if (!AskTemplateName(parent, &name))
                return;
        }
        if (name.size() > kTemplateNameLength)
            name.resize(kTemplateNameLength);
        int32_t id = 0;
        err = AddTemplateToWizard(name.c_str(), &id);
        if (err == kErrNone && askName && id != 0)
            err = RegisterTemplateDesign(name.c_str(), id);
    }
    if (err != kErrNone)
        AlertStop("Error save template", err);
}

void CLabelsDoc::LoadTemplateFromFile(QWidget* /*parent*/)
{
    if (!IsMasterMode())
        return;
    PathRecord chosen = TemplatePath();
    if (ShowOpenFileDialog(&chosen, "Load Template from File", kTemplateTypes, 1) != 1)
        return;
    TemplatePath() = chosen;
    if (int32_t err = LoadTemplateFromPath(chosen))
        AlertStop("Error load template", err);
}

bool CLabelsDoc::CanChangeTemplateInWizard()
{
    uint8_t options[kPageGuideBlockSize];
    GetPageOptions(options);
    return GetU32LE(options + kPageOptionTemplateAt) != 0;
}

static void ShowTemplateChanged(QWidget* parent)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    QWidget* owner = parent ? parent->window() : QApplication::activeWindow();
    QWidget popup(owner, Qt::Tool | Qt::FramelessWindowHint);
    popup.setWindowTitle("Caption");
    popup.resize(175, 60);
    if (owner)
        popup.move(owner->geometry().center() - QPoint(175 / 2, 60 / 2));
    popup.setAutoFillBackground(true);
    QPalette palette = popup.palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    popup.setPalette(palette);
    popup.show();
    {
        QPixmap face(popup.size());
        face.fill(palette.color(QPalette::Button));
        QPainter painter(&face);
        painter.drawText(10, 20 + painter.fontMetrics().ascent(), "Template was changed.");
        painter.end();
        palette.setBrush(QPalette::Window, face);
        popup.setPalette(palette);
    }
    popup.repaint();
    WaitMouseHold(20000);
}

void CLabelsDoc::ChangeTemplateInWizard(QWidget* parent)
{
    if (!IsMasterMode())
        return;
    uint8_t options[kPageGuideBlockSize];
    GetPageOptions(options);
    const int32_t err = ReplaceTemplateInWizard(int32_t(GetU32LE(options + kPageOptionTemplateAt)));
    if (err != kErrNone) {
        std::string text = "Error change Template in Wizard ";
        if (err == kTemplateNotInWizard)
            text += "Template not present in Wizard";
        AlertStop(text.c_str(), err);
        return;
    }
    ShowTemplateChanged(parent);
}

// ---- backdrops ----

bool CLabelsDoc::CanToggleBackdrop(bool* checked)
{
    *checked = false;
    SelectionTool* tool = SelectionToolOf(this);
    FrameObj* backdrop = manager_->GetBackdropFrame();
    const int16_t count = tool && currentTool_ == kToolObject ? tool->GetSelCount() : 0;
    if (count == 1) {
        FrameObj* frame = tool->GetSelFrame(0);
        *checked = frame->Block().backdrop != 0;
        return frame->GetType() == kFrameImage && (!backdrop || backdrop == frame);
    }
    if (count == 0 && backdrop) {
        *checked = true;
        return true;
    }
    return false;
}

void CLabelsDoc::ShowChangedBackdrop(FrameObj* frame)
{
    frame->MarkChanged(1, 0);
    SetModified(true);
    manager_->RedrawCurrentPage(0, 0, 0);
    RefreshView();
}

void CLabelsDoc::ToggleBackdrop()
{
    if (!IsMasterMode())
        return;
    SelectionTool* tool = SelectionToolOf(this);
    FrameObj* frame = nullptr;
    if (tool && currentTool_ == kToolObject && tool->GetSelCount() > 0)
        frame = tool->GetSelFrame(0);
    else
        frame = manager_->GetBackdropFrame();
    if (!frame)
        return;
    const uint8_t becomes = frame->Block().backdrop ? 0 : 1;
    if (becomes && tool)
        tool->DeselectAll(true);
    frame->SetBackdrop(becomes);
    frame->SetUndeletable(becomes);
    frame->SetPinned(becomes);
    if (becomes) {
        IntRect slot;
        GetPageSlotRect(0, &slot);
        frame->SetFromRect(slot);
        frame->SetSelectable(0);
        manager_->MoveFrameTo(frame, 0);
    } else {
        frame->SetSelectable(1);
    }
    frame->Recompute(1);
    ShowChangedBackdrop(frame);
}

void CLabelsDoc::ChangeBackdropPicture(QWidget* parent)
{
    if (!IsMasterMode())
        return;
    PathRecord path{};
    if (!ChooseGraphicsFile(parent, &path))
        return;
    auto* image = dynamic_cast<FrameObjImage*>(GetOrCreateBackdropFrame(true));
    if (!image)
        return;
    image->ReleaseImage(true);
    image->ReleasePreview(true);
    image->LoadFromFile(path, 1);
    TellIfNoPicture(*image, path);
    image->SetFitToFrame(1);
    ShowChangedBackdrop(image);
}

void CLabelsDoc::RegisterBackdropPicture(QWidget* parent)
{
    if (!IsMasterMode())
        return;
    SelectTool(kToolObject);
    if (SelectionTool* tool = SelectionToolOf(this))
        tool->DeselectAll(true);
    PathRecord path{};
    if (!ChooseGraphicsFile(parent, &path))
        return;
    int32_t group = 0;
    int32_t n = 0;
    uint8_t item[kBkItemSize];
    const int32_t err = ReadBackdropFile(&path, nullptr, &group, &n, item);
    if (err != kErrNone)
        AlertStop("Error save template", err);
    else
        AlertNote(" ID = ", group);
}

// The backdrop file chosen last, for the whole run of the program.
static PathRecord& BackdropPath()
{
    static PathRecord path = [] {
        PathRecord r{};
        WizardFolderPath(&r, kWizFolderBackdrops);
        std::strncpy(r.name, "bckp", sizeof r.name - 1);
        // The wizard keeps its backdrop items as ".bp" files.
        std::strncpy(r.extension, ".bp", sizeof r.extension - 1);
        return r;
    }();
    return path;
}

void CLabelsDoc::LoadBackdropFromWizard(QWidget* /*parent*/)
{
    if (!IsMasterMode())
        return;
    static const FileTypeEntry kBackdropTypes[] = {{"Backdrop files", "*.bp"}};
    PathRecord chosen = BackdropPath();
    if (ShowOpenFileDialog(&chosen, "Open backdrop", kBackdropTypes, 1) != 1)
        return;
    BackdropPath() = chosen;
    LoadBackdropFromPath(chosen);
}

int32_t CLabelsDoc::LoadBackdropFromPath(const PathRecord& path)
{
    DibHandle picture = ReadBackdropDib(path);
    if (!picture)
        return 1;
    auto* image = dynamic_cast<FrameObjImage*>(GetOrCreateBackdropFrame(true));
    if (!image) {
        DibHandleFree(&picture);
        return kErrNotEnoughMemory;
    }
    image->ReleaseImage(true);
    image->ReleasePreview(true);
    const int32_t result = image->SetImage(picture, true);
    image->SetFitToFrame(1);
    ShowChangedBackdrop(image);
    return result;
}

// ---- Change Layout and Design ----

void CLabelsDoc::ChangeLayoutAndDesign(QWidget* parent)
{
    uint8_t r[kDocSetupSize];
    std::memcpy(r, docSetup_, sizeof r);
    if (ShowMessageBox("Changing your professional layout or design will not save any changes you have made to "
                       "your current project. Do you wish to continue?",
                       kMbOkCancel | kMbIconQuestion) != kIdOk)
        return;
    // A document the wizard did not make starts the wizard from its own
    // label layout.
    if (GetU32LE(r + kDocSetupFromCategory) == 0)
        std::memcpy(r + kDocSetupLabelType, labelLayout_, kDocSetupLabelTypeSize);
    uint8_t options[kPageGuideBlockSize];
    GetPageOptions(options);
    std::memcpy(r + kDocSetupBackdropId, options + kPageOptionBackdropAt, 3 * 4);
    LayoutWizardHost* wizard = CurrentLayoutWizard();
    if (!wizard || !wizard->RunLayoutWizard(r, parent))
        return;
    ApplyLayoutAndDesign(r, false);
    // The design chosen is the card's now, also where no frame was made or
    // removed for it (no backdrop and no layout chosen): closing must ask.
    SetModified(true);
    RefreshView();
}

void CLabelsDoc::RunWizardSetup(QWidget* parent)
{
    if (!IsMasterMode())
        return;
    if (LayoutWizardHost* wizard = CurrentLayoutWizard())
        wizard->RunWizardSetup(parent);
}

std::string CLabelsDoc::DocumentNameText() const
{
    const char* name = reinterpret_cast<const char*>(labelLayout_);
    return std::string(name, strnlen(name, kLabelTypeNameSize - 1));
}

std::string CLabelsDoc::TemplateNameText()
{
    uint8_t options[kPageGuideBlockSize];
    GetPageOptions(options);
    const uint32_t id = GetU32LE(options + kPageOptionTemplateAt);
    if (id == shownTemplateId_)
        return shownTemplateName_;
    shownTemplateId_ = id;
    shownTemplateName_.clear();
    uint8_t info[kTmInSize];
    if (id != 0 && ReadTemplateInfo(int32_t(id), info) != kErrNone) {
        shownTemplateName_ = "Tmpl is undefined";
    } else if (id != 0) {
        char name[kTemplateNameLength + 1] = {};
        TemplateInfoName(info, name, int32_t(sizeof name));
        shownTemplateName_ = name;
    }
    return shownTemplateName_;
}
