#pragma once

#include "support/ChildProcess.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

// The controller program (tools/dmx-pty-controller) on a pseudo-terminal that is linked as a
// serial device node, /dev/ttyUSB0 or the next free one, so that the editor finds it by its port
// number as it would find an adapter.
class ControllerProcess {
public:
    // Levels as text by scene, then by channel, both from 0.
    using Memory = QList<QStringList>;

    // Starts the controller with the program's options ("--mk2", "--pattern", "--fault silent:4:2").
    explicit ControllerProcess(const QStringList& options = {});
    // The same on a device name of the caller's, which the given port number reaches.
    ControllerProcess(const QStringList& options, const QString& link, std::int16_t port);
    ControllerProcess(const ControllerProcess&) = delete;
    ControllerProcess& operator=(const ControllerProcess&) = delete;

    // Why device nodes cannot be linked here; empty when they can.
    static QString whyNoDeviceLink();

    // Empty while the controller runs; otherwise what failed.
    QString failure() const { return problem; }
    // The port number the editor finds the controller by.
    std::int16_t port() const { return portNumber; }

    // Every command received so far, as its bytes.
    QList<QByteArray> commands();
    // Waits until that many commands of the code have come; false when they did not in time.
    bool waitFor(std::int16_t code, int atLeast, std::chrono::milliseconds timeout);

    // Waits until the last command received is this one; false when it was not in time.
    bool waitForLast(const QByteArray& command, std::chrono::milliseconds timeout);
    // Stops the controller and gives its memory at the end; nothing when it could not be read.
    std::optional<Memory> stop();

private:
    QString memoryFile() const;
    bool waitUntil(const std::function<bool()>& holds, std::chrono::milliseconds timeout,
                   const QString& missing);

    QTemporaryDir folder;
    QString problem;
    std::int16_t portNumber = 0;
    QList<QByteArray> received;
    ChildProcess controller;
};
