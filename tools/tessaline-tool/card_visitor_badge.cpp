#include <string>

#include "barcode/barcode_record.h"
#include "card_builder.h"
#include "card_sample.h"
#include "carddoc/labels_doc.h"
#include "database/field_table.h"
#include "frames/frame_obj.h"
#include "frames/frame_obj_star.h"

// A visitor's badge on the 3.5 x 2 in business card, as a person makes it
// in the window; its gLabels design is tools/bench/visitor-badge.glabels,
// at the same places.
bool BuildVisitorBadgeCard(CLabelsDoc& doc, const std::string& pictures)
{
    const IntRect page = doc.PageGeometry().slots[0];
    const std::string picture = pictures + "/visitor-600.png";
    if (!WriteBenchPicture(picture, 600, 400))
        return false;

    if (!CardShape(doc, kFrameRect, OnCard(page, 0, 0, 252, 6), kCardOrange, kCardOrange) ||
        !CardShape(doc, kFrameEllipse, OnCard(page, 206, 10, 242, 46), kCardCyan, kCardDarkBlue) ||
        !CardStroke(doc, kFrameLine, OnCard(page, 8, 56, 196, 56), kCardDarkBlue, 1))
        return false;
    FrameObj* star = CardShape(doc, kFrameStar, OnCard(page, 212, 16, 236, 40), kCardOrange, kCardRed);
    if (!star || !CardDisplayText(doc, OnCard(page, 8, 10, 196, 52), "VISITOR"))
        return false;
    static_cast<FrameObjStar*>(star)->SetStarParams(StarParams{5, 0, 0.5});

    // The photograph-sized picture turned by 30 degrees about its top
    // left corner, and "ACCESS" in its small frame turned by 45.
    FrameObj* photo = CardPicture(doc, OnCard(page, 14, 100, 74, 140), picture);
    FrameObj* access =
        CardTextBox(doc, OnCard(page, 200, 100, 248, 120), {{{{"ACCESS", 0}}, 8, kCardBold, kCardRed}});
    if (!photo || !access)
        return false;
    photo->SetGeometryField(4, 30);
    access->SetGeometryField(4, 45);

    // Five merge fields in three faces.
    if (!CardTextBox(doc, OnCard(page, 96, 56, 218, 78),
                     {{{{"", kFieldFirstName}, {" ", 0}, {"", kFieldLastName}}, 11, kCardBold, kCardBlack,
                       kAlignLeft, "Liberation Sans"}}) ||
        !CardTextBox(doc, OnCard(page, 96, 76, 198, 96),
                     {{{{"", kFieldTitle}}, 8, kCardItalic, kCardDarkGray, kAlignLeft, "DejaVu Serif"}}) ||
        !CardTextBox(doc, OnCard(page, 96, 94, 198, 114),
                     {{{{"", kFieldCompany}, {", ", 0}, {"", kFieldCity}}, 8, kCardBold, kCardDarkBlue, kAlignLeft,
                       "Liberation Serif"}}))
        return false;

    // An EAN-13, a Code 39 of the ZIP code (a placed field made a
    // barcode) and the counter.
    // The ZIP code's bars fit beside the EAN-13 also when the card shows
    // the field's name; the counter's number stands below the photograph.
    FrameObj* zip = CardFieldBarcode(doc, OnCard(page, 142, 116, 250, 142), kBarcodeCode39, kFieldZipCode);
    if (!zip)
        return false;
    SetCardBarcodeModule(zip, kCardCode39Module);
    return CardCounter(doc, OnCard(page, 4, 130, 30, 142)) &&
           CardBarcode(doc, OnCard(page, 76, 114, 140, 142), kBarcodeEan13, "400638133393", 12.0);
}
