// The inside of the window manager that its files share (wnd.cpp,
// wndmsg.cpp, wndinput.cpp, wndpaint.cpp, scrollbar.cpp): the one state of all
// windows, classes, the queue, focus, capture, keys, cursor and timers.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "wndbackend.h"
#include "wndimpl.h"

namespace win::wnd {

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
  Backend* backend = nullptr;
};

// The one state of the window manager.
State& S();

// True for a window that is not a child (frames, dialogs, pop-ups).
inline bool IsTopLevel(const Window* w) { return w && !(w->style & WS_CHILD); }

// The class name a CreateWindow or RegisterClass argument names ("#N" for an atom).
std::wstring ClassNameOf(LPCWSTR name);
WindowClass* FindClass(const std::wstring& name);
inline Window* Parent(Window* w) { return w ? Find(w->parent) : nullptr; }
// The client area's origin in the root window's surface.
POINT ClientOriginInRoot(Window* w);
// Draws the scroll bars of the window's frame (scrollbar.cpp).
void PaintScrollBars(Window* w, HDC dc);
// The scroll code of a press on the window's scroll bar `bar` at a point in
// window coordinates: the arrows step a line, the track beside the thumb a
// page; -1 on the thumb or outside the bar.
int ScrollCodeAt(const Window* w, int bar, POINT at);

}  // namespace win::wnd
