// The configuration database's connection and readers: reusing the open
// connection, failures with their reason, the configuration map, line settings,
// element statuses, menus, statements and recordsets.
#include <gtest/gtest.h>

#include <cstring>

#include "settingdb.h"

namespace {

using testdb::SettingDbTest;

class DBHelperTest : public SettingDbTest {};

TEST_F(DBHelperTest, SecondConnectReusesTheOpenConnection) {
  MakeDatabase();
  ASSERT_EQ(1, CDBHelper::ConnectDatabase());
  _Connection* first = CDBHelper::m_mdbConnect.GetInterfacePtr();
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(1, CDBHelper::ConnectDatabase());
  EXPECT_EQ(first, CDBHelper::m_mdbConnect.GetInterfacePtr());
  EXPECT_EQ(1, CDBHelper::DisconnectDatabase());
  EXPECT_TRUE(CDBHelper::m_mdbConnect == NULL);
  EXPECT_EQ(1, CDBHelper::DisconnectDatabase());
  // After a disconnect the next operation opens a new connection.
  CString strValue;
  EXPECT_EQ(1, CDBHelper::readConfigValue(_T("LPDIMUNIT"), strValue));
  EXPECT_EQ(CString(_T("M")), strValue);
  EXPECT_EQ("", Transcript());
}

TEST_F(DBHelperTest, MissingFileAndWrongPasswordFailWithTheReason) {
  EXPECT_EQ(0, CDBHelper::ConnectDatabase());
  std::string missing = Transcript();
  EXPECT_EQ(0u, missing.find("\nCould not find file 'Z:")) << missing;
  EXPECT_NE(std::string::npos, missing.find("setting.mdb'.")) << missing;
  CString strValue = _T("unchanged");
  EXPECT_EQ(0, CDBHelper::readConfigValue(_T("LPDIMUNIT"), strValue));
  EXPECT_EQ(CString(_T("unchanged")), strValue);

  // The password without its last character.
  MakeDatabase("", std::string(testdb::Password(), std::strlen(testdb::Password()) - 1));
  ResetTranscript();
  EXPECT_EQ(0, CDBHelper::ConnectDatabase());
  EXPECT_EQ("\nNot a valid password.", Transcript());
  EXPECT_EQ(0, CDBHelper::ExcuteSql(_T("DELETE FROM CONFIG")));
}

TEST_F(DBHelperTest, ReadConfigValueLeavesTheValueAloneWhenThereIsNone) {
  MakeDatabase("INSERT INTO CONFIG VALUES ('NULLVALUE', NULL);"
               "INSERT INTO CONFIG VALUES ('O''KEY', 'it''s');");
  CString strValue = _T("before");
  EXPECT_EQ(1, CDBHelper::readConfigValue(_T("NOSUCHKEY"), strValue));
  EXPECT_EQ(CString(_T("before")), strValue);
  EXPECT_EQ(1, CDBHelper::readConfigValue(_T("NULLVALUE"), strValue));
  EXPECT_EQ(CString(_T("before")), strValue);
  // A key with an apostrophe is looked up, not turned into broken SQL.
  EXPECT_EQ(1, CDBHelper::readConfigValue(_T("O'KEY"), strValue));
  EXPECT_EQ(CString(_T("it's")), strValue);
  EXPECT_EQ(1, CDBHelper::readConfigValue(_T("x' OR '1'='1"), strValue));
  EXPECT_EQ(CString(_T("it's")), strValue);
  EXPECT_EQ("", Transcript());
}

TEST_F(DBHelperTest, FullConfigLoadTrimsAndUppercasesKeysAndStopsAtANullValue) {
  MakeDatabase("INSERT INTO CONFIG VALUES (' lpdimfoo ', '7');"
               "INSERT INTO CONFIG VALUES ('ZNULL', NULL);"
               "INSERT INTO CONFIG VALUES ('AFTERNULL', 'x');");
  CGlobalVars::g_mapConfig.SetAt(_T("KEPT"), _T("old"));
  EXPECT_EQ(0, CDBHelper::readConfigValue());
  EXPECT_EQ("\nType mismatch.", Transcript());
  CString strValue;
  EXPECT_TRUE(CGlobalVars::g_mapConfig.Lookup(_T("LPDIMFOO"), strValue));
  EXPECT_EQ(CString(_T("7")), strValue);
  EXPECT_TRUE(CGlobalVars::g_mapConfig.Lookup(_T("KEPT"), strValue));
  EXPECT_TRUE(CGlobalVars::g_mapConfig.Lookup(_T("MENUSQL"), strValue));
  EXPECT_FALSE(CGlobalVars::g_mapConfig.Lookup(_T("AFTERNULL"), strValue));
}

TEST_F(DBHelperTest, ReadPLineDataConvertsAndKeysItsRows) {
  MakeDatabase("INSERT INTO KXL VALUES (4, 'TEST');"
               "INSERT INTO KXLINESETTING VALUES (4, 1, 0, 5, NULL, 13, 2.7, NULL, 0, 1.25);"
               "INSERT INTO KXLINESETTING VALUES (4, 2, 0, 5, 'DOT', 13, 2.5, 'L', 3, 1.5);"
               "INSERT INTO KXLINESETTING VALUES (4, 2, 0, 6, 'DOT2', 13, 3.5, 'L2', 0, 1.5);");
  ASSERT_EQ(1, CDBHelper::ReadPLineData());
  ASSERT_EQ(4, CGlobalVars::g_arPLineName.GetSize());
  EXPECT_EQ(CString(_T("馈线")), CGlobalVars::g_arPLineName.GetAt(0));
  EXPECT_EQ(CString(_T("TEST")), CGlobalVars::g_arPLineName.GetAt(3));
  EXPECT_EQ(6, CGlobalVars::g_mapPLineData.GetCount());

  plinedata data;
  ASSERT_TRUE(CGlobalVars::g_mapPLineData.Lookup(_T("TEST+1+0"), data));
  EXPECT_EQ(CString(_T("TEST")), data.lineLayer);  // NULL layer: the line's name
  EXPECT_TRUE(data.lineType.IsEmpty());
  EXPECT_DOUBLE_EQ(3.0, data.lineScale);
  EXPECT_TRUE(data.isTypeOne);
  EXPECT_FALSE(data.showDim);
  EXPECT_DOUBLE_EQ(1.25, data.dimHeight);
  EXPECT_EQ(13, data.lineWeight);

  // Two rows with the same name, type and status: the later one stays.
  ASSERT_TRUE(CGlobalVars::g_mapPLineData.Lookup(_T("TEST+2+0"), data));
  EXPECT_EQ(6, data.lineColor);
  EXPECT_EQ(CString(_T("DOT2")), data.lineType);
  EXPECT_DOUBLE_EQ(4.0, data.lineScale);  // 3.5 to the even neighbour
  EXPECT_FALSE(data.isTypeOne);

  ASSERT_TRUE(CGlobalVars::g_mapPLineData.Lookup(_T("光纤+2+0"), data));
  EXPECT_EQ(CString(_T("光纤")), data.lineLayer);

  // Reading again appends the names again.
  ASSERT_EQ(1, CDBHelper::ReadPLineData());
  EXPECT_EQ(8, CGlobalVars::g_arPLineName.GetSize());
  EXPECT_EQ(6, CGlobalVars::g_mapPLineData.GetCount());
  EXPECT_EQ("", Transcript());
}

TEST_F(DBHelperTest, ReadPLineDataHalfEvenScaleAndTextInANumberColumn) {
  MakeDatabase("DELETE FROM KXLINESETTING;"
               "INSERT INTO KXLINESETTING VALUES (1, 1, 0, 1, 'C', 30, 2.5, 'A', 1, 2.0);"
               "INSERT INTO KXLINESETTING VALUES (2, 'one', 0, 1, 'C', 30, 1.0, 'B', 1, 2.0);"
               "INSERT INTO KXLINESETTING VALUES (3, 1, 0, 1, 'C', 30, 1.0, 'C', 1, 2.0);");
  EXPECT_EQ(0, CDBHelper::ReadPLineData());
  EXPECT_EQ("\nType mismatch.", Transcript());
  plinedata data;
  ASSERT_TRUE(CGlobalVars::g_mapPLineData.Lookup(_T("馈线+1+0"), data));
  EXPECT_DOUBLE_EQ(2.0, data.lineScale);
  EXPECT_EQ(1, CGlobalVars::g_mapPLineData.GetCount());
}

TEST_F(DBHelperTest, ReadElementStatusSkipsRowsWithoutAName) {
  MakeDatabase("INSERT INTO ELEMENTSTATUS VALUES (7, NULL);");
  ASSERT_EQ(1, CDBHelper::ReadElementStatus());
  ASSERT_EQ(3, CGlobalVars::g_arElementStatusName.GetSize());
  EXPECT_EQ(CString(_T("利旧")), CGlobalVars::g_arElementStatusName.GetAt(1));
  CString strName;
  EXPECT_TRUE(CGlobalVars::g_mapElementStatus.Lookup(2, strName));
  EXPECT_EQ(CString(_T("拆除")), strName);
  EXPECT_FALSE(CGlobalVars::g_mapElementStatus.Lookup(7, strName));
  int nId = -1;
  EXPECT_TRUE(CGlobalVars::g_mapElementStatusOpp.Lookup(_T("新建"), nId));
  EXPECT_EQ(0, nId);
}

TEST_F(DBHelperTest, ReadMenuPutsEachEntrysItemsAfterIt) {
  MakeDatabase();
  ASSERT_EQ(1, CDBHelper::readConfigValue());
  ASSERT_EQ(1, CDBHelper::ReadMENU());
  CMenuArray& menu = *CGlobalVars::g_mMenu;
  ASSERT_EQ(5, menu.GetSize());
  EXPECT_TRUE(menu[0].isTopLevel);
  EXPECT_EQ(CString(_T("路测模拟")), menu[0].text1);
  EXPECT_EQ(CString(_T("_DT ")), menu[0].text2);
  EXPECT_FALSE(menu[1].isTopLevel);
  EXPECT_EQ(CString(_T("Road Text ")), menu[1].text1);
  EXPECT_EQ(CString(_T("运行路测模拟")), menu[1].text3);
  EXPECT_TRUE(menu[2].isTopLevel);
  EXPECT_TRUE(menu[2].text2.IsEmpty());  // NULL column
  EXPECT_EQ(CString(_T("馈线 ")), menu[3].text1);
  EXPECT_EQ(CString(_T("光纤 ")), menu[4].text1);
  // Reading again replaces the list.
  ASSERT_EQ(1, CDBHelper::ReadMENU());
  EXPECT_EQ(5, CGlobalVars::g_mMenu->GetSize());
}

TEST_F(DBHelperTest, ReadMenuWithoutSubMenuSqlLeavesTheListAlone) {
  MakeDatabase("DELETE FROM CONFIG WHERE KEYNAME = 'MENUSUBSQL';");
  ASSERT_EQ(1, CDBHelper::readConfigValue());
  kxmenu kept;
  kept.text1 = _T("kept");
  CGlobalVars::g_mMenu->Add(kept);
  EXPECT_EQ(0, CDBHelper::ReadMENU());
  ASSERT_EQ(1, CGlobalVars::g_mMenu->GetSize());
  EXPECT_EQ(CString(_T("kept")), CGlobalVars::g_mMenu->GetAt(0).text1);
}

TEST_F(DBHelperTest, ExcuteSqlReportsFailuresAndRunsAutoCommitted) {
  MakeDatabase();
  EXPECT_EQ(0, CDBHelper::ExcuteSql(_T("UPDATE NOSUCH SET A = 1")));
  EXPECT_EQ("\nno such table: NOSUCH", Transcript());
  CString strSql = _T("UPDATE CONFIG SET VALUES = '") + CDBHelper::EscapeSqlText(_T("a'b''c")) +
                   _T("' WHERE KEYNAME = 'LPDIMUNIT'");
  EXPECT_EQ(1, CDBHelper::ExcuteSql(strSql));
  CString strValue;
  EXPECT_EQ(1, CDBHelper::ReadOneValue(_T("SELECT VALUES FROM CONFIG WHERE KEYNAME = 'LPDIMUNIT'"), strValue));
  EXPECT_EQ(CString(_T("a'b''c")), strValue);
  int nValue = -1;
  EXPECT_EQ(1, CDBHelper::ReadOneValue(_T("SELECT COUNT(*) FROM LEVELMAPDATA"), nValue));
  EXPECT_EQ(31, nValue);
  nValue = -1;
  EXPECT_EQ(1, CDBHelper::ReadOneValue(_T("SELECT HEAD FROM LEVELMAPDATA WHERE HEAD < 0"), nValue));
  EXPECT_EQ(-1, nValue);
  EXPECT_EQ(0, CDBHelper::ReadOneValue(_T("SELECT NAME FROM KXL"), nValue));  // text is not a number
}

TEST_F(DBHelperTest, GetRecordsetPtrHandsBackAnOpenRecordset) {
  MakeDatabase();
  _RecordsetPtr pRs;
  ASSERT_EQ(1, CDBHelper::GetRecordsetPtr(pRs, _T("SELECT NAME FROM LEVELMAP ORDER BY ID")));
  ASSERT_TRUE(pRs != NULL);
  EXPECT_STREQ(L"GSM", (LPCTSTR)(_bstr_t)pRs->GetCollect(0L));
  pRs->Close();
  EXPECT_EQ(0, CDBHelper::GetRecordsetPtr(pRs, _T("SELECT NOSUCH FROM LEVELMAP")));
  EXPECT_EQ("\nno such column: NOSUCH", Transcript());
}

}  // namespace
