// Steps a test takes inside a drag's own event loop (moves, releases,
// looks at the view).
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

namespace drag_steps_detail {

using Steps = std::shared_ptr<std::vector<std::function<void()>>>;

inline void QueueFrom(QObject* context, Steps steps, size_t index, int gapMs)
{
    if (index >= steps->size())
        return;
    QTimer::singleShot(index == 0 ? 0 : gapMs, context, [context, steps, index, gapMs] {
        (*steps)[index]();
        QueueFrom(context, steps, index + 1, gapMs);
    });
}

}  // namespace drag_steps_detail

// Each step is queued only once the one before it has run, so the passes
// one step causes are done before the next one starts, however late a
// loaded machine fires the timers.
inline void QueueDragSteps(QObject* context, std::vector<std::function<void()>> steps, int gapMs = 5)
{
    drag_steps_detail::QueueFrom(
        context, std::make_shared<std::vector<std::function<void()>>>(std::move(steps)), 0, gapMs);
}
