// Input state: the focus (kill-focus first), capture, the keyboard state
// the script or the display sets, the cursor and its position, and timers on
// a virtual clock that the scripted user's @wait advances (on a display, the
// display moves it with the real clock).
#include <algorithm>

#include "wndstate.h"

namespace win::wnd {

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
  if (s.backend) s.backend->CaptureChanged(hWnd);
  if (old) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
  return old;
}

HWND GetCapture() { return Find(S().capture) ? S().capture : nullptr; }

BOOL ReleaseCapture() {
  State& s = S();
  HWND old = Find(s.capture) ? s.capture : nullptr;
  s.capture = nullptr;
  if (s.backend && old) s.backend->CaptureChanged(nullptr);
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
  // On a display the clock is the real one; it is brought up to date first.
  if (s.backend) s.now = std::max(s.now, s.backend->Now());
  UINT interval = std::max<UINT>(elapse, 10);
  s.timers[{hWnd, id}] = Timer{interval, s.now + interval, proc};
  return hWnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hWnd, UINT_PTR id) { return S().timers.erase({hWnd, id}) ? TRUE : FALSE; }

UINT GetDoubleClickTime() { return 500; }
