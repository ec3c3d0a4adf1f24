#include "device/PortMessages.h"

namespace {
QString deviceNamed(const QString& device) {
    return device.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(device);
}
} // namespace

QString cannotOpenPortMessage(std::int16_t commport, const SerialError& error) {
    return QStringLiteral("Cannot open comm port %1%2: %3. Working without a controller.")
        .arg(commport)
        .arg(deviceNamed(error.device), error.reason);
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
