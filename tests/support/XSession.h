#pragma once

#include "support/ChildProcess.h"

#include <QImage>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

// A virtual X display (Xvfb), with a window manager when asked for, on which the tests run the
// built editor as a user would: input goes through the X server (xdotool's XTEST), so the window
// system routes it to the focused window, the active pop-up or the window manager, as it does for
// a user's keyboard and mouse.
class XSession {
public:
    using WindowId = unsigned long;
    enum class Manager { None, Openbox };

    explicit XSession(Manager manager);
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // Empty while the display runs; otherwise what failed.
    QString failure() const { return problem; }
    // The environment for a program shown on this display.
    QProcessEnvironment environment() const;

    // The window with the keyboard focus, or nothing.
    std::optional<WindowId> focusedWindow() const;
    QString windowName(WindowId window) const;
    // The window's inner area on the screen.
    QRect geometry(WindowId window) const;
    // The window a dialog says it belongs to, when it names one.
    std::optional<WindowId> transientFor(WindowId window) const;
    // The shown windows of that exact title.
    QList<WindowId> shownWindows(const QString& title) const;

    // What the screen shows now.
    QImage screenshot() const;

    // Whether the program with this process id shows a pop-up: a drop-down or completion list.
    bool showsPopup(qint64 program) const;

    // Asks again every little while until the answer is yes or the time is up; whether it was yes.
    static bool pollUntil(const std::function<bool()>& holds, std::chrono::milliseconds timeout);
    // Waits until the focused window is one that is wanted, and returns it. The program hears of the
    // focus before any key that follows, and puts it into the window's box then: later keys reach it.
    std::optional<WindowId> waitForFocus(const std::function<bool(WindowId)>& wanted,
                                         std::chrono::milliseconds timeout) const;
    // Waits until this window has the focus.
    bool waitForFocusOn(WindowId window, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    // Waits until the window is no longer shown.
    bool waitUntilGone(WindowId window, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

    // Types the text over what the focused box holds, key by key: the box's text is selected first.
    void typeOver(const QString& text) const;
    // Presses and releases keys one after the other, in xdotool's names, separated by spaces:
    // "Return", "Escape Escape", "alt+x", "ctrl+a".
    void key(const QString& keys) const;
    // Clicks the left button at a point given from the window's inner top-left corner.
    void click(WindowId window, QPoint at) const;

private:
    QByteArray output(const QString& program, const QStringList& arguments, bool* ok = nullptr) const;
    QString run(const QString& program, const QStringList& arguments, bool* ok = nullptr) const;
    QString xdotool(const QStringList& arguments, bool* ok = nullptr) const;
    bool startServer();
    void startManager();

    QString problem;
    QString displayName;
    ChildProcess server;
    ChildProcess manager; // stopped before the server, as it goes first
};
