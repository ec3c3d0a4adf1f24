#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Scene files as the tests feed them to Open, and as the editor writes them.

// A file as the editor writes it, with each cell's level from the function.
QByteArray sceneFileOf(int port, int speed, int channels, int scenes,
                       const std::function<int(int channel, int scene)>& level);

// A file of the given size, port 1 at 9600 baud, whose levels differ from cell to cell.
QByteArray patternedSceneFile(int channels, int scenes);
// The levels of one scene of such a file, channel 1 first.
QStringList patternedLevels(int channels, int scene);
// Writes the text into the file at the path, replacing it; false when it cannot.
bool writeSceneFile(const QString& path, const QByteArray& text);
// The bytes of the file at the path; none when it cannot be read.
QByteArray fileContents(const QString& path);
