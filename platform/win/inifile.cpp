// Private profile files: read whole, change the lines concerned, write a new
// file beside the old one and rename it over.
#include "inifile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cwctype>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fileapi.h"
#include "module.h"
#include "paths.h"
#include "textconv.h"
#include "textutil.h"

namespace {

enum class Encoding { kUtf8, kUtf8Bom, kUtf16Le, kUtf16Be };

using win::textutil::EqualNoCase;
using win::textutil::Trim;

bool IsComment(std::wstring_view trimmed) { return !trimmed.empty() && (trimmed[0] == L';' || trimmed[0] == L'#'); }

// The name of a section header line.
std::optional<std::wstring> SectionName(std::wstring_view line) {
  std::wstring_view t = Trim(line);
  if (t.empty() || t[0] != L'[') return std::nullopt;
  t.remove_prefix(1);
  size_t close = t.find(L']');
  if (close != std::wstring_view::npos) t = t.substr(0, close);
  return std::wstring(Trim(t));
}

struct KeyLine {
  std::wstring key;
  std::wstring value;
};

// The key and value of a "key=value" line (a line without '=' is a key with
// an empty value).
std::optional<KeyLine> ParseKey(std::wstring_view line) {
  std::wstring_view t = Trim(line);
  if (t.empty() || IsComment(t) || t[0] == L'[') return std::nullopt;
  size_t eq = t.find(L'=');
  if (eq == std::wstring_view::npos) return KeyLine{std::wstring(t), std::wstring()};
  std::wstring_view key = Trim(t.substr(0, eq));
  if (key.empty()) return std::nullopt;
  return KeyLine{std::wstring(key), std::wstring(Trim(t.substr(eq + 1)))};
}

// A value between matching quotes (double or single) is read without them.
std::wstring Unquote(const std::wstring& value) { return std::wstring(win::textutil::Unquote(value, L"\"'")); }

struct Line {
  std::string raw;    // the bytes as read (UTF-8 files), line end excluded
  std::wstring text;  // the line as text
  bool changed = false;
};

class IniFile {
 public:
  struct Range {
    size_t header;  // the section's header line
    size_t end;     // one past its last line
  };

  // False (error set) when the file exists but cannot be read; a missing file
  // reads as empty with exists() false.
  bool Load(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      m_bExists = false;
      if (errno == ENOENT) return true;
      SetLastError(errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : win::ErrorFromErrno(errno));
      return false;
    }
    std::string bytes;
    char buf[65536];
    bool ok = true;
    for (;;) {
      ssize_t n = read(fd, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ok = false;
      if (n <= 0) break;
      bytes.append(buf, static_cast<size_t>(n));
    }
    int savedErrno = errno;
    close(fd);
    if (!ok) {
      SetLastError(win::ErrorFromErrno(savedErrno));
      return false;
    }
    m_bExists = true;
    Parse(bytes);
    return true;
  }

  bool Exists() const { return m_bExists; }

  bool Save(const std::string& path) const {
    std::string target = path;
    char real[PATH_MAX];
    if (m_bExists && realpath(path.c_str(), real)) target = real;  // replace the file a link points to, not the link
    mode_t mode = 0644;
    struct stat st {};
    if (stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;

    std::string temp = target + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
      SetLastError(win::ErrorFromErrno(errno));
      return false;
    }
    std::string bytes = Serialize();
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
      ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ok = false;
      else done += static_cast<size_t>(n);
    }
    int savedErrno = errno;
    ok = ok && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    if (!ok) savedErrno = errno;
    if (close(fd) != 0 && ok) {
      ok = false;
      savedErrno = errno;
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
      ok = false;
      savedErrno = errno;
    }
    if (!ok) {
      unlink(temp.c_str());
      SetLastError(win::ErrorFromErrno(savedErrno));
    }
    return ok;
  }

  std::vector<std::wstring> Sections() const {
    std::vector<std::wstring> names;
    for (const Line& line : m_lines) {
      if (auto name = SectionName(line.text)) names.push_back(*name);
    }
    return names;
  }

  // The first section of that name.
  std::optional<Range> FindSection(std::wstring_view name) const {
    std::wstring_view wanted = Trim(name);
    for (size_t i = 0; i < m_lines.size(); ++i) {
      auto header = SectionName(m_lines[i].text);
      if (!header || !EqualNoCase(*header, wanted)) continue;
      size_t end = i + 1;
      while (end < m_lines.size() && !SectionName(m_lines[end].text)) ++end;
      return Range{i, end};
    }
    return std::nullopt;
  }

  static constexpr size_t kNone = static_cast<size_t>(-1);

  // The first line of the section that holds the key, kNone when none does.
  size_t FindKey(const Range& range, std::wstring_view key) const {
    std::wstring_view wanted = Trim(key);
    for (size_t i = range.header + 1; i < range.end; ++i) {
      auto parsed = ParseKey(m_lines[i].text);
      if (parsed && EqualNoCase(parsed->key, wanted)) return i;
    }
    return kNone;
  }

  std::vector<size_t> KeyLines(const Range& range) const {
    std::vector<size_t> out;
    for (size_t i = range.header + 1; i < range.end; ++i) {
      if (ParseKey(m_lines[i].text)) out.push_back(i);
    }
    return out;
  }

  const std::wstring& Text(size_t i) const { return m_lines[i].text; }

  // Replaces the value of a key line, keeping its key, spacing and indent.
  void SetValue(size_t i, std::wstring_view value) {
    std::wstring& text = m_lines[i].text;
    size_t eq = text.find(L'=');
    std::wstring head;
    if (eq == std::wstring::npos) {
      head = std::wstring(Trim(text)) + L"=";
    } else {
      size_t valueStart = eq + 1;
      while (valueStart < text.size() && (text[valueStart] == L' ' || text[valueStart] == L'\t')) ++valueStart;
      head = text.substr(0, valueStart);
    }
    text = head + std::wstring(value);
    m_lines[i].changed = true;
  }

  void Insert(size_t at, std::wstring text) {
    Line line;
    line.text = std::move(text);
    line.changed = true;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  }

  void Erase(size_t first, size_t last) {
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(first),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(last));
  }

  // Where a new key of the section goes: after its last line that is not blank.
  size_t EndOfContent(const Range& range) const {
    size_t at = range.end;
    while (at > range.header + 1 && Trim(m_lines[at - 1].text).empty()) --at;
    return at;
  }

  void Append(std::wstring text) {
    Insert(m_lines.size(), std::move(text));
    m_bFinalNewline = true;
  }

 private:
  void Parse(const std::string& bytes) {
    std::wstring all;
    std::vector<std::string> raws;
    size_t start = 0;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
      m_encoding = Encoding::kUtf16Le;
    } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
               static_cast<unsigned char>(bytes[1]) == 0xFF) {
      m_encoding = Encoding::kUtf16Be;
    } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
      m_encoding = Encoding::kUtf8Bom;
      start = 3;
    }
    if (m_encoding == Encoding::kUtf16Le || m_encoding == Encoding::kUtf16Be) {
      std::u16string units;
      for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        auto lo = static_cast<unsigned char>(bytes[i]), hi = static_cast<unsigned char>(bytes[i + 1]);
        if (m_encoding == Encoding::kUtf16Be) std::swap(lo, hi);
        units.push_back(static_cast<char16_t>(lo | (hi << 8)));
      }
      all = win::Utf16ToWide(units);
      SplitWide(all);
      return;
    }
    // UTF-8: keep every line's bytes so that lines not changed are written
    // back exactly, whatever they hold.
    std::string_view rest(bytes);
    rest.remove_prefix(start);
    if (rest.empty()) return;
    m_bFinalNewline = rest.back() == '\n';
    bool first = true;
    while (!rest.empty()) {
      size_t nl = rest.find('\n');
      std::string_view piece = rest.substr(0, nl);
      rest.remove_prefix(nl == std::string_view::npos ? rest.size() : nl + 1);
      if (!piece.empty() && piece.back() == '\r') {
        piece.remove_suffix(1);
        if (first) m_newline = "\r\n";
      } else if (first && nl != std::string_view::npos) {
        m_newline = "\n";
      }
      first = false;
      Line line;
      line.raw = std::string(piece);
      line.text = win::Utf8ToWide(piece);
      m_lines.push_back(std::move(line));
    }
  }

  void SplitWide(std::wstring_view all) {
    if (all.empty()) return;
    m_bFinalNewline = all.back() == L'\n';
    bool first = true;
    while (!all.empty()) {
      size_t nl = all.find(L'\n');
      std::wstring_view piece = all.substr(0, nl);
      all.remove_prefix(nl == std::wstring_view::npos ? all.size() : nl + 1);
      if (!piece.empty() && piece.back() == L'\r') {
        piece.remove_suffix(1);
        if (first) m_newline = "\r\n";
      } else if (first && nl != std::wstring_view::npos) {
        m_newline = "\n";
      }
      first = false;
      Line line;
      line.text = std::wstring(piece);
      line.changed = true;
      m_lines.push_back(std::move(line));
    }
  }

  std::string Serialize() const {
    if (m_encoding == Encoding::kUtf16Le || m_encoding == Encoding::kUtf16Be) {
      std::wstring all;
      std::wstring newline = win::Utf8ToWide(m_newline);
      for (size_t i = 0; i < m_lines.size(); ++i) {
        all += m_lines[i].text;
        if (i + 1 < m_lines.size() || m_bFinalNewline) all += newline;
      }
      std::u16string units = win::WideToUtf16(all);
      std::string out = m_encoding == Encoding::kUtf16Le ? "\xFF\xFE" : "\xFE\xFF";
      for (char16_t u : units) {
        char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        if (m_encoding == Encoding::kUtf16Le) {
          out += lo;
          out += hi;
        } else {
          out += hi;
          out += lo;
        }
      }
      return out;
    }
    std::string out = m_encoding == Encoding::kUtf8Bom ? "\xEF\xBB\xBF" : "";
    for (size_t i = 0; i < m_lines.size(); ++i) {
      out += m_lines[i].changed ? win::WideToUtf8(m_lines[i].text) : m_lines[i].raw;
      if (i + 1 < m_lines.size() || m_bFinalNewline) out += m_newline;
    }
    return out;
  }

  std::vector<Line> m_lines;
  Encoding m_encoding = Encoding::kUtf8;
  std::string m_newline = "\r\n";
  bool m_bFinalNewline = true;
  bool m_bExists = false;
};

// Copies text into the buffer, cut to fit; returns the characters copied.
DWORD CopyText(std::wstring_view text, LPWSTR buffer, DWORD size) {
  size_t n = std::min<size_t>(text.size(), size - 1);
  std::wmemcpy(buffer, text.data(), n);
  buffer[n] = L'\0';
  return static_cast<DWORD>(n);
}

// Copies a list of names, each terminated, with a final terminator; a list
// that does not fit is cut and ends with two terminators.
DWORD CopyList(const std::vector<std::wstring>& names, LPWSTR buffer, DWORD size) {
  std::wstring all;
  for (const auto& name : names) {
    all += name;
    all += L'\0';
  }
  if (all.size() + 1 <= size) {
    std::wmemcpy(buffer, all.data(), all.size());
    buffer[all.size()] = L'\0';
    return static_cast<DWORD>(all.size());
  }
  if (size == 1) {
    buffer[0] = L'\0';
    return 0;
  }
  std::wmemcpy(buffer, all.data(), size - 2);
  buffer[size - 2] = L'\0';
  buffer[size - 1] = L'\0';
  return size - 2;
}

bool LoadFile(LPCWSTR fileName, IniFile& ini) {
  if (!fileName || !*fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return ini.Load(win::ToPosixPath(fileName));
}

// The value of a key; nullopt when the file, section or key is missing.
std::optional<std::wstring> ReadValue(LPCWSTR appName, LPCWSTR keyName, LPCWSTR fileName) {
  IniFile ini;
  if (!LoadFile(fileName, ini)) return std::nullopt;
  if (!ini.Exists()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return std::nullopt;
  }
  auto range = ini.FindSection(appName);
  size_t line = range ? ini.FindKey(*range, keyName) : IniFile::kNone;
  if (line == IniFile::kNone) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return std::nullopt;
  }
  SetLastError(ERROR_SUCCESS);
  return Unquote(ParseKey(ini.Text(line))->value);
}

// Holds an exclusive lock on the folder of a file while a write reads,
// changes and replaces the file, so that writers in several processes never
// lose each other's changes. Readers need no lock: the rename is atomic.
class FolderLock {
 public:
  explicit FolderLock(const std::string& filePath) {
    size_t cut = filePath.find_last_of('/');
    std::string folder = cut == std::string::npos ? "." : cut == 0 ? "/" : filePath.substr(0, cut);
    m_fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd >= 0) {
      while (flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  ~FolderLock() {
    if (m_fd >= 0) close(m_fd);  // closing releases the lock
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int m_fd = -1;
};

bool BreaksLine(std::wstring_view text) { return text.find_first_of(L"\r\n") != std::wstring_view::npos; }

// Names and values that would break the line structure are refused rather
// than written into a file that no longer reads back as it was meant.
bool WritableNames(std::wstring_view section, LPCWSTR keyName, LPCWSTR text) {
  if (section.empty() || BreaksLine(section) || section.find(L']') != std::wstring_view::npos) return false;
  if (keyName) {
    std::wstring_view key = Trim(keyName);
    if (key.empty() || BreaksLine(key) || key.find(L'=') != std::wstring_view::npos || key[0] == L'[' ||
        IsComment(key))
      return false;
  }
  return !text || !BreaksLine(text);
}

}  // namespace

DWORD GetPrivateProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR defaultText, LPWSTR returnedString,
                               DWORD size, LPCWSTR fileName) {
  if (!returnedString || size == 0) return 0;
  if (!appName || !keyName) {
    IniFile ini;
    if (!LoadFile(fileName, ini)) {
      returnedString[0] = L'\0';
      if (size > 1) returnedString[1] = L'\0';
      return 0;
    }
    std::vector<std::wstring> names;
    if (!appName) {
      names = ini.Sections();
    } else if (auto range = ini.FindSection(appName)) {
      for (size_t i : ini.KeyLines(*range)) names.push_back(ParseKey(ini.Text(i))->key);
    }
    return CopyList(names, returnedString, size);
  }
  if (auto value = ReadValue(appName, keyName, fileName)) return CopyText(*value, returnedString, size);
  DWORD error = GetLastError();
  DWORD n = CopyText(Trim(defaultText ? std::wstring_view(defaultText) : std::wstring_view()), returnedString, size);
  SetLastError(error);
  return n;
}

UINT GetPrivateProfileIntW(LPCWSTR appName, LPCWSTR keyName, INT defaultValue, LPCWSTR fileName) {
  if (!appName || !keyName) return static_cast<UINT>(defaultValue);
  auto value = ReadValue(appName, keyName, fileName);
  if (!value || value->empty()) return static_cast<UINT>(defaultValue);
  const wchar_t* p = value->c_str();
  bool negative = false;
  if (*p == L'+' || *p == L'-') negative = *p++ == L'-';
  uint32_t result = 0;  // wraps like the original's 32-bit arithmetic
  if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X')) {
    for (p += 2; win::textutil::HexDigit(*p) >= 0; ++p) result = result * 16 + static_cast<uint32_t>(win::textutil::HexDigit(*p));
  } else {
    for (; *p >= L'0' && *p <= L'9'; ++p) result = result * 10 + static_cast<uint32_t>(*p - L'0');
  }
  return negative ? 0u - result : result;
}

DWORD GetPrivateProfileSectionW(LPCWSTR appName, LPWSTR returnedString, DWORD size, LPCWSTR fileName) {
  if (!returnedString || size == 0) return 0;
  IniFile ini;
  std::vector<std::wstring> entries;
  if (appName && LoadFile(fileName, ini)) {
    if (auto range = ini.FindSection(appName)) {
      for (size_t i : ini.KeyLines(*range)) entries.emplace_back(Trim(ini.Text(i)));
    }
  }
  return CopyList(entries, returnedString, size);
}

DWORD GetPrivateProfileSectionNamesW(LPWSTR returnBuffer, DWORD size, LPCWSTR fileName) {
  return GetPrivateProfileStringW(nullptr, nullptr, nullptr, returnBuffer, size, fileName);
}

BOOL WritePrivateProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR text, LPCWSTR fileName) {
  if (!appName) {
    // All null only asks to flush a cache; there is none.
    if (!keyName && !text) return TRUE;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::wstring_view section = Trim(appName);
  if (!WritableNames(section, keyName, text)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!fileName || !*fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string path = win::ToPosixPath(fileName);
  FolderLock lock(path);
  IniFile ini;
  if (!LoadFile(fileName, ini)) return FALSE;
  auto range = ini.FindSection(section);

  if (!keyName) {  // delete the section
    if (!range) return TRUE;
    ini.Erase(range->header, range->end);
    return ini.Save(path) ? TRUE : FALSE;
  }
  std::wstring_view key = Trim(keyName);
  size_t line = range ? ini.FindKey(*range, key) : IniFile::kNone;
  if (!text) {  // delete the key
    if (line == IniFile::kNone) return TRUE;
    ini.Erase(line, line + 1);
    return ini.Save(path) ? TRUE : FALSE;
  }
  std::wstring value(text);
  if (line != IniFile::kNone) {
    ini.SetValue(line, value);
  } else if (range) {
    ini.Insert(ini.EndOfContent(*range), std::wstring(key) + L"=" + value);
  } else {
    ini.Append(L"[" + std::wstring(section) + L"]");
    ini.Append(std::wstring(key) + L"=" + value);
  }
  return ini.Save(path) ? TRUE : FALSE;
}
