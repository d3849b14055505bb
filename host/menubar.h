// The menu bar of the host's main window on a display: the automation
// model's menu bar, each title opening its pop-up; choosing an item types its
// macro into the command line. The File pop-up also holds the host's own
// Open..., Save As... and Quit.
#pragma once

#include <functional>
#include <string>

#include "windows.h"

namespace host::menubar {

constexpr int kHeight = 20;

// What the host's own File items do.
struct FileActions {
  std::function<void()> open, saveAs, quit;
};

HWND Create(HWND parent, const RECT& rect, FileActions actions);
// The open pop-up menu's window, or null (tests).
HWND OpenPopup();

}  // namespace host::menubar
