#pragma once

#include "support/ChildProcess.h"

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

    // Waits until the focused window has this title and is not one of the windows given, and
    // returns it; nothing when none came within the time.
    std::optional<WindowId> waitForFocus(const QString& title, const QList<WindowId>& besides = {},
                                         std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // Waits until this window has the focus; false when it did not get it in time.
    bool waitForFocusOn(WindowId window, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    // Waits until the window is no longer shown; false when it still is after the time.
    bool waitUntilGone(WindowId window, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

    // Types the text into whatever has the focus, key by key.
    void type(const QString& text) const;
    // Presses and releases keys one after the other, in xdotool's names, separated by spaces:
    // "Return", "Escape Escape", "alt+x", "ctrl+a".
    void key(const QString& keys) const;
    // Clicks the left button at a point given from the window's inner top-left corner.
    void click(WindowId window, QPoint at) const;

private:
    std::optional<WindowId> waitForFocus(const std::function<bool(WindowId)>& wanted,
                                         std::chrono::milliseconds timeout) const;
    QString run(const QString& program, const QStringList& arguments, bool* ok = nullptr) const;
    QString xdotool(const QStringList& arguments, bool* ok = nullptr) const;
    bool startServer();
    bool startManager();

    QString problem;
    QString displayName;
    ChildProcess server;
    ChildProcess manager; // stopped before the server, as it goes first
};
