#include "files/SceneFile.h"

#include "files/SceneFields.h"
#include "platform/GridControl.h"
#include "platform/NumberText.h"

#include <algorithm>

QByteArray sceneFileText(GridControl& grid, std::int16_t commport, std::int16_t speed, std::int16_t nrows,
                         std::int16_t ncols) {
    QByteArray out;
    out.reserve((nrows + 1) * (ncols * 4 + 2));
    for (const int setting : {commport, speed, nrows, ncols}) {
        out += QByteArray::number(setting);
        out += ',';
    }
    for (int i = 5; i <= ncols; ++i) {
        out += ',';
    }
    out += "\r\n";
    for (int r = 1; r <= nrows; ++r) {
        grid.setRow(r);
        for (int s = 1; s <= ncols; ++s) {
            grid.setCol(s);
            const QString text = grid.text();
            out += text.isEmpty() ? QByteArray("0") : text.toLatin1();
            out += s < ncols ? QByteArray(",") : QByteArray("\r\n");
        }
    }
    return out;
}

namespace {

bool isLevelText(const QString& text) {
    return text.isEmpty() || toInt16(text).has_value();
}

} // namespace

std::variant<SceneFileContents, SceneFileProblem> parseSceneFile(QIODevice& device) {
    SceneFieldReader reader(device);
    // Settings never hold a control character, and binary data nearly always does, so a file that
    // is something else is refused within its first bytes.
    reader.refuseControlCharacters(true);
    SceneFileContents contents;

    const std::pair<const char*, std::int16_t*> settings[] = {{"the comm port number", &contents.commport},
                                                              {"the speed code", &contents.speed},
                                                              {"the number of channels", &contents.nrows},
                                                              {"the number of scenes", &contents.ncols}};
    for (const auto& [name, target] : settings) {
        const std::optional<SceneField> field = reader.next();
        if (!field) {
            return reader.whyNothing(QString::fromLatin1(name));
        }
        const auto value = toInt16(field->text);
        if (!value) {
            return SceneFileProblem{field->line, field->field,
                                    QStringLiteral("%1 \"%2\" is not a whole number from -32768 to 32767")
                                        .arg(QString::fromLatin1(name), field->text)};
        }
        *target = *value;
    }
    if (contents.nrows < 1 || contents.nrows > maxFileChannels) {
        return SceneFileProblem{1, 3,
                                QStringLiteral("%1 channels per scene is outside 1 to %2")
                                    .arg(contents.nrows)
                                    .arg(maxFileChannels)};
    }
    if (contents.ncols < 1 || contents.ncols > maxFileScenes) {
        return SceneFileProblem{
            1, 4, QStringLiteral("%1 scenes is outside 1 to %2").arg(contents.ncols).arg(maxFileScenes)};
    }

    // The settings line carries empty fields up to one past a channel line's width (at least one).
    // A line one field short has given up the first cell instead, which then stands in for it.
    std::optional<SceneField> holding;
    for (int i = 0; i < std::max(1, contents.ncols - 3); ++i) {
        holding = reader.next();
        if (!holding) {
            return reader.whyNothing(QStringLiteral("the first channel"));
        }
    }
    reader.refuseControlCharacters(false);

    contents.cells.reserve(static_cast<std::size_t>(contents.nrows * contents.ncols));
    for (int r = 1; r <= contents.nrows; ++r) {
        for (int s = 1; s <= contents.ncols; ++s) {
            const bool heldFirstCell = r == 1 && s == 1 && !holding->text.isEmpty();
            const std::optional<SceneField> field = heldFirstCell ? holding : reader.next();
            if (!field) {
                return reader.whyNothing(QStringLiteral("channel %1 of scene %2").arg(r).arg(s));
            }
            if (!isLevelText(field->text)) {
                return SceneFileProblem{
                    field->line, field->field,
                    QStringLiteral("the level \"%1\" of channel %2 in scene %3 is not a number")
                        .arg(field->text)
                        .arg(r)
                        .arg(s)};
            }
            contents.cells.push_back(field->text);
        }
    }
    return contents;
}
