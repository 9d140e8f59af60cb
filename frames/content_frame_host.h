// What the content frames (text, barcode, Quick Card, power text, image and
// picture frames) need of the card document and its view: fonts, the
// document's display and print options, the Text tool's frame, the text
// engine, the info commands they run and the printer's PostScript escape.
//
// The card document implements it beside FrameDocument; a frame reaches it
// through ContentHostOf. A document without it answers with the defaults
// below: no font table (font 0 stands for every font), nothing in print
// preview, no tool, no commands.
#pragma once

#include <cstdint>

#include "typography/font_spec.h"

class Dc;
class FrameObj;
class PassThroughSink;
class TextFrameEngine;

class ContentFrameHost {
public:
    virtual ~ContentFrameHost() = default;

    // The document font table's font (the substitute where the table says
    // so); false when the id is unknown.
    virtual bool LookupFont(int16_t /*fontId*/, FontSpec* /*out*/) { return false; }

    // The document's print-preview flag.
    virtual bool InPrintPreview() { return false; }
    // Print placeholders: a picture frame without its picture prints its
    // placeholder.
    virtual bool PrintPlaceholders() { return false; }
    // Placeholder text: picture frames show "PLACE GRAPHIC HERE" and count
    // as having a picture.
    virtual bool PlaceholderText() { return false; }

    // The frame the Text tool edits while it is the current tool, else null.
    virtual FrameObj* TextToolFrame() { return nullptr; }
    // The text engine, for the text frames' layout and drawing; null
    // before there is one (text frames then show no text).
    virtual TextFrameEngine* TextEngine() { return nullptr; }

    // The card document's info commands of its Object menu.
    virtual void DoBarcodeInfo() {}
    virtual void DoCounterInfo() {}
    virtual void DoQuickCardSpec() {}
    virtual void DoQuickCardInfo() {}

    // The PostScript escape of the printer being drawn to; null when it
    // takes no PostScript (EPS pictures then print their stand-in).
    virtual PassThroughSink* PostScriptSink() { return nullptr; }
};

// The frame's document as a content host; for a document that is none, the
// fallback host when one is installed, else a host of defaults.
ContentFrameHost* ContentHostOf(const FrameObj* frame);
// Installs the fallback (null removes it) and returns the previous one.
ContentFrameHost* SetFallbackContentHost(ContentFrameHost* host);
// What text is measured with: the view's context, else one that only
// measures.
Dc* ContentMeasureDc(const FrameObj* frame);
