#pragma once

#include <QPointer>
#include <QWidget>

// The window that message boxes, input boxes and file dialogs belong to: the main window once it
// shows, so that the window manager centres them on it and keeps them above it; none before, so
// that the start prompts open in the middle of the screen.
class QtDialogOwner {
public:
    void setWindow(QWidget* window) { owner = window; }
    QWidget* window() const { return owner && owner->isVisible() ? owner.data() : nullptr; }

    // To be called when a dialog over the window has closed.
    void dialogClosed() const { giveFocusBack(window()); }

    // Gives the focus back to the window shortly after a dialog over it has closed, when it went to
    // no window of the program: a window manager can lose it when a dialog and the question it
    // asked close at once, and without a window manager nobody hands it back.
    static void giveFocusBack(QWidget* window);

private:
    QPointer<QWidget> owner;
};
