#include "platform/PortResolver.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// The nodes of one family ("ttyUSB3"), sorted by their number so that ttyS10 comes after ttyS9.
QStringList numberedNodes(const QDir& dir, const QString& family) {
    const QRegularExpression pattern(QStringLiteral("^%1(\\d+)$").arg(family));
    std::vector<std::pair<qulonglong, QString>> found;
    // Device nodes count as system files; a symlink counts as the node it is named as.
    for (const QString& name : dir.entryList(QDir::Files | QDir::System)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch()) {
            found.emplace_back(match.captured(1).toULongLong(), name);
        }
    }
    std::sort(found.begin(), found.end());
    QStringList paths;
    for (const auto& node : found) {
        paths << dir.filePath(node.second);
    }
    return paths;
}

} // namespace

QStringList serialDeviceNodes(const QString& deviceDir, PortNaming naming) {
    const QDir dir(deviceDir);
    if (naming == PortNaming::MacOS) {
        QStringList paths;
        for (const QString& name :
             dir.entryList({QStringLiteral("cu.*")}, QDir::Files | QDir::System, QDir::Name)) {
            paths << dir.filePath(name);
        }
        return paths;
    }
    return numberedNodes(dir, QStringLiteral("ttyUSB")) + numberedNodes(dir, QStringLiteral("ttyACM")) +
           numberedNodes(dir, QStringLiteral("ttyS"));
}

QList<SerialPortEntry> numberedSerialDevices(const QString& deviceDir, PortNaming naming,
                                             const PortDescriber& describe) {
    const QStringList nodes = serialDeviceNodes(deviceDir, naming);
    QList<SerialPortEntry> ports;
    for (std::int16_t number = 1; number <= std::min<qsizetype>(nodes.size(), maxPortNumber); ++number) {
        const QString& node = nodes.at(number - 1);
        ports.push_back({number, node, describe(node)});
    }
    return ports;
}

PortResolver systemPortResolver(const QString& deviceDir, PortNaming naming) {
    return [deviceDir, naming](std::int16_t port) -> std::optional<QString> {
        if (port < 1) {
            return std::nullopt;
        }
        if (naming == PortNaming::Windows) {
            return QStringLiteral("COM%1").arg(port);
        }
        // Listed afresh each time: adapters come and go while the program runs.
        const QStringList nodes = serialDeviceNodes(deviceDir, naming);
        if (port > nodes.size()) {
            return std::nullopt;
        }
        return nodes.at(port - 1);
    };
}
