#include "qt/QtColours.h"

#include <QGuiApplication>
#include <QPalette>

QColor toQColor(Colour colour) {
    if (colours::isSystemColour(colour)) {
        return QGuiApplication::palette().color(QPalette::Button);
    }
    return QColor(colours::red(colour), colours::green(colour), colours::blue(colour));
}

QColor textColourOn(Colour background) {
    if (colours::isSystemColour(background)) {
        return QGuiApplication::palette().color(QPalette::ButtonText);
    }
    return Qt::black;
}
