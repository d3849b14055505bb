// The host's main frame window: the top-level window that owns the host's
// dialogs and message boxes. Without a display it is made on first use.
#pragma once

#include "afxwin.h"

// The frame window of the host, made on first use (and again if it was
// destroyed). Never null while the window system can make windows.
CWnd* acedGetAcadFrame();

namespace acad {

// The frame's window class name.
inline constexpr const wchar_t* kAcadFrameClass = L"AcadMainFrame";

}  // namespace acad
