#pragma once

#include "platform/Clock.h"
#include "support/Bytes.h"
#include "support/ControllerModel.h"

#include <QList>

// Every command the controller received since its log was last cleared, in order.
QList<Bytes> framesOf(const ControllerModel& controller);
// The shortest time from the start of one command to the start of the next; a day when there are
// fewer than two.
Clock::Time shortestGap(const ControllerModel& controller);
