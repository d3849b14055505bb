// The host's main frame window: the top-level window that owns the host's
// dialogs and message boxes. Without a display it is made on first use. Its
// caption (SetWindowText) and its icons (WM_SETICON) are host state that the
// host can show; its child, the command-line window, takes typed characters
// (rxmfcapi.h).
#pragma once

#include <string>

#include "afxwin.h"

// The frame window of the host, made on first use (and again if it was
// destroyed). Never null while the window system can make windows.
CWnd* acedGetAcadFrame();

namespace acad {

// The frame's window class name, and the command-line window's.
inline constexpr const wchar_t* kAcadFrameClass = L"AcadMainFrame";
inline constexpr const wchar_t* kAcadCmdLineClass = L"AcadCommandLine";

// The main window's caption.
std::wstring FrameCaption();

// An icon the main window was given: whether there is one and its size in
// pixels, as measured when it was set (the icon's module may be gone since).
struct FrameIcon {
  bool present = false;
  int width = 0;
  int height = 0;
};
FrameIcon FrameSmallIcon();
FrameIcon FrameBigIcon();

}  // namespace acad
