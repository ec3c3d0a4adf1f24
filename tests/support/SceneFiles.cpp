#include "support/SceneFiles.h"

#include <QFile>

#include <algorithm>

namespace {
int patternedLevel(int channel, int scene) {
    return (channel * 7 + scene * 31) % 256;
}
} // namespace

QByteArray patternedSceneFile(int channels, int scenes) {
    QByteArray text = "1,0," + QByteArray::number(channels) + ',' + QByteArray::number(scenes) + ',' +
                      QByteArray(std::max(0, scenes - 4), ',') + "\r\n";
    for (int c = 1; c <= channels; ++c) {
        for (int s = 1; s <= scenes; ++s) {
            text += QByteArray::number(patternedLevel(c, s)) + (s < scenes ? "," : "\r\n");
        }
    }
    return text;
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
