#include "support/InProcessLine.h"

InProcessLine::InProcessLine(ControllerModel::Generation generation, int channelsPerScene)
    : controller(generation, channelsPerScene)
    , port(clock, controller) {}

void InProcessLine::failNextOpen() {
    port.failNextOpen({SerialError::Kind::NoSuchPort, QString(), QStringLiteral("no such port")});
}

ControllerModel& InProcessLine::controllerNow() {
    controller.settle(clock.now());
    return controller;
}
