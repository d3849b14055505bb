// The configuration database: the one shared connection to "setting.mdb" (made on
// first use, checked before every call), statements, and the readers that fill
// the configuration map, line settings, element statuses and menu lines.
#include "DBHelper.h"

#include "DBRecordset.h"
#include "GlobalVars.h"
#include "acutprint.h"

_ConnectionPtr CDBHelper::m_mdbConnect;

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
  CDBRecordset rs;
  try {
    rs.Open(strSql);
    pRecordset = rs.Detach();
    return 1;
  } catch (const _com_error& e) {
    acutPrintf(_T("\n%s"), e.ErrorMessage());
    return 0;
  }
}

int CDBHelper::readConfigValue(CString strKey, CString& strValue) {
  if (!ConnectDatabase()) return 0;
  CString strSql = _T("select VALUES from CONFIG where KEYNAME='") + EscapeSqlText(strKey) + _T("'");
  return CDBRecordset::ForEachRow(strSql, [&](CDBRecordset& rs) {
    _variant_t var = rs.GetCollect(_T("VALUES"));
    if (var.vt != VT_NULL) strValue = CDBRecordset::FieldText(var);
  }, 1);
}

int CDBHelper::readConfigValue() {
  if (!ConnectDatabase()) return 0;
  CString strSql;
  if (!readConfigValue(_T("CONFIGSQL"), strSql)) return 0;
  return CDBRecordset::ForEachRow(strSql, [](CDBRecordset& rs) {
    CString strKey = CDBRecordset::FieldText(rs.GetCollect(0L));
    CString strValue = CDBRecordset::FieldText(rs.GetCollect(1L));
    strKey.Trim();
    strKey.MakeUpper();
    CGlobalVars::g_mapConfig.SetAt(strKey, strValue);
  });
}

int CDBHelper::ReadOneValue(CString strSql, int& nValue) {
  if (!ConnectDatabase()) return 0;
  return CDBRecordset::ForEachRow(strSql, [&](CDBRecordset& rs) {
    _variant_t var = rs.GetCollect(0L);
    if (var.vt != VT_NULL) nValue = (int)var;
  }, 1);
}

int CDBHelper::ReadOneValue(CString strSql, CString& strValue) {
  if (!ConnectDatabase()) return 0;
  return CDBRecordset::ForEachRow(strSql, [&](CDBRecordset& rs) {
    _variant_t var = rs.GetCollect(0L);
    if (var.vt != VT_NULL) strValue = CDBRecordset::FieldText(var);
  }, 1);
}

int CDBHelper::ReadPLineData() {
  if (!ConnectDatabase()) return 0;
  if (!CDBRecordset::ForEachRow(_T("SELECT NAME FROM KXL"), [](CDBRecordset& rs) {
        _variant_t var = rs.GetCollect(_T("NAME"));
        if (var.vt != VT_NULL) CGlobalVars::g_arPLineName.Add(CDBRecordset::FieldText(var));
      })) {
    return 0;
  }
  return CDBRecordset::ForEachRow(
      _T("SELECT A.NAME,B.TYPE,B.STATUS,B.LINECOLOR,B.LINETYPE,B.LINEWEIGHT,B.LINESC,B.LINELAYER,")
      _T("B.SHOWDIM,B.DIMHEIGTH FROM KXL A,KXLINESETTING B WHERE A.ID = B.ID"),
      [](CDBRecordset& rs) {
        plinedata data;
        data.name = CDBRecordset::FieldTextOrEmpty(rs.GetCollect(_T("NAME")));
        data.type = (int)rs.GetCollect(_T("TYPE"));
        data.status = (int)rs.GetCollect(_T("STATUS"));
        data.isTypeOne = data.type == 1;
        data.lineColor = (int)rs.GetCollect(_T("LINECOLOR"));
        data.lineType = CDBRecordset::FieldTextOrEmpty(rs.GetCollect(_T("LINETYPE")));
        data.idSlot1 = 0;
        data.lineWeight = (int)rs.GetCollect(_T("LINEWEIGHT"));
        // Through a 32-bit integer first: 2.5 becomes 2.0 and 2.7 becomes 3.0.
        data.lineScale = (double)(int)rs.GetCollect(_T("LINESC"));
        _variant_t varLayer = rs.GetCollect(_T("LINELAYER"));
        data.lineLayer = varLayer.vt == VT_NULL ? data.name : CDBRecordset::FieldTextOrEmpty(varLayer);
        data.idSlot2 = 0;
        data.showDim = (int)rs.GetCollect(_T("SHOWDIM")) != 0;
        data.dimHeight = (double)rs.GetCollect(_T("DIMHEIGTH"));
        CString strKey;
        strKey.Format(_T("%s+%i+%i"), (LPCTSTR)data.name, data.type, data.status);
        CGlobalVars::g_mapPLineData.SetAt(strKey, data);
      });
}

int CDBHelper::ReadElementStatus() {
  if (!ConnectDatabase()) return 0;
  return CDBRecordset::ForEachRow(_T("SELECT NAME, ID FROM ELEMENTSTATUS"), [](CDBRecordset& rs) {
    _variant_t varName = rs.GetCollect(0L);
    if (varName.vt == VT_NULL) return;
    CString strName = CDBRecordset::FieldText(varName);
    CGlobalVars::g_arElementStatusName.Add(strName);
    int nId = (int)rs.GetCollect(1L);
    CGlobalVars::g_mapElementStatus.SetAt(nId, strName);
    CGlobalVars::g_mapElementStatusOpp.SetAt(strName, nId);
  });
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
  return CDBRecordset::ForEachRow(strMenuSql, [&](CDBRecordset& rs) {
    CString strId = CDBRecordset::FieldText(rs.GetCollect(0L));
    kxmenu menu;
    menu.text1 = CDBRecordset::FieldTextOrEmpty(rs.GetCollect(1L));
    menu.text2 = CDBRecordset::FieldTextOrEmpty(rs.GetCollect(2L));
    menu.text3 = CDBRecordset::FieldTextOrEmpty(rs.GetCollect(3L));
    menu.isTopLevel = true;
    CGlobalVars::g_mMenu->Add(menu);
    // The row's sub-menu entries follow it directly.
    CString strSql = strSubSql;
    strSql.Replace(_T("%s"), strId);
    ReadMENU(strSql);
  });
}

int CDBHelper::ReadMENU(CString strSql) {
  if (!ConnectDatabase()) return 0;
  return CDBRecordset::ForEachRow(strSql, [](CDBRecordset& rs) {
    kxmenu menu;
    _variant_t var = rs.GetCollect(0L);
    if (var.vt != VT_NULL) menu.text1 = CDBRecordset::FieldText(var) + _T(" ");
    menu.text2 = CDBRecordset::FieldTextOrEmpty(rs.GetCollect(1L));
    menu.text3 = CDBRecordset::FieldTextOrEmpty(rs.GetCollect(2L));
    menu.isTopLevel = false;
    CGlobalVars::g_mMenu->Add(menu);
  });
}
