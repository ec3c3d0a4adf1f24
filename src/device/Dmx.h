#pragma once

#include "platform/Clock.h"
#include "platform/LineSettings.h"
#include "platform/SerialControl.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

// The serial transport, on the port that openport or reopenport opened: every byte to the controller
// goes out through sendbytes, and every byte from it is read by readbytes or dropped by dropReceived.
// It knows nothing of what the bytes mean. With the port closed those three do nothing at all.
class Dmx {
public:
    using PortFailureHandler = std::function<void(const SerialError&)>;

    Dmx(SerialControl& comm, Clock& clock);
    Dmx(const Dmx&) = delete;
    Dmx& operator=(const Dmx&) = delete;

    // Controller generation: 0 not yet asked, 1 Mk1, 2 Mk2.
    std::int16_t version = 0;

    // Opens the port unless it is open already; an open port keeps its number and speed.
    std::optional<SerialError> openport(std::int16_t port, std::int16_t speed);
    // Opens the port with the given number and speed, closing it first when it is open with others.
    std::optional<SerialError> reopenport(std::int16_t port, std::int16_t speed);
    // Sends elements 0 to n-1, one byte each, then keeps the line silent for more than 50 ms from
    // the moment the last of them has left the wire.
    void sendbytes(std::span<const std::int16_t> buffer, std::int16_t n);
    // Collects received bytes from element 0 on until n have come or 1 s has passed; n becomes the
    // number stored. Elements past the last one stored keep their values. Bytes beyond the buffer
    // are taken and dropped.
    void readbytes(std::span<std::int16_t> buffer, std::int16_t& n);

    // Takes whatever has been received and drops it, without waiting.
    void dropReceived();

    // Called once when the port fails while open; the port is closed by then.
    void setPortFailureHandler(PortFailureHandler handler) { onPortFailure = std::move(handler); }

    static constexpr Clock::Time sendPause = std::chrono::milliseconds(50);
    static constexpr Clock::Time replyDeadline = std::chrono::seconds(1);
    // How often the port is asked whether its output has gone, once the bytes' wire time is over.
    static constexpr Clock::Time sentPoll = std::chrono::milliseconds(1);

    // True while the port is still usable; reports a failure the control has seen, also one that
    // closed the port between two calls, so that no failure goes untold.
    bool portStillOpen();

private:
    static QString settingsFor(std::int16_t speed);
    // Waits until bytes handed to the port now are out on the wire; false when the port failed.
    bool waitUntilSent(qsizetype count);

    SerialControl& port;
    Clock& time;
    std::int16_t openedPort = 0;
    QString openedSettings;
    LineSettings openedLine;
    PortFailureHandler onPortFailure;
};
