#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <optional>
#include <utility>

// A serial device that exists, the port number that reaches it and what the system says it is.
struct SerialPortEntry {
    std::int16_t number = 0;
    QString device;
    QString description; // empty when the system does not know
    friend bool operator==(const SerialPortEntry&, const SerialPortEntry&) = default;
};

// Why a serial port could not be opened, or stopped working while open.
struct SerialError {
    enum class Kind { NoSuchPort, InUse, PermissionDenied, DeviceLost, Other };

    SerialError() = default;
    SerialError(Kind kind, QString device, QString reason, QString group = {},
                QList<SerialPortEntry> ports = {})
        : kind(kind)
        , device(std::move(device))
        , reason(std::move(reason))
        , group(std::move(group))
        , ports(std::move(ports)) {}

    Kind kind = Kind::Other;
    QString device;               // the device node or name, empty when no device stands for the port number
    QString reason;               // the system's own words
    QString group;                // the group that owns the node, when the user may not open it
    QList<SerialPortEntry> ports; // the serial devices there are, when the port could not be opened
    friend bool operator==(const SerialError&, const SerialError&) = default;
};

// A wait for input as the event loop's timers take it: whole milliseconds, rounded up, within int.
inline std::chrono::milliseconds timerInterval(std::chrono::microseconds timeout) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
    return std::chrono::milliseconds(std::clamp<decltype(ms)>(ms, 0, INT_MAX));
}

// Why a port stopped working when a write did not end within its time limit.
inline QString unfinishedWriteReason(qint64 sent, qint64 given) {
    return QStringLiteral("it sent %1 of the %2 bytes it was given in the time allowed").arg(sent).arg(given);
}

// The serial line to the controller. Bytes pass unchanged in both directions.
class SerialControl {
public:
    virtual ~SerialControl() = default;

    // Port number and frame settings ("9600,n,8,2") used by the next opening.
    virtual void setCommPort(std::int16_t port) = 0;
    virtual void setSettings(const QString& settings) = 0;

    virtual bool isOpen() const = 0;
    virtual std::optional<SerialError> open() = 0;
    virtual void close() = 0;
    // The device node or name the open port stands on; empty while the port is closed.
    virtual QString deviceName() const = 0;

    // Puts the bytes on the line, in order, after everything written before.
    virtual void output(const QByteArray& bytes) = 0;
    // Whether every byte given to output() has left the port, as far as the system tells: a POSIX
    // tty's output queue, the Windows transmit buffer. Asks without waiting. A port that has failed
    // is closed by then, with its failure kept for takeFailure().
    virtual bool outputSent() = 0;
    // Everything received and not yet taken, without waiting; empty while the port is closed.
    virtual QByteArray input() = 0;
    // Blocks until more bytes have arrived or the timeout has passed, without spinning.
    virtual void waitForInput(std::chrono::microseconds timeout) = 0;

    // A failure seen while the port was open (the device went away). The control has closed the
    // port by then; the failure is reported once.
    virtual std::optional<SerialError> takeFailure() = 0;
};
