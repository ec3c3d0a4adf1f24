#pragma once

#include "platform/SerialControl.h"

#include <QList>
#include <QString>

#include <functional>

// Whether the user may read and write a device node, and the group that owns it.
struct NodeAccess {
    bool readWrite = false;
    QString group; // empty when it cannot be told, or when the group may not read and write it
};

// What the system tells of its serial devices, for the messages on a port that cannot be opened:
// each system's serial line is handed its own by whoever builds it, and tests hand their own.
struct SerialDeviceFacts {
    // The serial devices there are, with the port numbers that reach them, described.
    std::function<QList<SerialPortEntry>()> ports;
    std::function<NodeAccess(const QString& node)> nodeAccess;
};
