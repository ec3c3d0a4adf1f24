#include "platform/PortOpening.h"

PortOpening preparePortOpening(const PortResolver& resolve, std::int16_t port, const QString& settings) {
    const std::optional<QString> device = resolve(port);
    if (!device) {
        return {{},
                {},
                SerialError{SerialError::Kind::NoSuchPort, QString(),
                            QStringLiteral("no serial device stands for port number %1").arg(port)}};
    }
    const std::optional<LineSettings> line = parseLineSettings(settings);
    if (!line) {
        return {*device,
                {},
                SerialError{SerialError::Kind::Other, *device,
                            QStringLiteral("the settings \"%1\" are not understood").arg(settings)}};
    }
    return {*device, *line, std::nullopt};
}
