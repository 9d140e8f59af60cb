// Turns the program's artwork into the stored form it is compiled in with.
//
//   tessaline-artwork INVENTORY.md SVG-FOLDER OUT-FOLDER
//
// Every row of the inventory table whose first cell is a number is one
// resource: its kind says the stored form, its size the picture's size and
// its source the drawings it is made of (one, or a strip of equal cells).
// Writes OUT/bitmaps/<id>.bmp, OUT/cursors/<id>.png (the hot spot in the
// "HotSpot" text), OUT/icons/<id>.png and OUT/artwork.qrc, which lists them.
// Any fault in a row stops the build: a resource the program asks for must
// never be silently missing.
#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>
#include <QSvgRenderer>
#include <QTextStream>

namespace {

struct Row {
    int line = 0;
    int id = 0;
    QString kind;  // bitmap, mono, tool, cursor, icon
    QPoint hotSpot;
    QSize size;
    bool down = false;  // cells stacked top to bottom rather than left to right
    QStringList cells;
};

[[noreturn]] void Fail(const Row& row, const QString& why)
{
    std::fprintf(stderr, "INVENTORY.md:%d: resource %d: %s\n", row.line, row.id, qPrintable(why));
    std::exit(1);
}

// "W×H" or "WxH".
bool ParseSize(const QString& text, QSize* size)
{
    static const QRegularExpression re(QStringLiteral("^(\\d+)\\s*[x×]\\s*(\\d+)$"));
    const QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return false;
    *size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    return size->width() > 0 && size->height() > 0;
}

QList<Row> ReadInventory(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    QList<Row> rows;
    QTextStream in(&file);
    int line = 0;
    while (!in.atEnd()) {
        const QString text = in.readLine();
        ++line;
        if (!text.startsWith('|'))
            continue;
        QStringList cells = text.split('|');
        if (cells.size() < 6)
            continue;
        bool isNumber = false;
        Row row;
        row.line = line;
        row.id = cells[1].trimmed().toInt(&isNumber);
        if (!isNumber)
            continue;
        const QStringList kind = cells[2].trimmed().split(' ', Qt::SkipEmptyParts);
        if (kind.isEmpty())
            Fail(row, "no kind");
        row.kind = kind[0];
        if (row.kind == "cursor") {
            const QStringList xy = kind.value(1).split(',');
            if (xy.size() != 2)
                Fail(row, "a cursor needs its hot spot: cursor X,Y");
            row.hotSpot = QPoint(xy[0].toInt(), xy[1].toInt());
        } else if (row.kind != "bitmap" && row.kind != "mono" && row.kind != "tool" && row.kind != "icon") {
            Fail(row, "unknown kind " + row.kind);
        }
        if (!ParseSize(cells[3], &row.size))
            Fail(row, "bad size " + cells[3].trimmed());
        QString source = cells[4].trimmed().remove('`');
        if (source.startsWith("down:")) {
            row.down = true;
            source = source.mid(5);
        }
        row.cells = source.split(' ', Qt::SkipEmptyParts);
        if (row.cells.isEmpty())
            Fail(row, "no source");
        rows.append(row);
    }
    return rows;
}

// The embossed look of a disabled button: what is dark in the picture
// becomes a grey shape with a white edge below and to the right.
QImage Disabled(const QImage& picture, const QColor& face)
{
    QImage out(picture.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QImage shape(picture.size(), QImage::Format_ARGB32);
    shape.fill(Qt::transparent);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.alpha() > 96 && qGray(c.rgb()) < 160 && c != face)
                shape.setPixelColor(x, y, Qt::black);
        }
    }
    auto tinted = [&](const QColor& colour) {
        QImage t = shape;
        QPainter p(&t);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(t.rect(), colour);
        return t;
    };
    QPainter p(&out);
    p.drawImage(1, 1, tinted(Qt::white));
    p.drawImage(0, 0, tinted(QColor(128, 128, 128)));
    return out;
}

// One cell: its drawing on a transparent ground, then the effect its name
// asks for (":down" sinks it by a pixel, ":disabled" greys it).
QImage RenderCell(const Row& row, const QString& folder, const QString& cell, const QSize& size,
                  const QColor& face)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    if (cell == "-")
        return image;
    const QStringList parts = cell.split(':');
    const QString path = folder + '/' + parts[0] + ".svg";
    QSvgRenderer svg(path);
    if (!svg.isValid())
        Fail(row, "cannot draw " + path);
    {
        QPainter p(&image);
        svg.render(&p, QRectF(QPointF(0, 0), size));
    }
    for (int i = 1; i < parts.size(); ++i) {
        if (parts[i] == "down") {
            QImage moved(size, QImage::Format_ARGB32);
            moved.fill(Qt::transparent);
            QPainter p(&moved);
            p.drawImage(1, 1, image);
            image = moved;
        } else if (parts[i] == "disabled") {
            image = Disabled(image, face);
        } else {
            Fail(row, "unknown effect " + parts[i]);
        }
    }
    return image;
}

QImage Render(const Row& row, const QString& folder)
{
    const int n = int(row.cells.size());
    const QSize whole = row.size;
    if ((row.down ? whole.height() : whole.width()) % n != 0)
        Fail(row, QStringLiteral("%1 cells do not divide the picture evenly").arg(n));
    const QSize cell = row.down ? QSize(whole.width(), whole.height() / n) : QSize(whole.width() / n, whole.height());
    // Tool bar pictures stand on the button face, which the bars key out.
    const QColor face = row.kind == "tool" ? QColor(192, 192, 192) : QColor(Qt::white);
    QImage image(whole, QImage::Format_ARGB32);
    image.fill(row.kind == "cursor" || row.kind == "icon" ? QColor(Qt::transparent) : face);
    QPainter p(&image);
    for (int i = 0; i < n; ++i) {
        const QPoint at = row.down ? QPoint(0, i * cell.height()) : QPoint(i * cell.width(), 0);
        p.drawImage(at, RenderCell(row, folder, row.cells[i], cell, face));
    }
    return image;
}

// One bit a pixel, black as colour 0: a pattern brush draws colour 0 in the
// text colour.
QImage ToMono(const QImage& image)
{
    QImage mono(image.size(), QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            mono.setPixel(x, y, qGray(image.pixel(x, y)) < 128 ? 0 : 1);
    return mono;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: tessaline-artwork INVENTORY.md SVG-FOLDER OUT-FOLDER\n");
        return 2;
    }
    const QString svgFolder = QString::fromLocal8Bit(argv[2]);
    const QDir out(QString::fromLocal8Bit(argv[3]));
    for (const char* sub : {"bitmaps", "cursors", "icons"})
        out.mkpath(sub);

    QStringList files;
    QList<int> seen;
    for (const Row& row : ReadInventory(QString::fromLocal8Bit(argv[1]))) {
        if (seen.contains(row.id))
            Fail(row, "listed twice");
        seen.append(row.id);
        QImage image = Render(row, svgFolder);
        QString name;
        if (row.kind == "cursor") {
            name = QStringLiteral("cursors/%1.png").arg(row.id);
            if (!QRect(QPoint(0, 0), row.size).contains(row.hotSpot))
                Fail(row, "hot spot outside the cursor");
            image.setText("HotSpot", QStringLiteral("%1,%2").arg(row.hotSpot.x()).arg(row.hotSpot.y()));
        } else if (row.kind == "icon") {
            name = QStringLiteral("icons/%1.png").arg(row.id);
        } else {
            name = QStringLiteral("bitmaps/%1.bmp").arg(row.id);
            image = row.kind == "mono" ? ToMono(image) : image.convertToFormat(QImage::Format_RGB32);
        }
        // Written only when changed, so that an unchanged picture does not
        // make the program's resources compile again.
        QByteArray bytes;
        {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (!image.save(&buffer, name.endsWith(".png") ? "PNG" : "BMP"))
                Fail(row, "cannot encode " + name);
        }
        QFile old(out.filePath(name));
        if (!old.open(QIODevice::ReadOnly) || old.readAll() != bytes) {
            old.close();
            QSaveFile file(out.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
                Fail(row, "cannot write " + out.filePath(name));
        }
        files.append(name);
    }

    QByteArray qrc = "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const QString& f : files)
        qrc += "  <file>" + f.toUtf8() + "</file>\n";
    qrc += "</qresource>\n</RCC>\n";
    // Always written: it is what the build step promises to make.
    QSaveFile file(out.filePath("artwork.qrc"));
    if (!file.open(QIODevice::WriteOnly) || file.write(qrc) != qrc.size() || !file.commit()) {
        std::fprintf(stderr, "cannot write artwork.qrc\n");
        return 1;
    }
    return 0;
}
