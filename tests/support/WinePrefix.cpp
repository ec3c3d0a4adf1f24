#include "support/WinePrefix.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>

namespace {

std::optional<int> exitCode(const QString& program, const QStringList& arguments) {
    QProcess process;
    // Wine's server outlives the command and would hold its output open.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        return std::nullopt;
    }
    return process.exitCode();
}

QString run(const QString& program, const QStringList& arguments) {
    if (exitCode(program, arguments) != 0) {
        return QStringLiteral("%1 %2 failed").arg(program, arguments.join(QLatin1Char(' ')));
    }
    return {};
}

// Where the port leads now: wine keeps its ports as links in the prefix.
QString portLink(int number) {
    const QString prefix = QProcessEnvironment::systemEnvironment().value(
        QStringLiteral("WINEPREFIX"), QDir::home().filePath(QStringLiteral(".wine")));
    return QFileInfo(QDir(prefix).filePath(QStringLiteral("dosdevices/com%1").arg(number))).symLinkTarget();
}

QString server(const QString& wine) {
    return QFileInfo(wine).dir().filePath(QStringLiteral("wineserver"));
}

// No session is left behind: a session keeps the display it began with, and one begun here has
// none, so the windows of a program started next would never reach its screen.
QString endSession(const QString& wine) {
    run(server(wine), {QStringLiteral("-k")});
    return run(server(wine), {QStringLiteral("-w")});
}

// Runs wine's reg command, then ends the session it began.
QString reg(const QStringList& arguments, const QString& wine) {
    const QString failed = run(wine, QStringList{QStringLiteral("reg")} + arguments);
    endSession(wine);
    return failed;
}

// Z:\ is the root of the Linux file system in every wine prefix.
QString windowsPath(const QString& path) {
    return QStringLiteral("Z:") +
           QString(QFileInfo(path).absoluteFilePath()).replace(QLatin1Char('/'), QLatin1Char('\\'));
}

// The port's link is made when a session's services start. They start beside the session's first
// program and may not be done when a short one ends, so a shell is kept waiting on its input until
// the link is there.
bool awaitPortLink(int number, const QString& target, const QString& wine) {
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    shell.setStandardErrorFile(QProcess::nullDevice());
    shell.start(wine, {QStringLiteral("cmd")});
    const QDeadlineTimer deadline(60000);
    while (portLink(number) != target && !deadline.hasExpired() && shell.state() != QProcess::NotRunning) {
        shell.waitForFinished(50);
    }
    shell.write("exit\r\n");
    shell.closeWriteChannel();
    shell.waitForFinished(30000);
    return portLink(number) == target;
}

} // namespace

QString runUnderWine(const QString& program, const QStringList& arguments, const QString& wine) {
    const QString failed = run(wine, QStringList{program} + arguments);
    run(server(wine), {QStringLiteral("-w")});
    return failed;
}

std::optional<int> exitCodeUnderWine(const QString& program, const QStringList& arguments,
                                     const QString& wine) {
    return exitCode(wine, QStringList{program} + arguments);
}

QString exportWineRegistry(const QString& key, const QString& file, const QString& wine) {
    return reg({QStringLiteral("export"), key, windowsPath(file), QStringLiteral("/y")}, wine);
}

QString importWineRegistry(const QString& file, const QString& wine) {
    return reg({QStringLiteral("import"), windowsPath(file)}, wine);
}

std::optional<QMap<QString, QString>> wineRegistryValues(const QString& key, const QString& wine) {
    const QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("key.reg"));
    QFile exported(file);
    if (!exportWineRegistry(key, file, wine).isEmpty() || !exported.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // "name"="text with \\ and \"" or "name"=dword:0000001f, in UTF-16 as reg writes it.
    static const QRegularExpression value(QStringLiteral("^\"((?:[^\"\\\\]|\\\\.)*)\"=(.*)$"));
    const auto unescaped = [](QString text) {
        return text.replace(QRegularExpression(QStringLiteral("\\\\(.)")), QStringLiteral("\\1"));
    };
    QMap<QString, QString> values;
    const QString text = QStringDecoder(QStringDecoder::Utf16)(exported.readAll());
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        if (const QRegularExpressionMatch match = value.match(line); match.hasMatch()) {
            QString data = match.captured(2);
            if (data.startsWith(QLatin1Char('"')) && data.endsWith(QLatin1Char('"'))) {
                data = unescaped(data.mid(1, data.size() - 2));
            }
            values.insert(unescaped(match.captured(1)), data);
        }
    }
    return values;
}

QString pointWinePort(int number, const QString& path, const QString& wine) {
    const QString target = QFileInfo(path).absoluteFilePath();
    if (portLink(number) == target) {
        endSession(wine);
        return {};
    }
    QString failed =
        run(wine, {QStringLiteral("reg"), QStringLiteral("add"),
                   QStringLiteral("HKLM\\Software\\Wine\\Ports"), QStringLiteral("/v"),
                   QStringLiteral("COM%1").arg(number), QStringLiteral("/d"), target, QStringLiteral("/f")});
    if (failed.isEmpty()) {
        failed = endSession(wine);
    }
    if (failed.isEmpty() && !awaitPortLink(number, target, wine)) {
        failed = QStringLiteral("wine's COM%1 leads to %2, not %3").arg(number).arg(portLink(number), target);
    }
    endSession(wine);
    return failed;
}
