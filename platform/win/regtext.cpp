// One-call reading and writing of registry text values.
#include "regtext.h"

#include <vector>

#include "textconv.h"

namespace win {

std::optional<std::wstring> ReadRegText(HKEY root, const std::wstring& subKey, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  std::optional<std::wstring> text;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    // A buffer of N bytes holds (N + 1) / 2 characters.
    std::vector<wchar_t> buffer((size + 1) / 2 + 1, L'\0');
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(buffer.data()), &size) ==
        ERROR_SUCCESS)
      text = std::wstring(buffer.data());
  }
  RegCloseKey(key);
  return text;
}

LSTATUS WriteRegText(HKEY root, const std::wstring& subKey, const std::wstring& name, const std::wstring& value) {
  HKEY key = nullptr;
  LSTATUS rc = RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  // Text sizes count two bytes per UTF-16 unit, terminator included.
  rc = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                      static_cast<DWORD>((Utf16Length(value) + 1) * 2));
  RegCloseKey(key);
  return rc;
}

}  // namespace win
