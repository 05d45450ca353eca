#pragma once

#include "app/UserInterface.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

// Runs the controller's deferred work (the report 0.2 s after its tab, the toolbar update
// after a command, the start-up dialog after launch) from the event loop with single-shot
// timers. Work is dropped when the context object is gone by then.
class TimerScheduler : public Scheduler {
public:
    explicit TimerScheduler(QObject* context) : context_(context) {}

    void schedule(std::chrono::milliseconds delay, std::function<void()> work) override
    {
        if (context_)
            QTimer::singleShot(delay, context_.data(), std::move(work));
    }

private:
    QPointer<QObject> context_;
};
