#pragma once

#include "platform/Clock.h"
#include "qt/QtSerialControl.h"

#include <functional>

// The real serial control, which tells a listener of every write it is about to make, with the
// time on the program's clock: the moment the bytes go on the line, which the far end, running
// on a thread of its own, cannot always see in time.
class NotingSerialControl final : public SerialControl {
public:
    using Listener = std::function<void(std::size_t size, Clock::Time at)>;

    NotingSerialControl(Clock& clock, PortResolver resolver, Listener listener);

    void setCommPort(std::int16_t port) override { serial.setCommPort(port); }
    void setSettings(const QString& settings) override { serial.setSettings(settings); }
    bool isOpen() const override { return serial.isOpen(); }
    std::optional<SerialError> open() override { return serial.open(); }
    void close() override { serial.close(); }
    QString deviceName() const override { return serial.deviceName(); }
    void output(const QByteArray& bytes) override;
    bool outputSent() override { return serial.outputSent(); }
    QByteArray input() override { return serial.input(); }
    void waitForInput(std::chrono::microseconds timeout) override { serial.waitForInput(timeout); }
    std::optional<SerialError> takeFailure() override { return serial.takeFailure(); }

private:
    QtSerialControl serial;
    Clock& time;
    Listener writing;
};
