#pragma once

#include "base/UserInterface.h"

#include <QObject>

// The windows' scheduler: runs delayed work from the event loop of the thread it lives on,
// through single-shot timers. Work still pending when the scheduler goes away is dropped,
// so nothing runs against a controller that no longer exists.
class TimerScheduler : public Scheduler {
public:
    // Queues `work` to run once, `delay` from now, on this scheduler's thread; a delay of 0
    // runs it at the loop's next turn, never inside this call.
    void schedule(std::chrono::milliseconds delay, std::function<void()> work) override;

private:
    QObject context_; // the timers' receiver: destroying it cancels them
};
