// Block definitions and references, and drawing files brought in as blocks.
#include "CommonUtils.h"

#include "acdocman.h"
#include "acedalert.h"
#include "acutprint.h"
#include "dbblkref.h"
#include "dbdatabase.h"
#include "dbentity.h"
#include "dbhostapp.h"
#include "dbsymtb.h"
#include "fileapi.h"

namespace {

AcDbDatabase* DbOrWorking(AcDbDatabase* pDb) {
  return pDb != NULL ? pDb : acdbHostApplicationServices()->workingDatabase();
}

}  // namespace

AcDbObjectId CCommonUtils::createBlockRecord(LPCTSTR lpszName, AcDbVoidPtrArray& arEntities) {
  AcDbObjectId blockId;
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTable* pBlockTable = NULL;
  if (pDb == NULL || pDb->getBlockTable(pBlockTable, AcDb::kForWrite) != Acad::eOk) {
    acedAlert(_T("打开块表失败！"));
    return AcDbObjectId::kNull;
  }
  AcDbBlockTableRecord* pRecord = NULL;
  if (pBlockTable->getAt(lpszName, pRecord, AcDb::kForWrite) != Acad::eOk) {
    pRecord = new AcDbBlockTableRecord;
    if (pRecord->setName(lpszName) != Acad::eOk || pBlockTable->add(blockId, pRecord) != Acad::eOk) {
      // A block that cannot be named or added takes none of the entities.
      delete pRecord;
      pBlockTable->close();
      return AcDbObjectId::kNull;
    }
  }
  pBlockTable->close();

  for (int i = 0; i < arEntities.length(); i++) {
    AcDbEntity* pEnt = static_cast<AcDbEntity*>(arEntities[i]);
    if (pEnt == NULL) continue;
    if (pRecord->appendAcDbEntity(pEnt) == Acad::eOk || !pEnt->isNewObject()) {
      pEnt->close();
    } else {
      // Refused and in no database: nobody else could ever free it.
      delete pEnt;
      arEntities[i] = NULL;
    }
  }
  pRecord->close();
  return blockId;
}

Acad::ErrorStatus CCommonUtils::createBlockRef(AcDbBlockReference*& pRef, AcDbObjectId blockId,
                                               const AcGePoint3d& position, double dRotation,
                                               const AcGeVector3d& normal, double dXScale, double dYScale) {
  pRef = new AcDbBlockReference;
  Acad::ErrorStatus es = pRef->setBlockTableRecord(blockId);
  if (es == Acad::eOk) es = pRef->setNormal(normal);
  if (es == Acad::eOk) es = pRef->setPosition(position);
  if (es == Acad::eOk) es = pRef->setRotation(dRotation);
  if (es == Acad::eOk) es = pRef->setScaleFactors(AcGeScale3d(dXScale, dYScale, 1.0));
  if (es != Acad::eOk) {
    delete pRef;
    pRef = NULL;
  }
  return es;
}

AcDbObjectId CCommonUtils::createBlockRef(AcDbObjectId blockId, const AcGePoint3d& position, double dRotation,
                                          const AcGeVector3d& normal, double dXScale, double dYScale) {
  AcDbBlockReference* pRef = NULL;
  if (createBlockRef(pRef, blockId, position, dRotation, normal, dXScale, dYScale) != Acad::eOk) {
    return AcDbObjectId::kNull;
  }
  AcDbObjectId refId;
  if (append(pRef, refId) != 1) {
    delete pRef;
    return AcDbObjectId::kNull;
  }
  pRef->close();
  return refId;
}

bool CCommonUtils::hasTheSameBlock(LPCTSTR lpszName, AcDbObjectId& blockId, AcDbDatabase* pDb) {
  pDb = DbOrWorking(pDb);
  AcDbBlockTable* pBlockTable = NULL;
  if (pDb == NULL || pDb->getBlockTable(pBlockTable, AcDb::kForRead) != Acad::eOk) {
    acutPrintf(_T("\n获取块表失败!"));
    return false;
  }
  Acad::ErrorStatus es = pBlockTable->getAt(lpszName, blockId);
  pBlockTable->close();
  return es == Acad::eOk;
}

AcDbObjectId CCommonUtils::getBlockIdByName(LPCTSTR lpszName, AcDbDatabase* pDb) {
  pDb = DbOrWorking(pDb);
  AcDbObjectId blockId;
  AcDbBlockTable* pBlockTable = NULL;
  if (pDb == NULL || pDb->getBlockTable(pBlockTable, AcDb::kForRead) != Acad::eOk) return AcDbObjectId::kNull;
  if (pBlockTable->getAt(lpszName, blockId) != Acad::eOk) blockId.setNull();
  pBlockTable->close();
  return blockId;
}

AcDbObjectId CCommonUtils::getBlockReferenceRecord(AcDbObjectId refId) {
  AcDbBlockReference* pRef = NULL;
  if (acdbOpenObject(pRef, refId, AcDb::kForRead) != Acad::eOk) return AcDbObjectId::kNull;
  AcDbObjectId blockId = pRef->blockTableRecord();
  pRef->close();
  return blockId;
}

Acad::ErrorStatus CCommonUtils::getBlockExtents(AcDbObjectId blockId, AcDbExtents& extents) {
  AcDbBlockTableRecord* pRecord = NULL;
  Acad::ErrorStatus es = acdbOpenObject(pRecord, blockId, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  AcDbBlockTableRecordIterator* pIter = NULL;
  es = pRecord->newIterator(pIter);
  if (es != Acad::eOk) {
    pRecord->close();
    return es;
  }
  for (; !pIter->done(); pIter->step()) {
    AcDbEntity* pEnt = NULL;
    if (pIter->getEntity(pEnt, AcDb::kForRead) != Acad::eOk) continue;
    AcDbExtents entExt;
    if (pEnt->getGeomExtents(entExt) == Acad::eOk) extents.addExt(entExt);
    pEnt->close();
  }
  delete pIter;
  pRecord->close();
  return Acad::eOk;
}

double CCommonUtils::calBlockScale(AcDbObjectId blockId, double dSize) {
  AcDbExtents extents;
  if (getBlockExtents(blockId, extents) != Acad::eOk || extents.isEmpty()) return 1.0;
  double dWidth = extents.maxPoint().x - extents.minPoint().x;
  double dHeight = extents.maxPoint().y - extents.minPoint().y;
  if (dWidth >= 0.00001) return dSize / dWidth;
  if (dHeight >= 0.00001) return dSize / dHeight;
  return 1.0;
}

bool CCommonUtils::createBlockRecFromFile(LPCTSTR lpszBlockName, LPCTSTR lpszFileName, AcDbObjectId& blockId,
                                          AcDbDatabase* pDb) {
  pDb = DbOrWorking(pDb);
  if (pDb == NULL) return false;
  if (hasTheSameBlock(lpszBlockName, blockId, pDb)) return true;
  AcDbDatabase* pFileDb = new AcDbDatabase(false, true);
  if (pFileDb->readDwgFile(lpszFileName) != Acad::eOk) {
    delete pFileDb;
    return false;
  }
  Acad::ErrorStatus es = pDb->insert(blockId, lpszBlockName, pFileDb);
  delete pFileDb;
  if (es != Acad::eOk) {
    blockId.setNull();
    return false;
  }
  return true;
}

bool CCommonUtils::insertFile(LPCTSTR lpszFileName, LPCTSTR lpszBlockName) {
  DWORD dwAttr = lpszFileName != NULL ? GetFileAttributesW(lpszFileName) : INVALID_FILE_ATTRIBUTES;
  if (dwAttr == INVALID_FILE_ATTRIBUTES || (dwAttr & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    acutPrintf(_T("\n文件%s不存在"), lpszFileName != NULL ? lpszFileName : _T(""));
    return false;
  }
  AcDbDatabase* pDb = acdbHostApplicationServices()->workingDatabase();
  AcDbBlockTable* pBlockTable = NULL;
  if (pDb == NULL || pDb->getBlockTable(pBlockTable, AcDb::kForRead) != Acad::eOk) {
    acutPrintf(_T("\n获取块表失败!"));
    return false;
  }
  AcDbObjectId blockId;
  Acad::ErrorStatus es = pBlockTable->getAt(lpszBlockName, blockId);
  pBlockTable->close();
  if (es != Acad::eOk && !createBlockRecFromFile(lpszBlockName, lpszFileName, blockId, pDb)) {
    acutPrintf(_T("\n创建块失败"));
    return false;
  }
  double dScale = 1.0;
  double dAngle = 0.0;
  AcDbObjectId refId;
  return insertBlockRef(blockId, dScale, dAngle, refId, 1, 1) == RTNORM;
}
