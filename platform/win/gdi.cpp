// Device contexts and drawing objects over Cairo and Pango.
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <variant>

#include "gdiimpl.h"
#include "textconv.h"
#include "textutil.h"
#include "winuser.h"

namespace win::gdi {

// ---------------------------------------------------------------- regions

RECT Region::Box() const {
  RECT box{0, 0, 0, 0};
  bool first = true;
  for (const RECT& r : m_rects) {
    if (first) {
      box = r;
      first = false;
    } else {
      box.left = std::min(box.left, r.left);
      box.top = std::min(box.top, r.top);
      box.right = std::max(box.right, r.right);
      box.bottom = std::max(box.bottom, r.bottom);
    }
  }
  return box;
}

bool Region::Contains(int x, int y) const {
  for (const RECT& r : m_rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

Region Region::Intersect(const Region& other) const {
  Region out;
  for (const RECT& a : m_rects)
    for (const RECT& b : other.m_rects) {
      RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
      if (r.left < r.right && r.top < r.bottom) out.m_rects.push_back(r);
    }
  return out;
}

namespace {
// The parts of `a` outside `b`, as up to four rectangles.
void SubtractRect(const RECT& a, const RECT& b, std::vector<RECT>& out) {
  RECT i{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (i.left >= i.right || i.top >= i.bottom) {
    out.push_back(a);
    return;
  }
  if (a.top < i.top) out.push_back({a.left, a.top, a.right, i.top});
  if (i.bottom < a.bottom) out.push_back({a.left, i.bottom, a.right, a.bottom});
  if (a.left < i.left) out.push_back({a.left, i.top, i.left, i.bottom});
  if (i.right < a.right) out.push_back({i.right, i.top, a.right, i.bottom});
}
}  // namespace

Region Region::Subtract(const Region& other) const {
  std::vector<RECT> cur = m_rects;
  for (const RECT& b : other.m_rects) {
    std::vector<RECT> next;
    for (const RECT& a : cur) SubtractRect(a, b, next);
    cur.swap(next);
  }
  Region out;
  out.m_rects = std::move(cur);
  return out;
}

Region Region::Union(const Region& other) const {
  Region out = other.Subtract(*this);
  out.m_rects.insert(out.m_rects.begin(), m_rects.begin(), m_rects.end());
  return out;
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : m_rects) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
}

// ---------------------------------------------------------------- objects

namespace {

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

Tables& T() {
  static Tables t;
  return t;
}

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

DCObj* DCFrom(HDC hdc) {
  auto& dcs = T().dcs;
  auto it = dcs.find(reinterpret_cast<uintptr_t>(hdc));
  return it == dcs.end() ? nullptr : it->second.get();
}

cairo_surface_t* NewSurface(int w, int h) {
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(w, 1), std::max(h, 1));
}

PangoContext* Pango() {
  Tables& t = T();
  if (!t.pango) {
    PangoFontMap* map = pango_cairo_font_map_get_default();
    t.pango = pango_font_map_create_context(map);
    pango_cairo_context_set_resolution(t.pango, 96.0);
    cairo_font_options_t* opts = cairo_font_options_create();
    cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_SLIGHT);
    pango_cairo_context_set_font_options(t.pango, opts);
    cairo_font_options_destroy(opts);
    PangoLanguage* zh = pango_language_from_string("zh-cn");
    pango_context_set_language(t.pango, zh);
  }
  return t.pango;
}

LOGFONTW MakeLogFont(int height, int weight, const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

}  // namespace

std::wstring ResolvedFamily(const LOGFONTW& font) {
  std::wstring face(font.lfFaceName);
  auto is = [&](std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* n : names)
      if (textutil::EqualNoCase(face, n)) return true;
    return false;
  };
  // Chinese faces map to the installed Chinese face; Latin user-interface
  // faces to a sans face with the Chinese face behind it for CJK glyphs.
  if (is({L"宋体", L"SimSun", L"新宋体", L"NSimSun", L"黑体", L"SimHei", L"微软雅黑", L"Microsoft YaHei", L"仿宋",
          L"楷体"}))
    return L"WenQuanYi Zen Hei";
  if (is({L"Courier New", L"Courier", L"Consolas", L"Fixedsys", L"Terminal"})) return L"DejaVu Sans Mono,WenQuanYi Zen Hei";
  if (is({L"Times New Roman", L"Times", L"Georgia"})) return L"DejaVu Serif,WenQuanYi Zen Hei";
  if (face.empty() || is({L"Tahoma", L"MS Shell Dlg", L"MS Shell Dlg 2", L"MS Sans Serif", L"Arial", L"Verdana",
                          L"Segoe UI", L"System", L"Microsoft Sans Serif"}))
    return L"DejaVu Sans,WenQuanYi Zen Hei";
  return face + L",DejaVu Sans,WenQuanYi Zen Hei";
}

namespace {

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

const LOGFONTW& FontOf(DCObj* dc) {
  static const LOGFONTW fallback = MakeLogFont(-11, FW_NORMAL, L"MS Shell Dlg");
  if (FontObj* f = Get<FontObj>(dc->st.font)) return f->lf;
  return fallback;
}

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

// A Cairo context on the DC's surface, clipped, in logical coordinates.
struct Paint {
  cairo_t* cr;
  explicit Paint(DCObj* dc) : cr(cairo_create(dc->target.s)) {
    Region clip = ClipOf(dc);
    for (const RECT& r : clip.Rects()) cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
    POINT o = ToSurface(dc, 0, 0);
    cairo_translate(cr, o.x, o.y);
  }
  ~Paint() { cairo_destroy(cr); }
  Paint(const Paint&) = delete;
  Paint& operator=(const Paint&) = delete;
  void Color(COLORREF c) { cairo_set_source_rgb(cr, Red(c), Green(c), Blue(c)); }
};

// Applies a binary raster operation of the pen colour over the pixels that
// `mask` (an A8 surface of the target's size) covers inside the clip.
void ApplyRop(DCObj* dc, cairo_surface_t* mask, COLORREF color, int rop) {
  cairo_surface_flush(dc->target.s);
  cairo_surface_flush(mask);
  unsigned char* dst = cairo_image_surface_get_data(dc->target.s);
  int stride = cairo_image_surface_get_stride(dc->target.s);
  unsigned char* m = cairo_image_surface_get_data(mask);
  int mstride = cairo_image_surface_get_stride(mask);
  int w = cairo_image_surface_get_width(dc->target.s), h = cairo_image_surface_get_height(dc->target.s);
  uint32_t pen = (uint32_t(GetRValue(color)) << 16) | (uint32_t(GetGValue(color)) << 8) | GetBValue(color);
  Region clip = ClipOf(dc);
  for (const RECT& r : clip.Rects()) {
    for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, h); ++y) {
      auto* row = reinterpret_cast<uint32_t*>(dst + y * stride);
      for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, w); ++x) {
        if (m[y * mstride + x] < 128) continue;
        uint32_t d = row[x] & 0xFFFFFF;
        uint32_t out = d;
        switch (rop) {
          case R2_NOT: out = ~d; break;
          case R2_XORPEN: out = d ^ pen; break;
          case R2_NOTXORPEN: out = ~(d ^ pen); break;
          case R2_BLACK: out = 0; break;
          case R2_WHITE: out = 0xFFFFFF; break;
          case R2_NOTCOPYPEN: out = ~pen; break;
          case R2_MASKPEN: out = d & pen; break;
          case R2_MERGEPEN: out = d | pen; break;
          case R2_NOP: out = d; break;
          default: out = pen; break;
        }
        row[x] = 0xFF000000u | (out & 0xFFFFFF);
      }
    }
  }
  cairo_surface_mark_dirty(dc->target.s);
}

// Runs a shape through the DC: with the copy-pen mode it is drawn directly;
// with other modes it is rasterised to a mask first and combined per pixel.
template <class Shape>
void DrawShape(DCObj* dc, COLORREF color, Shape&& shape) {
  if (dc->st.rop2 == R2_COPYPEN) {
    Paint p(dc);
    p.Color(color);
    shape(p.cr);
    return;
  }
  int w = cairo_image_surface_get_width(dc->target.s), h = cairo_image_surface_get_height(dc->target.s);
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  cairo_t* cr = cairo_create(mask);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  POINT o = ToSurface(dc, 0, 0);
  cairo_translate(cr, o.x, o.y);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  shape(cr);
  cairo_destroy(cr);
  ApplyRop(dc, mask, color, dc->st.rop2);
  cairo_surface_destroy(mask);
}

PenObj PenOf(DCObj* dc) {
  if (PenObj* p = Get<PenObj>(dc->st.pen)) return *p;
  return PenObj{};
}

void SetDash(cairo_t* cr, const PenObj& pen) {
  static const double dot[] = {1, 1}, dash[] = {6, 2}, dashdot[] = {6, 2, 1, 2}, dashdotdot[] = {6, 2, 1, 2, 1, 2};
  switch (pen.style & PS_STYLE_MASK) {
    case PS_DOT: case PS_ALTERNATE: cairo_set_dash(cr, dot, 2, 0); break;
    case PS_DASH: cairo_set_dash(cr, dash, 2, 0); break;
    case PS_DASHDOT: cairo_set_dash(cr, dashdot, 4, 0); break;
    case PS_DASHDOTDOT: cairo_set_dash(cr, dashdotdot, 6, 0); break;
    default: break;
  }
}

bool PenVisible(const PenObj& pen) { return (pen.style & PS_STYLE_MASK) != PS_NULL; }

void StrokeWithPen(DCObj* dc, const PenObj& pen, const std::function<void(cairo_t*)>& path) {
  if (!PenVisible(pen)) return;
  DrawShape(dc, pen.color, [&](cairo_t* cr) {
    cairo_set_line_width(cr, std::max(pen.width, 1));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    SetDash(cr, pen);
    path(cr);
    cairo_stroke(cr);
  });
}

void FillWithBrush(DCObj* dc, HGDIOBJ brushHandle, const std::function<void(cairo_t*)>& path) {
  BrushObj* b = Get<BrushObj>(brushHandle);
  if (!b || b->style == BS_NULL) return;
  if (b->style == BS_HATCHED) {
    DrawShape(dc, b->color, [&](cairo_t* cr) {
      path(cr);
      cairo_clip(cr);
      double x1, y1, x2, y2;
      cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
      cairo_set_line_width(cr, 1);
      for (double x = std::floor(x1 / 8) * 8 - (y2 - y1); x < x2 + (y2 - y1); x += 8) {
        cairo_move_to(cr, x + 0.5, y1);
        cairo_line_to(cr, x + 0.5 + (y2 - y1), y2);
      }
      cairo_stroke(cr);
    });
    return;
  }
  if (b->pattern.s && dc->st.rop2 == R2_COPYPEN) {
    Paint p(dc);
    cairo_pattern_t* pat = cairo_pattern_create_for_surface(b->pattern.s);
    cairo_pattern_set_extend(pat, CAIRO_EXTEND_REPEAT);
    cairo_set_source(p.cr, pat);
    path(p.cr);
    cairo_fill(p.cr);
    cairo_pattern_destroy(pat);
    return;
  }
  DrawShape(dc, b->color, [&](cairo_t* cr) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    path(cr);
    cairo_fill(cr);
  });
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

}  // namespace

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

HICON CreateIconFromSurface(cairo_surface_t* surface, bool cursor) {
  IconObj icon;
  icon.surface = SurfaceRef(cairo_surface_reference(surface));
  icon.cursor = cursor;
  return NewObject<HICON>(std::move(icon));
}

cairo_surface_t* IconSurface(HICON icon) {
  IconObj* i = Get<IconObj>(icon);
  return i ? i->surface.s : nullptr;
}

HBITMAP CreateBitmapFromSurface(cairo_surface_t* surface) {
  BitmapObj b;
  b.surface = SurfaceRef(cairo_surface_reference(surface));
  return NewObject<HBITMAP>(std::move(b));
}

cairo_surface_t* BitmapSurface(HBITMAP bitmap) {
  BitmapObj* b = Get<BitmapObj>(bitmap);
  return b ? b->surface.s : nullptr;
}

namespace {
struct PngReader {
  const unsigned char* data;
  size_t size;
  size_t pos;
};
cairo_status_t ReadPng(void* closure, unsigned char* out, unsigned int length) {
  auto* r = static_cast<PngReader*>(closure);
  if (r->size - r->pos < length) return CAIRO_STATUS_READ_ERROR;
  memcpy(out, r->data + r->pos, length);
  r->pos += length;
  return CAIRO_STATUS_SUCCESS;
}
}  // namespace

cairo_surface_t* DecodePng(const unsigned char* data, size_t size) {
  if (!data || size < 8) return nullptr;
  PngReader reader{data, size, 0};
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(ReadPng, &reader);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  if (cairo_image_surface_get_format(s) != CAIRO_FORMAT_ARGB32) {
    cairo_surface_t* conv = NewSurface(cairo_image_surface_get_width(s), cairo_image_surface_get_height(s));
    cairo_t* cr = cairo_create(conv);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    s = conv;
  }
  return s;
}

}  // namespace win::gdi

using namespace win::gdi;

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  long long p = static_cast<long long>(number) * numerator;
  long long half = std::llabs(denominator) / 2;
  long long q = (p >= 0) == (denominator > 0) ? (std::llabs(p) + half) / std::llabs(denominator)
                                              : -((std::llabs(p) + half) / std::llabs(denominator));
  if (q > INT32_MAX || q < INT32_MIN) return -1;
  return static_cast<int>(q);
}

// ---------------------------------------------------------------- objects API

HGDIOBJ GetStockObject(int index) {
  Tables& t = T();
  auto it = t.stock.find(index);
  if (it != t.stock.end()) return it->second;
  HGDIOBJ h = nullptr;
  switch (index) {
    case WHITE_BRUSH: h = NewObject<HGDIOBJ>(BrushObj{BS_SOLID, RGB(255, 255, 255), 0, {}}, true); break;
    case LTGRAY_BRUSH: h = NewObject<HGDIOBJ>(BrushObj{BS_SOLID, RGB(192, 192, 192), 0, {}}, true); break;
    case GRAY_BRUSH: h = NewObject<HGDIOBJ>(BrushObj{BS_SOLID, RGB(128, 128, 128), 0, {}}, true); break;
    case DKGRAY_BRUSH: h = NewObject<HGDIOBJ>(BrushObj{BS_SOLID, RGB(64, 64, 64), 0, {}}, true); break;
    case BLACK_BRUSH: h = NewObject<HGDIOBJ>(BrushObj{BS_SOLID, RGB(0, 0, 0), 0, {}}, true); break;
    case NULL_BRUSH: h = NewObject<HGDIOBJ>(BrushObj{BS_NULL, 0, 0, {}}, true); break;
    case WHITE_PEN: h = NewObject<HGDIOBJ>(PenObj{PS_SOLID, 1, RGB(255, 255, 255)}, true); break;
    case BLACK_PEN: h = NewObject<HGDIOBJ>(PenObj{PS_SOLID, 1, RGB(0, 0, 0)}, true); break;
    case NULL_PEN: h = NewObject<HGDIOBJ>(PenObj{PS_NULL, 1, 0}, true); break;
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT:
    case ANSI_VAR_FONT:
    case DEVICE_DEFAULT_FONT:
      h = NewObject<HGDIOBJ>(FontObj{MakeLogFont(-11, FW_NORMAL, L"MS Shell Dlg")}, true);
      break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
      h = NewObject<HGDIOBJ>(FontObj{MakeLogFont(-12, FW_NORMAL, L"Courier New")}, true);
      break;
    default: return nullptr;
  }
  t.stock[index] = h;
  return h;
}

HBRUSH GetSysColorBrush(int index) {
  Tables& t = T();
  auto it = t.sysBrushes.find(index);
  if (it != t.sysBrushes.end()) return it->second;
  HBRUSH b = NewObject<HBRUSH>(BrushObj{BS_SOLID, GetSysColor(index), 0, {}}, true);
  t.sysBrushes[index] = b;
  return b;
}

BOOL DeleteObject(HGDIOBJ object) {
  auto& objs = T().objects;
  auto it = objs.find(reinterpret_cast<uintptr_t>(object));
  if (it == objs.end()) return FALSE;
  if (it->second.stock) return TRUE;
  // Objects still selected into a context are not deleted, as on the original.
  for (auto& [id, dc] : T().dcs) {
    (void)id;
    if (dc->st.pen == object || dc->st.brush == object || dc->st.font == object || dc->bitmap == object) return FALSE;
  }
  objs.erase(it);
  return TRUE;
}

DWORD GetObjectType(HGDIOBJ object) {
  if (DCFrom(static_cast<HDC>(object))) return DCFrom(static_cast<HDC>(object))->memory ? OBJ_MEMDC : OBJ_DC;
  auto& objs = T().objects;
  auto it = objs.find(reinterpret_cast<uintptr_t>(object));
  if (it == objs.end()) return 0;
  switch (it->second.obj.index()) {
    case 0: return OBJ_PEN;
    case 1: return OBJ_BRUSH;
    case 2: return OBJ_FONT;
    case 3: return OBJ_BITMAP;
    case 4: return OBJ_REGION;
    default: return 0;
  }
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
  if (FontObj* f = Get<FontObj>(object)) {
    if (!buffer) return sizeof(LOGFONTW);
    if (size < static_cast<int>(sizeof(LOGFONTW))) return 0;
    memcpy(buffer, &f->lf, sizeof(LOGFONTW));
    return sizeof(LOGFONTW);
  }
  if (BitmapObj* b = Get<BitmapObj>(object)) {
    if (!buffer) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP bm{};
    bm.bmWidth = cairo_image_surface_get_width(b->surface.s);
    bm.bmHeight = cairo_image_surface_get_height(b->surface.s);
    bm.bmWidthBytes = cairo_image_surface_get_stride(b->surface.s);
    bm.bmPlanes = 1;
    bm.bmBitsPixel = 32;
    memcpy(buffer, &bm, sizeof bm);
    return sizeof bm;
  }
  if (PenObj* p = Get<PenObj>(object)) {
    if (!buffer) return sizeof(LOGPEN);
    if (size < static_cast<int>(sizeof(LOGPEN))) return 0;
    LOGPEN lp{static_cast<UINT>(p->style), {p->width, 0}, p->color};
    memcpy(buffer, &lp, sizeof lp);
    return sizeof lp;
  }
  if (BrushObj* br = Get<BrushObj>(object)) {
    if (!buffer) return sizeof(LOGBRUSH);
    if (size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
    LOGBRUSH lb{static_cast<UINT>(br->style), br->color, static_cast<ULONG_PTR>(br->hatch)};
    memcpy(buffer, &lb, sizeof lb);
    return sizeof lb;
  }
  return 0;
}

HPEN CreatePen(int style, int width, COLORREF color) { return NewObject<HPEN>(PenObj{style, std::max(width, 1), color}); }
HPEN CreatePenIndirect(const LOGPEN* pen) {
  return pen ? CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor) : nullptr;
}
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD, const DWORD*) {
  return CreatePen(static_cast<int>(style & PS_STYLE_MASK), static_cast<int>(width), brush ? brush->lbColor : 0);
}
HBRUSH CreateSolidBrush(COLORREF color) { return NewObject<HBRUSH>(BrushObj{BS_SOLID, color, 0, {}}); }
HBRUSH CreateHatchBrush(int hatch, COLORREF color) { return NewObject<HBRUSH>(BrushObj{BS_HATCHED, color, hatch, {}}); }
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  return NewObject<HBRUSH>(BrushObj{static_cast<int>(brush->lbStyle), brush->lbColor, static_cast<int>(brush->lbHatch), {}});
}
HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  BitmapObj* b = Get<BitmapObj>(bitmap);
  if (!b) return nullptr;
  BrushObj br{BS_SOLID, 0, 0, b->surface};
  return NewObject<HBRUSH>(std::move(br));
}
HFONT CreateFontIndirectW(const LOGFONTW* font) {
  if (!font) return nullptr;
  FontObj f{*font};
  f.lf.lfFaceName[LF_FACESIZE - 1] = 0;
  return NewObject<HFONT>(f);
}
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCWSTR faceName) {
  LOGFONTW lf = MakeLogFont(height, weight, faceName ? faceName : L"");
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfItalic = static_cast<BYTE>(italic != 0);
  lf.lfUnderline = static_cast<BYTE>(underline != 0);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  return CreateFontIndirectW(&lf);
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  if (width < 0 || height < 0) return nullptr;
  cairo_surface_t* s = NewSurface(width, height);
  // A new bitmap is black, as a screen-compatible bitmap starts.
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  HBITMAP b = CreateBitmapFromSurface(s);
  cairo_surface_destroy(s);
  return b;
}

HBITMAP CreateBitmap(int width, int height, UINT, UINT bitsPerPixel, const void* bits) {
  HBITMAP b = CreateCompatibleBitmap(nullptr, width, height);
  if (bits && bitsPerPixel == 32) SetBitmapBits(b, static_cast<DWORD>(width * height * 4), bits);
  return b;
}

LONG GetBitmapBits(HBITMAP bitmap, LONG bytes, LPVOID bits) {
  BitmapObj* b = Get<BitmapObj>(bitmap);
  if (!b || !bits) return 0;
  cairo_surface_flush(b->surface.s);
  int w = cairo_image_surface_get_width(b->surface.s), h = cairo_image_surface_get_height(b->surface.s);
  int stride = cairo_image_surface_get_stride(b->surface.s);
  const unsigned char* data = cairo_image_surface_get_data(b->surface.s);
  LONG done = 0;
  for (int y = 0; y < h && done + w * 4 <= bytes; ++y) {
    memcpy(static_cast<unsigned char*>(bits) + done, data + y * stride, static_cast<size_t>(w) * 4);
    done += w * 4;
  }
  return done;
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD bytes, const void* bits) {
  BitmapObj* b = Get<BitmapObj>(bitmap);
  if (!b || !bits) return 0;
  cairo_surface_flush(b->surface.s);
  int w = cairo_image_surface_get_width(b->surface.s), h = cairo_image_surface_get_height(b->surface.s);
  int stride = cairo_image_surface_get_stride(b->surface.s);
  unsigned char* data = cairo_image_surface_get_data(b->surface.s);
  LONG done = 0;
  for (int y = 0; y < h && done + w * 4 <= static_cast<LONG>(bytes); ++y) {
    memcpy(data + y * stride, static_cast<const unsigned char*>(bits) + done, static_cast<size_t>(w) * 4);
    done += w * 4;
  }
  cairo_surface_mark_dirty(b->surface.s);
  return done;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return NewObject<HRGN>(RegionObj{Region(RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                                                std::max(top, bottom)})});
}
HRGN CreateRectRgnIndirect(const RECT* rect) {
  return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}
int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
  RegionObj* d = Get<RegionObj>(dst);
  RegionObj* ra = Get<RegionObj>(a);
  RegionObj* rb = Get<RegionObj>(b);
  if (!d || !ra || (mode != RGN_COPY && !rb)) return ERROR;
  Region r;
  switch (mode) {
    case RGN_AND: r = ra->region.Intersect(rb->region); break;
    case RGN_OR: r = ra->region.Union(rb->region); break;
    case RGN_XOR: r = ra->region.Xor(rb->region); break;
    case RGN_DIFF: r = ra->region.Subtract(rb->region); break;
    case RGN_COPY: r = ra->region; break;
    default: return ERROR;
  }
  d->region = std::move(r);
  return d->region.Complexity();
}
BOOL PtInRegion(HRGN region, int x, int y) {
  RegionObj* r = Get<RegionObj>(region);
  return r && r->region.Contains(x, y);
}
int GetRgnBox(HRGN region, LPRECT rect) {
  RegionObj* r = Get<RegionObj>(region);
  if (!r || !rect) return ERROR;
  *rect = r->region.Box();
  return r->region.Complexity();
}
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  RegionObj* r = Get<RegionObj>(region);
  if (!r) return FALSE;
  r->region = Region(RECT{left, top, right, bottom});
  return TRUE;
}
int OffsetRgn(HRGN region, int dx, int dy) {
  RegionObj* r = Get<RegionObj>(region);
  if (!r) return ERROR;
  r->region.Offset(dx, dy);
  return r->region.Complexity();
}

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

// ---------------------------------------------------------------- shapes

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->st.pos;
  dc->st.pos = {x, y};
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT point) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !point) return FALSE;
  *point = dc->st.pos;
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  POINT from = dc->st.pos;
  PenObj pen = PenOf(dc);
  StrokeWithPen(dc, pen, [&](cairo_t* cr) {
    double off = (std::max(pen.width, 1) % 2) ? 0.5 : 0.0;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_move_to(cr, from.x + off, from.y + off);
    cairo_line_to(cr, x + off, y + off);
  });
  dc->st.pos = {x, y};
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !points || count < 2) return FALSE;
  PenObj pen = PenOf(dc);
  StrokeWithPen(dc, pen, [&](cairo_t* cr) {
    double off = (std::max(pen.width, 1) % 2) ? 0.5 : 0.0;
    cairo_move_to(cr, points[0].x + off, points[0].y + off);
    for (int i = 1; i < count; ++i) cairo_line_to(cr, points[i].x + off, points[i].y + off);
  });
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !points || count < 2) return FALSE;
  auto path = [&](cairo_t* cr, double off) {
    cairo_move_to(cr, points[0].x + off, points[0].y + off);
    for (int i = 1; i < count; ++i) cairo_line_to(cr, points[i].x + off, points[i].y + off);
    cairo_close_path(cr);
  };
  FillWithBrush(dc, dc->st.brush, [&](cairo_t* cr) { path(cr, 0.0); });
  PenObj pen = PenOf(dc);
  StrokeWithPen(dc, pen, [&](cairo_t* cr) { path(cr, (pen.width % 2) ? 0.5 : 0.0); });
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  PenObj pen = PenOf(dc);
  int pw = PenVisible(pen) ? std::max(pen.width, 1) : 0;
  FillWithBrush(dc, dc->st.brush, [&](cairo_t* cr) {
    cairo_rectangle(cr, left + pw, top + pw, right - left - 2 * pw, bottom - top - 2 * pw);
  });
  StrokeWithPen(dc, pen, [&](cairo_t* cr) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    double h = pw / 2.0;
    cairo_rectangle(cr, left + h, top + h, right - left - pw, bottom - top - pw);
  });
  return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  auto path = [&](cairo_t* cr, double inset) {
    double rx = width / 2.0, ry = height / 2.0;
    double l = left + inset, t = top + inset, r = right - inset, b = bottom - inset;
    if (rx <= 0 || ry <= 0) {
      cairo_rectangle(cr, l, t, r - l, b - t);
      return;
    }
    cairo_new_sub_path(cr);
    cairo_save(cr);
    cairo_translate(cr, r - rx, t + ry);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, -M_PI / 2, 0);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, r - rx, b - ry);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, M_PI / 2);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, l + rx, b - ry);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, M_PI / 2, M_PI);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, l + rx, t + ry);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, M_PI, 3 * M_PI / 2);
    cairo_restore(cr);
    cairo_close_path(cr);
  };
  FillWithBrush(dc, dc->st.brush, [&](cairo_t* cr) { path(cr, 0.5); });
  StrokeWithPen(dc, PenOf(dc), [&](cairo_t* cr) { path(cr, 0.5); });
  return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  auto path = [&](cairo_t* cr, double inset) {
    double w = right - left - 2 * inset, h = bottom - top - 2 * inset;
    if (w <= 0 || h <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, left + inset + w / 2, top + inset + h / 2);
    cairo_scale(cr, w / 2, h / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
  };
  FillWithBrush(dc, dc->st.brush, [&](cairo_t* cr) { path(cr, 0.5); });
  StrokeWithPen(dc, PenOf(dc), [&](cairo_t* cr) { path(cr, 0.5); });
  return TRUE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !rect) return FALSE;
  // A brush value of a system colour index plus one stands for that colour.
  if (reinterpret_cast<uintptr_t>(brush) > 0 && reinterpret_cast<uintptr_t>(brush) <= 31)
    brush = GetSysColorBrush(static_cast<int>(reinterpret_cast<uintptr_t>(brush)) - 1);
  int saved = dc->st.rop2;
  dc->st.rop2 = R2_COPYPEN;
  FillWithBrush(dc, brush, [&](cairo_t* cr) {
    cairo_rectangle(cr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
  });
  dc->st.rop2 = saved;
  return TRUE;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  if (!rect) return FALSE;
  RECT r = *rect;
  RECT sides[4] = {{r.left, r.top, r.right, r.top + 1},
                   {r.left, r.bottom - 1, r.right, r.bottom},
                   {r.left, r.top, r.left + 1, r.bottom},
                   {r.right - 1, r.top, r.right, r.bottom}};
  for (const RECT& s : sides) FillRect(hdc, &s, brush);
  return TRUE;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !rect) return FALSE;
  int saved = dc->st.rop2;
  dc->st.rop2 = R2_NOT;
  DrawShape(dc, 0, [&](cairo_t* cr) {
    cairo_rectangle(cr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    cairo_fill(cr);
  });
  dc->st.rop2 = saved;
  return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !rect) return FALSE;
  // A dotted frame drawn by inversion, so that drawing it twice removes it.
  int saved = dc->st.rop2;
  dc->st.rop2 = R2_NOT;
  DrawShape(dc, 0, [&](cairo_t* cr) {
    for (int x = rect->left; x < rect->right; x += 2) {
      cairo_rectangle(cr, x, rect->top, 1, 1);
      cairo_rectangle(cr, x, rect->bottom - 1, 1, 1);
    }
    for (int y = rect->top + 2; y < rect->bottom - 1; y += 2) {
      cairo_rectangle(cr, rect->left, y, 1, 1);
      cairo_rectangle(cr, rect->right - 1, y, 1, 1);
    }
    cairo_fill(cr);
  });
  dc->st.rop2 = saved;
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return CLR_INVALID;
  // A point off the surface or outside the clipping region is not set.
  POINT s = ToSurface(dc, x, y);
  int w = cairo_image_surface_get_width(dc->target.s), h = cairo_image_surface_get_height(dc->target.s);
  if (s.x < 0 || s.y < 0 || s.x >= w || s.y >= h || !ClipOf(dc).Contains(s.x, s.y)) return CLR_INVALID;
  Paint p(dc);
  p.Color(color);
  cairo_rectangle(p.cr, x, y, 1, 1);
  cairo_fill(p.cr);
  return color;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return CLR_INVALID;
  POINT s = ToSurface(dc, x, y);
  int w = cairo_image_surface_get_width(dc->target.s), h = cairo_image_surface_get_height(dc->target.s);
  if (s.x < 0 || s.y < 0 || s.x >= w || s.y >= h || !ClipOf(dc).Contains(s.x, s.y)) return CLR_INVALID;
  cairo_surface_flush(dc->target.s);
  const unsigned char* data = cairo_image_surface_get_data(dc->target.s);
  uint32_t px = *reinterpret_cast<const uint32_t*>(data + s.y * cairo_image_surface_get_stride(dc->target.s) + s.x * 4);
  return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

// ---------------------------------------------------------------- blits

namespace {
uint32_t Rop3(DWORD rop, uint32_t d, uint32_t s, uint32_t p) {
  switch (rop) {
    case SRCCOPY: return s;
    case SRCPAINT: return d | s;
    case SRCAND: return d & s;
    case SRCINVERT: return d ^ s;
    case NOTSRCCOPY: return ~s;
    case PATCOPY: return p;
    case PATINVERT: return d ^ p;
    case DSTINVERT: return ~d;
    case BLACKNESS: return 0;
    case WHITENESS: return 0xFFFFFF;
    default: return s;
  }
}

BOOL Blit(DCObj* dst, int x, int y, int w, int h, DCObj* src, int sx, int sy, int sw, int sh, DWORD rop,
          std::optional<COLORREF> transparent) {
  if (w == 0 || h == 0) return TRUE;
  BrushObj* br = Get<BrushObj>(dst->st.brush);
  uint32_t pat = br ? ((uint32_t(GetRValue(br->color)) << 16) | (uint32_t(GetGValue(br->color)) << 8) | GetBValue(br->color)) : 0;
  if (src) cairo_surface_flush(src->target.s);
  cairo_surface_flush(dst->target.s);
  unsigned char* dd = cairo_image_surface_get_data(dst->target.s);
  int dstride = cairo_image_surface_get_stride(dst->target.s);
  int dw = cairo_image_surface_get_width(dst->target.s), dh = cairo_image_surface_get_height(dst->target.s);
  const unsigned char* sd = src ? cairo_image_surface_get_data(src->target.s) : nullptr;
  int sstride = src ? cairo_image_surface_get_stride(src->target.s) : 0;
  Region clip = ClipOf(dst);
  POINT d0 = ToSurface(dst, x, y);
  POINT s0 = src ? ToSurface(src, sx, sy) : POINT{0, 0};
  Region srcClip = src ? ClipOf(src) : Region();
  Region area = clip.Intersect(Region(RECT{d0.x, d0.y, d0.x + w, d0.y + h}));
  uint32_t key = transparent ? ((uint32_t(GetRValue(*transparent)) << 16) | (uint32_t(GetGValue(*transparent)) << 8) |
                                GetBValue(*transparent))
                             : 0;
  for (const RECT& r : area.Rects()) {
    for (int py = std::max<LONG>(r.top, 0); py < std::min<LONG>(r.bottom, dh); ++py) {
      auto* row = reinterpret_cast<uint32_t*>(dd + py * dstride);
      for (int px = std::max<LONG>(r.left, 0); px < std::min<LONG>(r.right, dw); ++px) {
        uint32_t s = 0;
        if (src) {
          int ox = s0.x + static_cast<int>((static_cast<long long>(px - d0.x) * sw) / w);
          int oy = s0.y + static_cast<int>((static_cast<long long>(py - d0.y) * sh) / h);
          if (!srcClip.Contains(ox, oy)) continue;
          s = *reinterpret_cast<const uint32_t*>(sd + oy * sstride + ox * 4) & 0xFFFFFF;
          if (transparent && s == key) continue;
        }
        row[px] = 0xFF000000u | (Rop3(rop, row[px] & 0xFFFFFF, s, pat) & 0xFFFFFF);
      }
    }
  }
  cairo_surface_mark_dirty(dst->target.s);
  return TRUE;
}
}  // namespace

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  if (width < 0) { x += width; width = -width; }
  if (height < 0) { y += height; height = -height; }
  return Blit(dc, x, y, width, height, nullptr, 0, 0, 0, 0, rop, std::nullopt);
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  DCObj* d = DCFrom(dst);
  DCObj* s = DCFrom(src);
  if (!d) return FALSE;
  if (!s && rop != PATCOPY && rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS) return FALSE;
  return Blit(d, x, y, width, height, s, srcX, srcY, width, height, rop, std::nullopt);
}

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth, int srcHeight,
                DWORD rop) {
  DCObj* d = DCFrom(dst);
  DCObj* s = DCFrom(src);
  if (!d || !s || width <= 0 || height <= 0) return FALSE;
  return Blit(d, x, y, width, height, s, srcX, srcY, srcWidth, srcHeight, rop, std::nullopt);
}

BOOL TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparent) {
  DCObj* d = DCFrom(dst);
  DCObj* s = DCFrom(src);
  if (!d || !s || width <= 0 || height <= 0) return FALSE;
  return Blit(d, x, y, width, height, s, srcX, srcY, srcWidth, srcHeight, SRCCOPY, transparent);
}

// ---------------------------------------------------------------- 3-D edges and frame controls

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !rect) return FALSE;
  RECT r = *rect;
  auto line = [&](COLORREF c, int x1, int y1, int x2, int y2) {
    RECT f{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
    HBRUSH b = CreateSolidBrush(c);
    FillRect(hdc, &f, b);
    DeleteObject(b);
  };
  auto ring = [&](COLORREF topLeft, COLORREF bottomRight) {
    if (r.right - r.left < 1 || r.bottom - r.top < 1) return;
    if (flags & BF_TOP) line(topLeft, r.left, r.top, r.right - 1, r.top);
    if (flags & BF_LEFT) line(topLeft, r.left, r.top, r.left, r.bottom - 1);
    if (flags & BF_BOTTOM) line(bottomRight, r.left, r.bottom - 1, r.right - 1, r.bottom - 1);
    if (flags & BF_RIGHT) line(bottomRight, r.right - 1, r.top, r.right - 1, r.bottom - 1);
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_RIGHT) --r.right;
    if (flags & BF_BOTTOM) --r.bottom;
  };
  COLORREF light = GetSysColor(COLOR_3DLIGHT), hi = GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), dark = GetSysColor(COLOR_3DDKSHADOW);
  if (flags & (BF_FLAT | BF_MONO)) {
    COLORREF c = (flags & BF_MONO) ? dark : shadow;
    if (edge & BDR_OUTER) ring(c, c);
    if (edge & BDR_INNER) ring(flags & BF_MONO ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE),
                               flags & BF_MONO ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE));
  } else {
    if (edge & BDR_RAISEDOUTER) ring(light, dark);
    else if (edge & BDR_SUNKENOUTER) ring(shadow, hi);
    if (edge & BDR_RAISEDINNER) ring(hi, shadow);
    else if (edge & BDR_SUNKENINNER) ring(dark, light);
  }
  if (flags & BF_MIDDLE) FillRect(hdc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}

namespace {
void FillTriangle(HDC hdc, POINT a, POINT b, POINT c, COLORREF color) {
  HBRUSH br = CreateSolidBrush(color);
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ ob = SelectObject(hdc, br);
  HGDIOBJ op = SelectObject(hdc, pen);
  POINT pts[3] = {a, b, c};
  Polygon(hdc, pts, 3);
  SelectObject(hdc, ob);
  SelectObject(hdc, op);
  DeleteObject(br);
  DeleteObject(pen);
}
}  // namespace

BOOL DrawFrameControl(HDC hdc, LPRECT rect, UINT type, UINT state) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !rect) return FALSE;
  RECT r = *rect;
  COLORREF text = (state & DFCS_INACTIVE) ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(COLOR_BTNTEXT);
  if (type == DFC_BUTTON && (state & 0x00FF & ~DFCS_BUTTON3STATE) == DFCS_BUTTONPUSH) {
    DrawEdge(hdc, &r, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED,
             BF_RECT | BF_MIDDLE | BF_ADJUST | ((state & DFCS_FLAT) ? BF_FLAT : 0));
    return TRUE;
  }
  if (type == DFC_BUTTON && ((state & 0xFF) == DFCS_BUTTONCHECK || (state & 0xFF) == DFCS_BUTTON3STATE)) {
    int size = std::min(r.right - r.left, r.bottom - r.top);
    RECT box{r.left, r.top + (r.bottom - r.top - size) / 2, r.left + size, r.top + (r.bottom - r.top - size) / 2 + size};
    RECT inner = box;
    DrawEdge(hdc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST | ((state & DFCS_FLAT) ? BF_FLAT : 0));
    FillRect(hdc, &inner, GetSysColorBrush((state & (DFCS_INACTIVE | DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW));
    if (state & DFCS_CHECKED) {
      HPEN pen = CreatePen(PS_SOLID, 2, text);
      HGDIOBJ old = SelectObject(hdc, pen);
      int w = inner.right - inner.left, h = inner.bottom - inner.top;
      POINT pts[3] = {{inner.left + w / 5, inner.top + h / 2},
                      {inner.left + w * 2 / 5, inner.top + h * 3 / 4},
                      {inner.left + w * 4 / 5, inner.top + h / 4}};
      Polyline(hdc, pts, 3);
      SelectObject(hdc, old);
      DeleteObject(pen);
    }
    return TRUE;
  }
  if (type == DFC_BUTTON && (state & 0xFF) == DFCS_BUTTONRADIO) {
    HBRUSH br = GetSysColorBrush(COLOR_WINDOW);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ ob = SelectObject(hdc, br), op = SelectObject(hdc, pen);
    Ellipse(hdc, r.left, r.top, r.right, r.bottom);
    if (state & DFCS_CHECKED) {
      SelectObject(hdc, GetStockObject(BLACK_BRUSH));
      int cx = (r.right - r.left) / 4, cy = (r.bottom - r.top) / 4;
      Ellipse(hdc, r.left + cx, r.top + cy, r.right - cx, r.bottom - cy);
    }
    SelectObject(hdc, ob);
    SelectObject(hdc, op);
    DeleteObject(pen);
    return TRUE;
  }
  if (type == DFC_SCROLL || type == DFC_CAPTION) {
    DrawEdge(hdc, &r, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED,
             BF_RECT | BF_MIDDLE | BF_ADJUST | ((state & DFCS_FLAT) ? BF_FLAT : 0));
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    int s = std::max(2, std::min(r.right - r.left, r.bottom - r.top) / 4);
    if (type == DFC_CAPTION) {
      HPEN pen = CreatePen(PS_SOLID, 2, text);
      HGDIOBJ old = SelectObject(hdc, pen);
      MoveToEx(hdc, cx - s, cy - s, nullptr);
      LineTo(hdc, cx + s, cy + s);
      MoveToEx(hdc, cx + s, cy - s, nullptr);
      LineTo(hdc, cx - s, cy + s);
      SelectObject(hdc, old);
      DeleteObject(pen);
      return TRUE;
    }
    switch (state & 0xFF) {
      case DFCS_SCROLLUP: FillTriangle(hdc, {cx - s, cy + s / 2}, {cx + s, cy + s / 2}, {cx, cy - s / 2}, text); break;
      case DFCS_SCROLLLEFT: FillTriangle(hdc, {cx + s / 2, cy - s}, {cx + s / 2, cy + s}, {cx - s / 2, cy}, text); break;
      case DFCS_SCROLLRIGHT: FillTriangle(hdc, {cx - s / 2, cy - s}, {cx - s / 2, cy + s}, {cx + s / 2, cy}, text); break;
      default: FillTriangle(hdc, {cx - s, cy - s / 2}, {cx + s, cy - s / 2}, {cx, cy + s / 2}, text); break;
    }
    return TRUE;
  }
  return FALSE;
}

// ---------------------------------------------------------------- text

namespace {

// Removes the mnemonic ampersands: "&&" is an ampersand, "&x" is x.
std::wstring StripPrefix(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) {
      ++i;
      out += text[i];
    } else if (text[i] != L'&') {
      out += text[i];
    }
  }
  return out;
}

std::wstring_view Counted(LPCWSTR text, int count) {
  if (!text) return {};
  return count < 0 ? std::wstring_view(text) : std::wstring_view(text, static_cast<size_t>(count));
}

void ShowLayout(DCObj* dc, PangoLayout* layout, double x, double y, const RECT* opaque) {
  Paint p(dc);
  if (opaque && dc->st.bkMode == OPAQUE) {
    p.Color(dc->st.bkColor);
    cairo_rectangle(p.cr, opaque->left, opaque->top, opaque->right - opaque->left, opaque->bottom - opaque->top);
    cairo_fill(p.cr);
  }
  p.Color(dc->st.textColor);
  cairo_move_to(p.cr, x, y);
  pango_cairo_show_layout(p.cr, layout);
}

}  // namespace

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !size) return FALSE;
  std::wstring_view t = Counted(text, count);
  Layout l(FontOf(dc), t);
  *size = l.Size();
  if (t.empty()) size->cx = 0;
  if (size->cy == 0 || t.empty()) {
    TEXTMETRICW tm;
    GetTextMetricsW(hdc, &tm);
    size->cy = tm.tmHeight;
  }
  return TRUE;
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW tm) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !tm) return FALSE;
  const LOGFONTW& lf = FontOf(dc);
  *tm = TEXTMETRICW{};
  FontDesc fd(lf);
  PangoFontMetrics* m = pango_context_get_metrics(Pango(), fd.d, nullptr);
  tm->tmAscent = PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(m));
  tm->tmDescent = PANGO_PIXELS_CEIL(pango_font_metrics_get_descent(m));
  tm->tmHeight = tm->tmAscent + tm->tmDescent;
  tm->tmMaxCharWidth = PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(m)) * 2;
  pango_font_metrics_unref(m);
  double em = lf.lfHeight < 0 ? -lf.lfHeight : tm->tmHeight * 0.86;
  tm->tmInternalLeading = std::max<LONG>(0, tm->tmHeight - static_cast<LONG>(std::lround(em)));
  Layout x(lf, L"x");
  tm->tmAveCharWidth = x.Size().cx;
  tm->tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
  tm->tmItalic = lf.lfItalic;
  tm->tmUnderlined = lf.lfUnderline;
  tm->tmStruckOut = lf.lfStrikeOut;
  tm->tmCharSet = lf.lfCharSet;
  tm->tmFirstChar = 0x20;
  tm->tmLastChar = 0xFFFF;
  tm->tmDefaultChar = L'?';
  tm->tmBreakChar = L' ';
  tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
  tm->tmPitchAndFamily = VARIABLE_PITCH;
  return TRUE;
}

int GetTextFaceW(HDC hdc, int count, LPWSTR faceName) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return 0;
  const LOGFONTW& lf = FontOf(dc);
  int len = static_cast<int>(wcslen(lf.lfFaceName));
  if (!faceName) return len + 1;
  if (count <= 0) return 0;
  int n = std::min(len, count - 1);
  wmemcpy(faceName, lf.lfFaceName, static_cast<size_t>(n));
  faceName[n] = 0;
  return n;
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT*) {
  DCObj* dc = DCFrom(hdc);
  if (!dc) return FALSE;
  std::wstring_view t = text ? std::wstring_view(text, count) : std::wstring_view();
  int savedMode = dc->st.bkMode;
  if ((options & ETO_OPAQUE) && rect) {
    HBRUSH b = CreateSolidBrush(dc->st.bkColor);
    FillRect(hdc, rect, b);
    DeleteObject(b);
  }
  std::optional<Region> savedClip;
  bool clipped = (options & ETO_CLIPPED) && rect;
  if (clipped) {
    savedClip = dc->st.userClip;
    IntersectClipRect(hdc, rect->left, rect->top, rect->right, rect->bottom);
  }
  if (!t.empty()) {
    Layout l(FontOf(dc), t);
    SIZE sz = l.Size();
    double px = x, py = y;
    UINT align = dc->st.textAlign;
    if ((align & TA_CENTER) == TA_CENTER) px -= sz.cx / 2.0;
    else if (align & TA_RIGHT) px -= sz.cx;
    if ((align & TA_BASELINE) == TA_BASELINE) py -= PANGO_PIXELS(pango_layout_get_baseline(l.l));
    else if (align & TA_BOTTOM) py -= sz.cy;
    RECT cell{static_cast<LONG>(px), static_cast<LONG>(py), static_cast<LONG>(px) + sz.cx, static_cast<LONG>(py) + sz.cy};
    ShowLayout(dc, l.l, px, py, (options & ETO_OPAQUE) ? nullptr : &cell);
  }
  if (clipped) dc->st.userClip = savedClip;
  dc->st.bkMode = savedMode;
  return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutW(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !rect) return 0;
  std::wstring t(Counted(text, count));
  if (!(format & DT_NOPREFIX)) t = StripPrefix(t);
  if (format & DT_SINGLELINE) {
    for (wchar_t& c : t)
      if (c == L'\r' || c == L'\n') c = L' ';
  } else {
    std::wstring norm;
    for (size_t i = 0; i < t.size(); ++i) {
      if (t[i] == L'\r') {
        norm += L'\n';
        if (i + 1 < t.size() && t[i + 1] == L'\n') ++i;
      } else {
        norm += t[i];
      }
    }
    t.swap(norm);
  }
  if (format & DT_EXPANDTABS) {
    std::wstring expanded;
    for (wchar_t c : t) expanded += (c == L'\t') ? std::wstring(8, L' ') : std::wstring(1, c);
    t.swap(expanded);
  }
  Layout l(FontOf(dc), t);
  int width = rect->right - rect->left;
  bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
  bool ellipsis = (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0;
  if (wrap && width > 0) {
    pango_layout_set_width(l.l, width * PANGO_SCALE);
    pango_layout_set_wrap(l.l, PANGO_WRAP_WORD_CHAR);
  } else if (ellipsis && width > 0 && !(format & DT_CALCRECT)) {
    pango_layout_set_width(l.l, width * PANGO_SCALE);
    pango_layout_set_ellipsize(l.l, (format & DT_PATH_ELLIPSIS) ? PANGO_ELLIPSIZE_MIDDLE : PANGO_ELLIPSIZE_END);
  }
  SIZE sz = l.Size();
  if (t.empty()) {
    TEXTMETRICW tm;
    GetTextMetricsW(hdc, &tm);
    sz = {0, tm.tmHeight};
  }
  if (format & DT_CALCRECT) {
    rect->right = rect->left + (wrap && width > 0 ? std::min<LONG>(sz.cx, width) : sz.cx);
    if (wrap && width > 0 && sz.cx > width) rect->right = rect->left + sz.cx;
    rect->bottom = rect->top + sz.cy;
    return sz.cy;
  }
  double x = rect->left, y = rect->top;
  bool layoutAligned = pango_layout_get_width(l.l) > 0;
  if (format & DT_CENTER) {
    if (layoutAligned) pango_layout_set_alignment(l.l, PANGO_ALIGN_CENTER);
    else x = rect->left + (width - sz.cx) / 2.0;
  } else if (format & DT_RIGHT) {
    if (layoutAligned) pango_layout_set_alignment(l.l, PANGO_ALIGN_RIGHT);
    else x = rect->right - sz.cx;
  }
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) y = rect->top + (rect->bottom - rect->top - sz.cy) / 2;
    else if (format & DT_BOTTOM) y = rect->bottom - sz.cy;
  }
  x = std::floor(x);
  y = std::floor(y);
  std::optional<Region> savedClip = dc->st.userClip;
  if (!(format & DT_NOCLIP)) IntersectClipRect(hdc, rect->left, rect->top, rect->right, rect->bottom);
  int lw = 0, lh = 0;
  pango_layout_get_pixel_size(l.l, &lw, &lh);
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(l.l, &ink, &logical);
  RECT cell{static_cast<LONG>(x) + logical.x, static_cast<LONG>(y), static_cast<LONG>(x) + logical.x + logical.width,
            static_cast<LONG>(y) + lh};
  ShowLayout(dc, l.l, x, y, &cell);
  dc->st.userClip = savedClip;
  return sz.cy;
}
