#include "win32/Win32SerialControl.h"

#include <QEventLoop>
#include <QTimer>
#include <QWinEventNotifier>

#include <windows.h>

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
    // A read returns at once with what has arrived; a write gives up after the write timeout. The
    // wait for input is a communications event, which every implementation of the functions keeps,
    // where a read that waits for its first byte is not kept by all.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = writeTimeoutMs;
    return SetCommTimeouts(handle, &timeouts) && SetCommMask(handle, EV_RXCHAR);
}

} // namespace

// The open port: its handle and the wait for a received byte in flight, whose result the system
// writes when a byte comes.
struct Win32SerialControl::Port {
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED arrival{};
    DWORD events = 0;
    bool waiting = false;
    OVERLAPPED transfer{};

    explicit Port(HANDLE opened)
        : handle(opened) {
        arrival.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        transfer.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~Port() {
        if (waiting) {
            // An empty mask ends the wait; the system writes its result before the handle goes.
            SetCommMask(handle, 0);
            DWORD ignored = 0;
            GetOverlappedResult(handle, &arrival, &ignored, TRUE);
        }
        CloseHandle(transfer.hEvent);
        CloseHandle(arrival.hEvent);
        CloseHandle(handle);
    }
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    // Waits for the transfer just started to end; both ends of it are bounded by the timeouts.
    bool finishTransfer(BOOL started, DWORD& count) {
        count = 0;
        return (started || GetLastError() == ERROR_IO_PENDING) &&
               GetOverlappedResult(handle, &transfer, &count, TRUE);
    }
};

Win32SerialControl::Win32SerialControl(PortResolver resolver, SerialDeviceFacts facts)
    : SystemSerialLine(std::move(resolver), std::move(facts)) {}

Win32SerialControl::~Win32SerialControl() = default;

bool Win32SerialControl::isOpen() const {
    return port != nullptr;
}

std::optional<SerialError> Win32SerialControl::openDevice(const QString& device, const LineSettings& line) {
    // The device namespace reaches every port, COM10 and above too.
    const std::wstring path = (QStringLiteral("\\\\.\\") + device).toStdWString();
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return openFailure(device, GetLastError());
    }
    auto opened = std::make_unique<Port>(handle);
    if (!applyLine(handle, line)) {
        return openFailure(device, GetLastError());
    }
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
    port = std::move(opened);
    received.clear();
    return std::nullopt;
}

void Win32SerialControl::close() {
    port.reset();
    received.clear();
}

void Win32SerialControl::collectInput() {
    while (port) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(port->handle, &errors, &status)) {
            lose();
            return;
        }
        if (status.cbInQue == 0) {
            return;
        }
        QByteArray bytes(static_cast<qsizetype>(status.cbInQue), Qt::Uninitialized);
        DWORD count = 0;
        if (!port->finishTransfer(
                ReadFile(port->handle, bytes.data(), status.cbInQue, nullptr, &port->transfer), count)) {
            lose();
            return;
        }
        received += bytes.left(static_cast<qsizetype>(count));
    }
}

bool Win32SerialControl::armArrival() {
    if (port->waiting) {
        return true;
    }
    if (WaitCommEvent(port->handle, &port->events, &port->arrival)) {
        return true; // a byte came already
    }
    if (GetLastError() != ERROR_IO_PENDING) {
        lose();
        return false;
    }
    port->waiting = true;
    return true;
}

void Win32SerialControl::output(const QByteArray& bytes) {
    if (!port || bytes.isEmpty()) {
        return;
    }
    // Waited for here, so that the pause after a send starts once the bytes are on their way; the
    // write timeout bounds the wait.
    DWORD written = 0;
    if (!port->finishTransfer(WriteFile(port->handle, bytes.constData(), static_cast<DWORD>(bytes.size()),
                                        nullptr, &port->transfer),
                              written)) {
        lose();
    }
}

bool Win32SerialControl::outputSent() {
    if (!port) {
        return true;
    }
    // The driver's transmit queue holds what has not gone out yet.
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(port->handle, &errors, &status)) {
        lose();
        return true;
    }
    return status.cbOutQue == 0;
}

QByteArray Win32SerialControl::input() {
    collectInput();
    return std::exchange(received, QByteArray());
}

void Win32SerialControl::waitForInput(std::chrono::microseconds timeout) {
    // Armed before looking, so that a byte coming after the look ends the wait.
    if (!port || !received.isEmpty() || !armArrival()) {
        return;
    }
    collectInput();
    if (!port || !received.isEmpty() || !port->waiting) {
        return;
    }
    // The event loop runs meanwhile, so that the windows paint.
    QEventLoop loop;
    QWinEventNotifier arrived(port->arrival.hEvent);
    QObject::connect(&arrived, &QWinEventNotifier::activated, &loop, &QEventLoop::quit);
    QTimer::singleShot(timerInterval(timeout), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    DWORD ignored = 0;
    if (GetOverlappedResult(port->handle, &port->arrival, &ignored, FALSE)) {
        port->waiting = false;
    } else if (GetLastError() != ERROR_IO_INCOMPLETE) {
        port->waiting = false;
        lose();
    }
    collectInput();
}

void Win32SerialControl::lose() {
    keepFailure(deviceGoneReason());
    port.reset();
}
