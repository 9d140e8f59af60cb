#include "dialogs/picture_file_dialogs.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/numeric_edit.h"
#include "dialogs/object_dialog_kit.h"
#include "dialogs/picture_preview_panel.h"
#include "dialogs/spin_steps.h"
#include "foundation/units.h"
#include "graphics/dib_derived.h"
#include "graphics/imaging_formats.h"
#include "graphics/picture_writers.h"
#include "platform/dc.h"

const ExportFormatRow ExportFormatTable[kExportFormatCount] = {
    {"Bitmap", "*.bmp", "bmp", kImagingBmp, false},
    {"GIF", "*.gif", "gif", kImagingGif, false},
    {"JPEG", "*.jpg", "jpg", kImagingJpeg, false},
    {"PCX", "*.pcx", "pcx", kImagingPcx, false},
    {"TIF", "*.tif", "tif", kImagingTiff, false},
    {"Windows Metafile", "*.wmf", "wmf", kImagingWindowsMetafile, false},
    {"Enhanced Metafile", "*.emf", "emf", kImagingWindowsMetafile, false},
    {"PostScript Raster", "*.eps", "eps", kImagingPostScript, false},
    {"Macintosh PICTURE", "*.pct", "pct", kImagingMacPict, true},
    {"Microsoft Paint", "*.msp", "msp", kImagingMsPaint, true},
    {"Sun Raster", "*.ras", "ras", kImagingSunRaster, false},
    {"TGA", "*.tga", "tga", kImagingTga, false},
    {"WinFax", "*.fxs", "fxs", kImagingWinFax, true},
    {"LEAD", "*.cmp", "cmp", kImagingLead, false},
    {"CALS", "*.cal", "cal", kImagingCals, true},
    {"GEM IMAGE", "*.img", "img", kImagingGemImage, true},
    {"IBM IOCA", "*.ica", "ica", kImagingIoca, true},
    {"WordPerfect", "*.wpg", "wpg", kImagingWordPerfect, false},
};

const PictureFilterRow PictureFilterTable[kPictureFilterCount] = {
    {"All Files", "*.*"},
    {"Bitmap", "*.bmp"},
    {"LEAD", "*.cmp"},
    {"CALS", "*.cal"},
    {"GEM IMAGE", "*.img"},
    {"GIF", "*.gif"},
    {"IBM IOCA", "*.ica"},
    {"JPEG", "*.jpg;*jff;*jft"},
    {"Macintosh PICTURE", "*.pct"},
    {"MacPaint", "*.mac"},
    {"Microsoft Paint", "*.msp"},
    {"Photo CD", "*.pcd"},
    {"PCX", "*.pcx"},
    {"PostScript Raster", "*.eps"},
    {"Sun Raster", "*.ras"},
    {"TGA", "*.tga"},
    {"TIF", "*.tif"},
    {"Windows Metafile", "*.wmf;*.emf"},
    {"WinFax", "*.fxs"},
    {"WordPerfect", "*.wpg"},
};

const PictureFilterRow DocumentFilterTable[kDocumentFilterCount] = {
    {"All Files", "*.*"},
    {"Tessaline Documents", "*.lqx"},
};

bool ExportRowIsMetafile(int32_t row) { return row == 6 || row == 7; }

bool ExportRowIsWritable(int32_t row)
{
    if (row < 1 || row > kExportFormatCount)
        return false;
    if (ExportRowIsMetafile(row))
        return true;
    const int32_t code = ExportFormatTable[row - 1].formatCode;
    return OwnPictureWriter(code) != nullptr || !ImagingWriterName(code).empty();
}

int32_t ExportTargetFor(const std::string& typed, int32_t chosenRow, std::string* target)
{
    if (!ExportRowIsWritable(chosenRow))
        chosenRow = 1;
    *target = typed;
    const size_t slash = typed.find_last_of('/');
    const size_t dot = typed.find_last_of('.');
    const bool named = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    if (named) {
        std::string extension = QString::fromStdString(typed.substr(dot + 1)).toLower().toStdString();
        if (extension == "jpeg")
            extension = "jpg";
        else if (extension == "tiff")
            extension = "tif";
        // The chosen row first: Windows and Enhanced Metafile share none.
        if (extension == ExportFormatTable[chosenRow - 1].extension)
            return chosenRow;
        for (int32_t row = 1; row <= kExportFormatCount; ++row) {
            if (ExportRowIsWritable(row) && extension == ExportFormatTable[row - 1].extension)
                return row;
        }
    }
    *target += std::string(".") + ExportFormatTable[chosenRow - 1].extension;
    return chosenRow;
}

void BuildFilterString(const PictureFilterRow* rows, int32_t count, char* buffer)
{
    std::memset(buffer, 0, kFilterBufferSize);
    size_t at = 0;
    for (int32_t i = 0; i < count; ++i) {
        const std::string entry = std::string(rows[i].name) + " (" + rows[i].pattern + ")";
        const std::string pattern = rows[i].pattern;
        // Two terminators of the entry and the list's own final one.
        if (at + entry.size() + pattern.size() + 3 > kFilterBufferSize)
            break;
        std::memcpy(buffer + at, entry.data(), entry.size());
        at += entry.size() + 1;
        std::memcpy(buffer + at, pattern.data(), pattern.size());
        at += pattern.size() + 1;
    }
}

namespace {

// The desktop dialog's filters, in the same order as the buffer's rows.
QStringList NameFilters(const PictureFilterRow* rows, int32_t count)
{
    QStringList filters;
    for (int32_t i = 0; i < count; ++i) {
        QString pattern = QString::fromLatin1(rows[i].pattern);
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QString::fromLatin1(rows[i].name) + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}

QString Field(const char* text, size_t size) { return QString::fromLocal8Bit(text, int(strnlen(text, size))); }

void PutField(char* field, size_t size, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::memset(field, 0, size);
    std::memcpy(field, bytes.constData(), std::min(size_t(bytes.size()), size - 1));
}

// The file dialog with our panel at its right, each file name shown
// without its folder.
QFileDialog* MakeFileDialog(QWidget* owner, const char* title, const char* folder, const char* path,
                            QWidget* panel)
{
    auto* dialog = new QFileDialog(owner);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setWindowTitle(Field(title, 256));
    dialog->setDirectory(Field(folder, 260));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout()))
        grid->addWidget(panel, 0, grid->columnCount(), grid->rowCount(), 1);
    const QString previous = Field(path, 260);
    if (!previous.isEmpty())
        dialog->selectFile(QFileInfo(previous).fileName());
    return dialog;
}

OpenPictureSettings g_open = {};
ExportPictureSettings g_export = {};
// What the export dialog shows between runs: the unit in use (shown value =
// points x factor) and width / height.
double g_unitFactor = 1.0;
double g_aspect = 1.0;

}  // namespace

// --- Open -------------------------------------------------------------------

int32_t RunOpenPictureDialog(QWidget* owner, OpenPictureSettings* settings)
{
    if (settings)
        g_open = *settings;
    OpenPictureSettings& s = g_open;
    auto* panel = new PicturePreviewPanel(&s);

    std::unique_ptr<QFileDialog> dialog(MakeFileDialog(owner, s.title, s.folder, s.path, panel));
    dialog->setObjectName(QStringLiteral("openPictureDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(s.pictureMode ? NameFilters(PictureFilterTable, kPictureFilterCount)
                                         : NameFilters(DocumentFilterTable, kDocumentFilterCount));
    QObject::connect(dialog.get(), &QFileDialog::currentChanged, panel, [panel, d = dialog.get()](const QString& path) {
        PutField(g_open.folder, sizeof g_open.folder, d->directory().absolutePath());
        panel->ShowFile(path);
    });
    QObject::connect(dialog.get(), &QFileDialog::directoryEntered, panel, [panel](const QString& folder) {
        PutField(g_open.folder, sizeof g_open.folder, folder);
        panel->Redraw();
    });

    int32_t result = 2;
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
        PutField(s.path, sizeof s.path, dialog->selectedFiles().first());
        result = 1;
    }
    panel->FreePicture();
    if (settings)
        *settings = s;
    return result;
}

// --- Export -----------------------------------------------------------------

CDibPreviewWnd::CDibPreviewWnd(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Dib Preview"));
    setObjectName(QStringLiteral("dibPreview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CDibPreviewWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintWithDc(&painter, rect(), [this](Dc* dc, const IntRect& client) { Draw(dc, client); });
}

void CDibPreviewWnd::Draw(Dc* dc, const IntRect& client) const
{
    const DibHandle picture = picture_ ? *picture_ : nullptr;
    if (!picture || DibHandleIsEmpty(picture) || DibHandleWidth(picture) <= 0 || DibHandleHeight(picture) <= 0) {
        dc->fillRect(client, Brush::Solid(PaletteColour(this, QPalette::Base)));
        return;
    }
    dc->fillRect(client, Brush::Solid(PaletteColour(this, QPalette::Button)));
    const int32_t cw = client.right - client.left;
    const int32_t ch = client.bottom - client.top;
    const int32_t pw = DibHandleWidth(picture);
    const int32_t ph = DibHandleHeight(picture);
    const double scale = std::min(double(cw) / pw, double(ch) / ph);
    const int32_t dw = int32_t(pw * scale);
    const int32_t dh = int32_t(ph * scale);
    IntRect dest{client.left + (cw - dw) / 2, client.top + (ch - dh) / 2, 0, 0};
    dest.right = dest.left + dw;
    dest.bottom = dest.top + dh;
    dest = IntRect{dest.left + 2, dest.top + 2, dest.right - 2, dest.bottom - 2};
    if (dest.right <= dest.left || dest.bottom <= dest.top)
        return;
    const DibRecord* r = DibHandleBlockSlot(picture);
    dc->stretchDIBits(dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, 0, pw, ph, r->bits,
                      r->block, SRCCOPY);
    dc->frameRect(dest, Brush::Solid(kBlack));
}

namespace {

// The export dialog's panel and what it does.
class ExportPanel : public QWidget {
public:
    ExportPanel(ExportPictureSettings* settings, DibHandle source, DibHandle working)
        : settings_(settings), source_(source), working_(working)
    {
        preview_ = new CDibPreviewWnd(this);
        preview_->setFixedSize(DialogUnitsX(105) - 4, DialogUnitsY(82) - 4);
        width_ = Named(new CFloatEdit(this), "width");
        width_->SetControlId(1002);
        height_ = Named(new CFloatEdit(this), "height");
        height_->SetControlId(1003);
        widthSpin_ = Named(new SpinSteps(this), "widthSpin");
        heightSpin_ = Named(new SpinSteps(this), "heightSpin");
        widthRadio_ = Named(new QRadioButton(this), "widthRadio");
        heightRadio_ = Named(new QRadioButton(this), "heightRadio");
        units_ = Named(new QComboBox(this), "units");

        auto* group = new QGroupBox(this);
        auto* grid = new QGridLayout(group);
        grid->addWidget(new QLabel(QStringLiteral("Width"), group), 0, 0);
        grid->addWidget(width_, 0, 1);
        grid->addWidget(widthSpin_, 0, 2);
        grid->addWidget(widthRadio_, 0, 3);
        grid->addWidget(new QLabel(QStringLiteral("Height"), group), 1, 0);
        grid->addWidget(height_, 1, 1);
        grid->addWidget(heightSpin_, 1, 2);
        grid->addWidget(heightRadio_, 1, 3);
        grid->addWidget(new QLabel(QStringLiteral("Units"), group), 2, 0);
        grid->addWidget(units_, 2, 1, 1, 3);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(preview_);
        layout->addWidget(group);
        layout->addStretch(1);

        // The dialog opens on the caller's picture as it is, in points,
        // with the width leading.
        DibHandleClear(&working_);
        preview_->SetPicture(&source_);
        width_->Setup(settings_->width, 0.0, 5000.0, 0.1, 8, 0.0, 0);
        height_->Setup(settings_->height, 0.0, 5000.0, 0.1, 8, 0.0, 0);
        if (settings_->height != 0.0f)
            g_aspect = double(settings_->width) / double(settings_->height);
        FillUnitsCombo(units_);
        units_->setCurrentIndex(0);
        g_unitFactor = 1.0;
        widthRadio_->setChecked(true);
        height_->setEnabled(false);
        heightSpin_->setEnabled(false);

        connect(width_, &CFilteredEdit::EditChanged, this, [this] { OnEditChanged(); });
        connect(height_, &CFilteredEdit::EditChanged, this, [this] { OnEditChanged(); });
        widthSpin_->OnStep([this](int32_t d) {
            width_->Step(d);
            OnEditChanged();
        });
        heightSpin_->OnStep([this](int32_t d) {
            height_->Step(d);
            OnEditChanged();
        });
        connect(units_, &QComboBox::activated, this, [this](int row) { OnUnits(row); });
        connect(widthRadio_, &QRadioButton::clicked, this, [this] { EnablePairs(); });
        connect(heightRadio_, &QRadioButton::clicked, this, [this] { EnablePairs(); });
    }

    void FormatChosen(int32_t row)
    {
        settings_->format = int16_t(row);
        DibHandleClear(&working_);
        const bool mono = row >= 1 && row <= kExportFormatCount && ExportFormatTable[row - 1].blackAndWhite;
        if (mono)
            DibHandleToMonochrome(source_, working_);
        else
            DibHandleCopy(working_, source_);
        preview_->SetPicture(&working_);
        preview_->repaint();
        const bool sized = !ExportRowIsMetafile(row);
        widthRadio_->setEnabled(sized);
        heightRadio_->setEnabled(sized);
        if (sized) {
            EnablePairs();
        } else {
            for (QWidget* w : std::initializer_list<QWidget*>{width_, height_, widthSpin_, heightSpin_})
                w->setEnabled(false);
        }
    }

private:
    // The edited side sets the other through the aspect ratio.
    void OnEditChanged()
    {
        if (height_->isModified()) {
            settings_->height = float(height_->GetValue() / g_unitFactor);
            height_->setModified(false);
            settings_->width = float(settings_->height * g_aspect);
            width_->SetValue(settings_->width * g_unitFactor, 0.0, false, 0, true);
        }
        if (width_->isModified()) {
            settings_->width = float(width_->GetValue() / g_unitFactor);
            width_->setModified(false);
            settings_->height = float(settings_->width / g_aspect);
            height_->SetValue(settings_->height * g_unitFactor, 0.0, false, 0, true);
        }
    }

    void OnUnits(int row)
    {
        if (row < 0)
            return;
        g_unitFactor = 1.0 / PointsPerUnit(row);
        height_->SetValue(settings_->height * g_unitFactor, 0.0, false, 0, true);
        width_->SetValue(settings_->width * g_unitFactor, 0.0, false, 0, true);
    }

    void EnablePairs()
    {
        const bool byWidth = widthRadio_->isChecked();
        width_->setEnabled(byWidth);
        widthSpin_->setEnabled(byWidth);
        height_->setEnabled(!byWidth);
        heightSpin_->setEnabled(!byWidth);
    }

    ExportPictureSettings* settings_;
    DibHandle source_;
    DibHandle working_;
    CDibPreviewWnd* preview_;
    CFloatEdit* width_;
    CFloatEdit* height_;
    SpinSteps* widthSpin_;
    SpinSteps* heightSpin_;
    QRadioButton* widthRadio_;
    QRadioButton* heightRadio_;
    QComboBox* units_;
};

}  // namespace

int32_t RunExportPictureDialog(QWidget* owner, ExportPictureSettings* settings, DibHandle* source)
{
    DibHandleOwner working;
    if (!working || !source || !*source || DibHandleIsEmpty(*source))
        return 2;
    if (settings)
        g_export = *settings;
    ExportPictureSettings& s = g_export;
    auto* panel = new ExportPanel(&s, *source, working.get());
    std::unique_ptr<QFileDialog> dialog(MakeFileDialog(owner, s.title, s.folder, s.path, panel));
    dialog->setObjectName(QStringLiteral("exportPictureDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Only the formats the program can write are offered; each filter
    // stands for its row of the table.
    QStringList filters;
    std::vector<int32_t> rows;
    for (int32_t row = 1; row <= kExportFormatCount; ++row) {
        if (!ExportRowIsWritable(row))
            continue;
        const ExportFormatRow& r = ExportFormatTable[row - 1];
        filters << QString::fromLatin1(r.name) + QStringLiteral(" (") + QString::fromLatin1(r.pattern) +
                       QLatin1Char(')');
        rows.push_back(row);
    }
    auto rowOf = [filters, rows](const QString& filter) {
        const qsizetype i = filters.indexOf(filter);
        return i < 0 ? 0 : rows[size_t(i)];
    };
    if (!ExportRowIsWritable(s.format))
        s.format = 1;
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(filters[qsizetype(std::find(rows.begin(), rows.end(), s.format) - rows.begin())]);
    QObject::connect(dialog.get(), &QFileDialog::filterSelected, panel,
                     [panel, rowOf](const QString& filter) { panel->FormatChosen(rowOf(filter)); });
    QObject::connect(dialog.get(), &QFileDialog::directoryEntered, panel,
                     [](const QString& folder) { PutField(g_export.folder, sizeof g_export.folder, folder); });

    int32_t result = 2;
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
        PutField(s.path, sizeof s.path, dialog->selectedFiles().first());
        const int32_t row = rowOf(dialog->selectedNameFilter());
        if (row >= 1)
            s.format = int16_t(row);
        result = 1;
    }
    dialog.reset();
    if (settings)
        *settings = s;
    return result;
}
