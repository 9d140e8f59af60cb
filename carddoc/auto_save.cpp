#include "carddoc/auto_save.h"

#include <QTimer>
#include <climits>
#include <map>
#include <memory>

#include "carddoc/labels_doc.h"

namespace {

struct AutoSaveEntry {
    uint32_t timer = 0;
    CLabelsDoc* document = nullptr;
};

struct AutoSaveState {
    AutoSaveEntry table[kAutoSaveSlots];
    std::map<uint32_t, std::unique_ptr<QTimer>> timers;
    uint32_t nextId = 1;
    // A save that asks for a file name runs a modal dialog, in which the
    // timers keep firing; those ticks are let go.
    bool saving = false;
};

AutoSaveState& State()
{
    static AutoSaveState state;
    return state;
}

uint32_t NewTimerId()
{
    AutoSaveState& s = State();
    uint32_t id = s.nextId++;
    if (id == 0)
        id = s.nextId++;
    return id;
}

}  // namespace

void AutoSaveStart(CLabelsDoc* document, uint32_t minutes)
{
    if (!document || minutes == 0)
        return;
    if (AutoSaveFindTimer(document) != 0)
        AutoSaveStop(document);
    const uint32_t id = NewTimerId();
    // A timer the table cannot hold could never be stopped again, so none
    // is started then.
    if (!AutoSaveAdd(id, document))
        return;
    auto timer = std::make_unique<QTimer>();
    const uint64_t ms = uint64_t(minutes) * 60000u;
    timer->setInterval(int(ms > uint64_t(INT_MAX) ? INT_MAX : ms));
    QObject::connect(timer.get(), &QTimer::timeout, [id] { AutoSaveTimerProc(id); });
    timer->start();
    State().timers[id] = std::move(timer);
}

void AutoSaveStop(CLabelsDoc* document)
{
    const uint32_t id = AutoSaveFindTimer(document);
    if (id == 0)
        return;
    State().timers.erase(id);
    AutoSaveRemove(id);
}

bool AutoSaveAdd(uint32_t timer, CLabelsDoc* document)
{
    for (AutoSaveEntry& e : State().table) {
        if (e.timer == 0) {
            e.timer = timer;
            e.document = document;
            return true;
        }
    }
    return false;
}

void AutoSaveRemove(uint32_t timer)
{
    for (AutoSaveEntry& e : State().table) {
        if (e.timer == timer) {
            e.timer = 0;
            e.document = nullptr;
        }
    }
}

CLabelsDoc* AutoSaveFindDocument(uint32_t timer)
{
    if (timer == 0)
        return nullptr;
    for (const AutoSaveEntry& e : State().table) {
        if (e.timer == timer)
            return e.document;
    }
    return nullptr;
}

uint32_t AutoSaveFindTimer(const CLabelsDoc* document)
{
    if (!document)
        return 0;
    for (const AutoSaveEntry& e : State().table) {
        if (e.timer != 0 && e.document == document)
            return e.timer;
    }
    return 0;
}

int32_t AutoSaveInterval(const CLabelsDoc* document)
{
    const auto it = State().timers.find(AutoSaveFindTimer(document));
    return it == State().timers.end() ? 0 : it->second->interval();
}

void AutoSaveTimerProc(uint32_t timer)
{
    AutoSaveState& s = State();
    CLabelsDoc* document = AutoSaveFindDocument(timer);
    if (!document || s.saving)
        return;
    s.saving = true;
    document->DoFileSave();
    s.saving = false;
}
