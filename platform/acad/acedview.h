// The host's editor state that modules read through system variables and
// coordinate transforms: the current user coordinate system, the active
// viewport's view, and the drawing window's size in pixels.
#pragma once

#include "adscodes.h"

namespace acad {

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

// The user coordinate system: origin and unit axes in world coordinates.
struct Ucs {
  Vec3 origin;
  Vec3 xAxis{1, 0, 0};
  Vec3 yAxis{0, 1, 0};
};

// The active viewport's view, in world coordinates except the centre, which
// is in display coordinates as the view table keeps it.
struct View {
  double centerX = 210, centerY = 148.5;  // an A4 sheet in view
  double height = 297;
  double width = 396;
  Vec3 direction{0, 0, 1};
  Vec3 target;
  double lensLength = 50;
  double twist = 0;
};

Ucs& CurrentUcs();
View& CurrentView();

// The drawing window's client area in pixels: this size without a display;
// on a display the drawing window says its own size.
constexpr int kDrawingWindowWidth = 1024;
constexpr int kDrawingWindowHeight = 768;
int DrawingWindowWidth();
int DrawingWindowHeight();
// Sets the drawing window's size (at least 1x1); the view keeps its centre
// and height, so the drawing stays where it was.
void SetDrawingWindowSize(int width, int height);
// Drawing units per pixel of the current view (the larger of the two ratios,
// as the whole view must fit).
double PixelSize();
// The display point (x right, y up, in drawing units around the view centre)
// under a pixel of the drawing window, and back.
void PixelToDisplay(int px, int py, double& x, double& y);

// Where the current drawing lives, for DWGPREFIX and DWGNAME (a Windows
// path; empty for a drawing never saved).
void SetDrawingPath(const wchar_t* windowsPath);

// Puts every editor setting back to a new session's (tests).
void ResetEditorState();

}  // namespace acad

int acedGetVar(const ACHAR* sym, resbuf* result);
int acedSetVar(const ACHAR* sym, const resbuf* value);

// Transforms a point (disp 0) or a displacement (disp 1) between coordinate
// systems: RTSHORT 0 world, 1 user, 2 display; RT3DPOINT an extrusion
// direction naming an entity's own system.
int acedTrans(const ads_point pt, const resbuf* from, const resbuf* to, int disp, ads_point result);
