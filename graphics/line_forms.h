// The two forms of a line's geometry: the record of its two end points and
// the polar form kept in a PlacementBlock.
#pragma once

#include "foundation/int_geometry.h"
#include "graphics/placement_records.h"

// Origin at the start, width and height the vector to the end (16 bits),
// its angle and length, the line words copied and both cap codes packed into
// sides. A line of no length sounds the exclamation beep (see VectorAngle).
void LineRecordToPlacement(const LineRecord& r, PlacementBlock* b);
// End = start + (width, height); angle and length are not used.
void LinePlacementToRecord(const PlacementBlock& b, LineRecord* r);

// Star and polygon geometry is kept in the same two forms.
inline void StarRecordToPlacement(const LineRecord& r, PlacementBlock* b) { LineRecordToPlacement(r, b); }
inline void StarPlacementToRecord(const PlacementBlock& b, LineRecord* r) { LinePlacementToRecord(b, r); }

// Sets the record's end points to start and the point length units away
// from it in the direction angle; caps and line words are left alone.
void LineRecordAtDistance(const IntPoint& start, double length, double angle, LineRecord* r);

// Turns both end points of a line in polar form about centre by angle.
void LinePlacementRotateAbout(PlacementBlock* b, double angle, const IntPoint& centre);
