// Writing and removing the host's registration as an automation server.
#include "registration.h"

#include <cstdio>

#include "atlbase.h"
#include "module.h"
#include "regtext.h"
#include "textconv.h"
#include "winreg.h"

namespace host {
namespace {

const wchar_t kClassName[] = L"AutoCAD Application";

std::wstring ClsidText(const CLSID& clsid) {
  wchar_t text[40];
  StringFromGUID2(clsid, text, 40);
  return text;
}

std::string Narrow(const std::wstring& text) { return win::WideToUtf8(text); }

bool Write(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value) {
  LSTATUS rc = win::WriteRegText(root, key, name, value);
  if (rc == ERROR_SUCCESS) return true;
  std::fprintf(stderr, "cadhost: cannot write the registry key \"%s\" (error %ld)\n", Narrow(key).c_str(),
               static_cast<long>(rc));
  return false;
}

bool Remove(HKEY root, const std::wstring& key) {
  LSTATUS rc = RegDeleteTreeW(root, key.c_str());
  if (rc == ERROR_SUCCESS) {
    // The tree call empties the key; the key itself goes too.
    rc = RegDeleteKeyW(root, key.c_str());
  }
  if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) return true;
  std::fprintf(stderr, "cadhost: cannot remove the registry key \"%s\" (error %ld)\n", Narrow(key).c_str(),
               static_cast<long>(rc));
  return false;
}

// True when the key exists and holds neither values nor sub-keys.
bool IsEmptyKey(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  wchar_t name[256];
  DWORD size = 256;
  bool noKeys = RegEnumKeyExW(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_NO_MORE_ITEMS;
  size = 256;
  bool noValues = RegEnumValueW(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_NO_MORE_ITEMS;
  RegCloseKey(key);
  return noKeys && noValues;
}

}  // namespace

std::wstring AutomationCommandLine() {
  wchar_t path[MAX_PATH] = {0};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return L"\"" + std::wstring(path) + L"\" --automation";
}

bool RegisterReleases(const std::vector<const Release*>& releases) {
  const std::wstring command = AutomationCommandLine();
  for (const Release* r : releases) {
    const std::wstring clsidKey = L"CLSID\\" + ClsidText(r->clsid);
    bool ok = Write(HKEY_CURRENT_USER, ReleaseKey(*r), L"CurVer", r->curVer) &&
              Write(HKEY_CURRENT_USER, ProductKey(*r), L"ProductName", r->product) &&
              Write(HKEY_CLASSES_ROOT, r->progId, L"", kClassName) &&
              Write(HKEY_CLASSES_ROOT, r->progId + L"\\CLSID", L"", ClsidText(r->clsid)) &&
              Write(HKEY_CLASSES_ROOT, clsidKey, L"", kClassName) &&
              Write(HKEY_CLASSES_ROOT, clsidKey + L"\\ProgID", L"", r->progId) &&
              Write(HKEY_CLASSES_ROOT, clsidKey + L"\\LocalServer32", L"", command);
    if (!ok) return false;
    std::printf("registered %s (%s, CurVer %s): %s\n", Narrow(r->progId).c_str(), Narrow(r->key).c_str(),
                Narrow(r->curVer).c_str(), Narrow(command).c_str());
  }
  return true;
}

bool UnregisterReleases(const std::vector<const Release*>& releases) {
  for (const Release* r : releases) {
    bool ok = Remove(HKEY_CLASSES_ROOT, r->progId) && Remove(HKEY_CLASSES_ROOT, L"CLSID\\" + ClsidText(r->clsid)) &&
              Remove(HKEY_CURRENT_USER, ProductKey(*r));
    if (!ok) return false;
    // CurVer goes only when it names the product key registering wrote: a
    // value of another installation stays.
    if (std::optional<std::wstring> curVer = win::ReadRegText(HKEY_CURRENT_USER, ReleaseKey(*r), L"CurVer");
        curVer && *curVer == r->curVer) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, ReleaseKey(*r).c_str(), 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, L"CurVer");
        RegCloseKey(key);
      }
    }
    if (IsEmptyKey(HKEY_CURRENT_USER, ReleaseKey(*r))) RegDeleteKeyW(HKEY_CURRENT_USER, ReleaseKey(*r).c_str());
    std::printf("unregistered %s (%s)\n", Narrow(r->progId).c_str(), Narrow(r->key).c_str());
  }
  return true;
}

}  // namespace host
