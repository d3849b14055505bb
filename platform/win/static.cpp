// The built-in static control: text (left, centred, right, word-wrapped),
// frames and filled rectangles, icons and bitmaps; with SS_NOTIFY it tells
// its parent of clicks.
#include <algorithm>

#include "ctlimpl.h"

namespace win::wnd::ctl {
namespace {

struct StaticData : ControlData {
  HANDLE image = nullptr;
};

void PaintStatic(HWND h, HDC dc) {
  DWORD style = StyleOf(h);
  DWORD type = style & SS_TYPEMASK;
  RECT rc;
  GetClientRect(h, &rc);
  HBRUSH b = CtlColor(h, dc, WM_CTLCOLORSTATIC);
  if (type == SS_BLACKRECT || type == SS_GRAYRECT || type == SS_WHITERECT) {
    int color = type == SS_BLACKRECT ? COLOR_3DDKSHADOW : type == SS_GRAYRECT ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
    FillRect(dc, &rc, GetSysColorBrush(color));
    return;
  }
  if (b) FillRect(dc, &rc, b);
  if (type == SS_BLACKFRAME) {
    FrameRect(dc, &rc, GetSysColorBrush(COLOR_3DDKSHADOW));
    return;
  }
  if (type == SS_ETCHEDFRAME || type == SS_ETCHEDHORZ) {
    RECT r = rc;
    if (type == SS_ETCHEDHORZ) r.bottom = r.top + 2;
    DrawEdge(dc, &r, EDGE_ETCHED, type == SS_ETCHEDHORZ ? BF_TOP : BF_RECT);
    return;
  }
  StaticData* d = DataOf<StaticData>(h);
  if (type == SS_ICON || type == SS_BITMAP) {
    if (!d || !d->image) return;
    if (type == SS_ICON) {
      int x = (style & SS_CENTERIMAGE) ? (rc.right - 32) / 2 : 0;
      int y = (style & SS_CENTERIMAGE) ? (rc.bottom - 32) / 2 : 0;
      DrawIconEx(dc, x, y, static_cast<HICON>(d->image), 0, 0, 0, nullptr, DI_NORMAL);
    } else {
      BITMAP bm{};
      if (!GetObjectW(d->image, sizeof bm, &bm)) return;
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, d->image);
      BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
    }
    return;
  }
  HGDIOBJ oldFont = SelectObject(dc, ControlFont(h));
  SetBkMode(dc, TRANSPARENT);
  if (style & WS_DISABLED) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  UINT fmt = DT_WORDBREAK;
  if (type == SS_CENTER) fmt |= DT_CENTER;
  else if (type == SS_RIGHT) fmt |= DT_RIGHT;
  if (style & SS_NOPREFIX) fmt |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) fmt = (fmt & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  std::wstring text = TextOf(h);
  DrawTextW(dc, text.c_str(), -1, &rc, fmt);
  SelectObject(dc, oldFont);
}

}  // namespace

LRESULT CALLBACK StaticProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE:
      if (Window* w = Find(h)) {
        w->data = std::make_unique<StaticData>();
        if (w->style & SS_SUNKEN) w->exStyle |= WS_EX_STATICEDGE;
      }
      return TRUE;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST: return (StyleOf(h) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_LBUTTONUP:
      if (StyleOf(h) & SS_NOTIFY) NotifyParent(h, STN_CLICKED);
      return 0;
    case STM_SETICON:
    case STM_SETIMAGE: {
      StaticData* d = DataOf<StaticData>(h);
      if (!d) return 0;
      HANDLE old = d->image;
      d->image = reinterpret_cast<HANDLE>(msg == STM_SETICON ? wParam : lParam);
      InvalidateRect(h, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
    case STM_GETIMAGE: {
      StaticData* d = DataOf<StaticData>(h);
      return d ? reinterpret_cast<LRESULT>(d->image) : 0;
    }
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(h, msg, wParam, lParam);
      InvalidateRect(h, nullptr, TRUE);
      return r;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      PaintStatic(h, dc);
      EndPaint(h, &ps);
      return 0;
    }
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

}  // namespace win::wnd::ctl
