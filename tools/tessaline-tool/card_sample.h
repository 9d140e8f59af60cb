// The sample business card the program ships: company, name, title and
// address lines made of merge fields for the contact database, a logo of a
// disc and a star, and a barcode.
#pragma once

class CLabelsDoc;

// Puts the sample's frames and text on the first page of a new document
// after its first view update. False when a frame cannot be made.
bool BuildSampleCard(CLabelsDoc& doc);
// A card like the sample whose phone line is turned by 90, 45 and 30
// degrees: the card the print benchmark and the turned-text tests use.
bool BuildTurnedTextCard(CLabelsDoc& doc);
