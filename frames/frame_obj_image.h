// The image frame: a rectangle frame that shows one picture. Behind the
// root's block it stores blocks A and B (image_block_format.h); in the
// document file, when the picture is kept there, the picture follows them.
// Decoded pictures live in the swap file; the blocks say where. In memory
// the frame keeps, while it needs them, the decoded picture, its turned
// copy, the transparency mask and the metafile bits.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foundation/path_record.h"
#include "frames/frame_obj_rect.h"
#include "frames/image_block_format.h"
#include "frames/image_postscript.h"
#include "frames/picture_soft_masks.h"
#include "graphics/dib_handle.h"

class CTFileMng;
class Dc;
class PassThroughSink;

// Most points of the picture's text-wrap outline.
constexpr int32_t kImageOutlinePoints = 23;

// The pictures that frames being printed could not draw (their files gone
// or unreadable) since the last call, which starts the count again: how
// many, and the first one's file with the record whose card it was to
// show (empty for a picture of the card itself), whether that file is a
// pipe or a device, and whether other files were missed too.
struct PicturesNotPrinted {
    int32_t count = 0;
    std::string file;
    std::string record;
    bool notAFile = false;
    bool others = false;
};
PicturesNotPrinted TakePicturesNotPrinted();

class FrameObjImage : public FrameObjRect {
public:
    FrameObjImage();
    // Frees what the frame holds in memory; its swap stretches stay, for
    // block B names them.
    ~FrameObjImage() override;

    int16_t GetType() const override { return kFrameImage; }
    uint32_t DataSize() const override;
    // The destination gets both blocks and its own swap copies of the
    // picture; its turned copy is made again.
    int32_t CopyTo(FrameObj* destination) override;
    // The first change also keeps both scales and the pan, which the undo
    // swaps back.
    void MarkChanged(uint8_t on, uint8_t keepRegion) override;
    void ToggleSaved() override;
    void LeavingMemory() override;

    // The picture, opaque with a background colour, else transparent where
    // it is white. An EPS file prints as Ghostscript draws it at the
    // printer's resolution (on a PostScript printer it goes out as it is);
    // its preview prints when that cannot be done.
    void DrawContent(Dc* dc) override;
    // A picture tracker; none for a locked, pinned or grouped frame.
    FrameTracker* CreateTracker(FrameView* view, int16_t mode) override;
    // Pans the picture with the mouse while the left button is held;
    // false while the picture is fitted to the frame.
    bool TrackContent() override;
    // The picture's outline as edges (point pairs) for text wrap; false
    // when the list has no room for 46 more points.
    bool AddRotatedPoints(Dc* dc, WrapPointList* list, int32_t limit) override;

    const ImageBlockA& BlockA() const { return a_; }
    const ImageBlockB& BlockB() const { return b_; }

    // ---- the picture ----
    // Whether the picture came from a JPEG file (by what the file holds).
    bool FromJpegFile() const;
    // The format of the file the picture came from, by what it holds
    // (kPictureBmp .. kPictureTiff); -1 for none or another.
    int32_t SourceType() const;
    // Takes the picture of a file: 1 when the file cannot be found (the
    // frame keeps the name), else 0, also when it holds no picture that
    // can be read (the frame then shows none).
    int32_t LoadFromFile(const PathRecord& path, uint8_t keep);
    // Whether the last LoadFromFile found a picture file it could not read
    // (damaged, or larger than any picture may be).
    bool PictureUnreadable() const { return unreadable_; }
    // The reader's own words for the picture it could not read ("The picture
    // is too large: ..."), empty when it has none.
    const std::string& UnreadableReason() const { return unreadableReason_; }
    // Whether the last LoadFromFile found a file in none of the formats the
    // program reads, which the frame then shows empty.
    bool PictureFormatUnknown() const { return formatUnknown_; }
    // Takes over image as the decoded picture (null or empty gives 1). The
    // picture rectangle and the crop become its size. With reset the frame
    // forgets fit, scales, angle and pan and counts the picture as its own
    // raster picture kept in the document.
    int32_t SetImage(DibHandle image, bool reset);
    // Takes over metafile bits as the picture (null gives 1): fitted to the
    // frame, kept in the document.
    int32_t SetMetafile(Handle bits);
    // Frees the decoded, turned and mask pictures; with dropStore their
    // swap stretches go too.
    virtual void ReleaseImage(bool dropStore);
    // The picture the frame showed its stand-in for while it was being
    // drawn in the background has been drawn, or could not be: the frame
    // takes it at its next painting, and is painted again.
    void PreviewSettled();
    // The file whose picture is awaited; empty when none is.
    const std::string& AwaitedFile() const { return awaitedFile_; }
    // The same for the metafile bits.
    virtual void ReleasePreview(bool dropStore);
    // Puts a picture in the store form (u32 size, then the packed bitmap)
    // into the swap file as the decoded image; 0, or 1 when it cannot be
    // stored.
    int32_t StoreImageBytes(const uint8_t* storeForm, uint32_t length);
    // Puts metafile bits into the swap file as the preview.
    int32_t StorePreviewBytes(const uint8_t* bits, uint32_t length);
    // Puts bytes into the swap file in place of what stored, position and
    // storedLength describe (freeing that), and describes them there.
    int32_t StoreInSwap(const uint8_t* bytes, uint32_t length, uint32_t* stored, uint32_t* position,
                        uint32_t* storedLength);

    // ---- placing it ----
    // Moves the picture in its box, unless it is fitted to the box.
    void PanBy(int32_t dx, int32_t dy);
    // The old setting; fitting drops the picture's own angle.
    uint8_t SetFitToFrame(uint8_t on);
    // Grows or shrinks each scale by that many percent of itself (10 to
    // 10000 percent).
    void AdjustScale(int32_t dx, int32_t dy);
    void SetPictureAngle(int16_t angle);
    // The Picture Information dialog's values, as given (no fitting).
    void SetPan(const IntPoint& pan);
    void SetScales(float horizontal, float vertical);
    void SetDisplayAndPrint(uint8_t display, uint8_t print);
    // Picture angle + frame angle, whole degrees, within -359..359.
    int16_t TotalAngle() const;
    // The rectangle (right and bottom included) and corners the picture is
    // drawn into; in view units on request.
    void GetDestination(bool toView, IntRect* rect, CornerQuad* corners) const;

    // Makes the picture to draw ready: mode 1 the decoded picture, 2 the
    // turned copy, 0 whichever the frame's angle asks for. Pictures come
    // back from the swap file, or from their file when that fails; the
    // turned copy is made again when it is stale. 0 when there is one.
    virtual int32_t PrepareImage(int16_t mode);
    // After PrepareImage failed while printing: whether a picture was asked
    // for at all, with its file and the record it was to show.
    virtual bool MissedPicture(std::string* file, std::string* record) const;
    // The prepared picture (null before PrepareImage succeeded).
    // The colour the mask keys out of the current picture.
    ColorRef MaskKey() const;
    // A hash of a picture's bytes, never 0; 0 for none.
    static uint64_t PictureHash(DibHandle h);
    DibHandle CurrentImage() const { return currentRotated_ ? rotated_ : decoded_; }
    // The one-bit mask of the prepared picture, made when missing or stale
    // (white where the picture shows the key colour).
    DibHandle CurrentMask();

    // The file the picture came from: 0 with its path, 1 when the picture
    // did not come from a file, 4 when it is nowhere to be found (with
    // report, the user is told).
    int32_t LocateFile(PathRecord* out, bool report) const;

    // Builds the picture's text-wrap outline (document units): the frame's
    // bounds grown by the wrap distance (the outline inset with useInset,
    // else 0); without a border, with prepare, the traced edges of what the
    // picture shows, moved out by the wrap distance.
    virtual void BuildPictureOutline(bool useInset, bool prepare);
    const std::vector<IntPoint>& PictureOutline() const { return outline_; }

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

    // Makes the turned copy from the decoded picture and stores it; 0 on
    // success.
    int32_t RebuildRotation();
    bool RotationNeeded() const;
    // Brings the decoded picture into memory: from the swap file, from the
    // metafile bits, or from the picture's file. 0 when it is there.
    int32_t LoadDecoded();
    // Puts a picture into the swap file as the decoded image (block B) and
    // keeps or drops it in memory.
    int32_t StoreDecoded(DibHandle image);
    // Loads the metafile bits from the swap file (null when there are
    // none).
    Handle LoadPreviewBits() const;
    void FreeRotatedStore();
    // The picture drawn into rect (view units) as the draw step chooses.
    void DrawRaster(Dc* dc, const IntRect& rect, DibHandle image, DibHandle mask, bool postScript);
    // The graded mask the picture as read prints through on dc in place of
    // its mask of one bit; null where there is none (see
    // PictureSoftMasks).
    std::shared_ptr<const PictureSoftMasks::Mask> PrintSoftMask(Dc* dc);
    // Whether the picture's file is of a kind whose alpha paper may show
    // (PNG, TIFF, bitmap); a GIF's transparency is one colour.
    bool MayPrintSoftly() const;
    // A turned picture on paper or on an enlarged view, into rect (view
    // units) whose picture corners are `picture`: turned from the picture
    // as read, at what the device shows (see TurnedPaperPictures);
    // `transparent` when the frame has no background. False when it could
    // not be made.
    bool DrawTurnedSmoothly(Dc* dc, const IntRect& rect, const CornerQuad& picture, bool transparent,
                            bool postScript);
    // Whether the view shows more than a pixel for each point, where the
    // turned picture made at a pixel a point would show in blocks.
    bool ViewEnlarged() const;
    // Kind 5 on a printer: the metafile played or rendered at the device's
    // size; false when neither worked.
    bool DrawMetafileForPrint(Dc* dc, const IntRect& rect, bool transparent, bool postScript);
    // An EPS file sent to the printer's PostScript escape, into the
    // picture's corners; false when it was not (the preview is printed
    // instead).
    bool SendEps(Dc* dc, PassThroughSink* sink, const CornerQuad& picture);
    // An EPS file drawn by Ghostscript at the device's resolution into the
    // picture's corners and printed as a picture within rect (their
    // bounds); false when it was not (the preview is printed instead).
    bool DrawEpsRendered(Dc* dc, const IntRect& rect, const CornerQuad& picture, bool transparent);
    // True when drawing waits for the pictures Ghostscript draws: paper
    // does, the screen and the print preview show a stand-in meanwhile.
    // What the user knows the picture by: its file's name, or empty.
    std::string PictureName() const;
    bool WaitsForPictures() const;
    // Where the EPS picture with the corners (view units) goes, in device
    // units less origin.
    EpsPlacement PlaceEps(Dc* dc, const CornerQuad& picture, IntPoint origin) const;
    void MarkPictureStale();
    // Shows standIn (taken over) for the file's picture until it is drawn.
    void ShowWhileDrawn(DibHandle standIn, const std::string& file);
    // No longer waits for a picture drawn in the background.
    void StopAwaiting();
    // The context to measure and render with: the view's, or a measuring
    // one when the frame has no view.
    Dc* ReferenceDc();

    ImageBlockA a_;
    ImageBlockB b_;
    DibHandle decoded_ = nullptr;
    DibHandle rotated_ = nullptr;
    DibHandle mask_ = nullptr;
    Handle metafile_ = nullptr;
    bool currentRotated_ = false;
    uint32_t rop_ = 0;
    uint8_t rotationStale_ = 0;
    bool unreadable_ = false;
    bool formatUnknown_ = false;
    std::string unreadableReason_;
    // The swap stretch decoded_ was read from or written to, or
    // kImageNoPosition.
    uint32_t decodedFrom_ = 0xFFFFFFFFu;
    // The mask handed back with decoded_ from the swap file, until the
    // mask is next asked for; whether mask_ was made from decoded_.
    DibHandle keptMask_ = nullptr;
    bool maskOfDecoded_ = false;
    // Hashes of decoded_'s and rotated_'s pixels, made as each is set.
    uint64_t decodedKey_ = 0;
    uint64_t rotatedKey_ = 0;
    // SourceType's answer for the picture taken last; kSourceUnknown until
    // asked.
    static constexpr int32_t kSourceUnknown = -2;
    mutable int32_t sourceType_ = kSourceUnknown;
    uint8_t maskStale_ = 1;
    uint8_t outlineStale_ = 1;
    float savedHScale_ = 100.0f;
    float savedVScale_ = 100.0f;
    IntPoint savedPan_;
    std::vector<IntPoint> outline_;
    // decoded_ is the stand-in for the picture of this file (a full path),
    // shown while it is drawn in the background; empty when it is not.
    std::string awaitedFile_;

private:
    std::unique_ptr<Dc> measuring_;
};

// Block B as the document gets it when no picture is kept there: no swap
// place is stored and the rotated copy is to be made again.
void ClearImageStorePlaces(ImageBlockB* b);
