#pragma once

#include "platform/SerialControl.h"

#include <QString>

#include <cstdint>

// Plain words for a port that could not be opened or that stopped working.
QString cannotOpenPortMessage(std::int16_t commport, const SerialError& error);
QString portLostMessage(const SerialError& error);
