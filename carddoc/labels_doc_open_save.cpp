// Making, opening, saving and closing a card document.
#include <cstring>
#include <string>

#include "carddoc/auto_save.h"
#include "carddoc/card_document_host.h"
#include "carddoc/card_file_error.h"
#include "carddoc/labels_doc.h"
#include "foundation/alerts.h"
#include "foundation/cursors.h"
#include "foundation/file_io.h"
#include "foundation/scoped_wait_cursor.h"
#include "foundation/string_table.h"
#include "foundation/whole_file_writer.h"
#include "foundation/win_error.h"
#include "frames/ctfile_mng.h"
#include "frames/curr_page_mng.h"
#include "records/label_type_builtin.h"
#include "typography/font_table.h"

namespace {

constexpr int32_t kFileMngBase = 450;
constexpr int32_t kMsgReadError = 3;
constexpr int32_t kMsgWriteError = 4;
// Room kept free on the disk beyond the document itself.
constexpr double kSaveReserve = 10000;
// What the frames are marked with after a save: draw everything again.
constexpr uint8_t kFrameStateRedraw = 2;

// The folder of a path, as a record naming its inside.
PathRecord FolderOf(const PathRecord& path)
{
    PathRecord folder = path;
    std::memset(folder.name, 0, sizeof folder.name);
    std::memset(folder.extension, 0, sizeof folder.extension);
    return folder;
}

std::string FileNameOf(const PathRecord& path)
{
    char name[kPathTextSize] = {};
    PathRecordGetFileName(&path, name, 0);
    return name;
}

int32_t ShowFileError(const PathRecord& path, int32_t code) { return ShowCardFileError(FileNameOf(path).c_str(), code); }

// Where a save under path lands: path, or the file its links name.
PathRecord LandingOf(const PathRecord& path)
{
    PathRecord place{};
    return FileWriteLanding(&path, &place) == kErrNone ? place : path;
}

}  // namespace

bool CLabelsDoc::OnNewDocument(const uint8_t* docSetup)
{
    PathRecord folder{};
    CurrentCardDocumentHost().ApplicationFolder(&folder);
    if (swap_->CreateSwapFile(folder) != kErrNone)
        return false;
    if (docSetup) {
        std::memcpy(docSetup_, docSetup, kDocSetupSize);
    } else {
        std::memset(docSetup_, 0, kDocSetupSize);
        GetBuiltinLabelType(docSetup_ + kDocSetupLabelType, 0);
    }
    ApplyDocSetup(docSetup_ + kDocSetupLabelType);
    CreateFirstPages();
    ComputePageSize();
    ComputeMargins();
    ResetPages(pageBlock_.firstPage);
    state_ = kDocStateNew;
    return true;
}

bool CLabelsDoc::OnOpenDocument(const PathRecord& path)
{
    path_ = path;
    ScopedWaitCursor busy;
    const PathRecord folder = FolderOf(path);
    readOnly_ = CheckDirectoryWritable(&folder, 0) != kErrNone;
    diskFull_ = false;
    if (swap_->CreateSwapFile(folder) != kErrNone)
        return false;
    FileHandle file = kNoFile;
    int32_t err = FileOpen(&path, readOnly_ ? kFileRead : kFileReadWrite, &file);
    // A file the user may read but not change opens to be viewed, printed
    // and exported; saving it asks for another name.
    if (err == kErrAccessDenied && !readOnly_) {
        err = FileOpen(&path, kFileRead, &file);
        readOnly_ = err == kErrNone;
    }
    // Refused even to be read: the file is named, as every command names
    // it, and said to be unreadable.
    if (err == kErrAccessDenied) {
        char name[kPathTextSize] = {};
        PathRecordGetFileName(&path, name, 0);
        AlertFileErrorAbout(name, err);
        return false;
    }
    if (err != kErrNone) {
        ShowFileError(path, err);
        return false;
    }
    // The halves of saves that were killed before they finished go as soon
    // as the card is opened again, not only at its next save.
    if (!readOnly_) {
        RemoveStaleTempFiles(&folder, "LQX");
        RemoveKilledWritersFiles(folder);
    }
    const int32_t read = ReadDocumentFile(file);
    if (read != 0) {
        FileClose(file);
        if (read != kReadRefused)
            AlertStopById(kFileMngBase, kMsgReadError, 0);
        return false;
    }
    file_ = file;
    fileSeen_.Take(file_);
    ReadDocWndPref(path_);
    ComputePageSize();
    ComputeMargins();
    ResetPages(pageBlock_.firstPage);
    state_ = kDocStateOpened;
    CurrentCardDocumentHost().AddToRecentFiles(path_);
    return true;
}

bool CLabelsDoc::OnSaveDocument(const PathRecord& path)
{
    // A card saved under a link goes to the file the link names, made
    // beside that file; the link stays.
    PathRecord place{};
    if (const int32_t err = FileWriteLanding(&path, &place); err != kErrNone) {
        ShowFileError(path, err);
        return false;
    }
    const PathRecord folder = FolderOf(place);
    if (CheckDirectoryWritable(&folder, 0) != kErrNone)
        return false;
    const PathRecord held = LandingOf(path_);
    const bool sameFile = file_ != kNoFile && PathRecordEqual(&place, &held);
    // Another file is taken over only when this program could open it for
    // writing: one that another document holds is locked.
    if (!sameFile && FileExists(&place, 0)) {
        FileHandle probe = kNoFile;
        const int32_t err = FileOpen(&place, kFileReadWrite, &probe);
        if (err != kErrNone) {
            ShowFileError(path, err);
            return false;
        }
        FileClose(probe);
    }
    // The old file stays until the new one is complete, so the disk must
    // hold the whole new one beside it.
    if (GetDiskFreeBytes(PathRecordToPosix(folder).c_str()) < double(swap_->GetFileSize()) + kSaveReserve) {
        AlertStop(("Cannot save \"" + FileNameOf(path) + "\": its disk is full. The file is kept as it was.").c_str(), 0);
        return false;
    }
    // The single undo step may keep a copy of a story in the story store;
    // it goes now, so that the copy never reaches the file.
    SetUndoOwner(nullptr);
    const int16_t page = GetCurrentPage();
    if (ClosePages() != 0) {
        ReopenAfterSave(page);
        return false;
    }
    PathRecord written{};
    if (!WriteReplacement(place, &written)) {
        AlertStopById(kFileMngBase, kMsgWriteError, 0);
        ReopenAfterSave(page);
        return false;
    }
    if (!InstallReplacement(written, place, sameFile)) {
        ReopenAfterSave(page);
        return false;
    }
    ReopenAfterSave(page);
    SetModified(false);
    return true;
}

// The card keeps a save of its own rather than ReplaceFileWhole: the new
// file is opened to be read back as it is written, and the two halves fail
// differently for the user (a write error leaves the card as it was; a
// failed replacement must take the card's own file again and name the
// file's error), so the document drives them one at a time.
bool CLabelsDoc::WriteReplacement(const PathRecord& target, PathRecord* written)
{
    const PathRecord folder = FolderOf(target);
    // What earlier saves that never finished left beside it goes first, and
    // the halves of killed prints of it.
    RemoveStaleTempFiles(&folder, "LQX");
    RemoveKilledWritersFiles(folder);
    if (CreateTempFileName(&folder, "LQX", written) != kErrNone)
        return false;
    FileHandle file = kNoFile;
    int32_t err = FileOpen(written, kFileReadWrite, &file);
    if (err == kErrNone) {
        err = WriteDocumentFile(file, kCardKindCode);
        if (err == kErrNone)
            err = FileSync(file);
        const int32_t closed = FileClose(file);
        if (err == kErrNone)
            err = closed;
    }
    if (err != kErrNone) {
        FileDelete(written);
        return false;
    }
    return true;
}

bool CLabelsDoc::InstallReplacement(const PathRecord& written, const PathRecord& target, bool sameFile)
{
    // The file this document holds open cannot be replaced while it is
    // held; it is let go for the replacement and taken again after it.
    if (sameFile) {
        FileClose(file_);
        file_ = kNoFile;
    }
    const int32_t err = FileReplace(&written, &target);
    if (err != kErrNone) {
        FileDelete(&written);
        if (sameFile && FileOpen(&path_, readOnly_ ? kFileRead : kFileReadWrite, &file_) != kErrNone)
            file_ = kNoFile;
        ShowFileError(target, err);
        return false;
    }
    if (!sameFile && file_ != kNoFile) {
        FileClose(file_);
        file_ = kNoFile;
    }
    readOnly_ = false;
    diskFull_ = false;
    if (FileOpen(&target, kFileReadWrite, &file_) != kErrNone)
        file_ = kNoFile;
    fileSeen_.Take(file_);
    return true;
}

void CLabelsDoc::ReopenAfterSave(int16_t page)
{
    OpenPages(page, 1, 1);
    RefreshView();
    manager_->ResetFrameStates(kFrameStateRedraw);
}

void CLabelsDoc::OnCloseDocument()
{
    if (state_ > kDocStateViewed) {
        if (FrameTool* tool = ToolOfKind(currentTool_))
            tool->Deactivate();
        AutoSaveStop(this);
        // A window never shown keeps the record the user's last one left.
        if (!view_ || view_->FrameWindowShown())
            WriteDocWndPref(path_);
    }
}

bool CLabelsDoc::SaveModified()
{
    if (!IsModified())
        return true;
    switch (CurrentCardDocumentHost().AskSaveChanges(Title())) {
    case CardDocumentHost::kSaveYes:
        return DoFileSave();
    case CardDocumentHost::kSaveNo:
        return true;
    case CardDocumentHost::kSaveCancel:
        break;
    }
    return false;
}

bool CLabelsDoc::DoFileSave() { return DoSave(HasPath() ? &path_ : nullptr); }

std::string CLabelsDoc::CannotWriteReason(const PathRecord& target) const
{
    const std::string name = FileNameOf(target);
    PathRecord place{};
    if (const int32_t err = FileWriteLanding(&target, &place); err == kErrCantResolveFilename)
        return "Cannot save \"" + name + "\": it is a link that leads back to itself (its links name each other in a loop).";
    else if (err != kErrNone)
        return "Cannot save \"" + name + "\": it is a link to a file whose name this program can't keep. " +
               FileErrorWords(err);
    // Through a link, what counts is the folder of the file it names.
    const bool linked = !PathRecordEqual(&place, &target);
    const std::string where = linked ? "it is a link to \"" + PathRecordToPosix(place) + "\", and " : std::string();
    const std::string its = linked ? "that file's" : "its";
    const PathRecord folder = FolderOf(place);
    if (const int32_t err = CheckDirectoryWritable(&folder, 0); err == kErrWriteProtect)
        return "Cannot save \"" + name + "\": " + where + "the disk it is on is read-only.";
    else if (err == kErrPathNotFound)
        return "Cannot save \"" + name + "\": " + where + "the folder \"" + PathRecordToPosix(folder) +
               "\" that it goes to does not exist.";
    else if (err != kErrNone)
        return "Cannot save \"" + name + "\": " + where + "you don't have permission to write in " + its + " folder.";
    if (diskFull_ && file_ != kNoFile && PathRecordEqual(&target, &path_))
        return std::string("Cannot save \"") + name + "\": its disk is full.";
    if (readOnly_ && file_ != kNoFile && PathRecordEqual(&target, &path_))
        return std::string("Cannot save \"") + name + "\": the file is read-only.";
    return {};
}

bool CLabelsDoc::ChangedElsewhere(const PathRecord& target) const
{
    return file_ != kNoFile && PathRecordEqual(&target, &path_) && !fileSeen_.Matches(FileHostPath(&path_));
}

bool CLabelsDoc::DoSave(const PathRecord* path)
{
    PathRecord target{};
    bool choose = path == nullptr;
    if (path) {
        target = *path;
    } else {
        target = path_;
        if (!HasPath()) {
            std::strncpy(target.name, Title().c_str(), sizeof target.name - 1);
            std::strncpy(target.extension, ".lqx", sizeof target.extension - 1);
        }
    }
    // A place the user may not write to is said as such, and another name
    // is offered, until one can be written or the user gives up.
    for (;;) {
        if (choose && !CurrentCardDocumentHost().ChooseSavePath(Title(), &target))
            return false;
        const std::string why = CannotWriteReason(target);
        if (why.empty() && ChangedElsewhere(target)) {
            char name[kPathTextSize] = {};
            PathRecordGetFileName(&target, name, 0);
            const std::string changed = std::string("\"") + name +
                                        "\" has been changed by another program since it was opened or saved here: "
                                        "saving over it would lose what that program put there.";
            if (AlertConfirm((changed + "\n\nSave this card under another name?").c_str(), 0) == 1) {
                choose = true;
                continue;
            }
            if (AlertConfirm((std::string("Replace the other program's \"") + name + "\" with this card?").c_str(),
                             0) != 1)
                return false;
            break;
        }
        if (why.empty())
            break;
        if (AlertConfirm((why + "\nSave it under another name?").c_str(), 0) != 1)
            return false;
        choose = true;
    }
    if (!OnSaveDocument(target))
        return false;
    SetPathName(target);
    CurrentCardDocumentHost().AddToRecentFiles(path_);
    return true;
}

void CLabelsDoc::InitialUpdate()
{
    if (state_ == kDocStateNew) {
        fonts_->AddDefaultFont();
        ApplyPreferences(false);
        OpenPages(pageBlock_.firstPage, 1, 1);
        SetModified(false);
        SelectTool(kToolObject);
        // The set-up the document was made from brings its template,
        // backdrop and field formats once the first page is open.
        uint8_t setup[kDocSetupSize];
        std::memcpy(setup, docSetup_, sizeof setup);
        ApplyLayoutAndDesign(setup, true);
        SetModified(false);
    } else if (state_ == kDocStateOpened) {
        fonts_->CheckInstalledFonts();
        // The user chooses what stands in for the fonts this computer
        // lacks before the pages are drawn with them.
        if (fonts_->ReplacesAnyFace())
            CurrentCardDocumentHost().ChooseFontReplacements(fonts_.get(), ViewWidget());
        ApplyPreferences(false);
        if (ApplyDocWndPref() != 0)
            OpenPages(pageBlock_.firstPage, 1, 1);
        SetModified(false);
        SelectTool(kToolObject);
        InstallFieldFormats(docSetup_);
        ComputeMargins();
        UpdatePageBar();
    }
    state_ = int16_t(state_ + kDocStateViewed);
}
