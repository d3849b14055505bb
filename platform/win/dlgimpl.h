// The inside of the dialog manager that the interpreter of the window lines
// and the message boxes share with it.
#pragma once

#include <string>

#include "winuser.h"

namespace win::dlg {

// True when the window is a dialog box made by the dialog manager.
bool IsDialog(HWND h);
// The direct child of `dialog` that holds `h` (a combo box for its edit part).
HWND DirectChild(HWND dialog, HWND h);
// Gives the control the focus and selects all its text where it has any.
void FocusControl(HWND h);
// Sends the dialog the click of button `id`, unless that button is hidden or disabled.
void PressButton(HWND dialog, int id);
// The dialog's default button (IDOK when it names none).
int DefaultId(HWND dialog);
// The dialog's own keys: Enter presses the focused push button or the
// default one, Esc cancels, Tab and Shift+Tab move the focus, unless the
// focused control wants the key. False when `window` is no dialog or the key
// is the control's.
bool NavigationKey(HWND window, int vk, bool shift);
// Writes "window input refused: LINE (why)" to the transcript.
void RefuseLine(const std::string& line, const std::string& why);

}  // namespace win::dlg
