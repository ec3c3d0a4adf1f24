#include "support/ControllerProcess.h"

#include "platform/PortResolver.h"
#include "support/SceneFiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {
const QString deviceDir = QStringLiteral("/dev");

// The first ttyUSB name that is free: lower numbers that exist keep their port numbers.
QString freeDeviceName() {
    for (int n = 0;; ++n) {
        const QString name = QStringLiteral("%1/ttyUSB%2").arg(deviceDir).arg(n);
        if (!QFileInfo(name).exists() && !QFileInfo(name).isSymLink()) {
            return name;
        }
    }
}
} // namespace

ControllerProcess::ControllerProcess(const QStringList& options)
    : ControllerProcess(options, freeDeviceName(), 0) {}

ControllerProcess::ControllerProcess(const QStringList& options, const QString& link, std::int16_t port) {
    controller->start(QStringLiteral(DMX_PTY_CONTROLLER_PROGRAM),
                      QStringList{QStringLiteral("--link"), link, QStringLiteral("--memory"), memoryFile()} +
                          options);
    // The device path comes first, once the link is made.
    if (!waitUntil(
            [this] { return controller->canReadLine() || controller->state() == QProcess::NotRunning; },
            std::chrono::seconds(10), QStringLiteral("the controller gave no device")) ||
        !controller->canReadLine()) {
        problem = QStringLiteral("the controller did not start: %1")
                      .arg(QString::fromLocal8Bit(controller->readAllStandardError()));
        return;
    }
    controller->readLine();
    portNumber =
        port ? port
             : static_cast<std::int16_t>(serialDeviceNodes(deviceDir, PortNaming::Linux).indexOf(link) + 1);
}

QString ControllerProcess::whyNoDeviceLink() {
    return QFileInfo(deviceDir).isWritable()
               ? QString()
               : QStringLiteral(
                     "%1 is not writable, so no device node can stand for the controller (run as root)")
                     .arg(deviceDir);
}

QList<QByteArray> ControllerProcess::commands() {
    // "0.532 select_scene 03 02 (after 50.1 ms of silence)": the bytes come after the time and the
    // name, and before any remark in brackets.
    while (controller->canReadLine() || controller->waitForReadyRead(0)) {
        if (!controller->canReadLine()) {
            continue;
        }
        const QByteArray line = controller->readLine();
        const QList<QByteArray> fields = line.split('(').front().trimmed().split(' ');
        received << QByteArray::fromHex(fields.mid(2).join());
    }
    return received;
}

QString ControllerProcess::memoryFile() const {
    return folder.filePath(QStringLiteral("memory.txt"));
}

bool ControllerProcess::waitUntil(const std::function<bool()>& holds, std::chrono::milliseconds timeout,
                                  const QString& missing) {
    const QDeadlineTimer deadline(timeout);
    while (!holds()) {
        if (deadline.hasExpired()) {
            qWarning("%s in %lld ms", qPrintable(missing), static_cast<long long>(timeout.count()));
            return false;
        }
        controller->waitForReadyRead(100);
    }
    return true;
}

bool ControllerProcess::waitFor(std::int16_t code, int atLeast, std::chrono::milliseconds timeout) {
    const auto ofCode = [code](const QByteArray& command) {
        return !command.isEmpty() && static_cast<std::uint8_t>(command.front()) == code;
    };
    return waitUntil([&] { return std::ranges::count_if(commands(), ofCode) >= atLeast; }, timeout,
                     QStringLiteral("the controller got no %1 commands of code %2").arg(atLeast).arg(code));
}

bool ControllerProcess::waitForLast(const QByteArray& command, std::chrono::milliseconds timeout) {
    return waitUntil([&] { return commands().value(received.size() - 1) == command; }, timeout,
                     QStringLiteral("the controller's last command was not %1").arg(command.toHex(' ')));
}

std::optional<ControllerProcess::Memory> ControllerProcess::stop() {
    commands();
    controller.stop();
    commands();
    const QByteArray text = fileContents(memoryFile());
    if (text.isEmpty()) {
        return std::nullopt;
    }
    // A header line, then "scene N: l1 l2 ..." or "scene N (saved): ..." per scene.
    Memory memory;
    for (const QString& line :
         QString::fromLatin1(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1)) {
        memory << line.mid(line.indexOf(QLatin1Char(':')) + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    return memory;
}
