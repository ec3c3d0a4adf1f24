#pragma once

// Lengths on screen are kept in twips, 1/1440 inch.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

struct TwipSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipSize&, const TwipSize&) = default;
};

inline constexpr int twipsPerInch = 1440;
