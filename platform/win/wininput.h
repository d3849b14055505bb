// Synthetic input: mouse_event and SendInput, as a program that moves the
// pointer and clicks for the user calls them, and Sleep. Without a display
// the events are recorded: every button event is shown in the transcript as
//   [input] left button down at X,Y (cursor confined to L,T R,B)
// (the part in brackets while ClipCursor confines the cursor), at the
// cursor's position (SetCursorPos, or the event's own move). It then goes to
// the window under that point: one of this process's top-level windows, else
// the windows of the local servers this process is connected to (the
// programs it started through COM share its desktop). The process whose
// window takes it shows what was hit:
//   [input] left button down at X,Y: caption bar of "TITLE"
//   [input] left button up at X,Y: client area of "TITLE"
// and a server with no window under the point shows
//   [input] left button down at X,Y: no window there, ignored
// A press activates the window. On the caption or border the window gets the
// non-client button messages; in the client area the window under the point
// gets the button message in its client coordinates, as with the scripted
// @mouse line.
#pragma once

#include <string>
#include <vector>

#include "winuser.h"
#include "wintypes.h"

#ifndef WM_NCLBUTTONDOWN
#define WM_NCMOUSEMOVE 0x00A0
#define WM_NCLBUTTONDOWN 0x00A1
#define WM_NCLBUTTONUP 0x00A2
#define WM_NCRBUTTONDOWN 0x00A4
#define WM_NCRBUTTONUP 0x00A5
#define WM_NCMBUTTONDOWN 0x00A7
#define WM_NCMBUTTONUP 0x00A8
#endif

#define MOUSEEVENTF_MOVE 0x0001
#define MOUSEEVENTF_LEFTDOWN 0x0002
#define MOUSEEVENTF_LEFTUP 0x0004
#define MOUSEEVENTF_RIGHTDOWN 0x0008
#define MOUSEEVENTF_RIGHTUP 0x0010
#define MOUSEEVENTF_MIDDLEDOWN 0x0020
#define MOUSEEVENTF_MIDDLEUP 0x0040
#define MOUSEEVENTF_WHEEL 0x0800
#define MOUSEEVENTF_ABSOLUTE 0x8000

#define INPUT_MOUSE 0
#define INPUT_KEYBOARD 1
#define INPUT_HARDWARE 2

typedef struct tagMOUSEINPUT {
  LONG dx;
  LONG dy;
  DWORD mouseData;
  DWORD dwFlags;
  DWORD time;
  ULONG_PTR dwExtraInfo;
} MOUSEINPUT;

typedef struct tagKEYBDINPUT {
  WORD wVk;
  WORD wScan;
  DWORD dwFlags;
  DWORD time;
  ULONG_PTR dwExtraInfo;
} KEYBDINPUT;

typedef struct tagINPUT {
  DWORD type;
  union {
    MOUSEINPUT mi;
    KEYBDINPUT ki;
  };
} INPUT, *LPINPUT;

// A move (MOUSEEVENTF_MOVE) moves the cursor by dx, dy, or to dx, dy in
// 0..65535 screen coordinates with MOUSEEVENTF_ABSOLUTE, within the
// confinement; button flags are carried out in the order move, left, right,
// middle (down before up).
void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extraInfo);
// Mouse records as mouse_event does; keyboard records are not synthesised
// here and end the call. Returns the number of records carried out.
UINT SendInput(UINT count, LPINPUT inputs, int size);

// Suspends the calling thread for the milliseconds given.
void Sleep(DWORD milliseconds);

namespace win {

// One synthetic event as the transcript showed it (tests).
struct SyntheticInputRecord {
  DWORD flag;  // one MOUSEEVENTF_ value
  POINT at;
  bool confined;
  RECT clip;
};
const std::vector<SyntheticInputRecord>& SyntheticInputLog();
void ClearSyntheticInputLog();

// The receiving side of an event a client forwarded (comserver.cpp).
void DeliverForwardedInput(const std::string& event);

}  // namespace win
