// The module's host application object and the COM server entry points.
#include "CadcoreApp.h"

#include "acutprint.h"

CCadcoreModule _AtlModule DLLMAIN_STATIC;

IMPLEMENT_ARX_ENTRYPOINT(CCadcoreApp)

void CCadcoreApp::RegisterServerComponents() {
  if (FAILED(_AtlModule.DllRegisterServer())) acutPrintf(L"Failed to register COM server.\n");
}

STDAPI DllCanUnloadNow(void) { return _AtlModule.DllCanUnloadNow(); }

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
  return _AtlModule.DllGetClassObject(rclsid, riid, ppv);
}

STDAPI DllRegisterServer(void) { return _AtlModule.DllRegisterServer(); }

STDAPI DllUnregisterServer(void) { return _AtlModule.DllUnregisterServer(); }
