#include "platform/QtSerialControl.h"

#include <QEventLoop>
#include <QHash>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>

namespace {

struct LineSettings {
    qint32 baud = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::TwoStop;
};

// "9600,n,8,2": baud rate, parity letter, data bits, stop bits.
std::optional<LineSettings> parseSettings(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) {
        return std::nullopt;
    }
    LineSettings line;
    bool baudOk = false;
    line.baud = parts[0].trimmed().toInt(&baudOk);
    const QString parity = parts[1].trimmed().toLower();
    const int dataBits = parts[2].trimmed().toInt();
    const QString stopBits = parts[3].trimmed();
    if (!baudOk || line.baud <= 0 || dataBits < 5 || dataBits > 8) {
        return std::nullopt;
    }
    line.dataBits = static_cast<QSerialPort::DataBits>(dataBits);

    static const QHash<QString, QSerialPort::Parity> parities{
        {QStringLiteral("n"), QSerialPort::NoParity},
        {QStringLiteral("e"), QSerialPort::EvenParity},
        {QStringLiteral("o"), QSerialPort::OddParity},
        {QStringLiteral("m"), QSerialPort::MarkParity},
        {QStringLiteral("s"), QSerialPort::SpaceParity}};
    static const QHash<QString, QSerialPort::StopBits> stops{
        {QStringLiteral("1"), QSerialPort::OneStop},
        {QStringLiteral("1.5"), QSerialPort::OneAndHalfStop},
        {QStringLiteral("2"), QSerialPort::TwoStop}};
    if (!parities.contains(parity) || !stops.contains(stopBits)) {
        return std::nullopt;
    }
    line.parity = parities.value(parity);
    line.stopBits = stops.value(stopBits);
    return line;
}

std::chrono::milliseconds toTimeout(std::chrono::microseconds timeout) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(timeout).count();
    return std::chrono::milliseconds(std::clamp<decltype(ms)>(ms, 0, INT_MAX));
}

// A write that makes no progress for this long is left to finish later; the line is not blocked for it.
constexpr int writeTimeoutMs = 2000;

} // namespace

QtSerialControl::QtSerialControl(PortResolver resolver, SerialDeviceFacts facts)
    : resolve(std::move(resolver))
    , deviceFacts(std::move(facts)) {}

std::optional<SerialError> QtSerialControl::open() {
    if (serial.isOpen()) {
        return std::nullopt;
    }
    std::optional<SerialError> error = openDevice();
    if (error) {
        // Every failure lists the devices there are, so that the user can choose another number.
        error->ports = deviceFacts.ports();
    }
    return error;
}

// The port's own texts for lock files and the like say little, so the reasons for the common cases
// come from the system's error texts.
SerialError QtSerialControl::openFailure(const QString& device) const {
    switch (serial.error()) {
    case QSerialPort::DeviceNotFoundError:
        return {SerialError::Kind::NoSuchPort, device, qt_error_string(ENOENT)};
    case QSerialPort::PermissionError: {
#if defined(Q_OS_WIN)
        // Windows denies access to a port that another program holds.
        return {SerialError::Kind::InUse, device, qt_error_string(EBUSY)};
#else
        // The port refuses both a device in use and one the user may not open with the same error.
        const NodeAccess access = deviceFacts.nodeAccess(device);
        if (access.readWrite) {
            return {SerialError::Kind::InUse, device, qt_error_string(EBUSY)};
        }
        return {SerialError::Kind::PermissionDenied, device, qt_error_string(EACCES), access.group};
#endif
    }
    default:
        return {SerialError::Kind::Other, device, serial.errorString()};
    }
}

std::optional<SerialError> QtSerialControl::openDevice() {
    const std::optional<QString> device = resolve(portNumber);
    if (!device) {
        return SerialError{SerialError::Kind::NoSuchPort, QString(),
                           QStringLiteral("no serial device stands for port number %1").arg(portNumber)};
    }
    const std::optional<LineSettings> line = parseSettings(settings);
    if (!line) {
        return SerialError{SerialError::Kind::Other, *device,
                           QStringLiteral("the settings \"%1\" are not understood").arg(settings)};
    }
    serial.setPortName(*device);
    serial.setBaudRate(line->baud);
    serial.setParity(line->parity);
    serial.setDataBits(line->dataBits);
    serial.setStopBits(line->stopBits);
    serial.setFlowControl(QSerialPort::NoFlowControl);
    if (!serial.open(QIODevice::ReadWrite)) {
        SerialError error = openFailure(*device);
        serial.clearError();
        return error;
    }
    openedDevice = *device;
    return std::nullopt;
}

void QtSerialControl::output(const QByteArray& bytes) {
    if (!serial.isOpen()) {
        return;
    }
    // Out now rather than when the event loop next runs, so the pause after a send starts once the
    // bytes are on their way.
    serial.write(bytes);
    while (serial.isOpen() && serial.bytesToWrite() > 0) {
        if (!serial.waitForBytesWritten(writeTimeoutMs)) {
            checkDeviceLost();
            return;
        }
    }
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
    QEventLoop loop;
    QObject::connect(&serial, &QSerialPort::readyRead, &loop, &QEventLoop::quit);
    QObject::connect(&serial, &QSerialPort::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(toTimeout(timeout), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    if (serial.error() != QSerialPort::NoError) {
        checkDeviceLost();
    }
}

std::optional<SerialError> QtSerialControl::takeFailure() {
    return std::exchange(failure, std::nullopt);
}

void QtSerialControl::checkDeviceLost() {
    const QSerialPort::SerialPortError error = serial.error();
    serial.clearError();
    // A device that was unplugged fails every transfer at once, while the port still counts as open.
    if (error == QSerialPort::ReadError || error == QSerialPort::WriteError ||
        error == QSerialPort::ResourceError) {
        failure = SerialError{SerialError::Kind::DeviceLost, openedDevice,
                              QStringLiteral("the device is no longer there (unplugged or switched off)")};
        serial.close();
    }
}
