#pragma once

#include "platform/PortResolver.h"
#include "platform/SerialControl.h"
#include "platform/SerialDeviceFacts.h"

#include <memory>

// The serial line through the Windows communications functions, for the Windows build. A wait for
// input runs the event loop and wakes on the system's event for a received byte.
class Win32SerialControl final : public SerialControl {
public:
    explicit Win32SerialControl(PortResolver resolver, SerialDeviceFacts facts = systemSerialDeviceFacts());
    ~Win32SerialControl() override;
    Win32SerialControl(const Win32SerialControl&) = delete;
    Win32SerialControl& operator=(const Win32SerialControl&) = delete;

    void setCommPort(std::int16_t port) override { portNumber = port; }
    void setSettings(const QString& text) override { settings = text; }

    bool isOpen() const override;
    std::optional<SerialError> open() override;
    void close() override;
    QString deviceName() const override { return isOpen() ? openedDevice : QString(); }

    void output(const QByteArray& bytes) override;
    bool outputSent() override;
    QByteArray input() override;
    void waitForInput(std::chrono::microseconds timeout) override;

    std::optional<SerialError> takeFailure() override;

private:
    struct Port;

    std::optional<SerialError> openDevice();
    // Reads what the system holds into the received bytes, without waiting.
    void collectInput();
    // Starts the wait for the next received byte unless it runs; false when the port failed.
    bool armArrival();
    // The port stopped working: it is closed and the failure kept for takeFailure().
    void lose();

    PortResolver resolve;
    SerialDeviceFacts deviceFacts;
    std::int16_t portNumber = 0;
    QString settings;
    QString openedDevice;
    std::unique_ptr<Port> port;
    QByteArray received;
    std::optional<SerialError> failure;
};
