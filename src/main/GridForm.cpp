#include "main/GridForm.h"

#include "device/Commands.h"
#include "device/PortMessages.h"
#include "main/AppTexts.h"
#include "main/NumberText.h"

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

    CommandBuffer<1115> buffer{};
    std::int16_t n = 0;
    DMX.readbytes(buffer, n);
    n = command::putCode(buffer, command::get_scene_size);
    DMX.sendbytes(buffer, n);
    n = 2;
    DMX.readbytes(buffer, n);

    view.showWindow();

    // Element 0 still holds the command code when nothing came, and holds it too on an echoing line.
    const bool controllerAbsent = n == 0 || buffer[0] == command::get_scene_size;
    if (controllerAbsent) {
        Comm1.close();
        newgrid();
    } else {
        onReadMenu();
    }
    scene(1);
    return true;
}

bool GridForm::askStartSettings() {
    const QString port = inputBoxes.ask(texts::portPrompt, QStringLiteral("1"));
    if (port.isEmpty()) {
        messageBoxes.inform(QStringLiteral("Must specify comm port"));
        return false;
    }
    const auto portNumber = toInt16(port);
    if (!portNumber || *portNumber < 1 || *portNumber > 32) {
        messageBoxes.inform(texts::invalidCommPort);
        return false;
    }
    commport = *portNumber;

    const QString speedAnswer = inputBoxes.ask(texts::speedPrompt, QStringLiteral("0"));
    if (speedAnswer.isEmpty()) {
        messageBoxes.inform(QStringLiteral("Must specify speed"));
        return false;
    }
    const auto speedCode = toInt16(speedAnswer);
    if (!speedCode || *speedCode < 0 || *speedCode > 1) {
        messageBoxes.inform(QStringLiteral("Invalid speed"));
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
