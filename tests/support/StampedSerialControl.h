#pragma once

#include "platform/Clock.h"
#include "platform/QtSerialControl.h"

#include <vector>

// The real serial control, noting on the program's own clock when each write began and when its
// bytes were on the line. The far end sees bytes only once its thread gets to run, which on a busy
// machine can be milliseconds late; these times are exact.
class StampedSerialControl final : public SerialControl {
public:
    StampedSerialControl(Clock& clock, PortResolver resolver);

    void setCommPort(std::int16_t port) override { serial.setCommPort(port); }
    void setSettings(const QString& settings) override { serial.setSettings(settings); }
    bool isOpen() const override { return serial.isOpen(); }
    std::optional<SerialError> open() override { return serial.open(); }
    void close() override { serial.close(); }
    void output(const QByteArray& bytes) override;
    QByteArray input() override { return serial.input(); }
    void waitForInput(std::chrono::microseconds timeout) override { serial.waitForInput(timeout); }
    std::optional<SerialError> takeFailure() override { return serial.takeFailure(); }

    // The shortest silence from the end of one write to the start of the next; a day when there
    // are fewer than two.
    Clock::Time shortestSilence() const;

private:
    struct Write {
        Clock::Time begun;
        Clock::Time done;
    };

    QtSerialControl serial;
    Clock& time;
    std::vector<Write> writes;
};
