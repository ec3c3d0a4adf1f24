#include "support/Bytes.h"

#include <QStringList>
#include <QTest>

char* toString(const Bytes& bytes) {
    QStringList values;
    for (const int value : bytes) {
        values << QString::number(value);
    }
    return QTest::toString(QStringLiteral("{%1}").arg(values.join(QStringLiteral(", "))));
}

Bytes bytesOf(const QByteArray& line) {
    Bytes bytes;
    bytes.reserve(line.size());
    for (const char byte : line) {
        bytes << static_cast<unsigned char>(byte);
    }
    return bytes;
}

QByteArray lineOf(const Bytes& bytes) {
    QByteArray line;
    line.reserve(bytes.size());
    for (const int value : bytes) {
        line.append(static_cast<char>(value & 0xFF));
    }
    return line;
}
