// The in-process COM server module: lock count, class objects, type-library and
// application-id registration, and GUID text.
#include "atlbase.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>

#include "format.h"
#include "module.h"
#include "textutil.h"
#include "winreg.h"

int StringFromGUID2(REFGUID g, LPWSTR lpsz, int cchMax) {
  if (!lpsz || cchMax < 39) return 0;
  std::wstring s = win::Format(L"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                               g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                               g.Data4[7]);
  std::wmemcpy(lpsz, s.c_str(), s.size() + 1);
  return static_cast<int>(s.size() + 1);
}

HRESULT CLSIDFromString(LPCWSTR lpsz, CLSID* pclsid) {
  if (!lpsz || !pclsid) return E_INVALIDARG;
  if (std::wcslen(lpsz) != 38 || lpsz[0] != L'{' || lpsz[37] != L'}') return E_INVALIDARG;
  static const int kDash[] = {9, 14, 19, 24};
  unsigned v[11];
  for (int i : kDash)
    if (lpsz[i] != L'-') return E_INVALIDARG;
  for (int i = 1; i < 37; ++i)
    if (i != 9 && i != 14 && i != 19 && i != 24 && win::textutil::HexDigit(lpsz[i]) < 0) return E_INVALIDARG;
  if (std::swscanf(lpsz, L"{%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x}", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
                   &v[7], &v[8], &v[9], &v[10]) != 11)
    return E_INVALIDARG;
  pclsid->Data1 = v[0];
  pclsid->Data2 = static_cast<uint16_t>(v[1]);
  pclsid->Data3 = static_cast<uint16_t>(v[2]);
  for (int i = 0; i < 8; ++i) pclsid->Data4[i] = static_cast<uint8_t>(v[3 + i]);
  return S_OK;
}

bool IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

namespace win::atl {
namespace {

std::wstring GuidText(const GUID& g) {
  wchar_t buf[40];
  StringFromGUID2(g, buf, 40);
  return buf;
}

LSTATUS SetText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  LSTATUS rc = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  // Sizes of text count two bytes per UTF-16 unit, terminator included.
  rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                      static_cast<DWORD>((value.size() + 1) * 2));
  RegCloseKey(key);
  return rc;
}

bool HasSubKeys(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  wchar_t name[256];
  DWORD size = 256;
  bool any = RegEnumKeyExW(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return any;
}

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH] = {0};
  GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

}  // namespace

HRESULT RegisterTypeLib(HMODULE module, const TypeLibInfo& info) {
  std::wstring path = ModulePath(module);
  if (path.empty()) return E_FAIL;
  std::wstring version = L"TypeLib\\" + GuidText(info.libid) + win::Format(L"\\%x.%x", info.major, info.minor);
  std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
  LSTATUS rc = SetText(HKEY_CLASSES_ROOT, version, nullptr, info.helpString ? info.helpString : L"");
  if (rc == ERROR_SUCCESS) rc = SetText(HKEY_CLASSES_ROOT, version + win::Format(L"\\%lx\\win64", info.lcid), nullptr, path);
  if (rc == ERROR_SUCCESS) rc = SetText(HKEY_CLASSES_ROOT, version + L"\\FLAGS", nullptr, L"0");
  if (rc == ERROR_SUCCESS) rc = SetText(HKEY_CLASSES_ROOT, version + L"\\HELPDIR", nullptr, folder);
  return rc == ERROR_SUCCESS ? S_OK : TYPE_E_REGISTRYACCESS;
}

HRESULT UnRegisterTypeLib(const TypeLibInfo& info) {
  std::wstring lib = L"TypeLib\\" + GuidText(info.libid);
  std::wstring version = win::Format(L"%x.%x", info.major, info.minor);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, lib.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return S_OK;  // nothing registered
  LSTATUS rc = RegDeleteTreeW(key, version.c_str());
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return TYPE_E_REGISTRYACCESS;
  if (!HasSubKeys(HKEY_CLASSES_ROOT, lib)) RegDeleteKeyW(HKEY_CLASSES_ROOT, lib.c_str());
  return S_OK;
}

HRESULT UpdateRegistryAppId(const wchar_t* appId, const wchar_t* description, const wchar_t* moduleKey,
                            bool doRegister) {
  if (!appId || !moduleKey) return E_INVALIDARG;
  std::wstring nameKey = std::wstring(L"AppID\\") + moduleKey;
  if (!doRegister) {
    LSTATUS rc = RegDeleteKeyW(HKEY_CLASSES_ROOT, nameKey.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : E_ACCESSDENIED;
  }
  LSTATUS rc = SetText(HKEY_CLASSES_ROOT, std::wstring(L"AppID\\") + appId, nullptr, description ? description : L"");
  if (rc == ERROR_SUCCESS) rc = SetText(HKEY_CLASSES_ROOT, nameKey, L"AppID", appId);
  return rc == ERROR_SUCCESS ? S_OK : E_ACCESSDENIED;
}

}  // namespace win::atl
