#pragma once

#include "platform/Colour.h"

#include <QColor>

// A stored colour as the toolkit draws it; system colour 15 (button face) is the palette's button colour.
QColor toQColor(Colour colour);

// The text colour that reads on a background the program sets, whatever the desktop's palette: the
// palette's button text on the button face, black or white on a fixed colour, by its lightness.
QColor textColourOn(Colour background);
