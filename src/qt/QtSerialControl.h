#pragma once

#include "platform/PortResolver.h"
#include "platform/SerialControl.h"
#include "platform/SerialDeviceFacts.h"

#include <QSerialPort>

// The serial line on the toolkit's serial port. Received bytes reach the port's buffer whenever the
// event loop runs, as it does in waitForInput(); input() also takes what is still in the system.
class QtSerialControl final : public SerialControl {
public:
    explicit QtSerialControl(PortResolver resolver, SerialDeviceFacts facts = systemSerialDeviceFacts());
    QtSerialControl(const QtSerialControl&) = delete;
    QtSerialControl& operator=(const QtSerialControl&) = delete;

    void setCommPort(std::int16_t port) override { portNumber = port; }
    void setSettings(const QString& text) override { settings = text; }

    bool isOpen() const override { return serial.isOpen(); }
    std::optional<SerialError> open() override;
    void close() override { serial.close(); }
    QString deviceName() const override { return serial.isOpen() ? openedDevice : QString(); }

    void output(const QByteArray& bytes) override;
    bool outputSent() override;
    QByteArray input() override;
    void waitForInput(std::chrono::microseconds timeout) override;

    std::optional<SerialError> takeFailure() override;

private:
    std::optional<SerialError> openDevice();
    // Why opening the device failed, in the system's words.
    SerialError openFailure(const QString& device) const;
    // Looks at the error a failed transfer left behind; a vanished device closes the port.
    void checkDeviceLost();

    PortResolver resolve;
    SerialDeviceFacts deviceFacts;
    std::int16_t portNumber = 0;
    QString settings;
    QSerialPort serial;
    QString openedDevice;
    std::optional<SerialError> failure;
};
