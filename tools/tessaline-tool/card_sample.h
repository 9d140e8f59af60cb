// The sample business card the program ships: company, name, title and
// address lines made of merge fields for the contact database, a logo of a
// disc and a star, and a barcode.
#pragma once

#include <string>

class CLabelsDoc;

// Puts the sample's frames and text on the first page of a new document
// after its first view update. False when a frame cannot be made.
bool BuildSampleCard(CLabelsDoc& doc);
// A card like the sample whose phone line is turned by 90, 45 and 30
// degrees, with the picture file `logo` when one is named: the card the
// print benchmark and the turned-text tests use.
bool BuildTurnedTextCard(CLabelsDoc& doc, const std::string& logo);
// A label of a 2 x 1.33 in picture (the file, linked) beside an address.
bool BuildPictureCard(CLabelsDoc& doc, const std::string& picture);
// A badge: the contact's own photograph (the picture field) beside the
// name, title and company.
bool BuildBadgeCard(CLabelsDoc& doc);
// The most frames a card holds: a picture (the file, linked) and 448
// small squares and field boxes, for timing a job of many frames.
bool BuildCrowdedCard(CLabelsDoc& doc, const std::string& picture);
