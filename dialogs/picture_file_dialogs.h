// The picture open and export file dialogs: the desktop's open and save
// dialogs with a panel of our own beside them.
//
// RunOpenPictureDialog picks a file to open: a picture (picture mode, with
// a live preview of the selected file) or a card document (document mode).
// RunExportPictureDialog picks the target file, format and size of an
// export of the card as a picture, and previews the caller's picture at the
// chosen format's colour depth.
//
// Each keeps its state in a settings block that the caller copies in
// before and gets back after the run (also after Cancel: the folder, and in
// the open dialog the path and the preview switch, may have changed), so
// folder, last path, format, size and the preview choice persist through
// the caller. Rendering, encoding and opening the chosen file are the
// callers' work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <QWidget>

#include "dialogs/picture_preview_wnd.h"
#include "graphics/dib_handle.h"

class QFileDialog;

struct OpenPictureSettings {
    char folder[260];  // the folder the dialog opens in, and the one shown
    char path[260];    // in: the previous file; out: the chosen one
    char title[256];
    uint8_t showPreview;  // the "Show preview" box
    uint8_t pictureMode;  // 1 pictures with preview, 0 card documents
};
static_assert(offsetof(OpenPictureSettings, showPreview) == kPreviewShowOffset);
static_assert(offsetof(OpenPictureSettings, pictureMode) == kPreviewPictureModeOffset);
static_assert(sizeof(OpenPictureSettings) == kPreviewSettingsMinSize);

struct ExportPictureSettings {
    char folder[260];
    char path[260];  // out: the target as typed (the caller adds the extension)
    char title[256];
    int16_t format;  // 1-based row of the export format table
    uint16_t spare1;
    float width;   // points
    float height;  // points
    uint32_t spare2;
};

// A row of the export table: what the user sees, the extension the caller
// adds, the picture format code, and whether the preview and the file are
// black and white.
struct ExportFormatRow {
    const char* name;
    const char* pattern;
    const char* extension;
    int32_t formatCode;
    bool blackAndWhite;
};
constexpr int32_t kExportFormatCount = 18;
extern const ExportFormatRow ExportFormatTable[kExportFormatCount];
// The rows whose size the dialog does not ask for (metafiles).
bool ExportRowIsMetafile(int32_t row);
// Whether the program can write the row's format (LEAD and WinFax it
// cannot): the dialog offers only these rows.
bool ExportRowIsWritable(int32_t row);
// The file an export writes and its row, from the path as typed and the
// row chosen in the dialog: a name without an extension takes the row's;
// an extension of a writable row decides the format, whichever row was
// chosen; any other extension is kept and the row's added after it, so
// that a file's extension always says what it holds.
int32_t ExportTargetFor(const std::string& typed, int32_t chosenRow, std::string* target);

struct PictureFilterRow {
    const char* name;
    const char* pattern;
};
constexpr int32_t kPictureFilterCount = 20;
extern const PictureFilterRow PictureFilterTable[kPictureFilterCount];
constexpr int32_t kDocumentFilterCount = 2;
extern const PictureFilterRow DocumentFilterTable[kDocumentFilterCount];

// The filter list as the desktop's dialogs of old took it, in a zeroed
// 512-byte buffer: per row the name, " (", the pattern, ")", NUL, the
// pattern, NUL; the zeroed tail ends the list. Rows that no longer fit are
// left out whole.
constexpr size_t kFilterBufferSize = 512;
void BuildFilterString(const PictureFilterRow* rows, int32_t count, char* buffer);

// 1 when the user chose a file, 2 when cancelled. A null settings pointer
// runs the dialog on the block as it stands from the previous run.
int32_t RunOpenPictureDialog(QWidget* owner, OpenPictureSettings* settings);
// 1 on OK; 2 when cancelled, or at once (no dialog, the block untouched)
// when the source picture is null or empty or memory runs out.
int32_t RunExportPictureDialog(QWidget* owner, ExportPictureSettings* settings, DibHandle* source);

// The picture panel of the export dialog: the picture scaled to fit,
// centred and framed; the plain window colour without one.
class CDibPreviewWnd : public QWidget {
public:
    explicit CDibPreviewWnd(QWidget* parent = nullptr);
    // Not owned; null for none.
    void SetPicture(const DibHandle* picture) { picture_ = picture; }
    void Draw(class Dc* dc, const struct IntRect& client) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const DibHandle* picture_ = nullptr;
};
