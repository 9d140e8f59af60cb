// CPicturePreviewWnd: a small window showing a picture file, or a picture
// its host already holds, scaled to fit and centred. It sits in the
// picture open dialogs and in the wizard's picture dialogs.
//
// Two bytes of a settings record that belongs to the host decide what it
// does: the show-preview switch (nothing but the plain face is painted
// while it is 0) and the picture-mode switch (no file is loaded while it
// is 0). Loading never reports an error: a file that no loader reads
// leaves the window with nothing to draw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <QWidget>

#include "graphics/dib_handle.h"

class Dc;

// Offsets of the two switches in the host's settings record.
constexpr size_t kPreviewShowOffset = 776;
constexpr size_t kPreviewPictureModeOffset = 777;
// The smallest settings record the window can read.
constexpr size_t kPreviewSettingsMinSize = 778;

enum : uint8_t {
    kPreviewNothing = 0,
    kPreviewBitmap = 1,    // given by the host or read from a raster file
    kPreviewMetafile = 2,  // rendered from a metafile at load time
};

class CPicturePreviewWnd : public QWidget {
public:
    explicit CPicturePreviewWnd(QWidget* parent = nullptr);
    ~CPicturePreviewWnd() override;
    CPicturePreviewWnd(const CPicturePreviewWnd&) = delete;
    CPicturePreviewWnd& operator=(const CPicturePreviewWnd&) = delete;

    // The host's record (at least kPreviewSettingsMinSize bytes), read at
    // every load and paint; null reads as both switches off.
    void SetSettings(const uint8_t* settings) { settings_ = settings; }
    // Takes the picture over: the window frees it. An empty picture leaves
    // the one shown as it is (and is freed here).
    void SetPicture(DibHandle picture);
    // Frees the picture shown and, in picture mode, reads the file (a
    // host path). Does not repaint.
    void LoadPicture(const std::string& path);
    void FreePicture();

    uint8_t Kind() const { return kind_; }
    DibHandle Picture() const { return picture_; }

    void Draw(Dc* dc);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool Switch(size_t offset) const { return settings_ && settings_[offset] != 0; }
    void LoadMetafile(const std::string& path);
    bool LoadOwnDecoder(const std::string& path, int32_t type);
    void LoadThroughImaging(const std::string& path);

    const uint8_t* settings_ = nullptr;
    DibHandle picture_ = nullptr;
    uint8_t kind_ = kPreviewNothing;
};
