#include "support/Traffic.h"

#include <algorithm>

QList<Bytes> framesOf(const ControllerModel& controller) {
    QList<Bytes> frames;
    for (const ControllerModel::Frame& frame : controller.frames()) {
        frames.push_back(frame.bytes);
    }
    return frames;
}

Clock::Time shortestSilence(const ControllerModel& controller) {
    Clock::Time shortest = std::chrono::hours(24);
    for (const ControllerModel::Frame& frame : controller.frames()) {
        shortest = std::min(shortest, frame.silence.value_or(shortest));
    }
    return shortest;
}
