#include "frames/frame_factory.h"

#include <new>

#include "frames/frame_obj.h"
#include "frames/frame_obj_arc.h"
#include "frames/frame_obj_barcode.h"
#include "frames/frame_obj_barcode13.h"
#include "frames/frame_obj_barcode18.h"
#include "frames/frame_obj_counter_barcode.h"
#include "frames/frame_obj_ellipse.h"
#include "frames/frame_obj_field_barcode.h"
#include "frames/frame_obj_group.h"
#include "frames/frame_obj_image.h"
#include "frames/frame_obj_line.h"
#include "frames/frame_obj_picture.h"
#include "frames/frame_obj_power_text.h"
#include "frames/frame_obj_rect.h"
#include "frames/frame_obj_round_rect.h"
#include "frames/frame_obj_star.h"
#include "frames/frame_obj_text.h"

bool IsFrameTypeKnown(int16_t type) { return type >= 0 && type <= 18 && type != 8 && type != 10; }

FrameObj* NewFrameObject(int16_t type)
{
    switch (type) {
    case kFramePlain:
        return new (std::nothrow) FrameObj;
    case kFrameRect:
        return new (std::nothrow) FrameObjRect;
    case kFrameRoundRect:
        return new (std::nothrow) FrameObjRoundRect;
    case kFrameEllipse:
        return new (std::nothrow) FrameObjEllipse;
    case kFrameLine:
        return new (std::nothrow) FrameObjLine;
    case kFrameText:
        return new (std::nothrow) FrameObjText;
    case kFrameArc:
        return new (std::nothrow) FrameObjArc;
    case kFrameImage:
        return new (std::nothrow) FrameObjImage;
    case kFrameGroup:
        return new (std::nothrow) FrameObjGroup;
    case kFrameBarcode:
        return new (std::nothrow) FrameObjBarcode;
    case kFrameCounterBarcode:
        return new (std::nothrow) FrameObjCounterBarcode;
    case kFrameBarcode13:
        return new (std::nothrow) FrameObjBarcode13;
    case kFrameFieldBarcode:
        return new (std::nothrow) FrameObjFieldBarcode;
    case kFramePicture:
        return new (std::nothrow) FrameObjPicture;
    case kFramePowerText:
        return new (std::nothrow) FrameObjPowerText;
    case kFrameStar:
        return new (std::nothrow) FrameObjStar;
    case kFrameBarcode18:
        return new (std::nothrow) FrameObjBarcode18;
    default:
        return nullptr;
    }
}
