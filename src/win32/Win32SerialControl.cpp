#include "win32/Win32SerialControl.h"

#include "win32/SystemText.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <windows.h>

#include <algorithm>
#include <utility>

namespace {

// How long the system may take to end a transfer it has been told to cancel; a driver that takes
// longer (one that never ends a transfer on a removed adapter) is given up on.
constexpr DWORD cancelLimitMs = 500;

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

// A read waits for all the bytes it asks for: the wait for input asks for one, the taking of what
// has come for exactly what the system holds. A write ends at its time limit: the bytes' time on
// the wire, rounded up to whole milliseconds a byte, and the grace.
COMMTIMEOUTS timeoutsFor(const LineSettings& line) {
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutMultiplier =
        static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(wireTime(line, 1)).count());
    timeouts.WriteTotalTimeoutConstant =
        static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(sendGrace).count());
    return timeouts;
}

// The line's frame, with no flow control: the controller has neither handshake lines nor XON/XOFF.
// The system's error when it is refused.
DWORD applyLine(HANDLE handle, const LineSettings& line, COMMTIMEOUTS timeouts) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb)) {
        return GetLastError();
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
    if (!SetCommState(handle, &dcb) || !SetCommTimeouts(handle, &timeouts)) {
        return GetLastError();
    }
    return ERROR_SUCCESS;
}

// One overlapped transfer and the bytes it moves. The system writes into both until the transfer
// has ended, so one that the system would not end when told is left to it rather than freed.
struct Transfer {
    explicit Transfer(HANDLE event) { overlapped.hEvent = event; }
    ~Transfer() { CloseHandle(overlapped.hEvent); }
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    OVERLAPPED overlapped{};
    QByteArray bytes;
    bool running = false;
};

// Nothing, with the system's error to tell, when no event can be had for it.
std::unique_ptr<Transfer> newTransfer() {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event ? std::make_unique<Transfer>(event) : nullptr;
}

// Whether ReadFile or WriteFile took the transfer on, whether it ended at once or runs on.
bool begun(BOOL started, Transfer& transfer) {
    transfer.running = started || GetLastError() == ERROR_IO_PENDING;
    return transfer.running;
}

// How a transfer ended: the bytes it moved and the system's error, ERROR_SUCCESS when none.
struct Ending {
    bool ended = false;
    DWORD count = 0;
    DWORD error = ERROR_SUCCESS;
};

Ending endingOf(HANDLE handle, Transfer& transfer) {
    DWORD count = 0;
    if (GetOverlappedResult(handle, &transfer.overlapped, &count, FALSE)) {
        transfer.running = false;
        return {true, count, ERROR_SUCCESS};
    }
    const DWORD error = GetLastError();
    if (error == ERROR_IO_INCOMPLETE) {
        return {};
    }
    transfer.running = false;
    return {true, count, error};
}

// Waits up to the time for the transfer to end, then tells the system to cancel it and waits a
// little more; it has not ended only when the system would not end it even so.
Ending finish(HANDLE handle, Transfer& transfer, DWORD waitMs) {
    WaitForSingleObject(transfer.overlapped.hEvent, waitMs);
    if (const Ending end = endingOf(handle, transfer); end.ended) {
        return end;
    }
    CancelIoEx(handle, &transfer.overlapped);
    WaitForSingleObject(transfer.overlapped.hEvent, cancelLimitMs);
    return endingOf(handle, transfer);
}

// Waits for the event until the time has passed, handling the event loop's messages meanwhile so
// that the windows paint; true when the event came. The toolkit's notifier of an event is not
// used: one made and dropped for every wait crashed the program under wine, by an event posted to
// a notifier already gone.
bool waitHandlingMessages(HANDLE event, std::chrono::microseconds timeout) {
    const QDeadlineTimer deadline(timerInterval(timeout), Qt::PreciseTimer);
    for (;;) {
        const auto left = static_cast<DWORD>(std::max<qint64>(deadline.remainingTime(), 0));
        const DWORD woke = MsgWaitForMultipleObjectsEx(1, &event, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            return true;
        }
        if (woke != WAIT_OBJECT_0 + 1 || deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents();
    }
}

bool isTimeout(DWORD error) {
    return error == ERROR_TIMEOUT || error == ERROR_SEM_TIMEOUT || error == ERROR_OPERATION_ABORTED;
}

} // namespace

// The open port: its handle, the read and the write that may be under way, and the time limits.
struct Win32SerialControl::Port {
    explicit Port(HANDLE opened)
        : handle(opened) {}
    ~Port() {
        for (std::unique_ptr<Transfer>* transfer : {&reading, &writing}) {
            if (*transfer && (*transfer)->running && !finish(handle, **transfer, 0).ended) {
                // The system may still write into it, so it is never freed.
                static_cast<void>(transfer->release());
            }
        }
        CloseHandle(handle);
    }
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    // How long the write of that many bytes may run, with a little more for the system to end it.
    DWORD writeWaitMs(qsizetype bytes) const {
        return timeouts.WriteTotalTimeoutConstant +
               timeouts.WriteTotalTimeoutMultiplier * static_cast<DWORD>(bytes) + cancelLimitMs;
    }

    HANDLE handle;
    COMMTIMEOUTS timeouts{};
    std::unique_ptr<Transfer> reading;
    std::unique_ptr<Transfer> writing;
};

Win32SerialControl::Win32SerialControl(PortResolver resolver, SerialDeviceFacts facts)
    : SystemSerialLine(std::move(resolver), std::move(facts)) {}

Win32SerialControl::~Win32SerialControl() = default;

std::optional<SerialError> Win32SerialControl::openDevice(const QString& device, const LineSettings& line) {
    // The device namespace reaches every port, COM10 and above too.
    const std::wstring path = (QStringLiteral("\\\\.\\") + device).toStdWString();
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return openFailure(device, GetLastError());
    }
    auto opened = std::make_unique<Port>(handle);
    opened->reading = newTransfer();
    if (!opened->reading) {
        return openFailure(device, GetLastError());
    }
    opened->writing = newTransfer();
    if (!opened->writing) {
        return openFailure(device, GetLastError());
    }
    opened->timeouts = timeoutsFor(line);
    if (const DWORD refused = applyLine(handle, line, opened->timeouts); refused != ERROR_SUCCESS) {
        return openFailure(device, refused);
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
    // While the wait for input reads, the next byte is its own.
    while (port && !port->reading->running) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(port->handle, &errors, &status)) {
            lose(systemText(GetLastError()));
            return;
        }
        if (status.cbInQue == 0) {
            return;
        }
        Transfer& read = *port->reading;
        read.bytes.resize(static_cast<qsizetype>(status.cbInQue));
        if (!begun(ReadFile(port->handle, read.bytes.data(), status.cbInQue, nullptr, &read.overlapped),
                   read)) {
            lose(systemText(GetLastError()));
            return;
        }
        // The bytes are there, so the read ends at once.
        const Ending end = finish(port->handle, read, cancelLimitMs);
        if (!end.ended || (end.error != ERROR_SUCCESS && end.error != ERROR_OPERATION_ABORTED)) {
            lose(end.ended ? systemText(end.error) : QStringLiteral("the system did not end a read"));
            return;
        }
        received += read.bytes.left(static_cast<qsizetype>(end.count));
    }
}

bool Win32SerialControl::writeEnded(bool waitForIt) {
    Transfer& write = *port->writing;
    if (!write.running) {
        return true;
    }
    const Ending end = waitForIt ? finish(port->handle, write, port->writeWaitMs(write.bytes.size()))
                                 : endingOf(port->handle, write);
    if (!end.ended) {
        if (waitForIt) {
            lose(QStringLiteral("the system did not end a write"));
        }
        return false;
    }
    // A write that reaches its time limit ends with fewer bytes, and on some systems with a
    // time-out error as well: the rest of the command would be lost without a word.
    if (end.count < static_cast<DWORD>(write.bytes.size()) &&
        (end.error == ERROR_SUCCESS || isTimeout(end.error))) {
        lose(unfinishedWriteReason(end.count, write.bytes.size()));
        return false;
    }
    if (end.error != ERROR_SUCCESS) {
        lose(systemText(end.error));
        return false;
    }
    return true;
}

void Win32SerialControl::output(const QByteArray& bytes) {
    if (!port || bytes.isEmpty()) {
        return;
    }
    // One write at a time, so the bytes keep their order; the one before ends by its time limit.
    if (!writeEnded(true)) {
        return;
    }
    Transfer& write = *port->writing;
    write.bytes = bytes;
    if (!begun(WriteFile(port->handle, write.bytes.constData(), static_cast<DWORD>(write.bytes.size()),
                         nullptr, &write.overlapped),
               write)) {
        lose(systemText(GetLastError()));
        return;
    }
    // One that ended at once is looked at now; one that runs on, by outputSent().
    writeEnded(false);
}

bool Win32SerialControl::outputSent() {
    if (!port) {
        return true;
    }
    if (!writeEnded(false)) {
        return !port; // a failed port has nothing more to send
    }
    // A driver may take the bytes of a write before they are all out; it keeps the rest queued.
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(port->handle, &errors, &status)) {
        lose(systemText(GetLastError()));
        return true;
    }
    return status.cbOutQue == 0;
}

QByteArray Win32SerialControl::input() {
    collectInput();
    return std::exchange(received, QByteArray());
}

void Win32SerialControl::waitForInput(std::chrono::microseconds timeout) {
    collectInput();
    if (!port || !received.isEmpty()) {
        return;
    }
    // A read of one byte waits for the next one. The communications events would tell of it too,
    // but not every driver keeps them: under wine a pseudo-terminal ends every such wait at once.
    Transfer& read = *port->reading;
    read.bytes.resize(1);
    if (!begun(ReadFile(port->handle, read.bytes.data(), 1, nullptr, &read.overlapped), read)) {
        lose(systemText(GetLastError()));
        return;
    }
    Ending end = endingOf(port->handle, read);
    if (!end.ended) {
        waitHandlingMessages(read.overlapped.hEvent, timeout);
        if (!port) {
            return; // closed while the messages were handled
        }
        end = finish(port->handle, read, 0);
        if (!end.ended) {
            lose(QStringLiteral("the system did not end a wait for input"));
            return;
        }
    }
    if (end.error != ERROR_SUCCESS && end.error != ERROR_OPERATION_ABORTED) {
        lose(systemText(end.error));
        return;
    }
    received += read.bytes.left(static_cast<qsizetype>(end.count));
    collectInput();
}

void Win32SerialControl::lose(const QString& reason) {
    keepFailure(reason);
    port.reset();
    received.clear();
}
