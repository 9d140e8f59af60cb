#include "dialogs/file_choosers.h"

#include <cstring>

#include <QFileDialog>

#include "dialogs/picture_file_dialogs.h"
#include "foundation/file_io.h"
#include "foundation/win_error.h"

namespace {

// The chooser's own block, so that its folder and last file persist from
// one choice to the next.
OpenPictureSettings g_graphics = {};
std::string g_lastPicture;

void PutText(char* field, size_t size, const std::string& text)
{
    std::memset(field, 0, size);
    std::strncpy(field, text.c_str(), size - 1);
}

}  // namespace

bool ChooseGraphicsFile(QWidget* parent, PathRecord* out)
{
    PutText(g_graphics.title, sizeof g_graphics.title, "Select graphics file");
    g_graphics.pictureMode = 1;
    if (RunOpenPictureDialog(parent, &g_graphics) != 1)
        return false;
    PathRecord chosen{};
    if (PathRecordFromPosix(g_graphics.path, &chosen) != 0)
        return false;
    *out = chosen;
    g_lastPicture = g_graphics.path;
    return true;
}

std::string LastPicturePath() { return g_lastPicture; }

int32_t ReadWholeFile(const PathRecord& path, Handle* out)
{
    *out = nullptr;
    FileHandle file = kNoFile;
    int32_t error = FileOpen(&path, kFileRead, &file);
    if (error != kErrNone)
        return error;
    uint32_t size = 0;
    error = FileGetSize(file, &size);
    Handle data = nullptr;
    if (error == kErrNone) {
        data = HandleNew(int32_t(size));
        if (!data)
            error = kErrNotEnoughMemory;
    }
    if (error == kErrNone && size > 0)
        error = FileRead(file, HandleData<uint8_t>(data), size);
    FileClose(file);
    if (error != kErrNone) {
        HandleFree(data);
        return error;
    }
    *out = data;
    return kErrNone;
}

int32_t ChooseTextFile(QWidget* parent, Handle* out, std::string* name)
{
    *out = nullptr;
    QFileDialog dialog(parent, QStringLiteral("Select text file"));
    dialog.setObjectName(QStringLiteral("textFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("All Files (*.*)"), QStringLiteral("Text Files(*.txt)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return kErrNone;
    PathRecord path{};
    if (PathRecordFromPosix(dialog.selectedFiles().first().toLocal8Bit().toStdString(), &path) != 0)
        return kErrPathNotFound;
    if (name) {
        char text[kPathTextSize] = {};
        PathRecordGetFileName(&path, text, sizeof text);
        *name = text;
    }
    return ReadWholeFile(path, out);
}
