// The editor state modules read: system variables, the user coordinate system,
// the active view, the drawing window's size, and acedTrans.
#include "acedview.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <string>
#include <unistd.h>

#include "edprompt.h"
#include "paths.h"
#include "textutil.h"

namespace acad {
namespace {

struct EditorState {
  Ucs ucs;
  View view;
  std::wstring drawingPath;
  short cmdecho = 1;
  short osmode = 4133;
};

EditorState& State() {
  static EditorState state;
  return state;
}

Vec3 Add(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 Sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 Scale(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec3 Unit(Vec3 a) {
  double len = std::sqrt(Dot(a, a));
  return len > 0 ? Scale(a, 1 / len) : Vec3{0, 0, 1};
}

// A coordinate system: origin and three unit axes in world coordinates.
struct Frame {
  Vec3 origin, x, y, z;
  Vec3 ToWorld(Vec3 p, bool disp) const {
    Vec3 w = Add(Add(Scale(x, p.x), Scale(y, p.y)), Scale(z, p.z));
    return disp ? w : Add(origin, w);
  }
  Vec3 FromWorld(Vec3 p, bool disp) const {
    Vec3 d = disp ? p : Sub(p, origin);
    return {Dot(d, x), Dot(d, y), Dot(d, z)};
  }
};

// The system an entity with this extrusion direction draws in: the
// arbitrary-axis rule of the drawing format.
Frame EntityFrame(Vec3 normal) {
  Vec3 n = Unit(normal);
  Vec3 ax = (std::fabs(n.x) < 1.0 / 64 && std::fabs(n.y) < 1.0 / 64) ? Cross({0, 1, 0}, n) : Cross({0, 0, 1}, n);
  ax = Unit(ax);
  return {{}, ax, Unit(Cross(n, ax)), n};
}

Frame UcsFrame() {
  const Ucs& u = State().ucs;
  Vec3 x = Unit(u.xAxis), y = Unit(u.yAxis);
  return {u.origin, x, y, Unit(Cross(x, y))};
}

// Display coordinates: looking along the view direction at the target,
// turned by the view's twist.
Frame DisplayFrame() {
  const View& v = State().view;
  Frame f = EntityFrame(v.direction);
  double c = std::cos(v.twist), s = std::sin(v.twist);
  Vec3 x = Add(Scale(f.x, c), Scale(f.y, -s));
  Vec3 y = Add(Scale(f.x, s), Scale(f.y, c));
  return {v.target, x, y, f.z};
}

bool FrameOf(const resbuf* rb, Frame& frame) {
  if (!rb) return false;
  if (rb->restype == RTSHORT) {
    switch (rb->resval.rint) {
      case 0: frame = {{}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}; return true;
      case 1: frame = UcsFrame(); return true;
      case 2: frame = DisplayFrame(); return true;
      default: return false;
    }
  }
  if (rb->restype == RT3DPOINT || rb->restype == RTPOINT) {
    Vec3 n{rb->resval.rpoint[0], rb->resval.rpoint[1], rb->restype == RTPOINT ? 0.0 : rb->resval.rpoint[2]};
    if (Dot(n, n) == 0) return false;
    frame = EntityFrame(n);
    return true;
  }
  return false;
}

ACHAR* DupString(const std::wstring& s) {
  auto* p = static_cast<ACHAR*>(std::malloc((s.size() + 1) * sizeof(ACHAR)));
  if (p) std::wmemcpy(p, s.c_str(), s.size() + 1);
  return p;
}

void SetPoint(resbuf* rb, Vec3 p) {
  rb->restype = RT3DPOINT;
  rb->resval.rpoint[0] = p.x;
  rb->resval.rpoint[1] = p.y;
  rb->resval.rpoint[2] = p.z;
}

std::wstring DrawingFolder() {
  const std::wstring& path = State().drawingPath;
  if (!path.empty()) return path.substr(0, path.find_last_of(L'\\') + 1);
  char cwd[4096];
  std::wstring folder = getcwd(cwd, sizeof cwd) ? win::ToWindowsPath(cwd) : L"Z:\\";
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  return folder;
}

}  // namespace

Ucs& CurrentUcs() { return State().ucs; }
View& CurrentView() { return State().view; }

namespace {
struct WindowSize {
  int width = kDrawingWindowWidth;
  int height = kDrawingWindowHeight;
};
WindowSize& DrawingWindowSize() {
  static WindowSize size;
  return size;
}
}  // namespace

int DrawingWindowWidth() { return DrawingWindowSize().width; }
int DrawingWindowHeight() { return DrawingWindowSize().height; }

void SetDrawingWindowSize(int width, int height) {
  WindowSize& size = DrawingWindowSize();
  size.width = std::max(width, 1);
  size.height = std::max(height, 1);
  // The view's width follows the window's shape at the same height.
  View& v = State().view;
  v.width = v.height * size.width / size.height;
}

double PixelSize() {
  const View& v = State().view;
  return std::max(v.height / DrawingWindowHeight(), v.width / DrawingWindowWidth());
}

void PixelToDisplay(int px, int py, double& x, double& y) {
  const View& v = State().view;
  double size = PixelSize();
  x = v.centerX + (px - DrawingWindowWidth() / 2.0) * size;
  y = v.centerY - (py - DrawingWindowHeight() / 2.0) * size;
}

void SetDrawingPath(const wchar_t* windowsPath) { State().drawingPath = windowsPath ? windowsPath : L""; }

void ResetEditorState() {
  State() = EditorState{};
  DrawingWindowSize() = WindowSize{};
  ads_point origin = {0, 0, 0};
  SetLastPoint(origin);
}

}  // namespace acad

int acedGetVar(const ACHAR* sym, resbuf* result) {
  using namespace acad;
  if (!sym || !result) return RTERROR;
  std::wstring name = win::textutil::Upper(sym);
  const View& v = State().view;
  Frame ucs = UcsFrame();
  result->rbnext = nullptr;
  if (name == L"CMDECHO" || name == L"OSMODE") {
    result->restype = RTSHORT;
    result->resval.rint = name == L"CMDECHO" ? State().cmdecho : State().osmode;
  } else if (name == L"LASTPOINT") {
    ads_point p;
    GetLastPoint(p);
    SetPoint(result, {p[0], p[1], p[2]});
  } else if (name == L"VIEWDIR") {
    SetPoint(result, ucs.FromWorld(v.direction, true));
  } else if (name == L"TARGET") {
    SetPoint(result, ucs.FromWorld(v.target, false));
  } else if (name == L"VIEWCTR") {
    Vec3 world = DisplayFrame().ToWorld({v.centerX, v.centerY, 0}, false);
    SetPoint(result, ucs.FromWorld(world, false));
  } else if (name == L"VIEWSIZE" || name == L"LENSLENGTH" || name == L"VIEWTWIST") {
    result->restype = RTREAL;
    result->resval.rreal = name == L"VIEWSIZE" ? v.height : name == L"LENSLENGTH" ? v.lensLength : v.twist;
  } else if (name == L"SCREENSIZE") {
    result->restype = RTPOINT;
    result->resval.rpoint[0] = DrawingWindowWidth();
    result->resval.rpoint[1] = DrawingWindowHeight();
    result->resval.rpoint[2] = 0;
  } else if (name == L"DWGPREFIX" || name == L"DWGNAME") {
    std::wstring text;
    if (name == L"DWGPREFIX") {
      text = DrawingFolder();
    } else {
      const std::wstring& path = State().drawingPath;
      text = path.empty() ? L"Drawing1.dwg" : path.substr(path.find_last_of(L'\\') + 1);
    }
    result->restype = RTSTR;
    result->resval.rstring = DupString(text);
    if (!result->resval.rstring) return RTERROR;
  } else {
    return RTERROR;
  }
  return RTNORM;
}

int acedSetVar(const ACHAR* sym, const resbuf* value) {
  using namespace acad;
  if (!sym || !value) return RTERROR;
  std::wstring name = win::textutil::Upper(sym);
  if (name == L"CMDECHO" || name == L"OSMODE") {
    if (value->restype != RTSHORT) return RTERROR;
    short v = value->resval.rint;
    if (name == L"CMDECHO" && (v < 0 || v > 1)) return RTERROR;
    if (name == L"OSMODE" && (v < 0 || v > 16383)) return RTERROR;
    (name == L"CMDECHO" ? State().cmdecho : State().osmode) = v;
    return RTNORM;
  }
  if (name == L"LASTPOINT") {
    if (value->restype != RT3DPOINT && value->restype != RTPOINT) return RTERROR;
    ads_point p = {value->resval.rpoint[0], value->resval.rpoint[1],
                   value->restype == RTPOINT ? 0.0 : value->resval.rpoint[2]};
    SetLastPoint(p);
    return RTNORM;
  }
  // The others are read-only or unknown: the host refuses the change.
  return RTERROR;
}

int acedTrans(const ads_point pt, const resbuf* from, const resbuf* to, int disp, ads_point result) {
  using namespace acad;
  Frame a, b;
  if (!pt || !result || !FrameOf(from, a) || !FrameOf(to, b)) return RTERROR;
  Vec3 world = a.ToWorld({pt[0], pt[1], pt[2]}, disp != 0);
  Vec3 out = b.FromWorld(world, disp != 0);
  result[0] = out.x;
  result[1] = out.y;
  result[2] = out.z;
  return RTNORM;
}
