// CRegeditEx: result codes, buffer capacities and defaults of every helper.
#include "RegeditEx.h"
#include "tempprefix.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const wchar_t* const kKey = L"Software\\Autodesk\\AutoCAD\\R17.0";

class RegeditExTest : public TempPrefixTest {
 protected:
  static void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  static void PutText(const wchar_t* name, const std::wstring& text) {
    ASSERT_EQ(CRegeditEx::SetRegister(HKEY_CURRENT_USER, kKey, name, text.c_str()), 1);
  }
  // A buffer of `size` characters followed by guard characters that must
  // stay untouched.
  static std::vector<wchar_t> Guarded(size_t size) { return std::vector<wchar_t>(size + 16, L'#'); }
  static bool GuardIntact(const std::vector<wchar_t>& buffer, size_t size) {
    for (size_t i = size; i < buffer.size(); ++i)
      if (buffer[i] != L'#') return false;
    return true;
  }
};

TEST_F(RegeditExTest, GetRegeditValueWithoutBufferTestsExistence) {
  PutText(L"CurVer", std::wstring(600, L'v'));
  EXPECT_EQ(CRegeditEx::GetRegeditValue(HKEY_CURRENT_USER, kKey, L"CurVer", NULL), 1);
  EXPECT_EQ(CRegeditEx::GetRegeditValue(HKEY_CURRENT_USER, kKey, L"Missing", NULL), 0);
  EXPECT_EQ(CRegeditEx::GetRegeditValue(HKEY_CURRENT_USER, L"Software\\Autodesk\\AutoCAD\\R17.1", L"CurVer", NULL), 0);
}

TEST_F(RegeditExTest, GetRegeditValueReadsAtMost255Bytes) {
  PutText(L"Fits", std::wstring(127, L'a'));
  PutText(L"TooLong", std::wstring(128, L'b'));
  // 255 bytes: 127 characters and the terminator, 128 wide characters.
  std::vector<wchar_t> buffer = Guarded(128);
  EXPECT_EQ(CRegeditEx::GetRegeditValue(HKEY_CURRENT_USER, kKey, L"Fits", buffer.data()), 1);
  EXPECT_EQ(std::wstring(buffer.data()), std::wstring(127, L'a'));
  EXPECT_TRUE(GuardIntact(buffer, 128));

  buffer = Guarded(128);
  EXPECT_EQ(CRegeditEx::GetRegeditValue(HKEY_CURRENT_USER, kKey, L"TooLong", buffer.data()), 0);
  EXPECT_TRUE(GuardIntact(buffer, 128));
  // The type is not checked: a number is read as it is stored.
  CRegeditEx::SetRegister(HKEY_CURRENT_USER, kKey, L"Number", (DWORD)7);
  EXPECT_EQ(CRegeditEx::GetRegeditValue(HKEY_CURRENT_USER, kKey, L"Number", buffer.data()), 1);
}

TEST_F(RegeditExTest, GetRegisterTextReportsLengthOrFailureWithTheDefault) {
  PutText(L"Name", L"AutoCAD 2007 中文");
  wchar_t out[64];
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Name", L"dflt", out), 16);
  EXPECT_STREQ(out, L"AutoCAD 2007 中文");
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, L"Software\\None", L"Name", L"dflt", out), -1);
  EXPECT_STREQ(out, L"dflt");
  std::wcscpy(out, L"junk");
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Other", L"dflt", out), -2);
  EXPECT_STREQ(out, L"dflt");
  // A number has no text to give.
  CRegeditEx::SetRegister(HKEY_CURRENT_USER, kKey, L"Number", (DWORD)0x41);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Number", L"dflt", out), -2);
  EXPECT_STREQ(out, L"dflt");
  // Text stored without its terminator still ends where it ends.
  PutRaw(L"Open", REG_SZ, L"abc", 6);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Open", L"dflt", out), 4);
  EXPECT_STREQ(out, L"abc");
}

TEST_F(RegeditExTest, GetRegisterWithCapacityNeverWritesPastIt) {
  PutText(L"Name", L"0123456789");
  std::vector<wchar_t> buffer = Guarded(11);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Name", L"dflt", buffer.data(), 11), 11);
  EXPECT_STREQ(buffer.data(), L"0123456789");
  EXPECT_TRUE(GuardIntact(buffer, 11));

  // One character short: not cut, the default instead.
  buffer = Guarded(10);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Name", L"dflt", buffer.data(), 10), -2);
  EXPECT_STREQ(buffer.data(), L"dflt");
  EXPECT_TRUE(GuardIntact(buffer, 10));

  // The default itself is cut to the buffer.
  buffer = Guarded(3);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Name", L"default", buffer.data(), 3), -2);
  EXPECT_STREQ(buffer.data(), L"de");
  EXPECT_TRUE(GuardIntact(buffer, 3));
  buffer = Guarded(3);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, L"Software\\None", L"Name", L"default", buffer.data(), 3), -1);
  EXPECT_STREQ(buffer.data(), L"de");

  buffer = Guarded(0);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Name", L"default", buffer.data(), 0), -2);
  EXPECT_TRUE(GuardIntact(buffer, 0));
}

TEST_F(RegeditExTest, GetRegisterNumberTakesOnlyFourByteValues) {
  ASSERT_EQ(CRegeditEx::SetRegister(HKEY_CURRENT_USER, kKey, L"Count", (DWORD)0xFFFFFFFEu), 1);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Count", (DWORD)5), 0xFFFFFFFEu);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Missing", (DWORD)5), 5u);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, L"Software\\None", L"Count", (DWORD)5), 5u);
  const BYTE two[] = {1, 2};
  PutRaw(L"Short", REG_BINARY, two, 2);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Short", (DWORD)5), 5u);
  const BYTE four[] = {1, 2, 3, 4};
  PutRaw(L"Four", REG_BINARY, four, 4);
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Four", (DWORD)5), 0x04030201u);
  // One character and its terminator are four stored bytes too.
  PutText(L"Letter", L"A");
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Letter", (DWORD)5), 0x41u);
  PutText(L"Word", L"AB");
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Word", (DWORD)5), 5u);
}

TEST_F(RegeditExTest, GetKeyFillsAtMost255Bytes) {
  std::vector<BYTE> blob(255);
  for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<BYTE>(i * 7);
  PutRaw(L"Blob", REG_BINARY, blob.data(), 255);
  std::vector<BYTE> out(300, 0xEE);
  EXPECT_EQ(CRegeditEx::GetKey(HKEY_CURRENT_USER, kKey, L"Blob", out.data()), 1);
  EXPECT_EQ(std::memcmp(out.data(), blob.data(), 255), 0);
  EXPECT_EQ(out[255], 0xEE);

  blob.push_back(1);
  PutRaw(L"Big", REG_BINARY, blob.data(), 256);
  std::fill(out.begin(), out.end(), 0xEE);
  EXPECT_EQ(CRegeditEx::GetKey(HKEY_CURRENT_USER, kKey, L"Big", out.data()), 0);
  EXPECT_EQ(CRegeditEx::GetKey(HKEY_CURRENT_USER, kKey, L"Missing", out.data()), 0);

  // Text comes as its stored bytes, which are what fit in the 255 bytes.
  PutText(L"Text", L"Hi");
  std::fill(out.begin(), out.end(), 0xEE);
  EXPECT_EQ(CRegeditEx::GetKey(HKEY_CURRENT_USER, kKey, L"Text", out.data()), 1);
  const BYTE expected[] = {'H', 0, 'i', 0, 0, 0, 0xEE};
  EXPECT_EQ(std::memcmp(out.data(), expected, sizeof expected), 0);
  PutText(L"LongText", std::wstring(127, L'x'));  // 256 stored bytes
  std::fill(out.begin(), out.end(), 0xEE);
  EXPECT_EQ(CRegeditEx::GetKey(HKEY_CURRENT_USER, kKey, L"LongText", out.data()), 0);
  EXPECT_EQ(out[255], 0xEE);
}

TEST_F(RegeditExTest, FindKeyFindsValuesUpTo256Bytes) {
  std::vector<BYTE> blob(256, 3);
  PutRaw(L"Max", REG_BINARY, blob.data(), 256);
  blob.push_back(3);
  PutRaw(L"Over", REG_BINARY, blob.data(), 257);
  PutText(L"Text", std::wstring(127, L'x'));
  EXPECT_EQ(CRegeditEx::FindKey(HKEY_CURRENT_USER, kKey, L"Max"), 1);
  EXPECT_EQ(CRegeditEx::FindKey(HKEY_CURRENT_USER, kKey, L"Text"), 1);
  EXPECT_EQ(CRegeditEx::FindKey(HKEY_CURRENT_USER, kKey, L"Over"), 0);
  EXPECT_EQ(CRegeditEx::FindKey(HKEY_CURRENT_USER, kKey, L"Missing"), 0);
  EXPECT_EQ(CRegeditEx::FindKey(HKEY_CURRENT_USER, L"Software\\None", L"Max"), 0);
}

TEST_F(RegeditExTest, SetRegisterCreatesMissingKeysAndStoresTypedValues) {
  const wchar_t* deep = L"Software\\A\\B\\C";
  ASSERT_EQ(CRegeditEx::SetRegister(HKEY_LOCAL_MACHINE, deep, L"Text", L"中文"), 1);
  ASSERT_EQ(CRegeditEx::SetRegister(HKEY_LOCAL_MACHINE, deep, L"Number", (DWORD)42), 1);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, deep, 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueExW(key, L"Text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 6u);  // two characters and the terminator, in UTF-16 bytes
  ASSERT_EQ(RegQueryValueExW(key, L"Number", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(size, 4u);
  RegCloseKey(key);
  EXPECT_EQ(CRegeditEx::SetRegister(HKEY_LOCAL_MACHINE, deep, L"Null", (LPCTSTR)NULL), 0);
}

TEST_F(RegeditExTest, CreateKeyReportsWhetherTheKeyExists) {
  EXPECT_EQ(CRegeditEx::CreateKey(HKEY_CURRENT_USER, L"Software\\New\\Key"), 1);
  EXPECT_EQ(CRegeditEx::CreateKey(HKEY_CURRENT_USER, L"Software\\New\\Key"), 1);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\New\\Key", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(CRegeditEx::CreateKey(reinterpret_cast<HKEY>(0x1234), L"x"), 0);
}

TEST_F(RegeditExTest, AnUnwritableRegistryFailsQuietly) {
  const std::string blocker = m_prefix + "/blocker";
  FILE* f = std::fopen(blocker.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  ::setenv("MARLO_PREFIX", (blocker + "/prefix").c_str(), 1);
  EXPECT_EQ(CRegeditEx::SetRegister(HKEY_CURRENT_USER, kKey, L"Text", L"x"), 0);
  EXPECT_EQ(CRegeditEx::SetRegister(HKEY_CURRENT_USER, kKey, L"Number", (DWORD)1), 0);
  EXPECT_EQ(CRegeditEx::CreateKey(HKEY_CURRENT_USER, kKey), 0);
  wchar_t out[8];
  EXPECT_EQ(CRegeditEx::GetRegister(HKEY_CURRENT_USER, kKey, L"Text", L"d", out), -1);
  EXPECT_STREQ(out, L"d");
}

}  // namespace
