// A module for the host's tests that needs a library the loader cannot find, so
// that loading it fails.
#include "rxdynlink.h"
#include "windows.h"

extern "C" int GoneValue();

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" __declspec(dllexport) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode, void*) {
  return GoneValue() == 42 ? AcRx::kRetOK : AcRx::kRetError;
}
