#include "wizard/wiz_choose_picture.h"

#include <algorithm>
#include <cstring>

#include <QFileDialog>

namespace {

WizPictureChooser g_chooser = nullptr;

bool AskForPicture(QWidget* parent, uint8_t*, std::string* path)
{
    const QString chosen = QFileDialog::getOpenFileName(
        parent, QStringLiteral("Select graphics file"), QString(),
        QStringLiteral("Pictures (*.bmp *.ico *.gif *.png *.jpg *.jpeg *.tif *.tiff *.emf *.wmf);;All Files (*)"));
    if (chosen.isEmpty())
        return false;
    *path = chosen.toLocal8Bit().toStdString();
    return true;
}

}  // namespace

bool WizChoosePicture(QWidget* parent, uint8_t* settings, std::string* path)
{
    const bool chosen = (g_chooser ? g_chooser : AskForPicture)(parent, settings, path);
    if (chosen && settings) {
        uint8_t* slot = settings + kWizPictureSettingsPathAt;
        const size_t n = std::min(path->size(), size_t(259));
        std::memset(slot, 0, 260);
        std::memcpy(slot, path->data(), n);
    }
    return chosen;
}

WizPictureChooser SetWizPictureChooser(WizPictureChooser chooser)
{
    WizPictureChooser previous = g_chooser;
    g_chooser = chooser;
    return previous;
}
