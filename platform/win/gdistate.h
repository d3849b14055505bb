// The inside of the drawing layer that its files share (gdiobjects.cpp,
// gdiregion.cpp, gdidc.cpp, gdidraw.cpp, gditext.cpp and the USER-side
// drawing in userdraw.cpp): the tables of drawing objects and device
// contexts, Cairo contexts clipped to a DC, raster operations, and Pango
// layouts of a DC's font.
#pragma once

#include <pango/pangocairo.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "gdiimpl.h"
#include "textconv.h"

namespace win::gdi {

struct SurfaceRef {
  cairo_surface_t* s = nullptr;
  SurfaceRef() = default;
  explicit SurfaceRef(cairo_surface_t* adopt) : s(adopt) {}
  SurfaceRef(const SurfaceRef& o) : s(o.s ? cairo_surface_reference(o.s) : nullptr) {}
  SurfaceRef& operator=(const SurfaceRef& o) {
    if (this != &o) {
      cairo_surface_t* n = o.s ? cairo_surface_reference(o.s) : nullptr;
      if (s) cairo_surface_destroy(s);
      s = n;
    }
    return *this;
  }
  ~SurfaceRef() {
    if (s) cairo_surface_destroy(s);
  }
};

struct PenObj {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};
struct BrushObj {
  int style = BS_SOLID;
  COLORREF color = 0;
  int hatch = 0;
  SurfaceRef pattern;
};
struct FontObj {
  LOGFONTW lf{};
};
struct BitmapObj {
  SurfaceRef surface;
};
struct RegionObj {
  Region region;
};
struct IconObj {
  SurfaceRef surface;
  bool cursor = false;
};

using Object = std::variant<PenObj, BrushObj, FontObj, BitmapObj, RegionObj, IconObj>;

struct ObjectEntry {
  Object obj;
  bool stock = false;
};

struct DCState {
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  UINT textAlign = TA_LEFT | TA_TOP;
  POINT pos{0, 0};
  POINT viewportOrg{0, 0};
  POINT windowOrg{0, 0};
  // Logical units scale to device units by viewportExt / windowExt, except
  // in MM_TEXT.
  int mapMode = MM_TEXT;
  SIZE windowExt{1, 1};
  SIZE viewportExt{1, 1};
  std::optional<Region> userClip;  // client coordinates
};

struct DCObj {
  bool memory = false;
  HWND hwnd = nullptr;
  SurfaceRef target;
  HGDIOBJ bitmap = nullptr;  // memory contexts
  POINT origin{0, 0};
  Region visible;  // surface coordinates; memory contexts: the whole bitmap
  DCState st;
  std::vector<DCState> saved;
  // A device that is no pixel surface (a printer); its surface may be a
  // vector one. Destroyed with the context, after nothing draws any more.
  std::shared_ptr<VectorDevice> device;
};

struct Tables {
  std::unordered_map<uintptr_t, ObjectEntry> objects;
  std::unordered_map<uintptr_t, std::unique_ptr<DCObj>> dcs;
  uintptr_t next = 0x1000;
  std::map<int, HGDIOBJ> stock;
  std::map<int, HBRUSH> sysBrushes;
  PangoContext* pango = nullptr;
  HBITMAP defaultBitmap = nullptr;
  ~Tables() {
    if (pango) g_object_unref(pango);
  }
};

// The tables of every drawing object and device context.
Tables& T();

template <class H>
H NewObject(Object obj, bool stock = false) {
  Tables& t = T();
  uintptr_t id = (t.next += 4);
  t.objects.emplace(id, ObjectEntry{std::move(obj), stock});
  return reinterpret_cast<H>(id);
}

template <class O>
O* Get(const void* handle) {
  auto& objs = T().objects;
  auto it = objs.find(reinterpret_cast<uintptr_t>(handle));
  if (it == objs.end()) return nullptr;
  return std::get_if<O>(&it->second.obj);
}

DCObj* DCFrom(HDC hdc);
cairo_surface_t* NewSurface(int w, int h);
// The Pango context every layout uses: 96 dpi, grey antialiasing, Chinese first.
PangoContext* Pango();
LOGFONTW MakeLogFont(int height, int weight, const wchar_t* face);

struct FontDesc {
  PangoFontDescription* d;
  explicit FontDesc(const LOGFONTW& lf) : d(pango_font_description_new()) {
    pango_font_description_set_family(d, WideToUtf8(ResolvedFamily(lf)).c_str());
    // A negative height is the character height (em); a positive one the
    // cell height, of which the em is a little less.
    double px = lf.lfHeight < 0 ? -lf.lfHeight : (lf.lfHeight > 0 ? lf.lfHeight * 0.86 : 11.0);
    pango_font_description_set_absolute_size(d, px * PANGO_SCALE);
    int weight = lf.lfWeight == 0 ? 400 : std::clamp<int>(lf.lfWeight, 100, 1000);
    pango_font_description_set_weight(d, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(d, lf.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  }
  ~FontDesc() { pango_font_description_free(d); }
  FontDesc(const FontDesc&) = delete;
  FontDesc& operator=(const FontDesc&) = delete;
};

// The font selected into the DC (the dialog font when none is).
const LOGFONTW& FontOf(DCObj* dc);

// A Pango layout of the DC's font, owned.
struct Layout {
  PangoLayout* l;
  explicit Layout(const LOGFONTW& lf, std::wstring_view text) : l(pango_layout_new(Pango())) {
    FontDesc fd(lf);
    pango_layout_set_font_description(l, fd.d);
    std::string utf8 = WideToUtf8(text);
    pango_layout_set_text(l, utf8.c_str(), static_cast<int>(utf8.size()));
    if (lf.lfUnderline || lf.lfStrikeOut) {
      PangoAttrList* attrs = pango_attr_list_new();
      if (lf.lfUnderline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
      if (lf.lfStrikeOut) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
      pango_layout_set_attributes(l, attrs);
      pango_attr_list_unref(attrs);
    }
  }
  ~Layout() { g_object_unref(l); }
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;
  SIZE Size() const {
    int w = 0, h = 0;
    pango_layout_get_pixel_size(l, &w, &h);
    return {w, h};
  }
};

// The effective clip of a DC in surface coordinates.
Region ClipOf(DCObj* dc);
// How many device units one logical unit is, across and down.
double ScaleX(const DCObj* dc);
double ScaleY(const DCObj* dc);
// Logical to device (client) coordinates and back.
POINT LogicalToDevice(const DCObj* dc, int x, int y);
POINT DeviceToLogical(const DCObj* dc, int x, int y);
// Logical to surface coordinates.
POINT ToSurface(DCObj* dc, int x, int y);
// Makes a Cairo context's user space the DC's logical space.
void ApplyMapping(DCObj* dc, cairo_t* cr);
// Whether the DC draws on pixels it can read back.
inline bool PixelTarget(const DCObj* dc) {
  return dc->target.s && cairo_surface_get_type(dc->target.s) == CAIRO_SURFACE_TYPE_IMAGE;
}

// A Cairo context on the DC's surface, clipped, in logical coordinates.
struct Paint {
  cairo_t* cr;
  explicit Paint(DCObj* dc) : cr(cairo_create(dc->target.s)) {
    Region clip = ClipOf(dc);
    for (const RECT& r : clip.Rects()) cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
    ApplyMapping(dc, cr);
  }
  ~Paint() { cairo_destroy(cr); }
  Paint(const Paint&) = delete;
  Paint& operator=(const Paint&) = delete;
  void Color(COLORREF c) { cairo_set_source_rgb(cr, Red(c), Green(c), Blue(c)); }
};

// Applies a binary raster operation of the pen colour over the pixels that
// `mask` (an A8 surface of the target's size) covers inside the clip.
void ApplyRop(DCObj* dc, cairo_surface_t* mask, COLORREF color, int rop);

// Runs a shape through the DC: with the copy-pen mode it is drawn directly;
// with other modes it is rasterised to a mask first and combined per pixel.
template <class Shape>
void DrawShape(DCObj* dc, COLORREF color, Shape&& shape) {
  // Pages of a printer have no pixels to combine with: the pen is laid on.
  if (dc->st.rop2 == R2_COPYPEN || !PixelTarget(dc)) {
    Paint p(dc);
    p.Color(color);
    shape(p.cr);
    return;
  }
  int w = cairo_image_surface_get_width(dc->target.s), h = cairo_image_surface_get_height(dc->target.s);
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  cairo_t* cr = cairo_create(mask);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  ApplyMapping(dc, cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  shape(cr);
  cairo_destroy(cr);
  ApplyRop(dc, mask, color, dc->st.rop2);
  cairo_surface_destroy(mask);
}

PenObj PenOf(DCObj* dc);
void SetDash(cairo_t* cr, const PenObj& pen);
inline bool PenVisible(const PenObj& pen) { return (pen.style & PS_STYLE_MASK) != PS_NULL; }
// Strokes the path with the pen (dashes, width, raster operation).
void StrokeWithPen(DCObj* dc, const PenObj& pen, const std::function<void(cairo_t*)>& path);
// Fills the path with the brush (solid, hatched or a pattern).
void FillWithBrush(DCObj* dc, HGDIOBJ brushHandle, const std::function<void(cairo_t*)>& path);
// Enters a new DC into the table, with the stock pen, brush and font selected.
HDC NewDC(std::unique_ptr<DCObj> dc);

// Text of a counted argument (-1: up to the terminator).
std::wstring_view Counted(LPCWSTR text, int count);
// Shows a layout at x,y in the DC's text colour, over its background when the
// DC is opaque and `opaque` is given.
void ShowLayout(DCObj* dc, PangoLayout* layout, double x, double y, const RECT* opaque);

}  // namespace win::gdi
