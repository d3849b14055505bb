// Window states read from the style: minimised and maximised.
#include "winuser.h"

BOOL IsIconic(HWND hWnd) {
  return ::IsWindow(hWnd) && (static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_STYLE)) & WS_MINIMIZE) != 0;
}

BOOL IsZoomed(HWND hWnd) {
  return ::IsWindow(hWnd) && (static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_STYLE)) & WS_MAXIMIZE) != 0;
}
