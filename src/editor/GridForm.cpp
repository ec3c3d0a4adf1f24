#include "editor/GridForm.h"

#include "device/Commands.h"
#include "device/PortMessages.h"
#include "editor/AppTexts.h"
#include "editor/NumberPrompt.h"
#include "platform/PortResolver.h"

#include <algorithm>

GridForm::GridForm(const GridFormPlatform& platform)
    : Grid1(platform.grid)
    , Comm1(platform.comm)
    , CD1(platform.fileDialog)
    , DMX(platform.comm, platform.clock)
    , messageBoxes(platform.messages)
    , inputBoxes(platform.inputs)
    , time(platform.clock)
    , view(platform.window)
    , channelView(platform.channelDialog) {
    DMX.setPortFailureHandler([this](const SerialError& failure) { reportPortFailure(failure); });
}

bool GridForm::onLoad() {
    GREY = colours::buttonFace;
    if (!askStartSettings()) {
        return false;
    }
    if (auto error = DMX.openport(commport, speed)) {
        // Carry on as if nothing answered: the grid can still be edited without a controller.
        messageBoxes.inform(cannotOpenPortMessage(commport, *error));
    }

    LineBuffer buffer{};
    std::int16_t n = 0;
    DMX.readbytes(buffer, n);
    n = command::putCode(buffer, command::get_scene_size);
    DMX.sendbytes(buffer, n);
    n = 2;
    DMX.readbytes(buffer, n);

    view.showWindow();

    // Element 0 still holds the command code when nothing came, and holds it too on an echoing line.
    const bool answered = n > 0 && buffer[0] != command::get_scene_size;
    // Other devices talk on their own (a GPS receiver, a modem): only a scene size shows a controller.
    const bool controllerPresent =
        answered && n == 2 && scene_size::codeForChannels(command::sceneSizeFromReply(buffer[0], buffer[1]));
    if (controllerPresent) {
        onReadMenu();
    } else {
        const QString device = Comm1.deviceName();
        Comm1.close();
        if (answered) {
            messageBoxes.inform(notAControllerMessage(commport, device));
        }
        newgrid();
    }
    scene(1);
    return true;
}

namespace {
// At the start a missing or bad answer ends the program, so each says why.
const NumberPrompt startPortPrompt{texts::portPrompt,
                                   QStringLiteral("1"),
                                   QStringLiteral("Must specify comm port"),
                                   texts::invalidCommPort,
                                   1,
                                   maxPortNumber};
const NumberPrompt startSpeedPrompt{texts::speedPrompt,
                                    QStringLiteral("0"),
                                    QStringLiteral("Must specify speed"),
                                    QStringLiteral("Invalid speed"),
                                    0,
                                    1};
} // namespace

bool GridForm::askStartSettings() {
    const auto port = askNumber(inputBoxes, messageBoxes, startPortPrompt);
    if (!port) {
        return false;
    }
    commport = *port;
    const auto speedCode = askNumber(inputBoxes, messageBoxes, startSpeedPrompt);
    if (!speedCode) {
        return false;
    }
    speed = *speedCode;
    return true;
}

void GridForm::onResize() {
    const TwipSize inner = view.innerSize();
    if (inner.width == 0 || inner.height == 0) {
        return; // minimised
    }
    // A window smaller than the margins gets an empty grid rather than a negative size.
    Grid1.setPlacement({100, 840, std::max(0, inner.width - 200), std::max(0, inner.height - 900)});
}

void GridForm::onExitBtn() {
    if (messageBoxes.confirm(QStringLiteral("Are you sure you want to quit"))) {
        view.endProgram();
    }
}

void GridForm::status(const QString& text, Colour background) {
    view.showStatus(text, background);
}

void GridForm::reportPortFailure(const SerialError& failure) {
    messageBoxes.inform(portLostMessage(failure));
}
