// Files and folders in both path forms, path splitting, wildcards and CFileFind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fileapi.h"
#include "filefind.h"
#include "module.h"
#include "paths.h"
#include "splitpath.h"

namespace fs = std::filesystem;

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/files_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto& entry : fs::recursive_directory_iterator(m_dir, ec))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_dir, ec);
  }

  // The same place in POSIX and in Windows form.
  std::string Posix(const std::string& name) const { return m_dir + "/" + name; }
  CString Win(const std::string& name) const { return CString(win::ToWindowsPath(Posix(name))); }
  CString PosixW(const std::string& name) const { return CString(Posix(name).c_str()); }

  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(Posix(name), std::ios::binary) << text;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Posix(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string m_dir;
};

TEST_F(FilesTest, AttributesInBothPathForms) {
  Write("a.txt", "x");
  ASSERT_TRUE(CreateDirectoryW(Win("sub"), nullptr));
  EXPECT_EQ(GetFileAttributesW(Win("a.txt")), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesW(PosixW("a.txt")), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesW(Win("sub")), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(PathFileExistsW(Win("sub")));

  SetLastError(0);
  EXPECT_EQ(GetFileAttributesW(Win("missing")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(PathFileExistsW(Win("missing")));
  EXPECT_EQ(GetFileAttributesW(nullptr), INVALID_FILE_ATTRIBUTES);

  ASSERT_TRUE(SetFileAttributesW(Win("a.txt"), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(GetFileAttributesW(Win("a.txt")), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(SetFileAttributesW(Win("a.txt"), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesW(Win("a.txt")), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
}

TEST_F(FilesTest, CreateAndRemoveFolders) {
  EXPECT_TRUE(CreateDirectoryW(Win("d"), nullptr));
  SetLastError(0);
  EXPECT_FALSE(CreateDirectoryW(Win("d"), nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(CreateDirectoryW(Win("no\\such\\parent"), nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

  Write("d/f", "1");
  EXPECT_FALSE(RemoveDirectoryW(Win("d")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
  EXPECT_TRUE(DeleteFileW(Win("d\\f")));
  EXPECT_TRUE(RemoveDirectoryW(PosixW("d")));
  EXPECT_FALSE(fs::exists(Posix("d")));
}

TEST_F(FilesTest, DeleteFileRefusesFoldersAndReadOnlyFiles) {
  Write("f.dwg", "drawing");
  ASSERT_TRUE(CreateDirectoryW(Win("dir"), nullptr));
  EXPECT_FALSE(DeleteFileW(Win("dir")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(fs::exists(Posix("dir")));

  ASSERT_TRUE(SetFileAttributesW(Win("f.dwg"), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(DeleteFileW(Win("f.dwg")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  ASSERT_TRUE(SetFileAttributesW(Win("f.dwg"), 0));
  EXPECT_TRUE(DeleteFileW(Win("f.dwg")));
  EXPECT_FALSE(fs::exists(Posix("f.dwg")));
  EXPECT_FALSE(DeleteFileW(Win("f.dwg")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FilesTest, CopyFileHonoursFailIfExists) {
  Write("src", "new contents");
  Write("dst", "old");
  SetLastError(0);
  EXPECT_FALSE(CopyFileW(Win("src"), Win("dst"), TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(Read("dst"), "old");
  EXPECT_TRUE(CopyFileW(Win("src"), PosixW("dst"), FALSE));
  EXPECT_EQ(Read("dst"), "new contents");
  EXPECT_TRUE(CopyFileW(Win("src"), Win("fresh"), TRUE));
  EXPECT_EQ(Read("fresh"), "new contents");
  // Copying a file onto itself must not truncate it.
  EXPECT_FALSE(CopyFileW(Win("src"), PosixW("src"), FALSE));
  EXPECT_EQ(Read("src"), "new contents");
  EXPECT_FALSE(CopyFileW(Win("missing"), Win("x"), FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FilesTest, MoveFileNeverOverwritesUnlessAsked) {
  Write("a", "A");
  Write("b", "B");
  EXPECT_FALSE(MoveFileW(Win("a"), Win("b")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(Read("b"), "B");
  EXPECT_TRUE(MoveFileExW(Win("a"), Win("b"), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(Read("b"), "A");
  EXPECT_FALSE(fs::exists(Posix("a")));
  EXPECT_TRUE(MoveFileW(PosixW("b"), Win("c")));
  EXPECT_EQ(Read("c"), "A");
  ASSERT_TRUE(CreateDirectoryW(Win("folder"), nullptr));
  EXPECT_TRUE(MoveFileW(Win("folder"), Win("renamed")));
  EXPECT_TRUE(fs::is_directory(Posix("renamed")));
}

TEST(SplitPathTest, SplitsDriveFolderNameAndExtension) {
  wchar_t drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
  ASSERT_EQ(_wsplitpath_s(L"Z:\\home\\user\\bin\\Cadcore.dbx", drive, _MAX_DRIVE, dir, _MAX_DIR, fname, _MAX_FNAME,
                          ext, _MAX_EXT),
            0);
  EXPECT_STREQ(drive, L"Z:");
  EXPECT_STREQ(dir, L"\\home\\user\\bin\\");
  EXPECT_STREQ(fname, L"Cadcore");
  EXPECT_STREQ(ext, L".dbx");

  ASSERT_EQ(_wsplitpath_s(L"/a/b.c/name", drive, _MAX_DRIVE, dir, _MAX_DIR, fname, _MAX_FNAME, ext, _MAX_EXT), 0);
  EXPECT_STREQ(drive, L"");
  EXPECT_STREQ(dir, L"/a/b.c/");
  EXPECT_STREQ(fname, L"name");
  EXPECT_STREQ(ext, L"");

  ASSERT_EQ(_wsplitpath_s(L"archive.tar.gz", nullptr, 0, nullptr, 0, fname, _MAX_FNAME, ext, _MAX_EXT), 0);
  EXPECT_STREQ(fname, L"archive.tar");
  EXPECT_STREQ(ext, L".gz");
}

TEST(SplitPathTest, ErrorsLikeTheRuntime) {
  wchar_t drive[_MAX_DRIVE] = L"x", dir[4] = L"x", fname[_MAX_FNAME] = L"x", ext[_MAX_EXT] = L"x";
  // A folder that does not fit: ERANGE and every buffer emptied.
  EXPECT_EQ(_wsplitpath_s(L"C:\\long\\a.b", drive, _MAX_DRIVE, dir, 4, fname, _MAX_FNAME, ext, _MAX_EXT), ERANGE);
  EXPECT_STREQ(drive, L"");
  EXPECT_STREQ(dir, L"");
  EXPECT_STREQ(fname, L"");
  EXPECT_STREQ(ext, L"");
  // Exactly fitting (3 characters and the terminator) works.
  EXPECT_EQ(_wsplitpath_s(L"\\a\\x", nullptr, 0, dir, 4, nullptr, 0, nullptr, 0), 0);
  EXPECT_STREQ(dir, L"\\a\\");
  // A drive buffer of two characters cannot take "C:" and its terminator.
  EXPECT_EQ(_wsplitpath_s(L"C:x", drive, 2, nullptr, 0, nullptr, 0, nullptr, 0), ERANGE);
  // Buffer and size that disagree, or no path.
  EXPECT_EQ(_wsplitpath_s(L"a", drive, 0, nullptr, 0, nullptr, 0, nullptr, 0), EINVAL);
  EXPECT_EQ(_wsplitpath_s(L"a", nullptr, 3, nullptr, 0, nullptr, 0, nullptr, 0), EINVAL);
  EXPECT_EQ(_wsplitpath_s(nullptr, drive, _MAX_DRIVE, nullptr, 0, nullptr, 0, nullptr, 0), EINVAL);
}

TEST(SplitPathTest, MakePathJoinsAndChecksTheSize) {
  wchar_t path[_MAX_PATH];
  ASSERT_EQ(_wmakepath_s(path, _MAX_PATH, L"Z", L"\\home\\bin", L"Levelmap", L"arx"), 0);
  EXPECT_STREQ(path, L"Z:\\home\\bin\\Levelmap.arx");
  ASSERT_EQ(_wmakepath_s(path, _MAX_PATH, L"C:", L"dir/", L"f", L".ini"), 0);
  EXPECT_STREQ(path, L"C:dir/f.ini");
  ASSERT_EQ(_wmakepath_s(path, _MAX_PATH, nullptr, nullptr, L"f", nullptr), 0);
  EXPECT_STREQ(path, L"f");
  wchar_t small[6];
  EXPECT_EQ(_wmakepath_s(small, 6, nullptr, nullptr, L"abc", L"de"), ERANGE);  // "abc.de" needs 7
  EXPECT_STREQ(small, L"");
  EXPECT_EQ(_wmakepath_s(small, 7 - 1, nullptr, nullptr, L"ab", L"de"), 0);
  EXPECT_STREQ(small, L"ab.de");
  EXPECT_EQ(_wmakepath_s(nullptr, 10, nullptr, nullptr, L"a", nullptr), EINVAL);
}

TEST(WildcardTest, StarsQuestionMarksAndCase) {
  EXPECT_TRUE(win::MatchesWildcard(L"Setting.MDB", L"*.mdb"));
  EXPECT_TRUE(win::MatchesWildcard(L"lc.dwg", L"l?.DWG"));
  EXPECT_FALSE(win::MatchesWildcard(L"lcc.dwg", L"l?.dwg"));
  EXPECT_TRUE(win::MatchesWildcard(L"abcabd", L"*ab?"));
  EXPECT_TRUE(win::MatchesWildcard(L"", L"*"));
  EXPECT_FALSE(win::MatchesWildcard(L"a.txt", L"*.ini"));
  EXPECT_TRUE(win::MatchesWildcard(L"\u6587\u4EF6.ini", L"*.INI"));
}

std::vector<std::wstring> FindAll(const CString& pattern, std::vector<std::wstring>* paths = nullptr) {
  std::vector<std::wstring> names;
  CFileFind finder;
  BOOL more = finder.FindFile(pattern);
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDots()) continue;
    names.emplace_back(finder.GetFileName().GetString());
    if (paths) paths->emplace_back(finder.GetFilePath().GetString());
  }
  return names;
}

TEST_F(FilesTest, FileFindListsMatchesInOrderWithWindowsPaths) {
  Write("b.INI", "12345");
  Write("a.ini", "");
  Write("c.txt", "");
  ASSERT_TRUE(CreateDirectoryW(Win("sub.ini"), nullptr));

  std::vector<std::wstring> paths;
  EXPECT_EQ(FindAll(Win("*.ini"), &paths), (std::vector<std::wstring>{L"a.ini", L"b.INI", L"sub.ini"}));
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_EQ(paths[1], std::wstring(Win("b.INI").GetString()));
  EXPECT_EQ(paths[1].substr(0, 3), L"Z:\\");
  // POSIX patterns work as well, and "*.*" matches every name.
  EXPECT_EQ(FindAll(PosixW("*.*")).size(), 4u);
  EXPECT_EQ(FindAll(PosixW("?.txt")), (std::vector<std::wstring>{L"c.txt"}));

  CFileFind finder;
  ASSERT_TRUE(finder.FindFile(Win("B.ini")));  // a plain name, matched ignoring case
  EXPECT_FALSE(finder.FindNextFile());
  EXPECT_EQ(finder.GetFileName(), L"b.INI");
  EXPECT_EQ(finder.GetFileTitle(), L"b");
  EXPECT_EQ(finder.GetLength(), 5u);
  EXPECT_FALSE(finder.IsDirectory());
  EXPECT_EQ(finder.GetRoot(), CString(win::ToWindowsPath(m_dir + "/")));
  EXPECT_FALSE(finder.FindNextFile());  // past the end stays false

  ASSERT_TRUE(finder.FindFile(Win("sub.ini")));
  finder.FindNextFile();
  EXPECT_TRUE(finder.IsDirectory());
  EXPECT_FALSE(finder.IsDots());
  finder.Close();
  EXPECT_TRUE(finder.GetFileName().IsEmpty());
}

TEST_F(FilesTest, FileFindDotsAndMisses) {
  ASSERT_TRUE(CreateDirectoryW(Win("d"), nullptr));
  CFileFind finder;
  BOOL more = finder.FindFile(Win("d\\*"));
  ASSERT_TRUE(more);
  int dots = 0;
  while (more) {
    more = finder.FindNextFile();
    EXPECT_TRUE(finder.IsDots());
    ++dots;
  }
  EXPECT_EQ(dots, 2);

  SetLastError(0);
  EXPECT_FALSE(finder.FindFile(Win("*.none")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(finder.FindFile(Win("nofolder\\*")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(finder.FindNextFile());
}

TEST_F(FilesTest, FileFindRelativePatternGivesFullPath) {
  Write("rel.dat", "1");
  char old[4096];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(m_dir.c_str()), 0);
  std::vector<std::wstring> paths;
  std::vector<std::wstring> names = FindAll(L"*.dat", &paths);
  ASSERT_EQ(chdir(old), 0);
  ASSERT_EQ(names, (std::vector<std::wstring>{L"rel.dat"}));
  EXPECT_EQ(paths[0], std::wstring(Win("rel.dat").GetString()));
}

}  // namespace
