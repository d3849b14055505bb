// CDBRecordset: a recordset on the shared connection to the configuration
// database, and the query pattern every reader of that database follows: open
// the SQL text (dynamic cursor, optimistic locking, command text), walk the
// rows, close and release; a COM error is printed on the command line.
#pragma once

#include <functional>

#include "afx.h"
#include "adodb.h"
#include "comdef.h"

class AFX_EXT_CLASS CDBRecordset {
 public:
  CDBRecordset() = default;
  // Closes and releases what is still open; never raises.
  ~CDBRecordset();
  CDBRecordset(const CDBRecordset&) = delete;
  CDBRecordset& operator=(const CDBRecordset&) = delete;

  // Opens a new recordset on the SQL text over CDBHelper::m_mdbConnect.
  // Raises a COM error when it cannot be made or opened.
  void Open(LPCTSTR lpszSql);
  BOOL IsEOF();
  void MoveNext();
  // The current row's value of a column, by position (from 0) or by name.
  _variant_t GetCollect(long nIndex);
  _variant_t GetCollect(LPCTSTR lpszName);
  // Closes and releases the recordset; raises a COM error when closing fails.
  void Close();
  // Closes the recordset where it can and releases it in any case; never raises.
  void Release();
  // Hands the open recordset to the caller, who closes it; this object is empty afterwards.
  _RecordsetPtr Detach();

  // A column value as text; a NULL raises the conversion's COM error.
  static CString FieldText(const _variant_t& var);
  // A column value as text, empty for NULL.
  static CString FieldTextOrEmpty(const _variant_t& var);
  // A column value as a 32-bit integer (the automation conversion), 0 for NULL.
  static int FieldIntOrZero(const _variant_t& var);

  // The readers' pattern: opens the SQL text, calls fnRow for each row (for
  // at most nMaxRows rows when that is not negative), closes and releases.
  // Returns 1; on a COM error prints "\n" and its message, releases the
  // recordset and returns 0; what fnRow stored before the error stays stored.
  static int ForEachRow(LPCTSTR lpszSql, const std::function<void(CDBRecordset&)>& fnRow, int nMaxRows = -1);

 private:
  _RecordsetPtr m_pRs;
};
