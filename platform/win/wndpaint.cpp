// Painting: every top-level window draws onto a pixel surface of its own;
// a window's frame and caption, then its client area (WM_ERASEBKGND,
// WM_PAINT) and its children are painted onto its root's surface, clipped to
// what the ancestors leave visible. Device contexts of windows come from here.
#include <algorithm>

#include "wndstate.h"

namespace win::wnd {

cairo_surface_t* RootSurface(Window* root) {
  int w = std::max<LONG>(1, root->rect.right - root->rect.left);
  int h = std::max<LONG>(1, root->rect.bottom - root->rect.top);
  if (!root->surface || cairo_image_surface_get_width(root->surface) != w ||
      cairo_image_surface_get_height(root->surface) != h) {
    if (root->surface) cairo_surface_destroy(root->surface);
    root->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(root->surface);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    cairo_set_source_rgb(cr, gdi::Red(face), gdi::Green(face), gdi::Blue(face));
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  return root->surface;
}

// The part of the window's client area that its ancestors leave visible, in
// root surface coordinates.
static gdi::Region VisibleClient(Window* w, bool includeFrame) {
  RECT r = RectInRoot(w);
  if (!includeFrame) {
    RECT in = NonClientInsets(*w);
    r = {r.left + in.left, r.top + in.top, r.right - in.right, r.bottom - in.bottom};
  }
  gdi::Region vis(r);
  for (Window* p = (w->style & WS_CHILD) ? Parent(w) : nullptr; p; p = (p->style & WS_CHILD) ? Parent(p) : nullptr) {
    RECT pr = RectInRoot(p);
    RECT in = NonClientInsets(*p);
    vis = vis.Intersect(gdi::Region(RECT{pr.left + in.left, pr.top + in.top, pr.right - in.right, pr.bottom - in.bottom}));
  }
  return vis;
}

static HDC ClientDC(Window* w, bool includeFrame) {
  Window* root = Root(w);
  cairo_surface_t* s = RootSurface(root);
  POINT origin = includeFrame ? POINT{RectInRoot(w).left, RectInRoot(w).top} : ClientOriginInRoot(w);
  return gdi::CreateSurfaceDC(s, origin, VisibleClient(w, includeFrame), w->handle);
}

static void PaintFrame(Window* w) {
  RECT in = NonClientInsets(*w);
  if (in.left == 0 && in.top == 0 && in.right == 0 && in.bottom == 0) return;
  HDC dc = ClientDC(w, true);
  RECT r{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  bool caption = (w->style & WS_CAPTION) == WS_CAPTION;
  if (caption || (w->style & (WS_DLGFRAME | WS_THICKFRAME)) || (w->exStyle & WS_EX_DLGMODALFRAME)) {
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    RECT inner = r;
    for (int i = 0; i < (w->style & WS_THICKFRAME ? 2 : 1); ++i) {
      FrameRect(dc, &inner, GetSysColorBrush(COLOR_BTNFACE));
      InflateRect(&inner, -1, -1);
    }
    r = inner;
  } else if (w->style & WS_BORDER) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  if (w->exStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (w->exStyle & WS_EX_STATICEDGE) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  if (caption) {
    RECT bar{r.left, r.top, r.right, r.top + GetSystemMetrics(SM_CYCAPTION) - 1};
    FillRect(dc, &bar, GetSysColorBrush(COLOR_ACTIVECAPTION));
    int x = bar.left + 4;
    if (HICON icon = w->iconSmall ? w->iconSmall : w->iconBig) {
      DrawIconEx(dc, x, bar.top + (bar.bottom - bar.top - 16) / 2, icon, 16, 16, 0, nullptr, DI_NORMAL);
      x += 20;
    }
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfWeight = FW_BOLD;
    wcscpy(lf.lfFaceName, L"Tahoma");
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    RECT tr{x, bar.top, bar.right - 24, bar.bottom};
    DrawTextW(dc, w->text.c_str(), -1, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    DeleteObject(font);
    if (w->style & WS_SYSMENU) {
      int s = bar.bottom - bar.top - 4;
      RECT box{bar.right - s - 2, bar.top + 2, bar.right - 2, bar.top + 2 + s};
      DrawFrameControl(dc, &box, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    }
  }
  PaintScrollBars(w, dc);
  DeleteDC(dc);
}

static void PaintWindow(HWND hWnd) {
  Window* w = Find(hWnd);
  if (!w || !(w->style & WS_VISIBLE)) return;
  PaintFrame(w);
  w->dirty = true;
  SendMessageW(hWnd, WM_PAINT, 0, 0);
  w = Find(hWnd);
  if (!w) return;
  w->dirty = false;
  std::vector<HWND> kids = w->children;
  for (auto it = kids.rbegin(); it != kids.rend(); ++it) PaintWindow(*it);
}

void PaintTree(HWND hWnd) {
  Window* w = Find(hWnd);
  if (!w) return;
  RootSurface(Root(w));
  PaintWindow(hWnd);
}

}  // namespace win::wnd

using namespace win::wnd;

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT paint) {
  Window* w = Find(hWnd);
  if (!w || !paint) return nullptr;
  HDC dc = ClientDC(w, false);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->fErase = FALSE;
  GetClientRect(hWnd, &paint->rcPaint);
  if (w->dirty) SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  if (Window* again = Find(hWnd)) again->dirty = false;
  return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (paint && paint->hdc) DeleteDC(paint->hdc);
  return TRUE;
}

HDC GetDC(HWND hWnd) {
  Window* w = Find(hWnd);
  if (!w) return nullptr;
  return ClientDC(w, false);
}

HDC GetWindowDC(HWND hWnd) {
  Window* w = Find(hWnd);
  if (!w) return nullptr;
  return ClientDC(w, true);
}

int ReleaseDC(HWND, HDC hdc) { return DeleteDC(hdc); }

BOOL InvalidateRect(HWND hWnd, const RECT*, BOOL) {
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  w->dirty = true;
  return TRUE;
}

BOOL ValidateRect(HWND hWnd, const RECT*) {
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  w->dirty = false;
  return TRUE;
}

BOOL GetUpdateRect(HWND hWnd, LPRECT rect, BOOL) {
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  if (rect) {
    if (w->dirty) GetClientRect(hWnd, rect);
    else SetRectEmpty(rect);
  }
  return w->dirty;
}

BOOL UpdateWindow(HWND hWnd) {
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  if (w->dirty && w->redraw && IsWindowVisible(hWnd)) PaintTree(hWnd);
  return TRUE;
}

BOOL RedrawWindow(HWND hWnd, const RECT* rect, HRGN, UINT flags) {
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  if (flags & RDW_INVALIDATE) InvalidateRect(hWnd, rect, (flags & RDW_ERASE) != 0);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(hWnd);
  return TRUE;
}
