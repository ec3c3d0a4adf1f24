// Feeds arbitrary bytes to the scene file reader: each input must be refused with a place and a
// reason, or give a whole grid within the sizes a file may carry, every level empty or a number.
// Memory errors and undefined behaviour are caught by the sanitizers this target is built with.

#include "files/SceneFile.h"
#include "platform/NumberText.h"

#include <QBuffer>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {
bool wellFormed(const SceneFileContents& contents) {
    return contents.nrows >= 1 && contents.nrows <= maxFileChannels && contents.ncols >= 1 &&
           contents.ncols <= maxFileScenes &&
           contents.cells.size() == static_cast<std::size_t>(contents.nrows * contents.ncols) &&
           std::all_of(contents.cells.begin(), contents.cells.end(),
                       [](const QString& level) { return level.isEmpty() || toInt16(level); });
}

bool wellPlaced(const SceneFileProblem& problem) {
    return problem.line >= 1 && problem.field >= 1 && !problem.what.isEmpty();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer input(&bytes);
    input.open(QIODevice::ReadOnly);
    const auto parsed = parseSceneFile(input);
    const auto* contents = std::get_if<SceneFileContents>(&parsed);
    if (contents ? !wellFormed(*contents) : !wellPlaced(std::get<SceneFileProblem>(parsed))) {
        std::abort();
    }
    return 0;
}
