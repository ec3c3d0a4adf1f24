// A scene controller on a pseudo-terminal, for trying the editor without hardware and for the tests
// that run the editor on a real display. It prints the device path, optionally links a name such as
// /dev/ttyUSB0 to it (so the editor finds it by port number), logs every command it receives with
// the silence on the wire before it, and on SIGINT or SIGTERM writes its memory out and removes the
// link. The line has a wire at the speed the editor set, unless told otherwise.

#include "device/Commands.h"
#include "platform/PortResolver.h"
#include "support/ControllerModel.h"
#include "support/PtyController.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <thread>

#include <unistd.h>

using namespace std::chrono_literals;
using Fault = ControllerModel::Fault;

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

const QHash<QString, Fault::Kind> faultKinds{{QStringLiteral("silent"), Fault::Kind::Silent},
                                             {QStringLiteral("short"), Fault::Kind::Short},
                                             {QStringLiteral("long"), Fault::Kind::Long},
                                             {QStringLiteral("late"), Fault::Kind::Late}};

// "KIND[:COMMAND[:SCENE]]", COMMAND a decimal code, either part "*" for any.
std::optional<Fault> parseFault(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() > 3 || !faultKinds.contains(parts[0])) {
        return std::nullopt;
    }
    Fault fault{faultKinds.value(parts[0])};
    bool ok = true;
    if (parts.size() > 1 && parts[1] != u'*') {
        fault.command = static_cast<std::uint8_t>(parts[1].toUInt(&ok));
    }
    if (ok && parts.size() > 2 && parts[2] != u'*') {
        fault.scene = parts[2].toInt(&ok);
    }
    return ok ? std::optional<Fault>(fault) : std::nullopt;
}

QString commandName(std::uint8_t code) {
    static const QHash<std::int16_t, QString> names{
        {command::set_levels, QStringLiteral("set_levels")},
        {command::set_scene_size, QStringLiteral("set_scene_size")},
        {command::select_scene, QStringLiteral("select_scene")},
        {command::read_scene, QStringLiteral("read_scene")},
        {command::get_scene_size, QStringLiteral("get_scene_size")},
        {command::save_scene, QStringLiteral("save_scene")},
        {command::clear_scene, QStringLiteral("clear_scene")},
        {command::get_version, QStringLiteral("get_version")}};
    return names.value(code, QStringLiteral("unknown"));
}

// The length of the commands that have one; a longer command ran into the one after it.
std::optional<qsizetype> fixedLength(std::uint8_t code) {
    switch (code) {
    case command::set_scene_size:
    case command::select_scene:
        return 2;
    case command::read_scene:
    case command::get_scene_size:
    case command::save_scene:
    case command::clear_scene:
    case command::get_version:
        return 1;
    default:
        return std::nullopt;
    }
}

// "0.532 select_scene 03 02 (after 50.1 ms of silence)": seconds since the start, the command's
// name, its bytes in hex, and the silence on the wire before it (none before the first command).
QString logLine(const ControllerModel::Frame& frame, Clock::Time started) {
    const std::uint8_t code = frame.bytes.front();
    QString line = QStringLiteral("%1 %2")
                       .arg(std::chrono::duration<double>(frame.start - started).count(), 0, 'f', 3)
                       .arg(commandName(code));
    for (const std::uint8_t byte : frame.bytes) {
        line += QStringLiteral(" %1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    if (frame.silence) {
        line += QStringLiteral(" (after %1 ms of silence)")
                    .arg(std::chrono::duration<double, std::milli>(*frame.silence).count(), 0, 'f', 1);
    }
    if (const auto length = fixedLength(code); length && frame.bytes.size() > *length) {
        line += QStringLiteral(" (longer than one %1: commands ran together)").arg(commandName(code));
    }
    return line;
}

// A header line, then "scene N: l1 l2 ..." per scene, "scene N (saved): ..." once stored.
QString memoryText(const ControllerModel& controller) {
    QString text = QStringLiteral("%1 channels per scene, %2 scenes, scene %3 selected\n")
                       .arg(controller.channelsPerScene())
                       .arg(controller.sceneCount())
                       .arg(controller.currentScene());
    for (int s = 1; s <= controller.sceneCount(); ++s) {
        text += QStringLiteral("scene %1%2:").arg(s).arg(controller.isSaved(s) ? " (saved)" : "");
        for (int c = 1; c <= controller.channelsPerScene(); ++c) {
            text += QStringLiteral(" %1").arg(controller.level(s, c));
        }
        text += QLatin1Char('\n');
    }
    return text;
}

bool writeFile(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toLatin1()) >= 0 &&
           file.flush();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a scene controller on a pseudo-terminal and logs every command it gets."));
    parser.addHelpOption();
    const QCommandLineOption mk2(QStringLiteral("mk2"),
                                 QStringLiteral("Play a Mk2 controller (default Mk1)."));
    const QCommandLineOption channels(QStringLiteral("channels"),
                                      QStringLiteral("Channels per scene: 128, 256 or 512 (default 512)."),
                                      QStringLiteral("n"), QStringLiteral("512"));
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Make a symbolic link to the device, e.g. /dev/ttyUSB0."),
                                  QStringLiteral("path"));
    const QCommandLineOption fault(
        QStringLiteral("fault"),
        QStringLiteral("Answer wrongly: silent, short, long or late, optionally for one command code and "
                       "one scene, e.g. silent:4:2. May be repeated."),
        QStringLiteral("kind[:command[:scene]]"));
    const QCommandLineOption echo(QStringLiteral("echo"),
                                  QStringLiteral("Send every byte straight back and never answer."));
    const QCommandLineOption pattern(QStringLiteral("pattern"),
                                     QStringLiteral("Start with a level of its own in every channel of "
                                                    "every scene (scene * 37 + channel, modulo 256)."));
    const QCommandLineOption chatter(QStringLiteral("chatter"),
                                     QStringLiteral("Play a device that is no controller: answer nothing "
                                                    "and send this line ten times a second, unasked."),
                                     QStringLiteral("text"));
    const QCommandLineOption memory(QStringLiteral("memory"),
                                    QStringLiteral("Write the controller's memory to this file at the end."),
                                    QStringLiteral("file"));
    const QCommandLineOption noWire(QStringLiteral("no-wire"),
                                    QStringLiteral("Take bytes as they come, without their time on a wire at "
                                                   "the speed the editor set."));
    parser.addOptions({mk2, channels, link, fault, echo, pattern, chatter, memory, noWire});
    parser.process(app);

    QTextStream err(stderr);
    const int channelsPerScene = parser.value(channels).toInt();
    if (channelsPerScene != 128 && channelsPerScene != 256 && channelsPerScene != 512) {
        err << "--channels must be 128, 256 or 512\n";
        return 2;
    }
    ControllerModel controller(parser.isSet(mk2) ? ControllerModel::Generation::Mk2
                                                 : ControllerModel::Generation::Mk1,
                               channelsPerScene);
    for (const QString& text : parser.values(fault)) {
        const auto parsed = parseFault(text);
        if (!parsed) {
            err << "not a fault: " << text << "\n";
            return 2;
        }
        controller.addFault(*parsed);
    }
    if (parser.isSet(chatter)) {
        controller.addFault(Fault{Fault::Kind::Silent});
    }
    controller.setEcho(parser.isSet(echo));
    if (parser.isSet(pattern)) {
        controller.fillWithPattern();
    }

    // Plays until it is told to stop, however long that is.
    PtyController device(controller, std::chrono::hours(24 * 365),
                         parser.isSet(noWire) ? PtyController::Wire::None : PtyController::Wire::Modelled);
    if (device.devicePath().isEmpty()) {
        err << "cannot make a pseudo-terminal\n";
        return 1;
    }
    const QString linkPath = parser.value(link);
    if (!linkPath.isEmpty() && !QFile::link(device.devicePath(), linkPath)) {
        err << "cannot make the link " << linkPath << " (does it exist already?)\n";
        return 1;
    }
    // The port number the editor finds the link by, which other serial devices move on.
    if (const QFileInfo linked(linkPath);
        !linkPath.isEmpty() && linked.absolutePath() == QLatin1String("/dev")) {
        const qsizetype index =
            serialDeviceNodes(linked.absolutePath(), PortNaming::Linux).indexOf(linked.absoluteFilePath());
        if (index >= 0) {
            err << "The editor finds it as port " << index + 1 << "\n";
            err.flush();
        }
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);

    QTextStream out(stdout);
    out << device.devicePath() << Qt::endl;
    QtClock clock;
    const Clock::Time started = clock.now();
    device.switchOn();

    const QByteArray chatterLine = parser.value(chatter).toLatin1() + "\r\n";
    const auto logEnded = [&] {
        for (const ControllerModel::Frame& frame : device.takeEndedFrames()) {
            out << logLine(frame, started) << Qt::endl;
        }
    };
    Clock::Time nextChatter = started;
    while (!stopRequested) {
        std::this_thread::sleep_for(20ms);
        if (parser.isSet(chatter) && clock.now() >= nextChatter) {
            device.sendUnsolicited(bytesOf(chatterLine));
            nextChatter += 100ms;
        }
        logEnded();
    }
    device.stop();
    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath);
    }
    logEnded();
    const ControllerModel last = device.snapshot();
    if (parser.isSet(memory) && !writeFile(parser.value(memory), memoryText(last))) {
        err << "cannot write " << parser.value(memory) << "\n";
        return 1;
    }
    return 0;
}
