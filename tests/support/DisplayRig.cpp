#include "support/DisplayRig.h"

#include "editor/AppTexts.h"
#include "platform/PortResolver.h"
#include "support/ControllerProcess.h"

#include <QDeadlineTimer>
#include <QThread>

using namespace std::chrono_literals;

namespace {
// No device stands for the highest port number on a machine with fewer serial nodes.
constexpr std::int16_t absentPort = maxPortNumber;
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

void DisplayRig::launch() {
    launch(QStringLiteral(DMX_EDITOR_PROGRAM), {});
}

void DisplayRig::launch(const QString& program, const QStringList& arguments) {
    editor->setProcessEnvironment(x.environment());
    editor->setWorkingDirectory(folder.path());
    editor->setStandardOutputFile(QProcess::nullDevice());
    editor->start(program, arguments);
    editor->waitForStarted();
}

std::optional<DisplayRig::WindowId> DisplayRig::nextWindow(const QString& title) {
    for (;;) {
        const std::optional<WindowId> window = x.waitForFocus(title, seen);
        if (!window) {
            return std::nullopt;
        }
        seen << *window;
        // The main window shares the dialogs' title; it alone belongs to no other window.
        if (x.transientFor(*window)) {
            return window;
        }
        main = window;
    }
}

bool DisplayRig::answer(const QString& text) {
    if (!nextWindow(texts::appTitle)) {
        return false;
    }
    // The box offers its default answer selected, so typing replaces it.
    x.type(text);
    x.key(QStringLiteral("Return"));
    return true;
}

bool DisplayRig::answerBox(const QString& key) {
    if (!nextWindow(texts::appTitle)) {
        return false;
    }
    x.key(key);
    return true;
}

bool DisplayRig::answerStart(std::int16_t port, std::int16_t speed) {
    return answer(QString::number(port)) && answer(QString::number(speed)) &&
           (port != absentPort || answerBox());
}

bool DisplayRig::chooseFirstSize() {
    if (!nextWindow(QStringLiteral("Select Channels per Scene"))) {
        return false;
    }
    x.key(QStringLiteral("Tab space"));
    return true;
}

bool DisplayRig::startOffline() {
    launch();
    return answerStart(absentPort, 0) && chooseFirstSize() && backToMain();
}

std::optional<DisplayRig::WindowId> DisplayRig::mainWindow() {
    const QDeadlineTimer deadline(10s);
    while (!main && !deadline.hasExpired()) {
        // The dialogs name the window they belong to; the main window belongs to none.
        for (const WindowId window : x.shownWindows(texts::appTitle)) {
            if (!x.transientFor(window)) {
                main = window;
                seen << window;
            }
        }
        QThread::msleep(50);
    }
    return main;
}

bool DisplayRig::backToMain() {
    if (!mainWindow()) {
        return false;
    }
    return x.waitForFocusOn(*main);
}

QPoint DisplayRig::cellCentre(int channel, int scene) {
    // The grid's place below the menu bar, its header sizes and its cells of 33 x 16 pixels, in
    // the design's font at 96 dots per inch.
    return {57 + 33 * (scene - 1), 99 + 16 * (channel - 1)};
}

std::optional<int> DisplayRig::exitCode(std::chrono::milliseconds timeout) {
    if (editor->state() != QProcess::NotRunning &&
        !editor->waitForFinished(static_cast<int>(timeout.count()))) {
        return std::nullopt;
    }
    return editor->exitStatus() == QProcess::NormalExit ? std::optional<int>(editor->exitCode())
                                                        : std::nullopt;
}

bool DisplayRig::pressInMain(const QString& keys) {
    if (!backToMain()) {
        return false;
    }
    x.key(keys);
    return true;
}

std::optional<int> DisplayRig::exitByMenu() {
    if (!pressInMain(QStringLiteral("alt+x")) || !answerBox()) {
        return std::nullopt;
    }
    return exitCode();
}
