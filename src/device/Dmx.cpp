#include "device/Dmx.h"

#include <QByteArray>

#include <algorithm>
#include <utility>

Dmx::Dmx(SerialControl& comm, Clock& clock)
    : port(comm)
    , time(clock) {}

std::optional<SerialError> Dmx::openport(std::int16_t commPort, std::int16_t speed) {
    if (portStillOpen()) {
        return std::nullopt;
    }
    openedPort = commPort;
    openedSettings = settingsFor(speed);
    openedLine = parseLineSettings(openedSettings).value_or(LineSettings{});
    port.setCommPort(openedPort);
    port.setSettings(openedSettings);
    return port.open();
}

std::optional<SerialError> Dmx::reopenport(std::int16_t commPort, std::int16_t speed) {
    if (port.isOpen() && (commPort != openedPort || settingsFor(speed) != openedSettings)) {
        port.close();
    }
    return openport(commPort, speed);
}

QString Dmx::settingsFor(std::int16_t speed) {
    return speed == 1 ? QStringLiteral("19200,n,8,2") : QStringLiteral("9600,n,8,2");
}

void Dmx::sendbytes(std::span<const std::int16_t> buffer, std::int16_t n) {
    if (!portStillOpen()) {
        return;
    }
    QByteArray bytes;
    for (std::int16_t i = 0; i < n; ++i) {
        bytes.append(static_cast<char>(buffer[static_cast<std::size_t>(i)] & 0xFF));
    }
    if (!bytes.isEmpty()) {
        port.output(bytes);
        // The controller tells one command from the next only by the silence after its last byte,
        // so the pause counts from when that byte has left the wire, not from when the port took it.
        if (!portStillOpen() || !waitUntilSent(bytes.size())) {
            return;
        }
    }
    waitPast(time, time.now(), sendPause);
}

bool Dmx::waitUntilSent(qsizetype count) {
    const Clock::Time onTheWire = time.now() + wireTime(openedLine, count);
    time.sleepUntil(onTheWire);
    // The port may hold bytes beyond their wire time: an adapter that sends in packets, or one
    // slower than its line.
    for (;;) {
        const bool sent = port.outputSent();
        if (!portStillOpen()) {
            return false;
        }
        if (sent) {
            return true;
        }
        if (time.now() >= onTheWire + sendGrace) {
            const SerialError stuck{SerialError::Kind::DeviceLost, port.deviceName(),
                                    QStringLiteral("it has not sent what it was given")};
            port.close();
            if (onPortFailure) {
                onPortFailure(stuck);
            }
            return false;
        }
        time.sleepUntil(time.now() + sentPoll);
    }
}

void Dmx::readbytes(std::span<std::int16_t> buffer, std::int16_t& n) {
    if (!portStillOpen()) {
        return;
    }
    const Clock::Time deadline = time.now() + replyDeadline;
    std::size_t stored = 0;
    for (;;) {
        const QByteArray taken = port.input();
        for (const char byte : taken) {
            if (stored < buffer.size()) {
                buffer[stored++] = static_cast<std::int16_t>(static_cast<unsigned char>(byte));
            }
        }
        if (!portStillOpen()) {
            break;
        }
        const Clock::Time now = time.now();
        if (std::cmp_greater_equal(stored, n) || now > deadline) {
            break;
        }
        // While a reply is coming, the bytes still missing cannot all be in before their time on the
        // wire, so the wait sleeps through most of it instead of waking for every byte.
        const qint64 missing = n - static_cast<qint64>(stored);
        if (!taken.isEmpty() && missing > 1) {
            time.sleepUntil(std::min(deadline, now + wireTime(openedLine, missing - 1)));
            continue;
        }
        port.waitForInput(deadline - now + Clock::Time(1));
    }
    n = static_cast<std::int16_t>(stored);
}

void Dmx::dropReceived() {
    port.input();
    portStillOpen();
}

bool Dmx::portStillOpen() {
    if (auto failure = port.takeFailure()) {
        if (onPortFailure) {
            onPortFailure(*failure);
        }
    }
    return port.isOpen();
}
