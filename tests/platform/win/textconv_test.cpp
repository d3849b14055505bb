// UTF-8 and UTF-16 conversions of wide text.
#include "textconv.h"

#include <gtest/gtest.h>

TEST(TextConv, Utf8RoundTripAndInvalidBytes) {
  std::wstring w = L"GSM 接收电平 𝄞";
  EXPECT_EQ(win::Utf8ToWide(win::WideToUtf8(w)), w);
  EXPECT_EQ(win::Utf8ToWide("a\xFF" "b"), L"a\xFFFD" L"b");
  EXPECT_EQ(win::Utf8ToWide("\xE4\xB8"), L"\xFFFD");       // truncated sequence
  EXPECT_EQ(win::Utf8ToWide("\xC0\xAF"), L"\xFFFD");       // overlong
  EXPECT_EQ(win::Utf8ToWide("\xED\xA0\x80"), L"\xFFFD");   // surrogate
}

TEST(TextConv, Utf16CountsSurrogatePairs) {
  std::wstring w = L"a中𝄞";
  EXPECT_EQ(win::Utf16Length(w), 4u);
  std::u16string u = win::WideToUtf16(w);
  EXPECT_EQ(u.size(), 4u);
  EXPECT_EQ(win::Utf16ToWide(u), w);
  EXPECT_EQ(win::Utf16ToWide(std::u16string(1, u'\xD800')), L"\xFFFD");
}
