#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

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

// The resolver for the running system; the device directory can be replaced for tests.
PortResolver systemPortResolver(const QString& deviceDir = QStringLiteral("/dev"),
                                PortNaming naming = hostPortNaming);
