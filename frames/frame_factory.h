// Frame objects by type code: codes 0-7, 9 and 11-18 have a class.
#pragma once

#include <cstdint>

class FrameObj;

bool IsFrameTypeKnown(int16_t type);
// A new object of the type's class with its creation values; null for a
// code without a class or when memory runs out.
FrameObj* NewFrameObject(int16_t type);
