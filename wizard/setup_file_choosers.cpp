#include "wizard/setup_file_choosers.h"

#include <cstring>

#include <QFileDialog>

#include "dialogs/picture_file_dialogs.h"

namespace {

TemplateChooserHook g_templateHook = nullptr;
PictureChooserHook g_pictureHook = nullptr;

}  // namespace

bool ChooseTemplateFiles(QWidget* parent, const char* title, const std::string& folder, bool multiple,
                         std::vector<std::string>* paths)
{
    paths->clear();
    if (g_templateHook)
        return g_templateHook(title, multiple, paths) && !paths->empty();
    QFileDialog dialog(parent, QString::fromLatin1(title), QString::fromLocal8Bit(folder.c_str()),
                       QStringLiteral("Template Files (*.tp);;All Files (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (const QString& file : dialog.selectedFiles())
        paths->push_back(file.toLocal8Bit().toStdString());
    return !paths->empty();
}

bool ChooseSetupPicture(QWidget* parent, OpenPictureSettings* settings, std::string* path)
{
    if (g_pictureHook) {
        if (!g_pictureHook(path))
            return false;
    } else {
        if (RunOpenPictureDialog(parent, settings) != 1)
            return false;
        *path = std::string(settings->path, strnlen(settings->path, sizeof settings->path));
    }
    return !path->empty();
}

TemplateChooserHook SetTemplateChooserHook(TemplateChooserHook hook)
{
    TemplateChooserHook previous = g_templateHook;
    g_templateHook = hook;
    return previous;
}

PictureChooserHook SetPictureChooserHook(PictureChooserHook hook)
{
    PictureChooserHook previous = g_pictureHook;
    g_pictureHook = hook;
    return previous;
}
