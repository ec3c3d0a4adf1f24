#pragma once

#include <cstdint>

// Colours as the program stores them: 0x00BBGGRR, or a system colour index with the high bit set.
using Colour = std::uint32_t;

namespace colours {
inline constexpr Colour cyan = 0xFFFF00;
inline constexpr Colour white = 0xFFFFFF;
inline constexpr Colour buttonFace = 0x8000000F;

inline constexpr bool isSystemColour(Colour c) {
    return (c & 0x80000000u) != 0;
}
inline constexpr int red(Colour c) {
    return static_cast<int>(c & 0xFF);
}
inline constexpr int green(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline constexpr int blue(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
} // namespace colours
