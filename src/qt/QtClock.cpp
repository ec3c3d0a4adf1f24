#include "qt/QtClock.h"

#include <QCoreApplication>

#include <algorithm>
#include <thread>

using namespace std::chrono_literals;

namespace {
// How often the windows are served during a wait: often enough for painting to look immediate.
constexpr Clock::Time serviceInterval = 10ms;
} // namespace

Clock::Time QtClock::now() {
    return std::chrono::duration_cast<Time>(std::chrono::steady_clock::now().time_since_epoch());
}

void QtClock::sleepUntil(Time time) {
    // The thread sleeps, and between its sleeps the windows are served, so that they paint and
    // answer the window system. The serial line is left out: what comes on it waits in the system
    // until the program reads, so a reply does not wake the program for every byte. The last sleep
    // ends on the time itself, which keeps the pause exact.
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::ExcludeSocketNotifiers);
        const Time current = now();
        if (current >= time) {
            return;
        }
        std::this_thread::sleep_until(std::chrono::time_point<std::chrono::steady_clock, Time>(
            std::min(time, current + serviceInterval)));
    }
}
