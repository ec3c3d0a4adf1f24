#pragma once

#include "platform/SerialDeviceFacts.h"

// What Windows tells of its serial ports: the COM ports its serial device map lists, described as
// the device manager describes them.
SerialDeviceFacts win32SerialDeviceFacts();
