#include "support/LineUnderTest.h"

#include "support/RemoteFarEnd.h"
#include "win32/SystemText.h"
#include "win32/Win32SerialControl.h"
#include "win32/Win32SerialDevices.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

// The program that plays the far end started this one and reads its requests from its output.
QByteArray askThePlayer(const QByteArray& request) {
    std::fputs((request + '\n').constData(), stdout);
    std::fflush(stdout);
    std::array<char, 65536> answer{};
    if (!std::fgets(answer.data(), static_cast<int>(answer.size()), stdin)) {
        return {};
    }
    return QByteArray(answer.data()).trimmed();
}

} // namespace

std::unique_ptr<FarEnd> LineUnderTest::playedFarEnd() {
    return std::make_unique<RemoteFarEnd>(askThePlayer);
}

// The player points COM1 at its line.
std::unique_ptr<SerialControl> LineUnderTest::control() {
    return std::make_unique<Win32SerialControl>(systemPortResolver(), win32SerialDeviceFacts());
}

QList<SerialPortEntry> LineUnderTest::systemPorts() {
    return win32SerialDeviceFacts().ports();
}

LineUnderTest::MissingPort LineUnderTest::missingPort() const {
    // The highest number that the system has no port for.
    const QList<SerialPortEntry> ports = systemPorts();
    std::int16_t number = maxPortNumber;
    while (std::any_of(ports.begin(), ports.end(), [&](const auto& port) { return port.number == number; })) {
        --number;
    }
    return {number, QStringLiteral("COM%1").arg(number)};
}

QString LineUnderTest::noSuchPortWords() {
    return systemText(ERROR_FILE_NOT_FOUND);
}

QString LineUnderTest::inUseWords() {
    return systemText(ERROR_SHARING_VIOLATION);
}

QString LineUnderTest::systemWords(int code) {
    return systemText(static_cast<DWORD>(code));
}

QString LineUnderTest::whyNoPortInUse() {
    // Wine tells itself by a function of its own.
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        return {};
    }
    return QStringLiteral(
        "wine opens a serial device for any number of handles, so it never refuses a second "
        "opening of a port as one in use");
}
