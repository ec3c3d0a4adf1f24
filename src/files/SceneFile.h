#pragma once

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <variant>
#include <vector>

class GridControl;

// A whole scene grid as comma-separated 8-bit text: a settings line (port, speed, channels per
// scene, scenes, then empty fields), then one line per channel with one field per scene.
struct SceneFileContents {
    std::int16_t commport = 0;
    std::int16_t speed = 0;
    std::int16_t nrows = 0;
    std::int16_t ncols = 0;
    std::vector<QString> cells; // channel-major: cell (r, s) at (r - 1) * ncols + (s - 1)

    const QString& cell(int r, int s) const {
        return cells[static_cast<std::size_t>((r - 1) * ncols + (s - 1))];
    }
};

// Why a file was refused, and where: line and field are counted from 1.
struct SceneFileProblem {
    int line = 0;
    int field = 0;
    QString what;
    friend bool operator==(const SceneFileProblem&, const SceneFileProblem&) = default;
};

// The largest grid a file may carry: one set_levels holds 512 levels, one select_scene byte 255 scenes.
inline constexpr int maxFileChannels = 512;
inline constexpr int maxFileScenes = 255;
// The longest field, surrounding spaces included, that a file may hold: the editor writes at most
// six characters, so a longer one means the file is something else.
inline constexpr int maxFieldLength = 256;
// The reader takes its device in pieces of this many bytes.
inline constexpr qsizetype sceneFilePiece = 64 * 1024;

// Writes the grid's cells (r, s), r = 1..nrows, s = 1..ncols, through its current cell; an empty
// cell is written as "0". Every line ends with CR LF.
QByteArray sceneFileText(GridControl& grid, std::int16_t commport, std::int16_t speed, std::int16_t nrows,
                         std::int16_t ncols);

// Reads and checks a whole file before anything is changed. A field ends at a comma or a line end
// (CR LF, LF or CR); surrounding spaces and tabs are ignored. The device is read in pieces and only
// as far as the last cell, so what follows it, however much, costs nothing. A field longer than
// maxFieldLength, or a control character among the settings, refuses the file at once.
std::variant<SceneFileContents, SceneFileProblem> parseSceneFile(QIODevice& device);
