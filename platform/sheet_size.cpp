#include "platform/sheet_size.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include <QPageSize>

QSizeF ExactSheetPoints(const QPageLayout& layout)
{
    const QPageSize page = layout.pageSize();
    QSizeF size = page.definitionSize();
    switch (page.definitionUnits()) {
    case QPageSize::Point: break;
    case QPageSize::Millimeter: size *= 72.0 / 25.4; break;
    case QPageSize::Inch: size *= 72.0; break;
    default: return layout.fullRect(QPageLayout::Point).size();
    }
    if (layout.orientation() == QPageLayout::Landscape)
        size.transpose();
    return size;
}

QRect ExactSheetPixels(const QPageLayout& layout, int dpi)
{
    const QSizeF sheet = ExactSheetPoints(layout);
    return QRect(0, 0, int(std::ceil(sheet.width() * dpi / 72.0 - 1e-6)),
                 int(std::ceil(sheet.height() * dpi / 72.0 - 1e-6)));
}

QRectF PrintableAreaPoints(const QPageLayout& layout)
{
    const QRectF sheet(QPointF(0, 0), ExactSheetPoints(layout));
    if (layout.mode() == QPageLayout::FullPageMode)
        return sheet;
    return sheet.marginsRemoved(layout.margins(QPageLayout::Point));
}

QRect PrintableAreaPixels(const QPageLayout& layout, int dpi)
{
    const QRectF area = PrintableAreaPoints(layout);
    const auto pixel = [dpi](double points) { return int(std::lround(points * dpi / 72.0)); };
    return QRect(QPoint(pixel(area.left()), pixel(area.top())), QPoint(pixel(area.right()) - 1, pixel(area.bottom()) - 1));
}

namespace {

// Six decimals at most, without the zeros a reader does not need.
std::string Number(double v)
{
    // A PDF number has a point for its decimal mark, whatever the locale.
    char text[64];
    const std::to_chars_result made = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 6);
    std::string s(text, made.ec == std::errc() ? made.ptr : text);
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    if (s.rfind("0.", 0) == 0)
        s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0)
        s.erase(1, 1);
    return s.empty() || s == "-" ? "0" : s;
}

}  // namespace

void MakePdfMediaBoxExact(const QPageLayout& layout, char* text, qint64 size)
{
    const QSize whole = layout.fullRectPoints().size();
    const QSizeF exact = ExactSheetPoints(layout);
    if (std::abs(exact.width() - whole.width()) < 1e-6 && std::abs(exact.height() - whole.height()) < 1e-6)
        return;
    const std::string from = "/MediaBox [0 0 " + std::to_string(whole.width()) + ".000000 " +
                             std::to_string(whole.height()) + ".000000]";
    // The content is drawn down from the whole-point top; the box keeps
    // that top and ends where the sheet does.
    std::string to = "/MediaBox [0 " + Number(whole.height() - exact.height()) + ' ' + Number(exact.width()) + ' ' +
                     std::to_string(whole.height()) + ']';
    if (to.size() > from.size())
        return;
    to.insert(to.size() - 1, from.size() - to.size(), ' ');
    for (char* at = text; size >= qint64(from.size());) {
        char* found = static_cast<char*>(memmem(at, size_t(size), from.data(), from.size()));
        if (!found)
            break;
        std::memcpy(found, to.data(), to.size());
        size -= (found - at) + qint64(from.size());
        at = found + from.size();
    }
}
