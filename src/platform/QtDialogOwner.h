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

private:
    QPointer<QWidget> owner;
};
