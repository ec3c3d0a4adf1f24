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

std::chrono::microseconds wireTime(const LineSettings& line, qint64 bytes) {
    // Counted in half bits, so that one and a half stop bits stay exact.
    const qint64 stopHalves = line.stopBits == LineSettings::StopBits::One          ? 2
                              : line.stopBits == LineSettings::StopBits::OneAndHalf ? 3
                                                                                    : 4;
    const qint64 parityBits = line.parity == LineSettings::Parity::None ? 0 : 1;
    const qint64 halvesPerByte = 2 * (1 + line.dataBits + parityBits) + stopHalves;
    const qint64 halfBitsPerSecond = 2 * static_cast<qint64>(line.baud);
    const qint64 numerator = bytes * halvesPerByte * 1'000'000;
    return std::chrono::microseconds((numerator + halfBitsPerSecond - 1) / halfBitsPerSecond);
}

std::chrono::milliseconds writeLimit(const LineSettings& line, qint64 bytes) {
    return std::chrono::ceil<std::chrono::milliseconds>(wireTime(line, bytes)) + sendGrace;
}
