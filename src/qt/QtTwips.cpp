#include "qt/QtTwips.h"

#include <QWidget>

#include <cmath>

int twipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / twipsPerInch));
}

int pixelsToTwips(int pixels, double dotsPerInch) {
    return static_cast<int>(std::lround(pixels * twipsPerInch / dotsPerInch));
}

QRect toPixels(const TwipRect& rect, const QWidget& widget) {
    const double x = widget.logicalDpiX();
    const double y = widget.logicalDpiY();
    return {twipsToPixels(rect.left, x), twipsToPixels(rect.top, y), twipsToPixels(rect.width, x),
            twipsToPixels(rect.height, y)};
}

QSize toPixels(const TwipSize& size, const QWidget& widget) {
    return {twipsToPixels(size.width, widget.logicalDpiX()),
            twipsToPixels(size.height, widget.logicalDpiY())};
}

TwipSize toTwips(const QSize& size, const QWidget& widget) {
    return {pixelsToTwips(size.width(), widget.logicalDpiX()),
            pixelsToTwips(size.height(), widget.logicalDpiY())};
}

TwipRect toTwips(const QRect& rect, const QWidget& widget) {
    const double x = widget.logicalDpiX();
    const double y = widget.logicalDpiY();
    return {pixelsToTwips(rect.left(), x), pixelsToTwips(rect.top(), y), pixelsToTwips(rect.width(), x),
            pixelsToTwips(rect.height(), y)};
}
