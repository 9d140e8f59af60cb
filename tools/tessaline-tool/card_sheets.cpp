#include <string>

#include "barcode/barcode_record.h"
#include "card_builder.h"
#include "card_sample.h"
#include "carddoc/labels_doc.h"
#include "database/field_table.h"
#include "foundation/paper_table.h"
#include "records/label_stock.h"

namespace {

// The sheet a person picks in the Label Type dialog, in points: a card's
// size, the margins, the gaps, columns and rows, and the paper.
struct Sheet {
    double width, height, top, left, rowGap, columnGap;
    int16_t columns, rows;
    int32_t paper;
    const char* name;
};

void ApplySheet(CLabelsDoc& doc, const Sheet& sheet)
{
    LabelTypeRecord layout;
    GetBuiltinLabelType(&layout, 1);
    LabelTypeSetName(&layout, sheet.name);
    layout.cardWidth = sheet.width;
    layout.cardHeight = sheet.height;
    layout.topMargin = sheet.top;
    layout.leftMargin = sheet.left;
    layout.verticalSpacing = sheet.rowGap;
    layout.horizontalSpacing = sheet.columnGap;
    layout.columns = sheet.columns;
    layout.rows = sheet.rows;
    layout.sides = 1;
    layout.orientation = kLabelOrientationPortrait;
    layout.paper = sheet.paper;
    uint8_t bytes[kLabelTypeSize];
    LabelTypeEncode(layout, bytes);
    doc.ApplyDocSetup(bytes);
    doc.AfterDocSetup();
    // A new card has a front and a back; a label has only a front.
    doc.DeletePages(2, 2);
}

}  // namespace

bool BuildShippingLabelCard(CLabelsDoc& doc, const std::string& logo)
{
    ApplySheet(doc, {612, 396, 0, 0, 0, 0, 1, 2, kPaperEntryLetter, "Shipping labels 1x2, 8.5x5.5 in, Letter"});
    const IntRect page = doc.PageGeometry().slots[0];
    return CardPicture(doc, OnCard(page, 24, 24, 168, 120), logo) &&
           CardTextBox(doc, OnCard(page, 192, 30, 588, 120),
                       {{{{"", kFieldCompany}}, 14, kCardBold, kCardDarkBlue},
                        {{{"", kFieldFirstName}, {" ", 0}, {"", kFieldLastName}}, 12, 0, kCardBlack}}) &&
           CardStroke(doc, kFrameLine, OnCard(page, 24, 136, 588, 136), kCardBlack, 2) &&
           CardTextBox(doc, OnCard(page, 72, 160, 560, 290),
                       {{{{"SHIP TO:", 0}}, 10, kCardBold, kCardBlack},
                        {{{"", kFieldAddress1}}, 16, 0, kCardBlack},
                        {{{"", kFieldAddress2}}, 16, 0, kCardBlack},
                        {{{"", kFieldCity}, {", ", 0}, {"", kFieldState}, {" ", 0}, {"", kFieldZipCode}},
                         16,
                         kCardBold,
                         kCardBlack}}) &&
           CardFieldBarcode(doc, OnCard(page, 72, 300, 400, 372), kBarcodeCode128, kFieldZipCode);
}

bool BuildNameSheetCard(CLabelsDoc& doc)
{
    // 38.1 x 21.2 mm, 5 across and 13 down on A4.
    ApplySheet(doc, {108, 60.09, 30.33, 13.32, 0, 7.09, 5, 13, kPaperEntryA4, "Mini labels 5x13, 38.1x21.2 mm, A4"});
    const IntRect page = doc.PageGeometry().slots[0];
    return CardTextBox(doc, OnCard(page, 6, 20, 102, 40),
                       {{{{"", kFieldFirstName}, {" ", 0}, {"", kFieldLastName}}, 9, 0, kCardBlack, kAlignCentre}});
}
