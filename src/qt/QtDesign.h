#pragma once

#include "qt/QtTwips.h"

#include <QPushButton>
#include <QString>
#include <QWidget>

// Builders for the controls of a window design: each control gets its name and its place in twips
// of the parent's client area.
template <typename Control>
Control* placeControl(QWidget* parent, const QString& name, const TwipRect& rect) {
    auto* control = new Control(parent);
    control->setObjectName(name);
    control->setGeometry(toPixels(rect, *parent));
    return control;
}

QPushButton* placeButton(QWidget* parent, const QString& name, const QString& caption, const TwipRect& rect,
                         const QString& tip = QString());

// Gives a window of fixed size the client area of its design.
void setFixedClientSize(QWidget& window, const TwipSize& size);
