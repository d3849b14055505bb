// The level-band table: loading the bands of one network type with their shares
// turned into point counts, and writing edited band names back.
#include "LevelBands.h"

#include <climits>
#include <exception>
#include <new>

#include "DBHelper.h"
#include "acutprint.h"

namespace {

int FieldInt(const _variant_t& var) { return var.vt == VT_NULL ? 0 : (int)var; }

CString FieldText(const _variant_t& var) {
  return var.vt == VT_NULL ? CString() : CString((LPCTSTR)(_bstr_t)var);
}

void ReleaseRecordset(_RecordsetPtr& pRs) {
  try {
    if (pRs != NULL && pRs->GetState() == adStateOpen) pRs->Close();
  } catch (const _com_error&) {
    // Released below in any case.
  }
  pRs.Release();
}

}  // namespace

void CLevelBandTable::ClearBandMap(CLevelBandMap& levelMap) {
  POSITION pos = levelMap.GetStartPosition();
  while (pos != NULL) {
    CString strKey;
    CLevelBandArray* pBands = NULL;
    levelMap.GetNextAssoc(pos, strKey, pBands);
    delete pBands;
  }
  levelMap.RemoveAll();
}

BOOL CLevelBandTable::LoadBandTable(LPCTSTR lpszNetType, int nPointCount, CLevelBandMap& levelMap,
                                    CStringArray& typeNames) {
  ClearBandMap(levelMap);
  levelMap.InitHashTable(17);
  typeNames.RemoveAll();

  CString strNetType(lpszNetType);
  if (strNetType.IsEmpty()) return FALSE;
  if (!CDBHelper::ConnectDatabase()) return FALSE;

  CString strSql;
  strSql.Format(_T("SELECT B.NAME,A.COLOR,A.NAME,A.NUM, A.HEAD FROM LEVELMAPDATA A, LEVELMAPTYPE B, LEVELMAP C ")
                _T("WHERE A.ID = B.ID AND B.TYPEID = C.ID AND C.NAME = '%s' ORDER BY B.ORDER, A.ID,A.ORDER"),
                (LPCTSTR)CDBHelper::EscapeSqlText(strNetType));

  _RecordsetPtr pRs;
  try {
    HRESULT hr = pRs.CreateInstance(__uuidof(Recordset));
    if (FAILED(hr)) _com_issue_error(hr);
    pRs->Open(_variant_t(strSql), _variant_t((IDispatch*)CDBHelper::m_mdbConnect.GetInterfacePtr(), true),
              adOpenDynamic, adLockOptimistic, adCmdText);
    while (!pRs->adoEOF) {
      _variant_t varGroup = pRs->GetCollect(0L);
      if (varGroup.vt != VT_NULL) {
        CString strGroup((LPCTSTR)(_bstr_t)varGroup);
        levelmapdb band;
        band.color = FieldInt(pRs->GetCollect(1L));
        band.name = FieldText(pRs->GetCollect(2L));
        band.num = FieldInt(pRs->GetCollect(3L));
        band.head = FieldText(pRs->GetCollect(4L));
        band.remain = 0;
        CLevelBandArray* pBands = NULL;
        if (!levelMap.Lookup(strGroup, pBands)) {
          typeNames.Add(strGroup);
          pBands = new CLevelBandArray;
          pBands->SetSize(0, 8);
          levelMap.SetAt(strGroup, pBands);
        }
        pBands->Add(band);
      }
      pRs->MoveNext();
    }
  } catch (const std::bad_alloc&) {
    // Out of memory: stop reading and count what was read.
  } catch (const _com_error& e) {
    acutPrintf(_T("\n%s"), e.ErrorMessage());
    ReleaseRecordset(pRs);
    return FALSE;
  } catch (const std::exception& e) {
    CString strMessage(e.what());
    acutPrintf(_T("\n%s"), (LPCTSTR)strMessage.Left(1024));
    ReleaseRecordset(pRs);
    return FALSE;
  }
  ReleaseRecordset(pRs);

  for (INT_PTR i = 0; i < typeNames.GetSize(); ++i) {
    CLevelBandArray* pBands = NULL;
    if (levelMap.Lookup(typeNames.GetAt(i), pBands) && pBands != NULL) ConvertSharesToCounts(*pBands, nPointCount);
  }
  return TRUE;
}

void CLevelBandTable::ConvertSharesToCounts(CLevelBandArray& arBands, int nPointCount) {
  if (arBands.GetSize() == 0) return;
  // 64-bit arithmetic: N x share overflows 32 bits for large N. Results are
  // the same as in 32 bits wherever those did not overflow.
  long long nSum = 0;
  INT_PTR nLastPositive = 0;
  for (INT_PTR i = 0; i < arBands.GetSize(); ++i) {
    levelmapdb& band = arBands.ElementAt(i);
    if (band.num > 0) {
      long long nCount = (long long)nPointCount * band.num / 100;
      if (nCount > INT_MAX) nCount = INT_MAX;
      if (nCount < INT_MIN) nCount = INT_MIN;
      band.num = (int)nCount;
      nSum += band.num;
      nLastPositive = i;
    }
  }
  levelmapdb& last = arBands.ElementAt(nLastPositive);
  if (nSum != nPointCount) {
    long long nCorrected = (long long)nPointCount - nSum + last.num;
    if (nCorrected >= 0) last.num = (int)nCorrected;
  }
}

void CLevelBandTable::SaveBandNames(const CLevelBandMap& levelMap, const CStringArray& typeNames) {
  // The updates share one transaction when the connection is open: each
  // durable commit costs a disk flush, so one commit for all names instead
  // of one per band. A failing update still does not stop the others.
  BOOL bTransaction = FALSE;
  try {
    if (CDBHelper::m_mdbConnect != NULL && CDBHelper::m_mdbConnect->GetState() == adStateOpen) {
      CDBHelper::m_mdbConnect->BeginTrans();
      bTransaction = TRUE;
    }
  } catch (const _com_error& e) {
    acutPrintf(_T("\n%s"), e.ErrorMessage());
  }
  for (INT_PTR i = 0; i < typeNames.GetSize(); ++i) {
    CLevelBandArray* pBands = NULL;
    if (!levelMap.Lookup(typeNames.GetAt(i), pBands) || pBands == NULL) continue;
    for (INT_PTR j = 0; j < pBands->GetSize(); ++j) {
      const levelmapdb& band = pBands->GetAt(j);
      CString strSql;
      strSql.Format(_T("UPDATE LEVELMAPDATA SET NAME = '%s' WHERE HEAD = %s"),
                    (LPCTSTR)CDBHelper::EscapeSqlText(band.name), (LPCTSTR)band.head);
      CDBHelper::ExcuteSql(strSql);
    }
  }
  if (!bTransaction) return;
  try {
    CDBHelper::m_mdbConnect->CommitTrans();
  } catch (const _com_error& e) {
    acutPrintf(_T("\n%s"), e.ErrorMessage());
    try {
      CDBHelper::m_mdbConnect->RollbackTrans();
    } catch (const _com_error&) {
      // The failed commit has already ended the transaction.
    }
  }
}
