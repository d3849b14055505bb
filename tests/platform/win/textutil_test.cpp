// The shared text helpers: which blanks go, the one rule for comparing without
// case (the C runtime's: letters folded to lower case), quotes and hex digits.
#include <gtest/gtest.h>

#include "textutil.h"

namespace {

using namespace win::textutil;

TEST(TextUtil, TrimTakesEveryBlankAtBothEndsOnly) {
  EXPECT_EQ(Trim(std::wstring_view(L" \t\r\n\v\fa b\f\v\n\r\t ")), L"a b");
  EXPECT_EQ(Trim(std::string_view("\t")), "");
  EXPECT_EQ(Trim(static_cast<const wchar_t*>(nullptr)), L"");
  EXPECT_EQ(Trimmed(std::string_view(" 　x ")), "　x");  // an ideographic space is text, not a blank
}

TEST(TextUtil, OneRuleForComparingWithoutCase) {
  struct Row {
    const wchar_t* a;
    const wchar_t* b;
    int order;
  } rows[] = {
      {L"Layer", L"LAYER", 0}, {L"abc", L"ABD", -1}, {L"ab", L"AB_", -1},
      // Folded to lower case, '_' (0x5F) sorts before the letters, as _wcsicmp sorts it.
      {L"A_B", L"AAB", -1},    {L"", L"", 0},        {L"b", L"", 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(&r - rows);
    EXPECT_EQ(CompareNoCase(std::wstring_view(r.a), std::wstring_view(r.b)), r.order);
    EXPECT_EQ(CompareNoCase(std::wstring_view(r.b), std::wstring_view(r.a)), -r.order);
    EXPECT_EQ(EqualNoCase(r.a, r.b), r.order == 0);
  }
  EXPECT_TRUE(EqualNoCase("@Answer", "@ANSWER"));
  EXPECT_FALSE(EqualNoCase(L"x", static_cast<const wchar_t*>(nullptr)));
  EXPECT_TRUE(StartsWithNoCase(L"WCDMA", L"wc"));
  EXPECT_FALSE(StartsWithNoCase(L"W", L"wc"));
  EXPECT_EQ(FoldCase(L"HKCU\\Software"), L"hkcu\\software");
  EXPECT_EQ(Upper(std::string("ctrl+é")), "CTRL+é");  // narrow text is ASCII: UTF-8 bytes stay
}

TEST(TextUtil, UnquoteOnlyAMatchingPair) {
  EXPECT_EQ(Unquote(std::wstring_view(L"\"a b\"")), L"a b");
  EXPECT_EQ(Unquote(std::wstring_view(L"\"a b'")), L"\"a b'");
  EXPECT_EQ(Unquote(std::wstring_view(L"'x'")), L"'x'");
  EXPECT_EQ(Unquote(std::wstring_view(L"'x'"), L"\"'"), L"x");
  EXPECT_EQ(Unquote(std::string_view("\"")), "\"");
  EXPECT_EQ(Unquote(std::string_view("\"\"")), "");
}

TEST(TextUtil, HexDigits) {
  const std::wstring digits = L"0123456789abcdefABCDEF";
  for (size_t i = 0; i < digits.size(); ++i) EXPECT_EQ(HexDigit(digits[i]), i < 16 ? int(i) : int(i) - 6);
  for (wchar_t c : std::wstring(L"gG/:@`x ")) EXPECT_EQ(HexDigit(c), -1) << static_cast<int>(c);
}

}  // namespace
