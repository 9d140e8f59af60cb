// The caret of text editing: not the system caret but a one-pixel vertical
// line inverted (NOT-XOR) on the card view's drawing surface, so that drawing
// it twice leaves the surface as it was. A timer inverts it every 400 ms
// while it is shown; the text engine says where it stands.
//
// One per document. The text tool shows it while a frame is in edit and
// hides it around everything that draws text, so the line is never on the
// surface while the text under it changes.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/int_geometry.h"

class QTimer;
class TextContext;

class CaretManager {
public:
    static constexpr int32_t kBlinkMilliseconds = 400;

    explicit CaretManager(TextContext* ctx);
    // Stops the blinking; the line is left as it is (the view goes with the
    // document).
    ~CaretManager();
    CaretManager(const CaretManager&) = delete;
    CaretManager& operator=(const CaretManager&) = delete;

    // A hidden caret becomes visible with its line off; with startTimer it
    // blinks from now on. A visible caret is left alone.
    void Show(bool startTimer);
    // Removes the line when it is on and hides the caret; with stopTimer
    // the blinking stops too. Nothing for a hidden caret unless asked to
    // stop the timer.
    void Hide(bool stopTimer);
    // When the view loses activation.
    void HideAll() { Hide(true); }
    // One blink step: the engine places the caret, a line left at another
    // place is removed first, and the line is inverted at the caret. The
    // caret's point goes to point when it is not null.
    void Update(IntPoint* point);

    bool IsVisible() const { return visible_; }
    // Whether the line is on the surface now.
    bool IsDrawn() const { return drawn_; }
    bool IsBlinking() const;
    IntPoint Position() const { return position_; }
    int32_t Height() const { return height_; }

private:
    // Inverts the line ending at (x, y) (the caret's bottom), height pixels
    // high, one pixel left of x; the drawn flag flips. Only while the view
    // has the focus, the caret is visible and height is not 0; removing a
    // line that is on goes ahead without the focus.
    void Toggle(IntPoint at, int32_t height, bool removing);

    TextContext* ctx_;
    bool visible_ = false;
    bool drawn_ = false;
    IntPoint position_;
    IntPoint lastPosition_;
    uint16_t height_ = 0;
    uint16_t lastHeight_ = 0;
    std::unique_ptr<QTimer> timer_;
};
