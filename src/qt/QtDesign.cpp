#include "qt/QtDesign.h"

QPushButton* placeButton(QWidget* parent, const QString& name, const QString& caption, const TwipRect& rect,
                         const QString& tip) {
    auto* button = placeControl<QPushButton>(parent, name, rect);
    button->setText(caption);
    button->setToolTip(tip);
    return button;
}

void setFixedClientSize(QWidget& window, const TwipSize& size) {
    window.setFixedSize(toPixels(size, window));
}
