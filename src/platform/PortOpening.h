#pragma once

#include "platform/LineSettings.h"
#include "platform/PortResolver.h"
#include "platform/SerialControl.h"

#include <QString>

#include <cstdint>
#include <optional>

// What a serial line opens: the device a port number reaches and the frame of the line.
struct PortOpening {
    QString device;
    LineSettings line;
    std::optional<SerialError> error; // why it cannot be opened as asked; then the rest is unset
};

// Resolves the port number and reads the settings text ("9600,n,8,2"), before any device is touched.
PortOpening preparePortOpening(const PortResolver& resolve, std::int16_t port, const QString& settings);
