#include "support/Traffic.h"

#include <algorithm>

QList<Bytes> framesOf(const ControllerModel& controller) {
    QList<Bytes> frames;
    for (const ControllerModel::Frame& frame : controller.frames()) {
        frames.push_back(frame.bytes);
    }
    return frames;
}

Clock::Time shortestGap(const ControllerModel& controller) {
    Clock::Time shortest = std::chrono::hours(24);
    const auto& frames = controller.frames();
    for (std::size_t i = 1; i < frames.size(); ++i) {
        shortest = std::min(shortest, frames[i].start - frames[i - 1].start);
    }
    return shortest;
}
