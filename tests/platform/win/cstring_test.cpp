// CString: construction, pieces, editing, comparison, buffers and tokens.
#include "cstring.h"

#include <gtest/gtest.h>

#include <cwchar>

TEST(CString, ConstructionAndConversion) {
  CString a(L"abc"), b("中文"), c(L'x', 3), d(L"abcdef", 2), e;
  EXPECT_EQ(a.GetLength(), 3);
  EXPECT_EQ(b, L"中文");
  EXPECT_EQ(b.ToUtf8(), "中文");
  EXPECT_EQ(c, L"xxx");
  EXPECT_EQ(d, L"ab");
  EXPECT_TRUE(e.IsEmpty());
  EXPECT_STREQ(static_cast<const wchar_t*>(e), L"");
  EXPECT_EQ(CString(static_cast<const wchar_t*>(nullptr)), L"");
  a.Empty();
  EXPECT_TRUE(a.IsEmpty());
}

TEST(CString, PiecesClampLikeTheOriginal) {
  CString s(L"Z:\\home\\bin\\Cadcore.dbx");
  int slash = s.ReverseFind(L'\\');
  EXPECT_EQ(s.Left(slash + 1), L"Z:\\home\\bin\\");
  EXPECT_EQ(s.Mid(slash + 1), L"Cadcore.dbx");
  EXPECT_EQ(s.Right(3), L"dbx");
  EXPECT_EQ(s.Left(-1), L"");
  EXPECT_EQ(s.Left(100), s);
  EXPECT_EQ(s.Mid(100), L"");
  EXPECT_EQ(s.Mid(-3, 2), L"Z:");
  EXPECT_EQ(s.Right(100), s);
  EXPECT_EQ(s.Find(L'\\'), 2);
  EXPECT_EQ(s.Find(L"bin"), 8);
  EXPECT_EQ(s.Find(L"bin", 9), -1);
  EXPECT_EQ(s.Find(L'x', 100), -1);
  EXPECT_EQ(s.ReverseFind(L'#'), -1);
  EXPECT_EQ(s.FindOneOf(L".:"), 1);
}

TEST(CString, EditingOperations) {
  CString s(L"a,b,,c");
  EXPECT_EQ(s.Replace(L",", L";;"), 3);
  EXPECT_EQ(s, L"a;;b;;;;c");
  EXPECT_EQ(s.Replace(L";;", L""), 3);
  EXPECT_EQ(s, L"abc");
  EXPECT_EQ(s.Replace(L'b', L'B'), 1);
  EXPECT_EQ(s.Remove(L'a'), 1);
  EXPECT_EQ(s, L"Bc");
  s.Insert(0, L"xy");
  s.Insert(100, L'!');
  EXPECT_EQ(s, L"xyBc!");
  s.Delete(1, 2);
  EXPECT_EQ(s, L"xc!");
  CString t(L"  \t mid dle \n");
  EXPECT_EQ(CString(t).Trim(), L"mid dle");
  EXPECT_EQ(CString(t).TrimLeft(), L"mid dle \n");
  EXPECT_EQ(CString(t).TrimRight(), L"  \t mid dle");
  EXPECT_EQ(CString(L"xxaxx").Trim(L'x'), L"a");
  EXPECT_EQ(CString(L"abcab").TrimRight(L"ab"), L"abc");
  EXPECT_EQ(CString(L"MiXed").MakeUpper(), L"MIXED");
  EXPECT_EQ(CString(L"MiXed").MakeLower(), L"mixed");
  EXPECT_EQ(CString(L"abc").MakeReverse(), L"cba");
}

TEST(CString, ComparisonAndConcatenation) {
  CString a(L"Config"), b(L"CONFIG");
  EXPECT_NE(a, b);
  EXPECT_EQ(a.CompareNoCase(b), 0);
  EXPECT_LT(a.CompareNoCase(L"configs"), 0);
  EXPECT_GT(a.Compare(L"Apple"), 0);
  EXPECT_TRUE(b < a);
  CString c = a + L"." + b + L'!';
  EXPECT_EQ(c, L"Config.CONFIG!");
  EXPECT_EQ(L"<" + a, L"<Config");
  a += a;
  EXPECT_EQ(a, L"ConfigConfig");
  a = a.GetString() + 6;  // assigning from its own buffer
  EXPECT_EQ(a, L"Config");
}

TEST(CString, BufferAccessKeepsTheLengthHonest) {
  CString s(L"abc");
  wchar_t* buf = s.GetBuffer(10);
  EXPECT_EQ(s.GetLength(), 3);  // unchanged until released
  std::wcscpy(buf, L"0123456789");
  s.ReleaseBuffer();
  EXPECT_EQ(s, L"0123456789");
  buf = s.GetBuffer(4);
  buf[2] = 0;
  s.ReleaseBuffer();
  EXPECT_EQ(s, L"01");
  s.GetBuffer(5);
  s.ReleaseBuffer(1);
  EXPECT_EQ(s, L"0");
  EXPECT_EQ(s.GetBufferSetLength(3)[3], L'\0');
}

TEST(CString, TokenizeAndSpans) {
  CString s(L";a;;bc;");
  int pos = 0;
  EXPECT_EQ(s.Tokenize(L";", pos), L"a");
  EXPECT_EQ(s.Tokenize(L";", pos), L"bc");
  EXPECT_EQ(s.Tokenize(L";", pos), L"");
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(CString(L"123abc").SpanIncluding(L"0123456789"), L"123");
  EXPECT_EQ(CString(L"abc;def").SpanExcluding(L";"), L"abc");
}

TEST(CString, SysStrings) {
  CString s(L"长文本");
  BSTR b = s.AllocSysString();
  EXPECT_EQ(SysStringLen(b), 3u);
  EXPECT_STREQ(b, L"长文本");
  SysFreeString(b);
  SysFreeString(nullptr);
}
