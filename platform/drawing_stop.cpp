#include "platform/drawing_stop.h"

#include <utility>

namespace {

thread_local DrawingStopScope* g_scope = nullptr;
thread_local const std::function<bool()>* g_check = nullptr;

}  // namespace

DrawingStopScope::DrawingStopScope(std::function<bool()> shouldStop)
    : shouldStop_(std::move(shouldStop)), outer_(g_scope)
{
    g_scope = this;
    g_check = &shouldStop_;
}

DrawingStopScope::~DrawingStopScope()
{
    g_scope = outer_;
    g_check = outer_ ? &outer_->shouldStop_ : nullptr;
}

bool DrawingShouldStop() { return g_check && (*g_check)(); }
