// The picture frame: an image frame whose picture file is named by a
// database field of the card being shown (the picture field, 16). It loads
// the file when the name changes, shows a three-line placeholder when
// there is no file to show, and never keeps its picture in the document.
#pragma once

#include <string>

#include "frames/frame_obj_image.h"

class FrameObjPicture : public FrameObjImage {
public:
    FrameObjPicture();
    int16_t GetType() const override { return kFramePicture; }

    // The root's, then the picture is looked for again.
    void SetRecordFed(uint8_t on) override;
    // Brings the picture up to date with the field first; while printing
    // without the document's print-placeholders option a missing picture
    // prints nothing (1).
    int32_t PrepareImage(int16_t mode) override;
    // Only a record that names a file asks for a picture; the record is
    // named by its first and last name.
    bool MissedPicture(std::string* file, std::string* record) const override;

    // The field's name on screen off a record, else its text for the
    // current card.
    std::string PictureFieldText() const;
    // The picture's file for a field text: the path itself, else the same
    // name in the program's folder (under the text's folder when it has
    // one but no drive). 0 with the path, 1 when neither exists.
    static int32_t PictureResolvePath(const std::string& text, PathRecord* out);
    // Three lines of text in the frame's font on white; null on failure.
    DibHandle PictureMakePlaceholder();
    // Follows the field: loads a changed file, or puts up the placeholder.
    // 0 when the frame has a picture to show, 1 when it has none.
    int32_t PictureUpdate();

    bool PlaceholderShown() const { return placeholderShown_ != 0; }

protected:
    bool UsesRecord() const { return outputShift_ || block_.recordFed; }

    uint8_t placeholderShown_ = 1;
};
