// The level-band table: loading the bands of one network type with their shares
// turned into point counts, and writing edited band names back.
#include "LevelBands.h"

#include <climits>
#include <exception>
#include <new>

#include "DBHelper.h"
#include "DBRecordset.h"
#include "acutprint.h"

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

  // The recordset is closed and released when rs goes, on every path.
  CDBRecordset rs;
  try {
    rs.Open(strSql);
    while (!rs.IsEOF()) {
      _variant_t varGroup = rs.GetCollect(0L);
      if (varGroup.vt != VT_NULL) {
        CString strGroup = CDBRecordset::FieldText(varGroup);
        levelmapdb band;
        band.color = CDBRecordset::FieldIntOrZero(rs.GetCollect(1L));
        band.name = CDBRecordset::FieldTextOrEmpty(rs.GetCollect(2L));
        band.num = CDBRecordset::FieldIntOrZero(rs.GetCollect(3L));
        band.head = CDBRecordset::FieldTextOrEmpty(rs.GetCollect(4L));
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
      rs.MoveNext();
    }
  } catch (const std::bad_alloc&) {
    // Out of memory: stop reading and count what was read.
  } catch (const _com_error& e) {
    acutPrintf(_T("\n%s"), e.ErrorMessage());
    return FALSE;
  } catch (const std::exception& e) {
    CString strMessage(e.what());
    acutPrintf(_T("\n%s"), (LPCTSTR)strMessage.Left(1024));
    return FALSE;
  }
  rs.Release();

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

namespace {

// The transaction of one save on the shared connection. Unless it was
// committed, it is rolled back when the guard goes, so no path (an
// exception included) leaves the connection inside an open transaction.
class CBandNameTransaction {
 public:
  CBandNameTransaction() {
    try {
      if (CDBHelper::m_mdbConnect != NULL && CDBHelper::m_mdbConnect->GetState() == adStateOpen) {
        CDBHelper::m_mdbConnect->BeginTrans();
        m_pConnect = CDBHelper::m_mdbConnect;
      }
    } catch (const _com_error& e) {
      acutPrintf(_T("\n%s"), e.ErrorMessage());
    }
  }
  ~CBandNameTransaction() { Rollback(); }
  CBandNameTransaction(const CBandNameTransaction&) = delete;
  CBandNameTransaction& operator=(const CBandNameTransaction&) = delete;

  BOOL IsOpen() const { return m_pConnect != NULL; }

  // TRUE when the updates reached the database together; otherwise the
  // failure is reported and the transaction rolled back.
  BOOL Commit() {
    if (m_pConnect == NULL) return FALSE;
    try {
      m_pConnect->CommitTrans();
      m_pConnect = NULL;
      return TRUE;
    } catch (const _com_error& e) {
      acutPrintf(_T("\n%s"), e.ErrorMessage());
    }
    Rollback();
    return FALSE;
  }

 private:
  void Rollback() {
    if (m_pConnect == NULL) return;
    _ConnectionPtr pConnect = m_pConnect;
    m_pConnect = NULL;
    try {
      pConnect->RollbackTrans();
    } catch (...) {
      // A failed commit may already have ended the transaction.
    }
  }

  _ConnectionPtr m_pConnect;
};

}  // namespace

void CLevelBandTable::SaveBandNames(const CLevelBandMap& levelMap, const CStringArray& typeNames) {
  CStringArray arStatements;
  for (INT_PTR i = 0; i < typeNames.GetSize(); ++i) {
    CLevelBandArray* pBands = NULL;
    if (!levelMap.Lookup(typeNames.GetAt(i), pBands) || pBands == NULL) continue;
    for (INT_PTR j = 0; j < pBands->GetSize(); ++j) {
      const levelmapdb& band = pBands->GetAt(j);
      CString strSql;
      strSql.Format(_T("UPDATE LEVELMAPDATA SET NAME = '%s' WHERE HEAD = %s"),
                    (LPCTSTR)CDBHelper::EscapeSqlText(band.name), (LPCTSTR)band.head);
      arStatements.Add(strSql);
    }
  }

  // The updates share one transaction when the connection is open: each
  // durable commit costs a disk flush, so one commit for all names instead
  // of one per band. A failing update still does not stop the others.
  CStringArray arDone;
  CBandNameTransaction transaction;
  for (INT_PTR i = 0; i < arStatements.GetSize(); ++i) {
    if (CDBHelper::ExcuteSql(arStatements.GetAt(i))) arDone.Add(arStatements.GetAt(i));
  }
  if (!transaction.IsOpen() || transaction.Commit()) return;
  // The failed commit took every update with it: the ones that succeeded
  // run again one by one, so each that can be kept is kept.
  for (INT_PTR i = 0; i < arDone.GetSize(); ++i) CDBHelper::ExcuteSql(arDone.GetAt(i));
}
