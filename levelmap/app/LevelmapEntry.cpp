// Process attach and detach of the drive-test application module.
#include "afx.h"

static HINSTANCE g_hLevelmapInstance = nullptr;

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*lpReserved*/) {
  if (dwReason == DLL_PROCESS_ATTACH) g_hLevelmapInstance = hInstance;
  else if (dwReason == DLL_PROCESS_DETACH) g_hLevelmapInstance = nullptr;
  return TRUE;
}
