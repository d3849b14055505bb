// Small text helpers shared by every layer, so that blanks, letter case,
// quotes and hexadecimal digits are read by one rule everywhere: trimming,
// upper case, comparison without case, unquoting and hex digits.
#pragma once

#include <cwctype>
#include <string>
#include <string_view>

namespace win::textutil {

// Blanks: space, tab, carriage return, line feed, vertical tab, form feed.
constexpr bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

// The text without blanks at either end.
template <class Char>
std::basic_string_view<Char> Trim(std::basic_string_view<Char> s) {
  while (!s.empty() && IsBlank(static_cast<wchar_t>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && IsBlank(static_cast<wchar_t>(s.back()))) s.remove_suffix(1);
  return s;
}
inline std::wstring_view Trim(const wchar_t* s) { return Trim(std::wstring_view(s ? s : L"")); }
inline std::wstring_view Trim(const std::wstring& s) { return Trim(std::wstring_view(s)); }
inline std::string_view Trim(const char* s) { return Trim(std::string_view(s ? s : "")); }
inline std::string_view Trim(const std::string& s) { return Trim(std::string_view(s)); }

// The same as an owning string, for callers that keep or change the result.
inline std::wstring Trimmed(std::wstring_view s) { return std::wstring(Trim(s)); }
inline std::string Trimmed(std::string_view s) { return std::string(Trim(s)); }

// One character in upper case; narrow text is ASCII (script words, SQL
// keywords), so only a to z change there.
inline wchar_t UpperChar(wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))); }
inline char UpperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

template <class Char>
std::basic_string<Char> Upper(std::basic_string_view<Char> s) {
  std::basic_string<Char> out(s);
  for (Char& c : out) c = UpperChar(c);
  return out;
}
inline std::wstring Upper(const wchar_t* s) { return Upper(std::wstring_view(s ? s : L"")); }
inline std::wstring Upper(const std::wstring& s) { return Upper(std::wstring_view(s)); }
inline std::string Upper(const char* s) { return Upper(std::string_view(s ? s : "")); }
inline std::string Upper(const std::string& s) { return Upper(std::string_view(s)); }

// The one rule for comparing without case: every character is folded to
// lower case, as the C runtime's _wcsicmp and the class library's
// CompareNoCase do (so '_' sorts before letters). Narrow text folds A to Z.
// ASCII, which most names are, folds without the locale's case tables.
inline wchar_t FoldChar(wchar_t c) {
  if (c < 0x80) return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}
inline char FoldChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Below 0, 0 or above 0 as a sorts before, with or after b.
template <class Char>
int CompareNoCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    auto x = FoldChar(a[i]), y = FoldChar(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
inline int CompareNoCase(std::wstring_view a, std::wstring_view b) { return CompareNoCase<wchar_t>(a, b); }
inline int CompareNoCase(std::string_view a, std::string_view b) { return CompareNoCase<char>(a, b); }

inline bool EqualNoCase(std::wstring_view a, std::wstring_view b) { return a.size() == b.size() && CompareNoCase(a, b) == 0; }
inline bool EqualNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareNoCase(a, b) == 0; }
// A null text equals no name.
inline bool EqualNoCase(std::wstring_view a, const wchar_t* b) { return b != nullptr && EqualNoCase(a, std::wstring_view(b)); }

inline bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}
inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

// The text folded by the rule above: a key under which names that are equal
// without case are the same.
inline std::wstring FoldCase(std::wstring_view s) {
  std::wstring out(s);
  for (wchar_t& c : out) c = FoldChar(c);
  return out;
}

// The text between a matching pair of the given quote characters at both
// ends, without them; any other text unchanged. Nothing is unescaped.
template <class Char>
std::basic_string_view<Char> Unquote(std::basic_string_view<Char> s, std::basic_string_view<Char> quotes) {
  if (s.size() >= 2 && s.front() == s.back() && quotes.find(s.front()) != std::basic_string_view<Char>::npos)
    return s.substr(1, s.size() - 2);
  return s;
}
inline std::wstring_view Unquote(std::wstring_view s, std::wstring_view quotes = L"\"") { return Unquote<wchar_t>(s, quotes); }
inline std::string_view Unquote(std::string_view s, std::string_view quotes = "\"") { return Unquote<char>(s, quotes); }

// The value of a hexadecimal digit (either case), -1 for any other character.
constexpr int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace win::textutil
