#pragma once

#include <QString>

#include <chrono>
#include <optional>

// The frame of a serial line, as a settings text such as "9600,n,8,2" gives it: baud rate, parity
// letter, data bits and stop bits.
struct LineSettings {
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    qint32 baud = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::Two;
    friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

// Nothing when the text is not understood.
std::optional<LineSettings> parseLineSettings(const QString& text);

// How much longer than their time on the wire a port may take to send bytes before it counts as
// failed: no adapter keeps a command for seconds.
inline constexpr std::chrono::seconds sendGrace{2};

// How long that many bytes take on the wire, back to back: each is a start bit, its data bits, a
// parity bit unless there is none, and its stop bits. Rounded up to the microsecond.
std::chrono::microseconds wireTime(const LineSettings& line, qint64 bytes);

// How long a serial line lets a write of that many bytes take before it gives up on it: their time
// on the wire and the grace, whole milliseconds.
std::chrono::milliseconds writeLimit(const LineSettings& line, qint64 bytes);
