// The inside of the window system shared by the window manager, the built-in
// controls, the dialog manager and the snapshot writer.
#pragma once

#include <cairo.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gdiimpl.h"
#include "winuser.h"

namespace win::wnd {

// Per-window data a built-in control keeps.
struct ControlData {
  virtual ~ControlData() = default;
};

struct ScrollBarState {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 100, 0, 0, 0};
  bool shown = false;
};

struct WindowClass {
  std::wstring name;
  WNDCLASSW wc{};
};

struct Window {
  HWND handle = nullptr;
  std::wstring className;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::wstring text;
  RECT rect{};  // in the parent's client coordinates; top-level windows: screen
  HWND parent = nullptr;
  HWND owner = nullptr;
  std::vector<HWND> children;  // z-order, top first
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  HFONT font = nullptr;
  HICON iconBig = nullptr;
  HICON iconSmall = nullptr;
  bool redraw = true;
  bool dirty = true;
  bool destroying = false;
  std::map<std::wstring, HANDLE> props;
  ScrollBarState scroll[2];
  std::unique_ptr<ControlData> data;
  cairo_surface_t* surface = nullptr;  // top-level windows: what they look like
  ~Window() {
    if (surface) cairo_surface_destroy(surface);
  }
};

Window* Find(HWND hWnd);
// The thickness of the frame and caption around the client area.
RECT NonClientInsets(const Window& w);
// The top-level window whose surface the window draws on.
Window* Root(Window* w);
// The window's rectangle in its root window's surface.
RECT RectInRoot(Window* w);
// Paints the window, its frame and its visible children onto its root's
// surface (the surface is made to the root's size first).
void PaintTree(HWND hWnd);
// The root's surface, made or resized to fit.
cairo_surface_t* RootSurface(Window* root);
// Fires due timers after the virtual clock moved on by `ms`.
void AdvanceClock(unsigned ms);
unsigned long long ClockNow();
// Sends notification `code` as WM_COMMAND to the control's parent.
void NotifyParent(HWND control, UINT code);
// Sets a key as held down (true) or released (false) for GetKeyState.
void SetKeyDown(int vk, bool down);
// A function the class library installs to attach its window object to a
// window being made, before the window's first message.
using CreateHook = void (*)(HWND);
void SetCreateHook(CreateHook hook);
// Number of live windows (tests look for leaks).
size_t WindowCount();
// Chooses the item of a combo box by its text, as the user picking it from the
// list: the drop-down notification first (whose handler may fill the list),
// then the selection and its notifications. False when no item has the text.
bool ComboPickByText(HWND h, const std::wstring& text);
// Registers the built-in control classes (once).
void RegisterControlClasses();
// The dialog box window procedure of built-in dialogs.
LRESULT CALLBACK DialogWndProc(HWND, UINT, WPARAM, LPARAM);

}  // namespace win::wnd
