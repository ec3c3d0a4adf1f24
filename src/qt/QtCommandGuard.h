#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

// Keeps the program to one command at a time while the waits inside a command run the event loop,
// so that the windows repaint and answer the window system during pauses and reply waits. While a
// command runs:
// - another handler asked for is dropped, so no handler ever runs inside another;
// - user input (mouse, keys, wheel, shortcuts, context menus, touch) is swallowed, except what goes
//   to a modal dialog the command opened itself and to the pop-ups of that dialog (a message box it
//   shows must take its click, a file dialog its typed name with the completion list);
// - a window asked to close stays open until the command has ended, and then closes: the user's
//   request is kept, yet no command stops halfway with the controller half programmed.
// It watches every object of the application from the moment it is made.
class QtCommandGuard final : public QObject {
    Q_OBJECT
public:
    explicit QtCommandGuard(QObject* parent = nullptr);
    ~QtCommandGuard() override;
    QtCommandGuard(const QtCommandGuard&) = delete;
    QtCommandGuard& operator=(const QtCommandGuard&) = delete;

    // Runs the handler as a command, unless one runs already; then the handler is dropped.
    void run(const std::function<void()>& handler);
    bool busy() const { return running; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool running = false;
    QList<QPointer<QWidget>> closesAsked;
};
