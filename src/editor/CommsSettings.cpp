#include "device/Commands.h"
#include "device/PortMessages.h"
#include "editor/AppTexts.h"
#include "editor/GridForm.h"
#include "editor/NumberPrompt.h"
#include "platform/PortResolver.h"

#include <limits>

namespace {
// An empty answer cancels without a word. Any number is taken as the speed: 1 is 19200 baud and
// every other one 9600.
const NumberPrompt commsPortPrompt{
    texts::portPrompt, QStringLiteral("1"), QString(), texts::invalidCommPort, 1, maxPortNumber};
const NumberPrompt commsSpeedPrompt{texts::speedPrompt,
                                    QStringLiteral("0"),
                                    QString(),
                                    QStringLiteral("Invalid speed"),
                                    std::numeric_limits<std::int16_t>::min(),
                                    std::numeric_limits<std::int16_t>::max()};
} // namespace

void GridForm::onCommsMenu() {
    // A bad number keeps the old port: ending the program here would throw the grid away.
    const auto port = askNumber(inputBoxes, messageBoxes, commsPortPrompt);
    if (!port) {
        return;
    }
    commport = *port;
    const auto speedCode = askNumber(inputBoxes, messageBoxes, commsSpeedPrompt);
    if (!speedCode) {
        return;
    }
    speed = *speedCode;

    // What the user chose is what is used, also when the port is open already.
    if (auto error = DMX.reopenport(commport, speed)) {
        messageBoxes.inform(cannotOpenPortMessage(commport, *error));
    }
}

void GridForm::check_version() {
    ReplyBuffer buffer{};
    std::int16_t n = 0;
    DMX.readbytes(buffer, n);

    DMX.sendbytes(buffer, command::putCode(buffer, command::get_version));
    n = 1;
    DMX.readbytes(buffer, n);
    // No answer leaves the generation unknown; it is not taken for a Mk2.
    if (DMX.portStillOpen() && n >= 1) {
        if (buffer[0] <= 0) {
            status(QString(), GREY);
            DMX.version = 1;
            view.setSaveSceneVisible(false);
        } else {
            status(QStringLiteral("Mk2 detected"), colours::white);
            DMX.version = 2;
            view.setSaveSceneVisible(true);
        }
    }

    DMX.sendbytes(buffer, command::putCode(buffer, command::get_scene_size));
    n = 2;
    DMX.readbytes(buffer, n);
    if (!DMX.portStillOpen()) {
        return;
    }
    if (n == 0) {
        messageBoxes.inform(QStringLiteral("Comms problem"));
        return;
    }
    if (n < 2) {
        return; // half a count is no count
    }
    const auto code = scene_size::codeForChannels(command::sceneSizeFromReply(buffer[0], buffer[1]));
    if (!code) {
        return;
    }
    channels = *code;
    nrows = scene_size::channelsFor(*code);
    ncols = scene_size::scenesFor(*code, DMX.version);
}
