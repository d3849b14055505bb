// Code pages: ANSI (UTF-8), UTF-16 and GBK conversions, buffer sizes and
// invalid input.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "module.h"
#include "stringapiset.h"

namespace {

// "中文测试" in GBK and in UTF-8.
const char kGbk[] = "\xD6\xD0\xCE\xC4\xB2\xE2\xCA\xD4";
const char kUtf8[] = "\xE4\xB8\xAD\xE6\x96\x87\xE6\xB5\x8B\xE8\xAF\x95";
const wchar_t kWide[] = L"\u4E2D\u6587\u6D4B\u8BD5";

std::wstring ToWide(UINT cp, const std::string& text, DWORD flags = 0) {
  int n = MultiByteToWideChar(cp, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  if (n > 0) {
    EXPECT_EQ(MultiByteToWideChar(cp, flags, text.data(), static_cast<int>(text.size()), out.data(), n), n);
  }
  return out;
}

std::string ToMultiByte(UINT cp, const std::wstring& text) {
  int n = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  if (n > 0) {
    EXPECT_EQ(WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr), n);
  }
  return out;
}

TEST(CodePageTest, AnsiAndUtf8AreBothUtf8) {
  EXPECT_EQ(ToWide(CP_UTF8, kUtf8), kWide);
  EXPECT_EQ(ToWide(CP_ACP, kUtf8), kWide);
  EXPECT_EQ(ToMultiByte(CP_UTF8, kWide), kUtf8);
  EXPECT_EQ(ToMultiByte(CP_ACP, kWide), kUtf8);
  EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
  // Four-byte characters, and a UTF-16 surrogate pair held in two wide units.
  EXPECT_EQ(ToWide(CP_UTF8, "\xF0\x9F\x98\x80"), std::wstring(1, static_cast<wchar_t>(0x1F600)));
  EXPECT_EQ(ToMultiByte(CP_UTF8, std::wstring(1, static_cast<wchar_t>(0x1F600))), "\xF0\x9F\x98\x80");
  std::wstring pair = {static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
  EXPECT_EQ(ToMultiByte(CP_UTF8, pair), "\xF0\x9F\x98\x80");
}

TEST(CodePageTest, Gbk936BothWays) {
  EXPECT_EQ(ToWide(936, kGbk), kWide);
  EXPECT_EQ(ToMultiByte(936, kWide), kGbk);
  EXPECT_EQ(ToWide(936, "abc 123"), L"abc 123");
  // The product's own texts survive a round trip.
  std::wstring text = L"正在绘制路测点.....";
  EXPECT_EQ(ToWide(936, ToMultiByte(936, text)), text);
}

TEST(CodePageTest, TerminatedInputCountsTheTerminator) {
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, kUtf8, -1, nullptr, 0), 5);
  wchar_t buf[8];
  std::wmemset(buf, L'x', 8);
  ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, kUtf8, -1, buf, 8), 5);
  EXPECT_STREQ(buf, kWide);

  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, kWide, -1, nullptr, 0, nullptr, nullptr), 13);
  EXPECT_EQ(WideCharToMultiByte(936, 0, kWide, -1, nullptr, 0, nullptr, nullptr), 9);
  char out[16];
  std::memset(out, 'x', sizeof out);
  ASSERT_EQ(WideCharToMultiByte(936, 0, kWide, -1, out, 16, nullptr, nullptr), 9);
  EXPECT_STREQ(out, kGbk);

  // With an explicit length nothing is terminated and embedded zeros convert.
  std::wmemset(buf, L'x', 8);
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "a\0b", 3, buf, 8), 3);
  EXPECT_EQ(buf[1], L'\0');
  EXPECT_EQ(buf[2], L'b');
  EXPECT_EQ(buf[3], L'x');
}

TEST(CodePageTest, TooSmallBufferFailsWithoutOverrun) {
  wchar_t small[4];
  small[3] = L'#';
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, kUtf8, -1, small, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(small[3], L'#');

  char out[9];
  out[8] = '#';
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, kWide, -1, out, 8, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(out[8], '#');
  // Exactly enough is fine.
  EXPECT_EQ(WideCharToMultiByte(936, 0, kWide, 4, out, 8, nullptr, nullptr), 8);
}

TEST(CodePageTest, BadArgumentsAreRefused) {
  wchar_t w[4];
  char c[4];
  std::vector<int> results = {
      MultiByteToWideChar(CP_UTF8, 0, nullptr, 3, w, 4),
      MultiByteToWideChar(CP_UTF8, 0, "abc", 0, w, 4),
      MultiByteToWideChar(CP_UTF8, 0, "abc", -2, w, 4),
      MultiByteToWideChar(CP_UTF8, 0, "abc", 3, nullptr, 4),
      MultiByteToWideChar(CP_UTF8, 0, "abc", 3, w, -1),
      MultiByteToWideChar(12345, 0, "abc", 3, w, 4),
      WideCharToMultiByte(CP_UTF8, 0, nullptr, 3, c, 4, nullptr, nullptr),
      WideCharToMultiByte(CP_UTF8, 0, L"abc", 3, nullptr, 4, nullptr, nullptr),
      WideCharToMultiByte(12345, 0, L"abc", 3, c, 4, nullptr, nullptr),
      // UTF-8 has no default character.
      WideCharToMultiByte(CP_UTF8, 0, L"abc", 3, c, 4, "?", nullptr),
  };
  for (size_t i = 0; i < results.size(); ++i) EXPECT_EQ(results[i], 0) << "case " << i;
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CodePageTest, InvalidInputIsReplacedOrRefusedOnRequest) {
  // A stray continuation byte, a truncated sequence and an encoded surrogate
  // give one replacement character each; an overlong slash gives two (a lead
  // byte that is never valid, then a stray continuation byte).
  std::string bad = "a\x80" "b\xE4\xB8" "c\xC0\xAF" "d\xED\xA0\x80";
  EXPECT_EQ(ToWide(CP_UTF8, bad), L"a\uFFFDb\uFFFDc\uFFFD\uFFFDd\uFFFD");
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bad.data(), static_cast<int>(bad.size()), nullptr, 0),
            0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));

  // GBK: a lead byte with nothing after it at the end.
  EXPECT_EQ(ToWide(936, std::string("A\xD6")), L"A\uFFFD");
  EXPECT_EQ(MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, "A\xD6", 2, nullptr, 0), 0);

  // A lone surrogate in wide text.
  std::wstring lone = {L'x', static_cast<wchar_t>(0xD800), L'y'};
  EXPECT_EQ(ToMultiByte(CP_UTF8, lone), "x\xEF\xBF\xBDy");
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone.data(), 3, nullptr, 0, nullptr, nullptr), 0);
}

TEST(CodePageTest, CharactersGbkLacksBecomeTheDefaultCharacter) {
  const wchar_t text[] = L"a\uAC00\U0001F600b";  // GBK has no Hangul and no emoji
  BOOL used = FALSE;
  char out[16] = {};
  int n = WideCharToMultiByte(936, 0, text, -1, out, sizeof out, nullptr, &used);
  EXPECT_EQ(n, 5);
  EXPECT_STREQ(out, "a??b");
  EXPECT_TRUE(used);

  used = TRUE;
  n = WideCharToMultiByte(936, 0, L"\u4E2D", 1, out, sizeof out, "*", &used);
  EXPECT_EQ(n, 2);
  EXPECT_FALSE(used);
  n = WideCharToMultiByte(936, 0, L"\uAC00", 1, out, sizeof out, "*", &used);
  ASSERT_EQ(n, 1);
  EXPECT_EQ(out[0], '*');
  EXPECT_TRUE(used);
}

}  // namespace
