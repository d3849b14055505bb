// A fixture that gives each test its own empty platform prefix folder
// ($MARLO_PREFIX: registry hives, other drives), removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class TempPrefixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/marlo-prefix-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_prefix = pattern;
    ::setenv("MARLO_PREFIX", m_prefix.c_str(), 1);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::permissions(m_prefix, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(m_prefix, ec);
    ::unsetenv("MARLO_PREFIX");
  }
  std::string HivePath(const char* file = "HKCU.reg") const { return m_prefix + "/registry/" + file; }

  // Puts the same text back as a new file, the way another process's write
  // lands, so that the next call parses the file again instead of using what
  // this process already holds.
  void ReplaceHiveFile(const char* file = "HKCU.reg") const {
    const std::string path = HivePath(file);
    std::filesystem::copy_file(path, path + ".copy", std::filesystem::copy_options::overwrite_existing);
    std::filesystem::rename(path + ".copy", path);
  }

  std::string m_prefix;
};
