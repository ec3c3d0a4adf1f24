#include "device/Commands.h"
#include "editor/GridForm.h"
#include "platform/NumberText.h"

namespace {
// The pause after each scene read back, before the next is asked for.
constexpr std::chrono::milliseconds pauseAfterScene{200};
} // namespace

void GridForm::onReadMenu() {
    if (!DMX.portStillOpen()) {
        messageBoxes.inform(QStringLiteral("Can't read data - port not open"));
        return;
    }
    check_version();
    layoutGrid();
    for (int r = 1; r <= nrows; ++r) {
        Grid1.setRow(r);
        for (int s = 1; s <= ncols; ++s) {
            Grid1.setCol(s);
            Grid1.setText(QString());
        }
    }
    nscene = 0;

    LineBuffer buffer{};
    for (std::int16_t s = 1; s <= ncols; ++s) {
        status(QStringLiteral("Reading scene ") + decimal(s), colours::white);
        scene(s);
        DMX.sendbytes(buffer, command::putCode(buffer, command::read_scene));
        std::int16_t n = nrows;
        DMX.readbytes(buffer, n);
        if (!DMX.portStillOpen()) {
            break; // the port failed and has been reported; the scenes not read stay empty
        }
        if (n >= nrows) {
            Grid1.setCol(s);
            for (int r = 1; r <= nrows; ++r) {
                Grid1.setRow(r);
                Grid1.setText(decimal(buffer[static_cast<std::size_t>(r - 1)]));
            }
        } else {
            messageBoxes.inform(QStringLiteral("Comms error"));
        }
        waitPast(time, time.now(), pauseAfterScene);
    }
    scene(1);
    status(QString(), GREY);
}
