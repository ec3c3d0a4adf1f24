#include "platform/QtClock.h"

#include <thread>

Clock::Time QtClock::now() {
    return std::chrono::duration_cast<Time>(std::chrono::steady_clock::now().time_since_epoch());
}

void QtClock::sleepUntil(Time time) {
    std::this_thread::sleep_until(std::chrono::time_point<std::chrono::steady_clock, Time>(time));
}
