#include "qt/QtColours.h"

#include <QGuiApplication>
#include <QPalette>

#include <cmath>

QColor toQColor(Colour colour) {
    if (colours::isSystemColour(colour)) {
        return QGuiApplication::palette().color(QPalette::Button);
    }
    return QColor(colours::red(colour), colours::green(colour), colours::blue(colour));
}

namespace {
// How light a colour looks, from 0 for black to 1 for white, as contrast ratios are measured.
double luminance(const QColor& colour) {
    const auto linear = [](float channel) {
        return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}
} // namespace

QColor textColourOn(Colour background) {
    if (colours::isSystemColour(background)) {
        return QGuiApplication::palette().color(QPalette::ButtonText);
    }
    // Black or white, whichever contrasts more: (L + 0.05) / 0.05 against 1.05 / (L + 0.05).
    const double light = luminance(toQColor(background)) + 0.05;
    return light * light >= 1.05 * 0.05 ? Qt::black : Qt::white;
}
