// The global settings: the module folder, the built setting.mdb, filling all
// settings in order and stopping at the first failure, dimension settings and
// string splitting.
#include <dlfcn.h>
#include <stdlib.h>
#include <gtest/gtest.h>

#include "settingdb.h"

namespace {

using testdb::SettingDbTest;

class GlobalVarsTest : public SettingDbTest {};

std::string RealPath(const std::string& path) {
  char* resolved = realpath(path.c_str(), nullptr);
  std::string result = resolved ? resolved : "";
  free(resolved);
  return result;
}

TEST(CurPath, IsTheFolderOfTheCadcoreModule) {
  Dl_info info{};
  ASSERT_NE(0, dladdr(reinterpret_cast<void*>(&CGlobalVars::InitData), &info));
  std::string file = RealPath(info.dli_fname);
  std::wstring curPath = CGlobalVars::g_CurPath;
  ASSERT_FALSE(curPath.empty());
  EXPECT_EQ(L'\\', curPath.back());
  EXPECT_EQ(0u, curPath.find(L"Z:\\"));
  EXPECT_EQ(file.substr(0, file.rfind('/')), RealPath(win::ToPosixPath(curPath)));
  EXPECT_EQ("Cadcore.dbx", file.substr(file.rfind('/') + 1));
}

TEST(CurPath, TheBuiltDatabaseBesideTheModuleOpensWithTheLibrarysPassword) {
  std::ostringstream transcript;
  std::ostream* previous = user::SetSink(&transcript);
  int nConnected = CDBHelper::ConnectDatabase();
  int nLoaded = CGlobalVars::InitData();
  int nMenuLines = (int)CGlobalVars::g_mMenu->GetSize();
  CDBHelper::DisconnectDatabase();
  testdb::ClearGlobals();
  user::SetSink(previous);
  EXPECT_EQ(1, nConnected);
  EXPECT_EQ(1, nLoaded);
  EXPECT_EQ(5, nMenuLines);
  EXPECT_EQ("", transcript.str());
}

TEST_F(GlobalVarsTest, InitDataFillsEverythingInOrder) {
  MakeDatabase();
  ASSERT_EQ(1, CGlobalVars::InitData());
  EXPECT_EQ("", Transcript());
  EXPECT_DOUBLE_EQ(0.5, CGlobalVars::g_pldDimData.dimDistance);
  EXPECT_EQ(2, CGlobalVars::g_pldDimData.dimRound);
  EXPECT_EQ(CString(_T("KXDIM")), CGlobalVars::g_pldDimData.dimStyle);
  EXPECT_EQ(CString(_T("M")), CGlobalVars::g_pldDimData.dimUnit);
  EXPECT_EQ(0, CGlobalVars::g_pldDimData.intSlot);
  EXPECT_EQ(5, CGlobalVars::g_mMenu->GetSize());
  EXPECT_EQ(3, CGlobalVars::g_arPLineName.GetSize());
  EXPECT_EQ(3, CGlobalVars::g_arElementStatusName.GetSize());
  EXPECT_EQ(CString(_T("馈线")), CGlobalVars::g_praDrowPLDefPra.lineName);
  EXPECT_EQ(0, CGlobalVars::g_praDrowPLDefPra.statusId);
  EXPECT_EQ(1, CGlobalVars::g_praDrowPLDefPra.typeCode);

  // A second run appends the names again and keeps defaults a user chose.
  CGlobalVars::g_praDrowPLDefPra.lineName = _T("光纤");
  CGlobalVars::g_praDrowPLDefPra.statusId = 2;
  ASSERT_EQ(1, CGlobalVars::InitData());
  EXPECT_EQ(6, CGlobalVars::g_arPLineName.GetSize());
  EXPECT_EQ(6, CGlobalVars::g_arElementStatusName.GetSize());
  EXPECT_EQ(5, CGlobalVars::g_mMenu->GetSize());
  EXPECT_EQ(CString(_T("光纤")), CGlobalVars::g_praDrowPLDefPra.lineName);
  EXPECT_EQ(2, CGlobalVars::g_praDrowPLDefPra.statusId);
}

TEST_F(GlobalVarsTest, MissingDimensionKeysTakeTheirDefaults) {
  MakeDatabase("DELETE FROM CONFIG WHERE KEYNAME LIKE 'LPDIM%';"
               "INSERT INTO CONFIG VALUES ('lpdimstyle ', 'ISO');");
  ASSERT_EQ(1, CGlobalVars::GetSysParam());
  EXPECT_DOUBLE_EQ(1.0, CGlobalVars::g_pldDimData.dimDistance);
  EXPECT_EQ(2, CGlobalVars::g_pldDimData.dimRound);
  EXPECT_EQ(CString(_T("ISO")), CGlobalVars::g_pldDimData.dimStyle);
  EXPECT_EQ(CString(_T("M")), CGlobalVars::g_pldDimData.dimUnit);
}

TEST_F(GlobalVarsTest, DimensionNumbersReadWithLeadingDigits) {
  MakeDatabase("UPDATE CONFIG SET \"VALUES\" = '3.9mm' WHERE KEYNAME = 'LPDIMROUND';"
               "UPDATE CONFIG SET \"VALUES\" = ' 2.25 ' WHERE KEYNAME = 'LPDIMDIS';");
  ASSERT_EQ(1, CGlobalVars::GetSysParam());
  EXPECT_EQ(3, CGlobalVars::g_pldDimData.dimRound);
  EXPECT_DOUBLE_EQ(2.25, CGlobalVars::g_pldDimData.dimDistance);
}

TEST_F(GlobalVarsTest, InitDataStopsAtTheFirstFailure) {
  MakeDatabase("DROP TABLE KXLINESETTING;");
  EXPECT_EQ(0, CGlobalVars::InitData());
  EXPECT_EQ("\nno such table: KXLINESETTING", Transcript());
  EXPECT_EQ(5, CGlobalVars::g_mMenu->GetSize());           // read before the failure
  EXPECT_EQ(3, CGlobalVars::g_arPLineName.GetSize());      // the first query of the failing reader
  EXPECT_EQ(0, CGlobalVars::g_arElementStatusName.GetSize());
  EXPECT_TRUE(CGlobalVars::g_praDrowPLDefPra.lineName.IsEmpty());
}

TEST_F(GlobalVarsTest, GetPramWithEmptyListsSetsOnlyTheTypeCode) {
  CGlobalVars::GetPram();
  EXPECT_TRUE(CGlobalVars::g_praDrowPLDefPra.lineName.IsEmpty());
  EXPECT_EQ(0, CGlobalVars::g_praDrowPLDefPra.statusId);
  EXPECT_EQ(1, CGlobalVars::g_praDrowPLDefPra.typeCode);
}

std::vector<std::wstring> Split(const wchar_t* text, const wchar_t* separator, int keepEmpty, int* count) {
  CStringArray parts;
  *count = CGlobalVars::SplitString(text, separator, parts, keepEmpty);
  std::vector<std::wstring> result;
  for (INT_PTR i = 0; i < parts.GetSize(); ++i) result.emplace_back(parts.GetAt(i).GetString());
  return result;
}

TEST(SplitString, SeparatorsBlanksAndEmptyPieces) {
  int count = 0;
  using V = std::vector<std::wstring>;
  EXPECT_EQ((V{L"a", L"b", L"z"}), Split(L"a, b,,z", L",", 0, &count));
  EXPECT_EQ(3, count);
  EXPECT_EQ((V{L"a", L"b", L"", L"z"}), Split(L"a, b,,z", L",", 1, &count));
  EXPECT_EQ(4, count);
  EXPECT_EQ((V{L"x"}), Split(L"  x  ", L",", 0, &count));
  EXPECT_EQ(1, count);
  EXPECT_EQ(V{}, Split(L"   ", L",", 1, &count));
  EXPECT_EQ(0, count);
  EXPECT_EQ((V{L"a", L"b"}), Split(L"a   b", L" ", 0, &count));
  EXPECT_EQ((V{L"a", L"b"}), Split(L"a,b,", L",", 0, &count));
  EXPECT_EQ((V{L"a", L"b", L""}), Split(L"a,b,", L",", 1, &count));
  EXPECT_EQ(3, count);
  EXPECT_EQ((V{L"a ,b"}), Split(L" a ,b ", L"", 0, &count));
  EXPECT_EQ(1, count);
  EXPECT_EQ((V{L"a ", L"b"}), Split(L"a ::b", L"::", 0, &count));  // pieces keep trailing blanks
  EXPECT_EQ((V{L"", L"a"}), Split(L",a", L",", 1, &count));
}

TEST(ConvertUTF8toGB2312, DecodesUtf8BytesHeldAsCharacters) {
  CString strResult;
  CGlobalVars::ConvertUTF8toGB2312(CString(_T("\u00e9\u0080\u009a")), strResult);  // the bytes of 通
  EXPECT_EQ(CString(_T("通")), strResult);
  CGlobalVars::ConvertUTF8toGB2312(CString(_T("abc")), strResult);
  EXPECT_EQ(CString(_T("abc")), strResult);
  CGlobalVars::ConvertUTF8toGB2312(CString(_T("已是文字")), strResult);
  EXPECT_EQ(CString(_T("已是文字")), strResult);
}

}  // namespace
