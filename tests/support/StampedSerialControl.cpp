#include "support/StampedSerialControl.h"

#include <algorithm>

StampedSerialControl::StampedSerialControl(Clock& clock, PortResolver resolver)
    : serial(std::move(resolver))
    , time(clock) {}

void StampedSerialControl::output(const QByteArray& bytes) {
    const Clock::Time begun = time.now();
    serial.output(bytes);
    writes.push_back({begun, time.now()});
}

Clock::Time StampedSerialControl::shortestSilence() const {
    Clock::Time shortest = std::chrono::hours(24);
    for (std::size_t i = 1; i < writes.size(); ++i) {
        shortest = std::min(shortest, writes[i].begun - writes[i - 1].done);
    }
    return shortest;
}
