#pragma once

#include "platform/Colour.h"

#include <QColor>

// A stored colour as the toolkit draws it; system colour 15 (button face) is the palette's button colour.
QColor toQColor(Colour colour);
