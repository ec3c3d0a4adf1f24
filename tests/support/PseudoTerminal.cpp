#include "support/PseudoTerminal.h"

#include <algorithm>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <utility>

std::optional<LineSettings> lineSettingsOf(const termios& settings) {
    static constexpr std::pair<speed_t, qint32> speeds[] = {
        {B1200, 1200},   {B2400, 2400},   {B4800, 4800},     {B9600, 9600},    {B19200, 19200},
        {B38400, 38400}, {B57600, 57600}, {B115200, 115200}, {B230400, 230400}};
    const speed_t speed = cfgetospeed(&settings);
    const auto known = std::find_if(std::begin(speeds), std::end(speeds),
                                    [speed](const auto& entry) { return entry.first == speed; });
    if (known == std::end(speeds)) {
        return std::nullopt;
    }
    static constexpr std::pair<tcflag_t, int> sizes[] = {{CS5, 5}, {CS6, 6}, {CS7, 7}, {CS8, 8}};
    LineSettings line;
    line.baud = known->second;
    for (const auto& [flag, bits] : sizes) {
        if ((settings.c_cflag & CSIZE) == flag) {
            line.dataBits = bits;
        }
    }
    const bool parity = settings.c_cflag & PARENB;
    line.parity = !parity                     ? LineSettings::Parity::None
                  : settings.c_cflag & PARODD ? LineSettings::Parity::Odd
                                              : LineSettings::Parity::Even;
    line.stopBits = settings.c_cflag & CSTOPB ? LineSettings::StopBits::Two : LineSettings::StopBits::One;
    return line;
}

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
