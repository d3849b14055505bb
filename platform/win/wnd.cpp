// The window manager: window classes and windows (making, destroying,
// showing, enabling, text, position and size, parents and owners, window
// longs and properties, the active window), and where a window lies in its
// root window's surface. Messages are in wndmsg.cpp, input and timers in
// wndinput.cpp, painting in wndpaint.cpp, scroll bars in scrollbar.cpp.
#include <algorithm>

#include "module.h"
#include "textconv.h"
#include "textutil.h"
#include "wndstate.h"

namespace win::wnd {

State& S() {
  // The drawing objects' tables are made first so that they outlive the
  // windows, whose dialogs delete their fonts when they go at exit.
  static const bool gdiReady = GetStockObject(WHITE_BRUSH) != nullptr;
  (void)gdiReady;
  static State s;
  return s;
}

std::wstring ClassNameOf(LPCWSTR name) {
  if (!name) return {};
  if (IS_INTRESOURCE(name)) return L"#" + std::to_wstring(reinterpret_cast<uintptr_t>(name));
  return name;
}

WindowClass* FindClass(const std::wstring& name) {
  for (WindowClass& c : S().classes)
    if (textutil::EqualNoCase(c.name, name)) return &c;
  return nullptr;
}

Window* Find(HWND hWnd) {
  auto& ws = S().windows;
  auto it = ws.find(reinterpret_cast<uintptr_t>(hWnd));
  return it == ws.end() ? nullptr : it->second.get();
}

void SetCreateHook(CreateHook hook) { S().createHook = hook; }

Backend* GetBackend() { return S().backend; }
void SetBackend(Backend* backend) { S().backend = backend; }

size_t WindowCount() { return S().windows.size(); }

RECT NonClientInsets(const Window& w) {
  RECT in{0, 0, 0, 0};
  int frame = 0;
  if ((w.style & WS_CAPTION) == WS_CAPTION || (w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME))
    frame = (w.style & WS_THICKFRAME) ? 4 : 3;
  else if (w.style & WS_THICKFRAME)
    frame = 4;
  else if (w.style & WS_BORDER)
    frame = 1;
  if (w.exStyle & WS_EX_CLIENTEDGE) frame += 2;
  if (w.exStyle & WS_EX_STATICEDGE) frame += 1;
  in = {frame, frame, frame, frame};
  if ((w.style & WS_CAPTION) == WS_CAPTION) in.top += GetSystemMetrics(SM_CYCAPTION);
  if (w.style & WS_VSCROLL) in.right += GetSystemMetrics(SM_CXVSCROLL);
  if (w.style & WS_HSCROLL) in.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return in;
}

Window* Root(Window* w) {
  while (w && (w->style & WS_CHILD) && Find(w->parent)) w = Find(w->parent);
  return w;
}

// The client area's origin in the root window's surface.
POINT ClientOriginInRoot(Window* w) {
  RECT r = RectInRoot(w);
  RECT in = NonClientInsets(*w);
  return {r.left + in.left, r.top + in.top};
}

RECT RectInRoot(Window* w) {
  Window* root = Root(w);
  if (w == root) return {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  POINT o = ClientOriginInRoot(Parent(w));
  RECT r = w->rect;
  OffsetRect(&r, o.x, o.y);
  return r;
}

}  // namespace win::wnd

using namespace win::wnd;

// ---------------------------------------------------------------- classes

ATOM RegisterClassW(const WNDCLASSW* wc) {
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::wstring name = ClassNameOf(wc->lpszClassName);
  if (FindClass(name)) {
    SetLastError(1410);  // the class already exists
    return 0;
  }
  WindowClass c;
  c.name = name;
  c.wc = *wc;
  c.wc.lpszClassName = nullptr;
  c.wc.lpszMenuName = nullptr;
  S().classes.push_back(std::move(c));
  return static_cast<ATOM>(0xC000 + S().classes.size());
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
  std::wstring name = ClassNameOf(className);
  auto& cs = S().classes;
  for (auto it = cs.begin(); it != cs.end(); ++it)
    if (win::textutil::EqualNoCase(it->name, name)) {
      cs.erase(it);
      return TRUE;
    }
  return FALSE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, LPWNDCLASSW wc) {
  RegisterControlClasses();
  WindowClass* c = FindClass(ClassNameOf(className));
  if (!c || !wc) return FALSE;
  *wc = c->wc;
  wc->lpszClassName = className;
  return TRUE;
}

int GetClassNameW(HWND hWnd, LPWSTR className, int maxCount) {
  Window* w = Find(hWnd);
  if (!w || !className || maxCount <= 0) return 0;
  int n = std::min<int>(static_cast<int>(w->className.size()), maxCount - 1);
  wmemcpy(className, w->className.c_str(), static_cast<size_t>(n));
  className[n] = 0;
  return n;
}

ULONG_PTR GetClassLongPtrW(HWND hWnd, int index) {
  Window* w = Find(hWnd);
  WindowClass* c = w ? FindClass(w->className) : nullptr;
  if (!c) return 0;
  switch (index) {
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c->wc.hCursor);
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c->wc.hbrBackground);
    case GCL_STYLE: return c->wc.style;
    default: return 0;
  }
}

ULONG_PTR SetClassLongPtrW(HWND hWnd, int index, LONG_PTR value) {
  Window* w = Find(hWnd);
  WindowClass* c = w ? FindClass(w->className) : nullptr;
  if (!c) return 0;
  ULONG_PTR old = GetClassLongPtrW(hWnd, index);
  switch (index) {
    case GCLP_HCURSOR: c->wc.hCursor = reinterpret_cast<HCURSOR>(value); break;
    case GCLP_HBRBACKGROUND: c->wc.hbrBackground = reinterpret_cast<HBRUSH>(value); break;
    case GCL_STYLE: c->wc.style = static_cast<UINT>(value); break;
    default: return 0;
  }
  return old;
}

// ---------------------------------------------------------------- windows

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  RegisterControlClasses();
  std::wstring cname = ClassNameOf(className);
  WindowClass* cls = FindClass(cname);
  if (!cls) {
    SetLastError(1407);  // the class does not exist
    return nullptr;
  }
  if ((style & WS_CHILD) && !Find(parent)) {
    SetLastError(1406);  // a child needs a parent
    return nullptr;
  }
  State& s = S();
  auto w = std::make_unique<Window>();
  HWND h = reinterpret_cast<HWND>(s.nextHandle += 4);
  w->handle = h;
  w->className = cls->name;
  w->proc = cls->wc.lpfnWndProc;
  w->style = style;
  w->exStyle = exStyle;
  w->text = windowName ? windowName : L"";
  w->instance = instance;
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) {
    width = 400;
    height = 300;
  }
  w->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
  if (style & WS_CHILD) {
    w->parent = parent;
    w->id = reinterpret_cast<LONG_PTR>(menu);
  } else if (Window* o = Find(parent)) {
    w->owner = Root(o)->handle;
  }
  Window* raw = w.get();
  s.windows.emplace(reinterpret_cast<uintptr_t>(h), std::move(w));
  if (Window* p = Find(raw->parent)) p->children.push_back(h);
  if (s.createHook) s.createHook(h);

  CREATESTRUCTW cs{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style), windowName, className, exStyle};
  if (!SendMessageW(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) || !Find(h)) {
    DestroyWindow(h);
    return nullptr;
  }
  if (SendMessageW(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1 || !Find(h)) {
    DestroyWindow(h);
    return nullptr;
  }
  RECT rc;
  GetClientRect(h, &rc);
  SendMessageW(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
  if (Find(h) && (Find(h)->style & WS_VISIBLE) && !(style & WS_CHILD)) {
    s.active = h;
    if (s.backend) s.backend->Shown(h);
  }
  return Find(h) ? h : nullptr;
}

BOOL DestroyWindow(HWND hWnd) {
  Window* w = Find(hWnd);
  if (!w || w->destroying) return FALSE;
  w->destroying = true;
  State& s = S();
  // Owned windows go first.
  std::vector<HWND> owned;
  for (auto& [id, other] : s.windows) {
    (void)id;
    if (other->owner == hWnd && !other->destroying) owned.push_back(other->handle);
  }
  for (HWND o : owned) DestroyWindow(o);
  for (HWND f = s.focus; f; f = Find(f) && (Find(f)->style & WS_CHILD) ? Find(f)->parent : nullptr)
    if (f == hWnd) {
      s.focus = nullptr;
      break;
    }
  for (HWND c = s.capture; c; c = Find(c) && (Find(c)->style & WS_CHILD) ? Find(c)->parent : nullptr)
    if (c == hWnd) {
      s.capture = nullptr;
      break;
    }
  SendMessageW(hWnd, WM_DESTROY, 0, 0);
  w = Find(hWnd);
  if (!w) return TRUE;
  std::vector<HWND> kids = w->children;
  for (HWND k : kids) DestroyWindow(k);
  for (auto it = s.timers.begin(); it != s.timers.end();) it = it->first.first == hWnd ? s.timers.erase(it) : std::next(it);
  std::erase_if(s.queue, [&](const MSG& m) { return m.hwnd == hWnd; });
  SendMessageW(hWnd, WM_NCDESTROY, 0, 0);
  w = Find(hWnd);
  if (!w) return TRUE;
  if (Window* p = Find(w->parent)) std::erase(p->children, hWnd);
  if (s.active == hWnd) s.active = Find(w->owner) ? w->owner : nullptr;
  if (s.backend && IsTopLevel(w)) s.backend->Destroyed(hWnd);
  s.windows.erase(reinterpret_cast<uintptr_t>(hWnd));
  return TRUE;
}

BOOL IsWindow(HWND hWnd) { return Find(hWnd) != nullptr; }

BOOL IsWindowVisible(HWND hWnd) {
  for (Window* w = Find(hWnd); w; w = (w->style & WS_CHILD) ? Find(w->parent) : nullptr)
    if (!(w->style & WS_VISIBLE)) return FALSE;
  return Find(hWnd) != nullptr;
}

BOOL IsWindowEnabled(HWND hWnd) {
  Window* w = Find(hWnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL IsChild(HWND parent, HWND hWnd) {
  for (Window* w = Find(hWnd); w && (w->style & WS_CHILD); w = Find(w->parent))
    if (w->parent == parent) return TRUE;
  return FALSE;
}

BOOL ShowWindow(HWND hWnd, int cmdShow) {
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  bool was = (w->style & WS_VISIBLE) != 0;
  bool show = cmdShow != SW_HIDE;
  if (was != show) {
    SendMessageW(hWnd, WM_SHOWWINDOW, show, 0);
    w = Find(hWnd);
    if (!w) return was;
    if (show) w->style |= WS_VISIBLE;
    else w->style &= ~WS_VISIBLE;
    if (!show) {
      // A hidden window gives up the focus.
      for (HWND f = S().focus; f; f = Find(f) && (Find(f)->style & WS_CHILD) ? Find(f)->parent : nullptr)
        if (f == hWnd) {
          SetFocus(nullptr);
          break;
        }
    }
    if (show && !(w->style & WS_CHILD) && cmdShow != SW_SHOWNA && cmdShow != SW_SHOWNOACTIVATE) S().active = hWnd;
    w->dirty = true;
    if (Backend* b = S().backend; b && IsTopLevel(w)) show ? b->Shown(hWnd) : b->Hidden(hWnd);
  }
  return was;
}

BOOL EnableWindow(HWND hWnd, BOOL enable) {
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) w->style &= ~WS_DISABLED;
  else w->style |= WS_DISABLED;
  if (!enable && S().focus == hWnd) SetFocus(nullptr);
  SendMessageW(hWnd, WM_ENABLE, enable, 0);
  InvalidateRect(hWnd, nullptr, TRUE);
  return wasDisabled;
}

BOOL SetWindowTextW(HWND hWnd, LPCWSTR text) {
  return Find(hWnd) ? static_cast<BOOL>(SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L""))) : FALSE;
}

int GetWindowTextW(HWND hWnd, LPWSTR text, int maxCount) {
  if (!Find(hWnd) || !text || maxCount <= 0) return 0;
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND hWnd) {
  return Find(hWnd) ? static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

BOOL GetWindowRect(HWND hWnd, LPRECT rect) {
  Window* w = Find(hWnd);
  if (!w || !rect) return FALSE;
  *rect = w->rect;
  if (w->style & WS_CHILD) {
    POINT o{0, 0};
    ClientToScreen(w->parent, &o);
    OffsetRect(rect, o.x, o.y);
  }
  return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT rect) {
  Window* w = Find(hWnd);
  if (!w || !rect) return FALSE;
  RECT in = NonClientInsets(*w);
  rect->left = rect->top = 0;
  rect->right = std::max<LONG>(0, w->rect.right - w->rect.left - in.left - in.right);
  rect->bottom = std::max<LONG>(0, w->rect.bottom - w->rect.top - in.top - in.bottom);
  return TRUE;
}

// The screen position of the window's client origin.
static POINT ClientOrigin(Window* w) {
  RECT in = NonClientInsets(*w);
  POINT o{w->rect.left + in.left, w->rect.top + in.top};
  if (w->style & WS_CHILD) {
    if (Window* p = Find(w->parent)) {
      POINT po = ClientOrigin(p);
      o.x += po.x;
      o.y += po.y;
    }
  }
  return o;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT point) {
  Window* w = Find(hWnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOrigin(w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT point) {
  Window* w = Find(hWnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOrigin(w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT a{0, 0}, b{0, 0};
  if (from) ClientToScreen(from, &a);
  if (to) ClientToScreen(to, &b);
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL SetWindowPos(HWND hWnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  RECT old = w->rect;
  if (!(flags & SWP_NOMOVE)) OffsetRect(&w->rect, x - w->rect.left, y - w->rect.top);
  if (!(flags & SWP_NOSIZE)) {
    w->rect.right = w->rect.left + std::max(cx, 0);
    w->rect.bottom = w->rect.top + std::max(cy, 0);
  }
  if (!(flags & SWP_NOZORDER)) {
    if (Window* p = Find(w->parent)) {
      auto& v = p->children;
      std::erase(v, hWnd);
      if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST) v.insert(v.begin(), hWnd);
      else if (insertAfter == HWND_BOTTOM || insertAfter == HWND_NOTOPMOST) v.push_back(hWnd);
      else {
        auto it = std::find(v.begin(), v.end(), insertAfter);
        v.insert(it == v.end() ? v.end() : std::next(it), hWnd);
      }
    }
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hWnd, SW_SHOWNA);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hWnd, SW_HIDE);
  w = Find(hWnd);
  if (!w) return TRUE;
  w->dirty = true;
  if (Backend* b = S().backend; b && IsTopLevel(w) && !EqualRect(&old, &w->rect)) b->Placed(hWnd);
  if (old.left != w->rect.left || old.top != w->rect.top) SendMessageW(hWnd, WM_MOVE, 0, MAKELPARAM(w->rect.left, w->rect.top));
  if (Find(hWnd) && (old.right - old.left != w->rect.right - w->rect.left || old.bottom - old.top != w->rect.bottom - w->rect.top)) {
    RECT rc;
    GetClientRect(hWnd, &rc);
    SendMessageW(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
  }
  return TRUE;
}

BOOL MoveWindow(HWND hWnd, int x, int y, int width, int height, BOOL) {
  return SetWindowPos(hWnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND GetParent(HWND hWnd) {
  Window* w = Find(hWnd);
  if (!w) return nullptr;
  return (w->style & WS_CHILD) ? w->parent : w->owner;
}

HWND SetParent(HWND child, HWND newParent) {
  Window* w = Find(child);
  if (!w) return nullptr;
  HWND old = w->parent;
  if (Window* p = Find(old)) std::erase(p->children, child);
  if (Window* np = Find(newParent)) {
    w->parent = newParent;
    np->children.insert(np->children.begin(), child);
  } else {
    w->parent = nullptr;
    w->style &= ~WS_CHILD;
  }
  return old;
}

HWND GetAncestor(HWND hWnd, UINT flags) {
  Window* w = Find(hWnd);
  if (!w) return nullptr;
  if (flags == GA_PARENT) return (w->style & WS_CHILD) ? w->parent : nullptr;
  return Root(w)->handle;
}

HWND GetWindow(HWND hWnd, UINT cmd) {
  Window* w = Find(hWnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (cmd == GW_OWNER) return w->owner;
  Window* p = Find(w->parent);
  if (!p || !(w->style & WS_CHILD)) return nullptr;
  auto& v = p->children;
  auto it = std::find(v.begin(), v.end(), hWnd);
  switch (cmd) {
    case GW_HWNDFIRST: return v.front();
    case GW_HWNDLAST: return v.back();
    case GW_HWNDNEXT: return (it == v.end() || std::next(it) == v.end()) ? nullptr : *std::next(it);
    case GW_HWNDPREV: return (it == v.begin() || it == v.end()) ? nullptr : *std::prev(it);
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND hWnd) { return GetWindow(hWnd, GW_CHILD); }

HWND GetDlgItem(HWND dialog, int id) {
  Window* w = Find(dialog);
  if (!w) return nullptr;
  for (HWND c : w->children)
    if (Window* cw = Find(c); cw && static_cast<int>(cw->id) == id) return c;
  return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
  Window* w = Find(hWnd);
  return w && (w->style & WS_CHILD) ? static_cast<int>(w->id) : 0;
}

HWND GetDesktopWindow() { return nullptr; }

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
  Window* w = Find(parent);
  if (!w) return nullptr;
  for (HWND c : w->children) {
    Window* cw = Find(c);
    if (cw && (cw->style & WS_VISIBLE) && PtInRect(&cw->rect, pt)) return c;
  }
  RECT rc;
  GetClientRect(parent, &rc);
  return PtInRect(&rc, pt) ? parent : nullptr;
}

HWND WindowFromPoint(POINT pt) {
  HWND best = nullptr;
  for (auto& [id, w] : S().windows) {
    (void)id;
    if ((w->style & WS_CHILD) || !(w->style & WS_VISIBLE) || !PtInRect(&w->rect, pt)) continue;
    best = w->handle;
    if (best == S().active) break;
  }
  for (HWND cur = best; cur;) {
    POINT local = pt;
    ScreenToClient(cur, &local);
    HWND child = ChildWindowFromPoint(cur, local);
    if (!child || child == cur) return cur;
    cur = child;
  }
  return best;
}

LONG_PTR GetWindowLongPtrW(HWND hWnd, int index) {
  Window* w = Find(hWnd);
  if (!w) return 0;
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_ID: return w->id;
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWLP_USERDATA: return w->userData;
    default: return 0;
  }
}

LONG_PTR SetWindowLongPtrW(HWND hWnd, int index, LONG_PTR value) {
  Window* w = Find(hWnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtrW(hWnd, index);
  switch (index) {
    case GWLP_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
    case GWLP_ID: w->id = value; break;
    case GWL_STYLE: w->style = static_cast<DWORD>(value); break;
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); break;
    case GWLP_USERDATA: w->userData = value; break;
    default: return 0;
  }
  return old;
}

LONG GetWindowLongW(HWND hWnd, int index) { return static_cast<LONG>(GetWindowLongPtrW(hWnd, index)); }
LONG SetWindowLongW(HWND hWnd, int index, LONG value) { return static_cast<LONG>(SetWindowLongPtrW(hWnd, index, value)); }

BOOL SetPropW(HWND hWnd, LPCWSTR name, HANDLE data) {
  Window* w = Find(hWnd);
  if (!w || !name) return FALSE;
  w->props[name] = data;
  return TRUE;
}
HANDLE GetPropW(HWND hWnd, LPCWSTR name) {
  Window* w = Find(hWnd);
  if (!w || !name) return nullptr;
  auto it = w->props.find(name);
  return it == w->props.end() ? nullptr : it->second;
}
HANDLE RemovePropW(HWND hWnd, LPCWSTR name) {
  Window* w = Find(hWnd);
  if (!w || !name) return nullptr;
  auto it = w->props.find(name);
  if (it == w->props.end()) return nullptr;
  HANDLE h = it->second;
  w->props.erase(it);
  return h;
}

HWND GetActiveWindow() { return Find(S().active) ? S().active : nullptr; }
HWND SetActiveWindow(HWND hWnd) {
  HWND old = GetActiveWindow();
  if (Window* w = Find(hWnd)) S().active = Root(w)->handle;
  return old;
}
HWND GetForegroundWindow() { return GetActiveWindow(); }
BOOL SetForegroundWindow(HWND hWnd) { return SetActiveWindow(hWnd) != hWnd || Find(hWnd); }
BOOL BringWindowToTop(HWND hWnd) {
  return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
