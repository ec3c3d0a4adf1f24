#include "qt/QtSerialControl.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

QSerialPort::Parity toSerialParity(LineSettings::Parity parity) {
    switch (parity) {
    case LineSettings::Parity::None:
        return QSerialPort::NoParity;
    case LineSettings::Parity::Even:
        return QSerialPort::EvenParity;
    case LineSettings::Parity::Odd:
        return QSerialPort::OddParity;
    case LineSettings::Parity::Mark:
        return QSerialPort::MarkParity;
    case LineSettings::Parity::Space:
        return QSerialPort::SpaceParity;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits toSerialStopBits(LineSettings::StopBits stopBits) {
    switch (stopBits) {
    case LineSettings::StopBits::One:
        return QSerialPort::OneStop;
    case LineSettings::StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case LineSettings::StopBits::Two:
        return QSerialPort::TwoStop;
    }
    return QSerialPort::TwoStop;
}

// Whether the terminal behind the descriptor hung up: its adapter was pulled out, or its far end
// went away. Reading it then gives end of file without end, which the port need not report.
bool hungUp(int descriptor) {
    pollfd state{descriptor, 0, 0};
    return poll(&state, 1, 0) == 1 && (state.revents & (POLLHUP | POLLERR | POLLNVAL));
}

// A second descriptor of the open port, for a notifier of the line's own: the port keeps its
// notifier on its descriptor, and an event loop holds one notifier of a kind for each.
class DescriptorCopy {
public:
    // Closed on exec, so that no program started meanwhile keeps the device held.
    explicit DescriptorCopy(int descriptor)
        : copy(fcntl(descriptor, F_DUPFD_CLOEXEC, 0)) {}
    DescriptorCopy(const DescriptorCopy&) = delete;
    DescriptorCopy& operator=(const DescriptorCopy&) = delete;
    ~DescriptorCopy() {
        if (copy >= 0) {
            ::close(copy);
        }
    }
    int get() const { return copy; }

private:
    int copy;
};

} // namespace

QtSerialControl::QtSerialControl(PortResolver resolver, SerialDeviceFacts facts)
    : SystemSerialLine(std::move(resolver), std::move(facts)) {}

// The port's own texts for lock files and the like say little, so the reasons for the common cases
// come from the system's error texts.
SerialError QtSerialControl::openFailure(const QString& device) const {
    switch (serial.error()) {
    case QSerialPort::DeviceNotFoundError:
        return {SerialError::Kind::NoSuchPort, device, qt_error_string(ENOENT)};
    case QSerialPort::PermissionError: {
        // The port refuses both a device in use and one the user may not open with the same error.
        const NodeAccess access = facts().nodeAccess(device);
        if (access.readWrite) {
            return {SerialError::Kind::InUse, device, qt_error_string(EBUSY)};
        }
        return {SerialError::Kind::PermissionDenied, device, qt_error_string(EACCES), access.group};
    }
    default:
        return {SerialError::Kind::Other, device, serial.errorString()};
    }
}

std::optional<SerialError> QtSerialControl::openDevice(const QString& device, const LineSettings& line) {
    serial.setPortName(device);
    serial.setBaudRate(line.baud);
    serial.setParity(toSerialParity(line.parity));
    serial.setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits));
    serial.setStopBits(toSerialStopBits(line.stopBits));
    serial.setFlowControl(QSerialPort::NoFlowControl);
    if (!serial.open(QIODevice::ReadWrite)) {
        SerialError error = openFailure(device);
        serial.clearError();
        return error;
    }
    return std::nullopt;
}

void QtSerialControl::output(const QByteArray& bytes) {
    if (!serial.isOpen()) {
        return;
    }
    // Out now rather than when the event loop next runs, so the pause after a send starts once the
    // bytes are on their way. A write that cannot end in its time limit fails the port, rather than
    // leave the rest of a command to go out after the next one has begun.
    serial.write(bytes);
    const QDeadlineTimer limit(writeLimit(openedLine(), bytes.size()));
    while (serial.isOpen() && serial.bytesToWrite() > 0) {
        if (limit.hasExpired()) {
            lose(unfinishedWriteReason(bytes.size() - serial.bytesToWrite(), bytes.size()));
            return;
        }
        if (!serial.waitForBytesWritten(static_cast<int>(limit.remainingTime())) &&
            serial.error() != QSerialPort::TimeoutError) {
            checkDeviceLost();
            return;
        }
    }
}

bool QtSerialControl::outputSent() {
    if (!serial.isOpen()) {
        return true;
    }
    if (serial.bytesToWrite() > 0) {
        checkDeviceLost();
        return false;
    }
    // What the system still holds for the wire: the tty's output queue.
    int queued = 0;
    if (ioctl(serial.handle(), TIOCOUTQ, &queued) == 0) {
        return queued == 0;
    }
    if (errno == EIO || errno == ENXIO || errno == ENODEV) {
        lose(qt_error_string(errno));
    }
    return true; // nothing more can be told
}

QByteArray QtSerialControl::input() {
    if (!serial.isOpen()) {
        return {};
    }
    // What the port holds already comes first: the poll below only looks for bytes still in the
    // system, which arrived while no event loop ran and which reading alone would not see.
    QByteArray bytes = serial.readAll();
    if (!serial.waitForReadyRead(0)) {
        checkDeviceLost();
    }
    if (serial.isOpen()) {
        bytes += serial.readAll();
    }
    return bytes;
}

void QtSerialControl::waitForInput(std::chrono::microseconds timeout) {
    if (!serial.isOpen() || serial.bytesAvailable() > 0) {
        return;
    }
    // The event loop runs meanwhile, so that the windows paint; the port fills its buffer from it.
    // The line's own notifier wakes the wait for a hang-up too, which the port may keep to itself.
    QEventLoop loop;
    QObject::connect(&serial, &QSerialPort::readyRead, &loop, &QEventLoop::quit);
    QObject::connect(&serial, &QSerialPort::errorOccurred, &loop, &QEventLoop::quit);
    const DescriptorCopy descriptor(static_cast<int>(serial.handle()));
    std::optional<QSocketNotifier> readable;
    if (descriptor.get() >= 0) {
        readable.emplace(descriptor.get(), QSocketNotifier::Read);
        QObject::connect(&*readable, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    }
    QTimer::singleShot(timerInterval(timeout), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    checkDeviceLost();
}

void QtSerialControl::checkDeviceLost() {
    const QSerialPort::SerialPortError error = serial.error();
    const QString words = serial.errorString();
    serial.clearError();
    // A hung-up terminal fails every transfer with EIO. Asked first, so that the words do not
    // depend on what the port made of it: one version reports a stale error, another nothing.
    if (serial.isOpen() && hungUp(static_cast<int>(serial.handle()))) {
        lose(qt_error_string(EIO));
        return;
    }
    // A device that was unplugged fails every transfer at once, while the port still counts as open.
    if (error == QSerialPort::ReadError || error == QSerialPort::WriteError ||
        error == QSerialPort::ResourceError) {
        lose(words);
    }
}

void QtSerialControl::lose(const QString& reason) {
    keepFailure(reason);
    serial.close();
}
