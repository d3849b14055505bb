// Modules: loading with process attach, sharing, failed attach, exports and file names.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cstring.h"
#include "module.h"
#include "paths.h"

namespace fs = std::filesystem;

namespace {

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/module_test_XXXXXX";
    int fd = mkstemp(pattern);
    ASSERT_GE(fd, 0);
    close(fd);
    m_log = pattern;
    setenv("TEST_MODULE_LOG", m_log.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("TEST_MODULE_LOG");
    std::remove(m_log.c_str());
  }

  std::string Log() const {
    std::ifstream in(m_log);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::string Real(const char* path) {
    char real[PATH_MAX];
    return realpath(path, real) ? real : path;
  }
  // The module file in Windows form.
  static CString WinPath(const char* path) { return CString(win::ToWindowsPath(Real(path))); }

  std::string m_log;
};

TEST_F(ModuleTest, LoadRunsAttachAndFreeRunsDetach) {
  HMODULE module = LoadLibraryW(WinPath(GOOD_MODULE));
  ASSERT_NE(module, nullptr) << win::LastLoadError();
  EXPECT_EQ(Log(), "good attach\n");

  // The entry was given the same instance handle the loader returned.
  auto instance = reinterpret_cast<HINSTANCE (*)()>(GetProcAddress(module, "Core2Instance"));
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(instance(), module);

  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_EQ(Log(), "good attach\ngood detach\n");
}

TEST_F(ModuleTest, SecondLoadSharesTheModuleAndAttachesOnce) {
  HMODULE first = LoadLibraryW(WinPath(GOOD_MODULE));
  ASSERT_NE(first, nullptr);
  HMODULE second = LoadLibraryW(CString(GOOD_MODULE));  // POSIX form
  EXPECT_EQ(first, second);
  EXPECT_EQ(Log(), "good attach\n");
  EXPECT_TRUE(FreeLibrary(second));
  EXPECT_EQ(Log(), "good attach\n");  // still loaded once
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_EQ(Log(), "good attach\ngood detach\n");
}

TEST_F(ModuleTest, FailedAttachMakesTheLoadFail) {
  SetLastError(0);
  HMODULE module = LoadLibraryW(WinPath(FAIL_MODULE));
  EXPECT_EQ(module, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  // The loader undoes the load and the module gets its detach.
  EXPECT_EQ(Log(), "fail attach\nfail detach\n");
  EXPECT_EQ(GetModuleHandleW(L"failmodule.arx"), nullptr);

  // A later attempt runs the attach again and fails the same way.
  EXPECT_EQ(LoadLibraryW(WinPath(FAIL_MODULE)), nullptr);
  EXPECT_EQ(Log(), "fail attach\nfail detach\nfail attach\nfail detach\n");
}

TEST_F(ModuleTest, MissingModuleOrBadNameFails) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryW(L"Z:\\no\\such\\module.dbx"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_STRNE(win::LastLoadError(), "");
  EXPECT_EQ(LoadLibraryW(L""), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ModuleTest, ExportedFunctionsAreFound) {
  HMODULE module = LoadLibraryW(WinPath(GOOD_MODULE));
  ASSERT_NE(module, nullptr);
  auto answer = reinterpret_cast<int (*)()>(GetProcAddress(module, "Core2Answer"));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  SetLastError(0);
  EXPECT_EQ(GetProcAddress(module, "Core2Missing"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  // The entry itself is not exported: each module keeps its DllMain to itself.
  EXPECT_EQ(GetProcAddress(module, "DllMain"), nullptr);
  EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(ModuleTest, FileNameOfAModuleIsItsWindowsPath) {
  HMODULE module = LoadLibraryW(WinPath(GOOD_MODULE));
  ASSERT_NE(module, nullptr);
  wchar_t name[MAX_PATH];
  DWORD n = GetModuleFileNameW(module, name, MAX_PATH);
  CString expected = WinPath(GOOD_MODULE);
  EXPECT_EQ(n, static_cast<DWORD>(expected.GetLength()));
  EXPECT_EQ(CString(name), expected);
  EXPECT_EQ(CString(name).Left(3), L"Z:\\");
  // Splitting at the last backslash gives the module folder.
  CString folder = CString(name).Left(CString(name).ReverseFind(L'\\') + 1);
  EXPECT_EQ(folder, CString(win::ToWindowsPath(fs::path(Real(GOOD_MODULE)).parent_path().string() + "/")));
  EXPECT_EQ(GetModuleHandleW(L"GOODMODULE.DBX"), module);  // by file name, any case

  // Too small a buffer: cut, terminated, the size returned.
  wchar_t small[8];
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(module, small, 8), 8u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::wstring(small), std::wstring(expected.GetString()).substr(0, 7));

  // No module: the program itself.
  n = GetModuleFileNameW(nullptr, name, MAX_PATH);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(CString(name), CString(win::ToWindowsPath(Real("/proc/self/exe"))));
  EXPECT_TRUE(FreeLibrary(module));
}

}  // namespace
