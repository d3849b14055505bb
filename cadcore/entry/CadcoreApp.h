// The shared CAD library's host application object and its COM server module.
#pragma once

#include "atlbase.h"
#include "rxdbxapp.h"

// {3C1B7A52-8E0D-4B6F-9A21-5D4C7E9F0B13}
static const GUID LIBID_KXCadcoreLib = {0x3C1B7A52, 0x8E0D, 0x4B6F, {0x9A, 0x21, 0x5D, 0x4C, 0x7E, 0x9F, 0x0B, 0x13}};

class CCadcoreModule : public CAtlDllModuleT<CCadcoreModule> {
 public:
  DECLARE_TYPELIB_INFO(LIBID_KXCadcoreLib, L"KXCadcoreLib", L"KXCadcore 1.0 Type Library", 1, 0, 1033)
  DECLARE_REGISTRY_APPID(L"{A82346CF-D3C7-4DD2-B61D-18DC1DF2871A}", L"Cadcore", L"KXCadcore.dbx")
};

extern CCadcoreModule _AtlModule;

// The COM server's exported entry points.
STDAPI DllCanUnloadNow(void);
STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv);
STDAPI DllRegisterServer(void);
STDAPI DllUnregisterServer(void);

class CCadcoreApp : public AcRxDbxApp {
 public:
  CCadcoreApp() : AcRxDbxApp(true, true) {}

  // Registers the COM server as DllRegisterServer does; a failure is
  // reported on the command line and loading goes on.
  void RegisterServerComponents() override;
};
