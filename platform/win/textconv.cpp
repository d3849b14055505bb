// Conversions between wide text, UTF-8 and UTF-16.
#include "textconv.h"

namespace win {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsScalar(char32_t c) { return c < 0x110000 && (c < 0xD800 || c > 0xDFFF); }

void AppendUtf8(std::string& out, char32_t c) {
  if (!IsScalar(c)) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::wstring Utf8ToWide(std::string_view in) {
  // Never more characters than bytes: written in place, then cut to size.
  std::wstring out(in.size(), L'\0');
  size_t n = 0, i = 0;
  while (i < in.size()) {
    unsigned char b = static_cast<unsigned char>(in[i]);
    int extra;
    char32_t c;
    if (b < 0x80) { out[n++] = static_cast<wchar_t>(b); ++i; continue; }
    else if ((b & 0xE0) == 0xC0) { extra = 1; c = b & 0x1F; }
    else if ((b & 0xF0) == 0xE0) { extra = 2; c = b & 0x0F; }
    else if ((b & 0xF8) == 0xF0) { extra = 3; c = b & 0x07; }
    else { out[n++] = static_cast<wchar_t>(kReplacement); ++i; continue; }
    size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < extra; ++k, ++j) {
      if (j >= in.size() || (static_cast<unsigned char>(in[j]) & 0xC0) != 0x80) { ok = false; break; }
      c = (c << 6) | (static_cast<unsigned char>(in[j]) & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || c < kMin[extra] || !IsScalar(c)) {
      out[n++] = static_cast<wchar_t>(kReplacement);
      i = j;  // resynchronise after the bytes looked at
      continue;
    }
    out[n++] = static_cast<wchar_t>(c);
    i = j;
  }
  out.resize(n);
  return out;
}

void AppendUtf8(std::string& out, wchar_t ch) { AppendUtf8(out, static_cast<char32_t>(ch)); }

std::string WideToUtf8(std::wstring_view in) {
  std::string out;
  out.reserve(in.size());
  for (wchar_t w : in) AppendUtf8(out, static_cast<char32_t>(w));
  return out;
}

std::u16string WideToUtf16(std::wstring_view in) {
  std::u16string out;
  out.reserve(in.size());
  for (wchar_t w : in) {
    char32_t c = static_cast<char32_t>(w);
    if (!IsScalar(c)) c = kReplacement;
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
  }
  return out;
}

std::wstring Utf16ToWide(std::u16string_view in) {
  std::wstring out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    char16_t u = in[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
      out += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (in[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      out += static_cast<wchar_t>(kReplacement);
    } else {
      out += static_cast<wchar_t>(u);
    }
  }
  return out;
}

size_t Utf16Length(std::wstring_view wide) {
  size_t n = 0;
  for (wchar_t w : wide) n += static_cast<char32_t>(w) >= 0x10000 && IsScalar(static_cast<char32_t>(w)) ? 2 : 1;
  return n;
}

}  // namespace win
