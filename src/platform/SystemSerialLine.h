#pragma once

#include "platform/LineSettings.h"
#include "platform/PortResolver.h"
#include "platform/SerialControl.h"
#include "platform/SerialDeviceFacts.h"

#include <QString>

#include <cstdint>
#include <optional>

// What the serial lines on the system's ports have in common, whatever reaches the device: the
// port number and settings for the next opening, the steps of an opening up to the device itself,
// the list of the devices there are when it fails, and the failure kept while the port was open.
class SystemSerialLine : public SerialControl {
public:
    SystemSerialLine(PortResolver resolver, SerialDeviceFacts facts);

    void setCommPort(std::int16_t port) final { portNumber = port; }
    void setSettings(const QString& text) final { settings = text; }

    // Resolves the port number and reads the settings before any device is touched, then opens it.
    std::optional<SerialError> open() final;
    QString deviceName() const final { return isOpen() ? openedDevice : QString(); }
    std::optional<SerialError> takeFailure() final;

protected:
    // Opens the device with the frame, or says why not in the system's words.
    virtual std::optional<SerialError> openDevice(const QString& device, const LineSettings& line) = 0;

    const SerialDeviceFacts& facts() const { return deviceFacts; }
    // The frame of the port that is open.
    const LineSettings& openedLine() const { return line; }
    // Keeps why the open port stopped working for takeFailure(); the line closes it.
    void keepFailure(const QString& reason);

private:
    PortResolver resolve;
    SerialDeviceFacts deviceFacts;
    std::int16_t portNumber = 0;
    QString settings;
    QString openedDevice;
    LineSettings line;
    std::optional<SerialError> failure;
};
