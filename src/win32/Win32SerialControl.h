#pragma once

#include "platform/SystemSerialLine.h"

#include <memory>

// The serial line through the Windows communications functions, for the Windows build. A wait for
// input runs the event loop and wakes on the system's event for a received byte.
class Win32SerialControl final : public SystemSerialLine {
public:
    explicit Win32SerialControl(PortResolver resolver, SerialDeviceFacts facts = systemSerialDeviceFacts());
    ~Win32SerialControl() override;
    Win32SerialControl(const Win32SerialControl&) = delete;
    Win32SerialControl& operator=(const Win32SerialControl&) = delete;

    bool isOpen() const override;
    void close() override;

    void output(const QByteArray& bytes) override;
    bool outputSent() override;
    QByteArray input() override;
    void waitForInput(std::chrono::microseconds timeout) override;

private:
    struct Port;

    std::optional<SerialError> openDevice(const QString& device, const LineSettings& line) override;
    // Reads what the system holds into the received bytes, without waiting.
    void collectInput();
    // Starts the wait for the next received byte unless it runs; false when the port failed.
    bool armArrival();
    // The port stopped working: it is closed and the failure kept for takeFailure().
    void lose();

    std::unique_ptr<Port> port;
    QByteArray received;
};
