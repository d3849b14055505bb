// The one printf formatter, with the original platform's wide rules.
#include "format.h"

#include <cstdio>
#include <cwchar>

#include "textconv.h"

namespace win {
namespace {

struct Conversion {
  std::string flags;
  int width = -1;
  int precision = -1;
  enum class Size { Default, Short, Char, Long32, Long64, Pointer, Wide, Narrow } size = Size::Default;
  wchar_t type = 0;
};

void Pad(std::wstring& out, const std::wstring& body, const Conversion& conv) {
  const bool left = conv.flags.find('-') != std::string::npos;
  const size_t width = conv.width > 0 ? static_cast<size_t>(conv.width) : 0;
  if (body.size() >= width) {
    out += body;
  } else if (left) {
    out += body;
    out.append(width - body.size(), L' ');
  } else {
    out.append(width - body.size(), L' ');
    out += body;
  }
}

// Runs the C library's narrow printf for one number conversion.
template <typename T>
void Number(std::wstring& out, const Conversion& conv, const char* length, char type, T value) {
  std::string f = "%" + conv.flags;
  if (conv.width >= 0) f += std::to_string(conv.width);
  if (conv.precision >= 0) f += "." + std::to_string(conv.precision);
  f += length;
  f += type;
  char buf[512];
  int n = std::snprintf(buf, sizeof buf, f.c_str(), value);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof buf) {
    out.append(buf, buf + n);
  } else {
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), f.c_str(), value);
    out.append(big.begin(), big.begin() + n);
  }
}

std::wstring Core(const wchar_t* fmt, va_list args, bool narrowFormat) {
  std::wstring out;
  if (!fmt) return out;
  for (const wchar_t* p = fmt; *p;) {
    if (*p != L'%') {
      out += *p++;
      continue;
    }
    ++p;
    if (*p == L'%') {
      out += L'%';
      ++p;
      continue;
    }
    Conversion conv;
    while (*p == L'-' || *p == L'+' || *p == L' ' || *p == L'#' || *p == L'0') conv.flags += static_cast<char>(*p++);
    if (*p == L'*') {
      conv.width = va_arg(args, int);
      if (conv.width < 0) {
        conv.flags += '-';
        conv.width = -conv.width;
      }
      ++p;
    } else {
      while (*p >= L'0' && *p <= L'9') conv.width = (conv.width < 0 ? 0 : conv.width * 10) + (*p++ - L'0');
    }
    if (*p == L'.') {
      ++p;
      conv.precision = 0;
      if (*p == L'*') {
        conv.precision = va_arg(args, int);
        ++p;
      } else {
        while (*p >= L'0' && *p <= L'9') conv.precision = conv.precision * 10 + (*p++ - L'0');
      }
    }
    using Size = Conversion::Size;
    if (p[0] == L'h' && p[1] == L'h') { conv.size = Size::Char; p += 2; }
    else if (*p == L'h') { conv.size = Size::Short; ++p; }
    else if (p[0] == L'l' && p[1] == L'l') { conv.size = Size::Long64; p += 2; }
    else if (*p == L'l') { conv.size = Size::Long32; ++p; }
    else if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') { conv.size = Size::Long64; p += 3; }
    else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') { conv.size = Size::Long32; p += 3; }
    else if (*p == L'I' || *p == L'z' || *p == L't' || *p == L'j') { conv.size = Size::Pointer; ++p; }
    else if (*p == L'w') { conv.size = Size::Wide; ++p; }
    else if (*p == L'L') { ++p; }
    conv.type = *p;
    if (!*p) break;
    ++p;

    switch (conv.type) {
      case L'd':
      case L'i':
        if (conv.size == Size::Long64 || conv.size == Size::Pointer)
          Number(out, conv, "ll", 'd', static_cast<long long>(va_arg(args, long long)));
        else if (conv.size == Size::Short)
          Number(out, conv, "", 'd', static_cast<int>(static_cast<short>(va_arg(args, int))));
        else if (conv.size == Size::Char)
          Number(out, conv, "", 'd', static_cast<int>(static_cast<signed char>(va_arg(args, int))));
        else
          Number(out, conv, "", 'd', va_arg(args, int));
        break;
      case L'u':
      case L'o':
      case L'x':
      case L'X': {
        char t = static_cast<char>(conv.type);
        if (conv.size == Size::Long64 || conv.size == Size::Pointer)
          Number(out, conv, "ll", t, static_cast<unsigned long long>(va_arg(args, unsigned long long)));
        else if (conv.size == Size::Short)
          Number(out, conv, "", t, static_cast<unsigned>(static_cast<unsigned short>(va_arg(args, unsigned))));
        else if (conv.size == Size::Char)
          Number(out, conv, "", t, static_cast<unsigned>(static_cast<unsigned char>(va_arg(args, unsigned))));
        else
          Number(out, conv, "", t, va_arg(args, unsigned));
        break;
      }
      case L'f':
      case L'F':
      case L'e':
      case L'E':
      case L'g':
      case L'G':
      case L'a':
      case L'A':
        Number(out, conv, "", static_cast<char>(conv.type), va_arg(args, double));
        break;
      case L'p': {
        Conversion ptr = conv;
        ptr.flags = "0";
        ptr.width = 16;
        ptr.precision = -1;
        Number(out, ptr, "ll", 'X', static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(va_arg(args, void*))));
        break;
      }
      case L'c':
      case L'C': {
        bool wide = (conv.type == L'c') != narrowFormat;
        if (conv.size == Size::Short) wide = false;
        if (conv.size == Size::Long32 || conv.size == Size::Wide) wide = true;
        int v = va_arg(args, int);
        std::wstring body;
        if (wide) body.assign(1, static_cast<wchar_t>(v));
        else body = Utf8ToWide(std::string(1, static_cast<char>(v)));
        Pad(out, body, conv);
        break;
      }
      case L's':
      case L'S': {
        bool wide = (conv.type == L's') != narrowFormat;
        if (conv.size == Size::Short) wide = false;
        if (conv.size == Size::Long32 || conv.size == Size::Wide) wide = true;
        std::wstring body;
        if (wide) {
          const wchar_t* s = va_arg(args, const wchar_t*);
          body = s ? s : L"(null)";
        } else {
          const char* s = va_arg(args, const char*);
          body = s ? Utf8ToWide(s) : L"(null)";
        }
        if (conv.precision >= 0 && body.size() > static_cast<size_t>(conv.precision)) body.resize(conv.precision);
        Pad(out, body, conv);
        break;
      }
      case L'n':
        (void)va_arg(args, void*);
        break;
      default:
        // An unknown conversion is printed as written.
        out += L'%';
        out += conv.type;
        break;
    }
  }
  return out;
}

}  // namespace

std::wstring FormatV(const wchar_t* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  std::wstring s = Core(format, copy, false);
  va_end(copy);
  return s;
}

std::wstring Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring s = Core(format, args, false);
  va_end(args);
  return s;
}

std::string FormatNarrowV(const char* format, va_list args) {
  if (!format) return {};
  va_list copy;
  va_copy(copy, args);
  std::wstring s = Core(Utf8ToWide(format).c_str(), copy, true);
  va_end(copy);
  return WideToUtf8(s);
}

std::string FormatNarrow(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = FormatNarrowV(format, args);
  va_end(args);
  return s;
}

}  // namespace win
