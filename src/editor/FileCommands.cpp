#include "device/Commands.h"
#include "editor/AppTexts.h"
#include "editor/GridForm.h"
#include "files/SceneFile.h"
#include "platform/NumberText.h"

#include <QFile>
#include <QSaveFile>

#include <vector>

namespace {
const QString fileFilter = QStringLiteral("Text files|*.txt|All Files (*.*)|*.*");

// A file of any other channel count takes the smallest layout.
std::int16_t sizeCodeForFile(std::int16_t nrows) {
    return scene_size::codeForChannels(nrows).value_or(scene_size::smallestCode);
}
} // namespace

void GridForm::onOpenMenu() {
    if (!messageBoxes.confirm(texts::overwriteQuestion)) {
        return;
    }
    // nrows and ncols describe the grid until a file replaces it: had they taken the controller's
    // size, a cancelled or refused load would leave later commands reaching past the grid.
    const std::int16_t gridRows = nrows;
    const std::int16_t gridCols = ncols;
    check_version();
    nrows = gridRows;
    ncols = gridCols;
    openfile();
}

void GridForm::openfile() {
    const auto path = CD1.showOpen(QStringLiteral("File Open"), fileFilter);
    if (!path) {
        return;
    }
    status(QStringLiteral("reading data"), colours::white);

    // The file is read and checked as far as its last cell before the grid is touched, so a bad
    // file loses nothing.
    QFile file(*path);
    if (!file.open(QIODevice::ReadOnly)) {
        status(QString(), GREY);
        messageBoxes.inform(QStringLiteral("Cannot open %1: %2").arg(*path, file.errorString()));
        return;
    }
    const auto parsed = parseSceneFile(file);
    file.close();
    if (const auto* problem = std::get_if<SceneFileProblem>(&parsed)) {
        status(QString(), GREY);
        messageBoxes.inform(QStringLiteral("Cannot load %1: line %2, field %3: %4.")
                                .arg(*path)
                                .arg(problem->line)
                                .arg(problem->field)
                                .arg(problem->what));
        return;
    }
    loadGrid(std::get<SceneFileContents>(parsed));
    sendGrid();

    // A file with fewer scenes may have taken the current column away; there is nothing to unpaint.
    if (nscene > ncols) {
        nscene = 0;
    }
    scene(1);
    status(QString(), GREY);
}

void GridForm::loadGrid(const SceneFileContents& contents) {
    commport = contents.commport;
    speed = contents.speed;
    nrows = contents.nrows;
    ncols = contents.ncols;
    // Headers and widths are written afresh, so rows and columns the file adds are labelled too.
    layoutGrid();
    for (int r = 1; r <= nrows; ++r) {
        Grid1.setRow(r);
        for (int s = 1; s <= ncols; ++s) {
            Grid1.setCol(s);
            Grid1.setText(contents.cell(r, s));
        }
    }
}

void GridForm::sendGrid() {
    if (!DMX.portStillOpen()) {
        return;
    }
    LineBuffer buffer{};
    std::vector<std::int16_t> levels(static_cast<std::size_t>(nrows));
    DMX.sendbytes(buffer, command::putSetSceneSize(buffer, sizeCodeForFile(nrows)));
    for (std::int16_t s = 1; s <= ncols && DMX.portStillOpen(); ++s) {
        Grid1.setCol(s);
        status(QStringLiteral("sending scene ") + decimal(s), colours::white);
        DMX.sendbytes(buffer, command::putSelectScene(buffer, s));

        for (int r = 1; r <= nrows; ++r) {
            Grid1.setRow(r);
            // Checked on loading: empty or a 16-bit number.
            levels[static_cast<std::size_t>(r - 1)] = toInt16(Grid1.text()).value_or(0);
        }
        DMX.sendbytes(buffer, command::putSetLevels(buffer, 1, levels));
        waitPast(time, time.now(), Dmx::sendPause);
        if (DMX.version > 1) {
            DMX.sendbytes(buffer, command::putCode(buffer, command::save_scene));
            waitPast(time, time.now(), Dmx::sendPause);
        }
    }
}

void GridForm::onSaveAsMenu() {
    const auto path = CD1.showSave(QStringLiteral("File Save"), fileFilter);
    if (!path) {
        return;
    }
    // The old file is replaced only once the new one has been written whole.
    QSaveFile file(*path);
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       file.write(sceneFileText(Grid1, commport, speed, nrows, ncols)) >= 0 && file.commit();
    if (!saved) {
        messageBoxes.inform(
            QStringLiteral("Cannot save %1: %2. The file was not changed.").arg(*path, file.errorString()));
    }
}
