#include "PreviewPalette.h"

namespace {

// A hue (degrees) at a brightness: full colour, or pale (the two lesser
// channels raised to half the brightness).
COLORREF HueColor(int nHue, int nValue, bool bPale) {
  int nMin = bPale ? nValue / 2 : 0;
  int nSector = nHue / 60;
  // The rising or falling channel between two primaries, truncated like the
  // rest of the table (15 degrees at 255 gives 63).
  int nRise = nMin + (nValue - nMin) * (nHue % 60) / 60;
  int nFall = nMin + (nValue - nMin) * (60 - nHue % 60) / 60;
  switch (nSector) {
    case 0: return RGB(nValue, nRise, nMin);
    case 1: return RGB(nFall, nValue, nMin);
    case 2: return RGB(nMin, nValue, nRise);
    case 3: return RGB(nMin, nFall, nValue);
    case 4: return RGB(nRise, nMin, nValue);
    default: return RGB(nValue, nMin, nFall);
  }
}

}  // namespace

COLORREF PreviewPaletteColor(int nIndex) {
  static const COLORREF kNamed[] = {RGB(255, 0, 0),   RGB(255, 255, 0), RGB(0, 255, 0),
                                    RGB(0, 255, 255), RGB(0, 0, 255),   RGB(255, 0, 255)};
  static const int kShades[] = {255, 165, 127, 76, 38};
  static const int kGreys[] = {84, 118, 152, 186, 220, 255};
  if (nIndex >= 1 && nIndex <= 6) return kNamed[nIndex - 1];
  if (nIndex >= 10 && nIndex <= 249) {
    int nGroup = nIndex / 10;
    int nStep = nIndex % 10;
    return HueColor((nGroup - 1) * 15, kShades[nStep / 2], nStep % 2 == 1);
  }
  if (nIndex >= 250 && nIndex <= 255) {
    int nGrey = kGreys[nIndex - 250];
    return RGB(nGrey, nGrey, nGrey);
  }
  return RGB(255, 0, 0);
}
