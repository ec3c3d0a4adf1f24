#pragma once

#include "platform/SerialControl.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

// The highest port number the editor asks for.
inline constexpr std::int16_t maxPortNumber = 32;

// Finds the device that stands for a serial port number (1 for the first port).
using PortResolver = std::function<std::optional<QString>(std::int16_t port)>;

// How a system names its serial ports.
enum class PortNaming {
    Windows, // port n is COMn
    Linux,   // the existing ttyUSB nodes, then ttyACM, then ttyS, each family in numeric order
    MacOS,   // the existing cu.* nodes in name order
};

#if defined(Q_OS_WIN)
inline constexpr PortNaming hostPortNaming = PortNaming::Windows;
#elif defined(Q_OS_MACOS)
inline constexpr PortNaming hostPortNaming = PortNaming::MacOS;
#else
inline constexpr PortNaming hostPortNaming = PortNaming::Linux;
#endif

// The serial device nodes below the device directory, in port order (Linux and macOS naming).
QStringList serialDeviceNodes(const QString& deviceDir, PortNaming naming);

// What the system says a serial device is ("USB serial adapter"); empty when it does not know.
using PortDescriber = std::function<QString(const QString& device)>;

// The serial device nodes below the device directory that a port number reaches, with their
// numbers and descriptions (Linux and macOS naming).
QList<SerialPortEntry> numberedSerialDevices(const QString& deviceDir, PortNaming naming,
                                             const PortDescriber& describe);

// The resolver for the running system; the device directory can be replaced for tests.
PortResolver systemPortResolver(const QString& deviceDir = QStringLiteral("/dev"),
                                PortNaming naming = hostPortNaming);
