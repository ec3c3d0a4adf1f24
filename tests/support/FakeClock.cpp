#include "support/FakeClock.h"

#include <algorithm>

void FakeClock::sleepUntil(Time time) {
    current = std::max(current, time);
}
