#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "app/splash_wnd.h"

// A sheet of labels under the program's name: the program's picture of
// itself.
QImage MakeSplashPicture()
{
    QImage image(420, 260, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, image.height());
    sky.setColorAt(0.0, QColor(24, 52, 96));
    sky.setColorAt(1.0, QColor(20, 120, 132));
    painter.fillRect(image.rect(), sky);

    // A tilted sheet with two columns of cards.
    painter.save();
    painter.translate(300, 150);
    painter.rotate(-12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(QRectF(-86, -96, 180, 200), 6, 6);
    painter.setBrush(QColor(250, 250, 246));
    painter.drawRoundedRect(QRectF(-90, -100, 180, 200), 6, 6);
    const QColor accents[] = {QColor(214, 92, 62), QColor(60, 140, 200), QColor(238, 184, 60),
                              QColor(96, 170, 110), QColor(150, 96, 180), QColor(60, 140, 200)};
    for (int32_t row = 0; row < 3; ++row) {
        for (int32_t column = 0; column < 2; ++column) {
            const QRectF card(-80 + column * 84, -90 + row * 62, 76, 54);
            painter.setPen(QPen(QColor(200, 200, 196), 1));
            painter.setBrush(Qt::white);
            painter.drawRoundedRect(card, 4, 4);
            painter.setPen(Qt::NoPen);
            painter.setBrush(accents[row * 2 + column]);
            painter.drawRect(QRectF(card.left() + 6, card.top() + 8, 22, 22));
            painter.setBrush(QColor(120, 120, 120));
            for (int32_t line = 0; line < 3; ++line)
                painter.drawRect(QRectF(card.left() + 32, card.top() + 10 + line * 8, 36 - line * 8, 3));
        }
    }
    painter.restore();

    QFont title("Sans Serif");
    title.setPixelSize(44);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRect(24, 40, 260, 60), Qt::AlignLeft | Qt::AlignVCenter, "Tessaline");
    QFont line("Sans Serif");
    line.setPixelSize(15);
    painter.setFont(line);
    painter.setPen(QColor(220, 236, 240));
    painter.drawText(QRect(26, 100, 260, 24), Qt::AlignLeft | Qt::AlignVCenter, "Cards and labels");
    painter.drawText(QRect(26, 124, 260, 24), Qt::AlignLeft | Qt::AlignVCenter, "Korrinworks Inc.");
    return image;
}
