#include "platform/LineSettings.h"

#include <QHash>
#include <QStringList>

std::optional<LineSettings> parseLineSettings(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) {
        return std::nullopt;
    }
    LineSettings line;
    bool baudOk = false;
    line.baud = parts[0].trimmed().toInt(&baudOk);
    line.dataBits = parts[2].trimmed().toInt();
    if (!baudOk || line.baud <= 0 || line.dataBits < 5 || line.dataBits > 8) {
        return std::nullopt;
    }

    using Parity = LineSettings::Parity;
    using StopBits = LineSettings::StopBits;
    static const QHash<QString, Parity> parities{{QStringLiteral("n"), Parity::None},
                                                 {QStringLiteral("e"), Parity::Even},
                                                 {QStringLiteral("o"), Parity::Odd},
                                                 {QStringLiteral("m"), Parity::Mark},
                                                 {QStringLiteral("s"), Parity::Space}};
    static const QHash<QString, StopBits> stops{{QStringLiteral("1"), StopBits::One},
                                                {QStringLiteral("1.5"), StopBits::OneAndHalf},
                                                {QStringLiteral("2"), StopBits::Two}};
    const QString parity = parts[1].trimmed().toLower();
    const QString stopBits = parts[3].trimmed();
    if (!parities.contains(parity) || !stops.contains(stopBits)) {
        return std::nullopt;
    }
    line.parity = parities.value(parity);
    line.stopBits = stops.value(stopBits);
    return line;
}
