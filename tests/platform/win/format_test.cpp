// The printf formatter with the original's wide and narrow rules.
#include "format.h"

#include <gtest/gtest.h>

#include "cstring.h"

using win::Format;
using win::FormatNarrow;

TEST(Format, WideFormatTakesWideStringsAndUpperCaseSTakesNarrow) {
  EXPECT_EQ(Format(L"%s|%S", L"宽字符", "窄字符"), L"宽字符|窄字符");
  EXPECT_EQ(Format(L"%ls|%hs|%ws", L"a", "b", L"c"), L"a|b|c");
  EXPECT_EQ(Format(L"%c%C%c", L'中', 'x', L'!'), L"中x!");
  EXPECT_EQ(Format(L"[%5s][%-5s][%.2s]", L"ab", L"ab", L"abcdef"), L"[   ab][ab   ][ab]");
  EXPECT_EQ(Format(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)");
}

TEST(Format, NarrowFormatIsTheOtherWayRound) {
  EXPECT_EQ(FormatNarrow("%s-%S", "窄", L"宽"), "窄-宽");
}

TEST(Format, TheSystemsOwnFormats) {
  EXPECT_EQ(Format(L"%s|%i|", L"[-75,-65)", 12), L"[-75,-65)|12|");
  EXPECT_EQ(Format(L"%.2f%%", 33.333), L"33.33%");
  EXPECT_EQ(Format(L"%i  ", 7), L"7  ");
  EXPECT_EQ(Format(L"\n文件%s不存在", L"lc.dwg"), L"\n文件lc.dwg不存在");
}

TEST(Format, IntegersFollowWindowsSizes) {
  // l is 32 bits: a DWORD with %0lX must not read a 64-bit slot.
  uint32_t dw = 0xFFu;
  EXPECT_EQ(Format(L"%08lX", dw), L"000000FF");
  EXPECT_EQ(Format(L"%ld|%lu", static_cast<int32_t>(-5), static_cast<uint32_t>(4000000000u)), L"-5|4000000000");
  EXPECT_EQ(Format(L"%I64d|%lld", static_cast<long long>(1) << 40, -(static_cast<long long>(1) << 40)),
            L"1099511627776|-1099511627776");
  EXPECT_EQ(Format(L"%x|%X|%u|%d|%+d|%05d", 255, 255, 3u, -3, 3, 42), L"ff|FF|3|-3|+3|00042");
  EXPECT_EQ(Format(L"%hd", 65537), L"1");
  EXPECT_EQ(Format(L"%*d|%-*d|", 4, 7, 3, 8), L"   7|8  |");
}

TEST(Format, FloatsAndOddities) {
  EXPECT_EQ(Format(L"%f|%.0f|%.3e|%g", 1.5, 2.5, 12345.678, 0.0001), L"1.500000|2|1.235e+04|0.0001");
  EXPECT_EQ(Format(L"100%%"), L"100%");
  // %n writes nothing anywhere and prints nothing.
  int n = 99;
  EXPECT_EQ(Format(L"a%nb", &n), L"ab");
  EXPECT_EQ(n, 99);
  EXPECT_EQ(Format(L"%"), L"");
  EXPECT_EQ(Format(L"%y"), L"%y");
}

TEST(Format, CStringFormatAndAppendFormat) {
  CString s;
  s.Format(L"%s=%d", L"k", 1);
  s.AppendFormat(L";%s=%.1f", L"v", 0.25);
  EXPECT_EQ(s, L"k=1;v=0.2");
  // A format may use the string's own text as an argument.
  s.Format(L"[%s]", s.GetString());
  EXPECT_EQ(s, L"[k=1;v=0.2]");
}
