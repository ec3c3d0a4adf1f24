#pragma once

#include <QString>

// Points wine's serial port COMn at a device path, in the wine prefix of the environment. Wine
// reads its ports from its registry when its server starts, so the server is restarted unless the
// port leads there already. Empty when done; otherwise what failed.
QString pointWinePort(int number, const QString& path, const QString& wine);
