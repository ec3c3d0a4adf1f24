#include "support/ControllerProcess.h"

#include "platform/PortResolver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
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

ControllerProcess::ControllerProcess(const QStringList& options) {
    const QString link = freeDeviceName();
    controller->start(QStringLiteral(DMX_PTY_CONTROLLER_PROGRAM),
                      QStringList{QStringLiteral("--link"), link, QStringLiteral("--memory"), memoryFile()} +
                          options);
    // The device path comes first, once the link is made.
    const QDeadlineTimer deadline(std::chrono::seconds(10));
    while (!controller->canReadLine() && controller->state() != QProcess::NotRunning &&
           !deadline.hasExpired()) {
        controller->waitForReadyRead(100);
    }
    if (!controller->canReadLine()) {
        problem = QStringLiteral("the controller did not start: %1")
                      .arg(QString::fromLocal8Bit(controller->readAllStandardError()));
        return;
    }
    controller->readLine();
    portNumber = static_cast<std::int16_t>(serialDeviceNodes(deviceDir, PortNaming::Linux).indexOf(link) + 1);
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

int ControllerProcess::count(std::int16_t code) {
    const QList<QByteArray> all = commands();
    return static_cast<int>(std::count_if(all.begin(), all.end(), [code](const QByteArray& command) {
        return !command.isEmpty() && static_cast<std::uint8_t>(command.front()) == code;
    }));
}

bool ControllerProcess::waitFor(std::int16_t code, int atLeast, std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout);
    while (count(code) < atLeast) {
        if (deadline.hasExpired()) {
            return false;
        }
        controller->waitForReadyRead(100);
    }
    return true;
}

bool ControllerProcess::waitForLast(const QByteArray& command, std::chrono::milliseconds timeout) {
    const QDeadlineTimer deadline(timeout);
    while (commands().value(received.size() - 1) != command) {
        if (deadline.hasExpired()) {
            return false;
        }
        controller->waitForReadyRead(100);
    }
    return true;
}

std::optional<ControllerProcess::Memory> ControllerProcess::stop() {
    commands();
    controller.stop();
    commands();
    QFile file(memoryFile());
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // A header line, then "scene N: l1 l2 ..." or "scene N (saved): ..." per scene.
    Memory memory;
    file.readLine();
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        QList<int> levels;
        for (const QByteArray& level : line.mid(line.indexOf(':') + 1).split(' ')) {
            if (!level.isEmpty()) {
                levels << level.toInt();
            }
        }
        memory << levels;
    }
    return memory;
}
