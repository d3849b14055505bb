// Messages: sending, posting and the queue (without a display an empty queue
// ends a message loop, as nothing else can arrive), registered messages,
// notifications to a control's parent, and the default window procedure.
#include <algorithm>

#include "textutil.h"
#include "wininput.h"
#include "wndstate.h"

namespace win::wnd {

void NotifyParent(HWND control, UINT code) {
  Window* w = Find(control);
  if (!w || !w->parent) return;
  SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), code), reinterpret_cast<LPARAM>(control));
}

}  // namespace win::wnd

using namespace win::wnd;

LRESULT SendMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hWnd);
  if (!w || !w->proc) return 0;
  return w->proc(hWnd, msg, wParam, lParam);
}

BOOL PostMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hWnd && !Find(hWnd)) return FALSE;
  S().queue.push_back(MSG{hWnd, msg, wParam, lParam, static_cast<DWORD>(S().now), S().cursorPos});
  return TRUE;
}

void PostQuitMessage(int exitCode) { PostMessageW(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

BOOL PeekMessageW(LPMSG msg, HWND hWnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
  auto& q = S().queue;
  for (auto it = q.begin(); it != q.end(); ++it) {
    if (hWnd && it->hwnd != hWnd && !IsChild(hWnd, it->hwnd)) continue;
    if ((filterMin || filterMax) && (it->message < filterMin || it->message > filterMax)) continue;
    if (msg) *msg = *it;
    if (removeMsg & PM_REMOVE) q.erase(it);
    return TRUE;
  }
  return FALSE;
}

BOOL GetMessageW(LPMSG msg, HWND hWnd, UINT filterMin, UINT filterMax) {
  // With a display the loop waits for input; without one nothing arrives
  // that is not already queued: an empty queue ends the loop as a quit
  // would, so that no loop can hang. A display that goes away ends it too.
  while (S().backend && !PeekMessageW(msg, hWnd, filterMin, filterMax, PM_NOREMOVE))
    if (!S().backend->WaitForInput()) break;
  if (!PeekMessageW(msg, hWnd, filterMin, filterMax, PM_REMOVE)) {
    if (msg) *msg = MSG{nullptr, WM_QUIT, 0, 0, 0, {0, 0}};
    return FALSE;
  }
  return msg->message != WM_QUIT;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg || !msg->hwnd) return 0;
  return SendMessageW(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hWnd, msg, wParam, lParam) : 0;
}

UINT RegisterWindowMessageW(LPCWSTR name) {
  if (!name || !*name) return 0;
  auto& m = S().registeredMessages;
  std::wstring key = win::textutil::FoldCase(name);
  auto it = m.find(key);
  if (it != m.end()) return it->second;
  UINT id = static_cast<UINT>(0xC000 + m.size());
  m.emplace(key, id);
  return id;
}

LRESULT DefWindowProcW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hWnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_SETTEXT: {
      w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
      w->dirty = true;
      if (S().backend && IsTopLevel(w)) S().backend->TextChanged(hWnd);
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<LPWSTR>(lParam);
      int max = static_cast<int>(wParam);
      if (!buf || max <= 0) return 0;
      int n = std::min<int>(static_cast<int>(w->text.size()), max - 1);
      wmemcpy(buf, w->text.c_str(), static_cast<size_t>(n));
      buf[n] = 0;
      return n;
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) w->dirty = true;
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(w->font);
    case WM_SETICON: {
      HICON old = wParam == ICON_BIG ? w->iconBig : w->iconSmall;
      (wParam == ICON_BIG ? w->iconBig : w->iconSmall) = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON: return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w->iconBig : w->iconSmall);
    case WM_SETREDRAW:
      w->redraw = wParam != 0;
      if (wParam) w->dirty = true;
      return 0;
    case WM_CLOSE: DestroyWindow(hWnd); return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageW(hWnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_ERASEBKGND: {
      WindowClass* c = FindClass(w->className);
      HBRUSH b = c ? c->wc.hbrBackground : nullptr;
      if (!b) return 0;
      RECT rc;
      GetClientRect(hWnd, &rc);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, b);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hWnd, &ps);
      EndPaint(hWnd, &ps);
      return 0;
    }
    case WM_NCHITTEST: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT wr;
      GetWindowRect(hWnd, &wr);
      if (!PtInRect(&wr, pt)) return HTNOWHERE;
      POINT cp = pt;
      ScreenToClient(hWnd, &cp);
      RECT rc;
      GetClientRect(hWnd, &rc);
      if (PtInRect(&rc, cp)) return HTCLIENT;
      RECT in = NonClientInsets(*w);
      if ((w->style & WS_VSCROLL) && cp.x >= rc.right && cp.y < rc.bottom) return HTVSCROLL;
      if ((w->style & WS_HSCROLL) && cp.y >= rc.bottom && cp.x < rc.right) return HTHSCROLL;
      if ((w->style & WS_CAPTION) == WS_CAPTION && pt.y < wr.top + in.top) return HTCAPTION;
      return HTBORDER;
    }
    case WM_NCLBUTTONDOWN: {
      // A press on a scroll bar's arrow or track scrolls by a line or a page,
      // as the scroll bar's own messages; the thumb is not dragged.
      if (wParam != HTVSCROLL && wParam != HTHSCROLL) return 0;
      int bar = wParam == HTVSCROLL ? SB_VERT : SB_HORZ;
      RECT wr;
      GetWindowRect(hWnd, &wr);
      POINT at{GET_X_LPARAM(lParam) - wr.left, GET_Y_LPARAM(lParam) - wr.top};
      int code = ScrollCodeAt(w, bar, at);
      if (code < 0) return 0;
      UINT scroll = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
      SendMessageW(hWnd, scroll, MAKEWPARAM(code, 0), 0);
      if (IsWindow(hWnd)) SendMessageW(hWnd, scroll, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
      return 0;
    }
    case WM_SETCURSOR: {
      if (w->parent && (w->style & WS_CHILD) && SendMessageW(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      if (LOWORD(lParam) == HTCLIENT) {
        WindowClass* c = FindClass(w->className);
        if (c && c->wc.hCursor) SetCursor(c->wc.hCursor);
        return c && c->wc.hCursor ? TRUE : FALSE;
      }
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      return FALSE;
    }
    case WM_MOUSEWHEEL:
      if (w->parent && (w->style & WS_CHILD)) return SendMessageW(w->parent, msg, wParam, lParam);
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      bool edit = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(edit ? COLOR_WINDOW : COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(edit ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    case WM_GETDLGCODE: return 0;
    case WM_MOUSEACTIVATE: return 1;
    default: return 0;
  }
}
