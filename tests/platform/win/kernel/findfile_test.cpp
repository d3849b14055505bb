// FindFirstFileW / FindNextFileW / FindClose: matches in name order, the
// record's fields, and refused handles.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fileapi.h"
#include "module.h"
#include "paths.h"

namespace fs = std::filesystem;

namespace {

class FindFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/findfile_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(m_dir, ec);
  }
  std::wstring Win(const std::string& name) const { return win::ToWindowsPath(m_dir + "/" + name); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(m_dir + "/" + name, std::ios::binary) << text;
  }

  std::string m_dir;
};

TEST_F(FindFileTest, ReportsEveryMatchOnceThenNoMoreFiles) {
  Write("b.txt", "12345");
  Write("A.txt", "");
  Write("c.dat", "x");
  fs::create_directory(m_dir + "/dir.txt");
  WIN32_FIND_DATA data;
  HANDLE hFind = FindFirstFile(Win("*.TXT").c_str(), &data);
  ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
  std::vector<std::wstring> names{data.cFileName};
  std::vector<DWORD> attributes{data.dwFileAttributes};
  std::vector<DWORD> sizes{data.nFileSizeLow};
  while (FindNextFileW(hFind, &data)) {
    names.push_back(data.cFileName);
    attributes.push_back(data.dwFileAttributes);
    sizes.push_back(data.nFileSizeLow);
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_EQ(names, (std::vector<std::wstring>{L"A.txt", L"b.txt", L"dir.txt"}));
  EXPECT_EQ(attributes[0], static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(attributes[2], static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(sizes[1], 5u);
  // Asking again after the end changes nothing.
  EXPECT_FALSE(FindNextFileW(hFind, &data));
  EXPECT_TRUE(FindClose(hFind));
}

TEST_F(FindFileTest, AnExactNameInEitherPathForm) {
  Write("only.ini", "k=v");
  WIN32_FIND_DATA data;
  HANDLE hFind = FindFirstFile(Win("only.ini").c_str(), &data);
  ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
  EXPECT_STREQ(data.cFileName, L"only.ini");
  EXPECT_FALSE(FindNextFileW(hFind, &data));
  EXPECT_TRUE(FindClose(hFind));

  std::wstring posix(m_dir.begin(), m_dir.end());
  hFind = FindFirstFileW((posix + L"/only.ini").c_str(), &data);
  ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(FindClose(hFind));
}

TEST_F(FindFileTest, NoMatchAndBadArgumentsGiveTheInvalidHandle) {
  WIN32_FIND_DATA data;
  EXPECT_EQ(FindFirstFile(Win("missing.txt").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFile(Win("nofolder/x.txt").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(FindFirstFile(L"", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(FindFirstFile(nullptr, &data), INVALID_HANDLE_VALUE);
}

TEST_F(FindFileTest, ClosedOrForeignHandlesAreRefused) {
  Write("a.txt", "");
  WIN32_FIND_DATA data;
  HANDLE hFind = FindFirstFile(Win("a.txt").c_str(), &data);
  ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(FindClose(hFind));
  // A second close and a use after close are refused, not undefined.
  EXPECT_FALSE(FindClose(hFind));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FindNextFileW(hFind, &data));
  EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
  int notASearch = 0;
  EXPECT_FALSE(FindClose(&notASearch));
}

}  // namespace
