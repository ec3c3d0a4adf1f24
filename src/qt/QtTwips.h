#pragma once

#include "platform/Twips.h"

#include <QRect>
#include <QSize>

class QWidget;

// Twips and pixels through the screen's logical resolution: 15 twips make a pixel at 96 dots per inch.
int twipsToPixels(int twips, double dotsPerInch);
int pixelsToTwips(int pixels, double dotsPerInch);

// The same for the screen the widget is on.
QRect toPixels(const TwipRect& rect, const QWidget& widget);
QSize toPixels(const TwipSize& size, const QWidget& widget);
TwipSize toTwips(const QSize& size, const QWidget& widget);
TwipRect toTwips(const QRect& rect, const QWidget& widget);
