// The message box as a window, for a display (msgboxwindow.cpp).
#pragma once

#include <string>
#include <vector>

#include "resourcetable.h"
#include "winuser.h"

namespace win {

// The dialog template of a message box: the text above a centred row of
// buttons, the default one marked.
DialogResource MessageBoxTemplate(const std::wstring& caption, const std::wstring& text, const std::vector<int>& buttons,
                                  int defaultButton);
// Shows the box modally and returns the button pressed (the default one if
// the box could not be made or the display went away).
int ShowMessageBoxWindow(HWND owner, const std::wstring& caption, const std::wstring& text, const std::vector<int>& buttons,
                         int defaultButton);

}  // namespace win
