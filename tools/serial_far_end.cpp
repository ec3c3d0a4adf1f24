// Plays the far end of a serial line for a test program that runs under wine, where no
// pseudo-terminal can be made: it makes one, points wine's COM1 at it through a link, runs the
// program under wine and carries out the requests the program writes to its output (the lines
// that begin with RemoteFarEnd::requestMark), answering each on the program's input. Other output
// is passed on. It ends with the program's exit code.
//   dmx-serial-far-end LINK WINE PROGRAM.exe [ARGUMENT...]

#include "support/ChildProcess.h"
#include "support/PtyFarEnd.h"
#include "support/RemoteFarEnd.h"
#include "support/WinePrefix.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    QTextStream err(stderr);
    if (arguments.size() < 4) {
        err << "usage: dmx-serial-far-end LINK WINE PROGRAM.exe [ARGUMENT...]\n";
        return 2;
    }
    const QString& link = arguments[1];
    const QString& wine = arguments[2];
    PtyFarEnd farEnd(link);
    if (farEnd.devicePath().isEmpty()) {
        err << "cannot make a pseudo-terminal at " << link << "\n";
        return 1;
    }
    if (const QString failed = pointWinePort(1, link, wine); !failed.isEmpty()) {
        err << failed << "\n";
        return 1;
    }

    ChildProcess program;
    program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program->start(wine, arguments.mid(3));
    if (!program->waitForStarted()) {
        err << "cannot start " << arguments.mid(3).join(QLatin1Char(' ')) << ": " << program->errorString()
            << "\n";
        return 1;
    }
    const auto serve = [&] {
        while (program->canReadLine()) {
            const QByteArray line = program->readLine();
            if (line.startsWith(RemoteFarEnd::requestMark)) {
                program->write(RemoteFarEnd::answer(farEnd, line) + '\n');
                program->waitForBytesWritten(1000);
            } else {
                std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
            }
        }
    };
    while (program->state() != QProcess::NotRunning) {
        program->waitForReadyRead(100);
        serve();
    }
    serve();
    const QByteArray rest = program->readAll();
    std::fwrite(rest.constData(), 1, static_cast<std::size_t>(rest.size()), stdout);
    return program->exitStatus() == QProcess::NormalExit ? program->exitCode() : 1;
}
