// Extended data: one text per registered application, written, read and
// removed.
#include "CommonUtils.h"

#include "adscodes.h"
#include "dbdatabase.h"
#include "dbhostapp.h"
#include "dbobject.h"
#include "dbsymtb.h"

namespace {

// Registers the application in the database when it is missing.
Acad::ErrorStatus RegisterApp(AcDbDatabase* pDb, LPCTSTR lpszAppName) {
  if (pDb == NULL) return Acad::eNoDatabase;
  AcDbRegAppTable* pAppTable = NULL;
  Acad::ErrorStatus es = pDb->getRegAppTable(pAppTable, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  if (pAppTable->has(lpszAppName)) {
    pAppTable->close();
    return Acad::eOk;
  }
  es = pAppTable->upgradeOpen();
  if (es != Acad::eOk) {
    pAppTable->close();
    return es;
  }
  AcDbRegAppTableRecord* pApp = new AcDbRegAppTableRecord;
  es = pApp->setName(lpszAppName);
  if (es == Acad::eOk) es = pAppTable->add(pApp);
  if (es != Acad::eOk)
    delete pApp;
  else
    pApp->close();
  pAppTable->close();
  return es;
}

}  // namespace

Acad::ErrorStatus CCommonUtils::addXdata(AcDbObject* pObj, LPCTSTR lpszAppName, LPCTSTR lpszText) {
  if (pObj == NULL) return Acad::eNullObjectPointer;
  if (lpszAppName == NULL || *lpszAppName == 0) return Acad::eInvalidInput;
  if (lpszText == NULL) lpszText = _T("");
  AcDbDatabase* pDb = pObj->database();
  if (pDb == NULL) pDb = acdbHostApplicationServices()->workingDatabase();
  Acad::ErrorStatus es = RegisterApp(pDb, lpszAppName);
  if (es != Acad::eOk) return es;

  if (!pObj->isWriteEnabled()) {
    es = pObj->upgradeOpen();
    if (es != Acad::eOk) return es;
  }
  resbuf* pRb = acutBuildList(1001, lpszAppName, 1000, lpszText, 0);
  es = pObj->setXData(pRb);
  acutRelRb(pRb);
  pObj->downgradeOpen();
  return es;
}

Acad::ErrorStatus CCommonUtils::addXdata(AcDbObjectId objId, LPCTSTR lpszAppName, LPCTSTR lpszText) {
  AcDbObject* pObj = NULL;
  Acad::ErrorStatus es = acdbOpenObject(pObj, objId, AcDb::kForWrite);
  if (es != Acad::eOk) return es;
  es = addXdata(pObj, lpszAppName, lpszText);
  pObj->close();
  return es;
}

bool CCommonUtils::getXdata(AcDbObjectId objId, LPCTSTR lpszAppName, CString& strText) {
  strText.Empty();
  AcDbObject* pObj = NULL;
  if (acdbOpenObject(pObj, objId, AcDb::kForRead) != Acad::eOk) return false;
  bool bFound = getXdata(pObj, lpszAppName, strText);
  pObj->close();
  return bFound;
}

bool CCommonUtils::getXdata(AcDbObject* pObj, LPCTSTR lpszAppName, CString& strText) {
  strText.Empty();
  // Without a name the host would hand out every application's data.
  if (pObj == NULL || lpszAppName == NULL || *lpszAppName == 0) return false;
  resbuf* pRb = pObj->xData(lpszAppName);
  if (pRb == NULL) return false;
  bool bFound = false;
  for (resbuf* pTemp = pRb; pTemp != NULL; pTemp = pTemp->rbnext) {
    if (pTemp->restype == 1000) {
      strText = pTemp->resval.rstring;
      bFound = true;
      break;
    }
  }
  acutRelRb(pRb);
  return bFound;
}

bool CCommonUtils::deleteXdata(AcDbObjectId objId, LPCTSTR lpszAppName) {
  AcDbObject* pObj = NULL;
  if (acdbOpenObject(pObj, objId, AcDb::kForWrite) != Acad::eOk) return false;
  bool bDone = deleteXdata(pObj, lpszAppName);
  pObj->close();
  return bDone;
}

bool CCommonUtils::deleteXdata(AcDbObject* pObj, LPCTSTR lpszAppName) {
  if (pObj == NULL || lpszAppName == NULL || *lpszAppName == 0) return false;
  if (!pObj->hasXData(lpszAppName)) return true;
  bool bUpgraded = false;
  if (!pObj->isWriteEnabled()) {
    if (pObj->upgradeOpen() != Acad::eOk) return false;
    bUpgraded = true;
  }
  // The application alone, without items, removes its data; the entry in
  // the application table stays.
  resbuf* pRb = acutBuildList(1001, lpszAppName, 0);
  Acad::ErrorStatus es = pObj->setXData(pRb);
  acutRelRb(pRb);
  if (bUpgraded) pObj->downgradeOpen();
  return es == Acad::eOk;
}
