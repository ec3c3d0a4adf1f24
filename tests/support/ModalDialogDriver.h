#pragma once

#include <QWidget>

#include <functional>

// Acts on the next modal dialog as soon as it shows, from inside its own event loop. Arm it, then
// call the code that opens the dialog; the action must close the dialog. When a check in the action
// fails, the driver closes the dialog itself, so that the test fails at once.
void whenModalShows(std::function<void(QWidget* dialog)> action);

// The dialog's child of the given kind and name, or of the given kind alone when the name is empty.
template <typename Child> Child* childOf(QWidget* dialog, const QString& name = QString()) {
    return dialog ? dialog->findChild<Child*>(name) : nullptr;
}
