// Process attach and detach of the drive-test application module: the module
// instance for the application object, the module as an extension of the
// class library (its resources on the resource chain), the host's dialog
// classes.
#include "LevelmapApp.h"
#include "acui.h"

AFX_EXTENSION_MODULE LevelmapDLL;

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*lpReserved*/) {
  if (dwReason == DLL_PROCESS_ATTACH) {
    theApp.SetModuleInstance(hInstance);
    if (!AfxInitExtensionModule(LevelmapDLL, hInstance)) return FALSE;
    new CDynLinkLibrary(LevelmapDLL);
    InitAcUiDLL();
  } else if (dwReason == DLL_PROCESS_DETACH) {
    AfxTermExtensionModule(LevelmapDLL);
  }
  return TRUE;
}
