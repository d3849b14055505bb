// The registry shared between processes, and the reg tool.
#include "tempprefix.h"
#include "winreg.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

using ::testing::HasSubstr;

constexpr int kWritesPerProcess = 200;

std::wstring ValueName(int process, int i) { return L"p" + std::to_wstring(process) + L"_" + std::to_wstring(i); }

// Runs in a child: writes its own values into the shared key, each write
// checked, and returns the number of failures.
int WriteMany(int process) {
  int failures = 0;
  for (int i = 0; i < kWritesPerProcess; ++i) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Shared", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      ++failures;
      continue;
    }
    const DWORD value = static_cast<DWORD>(process * 100000 + i);
    if (RegSetValueExW(key, ValueName(process, i).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4) !=
        ERROR_SUCCESS)
      ++failures;
    // The previous value of this process must still be there.
    DWORD size = 0;
    if (i > 0 && RegQueryValueExW(key, ValueName(process, i - 1).c_str(), nullptr, nullptr, nullptr, &size) !=
                     ERROR_SUCCESS)
      ++failures;
    RegCloseKey(key);
  }
  return failures;
}

using RegistryProcessTest = TempPrefixTest;

TEST_F(RegistryProcessTest, TwoProcessesWritingAtOnceLoseNothing) {
  // The parent has read the (empty) hive before, so it holds a parsed copy.
  HKEY probe = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Shared", 0, KEY_READ, &probe), ERROR_FILE_NOT_FOUND);

  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = fork();
    ASSERT_GE(children[p], 0);
    if (children[p] == 0) _exit(WriteMany(p + 1) == 0 ? 0 : 1);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a child saw a failed registry call";
  }

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Shared", 0, KEY_READ, &key), ERROR_SUCCESS);
  int missing = 0;
  for (int p = 1; p <= 2; ++p) {
    for (int i = 0; i < kWritesPerProcess; ++i) {
      DWORD value = 0, size = 4;
      if (RegQueryValueExW(key, ValueName(p, i).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
              ERROR_SUCCESS ||
          value != static_cast<DWORD>(p * 100000 + i))
        ++missing;
    }
  }
  EXPECT_EQ(missing, 0);
  DWORD count = 0;
  wchar_t name[32];
  for (;; ++count) {
    DWORD nameSize = 32;
    if (RegEnumValueW(key, count, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
  }
  EXPECT_EQ(count, static_cast<DWORD>(2 * kWritesPerProcess));
  RegCloseKey(key);
}

// Runs the reg tool with the test's prefix; returns its exit status and
// puts what it printed (both streams) into output.
int RunReg(const std::string& arguments, std::string& output) {
  const char* dir = std::getenv("MODULE_DIR");
  const std::string tool = std::string(dir ? dir : ".") + "/reg";
  FILE* pipe = ::popen((tool + " " + arguments + " 2>&1 </dev/null").c_str(), "r");
  if (!pipe) return -1;
  output.clear();
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) output.append(buf, n);
  const int status = ::pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class RegToolTest : public TempPrefixTest {};

TEST_F(RegToolTest, AValueWrittenByTheToolIsReadHereAndTheOtherWayRound) {
  std::string out;
  ASSERT_EQ(RunReg("add 'HKCU\\Software\\Autodesk\\AutoCAD\\R17.0' /v CurVer /d 'ACAD-5001:804' /f", out), 0) << out;
  EXPECT_THAT(out, HasSubstr("The operation completed successfully."));

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Autodesk\\AutoCAD\\R17.0", 0, KEY_READ | KEY_WRITE, &key),
            ERROR_SUCCESS);
  wchar_t text[64] = {};
  DWORD size = sizeof text, type = 0;
  ASSERT_EQ(RegQueryValueExW(key, L"CurVer", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(text, L"ACAD-5001:804");

  const DWORD n = 30;
  ASSERT_EQ(RegSetValueExW(key, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), 4), ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(RunReg("query 'hkey_current_user\\Software\\Autodesk\\AutoCAD\\R17.0'", out), 0) << out;
  EXPECT_THAT(out, HasSubstr("\nHKEY_CURRENT_USER\\Software\\Autodesk\\AutoCAD\\R17.0\n"));
  EXPECT_THAT(out, HasSubstr("    CurVer    REG_SZ    ACAD-5001:804\n"));
  EXPECT_THAT(out, HasSubstr("    Count    REG_DWORD    0x1e\n"));
}

TEST_F(RegToolTest, TypesQueriesAndDeletes) {
  std::string out;
  ASSERT_EQ(RunReg("add HKLM\\\\Software\\\\T /v Bin /t REG_BINARY /d 00ff10 /f", out), 0) << out;
  ASSERT_EQ(RunReg("add HKLM\\\\Software\\\\T /v Q /t reg_qword /d 0x100000000 /f", out), 0) << out;
  ASSERT_EQ(RunReg("add HKLM\\\\Software\\\\T /v M /t REG_MULTI_SZ /d 'a\\0b' /f", out), 0) << out;
  ASSERT_EQ(RunReg("add HKLM\\\\Software\\\\T\\\\Sub /ve /d 'with space' /f", out), 0) << out;
  ASSERT_EQ(RunReg("query HKLM\\\\Software\\\\T /v bin", out), 0) << out;
  EXPECT_THAT(out, HasSubstr("    bin    REG_BINARY    00FF10\n"));
  ASSERT_EQ(RunReg("query HKLM\\\\Software\\\\T /s", out), 0) << out;
  EXPECT_THAT(out, HasSubstr("    Q    REG_QWORD    0x100000000\n"));
  EXPECT_THAT(out, HasSubstr("    M    REG_MULTI_SZ    a\\0b\n"));
  EXPECT_THAT(out, HasSubstr("    (Default)    REG_SZ    with space\n"));
  EXPECT_THAT(out, HasSubstr("End of search: 4 match(es) found."));

  ASSERT_EQ(RunReg("delete HKLM\\\\Software\\\\T /v Bin /f", out), 0) << out;
  EXPECT_EQ(RunReg("query HKLM\\\\Software\\\\T /v Bin", out), 1);
  // Without /f the tool asks, and no answer leaves everything in place.
  EXPECT_EQ(RunReg("delete HKLM\\\\Software\\\\T", out), 1);
  ASSERT_EQ(RunReg("query HKLM\\\\Software\\\\T\\\\Sub", out), 0) << out;
  ASSERT_EQ(RunReg("delete HKLM\\\\Software\\\\T /f", out), 0) << out;
  EXPECT_EQ(RunReg("query HKLM\\\\Software\\\\T", out), 1);
  EXPECT_THAT(out, HasSubstr("ERROR: The system was unable to find the specified registry key or value."));
}

TEST_F(RegToolTest, BadCommandsFailWithAMessage) {
  std::string out;
  EXPECT_EQ(RunReg("query HKXX\\\\Software", out), 1);
  EXPECT_THAT(out, HasSubstr("ERROR: Invalid key name."));
  EXPECT_EQ(RunReg("add HKCU\\\\Software /v", out), 1);
  EXPECT_THAT(out, HasSubstr("ERROR: Invalid syntax."));
  EXPECT_EQ(RunReg("add HKCU\\\\Software /v n /t REG_DWORD /d 12x /f", out), 1);
  EXPECT_THAT(out, HasSubstr("Invalid number"));
  EXPECT_EQ(RunReg("add HKCU\\\\Software /v n /t REG_DWORD /d 0x100000000 /f", out), 1);
  EXPECT_EQ(RunReg("add HKCU\\\\Software /v n /t REG_WHAT /f", out), 1);
  EXPECT_THAT(out, HasSubstr("Invalid type"));
  EXPECT_EQ(RunReg("frobnicate HKCU", out), 1);
  EXPECT_EQ(RunReg("delete HKCU /f", out), 1);
  // A damaged hive: the tool says so and leaves it alone.
  ASSERT_EQ(RunReg("add HKCU\\\\Software /v ok /d 1 /f", out), 0) << out;
  {
    FILE* f = std::fopen(HivePath().c_str(), "a");
    ASSERT_NE(f, nullptr);
    std::fputs("garbage line\n", f);
    std::fclose(f);
  }
  EXPECT_EQ(RunReg("add HKCU\\\\Software /v other /d 2 /f", out), 1);
  EXPECT_THAT(out, HasSubstr(HivePath()));
  EXPECT_THAT(out, HasSubstr("ERROR: The registry hive file is damaged"));
}

}  // namespace
