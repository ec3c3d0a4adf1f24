#pragma once

#include "files/SceneFile.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>

// One field of a scene file and its place: line and field counted from 1.
struct SceneField {
    QString text; // without surrounding spaces
    int line = 1;
    int field = 1;
};

// The fields of a scene file, taken one at a time from a device read in pieces of sceneFilePiece:
// nothing past the last field taken is read, and no field is held beyond maxFieldLength.
class SceneFieldReader {
public:
    explicit SceneFieldReader(QIODevice& device);
    SceneFieldReader(const SceneFieldReader&) = delete;
    SceneFieldReader& operator=(const SceneFieldReader&) = delete;

    // While on, a control character other than a tab refuses the data.
    void refuseControlCharacters(bool on) { textOnly = on; }

    // The next field; nothing at the end of the data, or once the data has been refused.
    std::optional<SceneField> next();
    // Why next() gave nothing: the refusal, or else the end of the data before what was wanted.
    SceneFileProblem whyNothing(const QString& wanted) const;

private:
    bool readPiece();
    std::optional<SceneField> take(int fieldLine, int fieldNumber);

    QIODevice& input;
    QByteArray piece;
    qsizetype position = 0;
    qsizetype filled = 0;
    bool ended = false;
    bool afterCarriageReturn = false;
    bool textOnly = false;
    int line = 1;
    int field = 1;
    QByteArray raw; // the field being read, as it stands in the data
    std::optional<SceneField> last;
    std::optional<SceneFileProblem> refusal;
};
