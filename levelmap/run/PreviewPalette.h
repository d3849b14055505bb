// The colours the drive-test previews give the 256 colour indexes: the named
// colours 1 to 6, 24 hues of ten shades from 10 to 249 and six greys; index 0
// and 7 to 9 show pure red.
#pragma once

#include "afxwin.h"

// The screen colour of colour index nIndex (0 to 255) as RGB; opaque.
// Out-of-range indexes give pure red, like index 0.
COLORREF PreviewPaletteColor(int nIndex);
