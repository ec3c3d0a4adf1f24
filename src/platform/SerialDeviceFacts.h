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

// What the system tells of its serial devices, for the messages on a port that cannot be opened.
// Tests replace it.
struct SerialDeviceFacts {
    // The serial devices there are, with the port numbers that reach them, described.
    std::function<QList<SerialPortEntry>()> ports;
    std::function<NodeAccess(const QString& node)> nodeAccess;
};

// The running system's facts: its serial devices, described as the system describes them.
SerialDeviceFacts systemSerialDeviceFacts();
