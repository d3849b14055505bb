// Wide-text number readers that saturate instead of overflowing.
#include "wstdlib.h"

#include <climits>

#include "textutil.h"

namespace {

// Reads sign and digits, clamping the magnitude to [minValue, maxValue].
LONGLONG ReadSaturated(const wchar_t* str, LONGLONG minValue, LONGLONG maxValue) {
  if (!str) return 0;
  while (win::textutil::IsBlank(*str)) ++str;
  bool negative = false;
  if (*str == L'+' || *str == L'-') negative = *str++ == L'-';
  // Accumulate as a negative number: its range reaches one further.
  LONGLONG value = 0;
  for (; *str >= L'0' && *str <= L'9'; ++str) {
    int digit = static_cast<int>(*str - L'0');
    if (value < (LLONG_MIN + digit) / 10) {
      value = LLONG_MIN;
      while (*str >= L'0' && *str <= L'9') ++str;
      break;
    }
    value = value * 10 - digit;
  }
  if (negative) return value < minValue ? minValue : value;
  if (value == LLONG_MIN) return maxValue;
  LONGLONG positive = -value;
  return positive > maxValue ? maxValue : positive;
}

}  // namespace

int _wtoi(const wchar_t* str) { return static_cast<int>(ReadSaturated(str, INT_MIN, INT_MAX)); }

// A long of the original platform is 32 bits wide.
long _wtol(const wchar_t* str) { return static_cast<long>(ReadSaturated(str, INT_MIN, INT_MAX)); }

LONGLONG _wtoi64(const wchar_t* str) { return ReadSaturated(str, LLONG_MIN, LLONG_MAX); }
