#include "device/PortMessages.h"

namespace {
QString deviceNamed(const SerialError& error) {
    return error.device.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(error.device);
}
} // namespace

QString cannotOpenPortMessage(std::int16_t commport, const SerialError& error) {
    return QStringLiteral("Cannot open comm port %1%2: %3. Working without a controller.")
        .arg(commport)
        .arg(deviceNamed(error), error.reason);
}

QString portLostMessage(const SerialError& error) {
    return QStringLiteral(
               "The serial port%1 stopped working: %2. The port has been closed; the grid is kept.")
        .arg(deviceNamed(error), error.reason);
}
