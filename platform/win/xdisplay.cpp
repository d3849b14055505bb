// The X11 display: each shown top-level window of the window system gets an
// X window of its size without decorations of the window manager (the
// window system draws its own frame and caption); what the window system
// paints into the window's pixel surface is copied to the X window where it
// changed. The event loop waits on the X connection and the next timer, turns
// X events into window messages (xinput.cpp) and keeps timers on the real
// clock.
#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <cairo-xlib.h>
#include <errno.h>
#include <poll.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include "display.h"
#include "textconv.h"
#include "xdisplayimpl.h"

namespace win::xdisplay {

using wnd::Find;
using wnd::Window;

void AddDamage(RECT& damage, const RECT& r) {
  if (IsRectEmpty(&r)) return;
  if (IsRectEmpty(&damage)) damage = r;
  else UnionRect(&damage, &damage, &r);
}

XBackend::XBackend(Display* d) : dpy(d), screen(DefaultScreen(d)) {
  const char* names[] = {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_TAKE_FOCUS", "_NET_WM_NAME", "UTF8_STRING",
                         "_MOTIF_WM_HINTS", "CLIPBOARD", "TARGETS", "TEXT", "MARLO_SELECTION", "INCR",
                         "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_WINDOW_TYPE_NORMAL"};
  Atom got[14];
  XInternAtoms(dpy, const_cast<char**>(names), 14, False, got);
  atoms = {got[0], got[1], got[2], got[3], got[4], got[5], got[6], got[7], got[8], got[9], got[10], got[11], got[12], got[13]};
  helper = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 0, 0, 1, 1, 0, 0, 0);
  XSelectInput(dpy, helper, PropertyChangeMask);
  XSetLocaleModifiers("");
  im = XOpenIM(dpy, nullptr, nullptr, nullptr);
  static const std::pair<int, unsigned> shapes[] = {
      {32512, XC_left_ptr}, {32513, XC_xterm}, {32514, XC_watch}, {32515, XC_crosshair}, {32642, XC_bottom_right_corner},
      {32643, XC_bottom_left_corner}, {32644, XC_sb_h_double_arrow}, {32645, XC_sb_v_double_arrow}, {32646, XC_fleur},
      {32648, XC_X_cursor}, {32649, XC_hand2}};
  for (auto [id, shape] : shapes)
    if (HCURSOR c = LoadCursorW(nullptr, MAKEINTRESOURCEW(id))) cursors[c] = XCreateFontCursor(dpy, shape);
}

XBackend::~XBackend() {
  for (auto& [h, t] : tops) {
    (void)h;
    if (t.target) cairo_surface_destroy(t.target);
    if (t.ic) XDestroyIC(t.ic);
    XDestroyWindow(dpy, t.xwin);
  }
  for (auto& [h, c] : cursors) {
    (void)h;
    XFreeCursor(dpy, c);
  }
  if (im) XCloseIM(im);
  XDestroyWindow(dpy, helper);
  XCloseDisplay(dpy);
}

unsigned long long XBackend::Now() {
  return static_cast<unsigned long long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

void XBackend::MakeXWindow(HWND h, Window* w, TopWindow& t) {
  t.width = std::max<LONG>(1, w->rect.right - w->rect.left);
  t.height = std::max<LONG>(1, w->rect.bottom - w->rect.top);
  // Pop-ups without a caption (title tips, lists) are placed and kept by
  // the window system alone; the window manager leaves them be.
  t.popup = (w->style & WS_POPUP) && (w->style & WS_CAPTION) != WS_CAPTION;
  XSetWindowAttributes a{};
  a.override_redirect = t.popup ? True : False;
  a.background_pixmap = None;
  a.bit_gravity = NorthWestGravity;
  a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask | KeyReleaseMask |
                 StructureNotifyMask | FocusChangeMask | LeaveWindowMask;
  t.xwin = XCreateWindow(dpy, RootWindow(dpy, screen), w->rect.left, w->rect.top, static_cast<unsigned>(t.width),
                         static_cast<unsigned>(t.height), 0, CopyFromParent, InputOutput, CopyFromParent,
                         CWOverrideRedirect | CWBackPixmap | CWBitGravity | CWEventMask, &a);
  byX[t.xwin] = h;
  Atom protocols[] = {atoms.wmDeleteWindow};
  XSetWMProtocols(dpy, t.xwin, protocols, 1);
  // The window system draws frame and caption itself.
  long motif[5] = {2 /* decorations */, 0, 0, 0, 0};
  XChangeProperty(dpy, t.xwin, atoms.motifHints, atoms.motifHints, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(motif), 5);
  XSizeHints hints{};
  hints.flags = USPosition | PPosition | PSize;
  hints.x = w->rect.left;
  hints.y = w->rect.top;
  hints.width = t.width;
  hints.height = t.height;
  XSetWMNormalHints(dpy, t.xwin, &hints);
  XWMHints wm{};
  wm.flags = InputHint;
  wm.input = t.popup ? False : True;
  XSetWMHints(dpy, t.xwin, &wm);
  // The instance is the program's name (cadhost, Marlo), as window managers
  // and tools such as xdotool expect.
  XClassHint cls{program_invocation_short_name, const_cast<char*>("Marlo")};
  XSetClassHint(dpy, t.xwin, &cls);
  if (Window* owner = Find(w->owner); owner && tops.count(owner->handle))
    XSetTransientForHint(dpy, t.xwin, tops[owner->handle].xwin);
  Atom type = w->owner ? atoms.netWmTypeDialog : atoms.netWmTypeNormal;
  XChangeProperty(dpy, t.xwin, atoms.netWmWindowType, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&type), 1);
  if (im)
    t.ic = XCreateIC(im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, t.xwin, XNFocusWindow, t.xwin,
                     nullptr);
  t.target = cairo_xlib_surface_create(dpy, t.xwin, DefaultVisual(dpy, screen), t.width, t.height);
  TextChanged(h);
}

void XBackend::Shown(HWND h) {
  Window* w = Find(h);
  if (!w) return;
  TopWindow& t = tops[h];
  if (!t.xwin) MakeXWindow(h, w, t);
  w->dirty = true;
  XMapRaised(dpy, t.xwin);
  t.mapped = true;
  t.damage = {0, 0, t.width, t.height};
}

void XBackend::Hidden(HWND h) {
  auto it = tops.find(h);
  if (it == tops.end() || !it->second.mapped) return;
  XUnmapWindow(dpy, it->second.xwin);
  it->second.mapped = false;
  if (drag.top == h) drag = {};
}

void XBackend::Destroyed(HWND h) {
  auto it = tops.find(h);
  if (it == tops.end()) return;
  TopWindow& t = it->second;
  if (grabbed == h) {
    XUngrabPointer(dpy, CurrentTime);
    grabbed = nullptr;
  }
  if (drag.top == h) drag = {};
  if (lastClick.window && !IsWindow(lastClick.window)) lastClick = {};
  if (t.target) cairo_surface_destroy(t.target);
  if (t.ic) XDestroyIC(t.ic);
  byX.erase(t.xwin);
  XDestroyWindow(dpy, t.xwin);
  tops.erase(it);
  XFlush(dpy);
}

void XBackend::Placed(HWND h) {
  auto it = tops.find(h);
  Window* w = Find(h);
  if (it == tops.end() || !w) return;
  TopWindow& t = it->second;
  int width = std::max<LONG>(1, w->rect.right - w->rect.left), height = std::max<LONG>(1, w->rect.bottom - w->rect.top);
  if (width != t.width || height != t.height) {
    t.width = width;
    t.height = height;
    cairo_xlib_surface_set_size(t.target, width, height);
    t.damage = {0, 0, width, height};
    w->dirty = true;
  }
  if (!placing) XMoveResizeWindow(dpy, t.xwin, w->rect.left, w->rect.top, static_cast<unsigned>(width), static_cast<unsigned>(height));
}

void XBackend::TextChanged(HWND h) {
  auto it = tops.find(h);
  Window* w = Find(h);
  if (it == tops.end() || !w) return;
  std::string title = WideToUtf8(w->text);
  XChangeProperty(dpy, it->second.xwin, atoms.netWmName, atoms.utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
  // WM_NAME as UTF-8 text too: as STRING it would have to be Latin-1.
  XTextProperty name{};
  char* list[] = {title.data()};
  if (Xutf8TextListToTextProperty(dpy, list, 1, XUTF8StringStyle, &name) == Success) {
    XSetWMName(dpy, it->second.xwin, &name);
    XFree(name.value);
  }
}

void XBackend::CaptureChanged(HWND window) {
  // The capture is a pointer grab on the X window of the capturing window's
  // top-level window, so that the pointer is followed outside it.
  HWND top = window ? wnd::Root(Find(window))->handle : nullptr;
  if (top == grabbed) return;
  if (grabbed) XUngrabPointer(dpy, CurrentTime);
  grabbed = nullptr;
  auto it = tops.find(top);
  if (it != tops.end() && it->second.mapped &&
      XGrabPointer(dpy, it->second.xwin, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                   GrabModeAsync, None, None, CurrentTime) == GrabSuccess)
    grabbed = top;
}

// The topmost windows of the tree that need painting: dirty ones whose
// ancestors are clean (those paint their whole subtree).
static void CollectDirty(Window* w, std::vector<HWND>& out) {
  if (!w || !(w->style & WS_VISIBLE)) return;
  if (w->dirty) {
    out.push_back(w->handle);
    return;
  }
  for (HWND c : w->children) CollectDirty(Find(c), out);
}

void XBackend::PaintPending() {
  std::vector<HWND> order;
  for (auto& [h, t] : tops)
    if (t.mapped) order.push_back(h);
  for (HWND h : order) {
    Window* w = Find(h);
    auto it = tops.find(h);
    if (!w || it == tops.end() || !(w->style & WS_VISIBLE)) continue;
    std::vector<HWND> dirty;
    CollectDirty(w, dirty);
    for (HWND d : dirty) {
      Window* dw = Find(d);
      if (!dw || !dw->redraw) continue;
      AddDamage(it->second.damage, wnd::RectInRoot(dw));
      wnd::PaintTree(d);
    }
    it = tops.find(h);
    if (it != tops.end() && !IsRectEmpty(&it->second.damage)) Blit(h, it->second);
  }
  XFlush(dpy);
}

void XBackend::Blit(HWND h, TopWindow& t) {
  Window* w = Find(h);
  if (!w || !t.target) return;
  cairo_surface_t* image = wnd::RootSurface(w);
  cairo_t* cr = cairo_create(t.target);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_rectangle(cr, t.damage.left, t.damage.top, t.damage.right - t.damage.left, t.damage.bottom - t.damage.top);
  cairo_fill(cr);
  cairo_destroy(cr);
  cairo_surface_flush(t.target);
  t.damage = {0, 0, 0, 0};
}

void XBackend::FireTimers() {
  unsigned long long now = Now(), clock = wnd::ClockNow();
  if (now > clock) wnd::AdvanceClock(static_cast<unsigned>(std::min<unsigned long long>(now - clock, UINT_MAX)));
}

void XBackend::Handle(XEvent& ev) {
  if (XFilterEvent(&ev, None)) return;
  if (ev.type == SelectionRequest) {
    AnswerSelectionRequest(*this, ev.xselectionrequest);
    return;
  }
  if (ev.type == PropertyNotify && ContinueIncrTransfer(*this, ev.xproperty)) return;
  if (ev.type == SelectionClear) {
    if (ev.xselectionclear.selection == atoms.clipboard) ownsClipboard = false;
    return;
  }
  auto found = byX.find(ev.xany.window);
  if (found == byX.end()) return;
  HWND h = found->second;
  Window* w = Find(h);
  auto t = tops.find(h);
  if (!w || t == tops.end()) return;
  switch (ev.type) {
    case Expose:
      AddDamage(t->second.damage, RECT{ev.xexpose.x, ev.xexpose.y, ev.xexpose.x + ev.xexpose.width,
                                       ev.xexpose.y + ev.xexpose.height});
      break;
    case ConfigureNotify: {
      // The window manager or the person moved or resized the window.
      int x = ev.xconfigure.x, y = ev.xconfigure.y;
      if (!ev.xconfigure.send_event) {
        ::Window child;
        XTranslateCoordinates(dpy, t->second.xwin, RootWindow(dpy, screen), 0, 0, &x, &y, &child);
      }
      RECT now{x, y, x + ev.xconfigure.width, y + ev.xconfigure.height};
      if (!EqualRect(&now, &w->rect)) {
        placing = true;
        SetWindowPos(h, nullptr, x, y, ev.xconfigure.width, ev.xconfigure.height, SWP_NOZORDER | SWP_NOACTIVATE);
        placing = false;
      }
      break;
    }
    case ClientMessage:
      if (ev.xclient.message_type == atoms.wmProtocols &&
          static_cast<Atom>(ev.xclient.data.l[0]) == atoms.wmDeleteWindow && IsWindowEnabled(h))
        SendMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case FocusIn:
      if (ev.xfocus.mode == NotifyGrab || ev.xfocus.mode == NotifyUngrab) break;
      if (t->second.ic) XSetICFocus(t->second.ic);
      if (IsWindowEnabled(h)) {
        wnd::S().active = h;
        HWND f = GetFocus();
        if (!f || (f != h && !IsChild(h, f))) SetFocus(h);
      }
      break;
    case FocusOut:
      if (t->second.ic) XUnsetICFocus(t->second.ic);
      break;
    case ButtonPress:
    case ButtonRelease: HandleButton(*this, h, ev.xbutton, ev.type == ButtonPress); break;
    case MotionNotify: {
      // Only the newest position of a run of moves matters.
      while (XCheckTypedWindowEvent(dpy, ev.xany.window, MotionNotify, &ev)) {
      }
      HandleMotion(*this, h, ev.xmotion);
      break;
    }
    case KeyPress:
    case KeyRelease: HandleKey(*this, h, ev.xkey, ev.type == KeyPress); break;
    case MapNotify:
      // A window that takes the keyboard gets it once it can be seen.
      if (!t->second.popup && IsWindowEnabled(h)) XSetInputFocus(dpy, t->second.xwin, RevertToParent, CurrentTime);
      break;
    default: break;
  }
}

void XBackend::Pump() {
  FireTimers();
  while (XPending(dpy)) {
    XEvent ev;
    XNextEvent(dpy, &ev);
    Handle(ev);
  }
  FireTimers();
  PaintPending();
}

bool XBackend::WaitForInput() {
  PaintPending();
  if (!XPending(dpy) && wnd::S().queue.empty()) {
    // Sleep until the X server says something or the next timer is due.
    int timeout = -1;
    unsigned long long now = Now();
    for (auto& [key, timer] : wnd::S().timers) {
      (void)key;
      unsigned long long due = std::max(timer.due, wnd::ClockNow());
      int wait = due <= now ? 0 : static_cast<int>(std::min<unsigned long long>(due - now, INT_MAX));
      timeout = timeout < 0 ? wait : std::min(timeout, wait);
    }
    pollfd fd{ConnectionNumber(dpy), POLLIN, 0};
    poll(&fd, 1, timeout);
  }
  Pump();
  return true;
}

unsigned long XBackend::XWindowOf(HWND top) const {
  auto it = tops.find(top);
  return it == tops.end() ? 0 : it->second.xwin;
}

namespace {
std::unique_ptr<XBackend>& Current() {
  static std::unique_ptr<XBackend> current;
  return current;
}
}  // namespace

}  // namespace win::xdisplay

namespace win::display {

using xdisplay::Current;

// Requests that fail on the server (focus given to a window the window
// manager has not mapped yet, a requestor gone before its answer) are not
// faults of this process: they are ignored rather than ending it, as Xlib's
// default handler would.
static int IgnoreXError(Display*, XErrorEvent*) { return 0; }

bool Open(const std::string& name, std::string& error) {
  if (Current()) return true;
  XSetErrorHandler(IgnoreXError);
  Display* dpy = XOpenDisplay(name.empty() ? nullptr : name.c_str());
  if (!dpy) {
    const char* env = std::getenv("DISPLAY");
    error = "cannot open the display \"" + (name.empty() ? std::string(env ? env : "") : name) + "\"";
    return false;
  }
  Current() = std::make_unique<xdisplay::XBackend>(dpy);
  wnd::SetBackend(Current().get());
  // Windows already shown come onto the screen.
  std::vector<HWND> shown;
  for (auto& [id, w] : wnd::S().windows) {
    (void)id;
    if (wnd::IsTopLevel(w.get()) && (w->style & WS_VISIBLE)) shown.push_back(w->handle);
  }
  for (HWND h : shown) Current()->Shown(h);
  return true;
}

bool IsOpen() { return Current() != nullptr; }

std::string Name() { return Current() ? std::string(DisplayString(Current()->dpy)) : std::string(); }

void Close() {
  if (!Current()) return;
  wnd::SetBackend(nullptr);
  Current().reset();
}

bool WaitForInput() { return Current() && Current()->WaitForInput(); }

void Pump() {
  if (Current()) Current()->Pump();
}

void PaintNow() {
  if (!Current()) return;
  Current()->PaintPending();
  XSync(Current()->dpy, False);
}

unsigned long XWindowOf(HWND top) { return Current() ? Current()->XWindowOf(top) : 0; }

}  // namespace win::display
