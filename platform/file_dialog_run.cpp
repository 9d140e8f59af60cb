#include "platform/file_dialog_run.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

#include "foundation/cp1252.h"
#include "foundation/file_io.h"

int32_t FileDialogRun(int32_t open, PathRecord* record, const char* title, const FileTypeEntry* types, int32_t count)
{
    if (!record || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return 0;
    const FileDialogSetup setup = MakeFileDialogSetup(open, *record, types, count);

    QString caption = title && *title ? Cp1252ToQString(title) : QString();
    if (caption.isEmpty())
        caption = open ? QStringLiteral("Open") : QStringLiteral("Save As");
    QFileDialog dialog(QApplication::activeWindow(), caption);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!setup.folder.isEmpty())
        dialog.setDirectory(setup.folder);
    dialog.setNameFilter(setup.filter);
    dialog.setDefaultSuffix(setup.defaultSuffix);
    if (!setup.fileName.isEmpty())
        dialog.selectFile(setup.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return 0;

    PathRecord result;
    if (const int32_t error = PathRecordFromPosix(chosen.first().toStdString(), &result)) {
        // A name the record cannot hold: better said now than found later
        // as a file that will not open.
        AlertFileError(error);
        return 0;
    }
    *record = result;
    return 1;
}

int32_t ShowOpenFileDialog(PathRecord* record, const char* title, const FileTypeEntry* types, int32_t count)
{
    return FileDialogRun(1, record, title, types, count);
}

int32_t ShowSaveFileDialog(PathRecord* record, const char* title, const FileTypeEntry* types, int32_t count)
{
    return FileDialogRun(0, record, title, types, count);
}
