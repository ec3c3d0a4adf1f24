#pragma once

#include "platform/Clock.h"

// A clock that stands still until something sleeps on it, so that waits of seconds on a real line
// take no time at all and every pause can be measured exactly.
class FakeClock : public Clock {
public:
    Time now() override { return current; }
    void sleepUntil(Time time) override;

private:
    Time current{0};
};
