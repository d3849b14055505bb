// The inside of the built-in controls (button.cpp, static.cpp, edit.cpp,
// combobox.cpp): the helpers they share and their window procedures, which
// controls.cpp registers.
#pragma once

#include <string>

#include "wndimpl.h"

namespace win::wnd::ctl {

// The font the control paints with: its own, its parent's, else the GUI font.
HFONT ControlFont(HWND h);
// Asks the parent for the colours of the control (WM_CTLCOLOR...); returns the brush.
HBRUSH CtlColor(HWND h, HDC dc, UINT msg);

// The control's own data, when it is of that kind.
template <class D>
D* DataOf(HWND h) {
  Window* w = Find(h);
  return w ? dynamic_cast<D*>(w->data.get()) : nullptr;
}

inline DWORD StyleOf(HWND h) { return static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE)); }

inline std::wstring TextOf(HWND h) {
  Window* w = Find(h);
  return w ? w->text : std::wstring();
}

LRESULT CALLBACK ButtonProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);
// The drop-down list window of a combo box on a display (combolist.cpp):
// shown under it, at least `width` wide; null without a display.
HWND ShowDropList(HWND combo, int width);
void CloseDropList(HWND list);

}  // namespace win::wnd::ctl
