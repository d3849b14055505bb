// The Reg* calls: key handles, access rights and value data over the hive
// files of registry_hive.
#include "winreg.h"

#include "registry_hive.h"

#include <cstring>
#include <functional>
#include <mutex>
#include <unordered_map>

namespace {

using win::registry::HiveFile;
using win::registry::Key;

constexpr size_t kMaxKeyName = 255;
constexpr size_t kMaxValueName = 16383;

// An open key: its root, its path below the root and the rights it was
// opened with. The path is looked up again on every call, so a key deleted by
// another handle or process is noticed (ERROR_KEY_DELETED).
struct OpenKey {
  HKEY root = nullptr;
  std::vector<std::wstring> path;
  REGSAM access = 0;
};

class HandleTable {
 public:
  HKEY Add(OpenKey key) {
    auto object = std::make_unique<OpenKey>(std::move(key));
    HKEY handle = reinterpret_cast<HKEY>(object.get());
    std::lock_guard<std::mutex> guard(m_mutex);
    m_keys.emplace(handle, std::move(object));
    return handle;
  }
  bool Remove(HKEY handle) {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_keys.erase(handle) > 0;
  }
  bool Get(HKEY handle, OpenKey& out) {
    std::lock_guard<std::mutex> guard(m_mutex);
    auto it = m_keys.find(handle);
    if (it == m_keys.end()) return false;
    out = *it->second;
    return true;
  }

 private:
  std::mutex m_mutex;
  std::unordered_map<HKEY, std::unique_ptr<OpenKey>> m_keys;
};

HandleTable& Handles() {
  static HandleTable table;
  return table;
}

bool IsPredefined(HKEY key) { return !win::registry::RootName(key).empty(); }

// The open key behind a handle; predefined roots have every right.
bool Resolve(HKEY handle, OpenKey& out) {
  if (IsPredefined(handle)) {
    out = OpenKey{handle, {}, KEY_ALL_ACCESS};
    return true;
  }
  return handle != nullptr && Handles().Get(handle, out);
}

// Key names take no control characters; no name takes a code point that is
// not a character (it could not be stored as UTF-16).
bool ValidCodePoints(std::wstring_view name) {
  for (wchar_t c : name) {
    const auto u = static_cast<uint32_t>(c);
    if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return false;
  }
  return true;
}

bool ValidName(std::wstring_view name) {
  for (wchar_t c : name)
    if (c < 0x20) return false;
  return ValidCodePoints(name);
}

// Splits a sub-key path at backslashes; empty parts (a leading or doubled
// backslash) are skipped.
LSTATUS SplitPath(LPCWSTR subKey, std::vector<std::wstring>& parts) {
  if (!subKey) return ERROR_SUCCESS;
  std::wstring_view rest(subKey);
  while (!rest.empty()) {
    size_t sep = rest.find(L'\\');
    std::wstring_view part = rest.substr(0, sep);
    if (!part.empty()) {
      if (part.size() > kMaxKeyName) return ERROR_INVALID_PARAMETER;
      if (!ValidName(part)) return ERROR_INVALID_PARAMETER;
      parts.emplace_back(part);
    }
    if (sep == std::wstring_view::npos) break;
    rest = rest.substr(sep + 1);
  }
  return ERROR_SUCCESS;
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Wide text from a caller's buffer of `size` bytes counted as UTF-16 (the
// buffer holds size / 2 WCHARs at most) into UTF-16LE bytes.
std::vector<BYTE> TextFromCaller(const BYTE* data, DWORD size) {
  const size_t units = size / 2;
  std::vector<BYTE> out;
  out.reserve(units * 2);
  size_t used = 0;
  for (size_t i = 0; used < units; ++i) {
    wchar_t wc;
    std::memcpy(&wc, data + i * sizeof(wchar_t), sizeof wc);
    uint32_t c = static_cast<uint32_t>(wc);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c > 0xFFFF) {
      if (used + 2 > units) break;
      c -= 0x10000;
      const uint32_t hi = 0xD800 + (c >> 10), lo = 0xDC00 + (c & 0x3FF);
      out.insert(out.end(), {static_cast<BYTE>(hi), static_cast<BYTE>(hi >> 8), static_cast<BYTE>(lo),
                             static_cast<BYTE>(lo >> 8)});
      used += 2;
    } else {
      out.insert(out.end(), {static_cast<BYTE>(c), static_cast<BYTE>(c >> 8)});
      used += 1;
    }
  }
  return out;
}

// Stored UTF-16LE bytes into a caller's WCHAR buffer; writes at most
// bytes.size() / 2 WCHARs (an odd last byte is dropped).
void TextToCaller(const std::vector<BYTE>& bytes, BYTE* data) {
  const size_t units = bytes.size() / 2;
  auto unit = [&](size_t i) { return static_cast<uint32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)); };
  size_t written = 0;
  for (size_t i = 0; i < units; ++i) {
    uint32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    const wchar_t wc = static_cast<wchar_t>(c);
    std::memcpy(data + written * sizeof(wchar_t), &wc, sizeof wc);
    ++written;
  }
}

// Copies a value's data to the caller with the original size rules.
LSTATUS CopyData(const win::registry::Value& value, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (type) *type = value.type;
  const DWORD needed = static_cast<DWORD>(value.data.size());
  if (!data) {
    if (size) *size = needed;
    return ERROR_SUCCESS;
  }
  if (!size) return ERROR_INVALID_PARAMETER;
  // A text buffer is counted in whole UTF-16 units: an odd byte count
  // rounds up, so 255 bytes take 127 characters and the terminator.
  const uint64_t capacity = uint64_t{*size} + (IsText(value.type) ? (*size & 1u) : 0u);
  if (capacity < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (IsText(value.type))
    TextToCaller(value.data, data);
  else if (needed)
    std::memcpy(data, value.data.data(), needed);
  *size = needed;
  return ERROR_SUCCESS;
}

// Copies a name into a buffer of *capacity characters (terminator included).
LSTATUS CopyName(const std::wstring& name, LPWSTR buffer, LPDWORD capacity) {
  if (!buffer || !capacity) return ERROR_INVALID_PARAMETER;
  if (name.size() + 1 > *capacity) return ERROR_MORE_DATA;
  std::memcpy(buffer, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
  *capacity = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

// Runs fn on the key an open handle stands for.
LSTATUS ReadKey(const OpenKey& open, const std::function<LSTATUS(const Key&)>& fn) {
  HiveFile* hive = win::registry::HiveFor(open.root);
  if (!hive) return ERROR_INVALID_HANDLE;
  return hive->Read([&](const Key& root) -> LSTATUS {
    const Key* key = root.Find(open.path);
    return key ? fn(*key) : ERROR_KEY_DELETED;
  });
}

LSTATUS WriteKey(const OpenKey& open, const std::function<LSTATUS(Key&, bool&)>& fn) {
  HiveFile* hive = win::registry::HiveFor(open.root);
  if (!hive) return ERROR_INVALID_HANDLE;
  return hive->Write([&](Key& root, bool& changed) -> LSTATUS {
    Key* key = root.Find(open.path);
    return key ? fn(*key, changed) : ERROR_KEY_DELETED;
  });
}

bool CanChangeKeys(REGSAM access) { return (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE)) != 0; }

}  // namespace

LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD /*options*/, REGSAM access, PHKEY result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  OpenKey parent;
  if (!Resolve(key, parent)) return ERROR_INVALID_HANDLE;
  std::vector<std::wstring> parts;
  if (LSTATUS status = SplitPath(subKey, parts); status != ERROR_SUCCESS) return status;
  LSTATUS status = ReadKey(parent, [&](const Key& base) -> LSTATUS {
    return base.Find(parts) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
  if (status != ERROR_SUCCESS) return status;
  OpenKey opened{parent.root, parent.path, access & ~(KEY_WOW64_64KEY | KEY_WOW64_32KEY)};
  opened.path.insert(opened.path.end(), parts.begin(), parts.end());
  *result = Handles().Add(std::move(opened));
  return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD /*reserved*/, LPWSTR /*className*/, DWORD /*options*/,
                        REGSAM access, const LPSECURITY_ATTRIBUTES /*security*/, PHKEY result, LPDWORD disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  OpenKey parent;
  if (!Resolve(key, parent)) return ERROR_INVALID_HANDLE;
  std::vector<std::wstring> parts;
  if (LSTATUS status = SplitPath(subKey, parts); status != ERROR_SUCCESS) return status;
  // Opening an existing key needs no lock and no write.
  LSTATUS status = ReadKey(parent, [&](const Key& base) -> LSTATUS {
    return base.Find(parts) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
  DWORD how = REG_OPENED_EXISTING_KEY;
  if (status == ERROR_FILE_NOT_FOUND) {
    if (!(parent.access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
    status = WriteKey(parent, [&](Key& base, bool& changed) -> LSTATUS {
      Key* k = &base;
      for (const auto& part : parts) {
        bool created = false;
        k = &k->Child(part, &created);
        if (created) {
          changed = true;
          how = REG_CREATED_NEW_KEY;
        }
      }
      return ERROR_SUCCESS;
    });
  }
  if (status != ERROR_SUCCESS) return status;
  OpenKey opened{parent.root, parent.path, access & ~(KEY_WOW64_64KEY | KEY_WOW64_32KEY)};
  opened.path.insert(opened.path.end(), parts.begin(), parts.end());
  *result = Handles().Add(std::move(opened));
  if (disposition) *disposition = how;
  return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
  if (IsPredefined(key)) return ERROR_SUCCESS;
  return Handles().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD /*reserved*/, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
  OpenKey open;
  if (!Resolve(key, open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  if (data && !size) return ERROR_INVALID_PARAMETER;
  const std::wstring name = valueName ? valueName : L"";
  return ReadKey(open, [&](const Key& k) -> LSTATUS {
    const win::registry::Value* value = k.FindValue(name);
    return value ? CopyData(*value, type, data, size) : ERROR_FILE_NOT_FOUND;
  });
}

LSTATUS RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD /*reserved*/, DWORD type, const BYTE* data, DWORD size) {
  OpenKey open;
  if (!Resolve(key, open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  if (!data && size) return ERROR_INVALID_PARAMETER;
  const std::wstring name = valueName ? valueName : L"";
  if (name.size() > kMaxValueName || !ValidCodePoints(name)) return ERROR_INVALID_PARAMETER;
  std::vector<BYTE> bytes;
  if (IsText(type))
    bytes = TextFromCaller(data, size);
  else if (size)
    bytes.assign(data, data + size);
  return WriteKey(open, [&](Key& k, bool& changed) -> LSTATUS {
    changed = k.SetValue(name, type, std::move(bytes));
    return ERROR_SUCCESS;
  });
}

LSTATUS RegDeleteValueW(HKEY key, LPCWSTR valueName) {
  OpenKey open;
  if (!Resolve(key, open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  const std::wstring name = valueName ? valueName : L"";
  return WriteKey(open, [&](Key& k, bool& changed) -> LSTATUS {
    changed = k.RemoveValue(name);
    return changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
}

namespace {

LSTATUS DeleteKey(HKEY key, LPCWSTR subKey, bool tree) {
  OpenKey open;
  if (!Resolve(key, open)) return ERROR_INVALID_HANDLE;
  if (!CanChangeKeys(open.access)) return ERROR_ACCESS_DENIED;
  std::vector<std::wstring> parts;
  if (LSTATUS status = SplitPath(subKey, parts); status != ERROR_SUCCESS) return status;
  if (parts.empty() && !tree) return ERROR_INVALID_PARAMETER;
  return WriteKey(open, [&](Key& base, bool& changed) -> LSTATUS {
    if (parts.empty()) {
      // The tree form with no sub-key empties the key itself.
      changed = !base.Children().empty() || !base.Values().empty();
      base.RemoveAllChildren();
      base.RemoveAllValues();
      return ERROR_SUCCESS;
    }
    std::vector<std::wstring> parentPath(parts.begin(), parts.end() - 1);
    Key* parent = base.Find(parentPath);
    Key* target = parent ? parent->FindChild(parts.back()) : nullptr;
    if (!target) return ERROR_FILE_NOT_FOUND;
    // A key with sub-keys is deleted only as a whole tree.
    if (!tree && !target->Children().empty()) return ERROR_ACCESS_DENIED;
    parent->RemoveChild(parts.back());
    changed = true;
    return ERROR_SUCCESS;
  });
}

}  // namespace

LSTATUS RegDeleteKeyW(HKEY key, LPCWSTR subKey) { return DeleteKey(key, subKey, false); }

LSTATUS RegDeleteTreeW(HKEY key, LPCWSTR subKey) { return DeleteKey(key, subKey, true); }

LSTATUS RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameSize, LPDWORD /*reserved*/, LPWSTR className,
                      LPDWORD classSize, PFILETIME lastWriteTime) {
  OpenKey open;
  if (!Resolve(key, open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_ENUMERATE_SUB_KEYS)) return ERROR_ACCESS_DENIED;
  return ReadKey(open, [&](const Key& k) -> LSTATUS {
    const auto& children = k.Children();
    if (index >= children.size()) return ERROR_NO_MORE_ITEMS;
    auto it = children.begin();
    std::advance(it, index);
    if (LSTATUS status = CopyName(it->second->Name(), name, nameSize); status != ERROR_SUCCESS) return status;
    // Keys carry no class text.
    if (className && classSize && *classSize > 0) className[0] = L'\0';
    if (classSize) *classSize = 0;
    if (lastWriteTime) *lastWriteTime = FILETIME{0, 0};
    return ERROR_SUCCESS;
  });
}

LSTATUS RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameSize, LPDWORD /*reserved*/,
                      LPDWORD type, LPBYTE data, LPDWORD dataSize) {
  OpenKey open;
  if (!Resolve(key, open)) return ERROR_INVALID_HANDLE;
  if (!(open.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  if (data && !dataSize) return ERROR_INVALID_PARAMETER;
  return ReadKey(open, [&](const Key& k) -> LSTATUS {
    const auto& values = k.Values();
    if (index >= values.size()) return ERROR_NO_MORE_ITEMS;
    const auto& value = values[index];
    if (LSTATUS status = CopyName(value.name, valueName, valueNameSize); status != ERROR_SUCCESS) return status;
    return CopyData(value, type, data, dataSize);
  });
}
