#pragma once

#include "platform/SystemSerialLine.h"

#include <QSerialPort>

// The serial line on the toolkit's serial port. Received bytes reach the port's buffer whenever the
// event loop runs, as it does in waitForInput(); input() also takes what is still in the system.
class QtSerialControl final : public SystemSerialLine {
public:
    QtSerialControl(PortResolver resolver, SerialDeviceFacts facts);
    QtSerialControl(const QtSerialControl&) = delete;
    QtSerialControl& operator=(const QtSerialControl&) = delete;

    bool isOpen() const override { return serial.isOpen(); }
    void close() override { serial.close(); }

    void output(const QByteArray& bytes) override;
    bool outputSent() override;
    QByteArray input() override;
    void waitForInput(std::chrono::microseconds timeout) override;

private:
    std::optional<SerialError> openDevice(const QString& device, const LineSettings& line) override;
    // Why opening the device failed, in the system's words.
    SerialError openFailure(const QString& device) const;
    // Looks for a device that went away, in the descriptor's state and in the error a failed
    // transfer left behind; a vanished device closes the port.
    void checkDeviceLost();
    // The port stopped working: it is closed and the reason kept for takeFailure().
    void lose(const QString& reason);

    QSerialPort serial;
};
