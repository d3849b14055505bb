// The window manager: classes, windows, messages, the posted-message queue,
// focus, capture, keyboard state, timers on a virtual clock, painting onto
// the top-level window's surface, scroll bars, system metrics and colours.
#include <algorithm>
#include <cwctype>
#include <deque>
#include <map>
#include <unordered_map>

#include "module.h"
#include "textconv.h"
#include "textutil.h"
#include "wndimpl.h"

namespace win::wnd {
namespace {

struct Timer {
  UINT interval = 10;
  unsigned long long due = 0;
  TIMERPROC proc = nullptr;
};

struct State {
  std::unordered_map<uintptr_t, std::unique_ptr<Window>> windows;
  std::vector<WindowClass> classes;
  std::map<std::wstring, UINT> registeredMessages;
  uintptr_t nextHandle = 0x20000;
  std::deque<MSG> queue;
  HWND focus = nullptr;
  HWND capture = nullptr;
  HWND active = nullptr;
  std::map<int, bool> keys;
  std::map<std::pair<HWND, UINT_PTR>, Timer> timers;
  UINT_PTR nextTimerId = 0x7FFF0000;
  unsigned long long now = 0;
  HCURSOR cursor = nullptr;
  POINT cursorPos{0, 0};
  RECT cursorClip{0, 0, 0, 0};
  bool cursorClipped = false;
  bool quit = false;
  CreateHook createHook = nullptr;
};

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

Window* Parent(Window* w) { return w ? Find(w->parent) : nullptr; }

}  // namespace

Window* Find(HWND hWnd) {
  auto& ws = S().windows;
  auto it = ws.find(reinterpret_cast<uintptr_t>(hWnd));
  return it == ws.end() ? nullptr : it->second.get();
}

void SetCreateHook(CreateHook hook) { S().createHook = hook; }

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
static POINT ClientOriginInRoot(Window* w) {
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
  // Scroll bars: arrows at the ends and the thumb at the position.
  for (int bar = 0; bar < 2; ++bar) {
    if (!(w->style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL))) continue;
    int cxv = GetSystemMetrics(SM_CXVSCROLL), cyh = GetSystemMetrics(SM_CYHSCROLL);
    RECT full = {in.left, in.top, w->rect.right - w->rect.left - (in.right), w->rect.bottom - w->rect.top - in.bottom};
    RECT sb = bar == SB_VERT ? RECT{full.right, full.top, full.right + cxv, full.bottom}
                             : RECT{full.left, full.bottom, full.right, full.bottom + cyh};
    FillRect(dc, &sb, GetSysColorBrush(COLOR_SCROLLBAR));
    const SCROLLINFO& si = w->scroll[bar].info;
    bool vert = bar == SB_VERT;
    int len = vert ? sb.bottom - sb.top : sb.right - sb.left;
    int arrow = vert ? cxv : cyh;
    RECT a1 = vert ? RECT{sb.left, sb.top, sb.right, sb.top + arrow} : RECT{sb.left, sb.top, sb.left + arrow, sb.bottom};
    RECT a2 = vert ? RECT{sb.left, sb.bottom - arrow, sb.right, sb.bottom} : RECT{sb.right - arrow, sb.top, sb.right, sb.bottom};
    DrawFrameControl(dc, &a1, DFC_SCROLL, vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT);
    DrawFrameControl(dc, &a2, DFC_SCROLL, vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT);
    int track = len - 2 * arrow;
    int range = si.nMax - si.nMin + 1;
    if (track > 8 && range > 0 && static_cast<int>(si.nPage) < range) {
      int thumb = std::max(8, si.nPage ? MulDiv(track, static_cast<int>(si.nPage), range) : 16);
      int span = range - std::max<int>(static_cast<int>(si.nPage), 1);
      int pos = span > 0 ? MulDiv(track - thumb, si.nPos - si.nMin, span) : 0;
      RECT t = vert ? RECT{sb.left, sb.top + arrow + pos, sb.right, sb.top + arrow + pos + thumb}
                    : RECT{sb.left + arrow + pos, sb.top, sb.left + arrow + pos + thumb, sb.bottom};
      DrawEdge(dc, &t, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
    if ((w->style & WS_VSCROLL) && (w->style & WS_HSCROLL) && bar == SB_VERT) {
      RECT corner{full.right, full.bottom, full.right + cxv, full.bottom + cyh};
      FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
    }
  }
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

void NotifyParent(HWND control, UINT code) {
  Window* w = Find(control);
  if (!w || !w->parent) return;
  SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), code), reinterpret_cast<LPARAM>(control));
}

void SetKeyDown(int vk, bool down) { S().keys[vk] = down; }

unsigned long long ClockNow() { return S().now; }

void AdvanceClock(unsigned ms) {
  State& s = S();
  unsigned long long target = s.now + ms;
  for (int guard = 0; guard < 100000; ++guard) {
    auto next = s.timers.end();
    for (auto it = s.timers.begin(); it != s.timers.end(); ++it)
      if (it->second.due <= target && (next == s.timers.end() || it->second.due < next->second.due)) next = it;
    if (next == s.timers.end()) break;
    auto key = next->first;
    Timer t = next->second;
    s.now = std::max(s.now, t.due);
    next->second.due = s.now + t.interval;
    if (t.proc) t.proc(key.first, WM_TIMER, key.second, static_cast<DWORD>(s.now));
    else SendMessageW(key.first, WM_TIMER, key.second, 0);
  }
  s.now = target;
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
  if (Find(h) && (Find(h)->style & WS_VISIBLE) && !(style & WS_CHILD)) s.active = h;
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

// ---------------------------------------------------------------- messages

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
  // Without a display nothing arrives that is not already queued: an empty
  // queue ends the loop as a quit would, so that no loop can hang.
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

// ---------------------------------------------------------------- focus, capture, keys, cursor

HWND SetFocus(HWND hWnd) {
  State& s = S();
  if (hWnd && !Find(hWnd)) return nullptr;
  HWND old = Find(s.focus) ? s.focus : nullptr;
  if (old == hWnd) return old;
  if (old) {
    SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    // The kill-focus handler may have moved the focus itself.
    if (s.focus != old) return old;
  }
  s.focus = hWnd;
  if (Window* w = Find(hWnd)) s.active = Root(w)->handle;
  if (hWnd) SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() { return Find(S().focus) ? S().focus : nullptr; }

HWND SetCapture(HWND hWnd) {
  State& s = S();
  HWND old = Find(s.capture) ? s.capture : nullptr;
  if (old == hWnd) return old;
  s.capture = hWnd;
  if (old) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
  return old;
}

HWND GetCapture() { return Find(S().capture) ? S().capture : nullptr; }

BOOL ReleaseCapture() {
  State& s = S();
  HWND old = Find(s.capture) ? s.capture : nullptr;
  s.capture = nullptr;
  if (old) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

SHORT GetKeyState(int vk) {
  auto& k = S().keys;
  bool down = false;
  auto held = [&](int key) {
    auto it = k.find(key);
    return it != k.end() && it->second;
  };
  down = held(vk);
  if (vk == VK_SHIFT) down = down || held(VK_LSHIFT) || held(VK_RSHIFT);
  if (vk == VK_CONTROL) down = down || held(VK_LCONTROL) || held(VK_RCONTROL);
  return down ? static_cast<SHORT>(0x8000 | 0x0001) : 0;
}
SHORT GetAsyncKeyState(int vk) { return GetKeyState(vk); }

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = S().cursor;
  S().cursor = cursor;
  return old;
}
HCURSOR GetCursor() { return S().cursor; }

BOOL ClipCursor(const RECT* rect) {
  State& s = S();
  s.cursorClipped = rect != nullptr;
  if (rect) {
    s.cursorClip = *rect;
    SetCursorPos(s.cursorPos.x, s.cursorPos.y);
  }
  return TRUE;
}
BOOL GetClipCursor(LPRECT rect) {
  if (!rect) return FALSE;
  *rect = S().cursorClipped ? S().cursorClip
                            : RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return TRUE;
}
BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  *point = S().cursorPos;
  return TRUE;
}
BOOL SetCursorPos(int x, int y) {
  State& s = S();
  RECT clip;
  GetClipCursor(&clip);
  s.cursorPos = {std::clamp<LONG>(x, clip.left, std::max(clip.left, clip.right - 1)),
                 std::clamp<LONG>(y, clip.top, std::max(clip.top, clip.bottom - 1))};
  return TRUE;
}
int ShowCursor(BOOL show) {
  static int counter = 0;
  counter += show ? 1 : -1;
  return counter;
}

// ---------------------------------------------------------------- timers

UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  State& s = S();
  if (hWnd && !Find(hWnd)) return 0;
  if (!hWnd) id = ++s.nextTimerId;
  UINT interval = std::max<UINT>(elapse, 10);
  s.timers[{hWnd, id}] = Timer{interval, s.now + interval, proc};
  return hWnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hWnd, UINT_PTR id) { return S().timers.erase({hWnd, id}) ? TRUE : FALSE; }

UINT GetDoubleClickTime() { return 500; }

// ---------------------------------------------------------------- painting

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

// ---------------------------------------------------------------- scroll bars

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

// ---------------------------------------------------------------- rectangles

BOOL SetRect(LPRECT r, int left, int top, int right, int bottom) {
  if (!r) return FALSE;
  *r = {left, top, right, bottom};
  return TRUE;
}
BOOL SetRectEmpty(LPRECT r) { return SetRect(r, 0, 0, 0, 0); }
BOOL CopyRect(LPRECT dst, const RECT* src) {
  if (!dst || !src) return FALSE;
  *dst = *src;
  return TRUE;
}
BOOL IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }
BOOL PtInRect(const RECT* r, POINT p) {
  return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
BOOL OffsetRect(LPRECT r, int dx, int dy) {
  if (!r) return FALSE;
  r->left += dx;
  r->right += dx;
  r->top += dy;
  r->bottom += dy;
  return TRUE;
}
BOOL InflateRect(LPRECT r, int dx, int dy) {
  if (!r) return FALSE;
  r->left -= dx;
  r->right += dx;
  r->top -= dy;
  r->bottom += dy;
  return TRUE;
}
BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right), std::min(a->bottom, b->bottom)};
  if (r.left >= r.right || r.top >= r.bottom) {
    SetRectEmpty(dst);
    return FALSE;
  }
  *dst = r;
  return TRUE;
}
BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  if (IsRectEmpty(a)) *dst = *b;
  else if (IsRectEmpty(b)) *dst = *a;
  else
    *dst = {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
  return !IsRectEmpty(dst);
}
BOOL EqualRect(const RECT* a, const RECT* b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

// ---------------------------------------------------------------- system metrics and colours

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return 1280;
    case SM_CYSCREEN: return 1024;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 17;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 23;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 20;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_SWAPBUTTON: return 0;
    default: return 0;
  }
}

DWORD GetSysColor(int index) {
  switch (index) {
    case COLOR_SCROLLBAR: return RGB(212, 208, 200);
    case COLOR_BACKGROUND: return RGB(58, 110, 165);
    case COLOR_ACTIVECAPTION: return RGB(10, 36, 106);
    case COLOR_INACTIVECAPTION: return RGB(128, 128, 128);
    case COLOR_MENU: return RGB(212, 208, 200);
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME: return RGB(0, 0, 0);
    case COLOR_MENUTEXT: return RGB(0, 0, 0);
    case COLOR_WINDOWTEXT: return RGB(0, 0, 0);
    case COLOR_CAPTIONTEXT: return RGB(255, 255, 255);
    case COLOR_ACTIVEBORDER: case COLOR_INACTIVEBORDER: return RGB(212, 208, 200);
    case COLOR_APPWORKSPACE: return RGB(128, 128, 128);
    case COLOR_HIGHLIGHT: return RGB(10, 36, 106);
    case COLOR_HIGHLIGHTTEXT: return RGB(255, 255, 255);
    case COLOR_BTNFACE: return RGB(212, 208, 200);
    case COLOR_BTNSHADOW: return RGB(128, 128, 128);
    case COLOR_GRAYTEXT: return RGB(128, 128, 128);
    case COLOR_BTNTEXT: return RGB(0, 0, 0);
    case COLOR_INACTIVECAPTIONTEXT: return RGB(212, 208, 200);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW: return RGB(64, 64, 64);
    case COLOR_3DLIGHT: return RGB(212, 208, 200);
    case COLOR_INFOTEXT: return RGB(0, 0, 0);
    case COLOR_INFOBK: return RGB(255, 255, 225);
    case COLOR_HOTLIGHT: return RGB(0, 0, 128);
    default: return 0;
  }
}

BOOL SystemParametersInfoW(UINT action, UINT, PVOID data, UINT) {
  if (!data) return FALSE;
  switch (action) {
    case SPI_GETWHEELSCROLLLINES: *static_cast<UINT*>(data) = 3; return TRUE;
    case SPI_GETWORKAREA:
      *static_cast<RECT*>(data) = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 30};
      return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICSW*>(data);
      UINT size = m->cbSize;
      if (size != sizeof(NONCLIENTMETRICSW)) return FALSE;
      *m = NONCLIENTMETRICSW{};
      m->cbSize = size;
      m->iBorderWidth = 1;
      m->iScrollWidth = m->iScrollHeight = 17;
      m->iCaptionWidth = m->iCaptionHeight = 22;
      m->iSmCaptionWidth = m->iSmCaptionHeight = 17;
      m->iMenuWidth = m->iMenuHeight = 19;
      auto font = [](LOGFONTW& lf, LONG weight) {
        lf = LOGFONTW{};
        lf.lfHeight = -12;
        lf.lfWeight = weight;
        lf.lfCharSet = GB2312_CHARSET;
        wcscpy(lf.lfFaceName, L"宋体");
      };
      font(m->lfCaptionFont, FW_BOLD);
      font(m->lfSmCaptionFont, FW_BOLD);
      font(m->lfMenuFont, FW_NORMAL);
      font(m->lfStatusFont, FW_NORMAL);
      font(m->lfMessageFont, FW_NORMAL);
      return TRUE;
    }
    default: return FALSE;
  }
}
