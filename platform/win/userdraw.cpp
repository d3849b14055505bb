// The USER side of drawing, apart from the device-context layer: filled,
// framed, inverted and focus rectangles, 3-D edges, frame controls (buttons,
// check boxes, radio buttons, scroll arrows, the close box) and formatted
// text (DrawText: prefixes, tabs, word wrap, ellipses, alignment).
#include <algorithm>
#include <cmath>

#include "gdistate.h"

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

}  // namespace

using namespace win::gdi;

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
  // The clip is narrowed to the rectangle only while the text is drawn.
  int saved = SaveDC(hdc);
  if (!(format & DT_NOCLIP)) IntersectClipRect(hdc, rect->left, rect->top, rect->right, rect->bottom);
  int lw = 0, lh = 0;
  pango_layout_get_pixel_size(l.l, &lw, &lh);
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(l.l, &ink, &logical);
  RECT cell{static_cast<LONG>(x) + logical.x, static_cast<LONG>(y), static_cast<LONG>(x) + logical.x + logical.width,
            static_cast<LONG>(y) + lh};
  ShowLayout(dc, l.l, x, y, &cell);
  RestoreDC(hdc, saved);
  return sz.cy;
}
