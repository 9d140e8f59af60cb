#include "typography/button_bitmap.h"

#include <QAbstractButton>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "resources/artwork_resources.h"

bool SetButtonBitmap(QAbstractButton* button, int32_t id)
{
    const QImage picture = LoadResourceButtonImage(id);
    if (picture.isNull())
        return false;
    button->setIcon(QIcon(QPixmap::fromImage(picture)));
    button->setIconSize(picture.size());
    return true;
}
