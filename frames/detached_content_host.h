// The answers of a content frame's host that has no document behind it:
// nothing is looked up, shown as a placeholder, edited or run. Put over a
// base class (ContentFrameHost, or a class already deriving from it), so a
// host can answer a few questions itself and leave the rest to these.
#pragma once

#include <cstdint>

#include "frames/content_frame_host.h"

template <class Base>
class DetachedContentHostOf : public Base {
public:
    bool LookupFont(int16_t, FontSpec*) override { return false; }
    int32_t FontIdFor(const FontSpec&) override { return -1; }
    bool InPrintPreview() override { return false; }
    bool PrintPlaceholders() override { return false; }
    bool PlaceholderText() override { return false; }
    FrameObj* TextToolFrame() override { return nullptr; }
    TextFrameEngine* TextEngine() override { return nullptr; }
    void DoBarcodeInfo() override {}
    void DoCounterInfo() override {}
    void DoQuickCardSpec() override {}
    void DoQuickCardInfo() override {}
    PassThroughSink* PostScriptSink() override { return nullptr; }
};
