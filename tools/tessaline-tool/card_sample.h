// The sample business card the program ships: company, name, title and
// address lines made of merge fields for the contact database, a logo of a
// disc and a star, and a barcode.
#pragma once

class CLabelsDoc;

// Puts the sample's frames and text on the first page of a new document
// after its first view update. False when a frame cannot be made.
bool BuildSampleCard(CLabelsDoc& doc);
