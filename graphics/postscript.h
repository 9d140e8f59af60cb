// PostScript pass-through: PostScript text and whole EPS files sent
// straight to a PostScript printer through the printer's PASSTHROUGH
// escape.
//
// The escape is a PassThroughSink: DcPassThrough for a print job written
// as PostScript (Dc::supportsPostScriptPassThrough), where the text goes
// into the job as it is. For printers that take no PostScript an EPS
// picture's pass-through goes into a PassThroughBuffer and from there to
// Ghostscript, whose picture of it is printed (graphics/ghostscript.h).
#pragma once

#include <cstdint>
#include <string>

#include "foundation/path_record.h"

class PassThroughSink {
public:
    virtual ~PassThroughSink() = default;
    // One escape: buffer holds the 16-bit little-endian byte count and then
    // that many bytes. Above 0 when the device took it, 0 when it refused.
    virtual int32_t Escape(const uint8_t* buffer, uint32_t size) = 0;
};

// Takes every escape and keeps its data bytes: the whole PostScript text
// sent through it, for an interpreter of the program's own choosing.
class PassThroughBuffer : public PassThroughSink {
public:
    int32_t Escape(const uint8_t* buffer, uint32_t size) override;
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

class Dc;

// The escape of a context that takes PostScript: each escape's bytes are
// written into its page where they are sent.
class DcPassThrough : public PassThroughSink {
public:
    explicit DcPassThrough(Dc* dc) : dc_(dc) {}
    int32_t Escape(const uint8_t* buffer, uint32_t size) override;

private:
    Dc* dc_;
};

// Most data bytes one escape carries.
constexpr uint32_t kPassThroughChunk = 2048;

// Sends count bytes in consecutive escapes of at most 2048 data bytes each.
// Nothing for count below 1. 0, or 1 when an escape was refused (nothing
// further is sent then).
int32_t PsSendData(PassThroughSink* sink, const void* bytes, int32_t count);
// The text without its terminator; an empty text sends nothing.
int32_t PsSendCStr(PassThroughSink* sink, const char* text);
int32_t PsGsave(PassThroughSink* sink);     // " gsave \n"
int32_t PsGrestore(PassThroughSink* sink);  // " grestore \n"
// Sends the PostScript section of an EPS file (the whole file unless it
// starts with the binary header of DOS EPS files) in reads of 2048 bytes.
// 0, the file layer's code, or 1 when an escape was refused.
int32_t PsSendFile(PassThroughSink* sink, const PathRecord* file);
// The prolog, "%%BeginDocument:A\n", the file, "%%EndDocument\n" and the
// epilog. The file's result, or 1 when any escape was refused.
int32_t PsIncludeEps(PassThroughSink* sink, const PathRecord* file);

// What an included EPS file runs inside: its own save level, dictionary and
// operand stack, a harmless showpage and the default graphics state.
extern const char* const kEpsProlog;
// Pops what the EPS file left and returns to the state before the prolog.
extern const char* const kEpsEpilog;
