#include "support/XSession.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

using namespace std::chrono_literals;

namespace {
constexpr int commandTimeoutMs = 10000;
// A loaded machine may take its time to start a server and a window manager.
constexpr std::chrono::seconds startLimit = 30s;

const QStringList neededPrograms{QStringLiteral("Xvfb"),    QStringLiteral("xdotool"),
                                 QStringLiteral("xprop"),   QStringLiteral("xwininfo"),
                                 QStringLiteral("openbox"), QStringLiteral("import")};

// Why the session cannot start, when a program it needs is missing; empty when all are there.
QString missingPrograms() {
    QStringList missing = neededPrograms;
    missing.removeIf(
        [](const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); });
    return missing.isEmpty() ? QString()
                             : QStringLiteral("not installed: %1 (Debian packages xvfb, xdotool, x11-utils, "
                                              "openbox, imagemagick)")
                                   .arg(missing.join(QStringLiteral(", ")));
}
} // namespace

XSession::XSession(Manager wanted) {
    if (const QString missing = missingPrograms(); !missing.isEmpty()) {
        problem = missing;
        return;
    }
    if (startServer() && wanted == Manager::Openbox) {
        startManager();
    }
}

bool XSession::startServer() {
    // The server picks a free display itself and writes its number to the given descriptor.
    server->setProcessChannelMode(QProcess::SeparateChannels);
    server->start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                   QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-dpi"),
                   QStringLiteral("96"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    const QDeadlineTimer deadline(startLimit);
    QByteArray number;
    while (!number.endsWith('\n') && server->state() != QProcess::NotRunning && !deadline.hasExpired()) {
        server->waitForReadyRead(100);
        number += server->readAllStandardOutput();
    }
    if (!number.endsWith('\n')) {
        problem = QStringLiteral("Xvfb did not start: %1")
                      .arg(QString::fromLocal8Bit(server->readAllStandardError()));
        return false;
    }
    displayName = QStringLiteral(":%1").arg(QString::fromLatin1(number.trimmed()));
    return true;
}

void XSession::startManager() {
    manager->setProcessEnvironment(environment());
    manager->setStandardOutputFile(QProcess::nullDevice());
    manager->start(QStringLiteral("openbox"), {});
    // The manager is ready once it has announced itself on the root window.
    const QStringList check{QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")};
    if (!pollUntil([&] { return run(QStringLiteral("xprop"), check).contains(QStringLiteral("window id")); },
                   startLimit)) {
        problem = QStringLiteral("openbox did not start within %1 s%2: %3")
                      .arg(std::chrono::seconds(startLimit).count())
                      .arg(server->state() == QProcess::NotRunning ? QStringLiteral(" (Xvfb has ended)")
                                                                   : QString(),
                           QString::fromLocal8Bit(manager->readAllStandardError()));
    }
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), displayName);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("96"));
    return env;
}

QByteArray XSession::output(const QString& program, const QStringList& arguments, bool* ok) const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    const bool finished = process.waitForFinished(commandTimeoutMs);
    if (ok) {
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }
    return process.readAllStandardOutput();
}

QString XSession::run(const QString& program, const QStringList& arguments, bool* ok) const {
    return QString::fromLocal8Bit(output(program, arguments, ok));
}

QImage XSession::screenshot() const {
    // ImageMagick's import reads the root window through the X server, as any screenshot does.
    return QImage::fromData(
        output(QStringLiteral("import"),
               {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")}),
        "PNG");
}

QString XSession::xdotool(const QStringList& arguments, bool* ok) const {
    return run(QStringLiteral("xdotool"), arguments, ok);
}

std::optional<XSession::WindowId> XSession::focusedWindow() const {
    bool ok = false;
    const WindowId window = xdotool({QStringLiteral("getwindowfocus")}, &ok).trimmed().toULong();
    // Without a window manager the focus can rest on the root window or on none.
    if (!ok || window <= 1) {
        return std::nullopt;
    }
    return window;
}

QString XSession::windowName(WindowId window) const {
    return xdotool({QStringLiteral("getwindowname"), QString::number(window)}).trimmed();
}

QRect XSession::geometry(WindowId window) const {
    const QString shell =
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window)});
    const auto value = [&shell](const char* name) {
        const QRegularExpression line(QStringLiteral("^%1=(-?\\d+)$").arg(QLatin1String(name)),
                                      QRegularExpression::MultilineOption);
        return line.match(shell).captured(1).toInt();
    };
    return {value("X"), value("Y"), value("WIDTH"), value("HEIGHT")};
}

std::optional<XSession::WindowId> XSession::transientFor(WindowId window) const {
    const QString text = run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window),
                                                       QStringLiteral("WM_TRANSIENT_FOR")});
    const QRegularExpressionMatch id =
        QRegularExpression(QStringLiteral("window id # (0x[0-9a-f]+)")).match(text);
    if (!id.hasMatch()) {
        return std::nullopt;
    }
    return id.captured(1).toULong(nullptr, 16);
}

QList<XSession::WindowId> XSession::shownWindows(const QString& title) const {
    const QString pattern = QStringLiteral("^%1$").arg(QRegularExpression::escape(title));
    QList<WindowId> windows;
    for (const QString& line : xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                        QStringLiteral("--name"), pattern})
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        windows << line.trimmed().toULong();
    }
    return windows;
}

bool XSession::showsPopup(qint64 program) const {
    const QStringList windows = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                         QStringLiteral("--pid"), QString::number(program)})
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // A pop-up is placed by the program itself, past the window manager.
    return std::any_of(windows.begin(), windows.end(), [this](const QString& window) {
        return run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window.trimmed()})
            .contains(QStringLiteral("Override Redirect State: yes"));
    });
}

bool XSession::pollUntil(const std::function<bool()>& holds, std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout);
    while (!holds()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(50);
    }
    return true;
}

bool XSession::waitForFocusOn(WindowId wanted, std::chrono::milliseconds timeout) const {
    return waitForFocus([wanted](WindowId window) { return window == wanted; }, timeout).has_value();
}

std::optional<XSession::WindowId> XSession::waitForFocus(const std::function<bool(WindowId)>& wanted,
                                                         std::chrono::milliseconds timeout) const {
    std::optional<WindowId> window;
    return pollUntil([&] { return (window = focusedWindow()) && wanted(*window); }, timeout) ? window
                                                                                             : std::nullopt;
}

bool XSession::waitUntilGone(WindowId window, std::chrono::milliseconds timeout) const {
    // A destroyed window cannot be asked at all; a hidden one is no longer viewable.
    const auto gone = [&] {
        bool ok = false;
        const QString info =
            run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)}, &ok);
        return !ok || !info.contains(QStringLiteral("IsViewable"));
    };
    return pollUntil(gone, timeout);
}

void XSession::typeOver(const QString& text) const {
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a"), QStringLiteral("type"),
             QStringLiteral("--delay"), QStringLiteral("40"), text});
}

void XSession::key(const QString& keys) const {
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")} +
            keys.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

void XSession::click(WindowId window, QPoint at) const {
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(window),
             QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
}
