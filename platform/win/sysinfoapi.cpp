// The tick count and the Windows folder.
#include "sysinfoapi.h"

#include <cwchar>

#include "wndimpl.h"

DWORD GetTickCount() { return static_cast<DWORD>(win::wnd::ClockNow()); }

UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size) {
  static const wchar_t kFolder[] = L"C:\\Windows";
  const UINT length = static_cast<UINT>(wcslen(kFolder));
  if (!buffer || size <= length) return length + 1;
  wmemcpy(buffer, kFolder, length + 1);
  return length;
}
