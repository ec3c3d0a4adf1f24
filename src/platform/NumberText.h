#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Numbers typed by the user: decimal, surrounding spaces ignored, a fraction rounded to the nearest
// whole number with halves to the even neighbour. Nothing when the text is not such a number or the
// result does not fit 16 bits.
std::optional<std::int16_t> toInt16(const QString& text);

// Numbers shown to the user: plain decimal digits, "-" before a negative value.
inline QString decimal(int value) {
    return QString::number(value);
}
