#include "support/ExpectedTraffic.h"

namespace {
QList<StatusLine> progress(const QString& text, int scenes) {
    QList<StatusLine> lines;
    for (int i = 1; i <= scenes; ++i) {
        lines.push_back({text + QString::number(i), colours::white});
    }
    lines.push_back({QString(), colours::buttonFace});
    return lines;
}
} // namespace

QList<Bytes> resetAllFrames(bool mk1, int channels, int scenes) {
    const Bytes clear = mk1 ? Bytes{1, 0, 1} + Bytes(channels, 0) : Bytes{10};
    QList<Bytes> frames;
    for (int i = 1; i <= scenes; ++i) {
        frames << Bytes{3, i} << clear;
    }
    frames << Bytes{3, 1};
    return frames;
}

QList<StatusLine> resetAllStatuses(int scenes) {
    return progress(QStringLiteral("Reset scene "), scenes);
}

QList<Bytes> readAllFrames(int scenes) {
    QList<Bytes> frames;
    for (int s = 1; s <= scenes; ++s) {
        frames << Bytes{3, s} << Bytes{4};
    }
    frames << Bytes{3, 1};
    return frames;
}

QList<StatusLine> readAllStatuses(const StatusLine& detected, int scenes) {
    return QList<StatusLine>{detected} + progress(QStringLiteral("Reading scene "), scenes);
}
