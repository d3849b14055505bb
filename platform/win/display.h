// The display mode of the window system: top-level windows shown on an X11
// display, input from a person, timers on the real clock, the clipboard
// shared with other programs. Without Open the window system stays headless
// (the scripted user drives it), which is the default.
#pragma once

#include <string>

#include "wintypes.h"

namespace win::display {

// Connects to the X display `name` (empty: $DISPLAY) and shows top-level
// windows there from now on. False, with the reason in `error`, when no
// display can be reached.
bool Open(const std::string& name, std::string& error);
bool IsOpen();
// The name of the open display (":1"), empty when none is open.
std::string Name();
// Takes every window off the display and disconnects; the window system is
// headless again.
void Close();
// Waits for input or a due timer and handles what came (painting what
// changed first). False when no display is open.
bool WaitForInput();
// Handles what has already arrived and paints what changed, without waiting.
void Pump();
// Paints what changed and sends it to the screen, waiting until the X server
// has done it, taking no input (for progress shown in the middle of a long
// piece of work).
void PaintNow();
// The X window that shows a top-level window (0 when it has none), for tests
// and tools that look at the screen.
unsigned long XWindowOf(HWND top);

}  // namespace win::display
