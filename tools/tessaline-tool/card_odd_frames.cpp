#include <cmath>
#include <string>
#include <vector>

#include "barcode/barcode_record.h"
#include "card_builder.h"
#include "card_sample.h"
#include "carddoc/labels_doc.h"
#include "database/field_table.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_star.h"

namespace {

// Where a turned frame goes: its centre on the card (points), its size
// before the style's scale, and which of the style's angles turns it.
struct Place {
    int32_t cx, cy, width, height;
    int angle;
};

// The frame's rectangle on the card, such that turned about its top left
// corner by the angle its centre lands on the place's; the gLabels designs
// of these cards put their objects' corners at the same points.
IntRect RectOf(const IntRect& page, const Place& at, const OddCardStyle& style)
{
    const double w = at.width * style.scale / 100.0, h = at.height * style.scale / 100.0;
    const double a = style.angles[size_t(at.angle)] * M_PI / 180.0;
    const int32_t x = int32_t(std::lround(at.cx - (w / 2 * std::cos(a) + h / 2 * std::sin(a))));
    const int32_t y = int32_t(std::lround(at.cy - (-w / 2 * std::sin(a) + h / 2 * std::cos(a))));
    return OnCard(page, x, y, x + int32_t(std::lround(w)), y + int32_t(std::lround(h)));
}

}  // namespace

bool OddCardStyleNamed(const std::string& name, OddCardStyle* style)
{
    if (name == "a")
        *style = {{17, 203, 311}, 100, "DejaVu Serif", "odd-a-1234.png", 1234, 777};
    else if (name == "b")
        *style = {{7, 137, 259}, 80, "Liberation Serif", "odd-b-333.png", 333, 999};
    else if (name == "c")
        *style = {{29, 151, 337}, 115, "DejaVu Sans", "odd-c-2000.png", 2000, 1500};
    else
        return false;
    return true;
}

// The places are mirrored in tools/bench/odd-frames-a.glabels and
// odd-frames-b.glabels; a change here goes there too.
bool BuildOddFrameCard(CLabelsDoc& doc, const std::string& pictures, const OddCardStyle& style)
{
    const IntRect page = doc.PageGeometry().slots[0];
    const std::string picture = pictures + "/" + style.picture;
    if (!WriteBenchPicture(picture, style.pictureWidth, style.pictureHeight))
        return false;
    // Makes the frame in its place (make takes the rectangle) and turns it.
    auto turned = [&](const Place& at, auto&& make) -> FrameObj* {
        FrameObj* f = make(RectOf(page, at, style));
        if (f)
            f->SetGeometryField(4, style.angles[size_t(at.angle)]);
        return f;
    };
    auto shape = [&](int16_t type, uint8_t fill, uint8_t border, const Place& at) {
        return turned(at, [&](const IntRect& r) { return CardShape(doc, type, r, fill, border); });
    };

    // The shapes along the top, each turned.
    FrameObj* star = shape(kFrameStar, kCardOrange, kCardRed, {222, 24, 30, 30, 1});
    if (!star || !shape(kFrameRect, kCardOrange, kCardDarkBlue, {34, 22, 44, 20, 0}) ||
        !shape(kFrameRoundRect, kCardYellow, kCardBrown, {84, 22, 36, 22, 1}) ||
        !shape(kFrameEllipse, kCardCyan, kCardDarkBlue, {130, 22, 36, 24, 2}) ||
        !turned({176, 22, 28, 24, 0}, [&](const IntRect& r) { return CardStroke(doc, kFrameArc, r, kCardMagenta, 2); }) ||
        !CardStroke(doc, kFrameLine, OnCard(page, 8, 138, 120, 128), kCardDarkBlue, 1))
        return false;
    static_cast<FrameObjStar*>(star)->SetStarParams(StarParams{7, 0, 0.4});

    // The picture, display text and text, turned.
    const std::vector<CardLine> name = {
        {{{"", kFieldFirstName}, {" ", 0}, {"", kFieldLastName}}, 10, kCardBold, kCardBlack, kAlignLeft, style.face},
        {{{"", kFieldCompany}}, 8, kCardItalic, kCardDarkBlue, kAlignLeft, style.face}};
    if (!turned({50, 70, 60, 40, 1}, [&](const IntRect& r) { return CardPicture(doc, r, picture); }) ||
        !turned({150, 58, 110, 26, 2}, [&](const IntRect& r) { return CardDisplayText(doc, r, "ODD FRAMES"); }) ||
        !turned({150, 92, 130, 44, 0}, [&](const IntRect& r) { return CardTextBox(doc, r, name); }) ||
        !turned({222, 90, 100, 22, 2}, [&](const IntRect& r) {
            return CardTextBox(doc, r, {{{{"Tel. ", 0}, {"", kFieldPhone1}}, 8, 0, kCardBlack}});
        }))
        return false;

    // A barcode, a field's barcode and the counter, turned.
    const Place zipAt{130, 122, 60, 24, 1};
    FrameObj* zip = turned(zipAt, [&](const IntRect& r) {
        return CardFieldBarcode(doc, r, kBarcodeCode39, kFieldZipCode);
    });
    FrameObj* counter = turned({206, 124, 50, 22, 0}, [&](const IntRect& r) { return CardCounter(doc, r); });
    if (!zip || !counter || !turned({46, 118, 70, 26, 2}, [&](const IntRect& r) {
            return CardBarcode(doc, r, kBarcodeCode128, "ODD-203", 12.0);
        }))
        return false;

    // A group of two shapes.
    if (!CardGroup(doc, OnCard(page, 214, 44, 246, 66),
                   CardShape(doc, kFrameRect, OnCard(page, 214, 44, 232, 58), kCardDarkGreen, kCardDarkGreen),
                   CardShape(doc, kFrameEllipse, OnCard(page, 226, 50, 246, 66), kCardRed, kCardRed)))
        return false;
    doc.PageManager()->UpdateGroups();
    return true;
}
