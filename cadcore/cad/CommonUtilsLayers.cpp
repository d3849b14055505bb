// Layers and line types: finding, creating and switching layers, loading
// line types from plan.lin, the current layer.
#include "CommonUtils.h"

#include "GlobalVars.h"
#include "acdocman.h"
#include "acutprint.h"
#include "dbdatabase.h"
#include "dbentity.h"
#include "dbhostapp.h"
#include "dbsymtb.h"

int CCommonUtils::GetLayerForWrite(LPCTSTR lpszLayerName, AcDbObjectId& layerId) {
  if (lpszLayerName == NULL) lpszLayerName = _T("");
  acDocManager->lockDocument(curDoc(), AcAp::kWrite, NULL, NULL, true);
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbLayerTable* pLayerTable = NULL;
  if (pDb == NULL || pDb->getLayerTable(pLayerTable, AcDb::kForRead) != Acad::eOk) {
    acutPrintf(_T("\n获取图层表失败"));
    acDocManager->unlockDocument(curDoc());
    return 0;
  }

  if (pLayerTable->getAt(lpszLayerName, layerId) == Acad::eOk) {
    pLayerTable->close();
    // An existing layer is made visible: switched on and thawed. A layer
    // that cannot be opened for this is not reported as ready.
    AcDbLayerTableRecord* pLayer = NULL;
    if (acdbOpenObject(pLayer, layerId, AcDb::kForWrite) != Acad::eOk) {
      acDocManager->unlockDocument(curDoc());
      return 0;
    }
    pLayer->setIsOff(false);
    pLayer->setIsFrozen(false);
    pLayer->close();
    acDocManager->unlockDocument(curDoc());
    return 1;
  }

  if (pLayerTable->upgradeOpen() != Acad::eOk) {
    pLayerTable->close();
    acDocManager->unlockDocument(curDoc());
    return 0;
  }
  AcDbLayerTableRecord* pLayer = new AcDbLayerTableRecord;
  if (pLayer->setName(lpszLayerName) != Acad::eOk || pLayerTable->add(layerId, pLayer) != Acad::eOk) {
    delete pLayer;
    layerId = AcDbObjectId::kNull;
    pLayerTable->close();
    acDocManager->unlockDocument(curDoc());
    return 0;
  }
  pLayer->close();
  pLayerTable->close();
  acDocManager->unlockDocument(curDoc());
  return 1;
}

int CCommonUtils::isLayerExist(LPCTSTR lpszLayerName, AcDbObjectId& layerId) {
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbLayerTable* pLayerTable = NULL;
  if (pDb == NULL || pDb->getLayerTable(pLayerTable, AcDb::kForRead) != Acad::eOk) {
    acutPrintf(_T("\n获取图层表失败"));
    return 0;
  }
  int nExist = (lpszLayerName != NULL && pLayerTable->getAt(lpszLayerName, layerId) == Acad::eOk) ? 1 : 0;
  pLayerTable->close();
  return nExist;
}

int CCommonUtils::createNewLtype(LPCTSTR lpszLtypeName, AcDbObjectId& ltypeId) {
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  if (pDb == NULL) return 3;
  AcDbLinetypeTable* pLtypeTable = NULL;
  if (lpszLtypeName != NULL && pDb->getLinetypeTable(pLtypeTable, AcDb::kForRead) == Acad::eOk) {
    Acad::ErrorStatus es = pLtypeTable->getAt(lpszLtypeName, ltypeId);
    pLtypeTable->close();
    if (es == Acad::eOk) return 0;
  }

  CString strLinFile;
  strLinFile.Format(_T("%splan.lin"), CGlobalVars::g_CurPath);
  if (lpszLtypeName != NULL && pDb->loadLineTypeFile(lpszLtypeName, strLinFile) == Acad::eOk &&
      getLinetypeIdFromString(lpszLtypeName, ltypeId) == Acad::eOk)
    return 0;

  // Not defined in the file (or no file): fall back on the solid line.
  getLinetypeIdFromString(_T("CONTINUOUS"), ltypeId);
  return 3;
}

Acad::ErrorStatus CCommonUtils::getLinetypeIdFromString(LPCTSTR lpszLtypeName, AcDbObjectId& ltypeId) {
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  if (pDb == NULL) return Acad::eNoDatabase;
  if (lpszLtypeName == NULL) return Acad::eInvalidInput;
  AcDbLinetypeTable* pLtypeTable = NULL;
  Acad::ErrorStatus es = pDb->getLinetypeTable(pLtypeTable, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  es = pLtypeTable->getAt(lpszLtypeName, ltypeId, true);
  pLtypeTable->close();
  return es;
}

Acad::ErrorStatus CCommonUtils::setEntityLayer(AcDbObjectId entId, LPCTSTR lpszLayerName) {
  AcDbEntity* pEnt = NULL;
  Acad::ErrorStatus es = acdbOpenObject(pEnt, entId, AcDb::kForWrite);
  if (es != Acad::eOk) return es;
  es = pEnt->setLayer(lpszLayerName, true);
  pEnt->close();
  return es;
}

int CCommonUtils::setCurLayer(AcDbObjectId layerId) {
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  if (pDb == NULL || pDb->setClayer(layerId) != Acad::eOk) {
    acutPrintf(_T("\n设置图层错误!"));
    return 0;
  }
  AcCmColor color;
  color.setColorIndex(256);
  pDb->setCecolor(color);
  AcDbObjectId ltypeId;
  if (getLinetypeIdFromString(_T("BYLAYER"), ltypeId) == Acad::eOk) pDb->setCeltype(ltypeId);
  return 1;
}

AcDbObjectId CCommonUtils::setCurLayer(LPCTSTR lpszLayerName, LPCTSTR lpszLtypeName, int nColorIndex) {
  AcDbObjectId layerId;
  if (isLayerExist(lpszLayerName, layerId)) {
    setCurLayer(layerId);
    return layerId;
  }
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbLayerTable* pLayerTable = NULL;
  if (pDb == NULL || pDb->getLayerTable(pLayerTable, AcDb::kForWrite) != Acad::eOk) return AcDbObjectId::kNull;

  AcDbLayerTableRecord* pLayer = new AcDbLayerTableRecord;
  if (pLayer->setName(lpszLayerName) != Acad::eOk) {
    // A name the table refuses leaves nothing behind.
    delete pLayer;
    pLayerTable->close();
    return AcDbObjectId::kNull;
  }
  AcDbObjectId ltypeId;
  createNewLtype(lpszLtypeName, ltypeId);
  AcCmColor color;
  color.setColorIndex(static_cast<Adesk::UInt16>(nColorIndex));
  pLayer->setColor(color);
  if (!ltypeId.isNull()) pLayer->setLinetypeObjectId(ltypeId);
  if (pLayerTable->add(layerId, pLayer) != Acad::eOk) {
    delete pLayer;
    pLayerTable->close();
    return AcDbObjectId::kNull;
  }
  pLayerTable->close();
  pLayer->close();
  setCurLayer(layerId);
  return layerId;
}

bool CCommonUtils::getAllLayerOfDatabase(AcDbDatabase* pDb, CStringArray& arLayerNames) {
  if (pDb == NULL) pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbLayerTable* pLayerTable = NULL;
  if (pDb == NULL || pDb->getLayerTable(pLayerTable, AcDb::kForRead) != Acad::eOk) return false;
  AcDbSymbolTableIterator* pIter = NULL;
  if (pLayerTable->newIterator(pIter) != Acad::eOk) {
    pLayerTable->close();
    return false;
  }
  for (; !pIter->done(); pIter->step()) {
    AcDbLayerTableRecord* pLayer = NULL;
    if (pIter->getRecord(pLayer, AcDb::kForRead) != Acad::eOk) continue;
    arLayerNames.Add(pLayer->name());
    pLayer->close();
  }
  delete pIter;
  pLayerTable->close();
  return true;
}

CString CCommonUtils::getLayer(AcDbObjectId entId) {
  CString strLayer;
  AcDbEntity* pEnt = NULL;
  if (acdbOpenObject(pEnt, entId, AcDb::kForRead) != Acad::eOk) return strLayer;
  ACHAR* pszLayer = pEnt->layer();
  strLayer = pszLayer;
  delete[] pszLayer;
  pEnt->close();
  return strLayer;
}
