#include "dialogs/picture_preview_panel.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QVBoxLayout>

#include "dialogs/object_dialog_kit.h"
#include "dialogs/picture_file_dialogs.h"
#include "dialogs/picture_preview_wnd.h"

PicturePreviewPanel::PicturePreviewPanel(OpenPictureSettings* settings) : settings_(settings)
{
    preview_ = Named(new CPicturePreviewWnd(this), "picturePreview");
    preview_->setFixedSize(DialogUnitsX(139) - 4, DialogUnitsY(128) - 4);
    preview_->SetSettings(reinterpret_cast<const uint8_t*>(settings));
    show_ = Named(new QCheckBox(QStringLiteral("Show preview"), this), "showPreview");
    show_->setChecked(settings->showPreview != 0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(preview_);
    layout->addWidget(show_);
    layout->addStretch(1);
    QObject::connect(show_, &QCheckBox::clicked, preview_, [this](bool on) {
        settings_->showPreview = on ? 1 : 0;
        Redraw();
    });
}

void PicturePreviewPanel::AttachTo(QFileDialog* dialog)
{
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout()))
        grid->addWidget(this, 0, grid->columnCount(), grid->rowCount(), 1);
    else
        setParent(dialog);  // not shown, but gone with the dialog

}

void PicturePreviewPanel::ShowFile(const QString& path)
{
    const std::string now = path.toLocal8Bit().toStdString();
    char* shown = settings_->path;
    const size_t size = sizeof settings_->path;
    if (now != std::string(shown, strnlen(shown, size))) {
        std::memset(shown, 0, size);
        std::memcpy(shown, now.data(), std::min(now.size(), size - 1));
        preview_->LoadPicture(now);
    }
    Redraw();
}

void PicturePreviewPanel::Redraw() { preview_->repaint(); }

void PicturePreviewPanel::FreePicture() { preview_->FreePicture(); }
