// CDBRecordset: recordsets on the shared configuration-database connection,
// column conversions, and the open-walk-close pattern of the readers.
#include "DBRecordset.h"

#include "DBHelper.h"
#include "acutprint.h"

CDBRecordset::~CDBRecordset() { Release(); }

void CDBRecordset::Open(LPCTSTR lpszSql) {
  Release();
  HRESULT hr = m_pRs.CreateInstance(__uuidof(Recordset));
  if (FAILED(hr)) _com_issue_error(hr);
  m_pRs->Open(_variant_t(lpszSql), _variant_t((IDispatch*)CDBHelper::m_mdbConnect.GetInterfacePtr(), true),
              adOpenDynamic, adLockOptimistic, adCmdText);
}

BOOL CDBRecordset::IsEOF() { return m_pRs->adoEOF ? TRUE : FALSE; }

void CDBRecordset::MoveNext() { m_pRs->MoveNext(); }

_variant_t CDBRecordset::GetCollect(long nIndex) { return m_pRs->GetCollect(nIndex); }

_variant_t CDBRecordset::GetCollect(LPCTSTR lpszName) { return m_pRs->GetCollect(lpszName); }

void CDBRecordset::Close() {
  if (m_pRs != NULL && m_pRs->GetState() == adStateOpen) m_pRs->Close();
  m_pRs.Release();
}

void CDBRecordset::Release() {
  try {
    Close();
  } catch (const _com_error&) {
    // Released below in any case.
  }
  m_pRs.Release();
}

_RecordsetPtr CDBRecordset::Detach() {
  _RecordsetPtr pRs = m_pRs;
  m_pRs.Release();
  return pRs;
}

CString CDBRecordset::FieldText(const _variant_t& var) { return CString((LPCTSTR)(_bstr_t)var); }

CString CDBRecordset::FieldTextOrEmpty(const _variant_t& var) {
  if (var.vt == VT_NULL || var.vt == VT_EMPTY) return CString();
  return FieldText(var);
}

int CDBRecordset::FieldIntOrZero(const _variant_t& var) { return var.vt == VT_NULL ? 0 : (int)var; }

int CDBRecordset::ForEachRow(LPCTSTR lpszSql, const std::function<void(CDBRecordset&)>& fnRow, int nMaxRows) {
  CDBRecordset rs;
  try {
    rs.Open(lpszSql);
    for (int nRow = 0; !rs.IsEOF();) {
      fnRow(rs);
      if (nMaxRows >= 0 && ++nRow >= nMaxRows) break;
      rs.MoveNext();
    }
    rs.Close();
    return 1;
  } catch (const _com_error& e) {
    acutPrintf(_T("\n%s"), e.ErrorMessage());
    rs.Release();
    return 0;
  }
}
