// The image frame: a rectangle frame that shows one picture. Behind the
// root's block it stores blocks A and B (image_block_format.h); in the
// document file, when the picture is kept there, the picture follows them.
// Decoded pictures live in the swap file; the blocks say where.
#pragma once

#include "frames/frame_obj_rect.h"
#include "frames/image_block_format.h"

class CTFileMng;

class FrameObjImage : public FrameObjRect {
public:
    FrameObjImage();

    int16_t GetType() const override { return kFrameImage; }
    uint32_t DataSize() const override;
    // The destination gets both blocks and its own swap copies of the
    // picture.
    int32_t CopyTo(FrameObj* destination) override;

    const ImageBlockA& BlockA() const { return a_; }
    const ImageBlockB& BlockB() const { return b_; }
    // Frees the decoded, rotated and mask images; with dropStore their
    // swap stretches go too.
    virtual void ReleaseImage(bool dropStore);
    // The same for the metafile bits.
    virtual void ReleasePreview(bool dropStore);
    // Puts a picture in the store form (u32 size, then the packed bitmap)
    // into the swap file as the decoded image; 0, or 1 when it cannot be
    // stored.
    int32_t StoreImageBytes(const uint8_t* storeForm, uint32_t length);
    // Puts metafile bits into the swap file as the preview.
    int32_t StorePreviewBytes(const uint8_t* bits, uint32_t length);

protected:
    // The swap pair carries both blocks as they are; the document pair
    // replaces the swap places by those of the picture it writes behind
    // them (or by "not stored"), and takes a picture it finds back into
    // the swap file.
    int32_t ReadBody(FileHandle file, BlockTarget target) override;
    int32_t WriteBody(FileHandle file, BlockTarget target) override;
    CTFileMng* Swap() const;
    // Writes the kept picture at the file's position and notes where in
    // block B; 0 when there is none to write.
    int32_t WritePicture(FileHandle file, ImageBlockB* written);
    int32_t ReadPicture(FileHandle file, ImageBlockB* read);

    ImageBlockA a_;
    ImageBlockB b_;
    uint8_t rotationStale_ = 0;
    uint8_t maskStale_ = 1;
    uint8_t outlineStale_ = 1;
    float savedHScale_ = 100.0f;
    float savedVScale_ = 100.0f;
    IntPoint savedPan_;
};

// Block B as the document gets it when no picture is kept there: no swap
// place is stored and the rotated copy is to be made again.
void ClearImageStorePlaces(ImageBlockB* b);
