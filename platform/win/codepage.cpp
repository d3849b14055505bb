// Code-page conversion: UTF-8 by hand, GBK through iconv.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "module.h"
#include "stringapiset.h"

namespace {

enum class Page { kUtf8, kGbk, kUnsupported };

Page PageOf(UINT codePage) {
  switch (codePage) {
    case CP_ACP:
    case CP_OEMCP:
    case CP_THREAD_ACP:
    case CP_UTF8:
      return Page::kUtf8;
    case 936:
      return Page::kGbk;
    default:
      return Page::kUnsupported;
  }
}

constexpr char32_t kReplacement = 0xFFFD;

// One conversion descriptor, closed when it goes out of scope. A descriptor
// keeps shift state, so each conversion opens its own.
class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (Ok()) iconv_close(m_cd);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t Get() const { return m_cd; }

 private:
  iconv_t m_cd;
};

// The GBK names glibc knows; the Windows variant first.
const char* const kGbkNames[] = {"CP936", "GBK"};

// Decodes UTF-8. Every malformed sequence (bad lead byte, missing
// continuation, overlong form, surrogate, beyond U+10FFFF) becomes one U+FFFD
// and sets invalid.
std::wstring DecodeUtf8(const unsigned char* s, size_t n, bool& invalid) {
  std::wstring out;
  out.reserve(n);
  size_t i = 0;
  while (i < n) {
    unsigned char c = s[i];
    if (c < 0x80) {
      out.push_back(static_cast<wchar_t>(c));
      ++i;
      continue;
    }
    int need = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      need = 1, cp = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
      need = 2, cp = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      need = 3, cp = c & 0x07, min = 0x10000;
    } else {
      invalid = true;
      out.push_back(static_cast<wchar_t>(kReplacement));
      ++i;
      continue;
    }
    size_t j = i + 1;
    int got = 0;
    while (got < need && j < n && (s[j] & 0xC0) == 0x80) {
      cp = (cp << 6) | (s[j] & 0x3F);
      ++j, ++got;
    }
    if (got < need || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      invalid = true;
      out.push_back(static_cast<wchar_t>(kReplacement));
      i = j;  // the lead byte and the continuation bytes that followed it
      continue;
    }
    out.push_back(static_cast<wchar_t>(cp));
    i = j;
  }
  return out;
}

bool DecodeGbk(const char* s, size_t n, bool& invalid, std::wstring& out) {
  for (const char* name : kGbkNames) {
    IconvHandle cd("WCHAR_T", name);
    if (!cd.Ok()) continue;
    char* in = const_cast<char*>(s);
    size_t inLeft = n;
    wchar_t chunk[256];
    while (inLeft > 0) {
      char* o = reinterpret_cast<char*>(chunk);
      size_t oLeft = sizeof chunk;
      size_t r = iconv(cd.Get(), &in, &inLeft, &o, &oLeft);
      out.append(chunk, static_cast<size_t>(reinterpret_cast<wchar_t*>(o) - chunk));
      if (r != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // A byte that starts no valid character (EILSEQ), or a character cut
      // off at the end (EINVAL): one replacement character each.
      invalid = true;
      out.push_back(static_cast<wchar_t>(kReplacement));
      if (errno == EINVAL) break;
      ++in, --inLeft;
    }
    return true;
  }
  return false;
}

// Wide text as code points: a UTF-16 surrogate pair held in two wchar_t is
// joined; a lone surrogate or a value beyond Unicode becomes U+FFFD.
std::u32string CodePoints(const wchar_t* s, size_t n, bool& invalid) {
  std::u32string out;
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    auto c = static_cast<char32_t>(s[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n) {
      auto d = static_cast<char32_t>(s[i + 1]);
      if (d >= 0xDC00 && d <= 0xDFFF) {
        out.push_back(0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00));
        ++i;
        continue;
      }
    }
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
      invalid = true;
      c = kReplacement;
    }
    out.push_back(c);
  }
  return out;
}

std::string EncodeUtf8(const std::u32string& cps) {
  std::string out;
  out.reserve(cps.size());
  for (char32_t c : cps) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// Encodes to GBK one character at a time so that each character the code
// page lacks is replaced by the default character on its own.
bool EncodeGbk(const std::u32string& cps, const std::string& defaultChar, bool& usedDefault, std::string& out) {
  for (const char* name : kGbkNames) {
    IconvHandle cd(name, "WCHAR_T");
    if (!cd.Ok()) continue;
    for (char32_t c : cps) {
      wchar_t w = static_cast<wchar_t>(c);
      char* in = reinterpret_cast<char*>(&w);
      size_t inLeft = sizeof w;
      char buf[8];
      char* o = buf;
      size_t oLeft = sizeof buf;
      if (c == kReplacement || iconv(cd.Get(), &in, &inLeft, &o, &oLeft) == static_cast<size_t>(-1)) {
        iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);
        usedDefault = true;
        out += defaultChar;
        continue;
      }
      out.append(buf, static_cast<size_t>(o - buf));
    }
    return true;
  }
  return false;
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

UINT GetACP() { return CP_UTF8; }
UINT GetOEMCP() { return CP_UTF8; }

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount, LPWSTR wide,
                        int wideCount) {
  Page page = PageOf(codePage);
  if (page == Page::kUnsupported || !multiByte || multiByteCount == 0 || multiByteCount < -1 || wideCount < 0 ||
      (wideCount > 0 && !wide) ||
      (wide && static_cast<const void*>(wide) == static_cast<const void*>(multiByte)))
    return Fail(ERROR_INVALID_PARAMETER);

  size_t n = multiByteCount == -1 ? std::strlen(multiByte) + 1 : static_cast<size_t>(multiByteCount);
  bool invalid = false;
  std::wstring text;
  if (page == Page::kUtf8) {
    text = DecodeUtf8(reinterpret_cast<const unsigned char*>(multiByte), n, invalid);
  } else if (!DecodeGbk(multiByte, n, invalid, text)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (invalid && (flags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);

  if (wideCount == 0) return static_cast<int>(text.size());
  if (text.size() > static_cast<size_t>(wideCount)) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::wmemcpy(wide, text.data(), text.size());
  return static_cast<int>(text.size());
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                        int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
  Page page = PageOf(codePage);
  if (page == Page::kUnsupported || !wide || wideCount == 0 || wideCount < -1 || multiByteCount < 0 ||
      (multiByteCount > 0 && !multiByte) ||
      (multiByte && static_cast<const void*>(wide) == static_cast<const void*>(multiByte)))
    return Fail(ERROR_INVALID_PARAMETER);
  if (page == Page::kUtf8 && (defaultChar || usedDefaultChar)) return Fail(ERROR_INVALID_PARAMETER);

  size_t n = wideCount == -1 ? std::wcslen(wide) + 1 : static_cast<size_t>(wideCount);
  bool invalid = false;
  std::u32string cps = CodePoints(wide, n, invalid);
  std::string text;
  if (page == Page::kUtf8) {
    if (invalid && (flags & WC_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
    text = EncodeUtf8(cps);
  } else {
    bool usedDefault = false;
    std::string replacement = defaultChar && *defaultChar ? std::string(defaultChar) : std::string("?");
    if (!EncodeGbk(cps, replacement, usedDefault, text)) return Fail(ERROR_INVALID_PARAMETER);
    if (usedDefaultChar) *usedDefaultChar = usedDefault ? TRUE : FALSE;
  }

  if (multiByteCount == 0) return static_cast<int>(text.size());
  if (text.size() > static_cast<size_t>(multiByteCount)) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(multiByte, text.data(), text.size());
  return static_cast<int>(text.size());
}
