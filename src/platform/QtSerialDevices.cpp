#include "platform/QtSerialDevices.h"

#include "platform/PortResolver.h"

#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>

#include <algorithm>

namespace {

// "FTDI FT232R USB UART": the maker, unless the description names it already, then the description.
QString descriptionOf(const QSerialPortInfo& info) {
    const QString maker = info.manufacturer().trimmed();
    const QString what = info.description().trimmed();
    if (maker.isEmpty() || what.contains(maker, Qt::CaseInsensitive)) {
        return what;
    }
    return what.isEmpty() ? maker : maker + QLatin1Char(' ') + what;
}

QList<SerialPortEntry> systemSerialPorts() {
    const QList<QSerialPortInfo> known = QSerialPortInfo::availablePorts();
#if defined(Q_OS_WIN)
    // Port n is COMn: the ports are those the system knows by such a name.
    QList<SerialPortEntry> ports;
    for (const QSerialPortInfo& info : known) {
        bool isNumber = false;
        const int number = info.portName().mid(3).toInt(&isNumber);
        if (info.portName().startsWith(QLatin1String("COM")) && isNumber && number >= 1 &&
            number <= maxPortNumber) {
            ports.push_back({static_cast<std::int16_t>(number), info.portName(), descriptionOf(info)});
        }
    }
    std::sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) { return a.number < b.number; });
    return ports;
#else
    // A node reached through a link is described as the device it leads to.
    QHash<QString, QString> descriptions;
    for (const QSerialPortInfo& info : known) {
        descriptions.insert(QFileInfo(info.systemLocation()).canonicalFilePath(), descriptionOf(info));
    }
    return numberedSerialDevices(QStringLiteral("/dev"), hostPortNaming,
                                 [&descriptions](const QString& node) {
                                     return descriptions.value(QFileInfo(node).canonicalFilePath());
                                 });
#endif
}

NodeAccess nodeAccessOf(const QString& node) {
    const QFileInfo info(node);
    // Joining the group helps only when the group may read and write the node.
    const bool groupMayUse = info.permission(QFileDevice::ReadGroup | QFileDevice::WriteGroup);
    return {info.isReadable() && info.isWritable(), groupMayUse ? info.group() : QString()};
}

} // namespace

SerialDeviceFacts systemSerialDeviceFacts() {
    return {systemSerialPorts, nodeAccessOf};
}
