#include "qt/QtSerialDevices.h"

#include "platform/PortResolver.h"

#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>

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
    // A node reached through a link is described as the device it leads to.
    QHash<QString, QString> descriptions;
    for (const QSerialPortInfo& info : known) {
        descriptions.insert(QFileInfo(info.systemLocation()).canonicalFilePath(), descriptionOf(info));
    }
    return numberedSerialDevices(QStringLiteral("/dev"), hostPortNaming,
                                 [&descriptions](const QString& node) {
                                     return descriptions.value(QFileInfo(node).canonicalFilePath());
                                 });
}

NodeAccess nodeAccessOf(const QString& node) {
    const QFileInfo info(node);
    // Joining the group helps only when the group may read and write the node.
    const bool groupMayUse = info.permission(QFileDevice::ReadGroup | QFileDevice::WriteGroup);
    return {info.isReadable() && info.isWritable(), groupMayUse ? info.group() : QString()};
}

} // namespace

SerialDeviceFacts qtSerialDeviceFacts() {
    return {systemSerialPorts, nodeAccessOf};
}
