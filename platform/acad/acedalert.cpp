// acedAlert: the host's alert, a message box titled "AutoCAD".
#include "acedalert.h"

#include "acedframe.h"
#include "winuser.h"

int acedAlert(const ACHAR* message) {
  // The host's frame owns the alert, as it owns every message box of the host.
  CWnd* frame = acedGetAcadFrame();
  MessageBoxW(frame ? frame->GetSafeHwnd() : nullptr, message ? message : L"", L"AutoCAD",
              MB_OK | MB_ICONEXCLAMATION);
  return RTNORM;
}
