// Building blocks of the cards the tool makes: shapes, and text frames
// whose lines mix plain text with merge fields.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "frames/frame_obj.h"
#include "platform/gdi_types.h"

class CLabelsDoc;

// Colours of the document's colour table.
enum : uint8_t {
    kCardWhite = 0,
    kCardYellow = 1,
    kCardOrange = 2,
    kCardRed = 3,
    kCardMagenta = 4,
    kCardDarkBlue = 5,
    kCardBlue = 6,
    kCardCyan = 7,
    kCardDarkGreen = 9,
    kCardBrown = 10,
    kCardLightGray = 12,
    kCardGray = 13,
    kCardDarkGray = 14,
    kCardBlack = 15,
};

enum : int16_t {
    kCardBold = 1,
    kCardItalic = 2,
};

enum : int16_t {
    kAlignLeft = 1,
    kAlignCentre = 2,
    kAlignRight = 3,
};

// One paragraph: pieces of plain text, or "" and a field id for a merge
// field; its size, style, colour and alignment, and the TrueType face it
// is set in (empty: the document's default).
struct CardLine {
    std::vector<std::pair<std::string, int32_t>> pieces;
    int16_t size;
    int16_t style = 0;
    int16_t colour = kCardBlack;
    int16_t alignment = kAlignLeft;
    std::string face = {};
};

// A field's merge text, as the text frames show it: "[Company]".
std::string FieldText(int32_t id);
// The rectangle at (left, top, right, bottom) points inside the card.
IntRect OnCard(const IntRect& card, int32_t left, int32_t top, int32_t right, int32_t bottom);
// A filled shape frame of the type; null when it cannot be made.
FrameObj* CardShape(CLabelsDoc& doc, int16_t type, const IntRect& r, uint8_t fill, uint8_t border);
// A line or an arc of the colour and width (points), nothing filled;
// null when it cannot be made.
FrameObj* CardStroke(CLabelsDoc& doc, int16_t type, const IntRect& r, uint8_t colour, int16_t width);
// A picture frame showing the picture file (linked, not kept in the
// card); null when the frame cannot be made or the file cannot be found.
FrameObj* CardPicture(CLabelsDoc& doc, const IntRect& r, const std::string& file);
// A barcode frame of the symbology and data, black on no background, bars
// of the height asked (points) and a caption of 6 points; null when the
// frame cannot be made. `frame` makes a counter or a field's barcode
// instead, whose data the card supplies.
FrameObj* CardBarcode(CLabelsDoc& doc, const IntRect& r, int16_t type, const std::string& data, double barHeight,
                      int16_t frame = kFrameBarcode);
// A database field made a barcode of the symbology, as a person places the
// field and chooses Make Object a Barcode: bars of the field's text on each
// printed card, its name on the card in the window. The frame stands at the
// rectangle's top left and takes the size of what it shows; null when it
// cannot be made.
FrameObj* CardFieldBarcode(CLabelsDoc& doc, const IntRect& r, int16_t type, int16_t field);
// Sets a barcode frame's narrow bar, in points. Code 39 tells its bars
// apart by width alone: at the half point the other barcodes take, a 300
// dpi page makes some narrow bars as wide as its wide ones, and a reader
// finds nothing; 0.55 reads.
void SetCardBarcodeModule(FrameObj* barcode, double module);
constexpr double kCardCode39Module = 0.55;
// The counter: a barcode of the card's number on the sheet, black with a
// caption of 6 points; null when the frame cannot be made.
FrameObj* CardCounter(CLabelsDoc& doc, const IntRect& r);
// A group frame of the rectangle holding the two frames; null when one of
// them or the group is missing. The page's groups are brought up to date
// by the caller once all are made.
FrameObj* CardGroup(CLabelsDoc& doc, const IntRect& r, FrameObj* first, FrameObj* second);
// Display text of one line, centred, outlined in black, filled with a
// blend from dark blue to cyan, with a grey drop shadow; null when the
// frame cannot be made.
FrameObj* CardDisplayText(CLabelsDoc& doc, const IntRect& r, const char* line);
// A text frame without border or background holding the lines; null when
// a frame or paragraph cannot be made.
FrameObj* CardTextBox(CLabelsDoc& doc, const IntRect& r, const std::vector<CardLine>& lines);
