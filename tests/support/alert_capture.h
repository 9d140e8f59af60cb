// Records every message box and beep shown while it lives, answering the
// boxes with a chosen result.
#pragma once

#include <string>
#include <vector>

#include "foundation/alert_sink.h"

class AlertCapture : public AlertSink {
public:
    struct Box {
        std::string text;
        std::string caption;
        uint32_t style;
    };

    AlertCapture();
    ~AlertCapture() override;

    int32_t MessageBox(const std::string& text, const std::string& caption, uint32_t style) override;
    void Beep(uint32_t kind) override;

    // The answer given to every box from now on (kIdOk by default).
    void answer(int32_t result) { answer_ = result; }
    const std::vector<Box>& boxes() const { return boxes_; }
    const std::vector<uint32_t>& beeps() const { return beeps_; }
    std::string lastText() const { return boxes_.empty() ? std::string() : boxes_.back().text; }
    // Leaves out the boxes whose text holds the words (a notice a test
    // expects and does not look at).
    void forget(const std::string& words)
    {
        std::erase_if(boxes_, [&](const Box& box) { return box.text.find(words) != std::string::npos; });
    }
    void clear()
    {
        boxes_.clear();
        beeps_.clear();
    }

private:
    AlertSink* previous_;
    int32_t answer_ = kIdOk;
    std::vector<Box> boxes_;
    std::vector<uint32_t> beeps_;
};
