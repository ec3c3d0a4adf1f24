#include "device/Commands.h"
#include "editor/GridForm.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <vector>

namespace {
// How long "Scene Saved" stands on the status line before it clears.
constexpr std::chrono::milliseconds savedMessageShows{500};
} // namespace

void GridForm::onSetBtn() {
    const auto number = toInt16(view.sceneNumberText());
    if (!number || *number < 1 || *number > ncols) {
        messageBoxes.inform(QStringLiteral("Invalid Scene number"));
        return;
    }
    scene(*number);
}

void GridForm::onNextBtn() {
    scene(nscene >= ncols ? std::int16_t{1} : static_cast<std::int16_t>(nscene + 1));
}

void GridForm::onSaveSceneBtn() {
    if (DMX.version < 2) {
        return;
    }
    if (!DMX.portStillOpen()) {
        messageBoxes.inform(QStringLiteral("Scene not saved - port not open"));
        return;
    }
    ReplyBuffer buffer{};
    DMX.sendbytes(buffer, command::putCode(buffer, command::save_scene));
    std::int16_t n = 1;
    DMX.readbytes(buffer, n);
    // Only an answer within the deadline shows the controller got the command.
    if (!DMX.portStillOpen() || n < 1) {
        messageBoxes.inform(QStringLiteral("Scene not saved - the controller did not answer"));
        return;
    }
    status(QStringLiteral("Scene Saved"), colours::white);
    waitPast(time, time.now(), savedMessageShows);
    status(QString(), GREY);
}

void GridForm::onAllResetMenu() {
    const std::int16_t scenes = ncols;
    for (std::int16_t i = 1; i <= scenes; ++i) {
        status(QStringLiteral("Reset scene ") + decimal(i), colours::white);
        scene(i);
        reset(i);
    }
    status(QString(), GREY);
    nscene = 0;
    scene(1);
    // scene(1) could not unpaint the last column, since nscene was cleared first.
    paintColumn(ncols, colours::white);
}

void GridForm::reset(std::int16_t n1) {
    if (n1 < 1 || n1 > ncols) {
        return; // no scene is current: nothing to reset
    }
    Grid1.setCol(n1);
    for (int c = 1; c <= nrows; ++c) {
        Grid1.setRow(c);
        Grid1.setText(QStringLiteral("0"));
    }
    LineBuffer buffer{};
    if (DMX.version == 1) {
        // A Mk1 controller has no clear command: it gets zeros for every channel instead.
        const std::vector<std::int16_t> zeros(static_cast<std::size_t>(std::max<int>(nrows, 0)), 0);
        DMX.sendbytes(buffer, command::putSetLevels(buffer, 1, zeros));
    } else {
        DMX.sendbytes(buffer, command::putCode(buffer, command::clear_scene));
    }
}
