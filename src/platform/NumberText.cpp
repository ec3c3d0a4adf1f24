#include "platform/NumberText.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

std::optional<std::int16_t> toInt16(const QString& text) {
    static const QRegularExpression numeral(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)$)"));
    const QString trimmed = text.trimmed();
    // Whole numbers, by far the most common, go without the pattern: a scene file holds thousands.
    bool ok = false;
    double value = trimmed.toInt(&ok);
    if (!ok) {
        if (!numeral.match(trimmed).hasMatch()) {
            return std::nullopt;
        }
        value = trimmed.toDouble(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    // nearbyint follows the default rounding mode, which rounds halves to even.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() ||
        rounded > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}
