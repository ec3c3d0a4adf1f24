#include "qt/QtClock.h"

#include <QEventLoop>
#include <QTimer>

#include <thread>

using namespace std::chrono_literals;

Clock::Time QtClock::now() {
    return std::chrono::duration_cast<Time>(std::chrono::steady_clock::now().time_since_epoch());
}

void QtClock::sleepUntil(Time time) {
    // The event loop's timers keep to the millisecond at best, so it runs until the last one
    // and the rest is slept, which keeps the pause exact.
    const auto loopSpan = std::chrono::floor<std::chrono::milliseconds>(time - now()) - 1ms;
    if (loopSpan > 0ms) {
        QEventLoop loop;
        QTimer::singleShot(loopSpan, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
    std::this_thread::sleep_until(std::chrono::time_point<std::chrono::steady_clock, Time>(time));
}
