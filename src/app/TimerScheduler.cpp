#include "app/TimerScheduler.h"

#include <QTimer>

void TimerScheduler::schedule(std::chrono::milliseconds delay, std::function<void()> work)
{
    QTimer::singleShot(delay, &context_, std::move(work));
}
