// The configuration database: the one shared connection to "setting.mdb" (made on
// first use, checked before every call), statements, and the readers that fill
// the configuration map, line settings, element statuses and menu lines.
#include "DBHelper.h"

#include "GlobalVars.h"
#include "acutprint.h"

_ConnectionPtr CDBHelper::m_mdbConnect;

namespace {

// The text of a column value that is known not to be NULL.
CString FieldText(const _variant_t& var) { return CString((LPCTSTR)(_bstr_t)var); }

// The text of a NULL-tolerant column: empty when NULL.
CString FieldTextOrEmpty(const _variant_t& var) {
  if (var.vt == VT_NULL || var.vt == VT_EMPTY) return CString();
  return FieldText(var);
}

// Opens a recordset on strSql over the shared connection (dynamic cursor,
// optimistic locking, command text). Raises a COM error on failure.
void OpenRecordset(_RecordsetPtr& pRs, const CString& strSql) {
  HRESULT hr = pRs.CreateInstance(__uuidof(Recordset));
  if (FAILED(hr)) _com_issue_error(hr);
  pRs->Open(_variant_t(strSql), _variant_t((IDispatch*)CDBHelper::m_mdbConnect.GetInterfacePtr(), true),
            adOpenDynamic, adLockOptimistic, adCmdText);
}

void CloseRecordset(_RecordsetPtr& pRs) {
  if (pRs != NULL && pRs->GetState() == adStateOpen) pRs->Close();
  pRs.Release();
}

// Reports a COM error of a reader and releases its recordset.
void ReportError(const _com_error& e, _RecordsetPtr& pRs) {
  acutPrintf(_T("\n%s"), e.ErrorMessage());
  try {
    CloseRecordset(pRs);
  } catch (const _com_error&) {
    pRs.Release();
  }
}

}  // namespace

CString CDBHelper::EscapeSqlText(LPCTSTR lpszText) {
  CString strText(lpszText);
  strText.Replace(_T("'"), _T("''"));
  return strText;
}

int CDBHelper::ConnectDatabase() {
  try {
    if (m_mdbConnect != NULL) {
      if (m_mdbConnect->GetState() == adStateOpen) return 1;
      m_mdbConnect.Release();
    }
    HRESULT hr = m_mdbConnect.CreateInstance(__uuidof(Connection));
    if (FAILED(hr)) {
      m_mdbConnect = NULL;
      acutPrintf(_T("\n创建对象失败."));
      return 0;
    }
    CString strConnect = _T("Provider=Microsoft.Jet.OLEDB.4.0;");
    strConnect += _T("Data Source=");
    strConnect += CGlobalVars::g_CurPath;
    strConnect += _T("setting.mdb;Jet OLEDB:Database Password=");
    strConnect += _T("Qm4!xT7,pL2#wZ9^kR5'");
    hr = m_mdbConnect->Open(_bstr_t(strConnect), _bstr_t(_T("")), _bstr_t(_T("")), adConnectUnspecified);
    if (SUCCEEDED(hr)) return 1;
    acutPrintf(_T("\n连接本地配置数据库失败"));
    return 0;
  } catch (const _com_error& e) {
    acutPrintf(_T("\n%s"), e.ErrorMessage());
    return 0;
  } catch (...) {
    acutPrintf(_T("\n连接本地配置数据库失败"));
    return 0;
  }
}

int CDBHelper::DisconnectDatabase() {
  try {
    if (m_mdbConnect != NULL && m_mdbConnect->GetState() == adStateOpen) m_mdbConnect->Close();
  } catch (const _com_error&) {
    // Closing is best effort: the connection is released in any case.
  }
  m_mdbConnect.Release();
  return 1;
}

int CDBHelper::ExcuteSql(CString strSql) {
  if (!ConnectDatabase()) return 0;
  try {
    _variant_t RecordsAffected;
    // Whatever recordset the call returns is released at once.
    m_mdbConnect->Execute(_bstr_t(strSql), &RecordsAffected, adCmdText);
    return 1;
  } catch (const _com_error& e) {
    acutPrintf(_T("\n%s"), e.ErrorMessage());
    return 0;
  }
}

int CDBHelper::GetRecordsetPtr(_RecordsetPtr& pRecordset, CString strSql) {
  if (!ConnectDatabase()) return 0;
  _RecordsetPtr pRs;
  try {
    OpenRecordset(pRs, strSql);
    pRecordset = pRs;
    return 1;
  } catch (const _com_error& e) {
    ReportError(e, pRs);
    return 0;
  }
}

int CDBHelper::readConfigValue(CString strKey, CString& strValue) {
  if (!ConnectDatabase()) return 0;
  CString strSql = _T("select VALUES from CONFIG where KEYNAME='") + EscapeSqlText(strKey) + _T("'");
  _RecordsetPtr pRs;
  try {
    OpenRecordset(pRs, strSql);
    if (!pRs->adoEOF) {
      _variant_t var = pRs->GetCollect(_T("VALUES"));
      if (var.vt != VT_NULL) strValue = FieldText(var);
    }
    CloseRecordset(pRs);
    return 1;
  } catch (const _com_error& e) {
    ReportError(e, pRs);
    return 0;
  }
}

int CDBHelper::readConfigValue() {
  if (!ConnectDatabase()) return 0;
  CString strSql;
  if (!readConfigValue(_T("CONFIGSQL"), strSql)) return 0;
  _RecordsetPtr pRs;
  try {
    OpenRecordset(pRs, strSql);
    while (!pRs->adoEOF) {
      CString strKey = FieldText(pRs->GetCollect(0L));
      CString strValue = FieldText(pRs->GetCollect(1L));
      strKey.Trim();
      strKey.MakeUpper();
      CGlobalVars::g_mapConfig.SetAt(strKey, strValue);
      pRs->MoveNext();
    }
    CloseRecordset(pRs);
    return 1;
  } catch (const _com_error& e) {
    ReportError(e, pRs);
    return 0;
  }
}

int CDBHelper::ReadOneValue(CString strSql, int& nValue) {
  if (!ConnectDatabase()) return 0;
  _RecordsetPtr pRs;
  try {
    OpenRecordset(pRs, strSql);
    if (!pRs->adoEOF) {
      _variant_t var = pRs->GetCollect(0L);
      if (var.vt != VT_NULL) nValue = (int)var;
    }
    CloseRecordset(pRs);
    return 1;
  } catch (const _com_error& e) {
    ReportError(e, pRs);
    return 0;
  }
}

int CDBHelper::ReadOneValue(CString strSql, CString& strValue) {
  if (!ConnectDatabase()) return 0;
  _RecordsetPtr pRs;
  try {
    OpenRecordset(pRs, strSql);
    if (!pRs->adoEOF) {
      _variant_t var = pRs->GetCollect(0L);
      if (var.vt != VT_NULL) strValue = FieldText(var);
    }
    CloseRecordset(pRs);
    return 1;
  } catch (const _com_error& e) {
    ReportError(e, pRs);
    return 0;
  }
}

int CDBHelper::ReadPLineData() {
  if (!ConnectDatabase()) return 0;
  _RecordsetPtr pRs;
  try {
    OpenRecordset(pRs, _T("SELECT NAME FROM KXL"));
    while (!pRs->adoEOF) {
      _variant_t var = pRs->GetCollect(_T("NAME"));
      if (var.vt != VT_NULL) CGlobalVars::g_arPLineName.Add(FieldText(var));
      pRs->MoveNext();
    }
    CloseRecordset(pRs);

    OpenRecordset(pRs, _T("SELECT A.NAME,B.TYPE,B.STATUS,B.LINECOLOR,B.LINETYPE,B.LINEWEIGHT,B.LINESC,B.LINELAYER,")
                       _T("B.SHOWDIM,B.DIMHEIGTH FROM KXL A,KXLINESETTING B WHERE A.ID = B.ID"));
    while (!pRs->adoEOF) {
      plinedata data;
      data.name = FieldTextOrEmpty(pRs->GetCollect(_T("NAME")));
      data.type = (int)pRs->GetCollect(_T("TYPE"));
      data.status = (int)pRs->GetCollect(_T("STATUS"));
      data.isTypeOne = data.type == 1;
      data.lineColor = (int)pRs->GetCollect(_T("LINECOLOR"));
      data.lineType = FieldTextOrEmpty(pRs->GetCollect(_T("LINETYPE")));
      data.idSlot1 = 0;
      data.lineWeight = (int)pRs->GetCollect(_T("LINEWEIGHT"));
      // Through a 32-bit integer first: 2.5 becomes 2.0 and 2.7 becomes 3.0.
      data.lineScale = (double)(int)pRs->GetCollect(_T("LINESC"));
      _variant_t varLayer = pRs->GetCollect(_T("LINELAYER"));
      data.lineLayer = varLayer.vt == VT_NULL ? data.name : FieldTextOrEmpty(varLayer);
      data.idSlot2 = 0;
      data.showDim = (int)pRs->GetCollect(_T("SHOWDIM")) != 0;
      data.dimHeight = (double)pRs->GetCollect(_T("DIMHEIGTH"));
      CString strKey;
      strKey.Format(_T("%s+%i+%i"), (LPCTSTR)data.name, data.type, data.status);
      CGlobalVars::g_mapPLineData.SetAt(strKey, data);
      pRs->MoveNext();
    }
    CloseRecordset(pRs);
    return 1;
  } catch (const _com_error& e) {
    ReportError(e, pRs);
    return 0;
  }
}

int CDBHelper::ReadElementStatus() {
  if (!ConnectDatabase()) return 0;
  _RecordsetPtr pRs;
  try {
    OpenRecordset(pRs, _T("SELECT NAME, ID FROM ELEMENTSTATUS"));
    while (!pRs->adoEOF) {
      _variant_t varName = pRs->GetCollect(0L);
      if (varName.vt != VT_NULL) {
        CString strName = FieldText(varName);
        CGlobalVars::g_arElementStatusName.Add(strName);
        int nId = (int)pRs->GetCollect(1L);
        CGlobalVars::g_mapElementStatus.SetAt(nId, strName);
        CGlobalVars::g_mapElementStatusOpp.SetAt(strName, nId);
      }
      pRs->MoveNext();
    }
    CloseRecordset(pRs);
    return 1;
  } catch (const _com_error& e) {
    ReportError(e, pRs);
    return 0;
  }
}

int CDBHelper::ReadMENU() {
  if (!ConnectDatabase()) return 0;
  CString strMenuSql, strSubSql;
  if (!CGlobalVars::g_mapConfig.Lookup(_T("MENUSQL"), strMenuSql) ||
      !CGlobalVars::g_mapConfig.Lookup(_T("MENUSUBSQL"), strSubSql)) {
    return 0;
  }
  CGlobalVars::g_mMenu->RemoveAll();
  CGlobalVars::g_mMenu->SetSize(0, 300);
  _RecordsetPtr pRs;
  try {
    OpenRecordset(pRs, strMenuSql);
    while (!pRs->adoEOF) {
      CString strId = FieldText(pRs->GetCollect(0L));
      kxmenu menu;
      menu.text1 = FieldTextOrEmpty(pRs->GetCollect(1L));
      menu.text2 = FieldTextOrEmpty(pRs->GetCollect(2L));
      menu.text3 = FieldTextOrEmpty(pRs->GetCollect(3L));
      menu.isTopLevel = true;
      CGlobalVars::g_mMenu->Add(menu);
      CString strSql = strSubSql;
      strSql.Replace(_T("%s"), strId);
      ReadMENU(strSql);
      pRs->MoveNext();
    }
    CloseRecordset(pRs);
    return 1;
  } catch (const _com_error& e) {
    ReportError(e, pRs);
    return 0;
  }
}

int CDBHelper::ReadMENU(CString strSql) {
  if (!ConnectDatabase()) return 0;
  _RecordsetPtr pRs;
  try {
    OpenRecordset(pRs, strSql);
    while (!pRs->adoEOF) {
      kxmenu menu;
      _variant_t var = pRs->GetCollect(0L);
      if (var.vt != VT_NULL) menu.text1 = FieldText(var) + _T(" ");
      menu.text2 = FieldTextOrEmpty(pRs->GetCollect(1L));
      menu.text3 = FieldTextOrEmpty(pRs->GetCollect(2L));
      menu.isTopLevel = false;
      CGlobalVars::g_mMenu->Add(menu);
      pRs->MoveNext();
    }
    CloseRecordset(pRs);
    return 1;
  } catch (const _com_error& e) {
    ReportError(e, pRs);
    return 0;
  }
}
