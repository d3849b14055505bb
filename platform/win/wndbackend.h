// What a display does for the window manager. Without one (the default) the
// windows live only in memory and the scripted user drives them; with one
// (the X display of xdisplay.cpp) top-level windows are shown on a screen,
// input comes from a person and timers run on the real clock.
#pragma once

#include <optional>
#include <string>

#include "wintypes.h"

namespace win::wnd {

class Backend {
 public:
  virtual ~Backend() = default;
  // A top-level window was shown, hidden, destroyed, moved or resized, or
  // its caption changed.
  virtual void Shown(HWND top) = 0;
  virtual void Hidden(HWND top) = 0;
  virtual void Destroyed(HWND top) = 0;
  virtual void Placed(HWND top) = 0;
  virtual void TextChanged(HWND top) = 0;
  // The mouse capture moved to `window` (null: released).
  virtual void CaptureChanged(HWND window) = 0;
  // Waits for at least one input event or due timer and handles what came;
  // paints what changed before it waits. False when the display is gone.
  virtual bool WaitForInput() = 0;
  // Milliseconds on the real clock since the display was opened.
  virtual unsigned long long Now() = 0;
  // The clipboard's text was set here (UTF-8); the display offers it to
  // other programs.
  virtual void ClipboardSet(const std::string& utf8) = 0;
  // The text another program offers on the clipboard; nullopt when this
  // process owns it or nothing is offered.
  virtual std::optional<std::string> ClipboardFetch() = 0;
};

// The display in use, or null without one.
Backend* GetBackend();
void SetBackend(Backend* backend);

}  // namespace win::wnd
