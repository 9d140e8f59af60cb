// The sample business card the program ships: company, name, title and
// address lines made of merge fields for the contact database, a logo of a
// disc and a star, and a barcode.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class CLabelsDoc;

// Puts the sample's frames and text on the first page of a new document
// after its first view update. False when a frame cannot be made.
bool BuildSampleCard(CLabelsDoc& doc);
// How a turned-text card is set: the face of its lines (empty: the
// document's default), the turns of its three phone lines (left, right
// and bottom), their size in points and the turn of the name box.
struct TurnedCardStyle {
    std::string face;
    std::array<int16_t, 3> angles = {30, 90, 45};
    int16_t phoneSize = 12;
    // The turn of the name and title box about its top left corner.
    int16_t nameAngle = 0;
};
// A card like the sample whose phone line is turned three times (by 30,
// 90 and 45 degrees unless the style says otherwise), with the picture
// file `logo` when one is named: the card the print benchmark and the
// turned-text tests use.
bool BuildTurnedTextCard(CLabelsDoc& doc, const std::string& logo, const TurnedCardStyle& style = {});
// A two-sided card of every frame kind: straight, turned (90, 45 and 30
// degrees) and display text, pictures of every format the folder holds
// (MakeEveryFramePictures), every barcode symbology, a field and a counter
// barcode, the shapes and a group.
bool BuildEveryFrameCard(CLabelsDoc& doc, const std::string& pictures);
// Writes the pictures that card shows into the folder: PNG, GIF, BMP,
// TIFF and JPEG, from 200 to 6000 pixels wide. False when one cannot be
// written.
bool MakeEveryFramePictures(const std::string& folder);
// Writes a PNG picture of the size, drawn as the every-frame card's are.
bool WriteBenchPicture(const std::string& path, int width, int height);
// The visitor badge: a box, an ellipse, a star and a line, the display
// text "VISITOR", the 600 x 400 picture `visitor-600.png` it writes into
// the folder turned by 30 degrees, "ACCESS" in a 48 x 16 point text frame
// turned by 45, an EAN-13, a Code 39 of the company field, a counter and
// five merge fields in three faces.
bool BuildVisitorBadgeCard(CLabelsDoc& doc, const std::string& pictures);
// How a card of every frame kind at odd angles is set: the turns of its
// frames, a scale of its sizes in hundredths, the face of its text, and
// the name of the picture it writes into the folder and its size.
struct OddCardStyle {
    std::array<int16_t, 3> angles;
    int32_t scale;
    std::string face;
    std::string picture;
    int pictureWidth, pictureHeight;
};
// The three such cards the benchmarks print ("a", "b" and "c"); false for
// another.
bool OddCardStyleNamed(const std::string& name, OddCardStyle* style);
// A card of every frame kind, turned and sized as the style says.
bool BuildOddFrameCard(CLabelsDoc& doc, const std::string& pictures, const OddCardStyle& style);
// A label of a 2 x 1.33 in picture (the file, linked) beside an address.
bool BuildPictureCard(CLabelsDoc& doc, const std::string& picture);
// A card of frames turned by `angle` about their top left corners: a text
// frame of 48 x 16 points and one of 110 x 40 holding "ACCESS" (in 7 and
// 14 points), the two a card's width apart; or, when `picture` names a
// file, that picture (linked) in a frame of 50 x 34 points.
bool BuildAngledCard(CLabelsDoc& doc, int16_t angle, const std::string& picture);
// An address label of one face at the sizes a PostScript job must keep
// readable: the name, street and town at 9 points as on a sheet of address
// labels, the company at 6, the country at 12 and the first name at 72.
bool BuildSizesCard(CLabelsDoc& doc);
// A badge: the contact's own photograph (the picture field) beside the
// name, title and company.
bool BuildBadgeCard(CLabelsDoc& doc);
// The most frames a card holds: a picture (the file, linked) and 448
// small squares and field boxes, for timing a job of many frames.
bool BuildCrowdedCard(CLabelsDoc& doc, const std::string& picture);
// Display text in every outline, fill and shadow of its effects, and each
// shape with hatches, patterns and border styles, some turned: the card
// that shows whether a page keeps every one of them as outlines.
bool BuildEffectsCard(CLabelsDoc& doc);
// A square of every fill pattern but solid and hollow, black on white and
// without a border, frame i filled with pattern kPatternsCardFirstFill + i:
// the six hatches, then the twenty pattern bitmaps.
enum : int { kPatternsCardFirstFill = 2, kPatternsCardFills = 26 };
bool BuildPatternsCard(CLabelsDoc& doc);
// A shipping label, two on a Letter sheet: the picture file `logo`
// (linked), the sender's company and name, a rule, the address in four
// lines of merge fields and a Code 128 of the ZIP code field.
bool BuildShippingLabelCard(CLabelsDoc& doc, const std::string& logo);
// A sheet of 65 small labels on A4 (5 x 13, 38.1 x 21.2 mm), each the
// contact's name in 9 points.
bool BuildNameSheetCard(CLabelsDoc& doc);
