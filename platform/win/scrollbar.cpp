// Scroll bars of windows (WS_VSCROLL, WS_HSCROLL): their range, page and
// position, showing and hiding them, and drawing them in the window's frame.
#include <algorithm>

#include "wndstate.h"

namespace win::wnd {

namespace {

// Where a scroll bar's parts lie, in window coordinates: the bar, its two
// arrows and, when the range is larger than a page, the thumb.
struct BarParts {
  RECT bar, arrow1, arrow2, thumb;
  bool hasThumb = false;
};

BarParts PartsOf(const Window* w, int bar) {
  RECT in = NonClientInsets(*w);
  int cxv = GetSystemMetrics(SM_CXVSCROLL), cyh = GetSystemMetrics(SM_CYHSCROLL);
  RECT full = {in.left, in.top, w->rect.right - w->rect.left - (in.right), w->rect.bottom - w->rect.top - in.bottom};
  bool vert = bar == SB_VERT;
  BarParts p{};
  RECT& sb = p.bar;
  sb = vert ? RECT{full.right, full.top, full.right + cxv, full.bottom} : RECT{full.left, full.bottom, full.right, full.bottom + cyh};
  const SCROLLINFO& si = w->scroll[bar].info;
  int len = vert ? sb.bottom - sb.top : sb.right - sb.left;
  int arrow = vert ? cxv : cyh;
  p.arrow1 = vert ? RECT{sb.left, sb.top, sb.right, sb.top + arrow} : RECT{sb.left, sb.top, sb.left + arrow, sb.bottom};
  p.arrow2 = vert ? RECT{sb.left, sb.bottom - arrow, sb.right, sb.bottom} : RECT{sb.right - arrow, sb.top, sb.right, sb.bottom};
  int track = len - 2 * arrow;
  int range = si.nMax - si.nMin + 1;
  if (track > 8 && range > 0 && static_cast<int>(si.nPage) < range) {
    int thumb = std::max(8, si.nPage ? MulDiv(track, static_cast<int>(si.nPage), range) : 16);
    int span = range - std::max<int>(static_cast<int>(si.nPage), 1);
    int pos = span > 0 ? MulDiv(track - thumb, si.nPos - si.nMin, span) : 0;
    p.thumb = vert ? RECT{sb.left, sb.top + arrow + pos, sb.right, sb.top + arrow + pos + thumb}
                   : RECT{sb.left + arrow + pos, sb.top, sb.left + arrow + pos + thumb, sb.bottom};
    p.hasThumb = true;
  }
  return p;
}

}  // namespace

// Arrows at the ends and the thumb at the position; the corner between two
// bars in the face colour.
void PaintScrollBars(Window* w, HDC dc) {
  for (int bar = 0; bar < 2; ++bar) {
    if (!(w->style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL))) continue;
    BarParts p = PartsOf(w, bar);
    bool vert = bar == SB_VERT;
    FillRect(dc, &p.bar, GetSysColorBrush(COLOR_SCROLLBAR));
    DrawFrameControl(dc, &p.arrow1, DFC_SCROLL, vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT);
    DrawFrameControl(dc, &p.arrow2, DFC_SCROLL, vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT);
    if (p.hasThumb) DrawEdge(dc, &p.thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    if ((w->style & WS_VSCROLL) && (w->style & WS_HSCROLL) && vert) {
      RECT corner{p.bar.left, p.bar.bottom, p.bar.right, p.bar.bottom + GetSystemMetrics(SM_CYHSCROLL)};
      FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
    }
  }
}

int ScrollCodeAt(const Window* w, int bar, POINT at) {
  BarParts p = PartsOf(w, bar);
  if (!PtInRect(&p.bar, at)) return -1;
  if (PtInRect(&p.arrow1, at)) return SB_LINEUP;
  if (PtInRect(&p.arrow2, at)) return SB_LINEDOWN;
  if (!p.hasThumb || PtInRect(&p.thumb, at)) return -1;
  bool before = bar == SB_VERT ? at.y < p.thumb.top : at.x < p.thumb.left;
  return before ? SB_PAGEUP : SB_PAGEDOWN;
}

}  // namespace win::wnd

using namespace win::wnd;

int SetScrollInfo(HWND hWnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  Window* w = Find(hWnd);
  if (!w || !info || (bar != SB_HORZ && bar != SB_VERT)) return 0;
  SCROLLINFO& si = w->scroll[bar].info;
  if (info->fMask & SIF_RANGE) {
    si.nMin = info->nMin;
    si.nMax = std::max(info->nMax, info->nMin);
  }
  if (info->fMask & SIF_PAGE) si.nPage = std::min<UINT>(info->nPage, static_cast<UINT>(si.nMax - si.nMin + 1));
  if (info->fMask & SIF_POS) si.nPos = info->nPos;
  if (info->fMask & SIF_TRACKPOS) si.nTrackPos = info->nTrackPos;
  int maxPos = si.nMax - std::max<int>(static_cast<int>(si.nPage) - 1, 0);
  si.nPos = std::clamp(si.nPos, si.nMin, std::max(si.nMin, maxPos));
  if (redraw) w->dirty = true;
  return si.nPos;
}

BOOL GetScrollInfo(HWND hWnd, int bar, LPSCROLLINFO info) {
  Window* w = Find(hWnd);
  if (!w || !info || (bar != SB_HORZ && bar != SB_VERT)) return FALSE;
  const SCROLLINFO& si = w->scroll[bar].info;
  if (info->fMask & SIF_RANGE) {
    info->nMin = si.nMin;
    info->nMax = si.nMax;
  }
  if (info->fMask & SIF_PAGE) info->nPage = si.nPage;
  if (info->fMask & SIF_POS) info->nPos = si.nPos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = si.nTrackPos;
  return TRUE;
}

int SetScrollPos(HWND hWnd, int bar, int pos, BOOL redraw) {
  int old = GetScrollPos(hWnd, bar);
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(hWnd, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND hWnd, int bar) {
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
  return GetScrollInfo(hWnd, bar, &si) ? si.nPos : 0;
}

BOOL SetScrollRange(HWND hWnd, int bar, int minPos, int maxPos, BOOL redraw) {
  SCROLLINFO si{sizeof si, SIF_RANGE, minPos, maxPos, 0, 0, 0};
  return SetScrollInfo(hWnd, bar, &si, redraw) >= 0 && Find(hWnd);
}

BOOL GetScrollRange(HWND hWnd, int bar, LPINT minPos, LPINT maxPos) {
  SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(hWnd, bar, &si)) return FALSE;
  if (minPos) *minPos = si.nMin;
  if (maxPos) *maxPos = si.nMax;
  return TRUE;
}

BOOL ShowScrollBar(HWND hWnd, int bar, BOOL show) {
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  DWORD bits = bar == SB_VERT ? WS_VSCROLL : bar == SB_HORZ ? WS_HSCROLL : (WS_VSCROLL | WS_HSCROLL);
  DWORD before = w->style;
  if (show) w->style |= bits;
  else w->style &= ~bits;
  if (before != w->style) {
    RECT rc;
    GetClientRect(hWnd, &rc);
    SendMessageW(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
  }
  return TRUE;
}

BOOL EnableScrollBar(HWND hWnd, UINT, UINT) { return Find(hWnd) != nullptr; }
