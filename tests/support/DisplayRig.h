#pragma once

#include "editor/AppTexts.h"
#include "support/ChildProcess.h"
#include "support/XSession.h"

#include <QPoint>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

// The built editor on a virtual display of its own, in a working folder of its own, driven as a
// user drives it: keys and clicks through the X server, windows found by their titles and focus.
class DisplayRig {
public:
    using WindowId = XSession::WindowId;
    static constexpr std::chrono::seconds windowLimit{10};       // for a window, the focus or the end
    static constexpr std::chrono::seconds firstPromptLimit{120}; // the first prompt, in a new wine prefix

    explicit DisplayRig(XSession::Manager manager = XSession::Manager::Openbox);

    // Whether a display with a window manager starts here and a device node can be linked; if
    // not, why.
    static bool canRun(QString* whyNot);

    // Empty when the display runs and the editor has started; otherwise what failed.
    QString failure() const;
    // The desktop's environment comes on top of the display's.
    void launch(const QProcessEnvironment& desktop = {});
    // Starts another program as the editor: the Windows build under wine, say.
    void launch(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& desktop = {});

    // The next dialog of this title to take the focus that is none of those seen so far.
    std::optional<WindowId> nextWindow(const QString& title, std::chrono::milliseconds timeout = windowLimit);
    // Types the answer over what the focused box holds, then presses Return.
    void enter(const QString& text);
    // Enters the text into the next input box; false when no box came.
    bool answer(const QString& text);
    // Presses a key in the next message box (Return answers OK or Yes); false when no box came.
    bool answerBox(const QString& key = QStringLiteral("Return"));
    // Answers the next start prompt. The prompts come before the main window and belong to no
    // window, which under wine is all that tells them apart from it; so here they are told by being
    // the next new window of the title.
    bool answerPrompt(const QString& text);
    // Answers the start prompts; with a port that cannot be opened, also the message that says so.
    bool answerStart(std::int16_t port, std::int16_t speed);
    // Takes the chooser's choice of 512 channels by keys: to OK, then the space bar.
    bool chooseFirstSize();
    // Starts with no device on the port: the message, then a new grid of 512 channels.
    bool startOffline();
    // The main window, once it shows.
    std::optional<WindowId> mainWindow();
    // Waits until the main window has the focus again, as it gets it back once a dialog has closed.
    bool backToMain();

    // The editor swallows keys and clicks while it runs a command, and nothing shows when a command
    // has ended after its last traffic; so these are done again, further apart each time, until what
    // they do shows: a new window of the title has the focus, or the focused window is gone. Twice
    // does no harm: the second is swallowed, or falls on a blocked window or one where it does
    // nothing (a letter typed into a box is typed over).
    std::optional<WindowId> openByKeys(const QString& keys, const QString& title = texts::appTitle);
    std::optional<WindowId> openByClick(QPoint at, const QString& title);
    bool closeByKeys(const QString& keys, WindowId window);

    // The centre of a data cell, from the main window's inner top-left corner.
    static QPoint cellCentre(int channel, int scene);
    // Waits until a pop-up of the editor shows (a drop-down or completion list), or until none does.
    bool waitForPopup(bool shown);

    // Waits for the editor to end; its exit code, or nothing when it is still running.
    std::optional<int> exitCode(std::chrono::milliseconds timeout = windowLimit);
    // Exit and Yes through the keys, then the exit code.
    std::optional<int> exitByMenu();

    XSession x;
    QTemporaryDir folder;
    ChildProcess editor;

private:
    // The next window of the title to take the focus that is none of those seen so far, seen now.
    std::optional<WindowId> focusOnNew(const QString& title, std::chrono::milliseconds timeout);
    bool inNextWindow(const QString& title, const std::function<void()>& action);
    std::optional<WindowId> openFromMain(const std::function<void()>& action, const QString& what,
                                         const QString& title);

    QList<WindowId> seen;
    std::optional<WindowId> main;
};

// Skips the test (in initTestCase: all of them) when the display tests cannot run here, with the
// reason; on CI, where they must run, fails it instead.
#define DMX_REQUIRE_DISPLAY()                                                                                \
    do {                                                                                                     \
        QString whyNot;                                                                                      \
        if (!DisplayRig::canRun(&whyNot)) {                                                                  \
            if (qEnvironmentVariable("CI") == QLatin1String("true")) {                                       \
                QFAIL(qPrintable(whyNot));                                                                   \
            }                                                                                                \
            QSKIP(qPrintable(QStringLiteral("No X display for the display tests: ") + whyNot));              \
        }                                                                                                    \
    } while (false)
