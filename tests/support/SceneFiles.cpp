#include "support/SceneFiles.h"

#include <QFile>

#include <algorithm>

namespace {
int patternedLevel(int channel, int scene) {
    return (channel * 7 + scene * 31) % 256;
}
} // namespace

QByteArray sceneFileOf(int port, int speed, int channels, int scenes,
                       const std::function<int(int channel, int scene)>& level) {
    QByteArray text;
    for (const int setting : {port, speed, channels, scenes}) {
        text += QByteArray::number(setting) + ',';
    }
    text += QByteArray(std::max(0, scenes - 4), ',') + "\r\n";
    for (int c = 1; c <= channels; ++c) {
        for (int s = 1; s <= scenes; ++s) {
            text += QByteArray::number(level(c, s)) + (s < scenes ? "," : "\r\n");
        }
    }
    return text;
}

QByteArray patternedSceneFile(int channels, int scenes) {
    return sceneFileOf(1, 0, channels, scenes, patternedLevel);
}

QStringList patternedLevels(int channels, int scene) {
    QStringList levels;
    for (int c = 1; c <= channels; ++c) {
        levels << QString::number(patternedLevel(c, scene));
    }
    return levels;
}

bool writeSceneFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

QByteArray fileContents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
