// The host's 256-colour index palette.
#pragma once

#include "adesk.h"

// The screen colour of a colour index as 0x00BBGGRR (a COLORREF): 1 to 9 the
// named colours, 10 to 249 twenty-four hues in five shades, each full and
// half saturated, 250 to 255 greys. 0 (by block) and 256 (by layer) are black
// and white as the host draws them on a dark screen.
Adesk::UInt32 acedGetRGB(int colorIndex);
