// A fixture for tests of the configuration database: an encrypted
// setting.mdb in a temporary folder, made from the project's seed plus extra
// SQL, with CGlobalVars::g_CurPath pointing at that folder, the shared
// connection closed around each test and the transcript captured. Links
// Cadcore and mdbbuild.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "DBHelper.h"
#include "GlobalVars.h"
#include "mdbbuild.h"
#include "paths.h"
#include "testdata.h"
#include "transcript.h"

namespace testdb {

inline const char* Password() { return testdata::kSettingMdbPassword; }

inline void ClearGlobals() {
  CGlobalVars::g_mapConfig.RemoveAll();
  CGlobalVars::g_arPLineName.RemoveAll();
  CGlobalVars::g_mapPLineData.RemoveAll();
  CGlobalVars::g_arElementStatusName.RemoveAll();
  CGlobalVars::g_mapElementStatus.RemoveAll();
  CGlobalVars::g_mapElementStatusOpp.RemoveAll();
  CGlobalVars::g_mMenu->RemoveAll();
  CGlobalVars::g_pldDimData = pldimdata();
  CGlobalVars::g_praDrowPLDefPra = drowpldefpra();
}

class SettingDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wcscpy(m_savedPath, CGlobalVars::g_CurPath);
    char pattern[] = "/tmp/settingdb_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(pattern));
    m_dir = pattern;
    std::wstring folder = win::ToWindowsPath(m_dir) + L"\\";
    wcscpy(CGlobalVars::g_CurPath, folder.c_str());
    CDBHelper::DisconnectDatabase();
    ClearGlobals();
    m_previousSink = user::SetSink(&m_transcript);
    // Mid-line, so that the line break a message starts with shows.
    user::Write(kPrompt);
  }
  void TearDown() override {
    CDBHelper::DisconnectDatabase();
    ClearGlobals();
    user::SetSink(m_previousSink);
    wcscpy(CGlobalVars::g_CurPath, m_savedPath);
    std::string command = "rm -rf '" + m_dir + "'";
    EXPECT_EQ(0, std::system(command.c_str()));
  }

  // Makes setting.mdb in the folder from the seed followed by extraSql.
  void MakeDatabase(const std::string& extraSql = "", const std::string& password = Password()) {
    std::string sql, error;
    ASSERT_TRUE(mdbbuild::ReadFile(testdata::kSettingSql, sql));
    ASSERT_TRUE(mdbbuild::BuildDatabase(sql + "\n" + extraSql, m_dir + "/setting.mdb", password, error)) << error;
  }

  // What was printed since SetUp (or since ResetTranscript).
  std::string Transcript() const { return m_transcript.str().substr(sizeof(kPrompt) - 1); }
  void ResetTranscript() {
    m_transcript.str("");
    user::Write(kPrompt);
  }

  static constexpr char kPrompt[] = "Command: ";

  std::string m_dir;
  std::ostringstream m_transcript;
  std::ostream* m_previousSink = nullptr;
  TCHAR m_savedPath[MAX_PATH] = {0};
};

}  // namespace testdb
