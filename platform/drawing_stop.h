// A drawing that may run long (a metafile's path of a million points)
// asks now and then whether to stop: the code that plays it sets the
// question for its thread while it draws, and a long fill or outline ends
// early when the answer is yes, keeping what it drew. The caller sees the
// same answer afterwards and says the picture was not drawn.
#pragma once

#include <functional>

class DrawingStopScope {
public:
    explicit DrawingStopScope(std::function<bool()> shouldStop);
    ~DrawingStopScope();
    DrawingStopScope(const DrawingStopScope&) = delete;
    DrawingStopScope& operator=(const DrawingStopScope&) = delete;

private:
    std::function<bool()> shouldStop_;
    DrawingStopScope* outer_;
};

// True when the drawing in progress on this thread is to stop.
bool DrawingShouldStop();
