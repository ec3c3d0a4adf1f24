#include "support/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>

PseudoTerminal::PseudoTerminal() {
    std::array<char, 256> name{};
    if (openpty(&controller, &device, name.data(), nullptr, nullptr) != 0) {
        controller = device = -1;
        return;
    }
    path = QString::fromLocal8Bit(name.data());
    // Raw from the start, so nothing sent before the program opens the device is echoed or edited.
    termios raw{};
    tcgetattr(device, &raw);
    cfmakeraw(&raw);
    tcsetattr(device, TCSANOW, &raw);
}

PseudoTerminal::~PseudoTerminal() {
    hangUp();
    if (device >= 0) {
        close(device);
    }
}

void PseudoTerminal::send(const QByteArray& bytes) {
    qsizetype sent = 0;
    while (controller >= 0 && sent < bytes.size()) {
        const ssize_t n =
            write(controller, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent));
        if (n <= 0) {
            return;
        }
        sent += n;
    }
}

QByteArray PseudoTerminal::receive(int count, int timeoutMs) {
    QByteArray bytes;
    pollfd readable{controller, POLLIN, 0};
    while (controller >= 0 && bytes.size() < count && poll(&readable, 1, timeoutMs) > 0) {
        std::array<char, 4096> chunk{};
        const ssize_t n =
            read(controller, chunk.data(), std::min<size_t>(chunk.size(), count - bytes.size()));
        if (n <= 0) {
            break;
        }
        bytes.append(chunk.data(), n);
    }
    return bytes;
}

bool PseudoTerminal::deviceHolds(int count, int timeoutMs) const {
    pollfd readable{device, POLLIN, 0};
    int held = 0;
    // The system moves bytes to the device side in its own time; poll until all are there.
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
        if (poll(&readable, 1, 10) > 0 && ioctl(device, FIONREAD, &held) == 0 && held >= count) {
            return true;
        }
    }
    return false;
}

termios PseudoTerminal::deviceSettings() const {
    // On the controlling side the terminal reports the device side's settings.
    termios settings{};
    tcgetattr(controller, &settings);
    return settings;
}

void PseudoTerminal::hangUp() {
    if (controller >= 0) {
        close(controller);
        controller = -1;
    }
}
