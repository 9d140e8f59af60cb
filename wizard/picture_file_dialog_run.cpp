#include "wizard/picture_file_dialog_run.h"

#include <cstring>
#include <memory>

#include <QFileDialog>
#include <QFileInfo>

#include "dialogs/picture_file_dialogs.h"
#include "dialogs/picture_preview_panel.h"

const PictureFilterRow WizardPictureFilterTable[kWizardPictureFilterCount] = {
    {"All Files", "*.*"},
    {"Bitmap", "*.bmp"},
    {"GIF", "*.gif"},
    {"JPEG", "*.jpg;*jff;*jft"},
    {"PCX", "*.pcx"},
    {"TIF", "*.tif"},
    {"Windows Metafile", "*.wmf"},
    {"Photo CD", "*.pcd"},
    {"LEAD", "*.cmp"},
    {"GEM IMAGE", "*.img"},
    {"IBM IOCA", "*.ica"},
    {"Macintosh PICTURE", "*.pct"},
    {"MacPaint", "*.mac"},
    {"Microsoft Paint", "*.msp"},
    {"TGA", "*.tga"},
    {"WinFax", "*.fxs"},
    {"WordPerfect", "*.wpg"},
};

namespace {

// Lives for the whole run of the program, so that the preview switch
// keeps what the user chose.
OpenPictureSettings& Settings()
{
    static OpenPictureSettings settings = [] {
        OpenPictureSettings s = {};
        s.showPreview = 1;
        s.pictureMode = 1;
        return s;
    }();
    return settings;
}

void PutField(char* field, size_t size, const std::string& text)
{
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

QStringList NameFilters()
{
    QStringList filters;
    for (const PictureFilterRow& row : WizardPictureFilterTable) {
        QString pattern = QString::fromLatin1(row.pattern);
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QString::fromLatin1(row.name) + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}

bool AppendPath(const std::string& path, int32_t* count, Handle list)
{
    PathRecord record{};
    if (PathRecordFromPosix(path, &record) != 0)
        return false;
    if (HandleResize(list, uint32_t(*count + 1) * uint32_t(sizeof(PathRecord))) != 0)
        return false;
    HandleData<PathRecord>(list)[*count] = record;
    ++*count;
    return true;
}

}  // namespace

bool PictureImportShowsPreview()
{
    return Settings().showPreview != 0;
}

void ChosenFilesToList(const std::string& folder, const std::vector<std::string>& names, int32_t* count,
                       Handle list)
{
    if (names.empty())
        return;
    if (names.size() == 1) {
        *count = 0;
        HandleResize(list, 0);
        AppendPath(names.front(), count, list);
        return;
    }
    std::string base = folder.empty() ? std::string("/") : folder;
    if (base.back() != '/' && base.back() != '\\')
        base += '/';
    for (const std::string& name : names) {
        if (!AppendPath(base + name, count, list))
            return;
    }
}

int32_t PictureFileDialogRun(QWidget* owner, const char* title, PathRecord start, int32_t* count, Handle list)
{
    OpenPictureSettings& s = Settings();
    const std::string startPath = PathRecordToPosix(start);
    PutField(s.path, sizeof s.path, startPath);

    auto* panel = new PicturePreviewPanel(&s);

    auto dialog = std::make_unique<QFileDialog>(owner);
    dialog->setObjectName(QStringLiteral("pictureImportDialog"));
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setOption(QFileDialog::ReadOnly, true);
    dialog->setWindowTitle(QString::fromLatin1(title));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setNameFilters(NameFilters());
    const QFileInfo startInfo(QString::fromLocal8Bit(startPath.c_str()));
    dialog->setDirectory(startInfo.absolutePath());
    if (!startInfo.fileName().isEmpty())
        dialog->selectFile(startInfo.fileName());
    panel->AttachTo(dialog.get());

    QObject::connect(dialog.get(), &QFileDialog::currentChanged, panel,
                     [panel](const QString& path) { panel->ShowFile(path); });

    int32_t result = 2;
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
        const QStringList files = dialog->selectedFiles();
        std::vector<std::string> names;
        std::string folder;
        if (files.size() == 1) {
            names.push_back(files.first().toLocal8Bit().toStdString());
        } else {
            folder = QFileInfo(files.first()).absolutePath().toLocal8Bit().toStdString();
            for (const QString& file : files)
                names.push_back(QFileInfo(file).fileName().toLocal8Bit().toStdString());
        }
        ChosenFilesToList(folder, names, count, list);
        PutField(s.folder, sizeof s.folder, QFileInfo(files.first()).absolutePath().toLocal8Bit().toStdString());
        result = 1;
    }
    panel->FreePicture();
    return result;
}
