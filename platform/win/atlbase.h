// The in-process COM server module of the template library: the lock count
// that decides whether the module may be unloaded, the class-object lookup,
// and registration of the module's type library and application id in the
// registry (HKEY_CLASSES_ROOT).
#pragma once

#include <atomic>

#include "wintypes.h"

#define STDAPI extern "C" __declspec(dllexport) HRESULT

#define CLASS_E_CLASSNOTAVAILABLE ((HRESULT)0x80040111)
#define SELFREG_E_TYPELIB ((HRESULT)0x80040200)
#define TYPE_E_REGISTRYACCESS ((HRESULT)0x8002801C)

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": returns the characters written
// with the terminator (39), 0 when the buffer is too small.
int StringFromGUID2(REFGUID guid, LPWSTR lpsz, int cchMax);
// Reads that form back; E_INVALIDARG for anything else.
HRESULT CLSIDFromString(LPCWSTR lpsz, CLSID* pclsid);
bool IsEqualGUID(REFGUID a, REFGUID b);

namespace win::atl {

// What a module's type library says of itself (the module keeps it in its
// code rather than as a compiled resource).
struct TypeLibInfo {
  GUID libid;
  const wchar_t* name;        // "KXCadcoreLib"
  const wchar_t* helpString;  // the description registered for it
  WORD major = 1;
  WORD minor = 0;
  LCID lcid = 0;
};

// TypeLib\{libid}\major.minor with the description, the file of the module
// for the locale and platform, FLAGS and HELPDIR.
HRESULT RegisterTypeLib(HMODULE module, const TypeLibInfo& info);
// Removes that version's key, and the library's key when nothing else is left.
HRESULT UnRegisterTypeLib(const TypeLibInfo& info);
// AppID\{appid} with the description, and AppID\<module key> naming it.
// Unregistering removes the module key; the AppID key itself stays.
HRESULT UpdateRegistryAppId(const wchar_t* appId, const wchar_t* description, const wchar_t* moduleKey,
                            bool doRegister);

}  // namespace win::atl

class CAtlModule {
 public:
  CAtlModule() = default;
  CAtlModule(const CAtlModule&) = delete;
  CAtlModule& operator=(const CAtlModule&) = delete;
  virtual ~CAtlModule() = default;

  LONG Lock() { return ++m_nLockCnt; }
  LONG Unlock() { return --m_nLockCnt; }
  LONG GetLockCount() const { return m_nLockCnt; }
  // Set when the module's internal lock could not be made; the module's
  // process attach must then fail.
  bool m_bInitFailed = false;

 private:
  std::atomic<LONG> m_nLockCnt{0};
};

// A module declares its type library and application id with these inside
// its module class.
#define DECLARE_TYPELIB_INFO(...) \
  static const ::win::atl::TypeLibInfo& GetTypeLibInfo() { static const ::win::atl::TypeLibInfo info{__VA_ARGS__}; return info; }
#define DECLARE_REGISTRY_APPID(appid, description, moduleKey) \
  static const wchar_t* GetAppId() { return appid; } \
  static const wchar_t* GetAppIdDescription() { return description; } \
  static const wchar_t* GetAppIdModuleKey() { return moduleKey; }

template <class T>
class CAtlDllModuleT : public CAtlModule {
 public:
  // The module has no COM classes: nothing keeps it but its lock count.
  HRESULT DllCanUnloadNow() { return GetLockCount() == 0 ? S_OK : S_FALSE; }

  HRESULT DllGetClassObject(REFCLSID /*rclsid*/, REFIID /*riid*/, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
  }

  // Registers the module's classes (it has none) and its type library.
  HRESULT DllRegisterServer(BOOL bRegTypeLib = TRUE) {
    if (!bRegTypeLib) return S_OK;
    return ::win::atl::RegisterTypeLib(m_hInstance, T::GetTypeLibInfo());
  }

  HRESULT DllUnregisterServer(BOOL bUnRegTypeLib = TRUE) {
    if (!bUnRegTypeLib) return S_OK;
    return ::win::atl::UnRegisterTypeLib(T::GetTypeLibInfo());
  }

  // Runs the application-id registration the module declares.
  HRESULT UpdateRegistryAppId(BOOL bRegister) {
    return ::win::atl::UpdateRegistryAppId(T::GetAppId(), T::GetAppIdDescription(), T::GetAppIdModuleKey(),
                                           bRegister != FALSE);
  }

  HINSTANCE m_hInstance = nullptr;  // set by the module's process attach
};
