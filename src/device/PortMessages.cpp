#include "device/PortMessages.h"

#include <QStringList>

namespace {
// " (/dev/ttyUSB0)", or nothing without a name.
QString deviceNamed(const QString& name) {
    return name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(name);
}

// How to get the access the system refused: on Linux a serial node belongs to a group, usually
// dialout, and membership counts from the next login.
QString accessAdvice(const SerialError& error) {
    if (error.kind != SerialError::Kind::PermissionDenied) {
        return QString();
    }
    if (error.group.isEmpty()) {
        return QStringLiteral(" To use it, ask whoever runs this computer for read and write access to it.");
    }
    return QStringLiteral(" To use it, join the group %1 that owns it (sudo usermod -aG %1 $USER), then log "
                          "out and in again.")
        .arg(error.group);
}

// "1 = /dev/ttyUSB0 (USB serial adapter), 2 = /dev/ttyS0", so that the user can pick a number.
QString portList(const QList<SerialPortEntry>& ports) {
    if (ports.isEmpty()) {
        return QStringLiteral(" No serial devices were found.");
    }
    QStringList entries;
    for (const SerialPortEntry& port : ports) {
        entries
            << QStringLiteral("%1 = %2%3").arg(port.number).arg(port.device, deviceNamed(port.description));
    }
    return QStringLiteral(" Serial devices: %1; choose the port number in Change Comms.")
        .arg(entries.join(QStringLiteral(", ")));
}

} // namespace

QString cannotOpenPortMessage(std::int16_t commport, const SerialError& error) {
    return QStringLiteral("Cannot open comm port %1%2: %3.%4%5 Working without a controller.")
        .arg(commport)
        .arg(deviceNamed(error.device), error.reason, accessAdvice(error), portList(error.ports));
}

QString portLostMessage(const SerialError& error) {
    return QStringLiteral(
               "The serial port%1 stopped working: %2. The port has been closed; the grid is kept.")
        .arg(deviceNamed(error.device), error.reason);
}

QString notAControllerMessage(std::int16_t commport, const QString& device) {
    return QStringLiteral("What answers on comm port %1%2 does not answer as a scene controller: the port "
                          "number or the speed may be wrong. Working without a controller.")
        .arg(commport)
        .arg(deviceNamed(device));
}
