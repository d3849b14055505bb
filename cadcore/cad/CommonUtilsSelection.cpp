// Selection sets, object ids and handles, entities by layer, kind and
// extended data, erasing, highlighting and extents.
#include "CommonUtils.h"

#include <cwchar>

#include "acdocman.h"
#include "acedalert.h"
#include "acedsel.h"
#include "acutprint.h"
#include "dbdatabase.h"
#include "dbentity.h"
#include "dbhostapp.h"
#include "dbobject.h"
#include "dbsymtb.h"
#include "rxobject.h"

namespace {

// Opens "*MODEL_SPACE" of the database for read: the block table's status
// when the table cannot be opened (the caller reports it), else the record's.
Acad::ErrorStatus OpenModelSpace(AcDbDatabase* pDb, AcDbBlockTableRecord*& pSpace, bool& bTableFailed) {
  pSpace = NULL;
  bTableFailed = false;
  AcDbBlockTable* pBlockTable = NULL;
  Acad::ErrorStatus es = pDb != NULL ? pDb->getBlockTable(pBlockTable, AcDb::kForRead) : Acad::eNoDatabase;
  if (es != Acad::eOk) {
    bTableFailed = true;
    return es;
  }
  es = pBlockTable->getAt(_T("*MODEL_SPACE"), pSpace, AcDb::kForRead);
  pBlockTable->close();
  return es;
}

AcDbDatabase* DbOrWorking(AcDbDatabase* pDb) {
  return pDb != NULL ? pDb : acdbHostApplicationServices()->workingDatabase();
}

// The class the runtime's class dictionary holds under the name, or null.
AcRxClass* ClassByName(LPCTSTR lpszClassName) {
  if (lpszClassName == NULL || lpszClassName[0] == 0) return NULL;
  AcRxDictionary* pClasses = AcRxDictionary::cast(acrxSysRegistry()->at(ACRX_CLASS_DICTIONARY));
  if (pClasses == NULL) return NULL;
  return AcRxClass::cast(pClasses->at(lpszClassName));
}

}  // namespace

bool CCommonUtils::selectObject(const ACHAR* pszMode, LPCTSTR lpszPrompt, const resbuf* pFilter,
                                AcDbObjectIdArray& arIds) {
  const ACHAR* arPrompts[2] = {lpszPrompt, _T("\n取消选择:")};
  // The prompts travel where other modes expect corner points: they go only
  // with the mode that says so (":$"), never read as points.
  const void* pPrompts = pszMode != NULL && wcsstr(pszMode, _T(":$")) != NULL ? arPrompts : NULL;
  ads_name ssName = {0, 0};
  if (acedSSGet(pszMode, pPrompts, NULL, pFilter, ssName) != RTNORM) {
    acedSSFree(ssName);
    return false;
  }
  bool bFound = convertSSetToId(ssName, arIds);
  acedSSFree(ssName);
  return bFound && arIds.length() > 0;
}

bool CCommonUtils::convertSSetToId(ads_name ssName, AcDbObjectIdArray& arIds) {
  return convertFromEntnameToId(ssName, arIds) != 0;
}

int CCommonUtils::convertFromEntnameToId(ads_name ssName, AcDbObjectIdArray& arIds) {
  arIds.removeAll();
  Adesk::Int32 nLength = 0;
  if (acedSSLength(ssName, &nLength) != RTNORM || nLength == 0) return 0;
  for (Adesk::Int32 i = 0; i < nLength; i++) {
    ads_name entName;
    if (acedSSName(ssName, i, entName) != RTNORM) continue;
    AcDbObjectId objId;
    if (acdbGetObjectId(objId, entName) != Acad::eOk || objId.isNull()) continue;
    arIds.append(objId);
  }
  return arIds.length() > 0 ? 1 : 0;
}

CString CCommonUtils::GetHandles(const AcDbObjectIdArray& arIds) {
  CString strHandles;
  for (int i = 0; i < arIds.length(); i++) {
    CString strHandle = GetHandle(arIds[i]);
    if (strHandle.IsEmpty()) continue;
    if (!strHandles.IsEmpty()) strHandles += _T(' ');
    strHandles += strHandle;
  }
  return strHandles;
}

CString CCommonUtils::GetHandle(AcDbObjectId objId) {
  if (objId.isNull()) return CString();
  AcDbHandle handle = objId.handle();
  if (handle.isNull()) return CString();
  ACHAR szHandle[17] = {0};
  handle.getIntoAsciiBuffer(szHandle, 17);
  return CString(szHandle);
}

bool CCommonUtils::getObjectIdByHandle(LPCTSTR lpszHandle, AcDbObjectId& objId) {
  return GetObjectId(lpszHandle, objId, NULL);
}

bool CCommonUtils::GetObjectIdsByHandle(LPCTSTR lpszHandles, AcDbObjectIdArray& arIds) {
  CString strText = lpszHandles;
  if (strText.IsEmpty()) return false;
  // Pieces between blanks, empty ones included (they name no object).
  int nFound = 0;
  int nStart = 0;
  for (;;) {
    int nBlank = strText.Find(_T(' '), nStart);
    CString strPiece = nBlank < 0 ? strText.Mid(nStart) : strText.Mid(nStart, nBlank - nStart);
    AcDbObjectId objId;
    if (!strPiece.IsEmpty() && getObjectIdByHandle(strPiece, objId)) {
      arIds.append(objId);
      nFound++;
    }
    if (nBlank < 0) break;
    nStart = nBlank + 1;
  }
  return nFound > 0;
}

bool CCommonUtils::GetObjectId(LPCTSTR lpszHandle, AcDbObjectId& objId, AcDbDatabase* pDb) {
  pDb = DbOrWorking(pDb);
  if (pDb == NULL || lpszHandle == NULL) return false;
  AcDbHandle handle(lpszHandle);
  if (handle.isNull()) return false;
  AcDbObjectId found;
  if (pDb->getAcDbObjectId(found, false, handle) != Acad::eOk || found.isNull()) return false;
  objId = found;
  return true;
}

Acad::ErrorStatus CCommonUtils::getAllEntityOfLayer(LPCTSTR lpszLayerName, AcDbObjectIdArray& arIds,
                                                    AcDbDatabase* pDb) {
  AcDbBlockTableRecord* pSpace = NULL;
  bool bTableFailed = false;
  Acad::ErrorStatus es = OpenModelSpace(DbOrWorking(pDb), pSpace, bTableFailed);
  if (bTableFailed) acedAlert(_T("获取块表失败!"));
  if (es != Acad::eOk) return es;
  AcDbBlockTableRecordIterator* pIter = NULL;
  es = pSpace->newIterator(pIter);
  if (es != Acad::eOk) {
    pSpace->close();
    return es;
  }
  bool bAll = lpszLayerName == NULL || lpszLayerName[0] == 0;
  for (; !pIter->done(); pIter->step()) {
    AcDbEntity* pEnt = NULL;
    if (pIter->getEntity(pEnt, AcDb::kForRead) != Acad::eOk) continue;
    ACHAR* pszLayer = pEnt->layer();
    if (bAll || (pszLayer != NULL && wcscmp(pszLayer, lpszLayerName) == 0)) arIds.append(pEnt->objectId());
    acutDelString(pszLayer);
    pEnt->close();
  }
  delete pIter;
  pSpace->close();
  return Acad::eOk;
}

Acad::ErrorStatus CCommonUtils::getAllEntitysOfKind(LPCTSTR lpszClassName, AcDbObjectIdArray& arIds,
                                                    AcDbDatabase* pDb) {
  AcDbBlockTableRecord* pSpace = NULL;
  bool bTableFailed = false;
  Acad::ErrorStatus es = OpenModelSpace(DbOrWorking(pDb), pSpace, bTableFailed);
  if (es != Acad::eOk) return es;
  AcDbBlockTableRecordIterator* pIter = NULL;
  es = pSpace->newIterator(pIter);
  if (es != Acad::eOk) {
    pSpace->close();
    return es;
  }
  for (; !pIter->done(); pIter->step()) {
    AcDbObjectId entId;
    es = pIter->getEntityId(entId);
    if (es != Acad::eOk) {
      acutPrintf(_T("\n获取物体ID值时出错."));
      break;
    }
    if (isEntityOfKind(lpszClassName, entId)) arIds.append(entId);
  }
  delete pIter;
  pSpace->close();
  return es;
}

bool CCommonUtils::isEntityOfKind(LPCTSTR lpszClassName, AcDbObjectId entId) {
  AcRxClass* pClass = ClassByName(lpszClassName);
  if (pClass == NULL) return false;
  AcDbEntity* pEnt = NULL;
  if (acdbOpenObject(pEnt, entId, AcDb::kForRead) != Acad::eOk) return false;
  bool bKind = pEnt->isKindOf(pClass);
  pEnt->close();
  return bKind;
}

void CCommonUtils::GetAllObjectOfLayerWithProp(LPCTSTR lpszLayerName, LPCTSTR lpszAppName, LPCTSTR lpszValue,
                                               AcDbObjectIdArray& arIds) {
  AcDbObjectIdArray arLayerIds;
  getAllEntityOfLayer(lpszLayerName, arLayerIds);
  bool bAnyApp = lpszAppName == NULL || lpszAppName[0] == 0;
  bool bAnyValue = lpszValue == NULL || lpszValue[0] == 0;
  for (int i = 0; i < arLayerIds.length(); i++) {
    if (bAnyApp) {
      arIds.append(arLayerIds[i]);
      continue;
    }
    CString strText;
    if (!getXdata(arLayerIds[i], lpszAppName, strText)) continue;
    if (bAnyValue || strText.CompareNoCase(lpszValue) == 0) arIds.append(arLayerIds[i]);
  }
}

void CCommonUtils::GroupByProp(LPCTSTR lpszAppName, const AcDbObjectIdArray& arIds, CIdGroupMap& mapGroups) {
  for (int i = 0; i < arIds.length(); i++) {
    CString strText;
    if (!getXdata(arIds[i], lpszAppName, strText) || strText.IsEmpty()) continue;
    AcDbObjectIdArray* pGroup = NULL;
    if (!mapGroups.Lookup(strText, pGroup) || pGroup == NULL) {
      pGroup = new AcDbObjectIdArray(0, 8);
      mapGroups.SetAt(strText, pGroup);
    }
    pGroup->append(arIds[i]);
  }
}

CString CCommonUtils::getObjectClass(AcDbObjectId objId) {
  const ACHAR* pszName = getObjectType(objId);
  return pszName != NULL ? CString(pszName) : CString();
}

const ACHAR* CCommonUtils::getObjectType(AcDbObjectId objId) {
  AcDbObject* pObj = NULL;
  if (acdbOpenObject(pObj, objId, AcDb::kForRead) != Acad::eOk) return NULL;
  // The class outlives the object: its name stays valid after the close.
  const ACHAR* pszName = pObj->isA()->name();
  pObj->close();
  return pszName;
}

bool CCommonUtils::deleteEntity(AcDbObjectId entId) {
  // The lock lets a modeless dialog erase; it is needed only to open.
  AcApDocument* pDoc = curDoc();
  bool bLocked = acDocManager->lockDocument(pDoc, AcAp::kWrite, NULL, NULL, true) == Acad::eOk;
  AcDbEntity* pEnt = NULL;
  Acad::ErrorStatus es = acdbOpenObject(pEnt, entId, AcDb::kForWrite);
  if (bLocked) acDocManager->unlockDocument(pDoc);
  if (es != Acad::eOk) return false;
  es = pEnt->erase();
  pEnt->close();
  return es == Acad::eOk;
}

bool CCommonUtils::deleteEntity(const AcDbObjectIdArray& arIds) {
  bool bAll = true;
  for (int i = 0; i < arIds.length(); i++) {
    if (!deleteEntity(arIds[i])) bAll = false;
  }
  return bAll;
}

bool CCommonUtils::deleteEntities(const AcDbObjectIdArray& arIds) { return deleteEntity(arIds); }

Acad::ErrorStatus CCommonUtils::highLightEntity(AcDbObjectId entId, bool bOn) {
  AcDbEntity* pEnt = NULL;
  Acad::ErrorStatus es = acdbOpenObject(pEnt, entId, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  es = bOn ? pEnt->highlight() : pEnt->unhighlight();
  pEnt->close();
  return es;
}

bool CCommonUtils::getEntitiesExt(const AcDbObjectIdArray& arIds, AcGePoint3d& ptMin, AcGePoint3d& ptMax) {
  if (arIds.length() == 0) return false;
  AcDbExtents extents;
  for (int i = 0; i < arIds.length(); i++) {
    AcDbEntity* pEnt = NULL;
    if (acdbOpenObject(pEnt, arIds[i], AcDb::kForRead) != Acad::eOk) return false;
    AcDbExtents entExt;
    if (pEnt->getGeomExtents(entExt) == Acad::eOk) extents.addExt(entExt);
    pEnt->close();
  }
  if (extents.isEmpty()) return false;
  ptMin = extents.minPoint();
  ptMax = extents.maxPoint();
  return true;
}
