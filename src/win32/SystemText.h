#pragma once

#include <QString>

#include <windows.h>

// The system's own words for an error code, without the closing full stop, which the messages
// leave to their own sentences.
QString systemText(DWORD code);
