#pragma once

#include "platform/Clock.h"
#include "platform/SerialControl.h"
#include "support/ControllerModel.h"

#include <QList>
#include <QStringList>

// A serial port with the controller model at its far end, in process, over a wire at the settings
// the port is opened with. Time is the given clock's, and waiting for a reply sleeps on it: with a
// fake clock a second-long wait takes no time.
class ControllerEmulator : public SerialControl {
public:
    // The port number and settings in force at one successful opening.
    struct Opening {
        std::int16_t port;
        QString settings;
        friend bool operator==(const Opening&, const Opening&) = default;
    };

    // The device node every port number stands for.
    static inline const QString device = QStringLiteral("/dev/ttyUSB0");

    ControllerEmulator(Clock& clock, ControllerModel& controller);

    void setCommPort(std::int16_t port) override;
    void setSettings(const QString& settings) override;
    bool isOpen() const override { return opened; }
    std::optional<SerialError> open() override;
    void close() override;
    QString deviceName() const override { return opened ? device : QString(); }
    void output(const QByteArray& bytes) override;
    bool outputSent() override;
    QByteArray input() override;
    void waitForInput(std::chrono::microseconds timeout) override;
    std::optional<SerialError> takeFailure() override;

    // The next open() fails with this error.
    void failNextOpen(const SerialError& error) { openError = error; }
    // The port reports its output sent this long after the last byte has left the wire, as an
    // adapter that sends in packets does.
    void holdOutput(Clock::Time lag) { sendLag = lag; }
    // The device goes away now: the port closes and the failure is reported once.
    void loseDevice(const SerialError& error);
    // The device goes away when the program writes exactly these bytes, which are lost.
    void loseDeviceOnOutput(const QByteArray& bytes, const SerialError& error);

    std::int16_t commPort() const { return port; }
    const QList<Opening>& openings() const { return opens; }
    // Uses of the port out of order (changing settings or writing while in the wrong state).
    const QStringList& misuse() const { return misuses; }

private:
    Clock& time;
    ControllerModel& far;
    std::int16_t port = 0;
    QString frameSettings;
    bool opened = false;
    std::optional<SerialError> openError;
    std::optional<SerialError> failure;
    std::optional<std::pair<QByteArray, SerialError>> fatalOutput;
    Clock::Time sendLag{0};
    QList<Opening> opens;
    QStringList misuses;
};
