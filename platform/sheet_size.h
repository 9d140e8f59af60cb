// The sheet of a page layout as exactly as its standard gives it. A page
// layout keeps whole points (A4 is 595 x 842 there, 595.28 x 841.89 on
// paper), and a printer or a viewer takes a sheet of another size for
// another paper and scales it.
#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QRect>
#include <QRectF>
#include <QSizeF>

// In points, turned as the layout is.
QSizeF ExactSheetPoints(const QPageLayout& layout);
// In whole device pixels that cover it.
QRect ExactSheetPixels(const QPageLayout& layout, int dpi);

// The part of the sheet a printer prints on, in points from the sheet's
// corner, as the layout's margins give it to the last fraction (a page
// layout's own printable rectangle takes its margins to whole points); all
// of the sheet for a full page.
QRectF PrintableAreaPoints(const QPageLayout& layout);
// The same in device pixels, whole: each edge on the pixel nearest it. A
// job draws from its corner.
QRect PrintableAreaPixels(const QPageLayout& layout, int dpi);

// The page boxes of a PDF as Qt writes them for this layout, in whole
// points, made the exact sheet in place: the text keeps its length (the
// file's offsets stay right) and the top edge stays where the page's
// content is measured from. Text without such a box is left alone.
void MakePdfMediaBoxExact(const QPageLayout& layout, char* text, qint64 size);
