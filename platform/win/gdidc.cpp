// Device contexts: contexts on a window's surface or on a memory bitmap,
// saving and restoring their state, selecting objects, colours and modes,
// origins and coordinate conversion, and clipping.
#include <algorithm>
#include <cmath>

#include "gdistate.h"

namespace win::gdi {

// The effective clip of a DC in surface coordinates.
Region ClipOf(DCObj* dc) {
  if (!dc->st.userClip) return dc->visible;
  Region user = *dc->st.userClip;
  user.Offset(dc->origin.x, dc->origin.y);
  return dc->visible.Intersect(user);
}

double ScaleX(const DCObj* dc) {
  return dc->st.mapMode == MM_TEXT ? 1.0 : static_cast<double>(dc->st.viewportExt.cx) / dc->st.windowExt.cx;
}
double ScaleY(const DCObj* dc) {
  return dc->st.mapMode == MM_TEXT ? 1.0 : static_cast<double>(dc->st.viewportExt.cy) / dc->st.windowExt.cy;
}

POINT LogicalToDevice(const DCObj* dc, int x, int y) {
  return {static_cast<LONG>(std::lround((x - dc->st.windowOrg.x) * ScaleX(dc))) + dc->st.viewportOrg.x,
          static_cast<LONG>(std::lround((y - dc->st.windowOrg.y) * ScaleY(dc))) + dc->st.viewportOrg.y};
}
POINT DeviceToLogical(const DCObj* dc, int x, int y) {
  return {static_cast<LONG>(std::lround((x - dc->st.viewportOrg.x) / ScaleX(dc))) + dc->st.windowOrg.x,
          static_cast<LONG>(std::lround((y - dc->st.viewportOrg.y) / ScaleY(dc))) + dc->st.windowOrg.y};
}

// Logical to surface coordinates.
POINT ToSurface(DCObj* dc, int x, int y) {
  POINT p = LogicalToDevice(dc, x, y);
  return {p.x + dc->origin.x, p.y + dc->origin.y};
}

void ApplyMapping(DCObj* dc, cairo_t* cr) {
  cairo_translate(cr, dc->origin.x + dc->st.viewportOrg.x, dc->origin.y + dc->st.viewportOrg.y);
  cairo_scale(cr, ScaleX(dc), ScaleY(dc));
  cairo_translate(cr, -dc->st.windowOrg.x, -dc->st.windowOrg.y);
}

HDC NewDC(std::unique_ptr<DCObj> dc) {
  Tables& t = T();
  if (!dc->st.pen) dc->st.pen = GetStockObject(BLACK_PEN);
  if (!dc->st.brush) dc->st.brush = GetStockObject(WHITE_BRUSH);
  if (!dc->st.font) dc->st.font = GetStockObject(SYSTEM_FONT);
  uintptr_t id = (t.next += 4);
  t.dcs.emplace(id, std::move(dc));
  return reinterpret_cast<HDC>(id);
}

HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, const Region& visible, HWND hWnd) {
  auto dc = std::make_unique<DCObj>();
  dc->hwnd = hWnd;
  dc->target = SurfaceRef(cairo_surface_reference(surface));
  dc->origin = origin;
  dc->visible = visible;
  return NewDC(std::move(dc));
}

cairo_surface_t* SurfaceOf(HDC hdc) {
  DCObj* dc = DCFrom(hdc);
  return dc ? dc->target.s : nullptr;
}

HDC CreateDeviceDC(std::shared_ptr<VectorDevice> device) {
  if (!device) return nullptr;
  auto dc = std::make_unique<DCObj>();
  dc->visible = Region(RECT{0, 0, device->resolution.cx, device->resolution.cy});
  dc->device = std::move(device);
  HDC hdc = NewDC(std::move(dc));
  SetDeviceSurface(hdc, nullptr);
  return hdc;
}

VectorDevice* DeviceOf(HDC hdc) {
  DCObj* dc = DCFrom(hdc);
  return dc ? dc->device.get() : nullptr;
}

void SetDeviceSurface(HDC hdc, cairo_surface_t* surface) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return;
  // Without a page, drawing lands on a pixel that nobody reads.
  dc->target = surface ? SurfaceRef(cairo_surface_reference(surface)) : SurfaceRef(NewSurface(1, 1));
}

}  // namespace win::gdi

using namespace win::gdi;

// ---------------------------------------------------------------- DCs

HDC CreateCompatibleDC(HDC) {
  Tables& t = T();
  if (!t.defaultBitmap) {
    cairo_surface_t* s = NewSurface(1, 1);
    t.defaultBitmap = CreateBitmapFromSurface(s);
    cairo_surface_destroy(s);
    t.objects[reinterpret_cast<uintptr_t>(t.defaultBitmap)].stock = true;
  }
  auto dc = std::make_unique<DCObj>();
  dc->memory = true;
  dc->bitmap = t.defaultBitmap;
  dc->target = Get<BitmapObj>(t.defaultBitmap)->surface;
  dc->visible = Region(RECT{0, 0, 1, 1});
  return NewDC(std::move(dc));
}

BOOL DeleteDC(HDC hdc) { return T().dcs.erase(reinterpret_cast<uintptr_t>(hdc)) ? TRUE : FALSE; }

int SaveDC(HDC hdc) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->st);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int savedDC) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || dc->saved.empty()) return FALSE;
  int n = static_cast<int>(dc->saved.size());
  int level = savedDC < 0 ? n + 1 + savedDC : savedDC;
  if (level < 1 || level > n) return FALSE;
  dc->st = dc->saved[static_cast<size_t>(level - 1)];
  dc->saved.resize(static_cast<size_t>(level - 1));
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  DCObj* dc = DCFrom(hdc);
  if (dc && dc->device) {
    const VectorDevice& d = *dc->device;
    switch (index) {
      case LOGPIXELSX: return d.dpiX;
      case LOGPIXELSY: return d.dpiY;
      case HORZRES: case PHYSICALWIDTH: return d.resolution.cx;
      case VERTRES: case PHYSICALHEIGHT: return d.resolution.cy;
      case HORZSIZE: return d.dpiX > 0 ? static_cast<int>(std::lround(d.resolution.cx * 25.4 / d.dpiX)) : 0;
      case VERTSIZE: return d.dpiY > 0 ? static_cast<int>(std::lround(d.resolution.cy * 25.4 / d.dpiY)) : 0;
      case PHYSICALOFFSETX: case PHYSICALOFFSETY: return 0;
      case TECHNOLOGY: return DT_RASPRINTER;
      case BITSPIXEL: return 24;
      case PLANES: return 1;
      case NUMCOLORS: return -1;
      default: return 0;
    }
  }
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case HORZRES: return dc && dc->target.s ? cairo_image_surface_get_width(dc->target.s) : GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return dc && dc->target.s ? cairo_image_surface_get_height(dc->target.s) : GetSystemMetrics(SM_CYSCREEN);
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return MulDiv(GetDeviceCaps(hdc, HORZRES), 254, 960);
    case VERTSIZE: return MulDiv(GetDeviceCaps(hdc, VERTRES), 254, 960);
    default: return 0;
  }
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !object) return nullptr;
  auto& objs = T().objects;
  auto it = objs.find(reinterpret_cast<uintptr_t>(object));
  if (it == objs.end()) return nullptr;
  HGDIOBJ old = nullptr;
  switch (it->second.obj.index()) {
    case 0: old = dc->st.pen; dc->st.pen = object; break;
    case 1: old = dc->st.brush; dc->st.brush = object; break;
    case 2: old = dc->st.font; dc->st.font = object; break;
    case 3: {
      if (!dc->memory) return nullptr;
      old = dc->bitmap;
      dc->bitmap = object;
      BitmapObj* b = std::get_if<BitmapObj>(&it->second.obj);
      dc->target = b->surface;
      dc->visible = Region(RECT{0, 0, cairo_image_surface_get_width(b->surface.s), cairo_image_surface_get_height(b->surface.s)});
      break;
    }
    case 4: {
      SelectClipRgn(hdc, static_cast<HRGN>(object));
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(ClipOf(dc).Complexity()));
    }
    default: return nullptr;
  }
  return old;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->st.pen;
    case OBJ_BRUSH: return dc->st.brush;
    case OBJ_FONT: return dc->st.font;
    case OBJ_BITMAP: return dc->bitmap;
    default: return nullptr;
  }
}

#define DC_FIELD(getter, setter, type, field)              \
  type setter(HDC hdc, type value) {                       \
    DCObj* dc = DCFrom(hdc);                                \
    if (!dc) return 0;                                     \
    type old = dc->st.field;                               \
    dc->st.field = value;                                  \
    return old;                                            \
  }                                                        \
  type getter(HDC hdc) {                                   \
    DCObj* dc = DCFrom(hdc);                                \
    return dc ? dc->st.field : 0;                          \
  }
DC_FIELD(GetTextColor, SetTextColor, COLORREF, textColor)
DC_FIELD(GetBkColor, SetBkColor, COLORREF, bkColor)
DC_FIELD(GetBkMode, SetBkMode, int, bkMode)
DC_FIELD(GetROP2, SetROP2, int, rop2)
DC_FIELD(GetTextAlign, SetTextAlign, UINT, textAlign)
#undef DC_FIELD

int SetMapMode(HDC hdc, int mode) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return 0;
  // The text mode and the two scaled ones; the metric modes are not kept.
  if (mode != MM_TEXT && mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC) return 0;
  int old = dc->st.mapMode;
  dc->st.mapMode = mode;
  if (mode == MM_TEXT) dc->st.windowExt = dc->st.viewportExt = SIZE{1, 1};
  return old;
}

int GetMapMode(HDC hdc) {
  DCObj* dc = DCFrom(hdc);
  return dc ? dc->st.mapMode : 0;
}

namespace {
BOOL SetExt(HDC hdc, SIZE DCState::*field, int cx, int cy, LPSIZE old) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->st.*field;
  // Only the scaled modes take extents; a zero extent is refused.
  if (dc->st.mapMode == MM_TEXT) return TRUE;
  if (cx == 0 || cy == 0) return FALSE;
  dc->st.*field = SIZE{cx, cy};
  if (dc->st.mapMode == MM_ISOTROPIC) {
    // The same scale both ways: the smaller one wins.
    double sx = static_cast<double>(dc->st.viewportExt.cx) / dc->st.windowExt.cx;
    double sy = static_cast<double>(dc->st.viewportExt.cy) / dc->st.windowExt.cy;
    double s = std::min(std::fabs(sx), std::fabs(sy));
    dc->st.viewportExt.cx = static_cast<LONG>(std::lround(s * dc->st.windowExt.cx * (sx < 0 ? -1 : 1)));
    dc->st.viewportExt.cy = static_cast<LONG>(std::lround(s * dc->st.windowExt.cy * (sy < 0 ? -1 : 1)));
  }
  return TRUE;
}
}  // namespace
BOOL SetWindowExtEx(HDC hdc, int cx, int cy, LPSIZE old) { return SetExt(hdc, &DCState::windowExt, cx, cy, old); }
BOOL SetViewportExtEx(HDC hdc, int cx, int cy, LPSIZE old) { return SetExt(hdc, &DCState::viewportExt, cx, cy, old); }
BOOL GetWindowExtEx(HDC hdc, LPSIZE ext) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !ext) return FALSE;
  *ext = dc->st.windowExt;
  return TRUE;
}
BOOL GetViewportExtEx(HDC hdc, LPSIZE ext) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !ext) return FALSE;
  *ext = dc->st.viewportExt;
  return TRUE;
}

namespace {
BOOL SetOrg(HDC hdc, POINT DCState::*field, int x, int y, LPPOINT old, bool offset) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  POINT& p = dc->st.*field;
  if (old) *old = p;
  if (offset) {
    p.x += x;
    p.y += y;
  } else {
    p = {x, y};
  }
  return TRUE;
}
}  // namespace
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old) { return SetOrg(hdc, &DCState::viewportOrg, x, y, old, false); }
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old) { return SetOrg(hdc, &DCState::viewportOrg, dx, dy, old, true); }
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old) { return SetOrg(hdc, &DCState::windowOrg, x, y, old, false); }
BOOL GetViewportOrgEx(HDC hdc, LPPOINT org) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !org) return FALSE;
  *org = dc->st.viewportOrg;
  return TRUE;
}
BOOL GetWindowOrgEx(HDC hdc, LPPOINT org) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !org) return FALSE;
  *org = dc->st.windowOrg;
  return TRUE;
}
BOOL DPtoLP(HDC hdc, LPPOINT points, int count) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = DeviceToLogical(dc, points[i].x, points[i].y);
  return TRUE;
}
BOOL LPtoDP(HDC hdc, LPPOINT points, int count) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = LogicalToDevice(dc, points[i].x, points[i].y);
  return TRUE;
}

// ---------------------------------------------------------------- clipping

int SelectClipRgn(HDC hdc, HRGN region) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return ERROR;
  if (!region) {
    dc->st.userClip.reset();
  } else {
    RegionObj* r = Get<RegionObj>(region);
    if (!r) return ERROR;
    dc->st.userClip = r->region;
  }
  return ClipOf(dc).Complexity();
}

namespace {
// The DC's current clip in client coordinates.
Region ClientClip(DCObj* dc) {
  Region r = ClipOf(dc);
  r.Offset(-dc->origin.x, -dc->origin.y);
  return r;
}
RECT LogicalToClient(DCObj* dc, int l, int t, int r, int b) {
  POINT a = LogicalToDevice(dc, l, t), z = LogicalToDevice(dc, r, b);
  return {std::min(a.x, z.x), std::min(a.y, z.y), std::max(a.x, z.x), std::max(a.y, z.y)};
}
}  // namespace

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return ERROR;
  dc->st.userClip = ClientClip(dc).Intersect(Region(LogicalToClient(dc, left, top, right, bottom)));
  return ClipOf(dc).Complexity();
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return ERROR;
  dc->st.userClip = ClientClip(dc).Subtract(Region(LogicalToClient(dc, left, top, right, bottom)));
  return ClipOf(dc).Complexity();
}

int GetClipBox(HDC hdc, LPRECT rect) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !rect) return ERROR;
  Region r = ClientClip(dc);
  RECT box = r.Box();
  POINT a = DeviceToLogical(dc, box.left, box.top), z = DeviceToLogical(dc, box.right, box.bottom);
  *rect = {std::min(a.x, z.x), std::min(a.y, z.y), std::max(a.x, z.x), std::max(a.y, z.y)};
  return r.Complexity();
}

BOOL PtVisible(HDC hdc, int x, int y) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  POINT p = ToSurface(dc, x, y);
  return ClipOf(dc).Contains(p.x, p.y);
}
