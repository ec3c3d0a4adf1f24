#include "support/ControllerEmulator.h"

#include <utility>

ControllerEmulator::ControllerEmulator(Clock& clock, ControllerModel& controller)
    : time(clock)
    , far(controller) {}

void ControllerEmulator::setCommPort(std::int16_t number) {
    if (opened) {
        misuses << QStringLiteral("port number set while open");
    }
    port = number;
}

void ControllerEmulator::setSettings(const QString& settings) {
    if (opened) {
        misuses << QStringLiteral("settings set while open");
    }
    frameSettings = settings;
}

std::optional<SerialError> ControllerEmulator::open() {
    if (opened) {
        misuses << QStringLiteral("opened while open");
    }
    if (openError) {
        return std::exchange(openError, std::nullopt);
    }
    // Whatever the controller said while nobody listened is lost.
    far.transmit(time.now());
    far.setWire(parseLineSettings(frameSettings));
    opened = true;
    opens.push_back({port, frameSettings});
    return std::nullopt;
}

void ControllerEmulator::close() {
    opened = false;
}

void ControllerEmulator::output(const QByteArray& bytes) {
    if (!opened) {
        misuses << QStringLiteral("output while closed");
        return;
    }
    if (fatalOutput && fatalOutput->first == bytes) {
        loseDevice(std::exchange(fatalOutput, std::nullopt)->second);
        return;
    }
    far.receive(bytesOf(bytes), time.now());
}

bool ControllerEmulator::outputSent() {
    return !opened || time.now() >= far.lastArrival() + sendLag;
}

QByteArray ControllerEmulator::input() {
    if (!opened) {
        return {};
    }
    return lineOf(far.transmit(time.now()));
}

void ControllerEmulator::waitForInput(std::chrono::microseconds timeout) {
    const Clock::Time deadline = time.now() + timeout;
    while (opened) {
        const auto event = far.nextEvent(time.now());
        if (!event || *event > deadline) {
            break;
        }
        if (*event <= time.now()) {
            return; // something is there to read
        }
        time.sleepUntil(*event);
    }
    time.sleepUntil(deadline);
}

std::optional<SerialError> ControllerEmulator::takeFailure() {
    return std::exchange(failure, std::nullopt);
}

void ControllerEmulator::loseDevice(const SerialError& error) {
    close();
    failure = error;
}

void ControllerEmulator::loseDeviceOnOutput(const QByteArray& bytes, const SerialError& error) {
    fatalOutput = {bytes, error};
}
