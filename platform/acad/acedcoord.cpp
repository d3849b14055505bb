// Conversions between pixels of the drawing window and world points on the
// view's plane.
#include "acedcoord.h"

#include <cmath>

#include "acedview.h"

namespace {

bool IsDrawingWindow(int windnum) { return windnum == 0 || windnum == -1; }

// Display (2) and world (0) as acedTrans names them.
int Trans(const ads_point in, short from, short to, ads_point out) {
  resbuf rbFrom{}, rbTo{};
  rbFrom.restype = RTSHORT;
  rbFrom.resval.rint = from;
  rbTo.restype = RTSHORT;
  rbTo.resval.rint = to;
  return acedTrans(in, &rbFrom, &rbTo, 0, out);
}

}  // namespace

BOOL acedCoordFromPixelToWorld(const CPoint& ptIn, ads_point ptOut) {
  return acedCoordFromPixelToWorld(0, ptIn, ptOut);
}

BOOL acedCoordFromPixelToWorld(int windnum, CPoint ptIn, ads_point ptOut) {
  if (!ptOut || !IsDrawingWindow(windnum)) return FALSE;
  ads_point display = {0, 0, 0};
  acad::PixelToDisplay(ptIn.x, ptIn.y, display[0], display[1]);
  return Trans(display, 2, 0, ptOut) == RTNORM ? TRUE : FALSE;
}

BOOL acedCoordFromWorldToPixel(int windnum, const ads_point ptIn, CPoint& ptOut) {
  if (!ptIn || !IsDrawingWindow(windnum)) return FALSE;
  ads_point display;
  if (Trans(ptIn, 0, 2, display) != RTNORM) return FALSE;
  const acad::View& view = acad::CurrentView();
  double size = acad::PixelSize();
  if (!(size > 0)) return FALSE;
  double px = (display[0] - view.centerX) / size + acad::DrawingWindowWidth() / 2.0;
  double py = (view.centerY - display[1]) / size + acad::DrawingWindowHeight() / 2.0;
  if (!std::isfinite(px) || !std::isfinite(py) || std::fabs(px) > 1e9 || std::fabs(py) > 1e9) return FALSE;
  ptOut = CPoint(static_cast<int>(std::lround(px)), static_cast<int>(std::lround(py)));
  return TRUE;
}
