#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

// What the tests do in the wine prefix of the environment, through the wine program they are given:
// point its serial ports, run its programs, and read and write its registry.

// Points wine's serial port COMn at a device path. Wine reads its ports from its registry when its
// server starts, so the server is restarted unless the port leads there already. Empty when done;
// otherwise what failed.
QString pointWinePort(int number, const QString& path, const QString& wine);

// Runs a Windows program under wine and waits until every program of its session has ended, as an
// uninstaller goes on in a copy of itself. Empty when it ended well; otherwise what failed.
QString runUnderWine(const QString& program, const QStringList& arguments, const QString& wine);
// Runs a Windows program under wine and gives its exit code, or nothing when it did not end. What
// else runs in its session, a program the test started before, say, goes on.
std::optional<int> exitCodeUnderWine(const QString& program, const QStringList& arguments,
                                     const QString& wine);

// Writes a key of wine's registry, with all below it, to a .reg file, and reads such a file back
// in. Empty when done; otherwise what failed.
QString exportWineRegistry(const QString& key, const QString& file, const QString& wine);
QString importWineRegistry(const QString& file, const QString& wine);
// The values of a key of wine's registry, as a .reg file writes them ("text", "dword:0000001f"),
// by name; nothing when there is no such key.
std::optional<QMap<QString, QString>> wineRegistryValues(const QString& key, const QString& wine);
