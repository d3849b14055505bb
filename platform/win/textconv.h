// Conversions between the encodings the platform meets: wide text (UTF-32 in
// wchar_t here), UTF-8 (the ANSI code page) and UTF-16 (what the original
// platform stored and counted in bytes). Invalid input becomes U+FFFD; nothing
// throws.
#pragma once

#include <string>
#include <string_view>

namespace win {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
// Appends one character as UTF-8 (U+FFFD for what is not a character).
void AppendUtf8(std::string& out, wchar_t ch);

std::u16string WideToUtf16(std::wstring_view wide);
std::wstring Utf16ToWide(std::u16string_view utf16);

// Number of UTF-16 code units the wide text takes.
size_t Utf16Length(std::wstring_view wide);

}  // namespace win
