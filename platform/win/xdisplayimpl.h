// The inside of the X11 display (xdisplay.cpp: windows, painting and the
// event loop; xinput.cpp: pointer and keyboard; xclipboard.cpp: the
// CLIPBOARD selection).
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "wndstate.h"

namespace win::xdisplay {

// A top-level window of the window system and the X window that shows it.
struct TopWindow {
  ::Window xwin = 0;
  XIC ic = nullptr;
  cairo_surface_t* target = nullptr;  // the X window as a Cairo surface
  int width = 0, height = 0;
  bool mapped = false;
  bool popup = false;       // override-redirect: title tips, drop-down lists
  RECT damage{0, 0, 0, 0};  // what must go to the screen, in window pixels
};

struct Atoms {
  Atom wmProtocols, wmDeleteWindow, wmTakeFocus, netWmName, utf8String, motifHints, clipboard, targets, text,
      property, incr, netWmWindowType, netWmTypeDialog, netWmTypeNormal;
};

// What a press needs to become a double click.
struct LastClick {
  unsigned button = 0;
  Time time = 0;
  int x = -100, y = -100;
  HWND window = nullptr;
};

// A caption being dragged: the pointer's offset in the window.
struct CaptionDrag {
  HWND top = nullptr;
  int dx = 0, dy = 0;
  bool closeBox = false;  // pressed on the close box: closes on release there
};

class XBackend : public wnd::Backend {
 public:
  XBackend(Display* dpy);
  ~XBackend() override;

  void Shown(HWND top) override;
  void Hidden(HWND top) override;
  void Destroyed(HWND top) override;
  void Placed(HWND top) override;
  void TextChanged(HWND top) override;
  void CaptureChanged(HWND window) override;
  bool WaitForInput() override;
  unsigned long long Now() override;
  void ClipboardSet(const std::string& utf8) override;
  std::optional<std::string> ClipboardFetch() override;

  void Pump();
  void PaintPending();
  unsigned long XWindowOf(HWND top) const;

  Display* dpy;
  int screen;
  Atoms atoms{};
  XIM im = nullptr;
  ::Window helper = 0;  // owns the selection
  std::map<HWND, TopWindow> tops;
  std::map<::Window, HWND> byX;
  std::map<HCURSOR, Cursor> cursors;
  Cursor shownCursor = 0;
  HWND grabbed = nullptr;
  LastClick lastClick;
  CaptionDrag drag;
  unsigned buttonsDown = 0;  // MK_LBUTTON | MK_MBUTTON | MK_RBUTTON as the X server says
  bool placing = false;      // a configure from the server is being applied
  std::string clipboardText;
  bool ownsClipboard = false;
  // Text handed out in pieces (INCR): to which window's property, of which
  // type, the text as it was asked for, and how much has gone.
  struct IncrTransfer {
    ::Window requestor;
    Atom property;
    Atom type;
    std::string text;
    size_t sent;
  };
  std::vector<IncrTransfer> incrTransfers;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

 private:
  void Handle(XEvent& ev);
  void Blit(HWND h, TopWindow& t);
  void FireTimers();
  void MakeXWindow(HWND h, wnd::Window* w, TopWindow& t);
};

// Input (xinput.cpp).
void HandleButton(XBackend& x, HWND top, const XButtonEvent& ev, bool press);
void HandleMotion(XBackend& x, HWND top, const XMotionEvent& ev);
void HandleKey(XBackend& x, HWND top, XKeyEvent& ev, bool press);
// Shows the window system's cursor on the top-level window.
void UpdateCursor(XBackend& x, HWND top);

// The selection (xclipboard.cpp).
void AnswerSelectionRequest(XBackend& x, const XSelectionRequestEvent& req);
// The next piece of an INCR transfer once the requestor took the last one.
// False when the event belongs to no transfer.
bool ContinueIncrTransfer(XBackend& x, const XPropertyEvent& ev);

// Adds a rectangle to a damage rectangle.
void AddDamage(RECT& damage, const RECT& r);

}  // namespace win::xdisplay
