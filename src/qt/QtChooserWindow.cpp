#include "qt/QtChooserWindow.h"

#include "qt/QtDesign.h"

#include <QButtonGroup>
#include <QFrame>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

namespace {
// A thin line from one point to another, both in twips; the lines draw the box around the options.
void drawLine(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(y1 == y2 ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    const QRect from = toPixels(TwipRect{x1, y1, 0, 0}, *parent);
    const QRect to = toPixels(TwipRect{x2, y2, 0, 0}, *parent);
    line->setGeometry(QRect(from.topLeft(), to.topLeft()));
}
} // namespace

QtChooserWindow::QtChooserWindow(QWidget* parent)
    : QDialog(parent)
    , options(new QButtonGroup(this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Select Channels per Scene"));
    setFixedClientSize(*this, {4185, 2010});

    const struct {
        const char* name;
        const char* caption;
        TwipRect rect;
    } designs[] = {{"Option1", "512 Channels", {360, 480, 1455, 375}},
                   {"Option2", "256 Channels", {360, 840, 1455, 375}},
                   {"Option3", "128 Channels", {360, 1200, 1335, 375}}};
    for (const auto& design : designs) {
        auto* option = placeControl<QRadioButton>(this, QString::fromLatin1(design.name), design.rect);
        option->setText(QString::fromLatin1(design.caption));
        // The button's id is the size code it stands for.
        options->addButton(option, static_cast<int>(options->buttons().size()));
    }
    options->button(0)->setChecked(true);

    auto* ok = placeButton(this, QStringLiteral("Command1"), QStringLiteral("OK"), {2640, 720, 1215, 615});
    // Not a default button: the Enter key does not choose.
    ok->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QtChooserWindow::onOk);

    drawLine(this, QStringLiteral("Line1"), 240, 360, 1920, 360);
    drawLine(this, QStringLiteral("Line2"), 240, 1680, 1920, 1680);
    drawLine(this, QStringLiteral("Line3"), 240, 360, 240, 1680);
    drawLine(this, QStringLiteral("Line4"), 1920, 360, 1920, 1680);
}

std::optional<std::int16_t> QtChooserWindow::choose() {
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
    exec();
    return chosen;
}

void QtChooserWindow::onOk() {
    chosen = static_cast<std::int16_t>(options->checkedId());
    accept();
}
