#include "support/PtyFarEnd.h"

#include <QFile>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <utility>

namespace {

// Whether the program's side passes bytes unchanged both ways, as a serial line to a device must.
bool isRaw(const termios& settings) {
    return !(settings.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) && !(settings.c_oflag & OPOST) &&
           !(settings.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP | PARMRK)) &&
           !(settings.c_cflag & CRTSCTS) && (settings.c_cflag & CREAD);
}

} // namespace

PtyFarEnd::PtyFarEnd(QString link)
    : linkPath(std::move(link)) {
    renew();
}

PtyFarEnd::~PtyFarEnd() {
    settle();
    if (deviceSide >= 0) {
        close(deviceSide);
    }
    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath);
    }
}

QString PtyFarEnd::devicePath() const {
    return pty && pty->isValid() ? pty->devicePath() : QString();
}

bool PtyFarEnd::renew() {
    settle();
    if (deviceSide >= 0) {
        close(deviceSide);
    }
    pty = std::make_unique<PseudoTerminal>();
    if (!pty->isValid()) {
        return false;
    }
    deviceSide = open(QFile::encodeName(pty->devicePath()).constData(), O_RDWR | O_NOCTTY);
    if (linkPath.isEmpty()) {
        return deviceSide >= 0;
    }
    // Replaced in one step, so that the name never leads nowhere.
    const QString fresh = linkPath + QStringLiteral(".new");
    QFile::remove(fresh);
    return deviceSide >= 0 && QFile::link(pty->devicePath(), fresh) &&
           rename(QFile::encodeName(fresh).constData(), QFile::encodeName(linkPath).constData()) == 0;
}

FarEndLine PtyFarEnd::line() {
    settle();
    const termios settings = pty->deviceSettings();
    return {lineSettingsOf(settings), isRaw(settings)};
}

QByteArray PtyFarEnd::receive(int count, Delay timeout) {
    settle();
    return pty->receive(count, static_cast<int>(timeout.count()));
}

bool PtyFarEnd::deviceHolds(int count, Delay timeout) {
    settle();
    return pty->deviceHolds(count, static_cast<int>(timeout.count()));
}

void PtyFarEnd::sendAfter(const QByteArray& bytes, Delay delay) {
    later(delay, [this, bytes] { pty->send(bytes); });
}

void PtyFarEnd::hangUpAfter(Delay delay) {
    later(delay, [this] { pty->hangUp(); });
}

void PtyFarEnd::stopOutput() {
    settle();
    flow(TCOOFF);
}

void PtyFarEnd::resumeOutputAfter(Delay delay) {
    later(delay, [this] { flow(TCOON); });
}

void PtyFarEnd::flow(int action) {
    if (deviceSide >= 0) {
        tcflow(deviceSide, action);
    }
}

void PtyFarEnd::settle() {
    if (pending.joinable()) {
        pending.join();
    }
}

void PtyFarEnd::later(Delay delay, std::function<void()> action) {
    settle();
    pending = std::thread([delay, action = std::move(action)] {
        std::this_thread::sleep_for(delay);
        action();
    });
}
