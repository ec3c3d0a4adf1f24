#pragma once

#include "platform/Clock.h"

// The system's monotonic clock; waiting sleeps the thread.
class QtClock final : public Clock {
public:
    Time now() override;
    void sleepUntil(Time time) override;
};
