#pragma once

#include <chrono>

// A monotonic clock for every pause and deadline, so that midnight is no event.
class Clock {
public:
    using Time = std::chrono::microseconds;

    virtual ~Clock() = default;
    virtual Time now() = 0;
    // Returns once now() has reached the given time, sleeping rather than spinning.
    virtual void sleepUntil(Time time) = 0;
};

// Waits until more than the given span has passed since the mark.
inline void waitPast(Clock& clock, Clock::Time mark, Clock::Time span) {
    clock.sleepUntil(mark + span + Clock::Time(1));
}
