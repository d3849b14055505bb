// A person's pointer and keyboard on the X display, turned into the window
// messages the controls already handle: the window under the pointer (or the
// capturing one) gets the button, move and wheel messages with the window
// system's hit test and cursor first; presses close in time and place become
// double clicks in classes that ask for them; the caption moves its window
// and the close box closes it; keys go to the focused window as key-down,
// characters (UTF-8 through the input method) and key-up, a dialog's own keys
// (Enter, Esc, Tab) to the dialog.
#include <X11/keysym.h>

#include <cstdlib>

#include "dlgimpl.h"
#include "textconv.h"
#include "wininput.h"
#include "xdisplayimpl.h"

namespace win::xdisplay {
namespace {

using wnd::Find;
using wnd::Window;

// The deepest visible window of the tree under the screen point; a window
// that says it is transparent there hands the point to its parent.
HWND DeepestAt(HWND top, POINT screen) {
  HWND cur = top;
  for (;;) {
    Window* w = Find(cur);
    if (!w || !(w->style & WS_VISIBLE) || (w->style & WS_DISABLED)) return cur;
    POINT local = screen;
    ScreenToClient(cur, &local);
    RECT client;
    GetClientRect(cur, &client);
    if (!PtInRect(&client, local)) return cur;
    HWND next = nullptr;
    for (HWND c : w->children) {
      Window* cw = Find(c);
      if (cw && (cw->style & WS_VISIBLE) && PtInRect(&cw->rect, local)) {
        if (SendMessageW(c, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) == HTTRANSPARENT) continue;
        next = c;
        break;
      }
    }
    if (!next) return cur;
    cur = next;
  }
}

WPARAM KeysOf(unsigned buttons, unsigned state) {
  return buttons | ((state & ShiftMask) ? MK_SHIFT : 0) | ((state & ControlMask) ? MK_CONTROL : 0);
}

// The close box of a captioned window, in window pixels, as the frame paints it.
RECT CloseBox(Window* w) {
  RECT in = wnd::NonClientInsets(*w);
  int frame = in.left - ((w->style & WS_VSCROLL) ? 0 : 0);
  int width = w->rect.right - w->rect.left;
  int barH = GetSystemMetrics(SM_CYCAPTION) - 1;
  int s = barH - 4;
  return RECT{width - frame - s - 2, frame + 2, width - frame - 2, frame + 2 + s};
}

UINT ButtonMessage(unsigned button, bool press, bool dbl) {
  switch (button) {
    case Button1: return press ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP;
    case Button2: return press ? (dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN) : WM_MBUTTONUP;
    default: return press ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
  }
}

unsigned ButtonFlag(unsigned button) {
  return button == Button1 ? MK_LBUTTON : button == Button2 ? MK_MBUTTON : button == Button3 ? MK_RBUTTON : 0;
}

bool WantsDoubleClicks(HWND h) {
  wchar_t cls[128] = {0};
  GetClassNameW(h, cls, 128);
  WNDCLASSW wc{};
  return GetClassInfoW(nullptr, cls, &wc) && (wc.style & CS_DBLCLKS);
}

int VkOf(KeySym sym) {
  if (sym >= XK_a && sym <= XK_z) return static_cast<int>('A' + (sym - XK_a));
  if (sym >= XK_A && sym <= XK_Z) return static_cast<int>('A' + (sym - XK_A));
  if (sym >= XK_0 && sym <= XK_9) return static_cast<int>('0' + (sym - XK_0));
  if (sym >= XK_F1 && sym <= XK_F12) return static_cast<int>(VK_F1 + (sym - XK_F1));
  switch (sym) {
    case XK_Return:
    case XK_KP_Enter: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_Tab:
    case XK_ISO_Left_Tab: return VK_TAB;
    case XK_BackSpace: return VK_BACK;
    case XK_Delete:
    case XK_KP_Delete: return VK_DELETE;
    case XK_Home:
    case XK_KP_Home: return VK_HOME;
    case XK_End:
    case XK_KP_End: return VK_END;
    case XK_Prior:
    case XK_KP_Prior: return VK_PRIOR;
    case XK_Next:
    case XK_KP_Next: return VK_NEXT;
    case XK_Left:
    case XK_KP_Left: return VK_LEFT;
    case XK_Right:
    case XK_KP_Right: return VK_RIGHT;
    case XK_Up:
    case XK_KP_Up: return VK_UP;
    case XK_Down:
    case XK_KP_Down: return VK_DOWN;
    case XK_Insert:
    case XK_KP_Insert: return VK_INSERT;
    case XK_space: return VK_SPACE;
    case XK_Shift_L:
    case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L:
    case XK_Control_R: return VK_CONTROL;
    case XK_Alt_L:
    case XK_Alt_R: return VK_MENU;
    default: return 0;
  }
}

// The character a key symbol stands for when no input method gave text:
// Latin-1 symbols are their code points, others carry theirs above 0x1000000.
wchar_t CharOfKeySym(KeySym sym) {
  if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF)) return static_cast<wchar_t>(sym);
  if ((sym & 0xFF000000) == 0x01000000) return static_cast<wchar_t>(sym & 0x00FFFFFF);
  return 0;
}

}  // namespace

void UpdateCursor(XBackend& x, HWND top) {
  auto t = x.tops.find(top);
  if (t == x.tops.end()) return;
  auto c = x.cursors.find(GetCursor());
  Cursor shape = c != x.cursors.end() ? c->second : x.cursors[LoadCursorW(nullptr, IDC_ARROW)];
  if (shape == x.shownCursor) return;
  XDefineCursor(x.dpy, t->second.xwin, shape);
  x.shownCursor = shape;
}

void HandleButton(XBackend& x, HWND top, const XButtonEvent& ev, bool press) {
  Window* tw = Find(top);
  if (!tw) return;
  POINT screen{tw->rect.left + ev.x, tw->rect.top + ev.y};
  wnd::S().cursorPos = screen;
  unsigned flag = ButtonFlag(ev.button);
  if (press) x.buttonsDown |= flag;
  else x.buttonsDown &= ~flag;
  WPARAM keys = KeysOf(x.buttonsDown, ev.state);
  if (ev.button == Button4 || ev.button == Button5) {
    if (!press || !IsWindowEnabled(top)) return;
    HWND target = DeepestAt(top, screen);
    if (IsWindowEnabled(target))
      SendMessageW(target, WM_MOUSEWHEEL, MAKEWPARAM(keys, ev.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA),
                   MAKELPARAM(screen.x, screen.y));
    return;
  }
  if (!flag) return;
  if (x.drag.top) {
    if (!press) {
      CaptionDrag d = x.drag;
      x.drag = {};
      Window* dw = Find(d.top);
      RECT box = dw ? CloseBox(dw) : RECT{};
      POINT at{screen.x - (dw ? dw->rect.left : 0), screen.y - (dw ? dw->rect.top : 0)};
      if (d.closeBox && dw && PtInRect(&box, at)) SendMessageW(d.top, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return;
  }
  // A window disabled by a modal dialog takes no clicks.
  if (!IsWindowEnabled(top)) return;
  if (press && GetActiveWindow() != top && !x.tops[top].popup) {
    SetActiveWindow(top);
    XSetInputFocus(x.dpy, x.tops[top].xwin, RevertToParent, CurrentTime);
  }
  HWND capture = GetCapture();
  HWND target = capture ? capture : DeepestAt(top, screen);
  if (!target || !IsWindowEnabled(target)) return;
  LRESULT hit = HTCLIENT;
  if (!capture) {
    hit = SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (hit == HTTRANSPARENT || hit == HTNOWHERE) hit = HTCLIENT;
    if (hit == HTCAPTION && press && ev.button == Button1 && target == top) {
      RECT box = CloseBox(tw);
      POINT at{ev.x, ev.y};
      x.drag = {top, ev.x, ev.y, (tw->style & WS_SYSMENU) && PtInRect(&box, at) != 0};
      return;
    }
    // A press on a window's own scroll bar is the window's to take.
    if ((hit == HTVSCROLL || hit == HTHSCROLL) && press && ev.button == Button1)
      SendMessageW(target, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
    if (hit != HTCLIENT) return;
  }
  bool dbl = false;
  if (press) {
    int slop = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    dbl = x.lastClick.button == ev.button && x.lastClick.window == target &&
          ev.time - x.lastClick.time <= GetDoubleClickTime() && std::abs(ev.x - x.lastClick.x) <= slop &&
          std::abs(ev.y - x.lastClick.y) <= slop && WantsDoubleClicks(target);
    // A double click ends the run: the next press starts a new one.
    x.lastClick = dbl ? LastClick{} : LastClick{ev.button, ev.time, ev.x, ev.y, target};
  }
  UINT msg = ButtonMessage(ev.button, press, dbl);
  if (!capture) SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(static_cast<WORD>(hit), msg));
  if (!IsWindow(target)) return;
  POINT local = screen;
  ScreenToClient(target, &local);
  SendMessageW(target, msg, keys, MAKELPARAM(local.x, local.y));
  UpdateCursor(x, top);
}

void HandleMotion(XBackend& x, HWND top, const XMotionEvent& ev) {
  Window* tw = Find(top);
  if (!tw) return;
  POINT screen{tw->rect.left + ev.x, tw->rect.top + ev.y};
  wnd::S().cursorPos = screen;
  if (x.drag.top) {
    if (!x.drag.closeBox) SetWindowPos(x.drag.top, nullptr, ev.x_root - x.drag.dx, ev.y_root - x.drag.dy, 0, 0,
                                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (!IsWindowEnabled(top)) return;
  HWND capture = GetCapture();
  HWND target = capture ? capture : DeepestAt(top, screen);
  if (!target || !IsWindowEnabled(target)) return;
  if (!capture) {
    LRESULT hit = SendMessageW(target, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (hit == HTTRANSPARENT || hit == HTNOWHERE) hit = HTCLIENT;
    SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(static_cast<WORD>(hit), WM_MOUSEMOVE));
    if (hit != HTCLIENT) {
      UpdateCursor(x, top);
      return;
    }
  }
  if (!IsWindow(target)) return;
  POINT local = screen;
  ScreenToClient(target, &local);
  SendMessageW(target, WM_MOUSEMOVE, KeysOf(x.buttonsDown, ev.state), MAKELPARAM(local.x, local.y));
  UpdateCursor(x, top);
}

void HandleKey(XBackend& x, HWND top, XKeyEvent& ev, bool press) {
  KeySym sym = NoSymbol;
  std::wstring text;
  auto t = x.tops.find(top);
  if (press && t != x.tops.end() && t->second.ic) {
    char buf[128];
    Status status = 0;
    int n = Xutf8LookupString(t->second.ic, &ev, buf, sizeof buf - 1, &sym, &status);
    if (status == XLookupChars || status == XLookupBoth) text = Utf8ToWide(std::string(buf, static_cast<size_t>(std::max(n, 0))));
    if (status == XLookupChars || status == XLookupNone || status == XBufferOverflow) sym = status == XLookupChars ? NoSymbol : sym;
  } else {
    char buf[32];
    XLookupString(&ev, buf, sizeof buf, &sym, nullptr);
    if (wchar_t c = CharOfKeySym(sym); press && c) text = std::wstring(1, c);
  }
  int vk = VkOf(sym);
  bool shift = (ev.state & ShiftMask) != 0, ctrl = (ev.state & ControlMask) != 0;
  if (vk == VK_SHIFT) shift = press;
  if (vk == VK_CONTROL) ctrl = press;
  wnd::SetKeyDown(VK_SHIFT, shift);
  wnd::SetKeyDown(VK_CONTROL, ctrl);
  if (!IsWindowEnabled(top)) return;
  HWND focus = GetFocus();
  HWND target = focus && (focus == top || IsChild(top, focus)) ? focus : top;
  if (!press) {
    if (vk) {
      wnd::SetKeyDown(vk, false);
      SendMessageW(target, WM_KEYUP, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
    }
    return;
  }
  if (vk) wnd::SetKeyDown(vk, true);
  if (!ctrl && (vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_TAB) && dlg::NavigationKey(top, vk, shift)) return;
  if (vk) SendMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
  if (!IsWindow(target)) return;
  if (text.empty()) {
    wchar_t c = vk == VK_RETURN ? L'\r' : vk == VK_BACK ? L'\b' : vk == VK_TAB ? L'\t' : vk == VK_ESCAPE ? 0x1B : 0;
    if (c) text = std::wstring(1, c);
  }
  for (wchar_t c : text) {
    // With Control held the control characters stay key-downs only.
    bool control = c < 0x20 || c == 0x7F;
    if (control && (ctrl || (c != L'\r' && c != L'\b' && c != L'\t' && c != 0x1B))) continue;
    if (!IsWindow(target)) return;
    SendMessageW(target, WM_CHAR, c, 1);
  }
}

}  // namespace win::xdisplay
