#include "platform/Win32SerialControl.h"

#include "platform/LineSettings.h"

#include <QEventLoop>
#include <QTimer>
#include <QWinEventNotifier>

#include <windows.h>

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

namespace {

// A write that makes no progress for this long ends there; the line is not blocked for it.
constexpr DWORD writeTimeoutMs = 2000;

// The system's own words for an error code, without the closing full stop that the messages add.
QString systemText(DWORD code) {
    QString text = qt_error_string(static_cast<int>(code));
    if (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
    }
    return text;
}

SerialError openFailure(const QString& device, DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return {SerialError::Kind::NoSuchPort, device, systemText(ERROR_FILE_NOT_FOUND)};
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        // A port is for one program at a time; Windows refuses the second with "access denied".
        return {SerialError::Kind::InUse, device, systemText(ERROR_SHARING_VIOLATION)};
    default:
        return {SerialError::Kind::Other, device, systemText(code)};
    }
}

BYTE toDcbParity(LineSettings::Parity parity) {
    switch (parity) {
    case LineSettings::Parity::None:
        return NOPARITY;
    case LineSettings::Parity::Even:
        return EVENPARITY;
    case LineSettings::Parity::Odd:
        return ODDPARITY;
    case LineSettings::Parity::Mark:
        return MARKPARITY;
    case LineSettings::Parity::Space:
        return SPACEPARITY;
    }
    return NOPARITY;
}

BYTE toDcbStopBits(LineSettings::StopBits stopBits) {
    switch (stopBits) {
    case LineSettings::StopBits::One:
        return ONESTOPBIT;
    case LineSettings::StopBits::OneAndHalf:
        return ONE5STOPBITS;
    case LineSettings::StopBits::Two:
        return TWOSTOPBITS;
    }
    return TWOSTOPBITS;
}

// The line's frame, with no flow control: the controller has neither handshake lines nor XON/XOFF.
bool applyLine(HANDLE handle, const LineSettings& line) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb)) {
        return false;
    }
    dcb.BaudRate = static_cast<DWORD>(line.baud);
    dcb.ByteSize = static_cast<BYTE>(line.dataBits);
    dcb.Parity = toDcbParity(line.parity);
    dcb.StopBits = toDcbStopBits(line.stopBits);
    dcb.fBinary = TRUE;
    dcb.fParity = line.parity != LineSettings::Parity::None;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(handle, &dcb)) {
        return false;
    }
    // A read returns at once with what has arrived, or waits for the first byte and returns with
    // it; a write gives up after the write timeout.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = MAXDWORD - 1;
    timeouts.WriteTotalTimeoutConstant = writeTimeoutMs;
    return SetCommTimeouts(handle, &timeouts) != 0;
}

int toTimeoutMs(std::chrono::microseconds timeout) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
    return static_cast<int>(std::clamp<decltype(ms)>(ms, 0, INT_MAX));
}

} // namespace

// The open port: its handle and the read in flight, whose buffer the system fills.
struct Win32SerialControl::Port {
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED read{};
    std::array<char, 4096> buffer{};
    bool reading = false;

    explicit Port(HANDLE opened)
        : handle(opened) {
        read.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~Port() {
        if (reading) {
            // The system writes into the buffer until the read is over.
            CancelIo(handle);
            DWORD ignored = 0;
            GetOverlappedResult(handle, &read, &ignored, TRUE);
        }
        CloseHandle(read.hEvent);
        CloseHandle(handle);
    }
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;
};

Win32SerialControl::Win32SerialControl(PortResolver resolver, SerialDeviceFacts facts)
    : resolve(std::move(resolver))
    , deviceFacts(std::move(facts)) {}

Win32SerialControl::~Win32SerialControl() = default;

bool Win32SerialControl::isOpen() const {
    return port != nullptr;
}

std::optional<SerialError> Win32SerialControl::open() {
    if (port) {
        return std::nullopt;
    }
    std::optional<SerialError> error = openDevice();
    if (error) {
        // Every failure lists the ports there are, so that the user can choose another number.
        error->ports = deviceFacts.ports();
    }
    return error;
}

std::optional<SerialError> Win32SerialControl::openDevice() {
    const std::optional<QString> device = resolve(portNumber);
    if (!device) {
        return SerialError{SerialError::Kind::NoSuchPort, QString(),
                           QStringLiteral("no serial device stands for port number %1").arg(portNumber)};
    }
    const std::optional<LineSettings> line = parseLineSettings(settings);
    if (!line) {
        return SerialError{SerialError::Kind::Other, *device,
                           QStringLiteral("the settings \"%1\" are not understood").arg(settings)};
    }
    // The device namespace reaches every port, COM10 and above too.
    const std::wstring path = (QStringLiteral("\\\\.\\") + *device).toStdWString();
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return openFailure(*device, GetLastError());
    }
    auto opened = std::make_unique<Port>(handle);
    if (!applyLine(handle, *line)) {
        return openFailure(*device, GetLastError());
    }
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
    port = std::move(opened);
    openedDevice = *device;
    received.clear();
    startRead();
    return std::nullopt;
}

void Win32SerialControl::close() {
    port.reset();
    received.clear();
}

void Win32SerialControl::startRead() {
    port->reading = ReadFile(port->handle, port->buffer.data(), static_cast<DWORD>(port->buffer.size()),
                             nullptr, &port->read) ||
                    GetLastError() == ERROR_IO_PENDING;
    if (!port->reading) {
        lose();
    }
}

void Win32SerialControl::collectRead() {
    while (port && port->reading) {
        DWORD count = 0;
        if (!GetOverlappedResult(port->handle, &port->read, &count, FALSE)) {
            if (GetLastError() != ERROR_IO_INCOMPLETE) {
                port->reading = false;
                lose();
            }
            return;
        }
        received.append(port->buffer.data(), static_cast<qsizetype>(count));
        startRead();
        if (count == 0) {
            // Nothing came: the next read waits for the first byte.
            return;
        }
    }
}

void Win32SerialControl::output(const QByteArray& bytes) {
    if (!port || bytes.isEmpty()) {
        return;
    }
    OVERLAPPED write{};
    write.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD written = 0;
    const bool done =
        WriteFile(port->handle, bytes.constData(), static_cast<DWORD>(bytes.size()), nullptr, &write) ||
        GetLastError() == ERROR_IO_PENDING;
    // Waited for here, so that the pause after a send starts once the bytes are on their way; the
    // write timeout bounds the wait.
    const bool finished = done && GetOverlappedResult(port->handle, &write, &written, TRUE);
    CloseHandle(write.hEvent);
    if (!finished) {
        lose();
    }
}

QByteArray Win32SerialControl::input() {
    collectRead();
    return std::exchange(received, QByteArray());
}

void Win32SerialControl::waitForInput(std::chrono::microseconds timeout) {
    if (!port || !received.isEmpty()) {
        return;
    }
    // The event loop runs meanwhile, so that the windows paint; the pending read's event ends the wait.
    QEventLoop loop;
    QWinEventNotifier arrived(port->read.hEvent);
    QObject::connect(&arrived, &QWinEventNotifier::activated, &loop, &QEventLoop::quit);
    QTimer::singleShot(toTimeoutMs(timeout), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    collectRead();
}

std::optional<SerialError> Win32SerialControl::takeFailure() {
    return std::exchange(failure, std::nullopt);
}

void Win32SerialControl::lose() {
    failure = SerialError{SerialError::Kind::DeviceLost, openedDevice, deviceGoneReason()};
    port.reset();
}
