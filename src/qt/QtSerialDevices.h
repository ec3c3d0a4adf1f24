#pragma once

#include "platform/SerialDeviceFacts.h"

// What Linux and macOS tell of their serial devices: the nodes a port number reaches, described
// as the toolkit's serial port information describes them, and who may use a node.
SerialDeviceFacts qtSerialDeviceFacts();
