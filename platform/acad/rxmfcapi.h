// The host's windows and its automation object as modules reach them: the main
// frame, the command-line window and the application's dispatch interface.
#pragma once

#include "acedframe.h"
#include "afxwin.h"
#include "unknwn.h"

// The application object's dispatch interface. With bAddRef TRUE the caller
// gets a reference of its own and releases it; with FALSE it borrows the
// host's and must not release it. Never null while the host runs.
IDispatch* AcadGetIDispatch(BOOL bAddRef);

// The host's command-line window (a child of the main frame). Characters sent
// to it as WM_CHAR messages are typed into the command line: the host's
// command loop and its prompts take them before the next script line.
CWnd* acedGetAcadDockCmdLine();

// The main window of the host's application thread (the frame's handle).
HWND adsw_acadMainWnd();
