// Access to the configuration database "setting.mdb" beside the module: the
// one shared connection and the readers that fill the global settings.
#pragma once

#include "afx.h"
#include "adodb.h"
#include "comdef.h"

class AFX_EXT_CLASS CDBHelper {
 public:
  // The process-wide connection; empty until the first successful connect.
  static _ConnectionPtr m_mdbConnect;

  static int ConnectDatabase();
  static int DisconnectDatabase();
  // Runs a statement that returns no rows.
  static int ExcuteSql(CString strSql);
  // Opens a recordset on the SQL text over the shared connection and hands it
  // to the caller, who closes it.
  static int GetRecordsetPtr(_RecordsetPtr& pRecordset, CString strSql);
  static int readConfigValue(CString strKey, CString& strValue);
  static int readConfigValue();
  static int ReadOneValue(CString strSql, int& nValue);
  static int ReadOneValue(CString strSql, CString& strValue);
  static int ReadPLineData();
  static int ReadElementStatus();
  static int ReadMENU();
  static int ReadMENU(CString strSql);

  // The text with every apostrophe doubled, for pasting between apostrophes
  // in a statement.
  static CString EscapeSqlText(LPCTSTR lpszText);
};
