#include "carddoc/picture_problem_alert.h"

#include <string>

#include "foundation/alerts.h"
#include "frames/frame_obj_image.h"

void TellIfNoPicture(const FrameObjImage& image, const PathRecord& file)
{
    if (!image.PictureFormatUnknown() && !image.PictureUnreadable())
        return;
    char name[kPathTextSize] = {};
    PathRecordGetFileName(&file, name, int32_t(sizeof name));
    const std::string quoted = std::string("\"") + name + "\"";
    std::string text;
    if (image.PictureFormatUnknown())
        text = quoted + " is not a picture format the program reads, so the frame shows no picture. The program "
                        "reads BMP, ICO, GIF, JPEG, PNG and TIFF pictures, WMF and EMF metafiles and EPS files.";
    else if (!image.UnreadableReason().empty())
        text = "The picture " + quoted + " can't be read. " + image.UnreadableReason() +
               " The frame shows no picture.";
    else
        text = "The picture " + quoted + " can't be read: the file is damaged, or the picture is larger than any "
                                         "picture can be. The frame shows no picture.";
    AlertStop(text.c_str(), 0);
}
