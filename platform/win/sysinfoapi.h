// System information: the tick count (milliseconds of the virtual clock the
// timers run on, which the scripted user's @wait moves on) and the Windows
// folder ("C:\Windows", which lives in the platform prefix folder).
#pragma once

#include "wintypes.h"

DWORD GetTickCount();
// Copies the folder's path; returns its length, or the size needed (with the
// terminator) when the buffer is too small.
UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size);
#define GetWindowsDirectory GetWindowsDirectoryW
