// The drawing window (drawingwindow.h). Model space is drawn by the graphics
// system (a device on this window, one view of the working drawing's model
// space, its camera the editor's current view), which keeps its picture
// until the view or the drawing changes; the rubber line or rectangle, the
// pick box and the selection window are drawn over it on every paint, so that
// following the pointer costs a copy of the picture only. Without a graphics
// device the window draws model space itself (modelpaint.h).
#include "drawingwindow.h"

#include <cmath>
#include <cstdio>

#include "acedcoord.h"
#include "acgsmanager.h"
#include "dbdatabase.h"
#include "dbhostapp.h"
#include "dbsymtb.h"
#include "acedpointer.h"
#include "acedview.h"
#include "adscodes.h"
#include "modelpaint.h"

namespace host::drawing {
namespace {

constexpr wchar_t kClass[] = L"AcadDrawingWindow";
constexpr int kStatusBarId = 0xD2;

struct State {
  HWND window = nullptr;
  HDC pictureDc = nullptr;
  HBITMAP picture = nullptr;
  int width = 0, height = 0;
  bool stale = true;
  POINT pointer{-1, -1};
  bool inside = false;
  bool leftDown = false;
  bool dragging = false;
  POINT downAt{0, 0};
  bool panning = false;
  POINT panFrom{0, 0};
  std::deque<std::string> pending;
  // Where a drag at a point prompt ended: the answer to a corner prompt that
  // follows at once (a range drawn in one stroke).
  std::optional<std::string> heldCorner;
  // The graphics system's device, view and model for this window.
  AcGsManager* manager = nullptr;
  AcGsDevice* device = nullptr;
  AcGsView* view = nullptr;
  AcGsModel* model = nullptr;
  AcDbDatabase* shown = nullptr;  // whose model space the view holds
};

State& S() {
  static State s;
  return s;
}

// The user-coordinate point under a pixel, as a prompt reads it.
std::string PointText(POINT px) {
  ads_point world, ucs;
  acedCoordFromPixelToWorld(0, CPoint(px.x, px.y), world);
  resbuf from{}, to{};
  from.restype = to.restype = RTSHORT;
  from.resval.rint = 0;
  to.resval.rint = 1;
  if (acedTrans(world, &from, &to, 0, ucs) != RTNORM) std::copy(world, world + 3, ucs);
  char buf[96];
  std::snprintf(buf, sizeof buf, "%.6f,%.6f", ucs[0], ucs[1]);
  return buf;
}

// The pixel of a user-coordinate point.
bool PixelOf(const double* ucs, POINT& out) {
  ads_point in = {ucs[0], ucs[1], ucs[2]}, world;
  resbuf from{}, to{};
  from.restype = to.restype = RTSHORT;
  from.resval.rint = 1;
  to.resval.rint = 0;
  if (acedTrans(in, &from, &to, 0, world) != RTNORM) return false;
  CPoint p;
  if (!acedCoordFromWorldToPixel(0, world, p)) return false;
  out = {p.x, p.y};
  return true;
}

void Push(std::string line) {
  S().pending.push_back(std::move(line));
}

void Redraw() {
  if (S().window) InvalidateRect(S().window, nullptr, FALSE);
}

// The device, view and model, made on first use; false without them.
bool GraphicsReady() {
  State& s = S();
  if (s.device) return true;
  s.manager = acgsGetGsManager();
  AcGsClassFactory* factory = s.manager ? s.manager->getGSClassFactory() : nullptr;
  if (!factory || !(s.device = s.manager->createAutoCADDevice(s.window))) return false;
  s.device->onSize(std::max(1, s.width), std::max(1, s.height));
  s.device->setBackgroundColor(AcGsColor{0, 0, 0, 255});
  s.view = factory->createView();
  s.model = s.manager->createAutoCADModel();
  if (s.view) s.device->add(s.view);
  return s.view && s.model;
}

void ReleaseGraphics() {
  State& s = S();
  if (s.view) {
    s.view->eraseAll();
    if (s.device) s.device->erase(s.view);
    s.manager->destroyView(s.view);
  }
  if (s.model) s.manager->destroyAutoCADModel(s.model);
  if (s.device) s.manager->destroyAutoCADDevice(s.device);
  s.view = nullptr;
  s.model = nullptr;
  s.device = nullptr;
  s.shown = nullptr;
}

// Shows the working drawing's model space through the editor's view.
void RenderWithGraphics() {
  State& s = S();
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (db != s.shown) {
    s.view->eraseAll();
    s.shown = nullptr;
    AcDbBlockTable* table = nullptr;
    if (db && db->getBlockTable(table, AcDb::kForRead) == Acad::eOk) {
      AcDbBlockTableRecord* space = nullptr;
      if (table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead) == Acad::eOk) {
        s.view->add(space, s.model);
        space->close();
        s.shown = db;
      }
      table->close();
    }
    s.stale = true;
  }
  if (s.stale) {
    const acad::View& v = acad::CurrentView();
    AcGePoint3d target(v.centerX, v.centerY, 0);
    s.view->setView(target + AcGeVector3d(0, 0, 1), target, AcGeVector3d::kYAxis, v.width, v.height);
    s.view->invalidate();
    s.stale = false;
  }
  s.device->update();
}

void Render() {
  State& s = S();
  if (!s.pictureDc) s.pictureDc = CreateCompatibleDC(nullptr);
  if (!s.picture || s.stale) {
    HDC screen = GetDC(s.window);
    HBITMAP fresh = s.picture ? nullptr : CreateCompatibleBitmap(screen, std::max(1, s.width), std::max(1, s.height));
    ReleaseDC(s.window, screen);
    if (fresh) {
      s.picture = fresh;
      SelectObject(s.pictureDc, s.picture);
    }
    PaintModelSpace(s.pictureDc, s.width, s.height);
    s.stale = false;
  }
}

void DrawOverlay(HDC dc) {
  State& s = S();
  const acad::PointerRequest& req = acad::CurrentPointerRequest();
  HPEN white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  HGDIOBJ oldPen = SelectObject(dc, white);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  if (s.inside && req.wants != acad::PointerWants::kNothing) {
    POINT p = s.pointer;
    MoveToEx(dc, p.x - 12, p.y, nullptr);
    LineTo(dc, p.x + 13, p.y);
    MoveToEx(dc, p.x, p.y - 12, nullptr);
    LineTo(dc, p.x, p.y + 13);
    if (req.wants == acad::PointerWants::kSelection && !s.dragging) Rectangle(dc, p.x - 3, p.y - 3, p.x + 4, p.y + 4);
    POINT base;
    if (req.hasBase && PixelOf(req.base, base)) {
      if (req.wants == acad::PointerWants::kCorner) {
        Rectangle(dc, std::min(base.x, p.x), std::min(base.y, p.y), std::max(base.x, p.x) + 1, std::max(base.y, p.y) + 1);
      } else if (req.wants == acad::PointerWants::kPoint) {
        MoveToEx(dc, base.x, base.y, nullptr);
        LineTo(dc, p.x, p.y);
      }
    }
  }
  if (s.dragging && req.wants == acad::PointerWants::kSelection) {
    // Left to right: a window (blue, solid); right to left: crossing (green, dashed).
    bool crossing = s.pointer.x < s.downAt.x;
    HPEN pen = CreatePen(crossing ? PS_DASH : PS_SOLID, 1, crossing ? RGB(80, 220, 80) : RGB(90, 140, 255));
    SelectObject(dc, pen);
    Rectangle(dc, std::min(s.downAt.x, s.pointer.x), std::min(s.downAt.y, s.pointer.y),
              std::max(s.downAt.x, s.pointer.x) + 1, std::max(s.downAt.y, s.pointer.y) + 1);
    SelectObject(dc, white);
    DeleteObject(pen);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(white);
}

void Paint(HWND h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  if (GraphicsReady()) {
    RenderWithGraphics();
  } else {
    Render();
    BitBlt(dc, 0, 0, S().width, S().height, S().pictureDc, 0, 0, SRCCOPY);
  }
  DrawOverlay(dc);
  EndPaint(h, &ps);
}

void ButtonUp(POINT p) {
  State& s = S();
  const acad::PointerRequest& req = acad::CurrentPointerRequest();
  // Moves may be folded together while input queues up: a release away from
  // the press is a drag even when no move came between.
  bool dragged = s.dragging || std::abs(p.x - s.downAt.x) > 4 || std::abs(p.y - s.downAt.y) > 4;
  s.leftDown = s.dragging = false;
  switch (req.wants) {
    case acad::PointerWants::kSelection:
      if (dragged) Push(std::string(p.x < s.downAt.x ? "C " : "W ") + PointText(s.downAt) + " " + PointText(p));
      else Push(PointText(p));
      break;
    case acad::PointerWants::kPoint:
      // A drag answers the point with where it began; a corner prompt next
      // gets where it ended.
      if (dragged) {
        Push(PointText(s.downAt));
        s.heldCorner = PointText(p);
      } else {
        Push(PointText(p));
      }
      break;
    case acad::PointerWants::kCorner: Push(PointText(p)); break;
    case acad::PointerWants::kTracking: Push("@pick " + PointText(p)); break;
    case acad::PointerWants::kNothing: break;
  }
  Redraw();
}

LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  State& s = S();
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (msg) {
    case WM_SIZE:
      s.width = LOWORD(lParam);
      s.height = HIWORD(lParam);
      if (s.picture) DeleteObject(s.picture);
      s.picture = nullptr;
      s.stale = true;
      acad::SetDrawingWindowSize(s.width, s.height);
      if (s.device) s.device->onSize(std::max(1, s.width), std::max(1, s.height));
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(h); return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_CROSS));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE: {
      s.pointer = p;
      s.inside = p.x >= 0 && p.y >= 0 && p.x < s.width && p.y < s.height;
      if (s.panning) {
        double size = acad::PixelSize();
        acad::View& v = acad::CurrentView();
        v.centerX -= (p.x - s.panFrom.x) * size;
        v.centerY += (p.y - s.panFrom.y) * size;
        s.panFrom = p;
        s.stale = true;
      }
      if (s.leftDown && (std::abs(p.x - s.downAt.x) > 4 || std::abs(p.y - s.downAt.y) > 4)) s.dragging = true;
      const acad::PointerRequest& req = acad::CurrentPointerRequest();
      if (req.wants == acad::PointerWants::kTracking && req.drags) {
        // Only the newest position waits; older moves are of no use.
        if (!s.pending.empty() && s.pending.back().rfind("@drag ", 0) == 0) s.pending.pop_back();
        Push("@drag " + PointText(p));
      }
      Redraw();
      // The status bar beside shows where the pointer is.
      if (HWND status = GetDlgItem(GetParent(h), kStatusBarId)) InvalidateRect(status, nullptr, FALSE);
      return 0;
    }
    case WM_LBUTTONDOWN:
      s.leftDown = true;
      s.dragging = false;
      s.downAt = p;
      SetCapture(h);
      return 0;
    case WM_LBUTTONUP:
      if (s.leftDown) ButtonUp(p);
      if (GetCapture() == h && !s.panning) ReleaseCapture();
      return 0;
    case WM_RBUTTONUP: {
      // The right button is Enter, or the right click acedGrRead reports.
      bool tracking = acad::CurrentPointerRequest().wants == acad::PointerWants::kTracking;
      Push(tracking ? "@rclick" : "");
      return 0;
    }
    case WM_MBUTTONDOWN:
      s.panning = true;
      s.panFrom = p;
      SetCapture(h);
      return 0;
    case WM_MBUTTONUP:
      s.panning = false;
      if (GetCapture() == h && !s.leftDown) ReleaseCapture();
      return 0;
    case WM_MOUSEWHEEL: {
      POINT at = p;
      ScreenToClient(h, &at);
      int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
      if (notches) ZoomAbout(at.x, at.y, std::pow(0.8, notches));
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != h) s.panning = s.leftDown = s.dragging = false;
      return 0;
    case WM_DESTROY:
      ReleaseGraphics();
      if (s.pictureDc) DeleteDC(s.pictureDc);
      if (s.picture) DeleteObject(s.picture);
      s.pictureDc = nullptr;
      s.picture = nullptr;
      s.window = nullptr;
      return 0;
    default: break;
  }
  return DefWindowProcW(h, msg, wParam, lParam);
}

}  // namespace

HWND Create(HWND parent, const RECT& r) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    wc.lpszClassName = kClass;
    registered = RegisterClassW(&wc) != 0;
  }
  S().window = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(0xD0)), nullptr, nullptr);
  return S().window;
}

void ZoomExtents() {
  double x0, y0, x1, y1;
  acad::View& v = acad::CurrentView();
  if (!ModelSpaceExtents(x0, y0, x1, y1)) return;
  int w = acad::DrawingWindowWidth(), h = acad::DrawingWindowHeight();
  double dx = std::max(x1 - x0, 1e-6), dy = std::max(y1 - y0, 1e-6);
  // A little margin around the drawing; the view's shape is the window's.
  double height = std::max(dy, dx * h / w) * 1.05;
  v.centerX = (x0 + x1) / 2;
  v.centerY = (y0 + y1) / 2;
  v.height = height;
  v.width = height * w / h;
  ModelChanged();
}

void ZoomAbout(int x, int y, double factor) {
  if (!(factor > 0)) return;
  acad::View& v = acad::CurrentView();
  double px, py;
  acad::PixelToDisplay(x, y, px, py);
  v.height *= factor;
  v.width *= factor;
  v.centerX = px + (v.centerX - px) * factor;
  v.centerY = py + (v.centerY - py) * factor;
  ModelChanged();
}

void ModelChanged() {
  S().stale = true;
  Redraw();
}

std::deque<std::string>& PendingInput() { return S().pending; }

std::optional<std::string> TakeHeldCorner() {
  std::optional<std::string> held;
  held.swap(S().heldCorner);
  if (acad::CurrentPointerRequest().wants != acad::PointerWants::kCorner) return std::nullopt;
  return held;
}

HWND Window() { return S().window; }

}  // namespace host::drawing
