// What the user is told when a picture file just placed leaves its frame
// empty: the file is in none of the formats the program reads, or the
// picture in it could not be read, with the reader's reason where it has
// one. Nothing is said when the picture came in.
#pragma once

#include "foundation/path_record.h"

class FrameObjImage;

void TellIfNoPicture(const FrameObjImage& image, const PathRecord& file);
