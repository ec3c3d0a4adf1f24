#include "qt/QtCommandGuard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWidget>

#include <utility>

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// The widget an object belongs to: itself, or the nearest widget among its parents (an action
// belongs to its menu or menu bar). Nothing for a window system window, whose events go on to its
// widgets and are judged there.
QWidget* owningWidget(QObject* object) {
    while (object && !object->isWidgetType()) {
        object = object->parent();
    }
    return static_cast<QWidget*>(object);
}

// Whether the widget lies in the active modal dialog, counting the dialogs it opens and its pop-ups.
// Drop-down lists and context menus have a parent in the dialog; a file name's completion list has
// none, yet while a command runs only its dialog takes input, so only the dialog can have opened a
// pop-up that shows now.
bool inActiveModal(const QWidget* widget) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal && widget->window()->windowType() == Qt::Popup) {
        return true;
    }
    for (; modal && widget; widget = widget->parentWidget()) {
        if (widget == modal) {
            return true;
        }
    }
    return false;
}

} // namespace

QtCommandGuard::QtCommandGuard(QObject* parent)
    : QObject(parent) {
    QCoreApplication::instance()->installEventFilter(this);
}

QtCommandGuard::~QtCommandGuard() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void QtCommandGuard::run(const std::function<void()>& handler) {
    if (running) {
        return;
    }
    running = true;
    handler();
    running = false;
    for (const QPointer<QWidget>& window : std::exchange(closesAsked, {})) {
        if (window) {
            window->close();
        }
    }
}

bool QtCommandGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!running) {
        return false;
    }
    QWidget* widget = owningWidget(watched);
    if (!widget || inActiveModal(widget)) {
        return false;
    }
    if (event->type() == QEvent::Close && widget == watched) {
        if (!closesAsked.contains(widget)) {
            closesAsked << widget;
        }
        event->ignore();
        return true;
    }
    return isUserInput(event->type());
}
