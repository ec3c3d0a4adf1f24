#pragma once

#include "platform/SerialControl.h"

#include <QString>

#include <cstdint>

// Plain words for a port that could not be opened, that stopped working or that has no controller.
QString cannotOpenPortMessage(std::int16_t commport, const SerialError& error);
QString portLostMessage(const SerialError& error);
// Something answered on the port that is not a controller.
QString notAControllerMessage(std::int16_t commport, const QString& device);
