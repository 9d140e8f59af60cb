// Boxes held back while a window paints, and shown once it has painted.
//
// A box runs an event loop of its own: opened inside a paint, it lets the
// window system paint again under the painter that is still drawing, and
// the program dies. What a paint reads (a database record found damaged)
// may want to say something; while a HeldAlerts lives, what is said waits
// in it and a question is answered as nobody there would (Cancel, No).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/alert_sink.h"

class HeldAlerts final : public AlertSink {
public:
    struct Box {
        std::string text;
        std::string caption;
        uint32_t style = 0;
    };

    // Takes the place of the current sink until destroyed.
    HeldAlerts();
    ~HeldAlerts() override;
    HeldAlerts(const HeldAlerts&) = delete;
    HeldAlerts& operator=(const HeldAlerts&) = delete;

    int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t style) override;
    void Beep(uint32_t kind) override;

    // What was said meanwhile, in order, to be shown later (ShowHeld).
    std::vector<Box> Take() { return std::move(held_); }

private:
    AlertSink* previous_ = nullptr;
    std::vector<Box> held_;
};

// Shows boxes held earlier, each with an OK button only: the question
// they may have asked was answered when it was held.
void ShowHeld(const std::vector<HeldAlerts::Box>& boxes);
