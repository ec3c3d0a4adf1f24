#pragma once

#include "platform/Clock.h"
#include "support/Bytes.h"
#include "support/ControllerModel.h"

#include <QList>

// Every command the controller received since its log was last cleared, in order.
QList<Bytes> framesOf(const ControllerModel& controller);
// The shortest silence on the wire before a command, from the last byte of the one before it; a
// day when there are fewer than two.
Clock::Time shortestSilence(const ControllerModel& controller);
