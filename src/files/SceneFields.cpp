#include "files/SceneFields.h"

#include <algorithm>
#include <utility>

namespace {
bool isControlCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}
} // namespace

SceneFieldReader::SceneFieldReader(QIODevice& device)
    : input(device)
    , piece(sceneFilePiece, Qt::Uninitialized) {}

bool SceneFieldReader::readPiece() {
    // A read error ends the data like its end does.
    filled = std::max<qsizetype>(0, input.read(piece.data(), sceneFilePiece));
    position = 0;
    ended = filled == 0;
    return !ended;
}

std::optional<SceneField> SceneFieldReader::take(int fieldLine, int fieldNumber) {
    last = SceneField{QString::fromLatin1(raw).trimmed(), fieldLine, fieldNumber};
    return last;
}

std::optional<SceneField> SceneFieldReader::next() {
    if (refusal || ended) {
        return std::nullopt;
    }
    raw.clear();
    const int fieldLine = line;
    const int fieldNumber = field;
    for (;;) {
        if (position == filled && !readPiece()) {
            // The data's end ends a field too, unless nothing of it came.
            return raw.isEmpty() ? std::nullopt : take(fieldLine, fieldNumber);
        }
        const char c = piece.at(position++);
        if (std::exchange(afterCarriageReturn, false) && c == '\n') {
            continue; // CR LF is one line end
        }
        if (c == ',') {
            ++field;
            return take(fieldLine, fieldNumber);
        }
        if (c == '\r' || c == '\n') {
            afterCarriageReturn = c == '\r';
            ++line;
            field = 1;
            return take(fieldLine, fieldNumber);
        }
        if (textOnly && isControlCharacter(c)) {
            refusal = SceneFileProblem{
                fieldLine, fieldNumber,
                QStringLiteral("the settings hold a control character (byte %1): this is not a scene file")
                    .arg(static_cast<unsigned char>(c))};
            return std::nullopt;
        }
        if (raw.size() == maxFieldLength) {
            refusal = SceneFileProblem{
                fieldLine, fieldNumber,
                QStringLiteral("the field is longer than %1 characters: this is not a scene file")
                    .arg(maxFieldLength)};
            return std::nullopt;
        }
        raw.append(c);
    }
}

SceneFileProblem SceneFieldReader::whyNothing(const QString& wanted) const {
    if (refusal) {
        return *refusal;
    }
    return {last ? last->line : 1, last ? last->field + 1 : 1,
            QStringLiteral("the file ends before %1").arg(wanted)};
}
