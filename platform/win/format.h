// The printf family with the original platform's rules. In a wide format `%s`
// and `%c` take wide arguments and `%S`/`%C` narrow (UTF-8) ones; in a narrow
// format it is the other way round. `l` is 32 bits (LONG, DWORD), `ll` and `I64`
// are 64. `%n` is refused: it consumes its argument and writes nothing.
#pragma once

#include <cstdarg>
#include <string>

namespace win {

std::wstring FormatV(const wchar_t* format, va_list args);
std::wstring Format(const wchar_t* format, ...);

// Narrow format, narrow (UTF-8) result.
std::string FormatNarrowV(const char* format, va_list args);
std::string FormatNarrow(const char* format, ...);

}  // namespace win
