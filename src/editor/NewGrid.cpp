#include "device/Commands.h"
#include "editor/AppTexts.h"
#include "editor/GridForm.h"

void GridForm::onNewMenu() {
    if (!messageBoxes.confirm(texts::overwriteQuestion)) {
        return;
    }
    check_version();
    newgrid();
}

void GridForm::newgrid() {
    // Closing the chooser through its frame keeps the size code already chosen.
    if (const auto chosen = view.chooseChannels()) {
        channels = *chosen;
    }
    nrows = scene_size::channelsFor(channels);
    ncols = scene_size::scenesFor(channels, DMX.version);

    LineBuffer buffer{};
    DMX.sendbytes(buffer, command::putSetSceneSize(buffer, channels));

    layoutGrid();
    nscene = 0;
    onAllResetMenu();
}
