// The system clipboard as the clipboard store uses it, over QClipboard:
// numbered formats (plain text, a picture, and formats the program
// registers by name), opened around each access. What one opening puts on
// the clipboard is offered to other programs together, in place of what it
// held, when the opening closes.
//
// Plain text crosses as Windows-1252 bytes whose paragraphs end with CR
// (13): the line ends of other programs' text ("\n", "\r\n" or "\r") become
// one CR each, and on the way out a CR or a line break (0) becomes "\n".
#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <memory>
#include <string>

class QMimeData;

enum : int32_t {
    kClipText = 1,
    kClipDib = 8,
    kClipEnhMetafile = 14,
    kClipOwnerDisplay = 0x80,
};

// A format of the program's own: the same name always gives the same
// number (from 0xC000 on).
int32_t RegisterClipboardFormat(const char* name);

// The first of the formats the clipboard offers: 0 when it offers nothing
// at all, -1 when it offers none of them.
int32_t FirstAvailableFormat(const int32_t* formats, int count);
bool IsClipboardFormatAvailable(int32_t format);

class ClipboardAccess {
public:
    ClipboardAccess();
    // Hands what was put on to the system clipboard.
    ~ClipboardAccess();
    ClipboardAccess(const ClipboardAccess&) = delete;
    ClipboardAccess& operator=(const ClipboardAccess&) = delete;

    void Empty();
    // Plain text: code page bytes with CR paragraph ends.
    void PutText(const uint8_t* bytes, uint32_t n);
    void PutPicture(const QImage& picture);
    // A registered format's bytes; formats the clipboard does not know are
    // left out.
    void PutData(int32_t format, const QByteArray& bytes);

    // The clipboard's plain text as code page bytes; empty when it holds
    // none. Characters outside the code page are left out, counted in
    // *leftOut when given.
    std::string GetText(int32_t* leftOut = nullptr) const;
    QImage GetPicture() const;
    QByteArray GetData(int32_t format) const;

private:
    std::unique_ptr<QMimeData> pending_;
    bool changed_ = false;
};

// Plain text between the program's bytes and other programs' text. Taken
// in, characters the code page lacks and NULs are left out and counted.
QString ClipboardTextFromBytes(const uint8_t* bytes, uint32_t n);
std::string ClipboardBytesFromText(const QString& text, int32_t* leftOut = nullptr);
