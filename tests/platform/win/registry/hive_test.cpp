// The hive files: their text form, damaged files, unwritable folders and
// changes made behind this process's back.
#include "registry_hive.h"
#include "tempprefix.h"
#include "winreg.h"

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using ::testing::HasSubstr;
using win::registry::FormatHive;
using win::registry::Key;
using win::registry::ParseHive;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

LSTATUS SetDword(HKEY root, const wchar_t* path, const wchar_t* name, DWORD value) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
  RegCloseKey(key);
  return status;
}

// The value, or ~0 when it cannot be read.
DWORD GetDword(HKEY root, const wchar_t* path, const wchar_t* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return ~0u;
  DWORD value = 0, size = 4;
  LSTATUS status = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? value : ~0u;
}

TEST(HiveText, RoundTripKeepsKeysValuesAndSpelling) {
  Key root;
  Key& vendor = root.Child(L"Software").Child(L"Vendor 中文");
  vendor.Child(L"Empty");
  vendor.SetValue(L"", 1, {'d', 0, 0, 0});
  vendor.SetValue(L"Path", 2, {'%', 0, 'A', 0, '%', 0, 0, 0});
  vendor.SetValue(L"n", 4, {1, 2, 3, 4});
  vendor.SetValue(L"short dword", 4, {1, 2});
  vendor.SetValue(L"odd", 1, {'a', 0, 'b'});
  vendor.SetValue(L"lone surrogate", 1, {0x00, 0xD8, 0, 0});
  vendor.SetValue(L"big type", 0x12345, {});
  vendor.SetValue(L"line\nbreak", 1, {'\n', 0, '\x1f', 0, 0, 0});
  const std::string text = FormatHive(root, L"HKEY_CURRENT_USER", "gen=1 id=0");

  Key parsed;
  ASSERT_TRUE(ParseHive(text, L"HKEY_CURRENT_USER", parsed).ok) << text;
  EXPECT_EQ(FormatHive(parsed, L"HKEY_CURRENT_USER", "gen=1 id=0"), text);
  const Key* back = parsed.Find({L"software", L"VENDOR 中文"});
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Name(), L"Vendor 中文");
  EXPECT_NE(back->FindChild(L"empty"), nullptr);
  ASSERT_EQ(back->Values().size(), vendor.Values().size());
  for (size_t i = 0; i < vendor.Values().size(); ++i) {
    EXPECT_EQ(back->Values()[i].name, vendor.Values()[i].name);
    EXPECT_EQ(back->Values()[i].type, vendor.Values()[i].type);
    EXPECT_EQ(back->Values()[i].data, vendor.Values()[i].data);
  }
  // Clean text reads as text in the file.
  EXPECT_THAT(text, HasSubstr("\"Path\"=expand:\"%A%\""));
  EXPECT_THAT(text, HasSubstr("@=\"d\""));
}

TEST(HiveText, DamagedTextIsRefusedWithItsLine) {
  const char* bad[] = {
      "not a hive\n",
      "MARLO REGISTRY HIVE 1\n\"x\"=dword:1\n",                      // value before a key
      "MARLO REGISTRY HIVE 1\n[HKEY_LOCAL_MACHINE\\x]\n",            // another root
      "MARLO REGISTRY HIVE 1\n[HKEY_CURRENT_USER\\x\n",              // no bracket
      "MARLO REGISTRY HIVE 1\n[HKEY_CURRENT_USER]\n\"x\"=dword:123456789\n",
      "MARLO REGISTRY HIVE 1\n[HKEY_CURRENT_USER]\n\"x\"=hex:0g\n",
      "MARLO REGISTRY HIVE 1\n[HKEY_CURRENT_USER]\n\"x\"=hex:01,\n",
      "MARLO REGISTRY HIVE 1\n[HKEY_CURRENT_USER]\n\"x=\"1\"\n",
      "MARLO REGISTRY HIVE 1\n[HKEY_CURRENT_USER]\n\"x\"=\"open\n",
      "MARLO REGISTRY HIVE 1\n[HKEY_CURRENT_USER]\n\"x\"=\"\\q\"\n",
      "MARLO REGISTRY HIVE 1\n[HKEY_CURRENT_USER\\\\b]\n",
  };
  for (const char* text : bad) {
    Key root;
    auto result = ParseHive(text, L"HKEY_CURRENT_USER", root);
    EXPECT_FALSE(result.ok) << text;
    EXPECT_GT(result.errorLine, 0) << text;
  }
  Key root;
  auto result = ParseHive("MARLO REGISTRY HIVE 1\n[HKEY_CURRENT_USER]\n\"ok\"=dword:1\nrubbish\n", L"HKEY_CURRENT_USER",
                          root);
  EXPECT_EQ(result.errorLine, 4);
}

using HiveFileTest = TempPrefixTest;

TEST_F(HiveFileTest, ADamagedHiveReadsEmptyRefusesWritesAndIsKept) {
  const std::string damaged = "MARLO REGISTRY HIVE 1\n[HKEY_CURRENT_USER\\Software]\n\"x\"=dword:zz\n";
  WriteFile(HivePath(), damaged);

  testing::internal::CaptureStderr();
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(SetDword(HKEY_CURRENT_USER, L"Software", L"y", 1), ERROR_REGISTRY_CORRUPT);
  EXPECT_EQ(SetDword(HKEY_CURRENT_USER, nullptr, L"y", 1), ERROR_REGISTRY_CORRUPT);
  const std::string messages = testing::internal::GetCapturedStderr();

  EXPECT_EQ(ReadFile(HivePath()), damaged);
  // One message, naming the file and the line.
  EXPECT_THAT(messages, HasSubstr(HivePath()));
  EXPECT_THAT(messages, HasSubstr("line 3"));
  EXPECT_EQ(messages.find(HivePath()), messages.rfind(HivePath()));
  // Other hives are not affected.
  EXPECT_EQ(SetDword(HKEY_LOCAL_MACHINE, L"Software", L"y", 1), ERROR_SUCCESS);

  // Once repaired, the hive is used again.
  WriteFile(HivePath(), "MARLO REGISTRY HIVE 1\n[HKEY_CURRENT_USER\\Software]\n\"x\"=dword:00000007\n");
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, L"Software", L"x"), 7u);
  EXPECT_EQ(SetDword(HKEY_CURRENT_USER, L"Software", L"y", 1), ERROR_SUCCESS);
}

TEST_F(HiveFileTest, AnUnwritablePrefixFailsWritesButStillReads) {
  // The prefix lies below a plain file, so its registry folder cannot exist.
  const std::string blocker = m_prefix + "/blocker";
  WriteFile(blocker, "x");
  ::setenv("MARLO_PREFIX", (blocker + "/prefix").c_str(), 1);
  HKEY key = nullptr;
  EXPECT_NE(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\X", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(key, nullptr);
  EXPECT_NE(SetDword(HKEY_CURRENT_USER, nullptr, L"v", 1), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);

  // A registry folder that is a file: hives read empty, writes fail.
  ::setenv("MARLO_PREFIX", m_prefix.c_str(), 1);
  WriteFile(m_prefix + "/registry", "");
  EXPECT_NE(SetDword(HKEY_CURRENT_USER, nullptr, L"v", 1), ERROR_SUCCESS);
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, nullptr, L"v"), ~0u);
}

TEST_F(HiveFileTest, AnUnreadableHiveIsNeverOverwritten) {
  // A folder where the hive file should be cannot be read as a hive.
  std::filesystem::create_directories(HivePath());
  EXPECT_NE(SetDword(HKEY_CURRENT_USER, nullptr, L"v", 1), ERROR_SUCCESS);
  EXPECT_TRUE(std::filesystem::is_directory(HivePath()));
}

TEST_F(HiveFileTest, ChangesOfAnotherWriterAreSeen) {
  ASSERT_EQ(SetDword(HKEY_CURRENT_USER, L"Software", L"v", 1), ERROR_SUCCESS);
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, L"Software", L"v"), 1u);
  // Another writer changes the file behind this process's back.
  std::string text = ReadFile(HivePath());
  const auto time = std::filesystem::last_write_time(HivePath());
  const size_t at = text.find("dword:00000001");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 14, "dword:00000002");
  const size_t tag = text.find(" id=");
  ASSERT_NE(tag, std::string::npos);
  text[tag + 4] = text[tag + 4] == '0' ? '1' : '0';
  // Written in place: same file, same size, same time; only the tag in the
  // first line tells the change.
  WriteFile(HivePath(), text);
  std::filesystem::last_write_time(HivePath(), time);
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, L"Software", L"v"), 2u);
  // A write starts from what is in the file now, not from an older copy.
  ASSERT_EQ(SetDword(HKEY_CURRENT_USER, L"Software", L"w", 3), ERROR_SUCCESS);
  ReplaceHiveFile();
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, L"Software", L"v"), 2u);
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, L"Software", L"w"), 3u);
}

TEST_F(HiveFileTest, WritesLeaveOnlyTheHiveAndItsLock) {
  for (DWORD i = 0; i < 5; ++i) ASSERT_EQ(SetDword(HKEY_CURRENT_USER, L"Software", L"v", i), ERROR_SUCCESS);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(m_prefix + "/registry"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"HKCU.reg", "HKCU.reg.lock"}));
  // Unchanged data is not written again.
  const auto before = std::filesystem::last_write_time(HivePath());
  const std::string text = ReadFile(HivePath());
  ASSERT_EQ(SetDword(HKEY_CURRENT_USER, L"Software", L"v", 4), ERROR_SUCCESS);
  EXPECT_EQ(ReadFile(HivePath()), text);
  EXPECT_EQ(std::filesystem::last_write_time(HivePath()), before);
}

TEST_F(HiveFileTest, AnEmptyHiveFileIsAnEmptyHive) {
  WriteFile(HivePath(), "");
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, nullptr, L"v"), ~0u);
  ASSERT_EQ(SetDword(HKEY_CURRENT_USER, nullptr, L"v", 9), ERROR_SUCCESS);
  ReplaceHiveFile();
  EXPECT_EQ(GetDword(HKEY_CURRENT_USER, nullptr, L"v"), 9u);
}

}  // namespace
