// Windows paths over POSIX ones: drive Z: is the root, other drives live in the
// platform prefix folder.
#include "paths.h"

#include <cstdlib>
#include <cwctype>

#include "textconv.h"
#include "textutil.h"

namespace win {

std::string PlatformPrefix() {
  if (const char* p = std::getenv("MARLO_PREFIX"); p && *p) return p;
  if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return std::string(x) + "/marlo";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/share/marlo";
}

std::string ToPosixPath(std::wstring_view path) {
  std::wstring p(path);
  for (auto& c : p)
    if (c == L'\\') c = L'/';
  if (p.size() >= 2 && p[1] == L':' && std::iswalpha(p[0])) {
    wchar_t drive = static_cast<wchar_t>(std::towlower(p[0]));
    std::wstring rest = p.substr(2);
    if (rest.empty() || rest[0] != L'/') rest.insert(rest.begin(), L'/');
    if (drive == L'z') return WideToUtf8(rest);
    return PlatformPrefix() + "/drive_" + static_cast<char>(drive) + WideToUtf8(rest);
  }
  return WideToUtf8(p);
}

std::string ToPosixPath(std::string_view utf8Path) { return ToPosixPath(Utf8ToWide(utf8Path)); }

std::wstring ToWindowsPath(std::string_view posixPath) {
  std::string p(posixPath);
  std::wstring drive;
  if (!p.empty() && p[0] == '/') {
    std::string other = PlatformPrefix() + "/drive_";
    if (p.size() > other.size() && p.compare(0, other.size(), other) == 0 && std::isalpha(p[other.size()]) &&
        (p.size() == other.size() + 1 || p[other.size() + 1] == '/')) {
      drive = std::wstring(1, static_cast<wchar_t>(textutil::UpperChar(p[other.size()]))) + L":";
      p = p.substr(other.size() + 1);
      if (p.empty()) p = "/";
    } else {
      drive = L"Z:";
    }
  }
  std::wstring w = drive + Utf8ToWide(p);
  for (auto& c : w)
    if (c == L'/') c = L'\\';
  return w;
}

}  // namespace win
