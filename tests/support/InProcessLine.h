#pragma once

#include "support/ControllerEmulator.h"
#include "support/ControllerModel.h"
#include "support/FakeClock.h"

// The controller emulated in process on a fake clock, so that waits of seconds take no time.
struct InProcessLine {
    InProcessLine(ControllerModel::Generation generation, int channelsPerScene);
    // The next opening of the port fails: no device stands for it.
    void failNextOpen();
    // The controller after every command that has ended by now.
    ControllerModel& controllerNow();
    void clearLog() { controller.clearLog(); }

    FakeClock clock;
    ControllerModel controller;
    ControllerEmulator port;
};
