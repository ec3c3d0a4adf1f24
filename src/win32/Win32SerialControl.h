#pragma once

#include "platform/SystemSerialLine.h"

#include <QByteArray>

#include <memory>

// The serial line through the Windows communications functions, for the Windows build. Writes go
// out while the program goes on, and outputSent() tells when the system has sent them; a wait for
// input runs the event loop and wakes on a read of the next byte.
class Win32SerialControl final : public SystemSerialLine {
public:
    Win32SerialControl(PortResolver resolver, SerialDeviceFacts facts);
    ~Win32SerialControl() override;
    Win32SerialControl(const Win32SerialControl&) = delete;
    Win32SerialControl& operator=(const Win32SerialControl&) = delete;

    bool isOpen() const override { return port != nullptr; }
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
    // Looks whether the write in flight has ended, waiting for it as long as it may take when
    // asked to; false while it runs and once it has failed or fallen short, which loses the port.
    bool writeEnded(bool waitForIt);
    // The port stopped working: it is closed and the reason kept for takeFailure().
    void lose(const QString& reason);

    std::unique_ptr<Port> port;
    QByteArray received;
};
