// Windows paths over POSIX ones: drive Z: and the other drives.
#include "paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(Paths, DriveZIsThePosixRoot) {
  EXPECT_EQ(win::ToPosixPath(L"Z:\\home\\u\\bin\\setting.mdb"), "/home/u/bin/setting.mdb");
  EXPECT_EQ(win::ToPosixPath(L"z:/a/b"), "/a/b");
  EXPECT_EQ(win::ToPosixPath(L"/a/b"), "/a/b");
  EXPECT_EQ(win::ToPosixPath(L"rel\\file.ini"), "rel/file.ini");
  EXPECT_EQ(win::ToPosixPath(L"Z:"), "/");
  EXPECT_EQ(win::ToWindowsPath("/home/u/bin/"), L"Z:\\home\\u\\bin\\");
  EXPECT_EQ(win::ToWindowsPath("rel/x"), L"rel\\x");
  EXPECT_EQ(win::ToPosixPath(win::ToWindowsPath("/中文/路径")), "/中文/路径");
}

TEST(Paths, OtherDrivesLiveInThePrefix) {
  setenv("MARLO_PREFIX", "/tmp/pfx", 1);
  EXPECT_EQ(win::PlatformPrefix(), "/tmp/pfx");
  EXPECT_EQ(win::ToPosixPath(L"C:\\Program Files\\x"), "/tmp/pfx/drive_c/Program Files/x");
  EXPECT_EQ(win::ToWindowsPath("/tmp/pfx/drive_c/Program Files/x"), L"C:\\Program Files\\x");
  EXPECT_EQ(win::ToWindowsPath("/tmp/pfx/drive_cx"), L"Z:\\tmp\\pfx\\drive_cx");
  unsetenv("MARLO_PREFIX");
}
