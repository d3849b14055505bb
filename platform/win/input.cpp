// Synthetic mouse input: recorded, shown in the transcript, and delivered to
// the window under the cursor in this process or in a local server.
#include <time.h>

#include <cerrno>
#include <string>

#include "comclient.h"
#include "comwire.h"
#include "format.h"
#include "textconv.h"
#include "transcript.h"
#include "wininput.h"

namespace win {
namespace {

std::vector<SyntheticInputRecord>& Log() {
  static std::vector<SyntheticInputRecord> log;
  return log;
}

const char* EventName(DWORD flag) {
  switch (flag) {
    case MOUSEEVENTF_LEFTDOWN: return "left button down";
    case MOUSEEVENTF_LEFTUP: return "left button up";
    case MOUSEEVENTF_RIGHTDOWN: return "right button down";
    case MOUSEEVENTF_RIGHTUP: return "right button up";
    case MOUSEEVENTF_MIDDLEDOWN: return "middle button down";
    case MOUSEEVENTF_MIDDLEUP: return "middle button up";
    default: return "pointer moved";
  }
}

bool IsDown(DWORD flag) {
  return flag == MOUSEEVENTF_LEFTDOWN || flag == MOUSEEVENTF_RIGHTDOWN || flag == MOUSEEVENTF_MIDDLEDOWN;
}

// The client-area and non-client messages of a button event.
void Messages(DWORD flag, UINT& client, UINT& nonClient, WPARAM& keys) {
  switch (flag) {
    case MOUSEEVENTF_LEFTDOWN: client = WM_LBUTTONDOWN; nonClient = WM_NCLBUTTONDOWN; keys = MK_LBUTTON; break;
    case MOUSEEVENTF_LEFTUP: client = WM_LBUTTONUP; nonClient = WM_NCLBUTTONUP; keys = 0; break;
    case MOUSEEVENTF_RIGHTDOWN: client = WM_RBUTTONDOWN; nonClient = WM_NCRBUTTONDOWN; keys = MK_RBUTTON; break;
    case MOUSEEVENTF_RIGHTUP: client = WM_RBUTTONUP; nonClient = WM_NCRBUTTONUP; keys = 0; break;
    case MOUSEEVENTF_MIDDLEDOWN: client = WM_MBUTTONDOWN; nonClient = WM_NCMBUTTONDOWN; keys = MK_MBUTTON; break;
    default: client = WM_MBUTTONUP; nonClient = WM_NCMBUTTONUP; keys = 0; break;
  }
}

std::string PartName(LRESULT hit) {
  switch (hit) {
    case HTCLIENT: return "client area";
    case HTCAPTION: return "caption bar";
    case HTVSCROLL: return "vertical scroll bar";
    case HTHSCROLL: return "horizontal scroll bar";
    default: return "border";
  }
}

// Offers a button event to this process's windows. Returns false, having
// done nothing, when none of them is under the point; otherwise the window
// takes it and the transcript says what was hit.
bool OfferToOwnWindows(DWORD flag, POINT at) {
  HWND target = ::WindowFromPoint(at);
  HWND top = target ? ::GetAncestor(target, GA_ROOT) : nullptr;
  if (!top) return false;
  LRESULT hit = ::SendMessageW(top, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
  if (hit == HTNOWHERE || hit == HTTRANSPARENT) return false;
  wchar_t title[256] = {0};
  ::GetWindowTextW(top, title, 256);
  std::string line = FormatNarrow("[input] %s at %d,%d: ", EventName(flag), static_cast<int>(at.x), static_cast<int>(at.y));
  line += PartName(hit) + " of \"" + WideToUtf8(title) + "\"";
  user::WriteLine(line);
  // A press anywhere on a window activates it, as the window manager does.
  if (IsDown(flag)) ::SetActiveWindow(top);
  UINT client = 0, nonClient = 0;
  WPARAM keys = 0;
  Messages(flag, client, nonClient, keys);
  if (hit == HTCLIENT) {
    HWND receiver = ::GetCapture() ? ::GetCapture() : target;
    POINT local = at;
    ::ScreenToClient(receiver, &local);
    ::SendMessageW(receiver, client, keys, MAKELPARAM(local.x, local.y));
  } else {
    ::SendMessageW(top, nonClient, static_cast<WPARAM>(hit), MAKELPARAM(at.x, at.y));
  }
  return true;
}

void Record(DWORD flag) {
  SyntheticInputRecord record{flag, {}, false, {}};
  ::GetCursorPos(&record.at);
  RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::GetClipCursor(&record.clip);
  record.confined = !::EqualRect(&record.clip, &screen);
  Log().push_back(record);
  std::string line = FormatNarrow("[input] %s %s %d,%d", EventName(flag), flag == MOUSEEVENTF_MOVE ? "to" : "at",
                                  static_cast<int>(record.at.x), static_cast<int>(record.at.y));
  if (record.confined)
    line += FormatNarrow(" (cursor confined to %d,%d %d,%d)", static_cast<int>(record.clip.left),
                   static_cast<int>(record.clip.top), static_cast<int>(record.clip.right),
                   static_cast<int>(record.clip.bottom));
  user::WriteLine(line);
  if (flag == MOUSEEVENTF_MOVE) return;
  if (OfferToOwnWindows(flag, record.at)) return;
  com::wire::Writer event;
  event.U32(flag);
  event.I32(record.at.x);
  event.I32(record.at.y);
  com::ForwardInputToServers(event.Data());
}

void Move(DWORD flags, LONG dx, LONG dy) {
  POINT p;
  ::GetCursorPos(&p);
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    // Absolute positions are 0..65535 across the screen.
    p.x = static_cast<LONG>(static_cast<long long>(dx) * ::GetSystemMetrics(SM_CXSCREEN) / 65536);
    p.y = static_cast<LONG>(static_cast<long long>(dy) * ::GetSystemMetrics(SM_CYSCREEN) / 65536);
  } else {
    p.x += dx;
    p.y += dy;
  }
  ::SetCursorPos(p.x, p.y);
}

void Carry(DWORD flags, LONG dx, LONG dy) {
  if (flags & MOUSEEVENTF_MOVE) {
    Move(flags, dx, dy);
    Record(MOUSEEVENTF_MOVE);
  }
  for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP,
                     MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP})
    if (flags & flag) Record(flag);
}

}  // namespace

const std::vector<SyntheticInputRecord>& SyntheticInputLog() { return Log(); }
void ClearSyntheticInputLog() { Log().clear(); }

void DeliverForwardedInput(const std::string& event) {
  DWORD flag = 0;
  POINT at{};
  try {
    com::wire::Reader r(event);
    flag = r.U32();
    at.x = r.I32();
    at.y = r.I32();
  } catch (const com::wire::WireError&) {
    return;
  }
  if (!OfferToOwnWindows(flag, at))
    user::WriteLine(FormatNarrow("[input] %s at %d,%d: no window there, ignored", EventName(flag), static_cast<int>(at.x),
                           static_cast<int>(at.y)));
}

}  // namespace win

void mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD, ULONG_PTR) {
  win::Carry(flags, static_cast<LONG>(dx), static_cast<LONG>(dy));
}

UINT SendInput(UINT count, LPINPUT inputs, int size) {
  if (!inputs || size != static_cast<int>(sizeof(INPUT))) return 0;
  UINT done = 0;
  for (; done < count; ++done) {
    if (inputs[done].type != INPUT_MOUSE) break;
    win::Carry(inputs[done].mi.dwFlags, inputs[done].mi.dx, inputs[done].mi.dy);
  }
  return done;
}

void Sleep(DWORD milliseconds) {
  timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (::nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}
