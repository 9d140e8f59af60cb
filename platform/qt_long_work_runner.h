// The long-work runner of the application: the work runs on a thread of
// its own while the window's thread keeps the windows live. When it takes
// longer than a moment, a progress window tells what is being done and for
// how long, and its Cancel button (or Esc) asks the work to stop.
#pragma once

#include "foundation/long_work.h"

class QtLongWorkRunner final : public LongWorkRunner {
public:
    // How long the work runs before its progress window shows, so that
    // work that ends at once flashes nothing.
    static constexpr int kShowAfterMs = 800;

    bool Run(const std::string& what, const LongWork& work) override;
};
