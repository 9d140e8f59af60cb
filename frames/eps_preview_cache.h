// EPS pictures drawn for the screen in the background. A painting may not
// wait for Ghostscript: it asks here and, until the picture is drawn,
// shows the stand-in; when the drawing ends the frames waiting for it hear
// so and are painted again. One drawing runs for a picture's PostScript
// however many frames or paints ask for it, and one that failed or ran out
// of time is not started again at every paint. A file whose drawing failed
// is remembered as well: the print preview draws it at the size of the
// sheet, which differs from view to view, and would otherwise wait out the
// limit again at each new size.
//
// Used from the window's thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

#include <QByteArray>

#include "graphics/dib_handle.h"

class EpsPreviewCache {
public:
    enum class State { kReady, kPending, kFailed, kNotStarted };

    static EpsPreviewCache& Shared();
    ~EpsPreviewCache();

    // The PostScript drawn on a page of width x height pixels at dpiX x dpiY
    // pixels an inch: kReady with
    // a copy in picture (the caller's), kPending while it is drawn (started
    // at the first asking), kFailed when it could not be, kNotStarted when
    // nothing draws in the background here (no window).
    State Ask(const QByteArray& program, int32_t width, int32_t height, double dpiX, double dpiY,
              const std::string& file, DibHandle* picture);
    // True when the last drawing of the file (its full path) that ended
    // failed or ran out of time.
    bool FileFailed(const std::string& file) const { return failedFiles_.count(file) != 0; }
    // Hears, on the window's thread, the file whose drawing ended, until
    // RemoveListener is given the number this answers.
    int32_t AddListener(std::function<void(const std::string& file)> listener);
    void RemoveListener(int32_t id);

private:
    struct Entry {
        State state = State::kPending;
        DibHandle picture = nullptr;
    };
    void Ended(const QByteArray& key, const std::string& file, DibHandle picture);

    std::map<QByteArray, Entry> entries_;
    std::set<std::string> failedFiles_;
    std::map<int32_t, std::function<void(const std::string&)>> listeners_;
    int32_t nextListener_ = 1;
};
