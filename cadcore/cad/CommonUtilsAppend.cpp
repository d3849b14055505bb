// Appending entities to model space and zooming the current view to a
// rectangle.
#include "CommonUtils.h"

#include <cmath>

#include "acdocman.h"
#include "acedalert.h"
#include "acedcurview.h"
#include "acedview.h"
#include "dbdatabase.h"
#include "dbentity.h"
#include "dbhostapp.h"
#include "dbsymtb.h"
#include "geassign.h"

int CCommonUtils::append(AcDbEntity* pEnt, AcDbObjectId& objId, AcDbDatabase* pDb) {
  acDocManager->lockDocument(curDoc(), AcAp::kWrite, NULL, NULL, true);
  if (pDb == NULL) pDb = acdbHostApplicationServices()->workingDatabase();
  if (pDb == NULL) {
    acDocManager->unlockDocument(curDoc());
    acedAlert(_T("数据库为空！"));
    return 0;
  }
  AcDbBlockTable* pBlockTable = NULL;
  if (pDb->getBlockTable(pBlockTable, AcDb::kForRead) != Acad::eOk) {
    acDocManager->unlockDocument(curDoc());
    acedAlert(_T("打开块表失败！"));
    return 0;
  }
  AcDbBlockTableRecord* pSpace = NULL;
  if (pBlockTable->getAt(ACDB_MODEL_SPACE, pSpace, AcDb::kForWrite) != Acad::eOk) {
    acDocManager->unlockDocument(curDoc());
    acedAlert(_T("打开块表记录失败！"));
    pBlockTable->close();
    return 0;
  }
  if (pSpace->appendAcDbEntity(objId, pEnt) != Acad::eOk) {
    acDocManager->unlockDocument(curDoc());
    acedAlert(_T("增加实体失败！"));
    pBlockTable->close();
    pSpace->close();
    return 0;
  }
  pSpace->close();
  pBlockTable->close();
  acDocManager->unlockDocument(curDoc());
  return 1;
}

int CCommonUtils::append(AcDbEntity* pEnt, AcDbDatabase* pDb) {
  AcDbObjectId objId;
  return append(pEnt, objId, pDb);
}

AcDbObjectId CCommonUtils::AddEntityToDbs(AcDbEntity* pEnt) {
  AcDbBlockTable* pBlockTable = NULL;
  acdbHostApplicationServices()->workingDatabase()->getBlockTable(pBlockTable, AcDb::kForRead);
  AcDbBlockTableRecord* pSpace = NULL;
  pBlockTable->getAt(ACDB_MODEL_SPACE, pSpace, AcDb::kForWrite);
  AcDbObjectId objId;
  pSpace->appendAcDbEntity(objId, pEnt);
  pBlockTable->close();
  pSpace->close();
  pEnt->close();
  return objId;
}

void CCommonUtils::zoomExtents(const AcGePoint3d& pt1, const AcGePoint3d& pt2) {
  AcDbViewTableRecord view;
  view.setCenterPoint(AcGePoint2d((pt1.x + pt2.x) / 2, (pt1.y + pt2.y) / 2));
  view.setHeight(fabs(pt1.y - pt2.y) * 1.5);
  view.setWidth(fabs(pt1.x - pt2.x) * 1.5);
  acedSetCurrentView(&view, AcDbObjectId::kNull);
}

void CCommonUtils::zoomExtents(const AcGePoint2d& pt1, const AcGePoint2d& pt2) {
  AcGePoint2d ptCenter = pt2 + (pt1 - pt2) / 2;
  AcDbViewTableRecord view;
  view.setHeight(pt1.y - pt2.y);
  view.setWidth(pt1.x - pt2.x);

  resbuf rb;
  acedGetVar(_T("VIEWDIR"), &rb);
  view.setViewDirection(asVec3d(rb.resval.rpoint));

  // The target comes in user coordinates.
  acedGetVar(_T("TARGET"), &rb);
  resbuf rbFrom, rbTo;
  rbFrom.restype = RTSHORT;
  rbFrom.resval.rint = 1;
  rbTo.restype = RTSHORT;
  rbTo.resval.rint = 0;
  ads_point ptTarget;
  acedTrans(rb.resval.rpoint, &rbFrom, &rbTo, 0, ptTarget);
  view.setTarget(asPnt3d(ptTarget));

  acedGetVar(_T("LENSLENGTH"), &rb);
  view.setLensLength(rb.resval.rreal);

  // The centre is given in display coordinates.
  ads_point ptWorld = {ptCenter.x, ptCenter.y, 0.0};
  ads_point ptDisplay;
  rbFrom.resval.rint = 0;
  rbTo.resval.rint = 2;
  acedTrans(ptWorld, &rbFrom, &rbTo, 0, ptDisplay);
  view.setCenterPoint(AcGePoint2d(ptDisplay[X], ptDisplay[Y]));
  acedSetCurrentView(&view, AcDbObjectId::kNull);
}
