// Device contexts: contexts on a window's surface or on a memory bitmap,
// saving and restoring their state, selecting objects, colours and modes,
// origins and coordinate conversion, and clipping.
#include <algorithm>

#include "gdistate.h"

namespace win::gdi {

// The effective clip of a DC in surface coordinates.
Region ClipOf(DCObj* dc) {
  if (!dc->st.userClip) return dc->visible;
  Region user = *dc->st.userClip;
  user.Offset(dc->origin.x, dc->origin.y);
  return dc->visible.Intersect(user);
}

// Logical to surface coordinates.
POINT ToSurface(DCObj* dc, int x, int y) {
  return {x - dc->st.windowOrg.x + dc->st.viewportOrg.x + dc->origin.x,
          y - dc->st.windowOrg.y + dc->st.viewportOrg.y + dc->origin.y};
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
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case HORZRES: return dc && dc->target.s ? cairo_image_surface_get_width(dc->target.s) : GetSystemMetrics(SM_CXSCREEN);
    case VERTRES: return dc && dc->target.s ? cairo_image_surface_get_height(dc->target.s) : GetSystemMetrics(SM_CYSCREEN);
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

int SetMapMode(HDC hdc, int) { return DCFrom(hdc) ? MM_TEXT : 0; }

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
  for (int i = 0; i < count; ++i) {
    points[i].x += dc->st.windowOrg.x - dc->st.viewportOrg.x;
    points[i].y += dc->st.windowOrg.y - dc->st.viewportOrg.y;
  }
  return TRUE;
}
BOOL LPtoDP(HDC hdc, LPPOINT points, int count) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  for (int i = 0; i < count; ++i) {
    points[i].x += dc->st.viewportOrg.x - dc->st.windowOrg.x;
    points[i].y += dc->st.viewportOrg.y - dc->st.windowOrg.y;
  }
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
  return {l - dc->st.windowOrg.x + dc->st.viewportOrg.x, t - dc->st.windowOrg.y + dc->st.viewportOrg.y,
          r - dc->st.windowOrg.x + dc->st.viewportOrg.x, b - dc->st.windowOrg.y + dc->st.viewportOrg.y};
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
  *rect = r.Box();
  OffsetRect(rect, dc->st.windowOrg.x - dc->st.viewportOrg.x, dc->st.windowOrg.y - dc->st.viewportOrg.y);
  return r.Complexity();
}

BOOL PtVisible(HDC hdc, int x, int y) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  POINT p = ToSurface(dc, x, y);
  return ClipOf(dc).Contains(p.x, p.y);
}
