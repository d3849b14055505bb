// Interactive insertion of a block: position, scale and rotation from the
// drawing window's pointer and keyboard.
#include "CommonUtils.h"

#include <cmath>
#include <cwchar>

#include "acedgr.h"
#include "acedview.h"
#include "acutprint.h"
#include "dbblkref.h"
#include "dbentity.h"
#include "geassign.h"

namespace {

const double kPi = 3.14159265358979323846;

// Report drag events, keep the cursor, take keyboard input.
const int kTrackFlags = 13;

// A tracked point comes in the current user coordinate system.
AcGePoint3d UcsToWorld(const ads_point ptIn) {
  resbuf rbFrom, rbTo;
  rbFrom.restype = RTSHORT;
  rbFrom.resval.rint = 1;
  rbTo.restype = RTSHORT;
  rbTo.resval.rint = 0;
  ads_point ptOut;
  if (acedTrans(ptIn, &rbFrom, &rbTo, 0, ptOut) != RTNORM) return asPnt3d(ptIn);
  return asPnt3d(ptOut);
}

bool EraseRef(AcDbObjectId refId) {
  AcDbEntity* pEnt = NULL;
  if (acdbOpenObject(pEnt, refId, AcDb::kForWrite) != Acad::eOk) return false;
  pEnt->erase();
  pEnt->close();
  return true;
}

// Gives the reference the uniform scale, about the base point.
void ScaleRefTo(AcDbObjectId refId, const AcGePoint3d& basePoint, double dScale) {
  AcDbBlockReference* pRef = NULL;
  if (acdbOpenObject(pRef, refId, AcDb::kForWrite) != Acad::eOk) return;
  double dCurrent = pRef->scaleFactors().sx;
  if (fabs(dCurrent) > 1e-12 && dScale > 1e-12) {
    pRef->transformBy(AcGeMatrix3d::scaling(dScale / dCurrent, basePoint));
  }
  pRef->close();
}

// Turns the reference about the Z axis through the base point until its
// rotation is the angle (radians).
void RotateRefTo(AcDbObjectId refId, const AcGePoint3d& basePoint, double dAngle) {
  AcDbBlockReference* pRef = NULL;
  if (acdbOpenObject(pRef, refId, AcDb::kForWrite) != Acad::eOk) return;
  double dDelta = dAngle - pRef->rotation();
  if (fabs(dDelta) > 1e-12) {
    pRef->transformBy(AcGeMatrix3d::rotation(dDelta, AcGeVector3d::kZAxis, basePoint));
  }
  pRef->close();
}

// The angle of the vector to the X axis in [0, 2π): measured counter-clockwise.
double DragAngle(const AcGePoint3d& basePoint, const AcGePoint3d& point) {
  AcGeVector3d vec(point.x - basePoint.x, point.y - basePoint.y, 0.0);
  if (vec.length() < 1e-12) return 0.0;
  double dAngle = vec.angleTo(AcGeVector3d::kXAxis);
  if (vec.y > 0) return dAngle;
  return 2 * kPi - dAngle;
}

// Collects a typed character; true when it was Enter.
bool CollectChar(int nCode, CString& strInput) {
  if (nCode == 13) return true;
  if (nCode == 8) {
    // Backspace takes back the last character.
    if (!strInput.IsEmpty()) strInput.Delete(strInput.GetLength() - 1);
    acutPrintf(_T("%c"), nCode);
    return false;
  }
  if (nCode >= 1 && nCode <= 254) {
    acutPrintf(_T("%c"), nCode);
    strInput.AppendChar(static_cast<TCHAR>(nCode));
  }
  return false;
}

}  // namespace

int CCommonUtils::pointInsert(AcDbObjectId blockId, AcDbObjectId& refId, AcGePoint3d& position,
                              double dAngleDegrees, double dScale) {
  acutPrintf(_T("\n  请确定插入位置："));
  refId.setNull();
  if (fabs(dScale) < 1e-6) dScale = 1.0;  // a zero scale would make the block vanish
  double dRotation = dAngleDegrees * kPi / 180.0;
  for (;;) {
    int nType = 0;
    resbuf rb;
    if (acedGrRead(kTrackFlags, &nType, &rb) != RTNORM) {
      if (!refId.isNull()) EraseRef(refId);
      refId.setNull();
      return RTCAN;
    }
    if (nType == GRREAD_RCLICK) {
      if (!refId.isNull()) EraseRef(refId);
      refId.setNull();
      return RTCAN;
    }
    if (nType != GRREAD_DRAG && nType != GRREAD_PICK) continue;
    AcGePoint3d pt = UcsToWorld(rb.resval.rpoint);
    if (refId.isNull()) {
      // The first drag makes the reference; a pick without one makes it too.
      refId = createBlockRef(blockId, pt, dRotation, AcGeVector3d::kZAxis, dScale, dScale);
      if (refId.isNull()) return RTCAN;
    } else {
      AcDbBlockReference* pRef = NULL;
      if (acdbOpenObject(pRef, refId, AcDb::kForWrite) == Acad::eOk) {
        pRef->setPosition(pt);
        pRef->close();
      }
    }
    if (nType == GRREAD_PICK) {
      position = pt;
      return RTNORM;
    }
  }
}

int CCommonUtils::scaleInsert(AcDbObjectId refId, const AcGePoint3d& basePoint, double& dScale) {
  AcDbBlockReference* pRef = NULL;
  if (acdbOpenObject(pRef, refId, AcDb::kForRead) != Acad::eOk) return RTERROR;
  // The size of the reference at scale 1: dragging sets the scale from it.
  AcDbExtents extents;
  double dSize = 0.0;
  double dCurrent = pRef->scaleFactors().sx;
  if (pRef->getGeomExtents(extents) == Acad::eOk && !extents.isEmpty() && fabs(dCurrent) > 1e-12) {
    dSize = extents.minPoint().distanceTo(extents.maxPoint()) / fabs(dCurrent);
  }
  pRef->close();

  // A given scale multiplies the one the reference has: 2 makes it twice
  // as large as it is.
  if (dScale > 0 && fabs(dScale - 1.0) > 1e-6) {
    ScaleRefTo(refId, basePoint, dCurrent * dScale);
    return RTNORM;
  }
  if (dSize < 1e-6) dSize = 1.0;  // a block without size still follows the pointer
  dScale = dCurrent;

  acutPrintf(_T("\n  请确定插入比例：/<鼠标控制>"));
  CString strInput;
  for (;;) {
    int nType = 0;
    resbuf rb;
    if (acedGrRead(kTrackFlags, &nType, &rb) != RTNORM) {
      EraseRef(refId);
      return RTCAN;
    }
    if (nType == GRREAD_DRAG) {
      AcGePoint3d pt = UcsToWorld(rb.resval.rpoint);
      double dDist = pt.distanceTo(basePoint);
      if (dDist < 1e-6) continue;
      dScale = dDist / dSize * 8;
      ScaleRefTo(refId, basePoint, dScale);
    } else if (nType == GRREAD_PICK) {
      return RTNORM;
    } else if (nType == GRREAD_RCLICK) {
      dScale = 1.0;
      ScaleRefTo(refId, basePoint, dScale);
      return RTNORM;
    } else if (nType == GRREAD_KEYBOARD) {
      if (!CollectChar(rb.resval.rint, strInput)) continue;
      double dValue = strInput.IsEmpty() ? 1.0 : wcstod(strInput, NULL);
      strInput.Empty();
      if (dValue < 1e-6) {
        acutPrintf(_T("\n  输入错误！请确定插入比例：/<鼠标控制>"));
        continue;
      }
      dScale = dValue;
      ScaleRefTo(refId, basePoint, dScale);
      return RTNORM;
    }
  }
}

int CCommonUtils::rotateInsert(AcDbObjectId refId, const AcGePoint3d& basePoint, double& dAngle) {
  AcDbBlockReference* pRef = NULL;
  if (acdbOpenObject(pRef, refId, AcDb::kForRead) != Acad::eOk) return RTERROR;
  const double dStart = pRef->rotation();
  pRef->close();

  // A given angle turns the reference by it from where it stands.
  if (fabs(dAngle) > 1e-6) {
    RotateRefTo(refId, basePoint, dStart + dAngle * kPi / 180.0);
    return RTNORM;
  }

  acutPrintf(_T("\n  请确定插入角度：/<鼠标控制>"));
  double dLast = 0.0;  // radians, the angle of the last drag
  CString strInput;
  for (;;) {
    int nType = 0;
    resbuf rb;
    if (acedGrRead(kTrackFlags, &nType, &rb) != RTNORM) {
      EraseRef(refId);
      return RTCAN;
    }
    if (nType == GRREAD_DRAG) {
      // Each drag turns the reference by the change since the previous one,
      // so it stands at its starting rotation plus the dragged angle.
      dLast = DragAngle(basePoint, UcsToWorld(rb.resval.rpoint));
      RotateRefTo(refId, basePoint, dStart + dLast);
      continue;
    }
    if (nType == GRREAD_PICK) {
      dAngle = dLast * 180.0 / kPi;
      return RTNORM;
    }
    if (nType == GRREAD_KEYBOARD && !CollectChar(rb.resval.rint, strInput)) continue;
    if (nType != GRREAD_KEYBOARD && nType != GRREAD_RCLICK) continue;
    // Enter or the right button ends the typed angle.
    double dValue = 0.0;
    if (!strInput.IsEmpty() && strInput != _T("0")) {
      dValue = wcstod(strInput, NULL);
      if (fabs(dValue) < 1e-6) {
        strInput.Empty();
        acutPrintf(_T("\n输入错误！请确定插入角度：/<鼠标控制>"));
        continue;
      }
    }
    RotateRefTo(refId, basePoint, dValue * kPi / 180.0);
    dAngle = dValue;
    return RTNORM;
  }
}

int CCommonUtils::insertBlockRef(AcDbObjectId blockId, double& dScale, double& dAngle, AcDbObjectId& refId,
                                 int bAskScale, int bAskRotation) {
  AcGePoint3d ptBase;
  if (pointInsert(blockId, refId, ptBase, dAngle, dScale) != RTNORM) return RTCAN;
  // The new reference already has the given scale and angle; the steps
  // below would apply them a second time, so they run only to ask the user
  // for what was not given.
  const bool bScaleGiven = dScale > 0 && fabs(dScale - 1.0) > 1e-6;
  const bool bAngleGiven = fabs(dAngle) > 1e-6;
  if (bAskScale && !bScaleGiven && scaleInsert(refId, ptBase, dScale) != RTNORM) {
    refId.setNull();
    return RTCAN;
  }
  if (bAskRotation && !bAngleGiven && rotateInsert(refId, ptBase, dAngle) != RTNORM) {
    refId.setNull();
    return RTCAN;
  }
  return RTNORM;
}
