// INI files: reading, writing back with every other line kept, encodings and
// writers in two processes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cstring.h"
#include "inifile.h"
#include "module.h"
#include "paths.h"

namespace fs = std::filesystem;

namespace {

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ini_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
    m_path = m_dir + "/FtpSettings.ini";
    m_file = CString(win::ToWindowsPath(m_path));
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(m_dir, ec);
  }

  void Write(const std::string& bytes) const { std::ofstream(m_path, std::ios::binary) << bytes; }
  std::string Read() const {
    std::ifstream in(m_path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  CString Get(const wchar_t* section, const wchar_t* key, const wchar_t* def = L"<none>") const {
    wchar_t buf[128];
    DWORD n = GetPrivateProfileStringW(section, key, def, buf, 128, m_file);
    EXPECT_EQ(n, std::wcslen(buf));
    return buf;
  }
  std::vector<std::wstring> List(const wchar_t* section, DWORD size = 256) const {
    std::vector<wchar_t> buf(size, L'#');
    DWORD n = GetPrivateProfileStringW(section, nullptr, L"", buf.data(), size, m_file);
    std::vector<std::wstring> out;
    for (const wchar_t* p = buf.data(); *p && p < buf.data() + n; p += std::wcslen(p) + 1) out.emplace_back(p);
    return out;
  }

  std::string m_dir, m_path;
  CString m_file;
};

const char kSample[] =
    "; settings of the drawing tools\r\n"
    "[FTPINFO]\r\n"
    "TextHeight = 2.5\r\n"
    "  Server=ftp.example.com  \r\n"
    "; the user below is a guest\r\n"
    "User=\"guest \"\r\n"
    "\r\n"
    "[Other]\r\n"
    "Name=\xE8\xB7\xAF\xE6\xB5\x8B\r\n"  // 路测
    "Flag\r\n";

TEST_F(IniTest, ReadsValuesIgnoringCaseAndTrimming) {
  Write(kSample);
  EXPECT_EQ(Get(L"FTPINFO", L"TextHeight"), L"2.5");
  EXPECT_EQ(Get(L"ftpinfo", L"textheight"), L"2.5");
  EXPECT_EQ(Get(L" FtpInfo ", L"SERVER"), L"ftp.example.com");
  EXPECT_EQ(Get(L"FTPINFO", L"User"), L"guest ");  // quotes keep the blank and are dropped
  EXPECT_EQ(Get(L"Other", L"Name"), L"路测");
  EXPECT_EQ(Get(L"Other", L"Flag"), L"");
  EXPECT_EQ(Get(L"Other", L"TextHeight"), L"<none>");  // keys belong to their section
  EXPECT_EQ(Get(L"Missing", L"x", L"dflt  "), L"dflt");  // the default loses trailing blanks
  EXPECT_EQ(Get(L"FTPINFO", L"missing", nullptr), L"");
  EXPECT_EQ(Get(L"FTPINFO", L"; settings of the drawing tools"), L"<none>");  // comments are no keys
}

TEST_F(IniTest, MissingFileGivesDefault) {
  SetLastError(0);
  EXPECT_EQ(Get(L"FTPINFO", L"TextHeight", L""), L"");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(GetPrivateProfileIntW(L"FTPINFO", L"TextHeight", 7, m_file), 7u);
  EXPECT_FALSE(fs::exists(m_path));  // reading creates nothing
}

TEST_F(IniTest, SmallBuffersAreFilledSafely) {
  Write("[s]\nkey=abcdef\n");
  wchar_t buf[8];
  std::wmemset(buf, L'#', 8);
  EXPECT_EQ(GetPrivateProfileStringW(L"s", L"key", L"", buf, 4, m_file), 3u);
  EXPECT_STREQ(buf, L"abc");
  EXPECT_EQ(buf[4], L'#');
  EXPECT_EQ(GetPrivateProfileStringW(L"s", L"key", L"", buf, 0, m_file), 0u);
  EXPECT_EQ(GetPrivateProfileStringW(L"s", L"key", L"", nullptr, 8, m_file), 0u);
}

TEST_F(IniTest, ListsSectionsAndKeysDoubleTerminated) {
  Write(kSample);
  EXPECT_EQ(List(nullptr), (std::vector<std::wstring>{L"FTPINFO", L"Other"}));
  EXPECT_EQ(List(L"ftpinfo"), (std::vector<std::wstring>{L"TextHeight", L"Server", L"User"}));
  EXPECT_TRUE(List(L"none").empty());

  wchar_t buf[32];
  DWORD n = GetPrivateProfileStringW(L"Other", nullptr, L"", buf, 32, m_file);
  EXPECT_EQ(n, 10u);  // "Name\0Flag\0"
  EXPECT_EQ(std::wstring(buf, 11), std::wstring(L"Name\0Flag\0\0", 11));
  // Too small: cut, still ending in two terminators, size - 2 returned.
  std::wmemset(buf, L'#', 32);
  n = GetPrivateProfileStringW(nullptr, nullptr, L"", buf, 6, m_file);
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(std::wstring(buf, 6), std::wstring(L"FTPI\0\0", 6));
  EXPECT_EQ(buf[6], L'#');

  wchar_t section[64];
  n = GetPrivateProfileSectionW(L"FTPINFO", section, 64, m_file);
  const wchar_t expected[] = L"TextHeight = 2.5\0Server=ftp.example.com\0User=\"guest \"\0";
  EXPECT_EQ(std::wstring(section, n + 1), std::wstring(expected, _countof(expected)));
}

TEST_F(IniTest, IntegersWithLeadingDigitSemantics) {
  Write("[n]\na=42\nb=-7\nc=0x1F\nd=12abc\ne=abc\nf=\ng= 8 \n");
  EXPECT_EQ(GetPrivateProfileIntW(L"n", L"a", 0, m_file), 42u);
  EXPECT_EQ(static_cast<INT>(GetPrivateProfileIntW(L"n", L"b", 0, m_file)), -7);
  EXPECT_EQ(GetPrivateProfileIntW(L"n", L"c", 0, m_file), 31u);
  EXPECT_EQ(GetPrivateProfileIntW(L"n", L"d", 0, m_file), 12u);
  EXPECT_EQ(GetPrivateProfileIntW(L"n", L"e", 5, m_file), 0u);
  EXPECT_EQ(GetPrivateProfileIntW(L"n", L"f", 5, m_file), 5u);
  EXPECT_EQ(GetPrivateProfileIntW(L"n", L"g", 5, m_file), 8u);
  EXPECT_EQ(GetPrivateProfileIntW(L"n", L"none", 9, m_file), 9u);
}

TEST_F(IniTest, RoundTripKeepsCommentsAndOtherSections) {
  Write(kSample);
  // Change a value: only its line changes, with its key's spelling and spacing.
  ASSERT_TRUE(WritePrivateProfileStringW(L"ftpinfo", L"TEXTHEIGHT", L"3.0", m_file));
  std::string expected = kSample;
  expected.replace(expected.find("2.5"), 3, "3.0");
  EXPECT_EQ(Read(), expected);
  EXPECT_EQ(Get(L"FTPINFO", L"TextHeight"), L"3.0");

  // A new key goes at the end of its section, before the blank line.
  ASSERT_TRUE(WritePrivateProfileStringW(L"FTPINFO", L"Port", L"21", m_file));
  expected.insert(expected.find("\r\n\r\n[Other]") + 2, "Port=21\r\n");
  EXPECT_EQ(Read(), expected);

  // A new section goes at the end of the file.
  ASSERT_TRUE(WritePrivateProfileStringW(L"新节", L"键", L"值", m_file));
  expected += "[\xE6\x96\xB0\xE8\x8A\x82]\r\n\xE9\x94\xAE=\xE5\x80\xBC\r\n";
  EXPECT_EQ(Read(), expected);
  EXPECT_EQ(Get(L"新节", L"键"), L"值");

  // Deleting a key removes its line only; deleting a key that is not there
  // changes nothing.
  ASSERT_TRUE(WritePrivateProfileStringW(L"FTPINFO", L"Server", nullptr, m_file));
  expected.erase(expected.find("  Server="), std::string("  Server=ftp.example.com  \r\n").size());
  EXPECT_EQ(Read(), expected);
  ASSERT_TRUE(WritePrivateProfileStringW(L"FTPINFO", L"NoSuchKey", nullptr, m_file));
  EXPECT_EQ(Read(), expected);

  // Deleting a section removes it with its lines.
  ASSERT_TRUE(WritePrivateProfileStringW(L"other", nullptr, nullptr, m_file));
  expected.erase(expected.find("[Other]"), std::string("[Other]\r\nName=\xE8\xB7\xAF\xE6\xB5\x8B\r\nFlag\r\n").size());
  EXPECT_EQ(Read(), expected);
  EXPECT_EQ(List(nullptr), (std::vector<std::wstring>{L"FTPINFO", L"新节"}));
}

TEST_F(IniTest, CreatesAFileAndKeepsLineEndsAndOddBytes) {
  ASSERT_TRUE(WritePrivateProfileStringW(L"FTPINFO", L"TextHeight", L"2.5", m_file));
  EXPECT_EQ(Read(), "[FTPINFO]\r\nTextHeight=2.5\r\n");

  // A file with LF line ends, no final line end and a line that is not UTF-8
  // (GBK text from elsewhere): that line survives byte for byte.
  Write("[a]\nold=\xC2\xB7\xB2\xE2 gbk \xFF\n[b]\nx=1");
  ASSERT_TRUE(WritePrivateProfileStringW(L"b", L"y", L"2", m_file));
  EXPECT_EQ(Read(), "[a]\nold=\xC2\xB7\xB2\xE2 gbk \xFF\n[b]\nx=1\ny=2");
  ASSERT_TRUE(WritePrivateProfileStringW(L"c", L"z", L"3", m_file));
  EXPECT_EQ(Read(), "[a]\nold=\xC2\xB7\xB2\xE2 gbk \xFF\n[b]\nx=1\ny=2\n[c]\nz=3\n");

  // No temporary file is left behind.
  int files = 0;
  for (auto& entry : fs::directory_iterator(m_dir)) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(IniTest, ReadsAndWritesUtf16WithByteOrderMark) {
  std::u16string text = u"[FTPINFO]\r\nTextHeight=4.5\r\nName=\u8DEF\u6D4B\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t u : text) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  Write(bytes);
  EXPECT_EQ(Get(L"FTPINFO", L"TextHeight"), L"4.5");
  EXPECT_EQ(Get(L"FTPINFO", L"Name"), L"路测");
  ASSERT_TRUE(WritePrivateProfileStringW(L"FTPINFO", L"TextHeight", L"5.0", m_file));
  std::string after = Read();
  ASSERT_EQ(after.size(), bytes.size());  // still UTF-16, same length value
  EXPECT_EQ(after.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(Get(L"FTPINFO", L"TextHeight"), L"5.0");
  EXPECT_EQ(Get(L"FTPINFO", L"Name"), L"路测");

  // A UTF-8 byte-order mark is skipped and kept.
  Write("\xEF\xBB\xBF[s]\r\nk=v\r\n");
  EXPECT_EQ(Get(L"s", L"k"), L"v");
  ASSERT_TRUE(WritePrivateProfileStringW(L"s", L"k", L"w", m_file));
  EXPECT_EQ(Read(), "\xEF\xBB\xBF[s]\r\nk=w\r\n");
}

TEST_F(IniTest, RefusesWritesThatWouldBreakTheFile) {
  Write("[s]\nk=v\n");
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringW(nullptr, L"k", L"v", m_file));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(WritePrivateProfileStringW(L"s", L"k", L"two\nlines", m_file));
  EXPECT_FALSE(WritePrivateProfileStringW(L"s", L"a=b", L"v", m_file));
  EXPECT_FALSE(WritePrivateProfileStringW(L"s]x", L"k", L"v", m_file));
  EXPECT_FALSE(WritePrivateProfileStringW(L"s", L"", L"v", m_file));
  EXPECT_EQ(Read(), "[s]\nk=v\n");
  EXPECT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, m_file));  // a flush request

  // A folder that does not exist: failure, nothing created.
  CString missing(win::ToWindowsPath(m_dir + "/no/such.ini"));
  EXPECT_FALSE(WritePrivateProfileStringW(L"s", L"k", L"v", missing));
  EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST_F(IniTest, WriteKeepsPermissionsAndReplacesTheLinkedFile) {
  Write("[s]\nk=v\n");
  ASSERT_EQ(chmod(m_path.c_str(), 0640), 0);
  std::string link = m_dir + "/link.ini";
  ASSERT_EQ(symlink(m_path.c_str(), link.c_str()), 0);
  ASSERT_TRUE(WritePrivateProfileStringW(L"s", L"k", L"w", CString(link.c_str())));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(), "[s]\nk=w\n");
  struct stat st {};
  ASSERT_EQ(stat(m_path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(IniTest, WritersInTwoProcessesLoseNothing) {
  Write("; shared\r\n[keep]\r\nx=1\r\n");
  constexpr int kWrites = 40;
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      bool ok = true;
      for (int i = 0; i < kWrites; ++i) {
        CString key, value;
        key.Format(L"p%d_%d", c, i);
        value.Format(L"%d", i);
        ok = WritePrivateProfileStringW(c == 0 ? L"left" : L"right", key, value, m_file) && ok;
      }
      _exit(ok ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < kWrites; ++i) {
      CString key, value;
      key.Format(L"p%d_%d", c, i);
      value.Format(L"%d", i);
      EXPECT_EQ(Get(c == 0 ? L"left" : L"right", key), value) << c << " " << i;
    }
  }
  EXPECT_EQ(Get(L"keep", L"x"), L"1");
  EXPECT_EQ(Read().substr(0, 10), "; shared\r\n");
}

}  // namespace
