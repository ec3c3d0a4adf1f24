#pragma once

#include "platform/Clock.h"

// The system's monotonic clock. Waiting serves the windows every few milliseconds, so that they
// paint and answer the window system meanwhile; the command guard keeps the user's input out.
class QtClock final : public Clock {
public:
    Time now() override;
    void sleepUntil(Time time) override;
};
