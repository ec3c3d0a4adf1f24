#include "platform/SystemSerialLine.h"

#include <utility>

SystemSerialLine::SystemSerialLine(PortResolver resolver, SerialDeviceFacts facts)
    : resolve(std::move(resolver))
    , deviceFacts(std::move(facts)) {}

std::optional<SerialError> SystemSerialLine::open() {
    if (isOpen()) {
        return std::nullopt;
    }
    std::optional<SerialError> error;
    const std::optional<QString> device = resolve(portNumber);
    const std::optional<LineSettings> frame = parseLineSettings(settings);
    if (!device) {
        error = SerialError{SerialError::Kind::NoSuchPort, QString(),
                            QStringLiteral("no serial device stands for port number %1").arg(portNumber)};
    } else if (!frame) {
        error = SerialError{SerialError::Kind::Other, *device,
                            QStringLiteral("the settings \"%1\" are not understood").arg(settings)};
    } else {
        error = openDevice(*device, *frame);
    }
    if (error) {
        // Every failure lists the devices there are, so that the user can choose another number.
        error->ports = deviceFacts.ports();
        return error;
    }
    openedDevice = *device;
    line = *frame;
    return std::nullopt;
}

std::optional<SerialError> SystemSerialLine::takeFailure() {
    return std::exchange(failure, std::nullopt);
}

void SystemSerialLine::keepFailure(const QString& reason) {
    failure = SerialError{SerialError::Kind::DeviceLost, openedDevice, reason};
}
