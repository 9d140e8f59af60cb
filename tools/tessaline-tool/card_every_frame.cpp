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

    if (!CardTextBox(doc, OnCard(page, 100, 6, 250, 30),
                     {{{{"", kFieldCompany}}, 12, kCardBold, kCardDarkBlue, kAlignLeft, "DejaVu Serif"}}) ||
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
           CardBarcode(doc, OnCard(page, 10, 78, 94, 100), kBarcodeEan13, "400638133393", 12.0);
}

// The back: the frames gLabels has no like of. Display text over the
// star, a round rectangle, an arc and a group of two shapes at the top
// left, the three FIMs beside them, and beneath, in rows, a barcode of
// every other symbology, the counter and one fed from the ZIP code. Each
// barcode has a place of its own inside the card, bars and digits, so
// none is covered by its neighbour or cut by the card's edge.
bool BuildBack(CLabelsDoc& doc, const IntRect& page)
{
    if (!CardDisplayText(doc, OnCard(page, 4, 2, 104, 26), "EVERY FRAME"))
        return false;

    FrameObj* star = CardShape(doc, kFrameStar, OnCard(page, 4, 30, 26, 54), kCardOrange, kCardRed);
    if (!star || !CardShape(doc, kFrameRoundRect, OnCard(page, 30, 31, 52, 53), kCardYellow, kCardBrown) ||
        !CardStroke(doc, kFrameArc, OnCard(page, 56, 31, 76, 53), kCardMagenta, 2))
        return false;
    static_cast<FrameObjStar*>(star)->SetStarParams(StarParams{5, 0, 0.5});
    if (!CardGroup(doc, OnCard(page, 80, 30, 104, 54),
                   CardShape(doc, kFrameRect, OnCard(page, 80, 30, 94, 44), kCardDarkGreen, kCardDarkGreen),
                   CardShape(doc, kFrameEllipse, OnCard(page, 88, 38, 104, 54), kCardRed, kCardRed)))
        return false;

    // Each at its top left corner; the frame takes the barcode's own size.
    const struct {
        int16_t type;
        const char* data;
        int32_t x, y;
    } kSymbols[] = {{kBarcodeFimA, "", 107, 2},           {kBarcodeFimB, "", 154, 2},
                    {kBarcodeFimC, "", 201, 2},           {kBarcodePostnet, "123456789", 4, 58},
                    {kBarcodeInterleaved25, "123456", 184, 58},
                    {kBarcodeCode39, "EVERY", 4, 80},     {kBarcodeCode128, "Ev-42", 74, 80},
                    {kBarcodeUpcA, "03600029145", 130, 80}, {kBarcodeUpcE, "123456", 202, 80},
                    {kBarcodeEan13, "400638133393", 4, 101}, {kBarcodeEan8, "9638507", 68, 101},
                    {kBarcodeIsbn, "030640615", 113, 101}, {kBarcodeIssn, "123456789", 177, 101},
                    {kBarcodeHorBars, "", 4, 122},        {kBarcodeCodabar, "A40156B", 88, 122}};
    for (const auto& s : kSymbols) {
        FrameObj* barcode = CardBarcode(doc, OnCard(page, s.x, s.y, s.x + 40, s.y + 18), s.type, s.data, 9.0);
        if (!barcode)
            return false;
        if (s.type == kBarcodeCode39)
            SetCardBarcodeModule(barcode, kCardCode39Module);
    }
    FrameObj* counter = doc.NewFrame(kFrameCounterBarcode);
    FrameObj* zip = doc.NewFrame(kFrameFieldBarcode);
    if (!counter || !zip)
        return false;
    counter->SetFromRect(OnCard(page, 150, 124, 180, 140));
    zip->SetFromRect(OnCard(page, 184, 124, 248, 140));
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
