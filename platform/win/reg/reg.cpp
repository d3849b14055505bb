// reg: looks at and changes the registry from the command line, in the style
// of the original platform's tool.
//
//   reg query  KEY [/v NAME | /ve] [/s]
//   reg add    KEY [/v NAME | /ve] [/t TYPE] [/s SEP] [/d DATA] [/f]
//   reg delete KEY [/v NAME | /ve | /va] [/f]
//
// KEY is ROOT\path with ROOT one of HKCU, HKLM, HKCR, HKU or their long
// names. Exit status 0 on success, 1 with a message on failure.
#include "textconv.h"
#include "textutil.h"
#include "winreg.h"

#include <cstdio>
#include <cstring>
#include <cwctype>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Failure {
  std::string message;
};

[[noreturn]] void Fail(const std::string& message) { throw Failure{message}; }

[[noreturn]] void Syntax(const std::string& operation) {
  Fail("ERROR: Invalid syntax.\nType \"REG " + operation + " /?\" for usage.");
}

std::string StatusText(LSTATUS status) {
  switch (status) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_KEY_DELETED: return "ERROR: The system was unable to find the specified registry key or value.";
    case ERROR_ACCESS_DENIED: return "ERROR: Access is denied.";
    case ERROR_REGISTRY_CORRUPT: return "ERROR: The registry hive file is damaged; it was left unchanged.";
    case ERROR_INVALID_PARAMETER: return "ERROR: The parameter is incorrect.";
    case ERROR_CANTWRITE: return "ERROR: The registry hive file could not be written.";
    default: return "ERROR: The registry operation failed (error " + std::to_string(status) + ").";
  }
}

void Check(LSTATUS status) {
  if (status != ERROR_SUCCESS) Fail(StatusText(status));
}

// An open key that closes itself.
class KeyHandle {
 public:
  KeyHandle() = default;
  ~KeyHandle() {
    if (m_key) RegCloseKey(m_key);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  HKEY* put() { return &m_key; }
  HKEY get() const { return m_key; }

 private:
  HKEY m_key = nullptr;
};

struct KeyName {
  HKEY root = nullptr;
  std::wstring rootName;  // long form, as output shows it
  std::wstring path;      // below the root, without leading backslash
  std::wstring Full() const { return path.empty() ? rootName : rootName + L"\\" + path; }
};

KeyName ParseKey(const std::string& text) {
  std::wstring key = win::Utf8ToWide(text);
  while (!key.empty() && key.back() == L'\\') key.pop_back();
  const size_t sep = key.find(L'\\');
  std::wstring root = win::textutil::Upper(key.substr(0, sep));
  KeyName name;
  if (root == L"HKCU" || root == L"HKEY_CURRENT_USER") {
    name.root = HKEY_CURRENT_USER;
    name.rootName = L"HKEY_CURRENT_USER";
  } else if (root == L"HKLM" || root == L"HKEY_LOCAL_MACHINE") {
    name.root = HKEY_LOCAL_MACHINE;
    name.rootName = L"HKEY_LOCAL_MACHINE";
  } else if (root == L"HKCR" || root == L"HKEY_CLASSES_ROOT") {
    name.root = HKEY_CLASSES_ROOT;
    name.rootName = L"HKEY_CLASSES_ROOT";
  } else if (root == L"HKU" || root == L"HKEY_USERS") {
    name.root = HKEY_USERS;
    name.rootName = L"HKEY_USERS";
  } else {
    Fail("ERROR: Invalid key name.\nThe key must begin with HKCU, HKLM, HKCR or HKU (or their long names).");
  }
  if (sep != std::wstring::npos) name.path = key.substr(sep + 1);
  return name;
}

struct Options {
  std::optional<std::wstring> valueName;  // /v NAME or /ve (empty)
  bool allValues = false;                 // /va
  bool recurse = false;                   // /s without argument (query)
  std::optional<std::string> type;        // /t
  std::optional<std::wstring> data;       // /d
  std::wstring separator = L"\\0";        // /s SEP (add)
  bool force = false;                     // /f
};

Options ParseOptions(const std::vector<std::string>& args, const std::string& operation) {
  Options options;
  auto upper = [](const std::string& s) { return win::textutil::Upper(s); };
  for (size_t i = 0; i < args.size(); ++i) {
    std::string flag = upper(args[i]);
    if (!flag.empty() && flag[0] == '-') flag[0] = '/';
    auto next = [&]() -> const std::string& {
      if (i + 1 >= args.size()) Syntax(operation);
      return args[++i];
    };
    if (flag == "/V") {
      if (options.valueName) Syntax(operation);
      options.valueName = win::Utf8ToWide(next());
    } else if (flag == "/VE") {
      if (options.valueName) Syntax(operation);
      options.valueName = L"";
    } else if (flag == "/VA" && operation == "DELETE") {
      options.allValues = true;
    } else if (flag == "/S" && operation == "QUERY") {
      options.recurse = true;
    } else if (flag == "/S" && operation == "ADD") {
      options.separator = win::Utf8ToWide(next());
    } else if (flag == "/T" && operation == "ADD") {
      options.type = upper(next());
    } else if (flag == "/D" && operation == "ADD") {
      options.data = win::Utf8ToWide(next());
    } else if (flag == "/F" && operation != "QUERY") {
      options.force = true;
    } else {
      Syntax(operation);
    }
  }
  if (options.allValues && options.valueName) Syntax(operation);
  return options;
}

bool Confirm(const std::string& question) {
  std::cout << question << " (Yes/No)? " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return win::textutil::EqualNoCase(answer, "y") || win::textutil::EqualNoCase(answer, "yes");
}

// ---------------------------------------------------------------------------
// query

const char* TypeName(DWORD type) {
  switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_DWORD_BIG_ENDIAN: return "REG_DWORD_BIG_ENDIAN";
    case REG_LINK: return "REG_LINK";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_QWORD: return "REG_QWORD";
    default: return "REG_UNKNOWN";
  }
}

struct ValueData {
  DWORD type = REG_NONE;
  DWORD size = 0;
  std::vector<wchar_t> buffer;  // room for text and raw bytes alike
  const BYTE* bytes() const { return reinterpret_cast<const BYTE*>(buffer.data()); }
};

std::string Hex(const BYTE* bytes, size_t size) {
  std::string out;
  char buf[4];
  for (size_t i = 0; i < size; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
    out += buf;
  }
  return out;
}

std::string Show(const ValueData& v) {
  switch (v.type) {
    case REG_SZ:
    case REG_EXPAND_SZ: return win::WideToUtf8(v.buffer.data());
    case REG_MULTI_SZ: {
      // The strings one after the other, shown with \0 between them.
      std::wstring out;
      const wchar_t* p = v.buffer.data();
      const wchar_t* end = p + v.buffer.size();
      while (p < end && *p) {
        if (!out.empty()) out += L"\\0";
        const size_t len = wcsnlen(p, static_cast<size_t>(end - p));
        out.append(p, len);
        p += len + 1;
      }
      return win::WideToUtf8(out);
    }
    case REG_DWORD:
      if (v.size == 4) {
        DWORD d;
        std::memcpy(&d, v.bytes(), 4);
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%x", static_cast<unsigned>(d));
        return buf;
      }
      break;
    case REG_QWORD:
      if (v.size == 8) {
        unsigned long long q;
        std::memcpy(&q, v.bytes(), 8);
        char buf[24];
        std::snprintf(buf, sizeof buf, "0x%llx", q);
        return buf;
      }
      break;
    default: break;
  }
  return Hex(v.bytes(), v.size);
}

void PrintValue(const std::wstring& name, const ValueData& v) {
  std::cout << "    " << (name.empty() ? std::string("(Default)") : win::WideToUtf8(name)) << "    "
            << TypeName(v.type) << "    " << Show(v) << "\n";
}

ValueData Allocate(DWORD type, DWORD size) {
  ValueData v;
  v.type = type;
  v.size = size;
  // Text comes as up to size / 2 wide characters, raw data as size bytes.
  v.buffer.assign(size / 2 + size / sizeof(wchar_t) + 2, L'\0');
  return v;
}

void QueryKey(HKEY key, const std::wstring& fullName, bool recurse, int& found) {
  std::cout << "\n" << win::WideToUtf8(fullName) << "\n";
  std::vector<wchar_t> name(16384);
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = static_cast<DWORD>(name.size());
    DWORD type = 0, size = 0;
    LSTATUS status = RegEnumValueW(key, i, name.data(), &nameSize, nullptr, &type, nullptr, &size);
    if (status == ERROR_NO_MORE_ITEMS) break;
    Check(status);
    ValueData v = Allocate(type, size);
    nameSize = static_cast<DWORD>(name.size());
    status = RegEnumValueW(key, i, name.data(), &nameSize, nullptr, &v.type, reinterpret_cast<BYTE*>(v.buffer.data()),
                           &v.size);
    if (status == ERROR_MORE_DATA) {  // grew meanwhile: show what is there next time
      --i;
      continue;
    }
    Check(status);
    PrintValue(std::wstring(name.data(), nameSize), v);
    ++found;
  }
  std::vector<std::wstring> children;
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = static_cast<DWORD>(name.size());
    LSTATUS status = RegEnumKeyExW(key, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    Check(status);
    children.emplace_back(name.data(), nameSize);
  }
  if (!recurse) {
    if (!children.empty()) std::cout << "\n";
    for (const auto& child : children) std::cout << win::WideToUtf8(fullName + L"\\" + child) << "\n";
    return;
  }
  for (const auto& child : children) {
    KeyHandle sub;
    if (RegOpenKeyExW(key, child.c_str(), 0, KEY_READ, sub.put()) != ERROR_SUCCESS) continue;  // deleted meanwhile
    QueryKey(sub.get(), fullName + L"\\" + child, true, found);
  }
}

int Query(const KeyName& name, const Options& options) {
  KeyHandle key;
  Check(RegOpenKeyExW(name.root, name.path.c_str(), 0, KEY_READ, key.put()));
  if (options.valueName) {
    DWORD type = 0, size = 0;
    Check(RegQueryValueExW(key.get(), options.valueName->c_str(), nullptr, &type, nullptr, &size));
    ValueData v = Allocate(type, size);
    Check(RegQueryValueExW(key.get(), options.valueName->c_str(), nullptr, &v.type,
                           reinterpret_cast<BYTE*>(v.buffer.data()), &v.size));
    std::cout << "\n" << win::WideToUtf8(name.Full()) << "\n";
    PrintValue(*options.valueName, v);
    std::cout << "\n";
    return 0;
  }
  int found = 0;
  QueryKey(key.get(), name.Full(), options.recurse, found);
  std::cout << "\n";
  if (options.recurse) std::cout << "End of search: " << found << " match(es) found.\n";
  return 0;
}

// ---------------------------------------------------------------------------
// add

bool ParseNumber(const std::wstring& text, unsigned long long max, unsigned long long& value) {
  if (text.empty()) return false;
  std::string s = win::WideToUtf8(text);
  int base = 10;
  size_t start = 0;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    start = 2;
  }
  value = 0;
  for (size_t i = start; i < s.size(); ++i) {
    const int d = win::textutil::HexDigit(static_cast<wchar_t>(static_cast<unsigned char>(s[i])));
    if (d < 0 || d >= base) return false;
    if (value > (max - static_cast<unsigned long long>(d)) / static_cast<unsigned long long>(base)) return false;
    value = value * static_cast<unsigned long long>(base) + static_cast<unsigned long long>(d);
  }
  return true;
}

int Add(const KeyName& name, const Options& options) {
  if (!options.valueName && (options.type || options.data)) Syntax("ADD");
  KeyHandle key;
  Check(RegCreateKeyExW(name.root, name.path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                        nullptr, key.put(), nullptr));
  if (options.valueName) {
    const std::string typeName = options.type.value_or("REG_SZ");
    const std::wstring data = options.data.value_or(L"");
    std::vector<BYTE> bytes;
    DWORD type;
    auto putText = [&](const std::wstring& text) {
      // Text goes to the registry as wide characters counted in UTF-16 bytes.
      bytes.resize(text.size() * sizeof(wchar_t));
      std::memcpy(bytes.data(), text.data(), bytes.size());
      return static_cast<DWORD>(win::Utf16Length(text) * 2);
    };
    DWORD size = 0;
    if (typeName == "REG_SZ" || typeName == "REG_EXPAND_SZ") {
      type = typeName == "REG_SZ" ? REG_SZ : REG_EXPAND_SZ;
      size = putText(data + L'\0');
    } else if (typeName == "REG_MULTI_SZ") {
      type = REG_MULTI_SZ;
      std::wstring text;
      size_t pos = 0;
      while (!data.empty()) {
        const size_t sep = options.separator.empty() ? std::wstring::npos : data.find(options.separator, pos);
        text += data.substr(pos, sep == std::wstring::npos ? std::wstring::npos : sep - pos);
        text += L'\0';
        if (sep == std::wstring::npos) break;
        pos = sep + options.separator.size();
      }
      text += L'\0';
      size = putText(text);
    } else if (typeName == "REG_DWORD" || typeName == "REG_QWORD") {
      const bool quad = typeName == "REG_QWORD";
      unsigned long long number = 0;
      if (!ParseNumber(data.empty() ? L"0" : data, quad ? ~0ull : 0xFFFFFFFFull, number))
        Fail("ERROR: Invalid number: " + win::WideToUtf8(data) + ".");
      type = quad ? REG_QWORD : REG_DWORD;
      size = quad ? 8 : 4;
      bytes.resize(size);
      for (DWORD i = 0; i < size; ++i) bytes[i] = static_cast<BYTE>(number >> (8 * i));
    } else if (typeName == "REG_BINARY" || typeName == "REG_NONE") {
      type = typeName == "REG_BINARY" ? REG_BINARY : REG_NONE;
      const std::string hex = win::WideToUtf8(data);
      if (hex.size() % 2 != 0) Fail("ERROR: Invalid binary data: give an even number of hex digits.");
      for (size_t i = 0; i < hex.size(); i += 2) {
        unsigned long long byte = 0;
        if (!ParseNumber(L"0x" + win::Utf8ToWide(hex.substr(i, 2)), 0xFF, byte))
          Fail("ERROR: Invalid binary data: " + hex + ".");
        bytes.push_back(static_cast<BYTE>(byte));
      }
      size = static_cast<DWORD>(bytes.size());
    } else {
      Fail("ERROR: Invalid type: " + typeName +
           ".\nTypes: REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD, REG_BINARY, REG_NONE.");
    }
    if (!options.force) {
      DWORD existingSize = 0;
      if (RegQueryValueExW(key.get(), options.valueName->c_str(), nullptr, nullptr, nullptr, &existingSize) ==
              ERROR_SUCCESS &&
          !Confirm("Value " + (options.valueName->empty() ? std::string("(Default)")
                                                          : win::WideToUtf8(*options.valueName)) +
                   " exists, overwrite"))
        Fail("ERROR: The operation was cancelled.");
    }
    Check(RegSetValueExW(key.get(), options.valueName->c_str(), 0, type, bytes.empty() ? nullptr : bytes.data(), size));
  }
  std::cout << "The operation completed successfully.\n";
  return 0;
}

// ---------------------------------------------------------------------------
// delete

int Delete(const KeyName& name, const Options& options) {
  if (options.valueName || options.allValues) {
    KeyHandle key;
    Check(RegOpenKeyExW(name.root, name.path.c_str(), 0, KEY_READ | KEY_WRITE, key.put()));
    if (options.valueName) {
      DWORD size = 0;
      Check(RegQueryValueExW(key.get(), options.valueName->c_str(), nullptr, nullptr, nullptr, &size));
      if (!options.force && !Confirm("Delete the registry value " + (options.valueName->empty()
                                                                          ? std::string("(Default)")
                                                                          : win::WideToUtf8(*options.valueName))))
        Fail("ERROR: The operation was cancelled.");
      Check(RegDeleteValueW(key.get(), options.valueName->c_str()));
    } else {
      if (!options.force && !Confirm("Delete all values under the registry key " + win::WideToUtf8(name.Full())))
        Fail("ERROR: The operation was cancelled.");
      std::vector<wchar_t> valueName(16384);
      for (;;) {
        DWORD nameSize = static_cast<DWORD>(valueName.size());
        LSTATUS status = RegEnumValueW(key.get(), 0, valueName.data(), &nameSize, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        Check(status);
        Check(RegDeleteValueW(key.get(), valueName.data()));
      }
    }
  } else {
    if (name.path.empty()) Fail("ERROR: A root key cannot be deleted.");
    KeyHandle probe;
    Check(RegOpenKeyExW(name.root, name.path.c_str(), 0, KEY_READ, probe.put()));
    if (!options.force && !Confirm("Delete the registry key " + win::WideToUtf8(name.Full())))
      Fail("ERROR: The operation was cancelled.");
    Check(RegDeleteTreeW(name.root, name.path.c_str()));
  }
  std::cout << "The operation completed successfully.\n";
  return 0;
}

void Usage() {
  std::cout << "REG QUERY  KEY [/v NAME | /ve] [/s]\n"
               "REG ADD    KEY [/v NAME | /ve] [/t TYPE] [/s SEPARATOR] [/d DATA] [/f]\n"
               "REG DELETE KEY [/v NAME | /ve | /va] [/f]\n"
               "\n"
               "KEY      ROOT\\SubKey, ROOT one of HKCU, HKLM, HKCR, HKU (or HKEY_CURRENT_USER ...)\n"
               "TYPE     REG_SZ (default), REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD,\n"
               "         REG_BINARY, REG_NONE\n"
               "/f       no question before overwriting or deleting\n"
               "The registry lives in $MARLO_PREFIX/registry.\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "/?" || args[0] == "-?" || args[0] == "--help") {
    Usage();
    return args.empty() ? 1 : 0;
  }
  std::string operation = win::textutil::Upper(args[0]);
  try {
    if (operation != "QUERY" && operation != "ADD" && operation != "DELETE")
      Fail("ERROR: Invalid operation: " + args[0] + ".\nType \"REG /?\" for usage.");
    if (args.size() < 2 || args[1] == "/?") {
      if (args.size() >= 2) {
        Usage();
        return 0;
      }
      Syntax(operation);
    }
    const KeyName name = ParseKey(args[1]);
    const Options options = ParseOptions(std::vector<std::string>(args.begin() + 2, args.end()), operation);
    if (operation == "QUERY") return Query(name, options);
    if (operation == "ADD") return Add(name, options);
    return Delete(name, options);
  } catch (const Failure& failure) {
    std::cout.flush();
    std::cerr << failure.message << "\n";
    return 1;
  }
}
