#include <string>

#include "barcode/barcode_record.h"
#include "card_builder.h"
#include "card_sample.h"
#include "carddoc/labels_doc.h"
#include "database/field_table.h"
#include "frames/curr_page_mng.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_star.h"

namespace {

// The front: what gLabels can draw too (its design is
// tools/bench/every-frame.glabels, at the same places): text straight and
// turned by 90, 45 and 30 degrees, a picture of each format, boxes, an
// ellipse, a line and two barcodes.
bool BuildFront(CLabelsDoc& doc, const IntRect& page, const std::string& pictures)
{
    const struct {
        const char* file;
        IntRect at;
    } kPictures[] = {{"every-200.png", {8, 8, 40, 40}},    {"every-500.gif", {44, 8, 84, 38}},
                     {"every-800.bmp", {8, 44, 48, 74}},   {"every-1600.tif", {52, 44, 92, 74}},
                     {"every-6000.jpg", {96, 64, 150, 100}}};
    for (const auto& p : kPictures) {
        if (!CardPicture(doc, OnCard(page, p.at.left, p.at.top, p.at.right, p.at.bottom), pictures + "/" + p.file))
            return false;
    }
    if (!CardShape(doc, kFrameRect, OnCard(page, 0, 0, 252, 4), kCardOrange, kCardOrange) ||
        !CardShape(doc, kFrameEllipse, OnCard(page, 194, 64, 222, 92), kCardCyan, kCardDarkBlue) ||
        !CardStroke(doc, kFrameLine, OnCard(page, 156, 106, 224, 106), kCardDarkBlue, 1))
        return false;

    if (!CardTextBox(doc, OnCard(page, 100, 6, 246, 30),
                     {{{{"", kFieldCompany}}, 13, kCardBold, kCardDarkBlue, kAlignLeft, "DejaVu Serif"}}) ||
        !CardTextBox(doc, OnCard(page, 100, 28, 246, 62),
                     {{{{"", kFieldFirstName}, {" ", 0}, {"", kFieldLastName}}, 10, kCardBold, kCardBlack},
                      {{{"", kFieldCity}, {", ", 0}, {"", kFieldState}, {" ", 0}, {"", kFieldZipCode}},
                       8, kCardItalic, kCardDarkGray, kAlignLeft, "Liberation Serif"}}))
        return false;
    // The phone line turned about its top left corner by 30 degrees on the
    // left, 90 up the right edge and 45 at the bottom.
    const struct {
        IntPoint at;
        int16_t angle;
    } kTurned[] = {{{4, 140}, 30}, {{228, 142}, 90}, {{100, 142}, 45}};
    for (const auto& t : kTurned) {
        FrameObj* f = CardTextBox(doc, OnCard(page, t.at.x, t.at.y, t.at.x + 100, t.at.y + 20),
                                  {{{{"Tel. ", 0}, {"", kFieldPhone1}}, 9, 0, kCardBlack}});
        if (!f)
            return false;
        f->SetGeometryField(4, t.angle);
    }
    return CardBarcode(doc, OnCard(page, 160, 114, 226, 142), kBarcodeCode128, "EV-0042", 14.0) &&
           CardBarcode(doc, OnCard(page, 8, 78, 92, 100), kBarcodeEan13, "400638133393", 12.0);
}

// The back: the frames gLabels has no like of. Display text, the star, a
// round rectangle, an arc and a group of two shapes along the top; a
// barcode of every symbology, the counter and one fed from the ZIP code in
// a grid beneath.
bool BuildBack(CLabelsDoc& doc, const IntRect& page)
{
    if (!CardDisplayText(doc, OnCard(page, 6, 4, 120, 34), "EVERY FRAME"))
        return false;

    FrameObj* star = CardShape(doc, kFrameStar, OnCard(page, 124, 4, 152, 34), kCardOrange, kCardRed);
    if (!star || !CardShape(doc, kFrameRoundRect, OnCard(page, 156, 6, 186, 32), kCardYellow, kCardBrown) ||
        !CardStroke(doc, kFrameArc, OnCard(page, 190, 6, 214, 32), kCardMagenta, 2))
        return false;
    static_cast<FrameObjStar*>(star)->SetStarParams(StarParams{5, 0, 0.5});
    if (!CardGroup(doc, OnCard(page, 218, 6, 248, 34),
                   CardShape(doc, kFrameRect, OnCard(page, 218, 6, 236, 24), kCardDarkGreen, kCardDarkGreen),
                   CardShape(doc, kFrameEllipse, OnCard(page, 228, 14, 248, 34), kCardRed, kCardRed)))
        return false;

    const struct {
        int16_t type;
        const char* data;
    } kSymbols[] = {{kBarcodePostnet, "123456789"}, {kBarcodeFimA, ""},         {kBarcodeFimB, ""},
                    {kBarcodeFimC, ""},              {kBarcodeHorBars, ""},      {kBarcodeInterleaved25, "123456"},
                    {kBarcodeCode39, "EVERY"},       {kBarcodeCode128, "Ev-42"}, {kBarcodeUpcA, "03600029145"},
                    {kBarcodeUpcE, "123456"},        {kBarcodeEan13, "400638133393"}, {kBarcodeEan8, "9638507"},
                    {kBarcodeIsbn, "030640615"},     {kBarcodeIssn, "123456789"},  {kBarcodeCodabar, "A40156B"}};
    int cell = 0;
    for (const auto& s : kSymbols) {
        const int32_t x = 4 + (cell % 6) * 41, y = 38 + (cell / 6) * 36;
        if (!CardBarcode(doc, OnCard(page, x, y, x + 39, y + 32), s.type, s.data, 12.0))
            return false;
        ++cell;
    }
    FrameObj* counter = doc.NewFrame(kFrameCounterBarcode);
    FrameObj* zip = doc.NewFrame(kFrameFieldBarcode);
    if (!counter || !zip)
        return false;
    counter->SetFromRect(OnCard(page, 4 + 3 * 41, 110, 4 + 4 * 41 + 39, 142));
    zip->SetFromRect(OnCard(page, 4 + 5 * 41, 110, 4 + 5 * 41 + 39, 142));
    zip->SetDataField(kFieldZipCode);
    for (FrameObj* f : {counter, zip}) {
        f->SetFontSize(6);
        f->SetColour(kCardWhite, 1);
        f->SetColour(kNoBackground, 2);
        f->SetColour(kCardBlack, 0);
    }
    doc.PageManager()->UpdateGroups();
    return true;
}

}  // namespace

bool BuildEveryFrameCard(CLabelsDoc& doc, const std::string& pictures)
{
    if (doc.GetPageCount() < 2)
        doc.InsertPages(1, 1, 0, 0);
    if (doc.GetPageCount() < 2 || !doc.SwitchToPage(1) ||
        !BuildFront(doc, doc.PageGeometry().slots[0], pictures) || !doc.SwitchToPage(2))
        return false;
    const bool back = BuildBack(doc, doc.PageGeometry().slots[0]);
    return doc.SwitchToPage(1) && back;
}
