// Drawing through a device context: pens and brushes on Cairo paths, binary
// raster operations pixel by pixel (so R2_NOT and R2_XORPEN drawing undoes
// itself), lines and shapes, pixels, and bit blocks with ternary raster
// operations.
#include <algorithm>
#include <cmath>

#include "gdistate.h"

namespace win::gdi {

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

}  // namespace win::gdi

using namespace win::gdi;

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

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DCObj* dc = DCFrom(hdc);
  if (!dc || !PixelTarget(dc)) return CLR_INVALID;
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
  if (!dc || !PixelTarget(dc)) return CLR_INVALID;
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
  // Pixels are combined only between pixel surfaces.
  if (!PixelTarget(dst) || (src && !PixelTarget(src))) return FALSE;
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
  if (src && rop == SRCCOPY && !transparent && sw == w && sh == h && w > 0 && h > 0 &&
      Region(RECT{s0.x, s0.y, s0.x + w, s0.y + h}).Subtract(srcClip).Empty()) {
    // A plain copy at the same size from pixels all inside the source's clip
    // (a graphics device put into its window): rows copied as they are.
    for (const RECT& r : area.Rects()) {
      int x0 = std::max<LONG>(r.left, 0), x1 = std::min<LONG>(r.right, dw);
      for (int py = std::max<LONG>(r.top, 0); py < std::min<LONG>(r.bottom, dh); ++py) {
        auto* row = reinterpret_cast<uint32_t*>(dd + py * dstride);
        const auto* from = reinterpret_cast<const uint32_t*>(sd + (s0.y + py - d0.y) * sstride);
        for (int px = x0; px < x1; ++px) row[px] = 0xFF000000u | (from[s0.x + px - d0.x] & 0xFFFFFF);
      }
    }
    cairo_surface_mark_dirty(dst->target.s);
    return TRUE;
  }
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
