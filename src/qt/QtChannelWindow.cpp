#include "qt/QtChannelWindow.h"

#include "editor/Channel.h"

#include "qt/QtCommandGuard.h"
#include "qt/QtDesign.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
QLineEdit* labelledBox(QWidget* parent, int top, const QString& labelName, const QString& caption,
                       const QString& boxName) {
    auto* label = placeControl<QLabel>(parent, labelName, {240, top, 1095, 255});
    label->setText(caption);
    auto* box = placeControl<QLineEdit>(parent, boxName, {1320, top, 495, 285});
    // The label's access key puts the focus in its box.
    label->setBuddy(box);
    return box;
}
} // namespace

QtChannelWindow::QtChannelWindow(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Channel"));
    setWindowTitle(QStringLiteral("Set Channel"));
    setFixedClientSize(*this, {2250, 2865});

    firstChannel = labelledBox(this, 240, QStringLiteral("Label1"), QStringLiteral("&First Channel"),
                               QStringLiteral("Text1"));
    lastChannel = labelledBox(this, 600, QStringLiteral("Label2"), QStringLiteral("&Last Channel"),
                              QStringLiteral("Text2"));
    value =
        labelledBox(this, 960, QStringLiteral("Label3"), QStringLiteral("&Value"), QStringLiteral("Text3"));

    auto* applyBtn =
        placeButton(this, QStringLiteral("ApplyBtn"), QStringLiteral("&Apply"), {240, 1440, 1575, 375},
                    QStringLiteral("Apply data and move on to next channel"));
    cancelBtn = placeButton(this, QStringLiteral("CancelBtn"), QStringLiteral("&Cancel"),
                            {240, 1920, 1575, 375}, QStringLiteral("Close form"));
    auto* enterBtn = placeButton(this, QStringLiteral("EnterBtn"), QStringLiteral("&Enter"),
                                 {240, 2400, 1575, 375}, QStringLiteral("Apply data and close form"));
    // The Enter key clicks Apply wherever the focus is; Enter and Cancel run only when clicked.
    applyBtn->setDefault(true);
    cancelBtn->setAutoDefault(false);
    enterBtn->setAutoDefault(false);

    connect(applyBtn, &QPushButton::clicked, this, &QtChannelWindow::applyClicked);
    connect(cancelBtn, &QPushButton::clicked, this, &QtChannelWindow::cancelClicked);
    connect(enterBtn, &QPushButton::clicked, this, &QtChannelWindow::enterClicked);

    setTabOrder(value, applyBtn);
    setTabOrder(applyBtn, cancelBtn);
    setTabOrder(cancelBtn, enterBtn);
    setTabOrder(enterBtn, firstChannel);
    setTabOrder(firstChannel, lastChannel);
    setTabOrder(lastChannel, value);
    value->setFocus();
}

QString QtChannelWindow::firstChannelText() const {
    return firstChannel->text();
}

void QtChannelWindow::setFirstChannelText(const QString& text) {
    firstChannel->setText(text);
}

QString QtChannelWindow::lastChannelText() const {
    return lastChannel->text();
}

void QtChannelWindow::setLastChannelText(const QString& text) {
    lastChannel->setText(text);
}

QString QtChannelWindow::valueText() const {
    return value->text();
}

void QtChannelWindow::setValueText(const QString& text) {
    value->setText(text);
}

void QtChannelWindow::attach(Channel& logic, QtCommandGuard& commands) {
    const auto forward = [this, &logic, &commands](void (QtChannelWindow::*signal)(),
                                                   void (Channel::*handler)()) {
        connect(this, signal, this,
                [&logic, &commands, handler] { commands.run([&] { (logic.*handler)(); }); });
    };
    forward(&QtChannelWindow::applyClicked, &Channel::onApplyBtn);
    forward(&QtChannelWindow::enterClicked, &Channel::onEnterBtn);
    forward(&QtChannelWindow::cancelClicked, &Channel::onCancelBtn);
}

void QtChannelWindow::focusValue() {
    value->setFocus();
    // Selected, so that typing the next level replaces the last one.
    value->selectAll();
}

void QtChannelWindow::showModeless() {
    show();
    raise();
    activateWindow();
}

void QtChannelWindow::reject() {
    cancelBtn->click();
}

void QtChannelWindow::closeEvent(QCloseEvent* event) {
    // Closing through the frame is a Cancel, and the window goes whatever Cancel does.
    if (isVisible()) {
        cancelBtn->click();
    }
    event->accept();
}
