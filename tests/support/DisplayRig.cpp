#include "support/DisplayRig.h"

#include "platform/PortResolver.h"
#include "support/ControllerProcess.h"

using namespace std::chrono_literals;

namespace {
// No device stands for the highest port number on a machine with fewer serial nodes.
constexpr std::int16_t absentPort = maxPortNumber;

// Says what did not come, for the check that fails next; whether it came.
bool came(bool came, const QString& missing) {
    if (!came) {
        qWarning("%s", qPrintable(missing));
    }
    return came;
}

// Does the action, further apart each time for 31 s in all, until doneWithin sees what it does.
bool repeatUntil(const std::function<void()>& action,
                 const std::function<bool(std::chrono::milliseconds)>& doneWithin, const QString& missing) {
    for (std::chrono::milliseconds patience = 1s; patience <= 16s; patience *= 2) {
        action();
        if (doneWithin(patience)) {
            return true;
        }
    }
    return came(false, missing + QStringLiteral(", done again and again for 31 s"));
}
} // namespace

DisplayRig::DisplayRig(XSession::Manager manager)
    : x(manager) {}

bool DisplayRig::canRun(QString* whyNot) {
    *whyNot = ControllerProcess::whyNoDeviceLink();
    if (whyNot->isEmpty()) {
        *whyNot = XSession(XSession::Manager::Openbox).failure();
    }
    return whyNot->isEmpty();
}

QString DisplayRig::failure() const {
    if (!x.failure().isEmpty()) {
        return x.failure();
    }
    if (!folder.isValid()) {
        return QStringLiteral("no working folder");
    }
    if (editor->state() == QProcess::NotRunning && editor->error() == QProcess::FailedToStart) {
        return QStringLiteral("the editor did not start: %1").arg(editor->errorString());
    }
    return {};
}

void DisplayRig::launch(const QProcessEnvironment& desktop) {
    launch(QStringLiteral(DMX_EDITOR_PROGRAM), {}, desktop);
}

void DisplayRig::launch(const QString& program, const QStringList& arguments,
                        const QProcessEnvironment& desktop) {
    QProcessEnvironment environment = x.environment();
    environment.insert(desktop);
    editor->setProcessEnvironment(environment);
    editor->setWorkingDirectory(folder.path());
    editor->setStandardOutputFile(QProcess::nullDevice());
    editor->start(program, arguments);
    editor->waitForStarted();
}

std::optional<DisplayRig::WindowId> DisplayRig::focusOnNew(const QString& title,
                                                           std::chrono::milliseconds timeout) {
    const std::optional<WindowId> window = x.waitForFocus(
        [&](WindowId candidate) { return !seen.contains(candidate) && x.windowName(candidate) == title; },
        timeout);
    if (window) {
        seen << *window;
    }
    return window;
}

std::optional<DisplayRig::WindowId> DisplayRig::nextWindow(const QString& title,
                                                           std::chrono::milliseconds timeout) {
    while (const std::optional<WindowId> window = focusOnNew(title, timeout)) {
        // The main window shares the dialogs' title; it alone belongs to no other window.
        if (x.transientFor(*window)) {
            return window;
        }
        main = window;
    }
    return std::nullopt;
}

void DisplayRig::enter(const QString& text) {
    x.typeOver(text);
    x.key(QStringLiteral("Return"));
}

bool DisplayRig::inNextWindow(const QString& title, const std::function<void()>& action) {
    if (!came(nextWindow(title).has_value(),
              QStringLiteral("no new window \"%1\" took the focus in 10 s").arg(title))) {
        return false;
    }
    action();
    return true;
}

bool DisplayRig::answer(const QString& text) {
    return inNextWindow(texts::appTitle, [&] { enter(text); });
}

bool DisplayRig::answerBox(const QString& key) {
    return inNextWindow(texts::appTitle, [&] { x.key(key); });
}

bool DisplayRig::answerPrompt(const QString& text) {
    if (!came(focusOnNew(texts::appTitle, seen.isEmpty() ? firstPromptLimit : windowLimit).has_value(),
              QStringLiteral("no start prompt took the focus"))) {
        return false;
    }
    enter(text);
    return true;
}

bool DisplayRig::answerStart(std::int16_t port, std::int16_t speed) {
    return answer(QString::number(port)) && answer(QString::number(speed)) &&
           (port != absentPort || answerBox());
}

bool DisplayRig::chooseFirstSize() {
    return inNextWindow(QStringLiteral("Select Channels per Scene"),
                        [&] { x.key(QStringLiteral("Tab space")); });
}

bool DisplayRig::startOffline() {
    launch();
    return answerStart(absentPort, 0) && chooseFirstSize() && backToMain();
}

std::optional<DisplayRig::WindowId> DisplayRig::mainWindow() {
    // The dialogs name the window they belong to; the main window belongs to none.
    const auto found = [this] {
        for (const WindowId window : x.shownWindows(texts::appTitle)) {
            if (!x.transientFor(window)) {
                main = window;
                seen << window;
            }
        }
        return main.has_value();
    };
    came(main || XSession::pollUntil(found, windowLimit),
         QStringLiteral("the main window did not show in 10 s"));
    return main;
}

bool DisplayRig::backToMain() {
    return mainWindow() && came(x.waitForFocusOn(*main, windowLimit),
                                QStringLiteral("the main window did not get the focus back in 10 s"));
}

std::optional<DisplayRig::WindowId> DisplayRig::openFromMain(const std::function<void()>& action,
                                                             const QString& what, const QString& title) {
    std::optional<WindowId> opened;
    const auto openedWithin = [&](std::chrono::milliseconds patience) {
        return (opened = nextWindow(title, patience)).has_value();
    };
    return backToMain() && repeatUntil(action, openedWithin,
                                       QStringLiteral("%1 opened no window \"%2\"").arg(what, title))
               ? opened
               : std::nullopt;
}

std::optional<DisplayRig::WindowId> DisplayRig::openByKeys(const QString& keys, const QString& title) {
    return openFromMain([&] { x.key(keys); }, keys, title);
}

std::optional<DisplayRig::WindowId> DisplayRig::openByClick(QPoint at, const QString& title) {
    return openFromMain([&] { x.click(*main, at); }, QStringLiteral("A click"), title);
}

bool DisplayRig::closeByKeys(const QString& keys, WindowId window) {
    return repeatUntil([&] { x.key(keys); },
                       [&](std::chrono::milliseconds patience) { return x.waitUntilGone(window, patience); },
                       QStringLiteral("%1 did not close its window").arg(keys));
}

bool DisplayRig::waitForPopup(bool shown) {
    return came(XSession::pollUntil([&] { return x.showsPopup(editor->processId()) == shown; }, windowLimit),
                shown ? QStringLiteral("no pop-up showed in 10 s")
                      : QStringLiteral("the pop-up stayed for 10 s"));
}

QPoint DisplayRig::cellCentre(int channel, int scene) {
    // The grid's place below the menu bar, its header sizes and its cells of 33 x 16 pixels, in
    // the design's font at 96 dots per inch.
    return {57 + 33 * (scene - 1), 99 + 16 * (channel - 1)};
}

std::optional<int> DisplayRig::exitCode(std::chrono::milliseconds timeout) {
    const bool ended =
        editor->state() == QProcess::NotRunning || editor->waitForFinished(static_cast<int>(timeout.count()));
    return came(ended && editor->exitStatus() == QProcess::NormalExit,
                QStringLiteral("the editor did not end normally in %1 ms").arg(timeout.count()))
               ? std::optional<int>(editor->exitCode())
               : std::nullopt;
}

std::optional<int> DisplayRig::exitByMenu() {
    if (!openByKeys(QStringLiteral("alt+x"))) {
        return std::nullopt;
    }
    x.key(QStringLiteral("Return"));
    return exitCode();
}
