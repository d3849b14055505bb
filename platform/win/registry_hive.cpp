// Registry hives as text files: the key tree, parsing and writing the text, and
// changes made safely against other processes.
#include "registry_hive.h"

#include "textconv.h"
#include "textutil.h"
#include "winreg.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <random>

#include "paths.h"

namespace win::registry {

// ---------------------------------------------------------------------------
// Names and the tree

std::wstring FoldName(std::wstring_view name) { return textutil::FoldCase(name); }

Key* Key::FindChild(std::wstring_view name) const {
  auto it = m_children.find(FoldName(name));
  return it == m_children.end() ? nullptr : it->second.get();
}

Key& Key::Child(std::wstring_view name, bool* created) {
  auto [it, inserted] = m_children.try_emplace(FoldName(name));
  if (inserted) it->second = std::make_unique<Key>(std::wstring(name));
  if (created) *created = inserted;
  return *it->second;
}

bool Key::RemoveChild(std::wstring_view name) { return m_children.erase(FoldName(name)) > 0; }

const Value* Key::FindValue(std::wstring_view name) const {
  const std::wstring folded = FoldName(name);
  for (const auto& v : m_values)
    if (v.name.size() == folded.size() && FoldName(v.name) == folded) return &v;
  return nullptr;
}

bool Key::SetValue(std::wstring_view name, DWORD type, std::vector<BYTE> data) {
  const std::wstring folded = FoldName(name);
  for (auto& v : m_values) {
    if (v.name.size() == folded.size() && FoldName(v.name) == folded) {
      if (v.type == type && v.data == data) return false;
      m_textValid = false;
      v.type = type;
      v.data = std::move(data);
      return true;
    }
  }
  m_values.push_back(Value{std::wstring(name), type, std::move(data)});
  m_textValid = false;
  return true;
}

bool Key::RemoveValue(std::wstring_view name) {
  const std::wstring folded = FoldName(name);
  auto it = std::find_if(m_values.begin(), m_values.end(), [&](const Value& v) {
    return v.name.size() == folded.size() && FoldName(v.name) == folded;
  });
  if (it == m_values.end()) return false;
  m_values.erase(it);
  m_textValid = false;
  return true;
}

Key* Key::Find(const std::vector<std::wstring>& path) const {
  const Key* key = this;
  for (const auto& part : path) {
    key = key->FindChild(part);
    if (!key) return nullptr;
  }
  return const_cast<Key*>(key);
}

// ---------------------------------------------------------------------------
// Text form
//
//   MARLO REGISTRY HIVE 1 gen=7 id=5f0c...
//
//   [HKEY_CURRENT_USER\Software\Vendor]
//   @="default value"
//   "Text"="a \"quoted\" word\nand a second line"
//   "Path"=expand:"%HOME%\\bin"
//   "Count"=dword:0000001e
//   "Blob"=hex:01,02,ff
//   "List"=hex(7):61,00,00,00,00,00
//
// Text values are written as quoted text when they are well-formed UTF-16
// with one terminator; anything else keeps its exact bytes in hex form.

namespace {

using textutil::HexDigit;

// Reads a quoted text starting at pos (which holds the opening quote); pos
// ends after the closing quote. False on a malformed text.
bool ReadQuoted(std::wstring_view line, size_t& pos, std::wstring& out) {
  if (pos >= line.size() || line[pos] != L'"') return false;
  ++pos;
  out.clear();
  out.reserve(line.size() - pos);
  while (pos < line.size()) {
    wchar_t c = line[pos++];
    if (c == L'"') return true;
    if (c != L'\\') {
      out += c;
      continue;
    }
    if (pos >= line.size()) return false;
    wchar_t e = line[pos++];
    switch (e) {
      case L'\\': out += L'\\'; break;
      case L'"': out += L'"'; break;
      case L'n': out += L'\n'; break;
      case L'r': out += L'\r'; break;
      case L't': out += L'\t'; break;
      case L'u': {
        if (pos >= line.size() || line[pos] != L'{') return false;
        size_t close = line.find(L'}', pos);
        if (close == std::wstring_view::npos || close == pos + 1 || close - pos > 9) return false;
        unsigned long code = 0;
        for (size_t i = pos + 1; i < close; ++i) {
          int d = HexDigit(line[i]);
          if (d < 0) return false;
          code = code * 16 + static_cast<unsigned long>(d);
        }
        if (code > 0x10FFFF) return false;
        out += static_cast<wchar_t>(code);
        pos = close + 1;
        break;
      }
      default: return false;
    }
  }
  return false;
}

// The text of a value's bytes when they are clean UTF-16 with exactly one
// terminator at the end.
bool CleanText(const std::vector<BYTE>& data, std::wstring& text) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  const size_t units = data.size() / 2;
  std::u16string u16;
  u16.reserve(units);
  for (size_t i = 0; i < units; ++i) u16 += static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  if (u16.back() != 0) return false;
  u16.pop_back();
  for (size_t i = 0; i < u16.size(); ++i) {
    char16_t c = u16[i];
    if (c == 0) return false;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= u16.size() || u16[i + 1] < 0xDC00 || u16[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
  }
  text = Utf16ToWide(u16);
  return true;
}

std::vector<BYTE> TextBytes(std::wstring_view text) {
  std::vector<BYTE> data;
  data.reserve(text.size() * 2 + 2);
  auto put = [&](uint32_t unit) {
    data.push_back(static_cast<BYTE>(unit & 0xff));
    data.push_back(static_cast<BYTE>(unit >> 8));
  };
  for (wchar_t wc : text) {
    auto c = static_cast<uint32_t>(wc);
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c >= 0x10000) {
      c -= 0x10000;
      put(0xD800 + (c >> 10));
      put(0xDC00 + (c & 0x3FF));
    } else {
      put(c);
    }
  }
  put(0);
  return data;
}

void AppendHex(std::string& out, const std::vector<BYTE>& data) {
  static const char digits[] = "0123456789abcdef";
  for (size_t i = 0; i < data.size(); ++i) {
    if (i) out += ',';
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
}

// Appends text between double quotes, escaped as ReadQuoted reads it.
void AppendQuoted(std::string& out, std::wstring_view text) {
  out += '"';
  for (wchar_t c : text) {
    switch (c) {
      case L'\\': out += "\\\\"; break;
      case L'"': out += "\\\""; break;
      case L'\n': out += "\\n"; break;
      case L'\r': out += "\\r"; break;
      case L'\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7f) {
          char buf[16];
          std::snprintf(buf, sizeof buf, "\\u{%x}", static_cast<unsigned>(c));
          out += buf;
        } else {
          win::AppendUtf8(out, c);
        }
    }
  }
  out += '"';
}

}  // namespace

// path is the key's full name; it is extended for the children and put back.
void FormatKeyText(std::string& out, const Key& key, std::wstring& path) {
  if (!key.m_textValid) {
    std::string& text = key.m_text;
    text.clear();
    text += "\n[";
    for (wchar_t c : path) win::AppendUtf8(text, c);
    text += "]\n";
    for (const auto& v : key.Values()) {
      if (v.name.empty())
        text += '@';
      else
        AppendQuoted(text, v.name);
      text += '=';
      std::wstring clean;
      char buf[32];
      if (v.type == REG_SZ && CleanText(v.data, clean)) {
        AppendQuoted(text, clean);
      } else if (v.type == REG_EXPAND_SZ && CleanText(v.data, clean)) {
        text += "expand:";
        AppendQuoted(text, clean);
      } else if (v.type == REG_DWORD && v.data.size() == 4) {
        DWORD d = static_cast<DWORD>(v.data[0] | (v.data[1] << 8) | (v.data[2] << 16)) |
                  (static_cast<DWORD>(v.data[3]) << 24);
        std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(d));
        text += buf;
      } else if (v.type == REG_BINARY) {
        text += "hex:";
        AppendHex(text, v.data);
      } else {
        std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(v.type));
        text += buf;
        AppendHex(text, v.data);
      }
      text += '\n';
    }
    key.m_textValid = true;
  }
  out += key.m_text;
  for (const auto& [folded, child] : key.Children()) {
    const size_t length = path.size();
    path += L'\\';
    path += child->Name();
    FormatKeyText(out, *child, path);
    path.resize(length);
  }
}

namespace {


bool ParseHexNumber(std::wstring_view s, size_t maxDigits, DWORD& value) {
  if (s.empty() || s.size() > maxDigits) return false;
  value = 0;
  for (wchar_t c : s) {
    int d = HexDigit(c);
    if (d < 0) return false;
    value = value * 16 + static_cast<DWORD>(d);
  }
  return true;
}

bool ParseHexBytes(std::wstring_view s, std::vector<BYTE>& data) {
  data.clear();
  size_t pos = 0;
  while (pos < s.size()) {
    while (pos < s.size() && s[pos] == L' ') ++pos;
    if (pos + 2 > s.size()) return false;
    int hi = HexDigit(s[pos]), lo = HexDigit(s[pos + 1]);
    if (hi < 0 || lo < 0) return false;
    data.push_back(static_cast<BYTE>(hi * 16 + lo));
    pos += 2;
    while (pos < s.size() && s[pos] == L' ') ++pos;
    if (pos == s.size()) break;
    if (s[pos] != L',') return false;
    ++pos;
    if (pos == s.size()) return false;
  }
  return true;
}

bool ParseData(std::wstring_view s, DWORD& type, std::vector<BYTE>& data) {
  std::wstring text;
  size_t pos = 0;
  if (!s.empty() && s[0] == L'"') {
    if (!ReadQuoted(s, pos, text) || pos != s.size()) return false;
    type = REG_SZ;
    data = TextBytes(text);
    return true;
  }
  if (s.starts_with(L"expand:")) {
    pos = 7;
    if (!ReadQuoted(s, pos, text) || pos != s.size()) return false;
    type = REG_EXPAND_SZ;
    data = TextBytes(text);
    return true;
  }
  if (s.starts_with(L"dword:")) {
    DWORD d = 0;
    if (!ParseHexNumber(s.substr(6), 8, d)) return false;
    type = REG_DWORD;
    data = {static_cast<BYTE>(d), static_cast<BYTE>(d >> 8), static_cast<BYTE>(d >> 16), static_cast<BYTE>(d >> 24)};
    return true;
  }
  if (s.starts_with(L"hex:")) {
    type = REG_BINARY;
    return ParseHexBytes(s.substr(4), data);
  }
  if (s.starts_with(L"hex(")) {
    size_t close = s.find(L"):");
    if (close == std::wstring_view::npos || !ParseHexNumber(s.substr(4, close - 4), 8, type)) return false;
    return ParseHexBytes(s.substr(close + 2), data);
  }
  return false;
}

}  // namespace

ParseResult ParseHive(std::string_view text, std::wstring_view rootName, Key& root) {
  ParseResult result;
  const std::wstring rootFolded = FoldName(rootName);
  Key* current = nullptr;
  std::wstring line;
  int lineNo = 0;
  size_t start = 0;
  auto fail = [&](const char* why) {
    result.ok = false;
    result.errorLine = lineNo;
    result.error = why;
    return result;
  };
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(start, end - start);
    start = end + 1;
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (lineNo == 1) {
      if (!raw.starts_with(kHiveSignature)) return fail("not a registry hive (first line)");
      continue;
    }
    if (raw.empty() || raw[0] == ';') continue;
    line = win::Utf8ToWide(raw);
    if (line[0] == L'[') {
      if (line.back() != L']') return fail("key line without closing bracket");
      std::wstring_view path(line);
      path = path.substr(1, path.size() - 2);
      size_t sep = path.find(L'\\');
      if (FoldName(path.substr(0, sep)) != rootFolded) return fail("key outside this hive's root");
      current = &root;
      while (sep != std::wstring_view::npos) {
        path = path.substr(sep + 1);
        sep = path.find(L'\\');
        std::wstring_view part = path.substr(0, sep);
        if (part.empty()) return fail("empty key name");
        current = &current->Child(part);
      }
      continue;
    }
    if (!current) return fail("value before the first key");
    std::wstring name;
    size_t pos = 0;
    if (line[0] == L'@') {
      pos = 1;
    } else if (!ReadQuoted(line, pos, name)) {
      return fail("malformed value name");
    }
    if (pos >= line.size() || line[pos] != L'=') return fail("value without '='");
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!ParseData(std::wstring_view(line).substr(pos + 1), type, data)) return fail("malformed value data");
    current->SetValue(name, type, std::move(data));
  }
  if (lineNo == 0) return fail("empty");  // callers treat a zero-length file themselves
  result.ok = true;
  return result;
}

void FormatHiveInto(std::string& out, const Key& root, std::wstring_view rootName, std::string_view headerTag) {
  out.assign(kHiveSignature);
  if (!headerTag.empty()) {
    out += ' ';
    out += headerTag;
  }
  out += '\n';
  std::wstring path(rootName);
  FormatKeyText(out, root, path);
}

std::string FormatHive(const Key& root, std::wstring_view rootName, std::string_view headerTag) {
  std::string out;
  FormatHiveInto(out, root, rootName, headerTag);
  return out;
}

// ---------------------------------------------------------------------------
// Files

namespace {

LSTATUS ErrorFromErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS: return ERROR_ACCESS_DENIED;
    case ENOENT:
    case ENOTDIR:
    case EEXIST: return ERROR_PATH_NOT_FOUND;
    default: return ERROR_CANTWRITE;
  }
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

unsigned long long GenerationOf(const std::string& header) {
  size_t pos = header.find(" gen=");
  if (pos == std::string::npos) return 0;
  return std::strtoull(header.c_str() + pos + 5, nullptr, 10);
}

class Fd {
 public:
  explicit Fd(int fd) : m_fd(fd) {}
  ~Fd() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return m_fd; }
  int release() {
    int fd = m_fd;
    m_fd = -1;
    return fd;
  }

 private:
  int m_fd;
};

}  // namespace

HiveFile::HiveFile(std::string directory, std::string fileName, std::wstring rootName)
    : m_directory(std::move(directory)),
      m_path(m_directory + "/" + fileName),
      m_lockPath(m_path + ".lock"),
      m_rootName(std::move(rootName)),
      m_tree(std::make_unique<Key>()) {}

HiveFile::Load HiveFile::Refresh() {
  Fd fd(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    const int error = errno;
    m_cached = false;
    m_tree = std::make_unique<Key>();
    return (error == ENOENT || error == ENOTDIR) ? Load::Missing : Load::Unreadable;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    m_cached = false;
    m_tree = std::make_unique<Key>();
    return Load::Unreadable;
  }
  // The stamp: identity, size and time of the file plus its first line, whose
  // tag every write changes; an unchanged stamp means the parsed tree is current.
  Stamp stamp;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = st.st_size;
  stamp.mtimeSec = static_cast<long>(st.st_mtim.tv_sec);
  stamp.mtimeNsec = static_cast<long>(st.st_mtim.tv_nsec);
  char head[160];
  ssize_t n = ::pread(fd.get(), head, sizeof head, 0);
  if (n < 0) {
    m_cached = false;
    m_tree = std::make_unique<Key>();
    return Load::Unreadable;
  }
  stamp.header.assign(head, static_cast<size_t>(n));
  stamp.header.resize(std::min(stamp.header.find('\n'), stamp.header.size()));
  if (m_cached && stamp == m_stamp) return m_corrupt ? Load::Corrupt : Load::Ok;

  std::string text;
  char buf[65536];
  for (;;) {
    ssize_t r = ::read(fd.get(), buf, sizeof buf);
    if (r < 0) {
      if (errno == EINTR) continue;
      m_cached = false;
      m_tree = std::make_unique<Key>();
      return Load::Unreadable;
    }
    if (r == 0) break;
    text.append(buf, static_cast<size_t>(r));
  }
  auto tree = std::make_unique<Key>();
  m_corrupt = false;
  if (!text.empty()) {
    ParseResult parsed = ParseHive(text, m_rootName, *tree);
    if (!parsed.ok) {
      WarnCorrupt(parsed);
      tree = std::make_unique<Key>();
      m_corrupt = true;
    }
  }
  m_tree = std::move(tree);
  m_stamp = std::move(stamp);
  m_cached = true;
  return m_corrupt ? Load::Corrupt : Load::Ok;
}

void HiveFile::WarnCorrupt(const ParseResult& result) {
  if (m_warned) return;
  m_warned = true;
  std::fprintf(stderr,
               "registry: the hive file %s cannot be read (line %d: %s); it is left untouched, "
               "its keys read as empty and writes to it fail\n",
               m_path.c_str(), result.errorLine, result.error.c_str());
}

LSTATUS HiveFile::Read(const std::function<LSTATUS(const Key& root)>& fn) {
  std::lock_guard<std::mutex> guard(m_mutex);
  Refresh();
  return fn(*m_tree);
}

LSTATUS HiveFile::Write(const std::function<LSTATUS(Key& root, bool& changed)>& fn) {
  std::lock_guard<std::mutex> guard(m_mutex);
  std::error_code ec;
  std::filesystem::create_directories(m_directory, ec);
  if (ec) return ErrorFromErrno(ec.value());
  Fd lock(::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (lock.get() < 0) return ErrorFromErrno(errno);
  while (::flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) return ErrorFromErrno(errno);
  }
  switch (Refresh()) {
    case Load::Corrupt: return ERROR_REGISTRY_CORRUPT;
    case Load::Unreadable: return ERROR_ACCESS_DENIED;
    default: break;
  }
  bool changed = false;
  LSTATUS status = fn(*m_tree, changed);
  if (status != ERROR_SUCCESS) {
    if (changed) m_cached = false;  // the tree no longer matches the file
    return status;
  }
  if (!changed) return ERROR_SUCCESS;
  return Store(*m_tree);
}

LSTATUS HiveFile::Store(Key& root) {
  char tag[64];
  std::random_device random;
  const unsigned long long id = (static_cast<unsigned long long>(random()) << 32) ^ random();
  std::snprintf(tag, sizeof tag, "gen=%llu id=%016llx", GenerationOf(m_cached ? m_stamp.header : std::string()) + 1,
                id);
  FormatHiveInto(m_buffer, root, m_rootName, tag);
  const std::string& text = m_buffer;
  const std::string temp = m_path + ".tmp." + std::to_string(::getpid());
  m_cached = false;
  Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (fd.get() < 0) return ErrorFromErrno(errno);
  struct stat st {};
  if (!WriteAll(fd.get(), text) || ::fsync(fd.get()) != 0 || ::fstat(fd.get(), &st) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    return ErrorFromErrno(error);
  }
  if (::close(fd.release()) != 0 || ::rename(temp.c_str(), m_path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    return ErrorFromErrno(error);
  }
  m_stamp.device = st.st_dev;
  m_stamp.inode = st.st_ino;
  m_stamp.size = st.st_size;
  m_stamp.mtimeSec = static_cast<long>(st.st_mtim.tv_sec);
  m_stamp.mtimeNsec = static_cast<long>(st.st_mtim.tv_nsec);
  m_stamp.header = text.substr(0, text.find('\n'));
  m_corrupt = false;
  m_cached = true;
  return ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------
// The predefined roots

namespace {

struct RootInfo {
  HKEY key;
  const wchar_t* name;
  const char* file;
};

const RootInfo kRoots[] = {
    {HKEY_CLASSES_ROOT, L"HKEY_CLASSES_ROOT", "HKCR.reg"},
    {HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", "HKCU.reg"},
    {HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", "HKLM.reg"},
    {HKEY_USERS, L"HKEY_USERS", "HKU.reg"},
};

const RootInfo* FindRoot(HKEY key) {
  for (const auto& r : kRoots)
    if (r.key == key) return &r;
  return nullptr;
}

}  // namespace

std::wstring RootName(HKEY root) {
  const RootInfo* info = FindRoot(root);
  return info ? info->name : L"";
}

HiveFile* HiveFor(HKEY root) {
  const RootInfo* info = FindRoot(root);
  if (!info) return nullptr;
  // One hive object per file for the life of the process; the prefix may
  // change between calls (tests give every case its own).
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<HiveFile>> hives;
  const std::string directory = PlatformPrefix() + "/registry";
  const std::string path = directory + "/" + info->file;
  std::lock_guard<std::mutex> guard(mutex);
  auto& hive = hives[path];
  if (!hive) hive = std::make_unique<HiveFile>(directory, info->file, info->name);
  return hive.get();
}

}  // namespace win::registry
