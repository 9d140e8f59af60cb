// EPS pictures drawn for the screen in the background. A painting may not
// wait for Ghostscript: it asks here and, until the picture is drawn,
// shows the stand-in; when the drawing ends the frames waiting for it hear
// so and are painted again. One drawing runs for a picture's PostScript
// however many frames or paints ask for it, and one that failed or ran out
// of time is not started again at every paint.
//
// Used from the window's thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include <QByteArray>

#include "graphics/dib_handle.h"

class EpsPreviewCache {
public:
    enum class State { kReady, kPending, kFailed, kNotStarted };

    static EpsPreviewCache& Shared();
    ~EpsPreviewCache();

    // The PostScript drawn on a page of width x height points: kReady with
    // a copy in picture (the caller's), kPending while it is drawn (started
    // at the first asking), kFailed when it could not be, kNotStarted when
    // nothing draws in the background here (no window).
    State Ask(const QByteArray& program, int32_t width, int32_t height, const std::string& file,
              DibHandle* picture);
    // Hears, on the window's thread, the file whose drawing ended.
    void SetListener(std::function<void(const std::string& file)> listener);

private:
    struct Entry {
        State state = State::kPending;
        DibHandle picture = nullptr;
    };
    void Ended(const QByteArray& key, const std::string& file, DibHandle picture);

    std::map<QByteArray, Entry> entries_;
    std::function<void(const std::string&)> listener_;
};
