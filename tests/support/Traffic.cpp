#include "support/Traffic.h"

#include <QStringList>
#include <QTest>

#include <algorithm>

char* toString(const Bytes& bytes) {
    QStringList values;
    for (const int value : bytes) {
        values << QString::number(value);
    }
    return QTest::toString(QStringLiteral("{%1}").arg(values.join(QStringLiteral(", "))));
}

QList<Bytes> framesOf(const ControllerModel& controller) {
    QList<Bytes> frames;
    for (const ControllerModel::Frame& frame : controller.frames()) {
        frames.push_back(Bytes(frame.bytes.begin(), frame.bytes.end()));
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
