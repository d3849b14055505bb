// Drawing objects: the tables of objects and device contexts, stock objects
// and system-colour brushes, pens, brushes, fonts and bitmaps (made,
// described, deleted), icons and bitmaps over pixel surfaces, and PNG
// decoding.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "gdistate.h"

namespace win::gdi {

Tables& T() {
  static Tables t;
  return t;
}

DCObj* DCFrom(HDC hdc) {
  auto& dcs = T().dcs;
  auto it = dcs.find(reinterpret_cast<uintptr_t>(hdc));
  return it == dcs.end() ? nullptr : it->second.get();
}

cairo_surface_t* NewSurface(int w, int h) {
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(w, 1), std::max(h, 1));
}

LOGFONTW MakeLogFont(int height, int weight, const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
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
