// What the content frames (text, barcode, Quick Card, power text, image and
// picture frames) need of the card document and its view: fonts, the
// document's display and print options, the Text tool's frame, the text
// engine, the info commands they run and the printer's PostScript escape.
//
// The card document implements it beside FrameDocument; a frame reaches it
// through ContentHostOf.
#pragma once

#include <cstdint>

#include "graphics/font_spec.h"

class Dc;
class FrameObj;
class PassThroughSink;
class TextFrameEngine;

class ContentFrameHost {
public:
    virtual ~ContentFrameHost() = default;

    // The document font table's font (the substitute where the table says
    // so); false when the id is unknown.
    virtual bool LookupFont(int16_t fontId, FontSpec* out) = 0;
    // The id of the document's font for the face, which the font table
    // takes in when it lacks it; -1 when it can't.
    virtual int32_t FontIdFor(const FontSpec& face) = 0;

    // The document's print-preview flag.
    virtual bool InPrintPreview() = 0;
    // Print placeholders: a picture frame without its picture prints its
    // placeholder.
    virtual bool PrintPlaceholders() = 0;
    // Placeholder text: picture frames show "PLACE GRAPHIC HERE" and count
    // as having a picture.
    virtual bool PlaceholderText() = 0;

    // The frame the Text tool edits while it is the current tool, else null.
    virtual FrameObj* TextToolFrame() = 0;
    // The text engine, for the text frames' layout and drawing; null
    // before there is one (text frames then show no text).
    virtual TextFrameEngine* TextEngine() = 0;

    // The card document's info commands of its Object menu.
    virtual void DoBarcodeInfo() = 0;
    virtual void DoCounterInfo() = 0;
    virtual void DoQuickCardSpec() = 0;
    virtual void DoQuickCardInfo() = 0;

    // The PostScript escape of the printer being drawn to; null when it
    // takes no PostScript (EPS pictures then print their stand-in).
    virtual PassThroughSink* PostScriptSink() = 0;
};

// The frame's document as a content host; for a frame outside any card
// document (on the clipboard, in a preview), the fallback host when one is
// installed, else the host of a frame on its own: no font table, no print
// preview, no tool, no commands.
ContentFrameHost* ContentHostOf(const FrameObj* frame);
// Installs the fallback (null removes it) and returns the previous one.
ContentFrameHost* SetFallbackContentHost(ContentFrameHost* host);
// What text is measured with: the view's context, else one that only
// measures.
Dc* ContentMeasureDc(const FrameObj* frame);
