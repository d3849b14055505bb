// The Reg* calls: keys, value types, sizes, access rights and handles.
#include "tempprefix.h"
#include "winreg.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

class RegistryTest : public TempPrefixTest {
 protected:
  // Creates (or opens) a key below HKCU with full access; closed by TearDown.
  HKEY Create(const wchar_t* path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, disposition),
              ERROR_SUCCESS);
    m_open.push_back(key);
    return key;
  }
  HKEY Open(const wchar_t* path, REGSAM access, LSTATUS expected = ERROR_SUCCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, &key), expected);
    if (key) m_open.push_back(key);
    return key;
  }
  static LSTATUS SetText(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
    return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * 2));
  }
  static LSTATUS SetDword(HKEY key, const wchar_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  void TearDown() override {
    for (HKEY key : m_open) RegCloseKey(key);
    TempPrefixTest::TearDown();
  }
  std::vector<HKEY> m_open;
};

TEST_F(RegistryTest, CreateMakesEveryKeyAlongThePathAndReportsDisposition) {
  DWORD disposition = 0;
  Create(L"Software\\Vendor\\Product\\1.0", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  Open(L"Software", KEY_READ);
  Open(L"Software\\Vendor\\Product", KEY_READ);
  Create(L"Software\\Vendor\\Product\\1.0", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  Open(L"Software\\Other", KEY_READ, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, NamesIgnoreCaseButKeepTheirSpelling) {
  HKEY key = Create(L"Software\\MixedCase");
  ASSERT_EQ(SetText(key, L"ValueName", L"x"), ERROR_SUCCESS);
  HKEY again = Open(L"SOFTWARE\\mixedcase", KEY_READ);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(again, L"VALUENAME", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);

  HKEY parent = Open(L"software", KEY_READ);
  wchar_t name[64];
  DWORD nameSize = 64;
  ASSERT_EQ(RegEnumKeyExW(parent, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, L"MixedCase");
  EXPECT_EQ(nameSize, 9u);
  nameSize = 64;
  ASSERT_EQ(RegEnumValueW(again, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, L"ValueName");

  // Setting through another spelling replaces the value, it does not add one.
  ASSERT_EQ(SetText(key, L"VALUENAME", L"y"), ERROR_SUCCESS);
  nameSize = 64;
  EXPECT_EQ(RegEnumValueW(key, 1, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryTest, EveryTypeKeepsItsTypeAndBytes) {
  HKEY key = Create(L"Software\\Types");
  const std::wstring text = L"Z:\\home\\中文 \"q\"\n2";
  ASSERT_EQ(SetText(key, L"sz", text), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key, L"expand", L"%HOME%\\bin", REG_EXPAND_SZ), ERROR_SUCCESS);
  const wchar_t multi[] = L"one\0two\0";
  ASSERT_EQ(RegSetValueExW(key, L"multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), 18), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(key, L"dword", 0xDEADBEEF), ERROR_SUCCESS);
  const BYTE blob[] = {0, 1, 2, 0xFF, 0x7F, 0};
  ASSERT_EQ(RegSetValueExW(key, L"binary", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
  const unsigned long long quad = 0x0102030405060708ull;
  ASSERT_EQ(RegSetValueExW(key, L"qword", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&quad), 8), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, L"empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key, nullptr, L"default"), ERROR_SUCCESS);

  // Read back through a fresh handle, from the file.
  ReplaceHiveFile();
  HKEY reader = Open(L"software\\types", KEY_READ);
  DWORD type = 0, size = 0;
  wchar_t textBuf[64] = {};
  size = sizeof textBuf;
  ASSERT_EQ(RegQueryValueExW(reader, L"sz", nullptr, &type, reinterpret_cast<BYTE*>(textBuf), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, (text.size() + 1) * 2);
  EXPECT_EQ(std::wstring(textBuf), text);

  size = sizeof textBuf;
  ASSERT_EQ(RegQueryValueExW(reader, L"expand", nullptr, &type, reinterpret_cast<BYTE*>(textBuf), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_STREQ(textBuf, L"%HOME%\\bin");

  size = sizeof textBuf;
  ASSERT_EQ(RegQueryValueExW(reader, L"multi", nullptr, &type, reinterpret_cast<BYTE*>(textBuf), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(size, 18u);
  EXPECT_EQ(std::wstring(textBuf, 9), std::wstring(L"one\0two\0\0", 9));

  DWORD d = 0;
  size = sizeof d;
  ASSERT_EQ(RegQueryValueExW(reader, L"dword", nullptr, &type, reinterpret_cast<BYTE*>(&d), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(d, 0xDEADBEEFu);

  BYTE bytes[16] = {};
  size = sizeof bytes;
  ASSERT_EQ(RegQueryValueExW(reader, L"binary", nullptr, &type, bytes, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  ASSERT_EQ(size, sizeof blob);
  EXPECT_EQ(std::memcmp(bytes, blob, sizeof blob), 0);

  unsigned long long q = 0;
  size = 8;
  ASSERT_EQ(RegQueryValueExW(reader, L"qword", nullptr, &type, reinterpret_cast<BYTE*>(&q), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_QWORD));
  EXPECT_EQ(q, quad);

  size = 99;
  ASSERT_EQ(RegQueryValueExW(reader, L"empty", nullptr, &type, bytes, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 0u);

  size = sizeof textBuf;
  ASSERT_EQ(RegQueryValueExW(reader, L"", nullptr, &type, reinterpret_cast<BYTE*>(textBuf), &size), ERROR_SUCCESS);
  EXPECT_STREQ(textBuf, L"default");
}

TEST_F(RegistryTest, TextIsCountedInUtf16Bytes) {
  HKEY key = Create(L"Software\\Sizes");
  const std::wstring fits(127, L'a');
  const std::wstring tooLong(128, L'b');
  ASSERT_EQ(SetText(key, L"fits", fits), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key, L"long", tooLong), ERROR_SUCCESS);

  // A null data pointer asks for the size.
  DWORD size = 0;
  ASSERT_EQ(RegQueryValueExW(key, L"fits", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 256u);
  // Neither data nor size: an existence test.
  EXPECT_EQ(RegQueryValueExW(key, L"long", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(key, L"missing", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);

  // 255 bytes hold 127 characters and the terminator, no more; the buffer
  // is guarded so that a write past 128 wide characters shows.
  std::vector<wchar_t> buffer(140, L'#');
  size = 255;
  ASSERT_EQ(RegQueryValueExW(key, L"fits", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(buffer.data()), fits);
  EXPECT_EQ(buffer[128], L'#');

  std::fill(buffer.begin(), buffer.end(), L'#');
  size = 255;
  EXPECT_EQ(RegQueryValueExW(key, L"long", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 258u);
  EXPECT_EQ(buffer[0], L'#');

  // A character beyond the basic plane takes two units but one wide character.
  const std::wstring astral = L"\U0001F600x";
  ASSERT_EQ(RegSetValueExW(key, L"astral", 0, REG_SZ, reinterpret_cast<const BYTE*>(astral.c_str()), 8),
            ERROR_SUCCESS);
  size = 0;
  ASSERT_EQ(RegQueryValueExW(key, L"astral", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 8u);
  wchar_t small[4] = {L'#', L'#', L'#', L'#'};
  size = 8;
  ASSERT_EQ(RegQueryValueExW(key, L"astral", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size), ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(small), astral);
  EXPECT_EQ(small[3], L'#');

  // Raw data is not rounded: 3 bytes do not take a 4-byte number.
  BYTE raw[4];
  size = 3;
  DWORD d = 7;
  ASSERT_EQ(SetDword(key, L"n", d), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(key, L"n", nullptr, nullptr, raw, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u);
  // Data without a size is refused.
  EXPECT_EQ(RegQueryValueExW(key, L"n", nullptr, nullptr, raw, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(RegistryTest, AccessRightsAreEnforced) {
  Create(L"Software\\Guarded");
  HKEY reader = Open(L"Software\\Guarded", KEY_READ);
  EXPECT_EQ(SetDword(reader, L"x", 1), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueW(reader, L"x"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyW(reader, L"child"), ERROR_ACCESS_DENIED);
  HKEY child = nullptr;
  EXPECT_EQ(RegCreateKeyExW(reader, L"child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
            ERROR_ACCESS_DENIED);
  EXPECT_EQ(child, nullptr);
  Open(L"Software\\Guarded\\child", KEY_READ, ERROR_FILE_NOT_FOUND);

  HKEY writer = Open(L"Software\\Guarded", KEY_WRITE);
  ASSERT_EQ(SetDword(writer, L"x", 1), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(writer, L"x", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  wchar_t name[16];
  DWORD nameSize = 16;
  EXPECT_EQ(RegEnumKeyExW(writer, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegQueryValueExW(reader, L"x", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
}

TEST_F(RegistryTest, HandlesAreCheckedAndFreed) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\H", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  // A closed handle is no longer valid.
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetDword(key, L"x", 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(reinterpret_cast<HKEY>(0x1234), L"x", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  // Predefined roots are always open, and closing them does nothing.
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  EXPECT_EQ(SetDword(HKEY_LOCAL_MACHINE, L"rootValue", 5), ERROR_SUCCESS);
  DWORD d = 0, size = 4;
  EXPECT_EQ(RegQueryValueExW(HKEY_LOCAL_MACHINE, L"rootValue", nullptr, nullptr, reinterpret_cast<BYTE*>(&d), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(d, 5u);
}

TEST_F(RegistryTest, RootsAreSeparateHives) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\OnlyMachine", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  Open(L"Software\\OnlyMachine", KEY_READ, ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(std::ifstream(HivePath("HKLM.reg")).good());
  EXPECT_FALSE(std::ifstream(HivePath("HKCU.reg")).good());
}

TEST_F(RegistryTest, DeletingKeysAndValues) {
  HKEY key = Create(L"Software\\Del");
  Create(L"Software\\Del\\A\\Deep");
  ASSERT_EQ(SetDword(key, L"v", 1), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(key, L"V"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(key, L"v"), ERROR_FILE_NOT_FOUND);
  // A key with sub-keys goes only as a tree.
  EXPECT_EQ(RegDeleteKeyW(key, L"A"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyW(key, L"A\\Deep"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(key, L"A\\Deep"), ERROR_FILE_NOT_FOUND);
  Create(L"Software\\Del\\A\\Deep2");
  EXPECT_EQ(RegDeleteTreeW(key, L"a"), ERROR_SUCCESS);
  Open(L"Software\\Del\\A", KEY_READ, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, AHandleToADeletedKeyReportsIt) {
  HKEY key = Create(L"Software\\Gone");
  ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Gone"), ERROR_SUCCESS);
  EXPECT_EQ(SetDword(key, L"x", 1), ERROR_KEY_DELETED);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"x", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
  // The write did not bring the key back.
  Open(L"Software\\Gone", KEY_READ, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, EnumerationListsEverythingOnceThenStops) {
  HKEY key = Create(L"Software\\Enum");
  Create(L"Software\\Enum\\b");
  Create(L"Software\\Enum\\A");
  Create(L"Software\\Enum\\c");
  ASSERT_EQ(SetDword(key, L"second", 2), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(key, L"first", 1), ERROR_SUCCESS);

  std::vector<std::wstring> keys;
  wchar_t name[8];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = 8;
    LSTATUS status = RegEnumKeyExW(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(status, ERROR_SUCCESS);
    keys.emplace_back(name, nameSize);
  }
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"A", L"b", L"c"}));

  // Values come in the order they were made, with their data.
  DWORD nameSize = 8, type = 0, d = 0, size = 4;
  ASSERT_EQ(RegEnumValueW(key, 0, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&d), &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(name, L"second");
  EXPECT_EQ(d, 2u);
  // A name buffer too small for the name and its terminator.
  nameSize = 6;
  EXPECT_EQ(RegEnumValueW(key, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  nameSize = 8;
  EXPECT_EQ(RegEnumValueW(key, 2, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryTest, BadNamesAreRefused) {
  HKEY key = nullptr;
  const std::wstring longName(256, L'k');
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, longName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"bad\nname", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"x", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, nullptr, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(std::ifstream(HivePath()).good());
}

TEST_F(RegistryTest, OddTextIsStoredExactly) {
  // Text with an embedded terminator, control characters, quotes and
  // backslashes in names and data survives the trip through the file.
  HKEY key = Create(L"Software\\Odd");
  const wchar_t data[] = L"a\0b\x01\"\\";
  ASSERT_EQ(RegSetValueExW(key, L"we\"ird\\ name\t", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), 12),
            ERROR_SUCCESS);
  // Unterminated text.
  ASSERT_EQ(RegSetValueExW(key, L"open", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"xyz"), 6), ERROR_SUCCESS);
  std::ifstream in(HivePath());
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("\"we\\\"ird\\\\ name\\t\"="), std::string::npos) << text.str();
  ReplaceHiveFile();

  HKEY reader = Open(L"Software\\Odd", KEY_READ);
  wchar_t out[8] = {};
  DWORD size = sizeof out, type = 0;
  ASSERT_EQ(RegQueryValueExW(reader, L"WE\"IRD\\ NAME\t", nullptr, &type, reinterpret_cast<BYTE*>(out), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(std::wstring(out, 6), std::wstring(data, 6));
  wchar_t open[8];
  std::fill(std::begin(open), std::end(open), L'#');
  size = sizeof open;
  ASSERT_EQ(RegQueryValueExW(reader, L"open", nullptr, &type, reinterpret_cast<BYTE*>(open), &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(std::wstring(open, 4), L"xyz#");
}

TEST_F(RegistryTest, ThreadsWritingAtOnceLoseNothing) {
  constexpr int kThreads = 4, kWrites = 25;
  std::vector<std::thread> threads;
  std::vector<int> failures(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      for (int i = 0; i < kWrites; ++i) {
        HKEY key = nullptr;
        const std::wstring path = L"Software\\Threads\\T" + std::to_wstring(t);
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS) {
          ++failures[t];
          continue;
        }
        if (SetDword(key, (L"v" + std::to_wstring(i)).c_str(), static_cast<DWORD>(i)) != ERROR_SUCCESS) ++failures[t];
        RegCloseKey(key);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
  ReplaceHiveFile();
  for (int t = 0; t < kThreads; ++t) {
    HKEY key = Open((L"Software\\Threads\\T" + std::to_wstring(t)).c_str(), KEY_READ);
    for (int i = 0; i < kWrites; ++i) {
      DWORD value = ~0u, size = 4;
      EXPECT_EQ(RegQueryValueExW(key, (L"v" + std::to_wstring(i)).c_str(), nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(&value), &size),
                ERROR_SUCCESS);
      EXPECT_EQ(value, static_cast<DWORD>(i));
    }
  }
}

}  // namespace
