#pragma once

#include <QByteArray>
#include <QList>

// Byte values as tests write them, {1, 1, 44, 255}, and as the emulated controller takes and gives them.
using Bytes = QList<int>;

// Shows a byte list in a failed comparison.
char* toString(const Bytes& bytes);

// The bytes as they travel on the line, and back; a value keeps its low 8 bits.
Bytes bytesOf(const QByteArray& line);
QByteArray lineOf(const Bytes& bytes);
