// System variables, the user coordinate system, angles, prompts, typing
// into the host's command line and the current view of the drawing window.
#include "CommonUtils.h"

#include <cmath>
#include <cstdlib>

#include "CadcoreApp.h"
#include "acedcoord.h"
#include "acedcurview.h"
#include "acedview.h"
#include "acutprint.h"
#include "edprompt.h"
#include "geassign.h"
#include "module.h"
#include "rxmfcapi.h"
#include "splitpath.h"

static const double PI = 3.14159265358979323846;

// Builds the resbuf that names a coordinate system for acedTrans: 0 world,
// 1 user, 2 display.
static void setCoordSystem(resbuf& rb, short nSystem) {
  rb.restype = RTSHORT;
  rb.resval.rint = nSystem;
  rb.rbnext = NULL;
}

void CCommonUtils::setCmdEcho(int nValue) {
  resbuf rb;
  rb.restype = RTSHORT;
  rb.resval.rint = static_cast<short>(nValue);
  rb.rbnext = NULL;
  acedSetVar(_T("CMDECHO"), &rb);
}

void CCommonUtils::setOsMode(int nValue) {
  resbuf rb;
  rb.restype = RTSHORT;
  rb.resval.rint = static_cast<short>(nValue);
  rb.rbnext = NULL;
  acedSetVar(_T("OSMODE"), &rb);
}

int CCommonUtils::getOsMode() {
  resbuf rb;
  if (acedGetVar(_T("OSMODE"), &rb) != RTNORM) return 0;
  return rb.resval.rint;
}

bool CCommonUtils::updateLastPoint(const AcGePoint3d& point) {
  resbuf* pRb = acutNewRb(RT3DPOINT);
  if (pRb == NULL) {
    acutPrintf(_T("\n内存不足."));
    return false;
  }
  ads_point ptWorld = {point.x, point.y, point.z};
  sa_w2u(ptWorld, pRb->resval.rpoint);
  bool bDone = acedSetVar(_T("LASTPOINT"), pRb) == RTNORM;
  acutRelRb(pRb);
  if (!bDone) acutPrintf(_T("\n不能设置系统变量LASTPOINT"));
  return bDone;
}

void CCommonUtils::GetCurDwgPath(CString& strPath) {
  resbuf rb;
  if (acedGetVar(_T("dwgprefix"), &rb) != RTNORM) {
    strPath.Empty();
    return;
  }
  strPath = rb.resval.rstring;
  free(rb.resval.rstring);
}

CString CCommonUtils::getAppPath() {
  TCHAR szFullPath[MAX_PATH] = {0};
  GetModuleFileNameW(_AtlModule.m_hInstance, szFullPath, MAX_PATH - 1);
  TCHAR szDrive[_MAX_DRIVE] = {0};
  TCHAR szDir[_MAX_DIR] = {0};
  _wsplitpath_s(szFullPath, szDrive, _MAX_DRIVE, szDir, _MAX_DIR, NULL, 0, NULL, 0);
  CString strPath;
  strPath.Format(_T("%s%s"), szDrive, szDir);
  return strPath;
}

AcGePoint3d CCommonUtils::pt_u2w(const AcGePoint3d& point) {
  ads_point ptUcs = {point.x, point.y, point.z};
  ads_point ptWorld;
  sa_u2w(ptUcs, ptWorld);
  return asPnt3d(ptWorld);
}

void CCommonUtils::sa_u2w(const ads_point ptIn, ads_point ptOut) {
  resbuf rbFrom, rbTo;
  setCoordSystem(rbFrom, 1);
  setCoordSystem(rbTo, 0);
  acedTrans(ptIn, &rbFrom, &rbTo, 0, ptOut);
}

void CCommonUtils::sa_w2u(const ads_point ptIn, ads_point ptOut) {
  resbuf rbFrom, rbTo;
  setCoordSystem(rbFrom, 0);
  setCoordSystem(rbTo, 1);
  acedTrans(ptIn, &rbFrom, &rbTo, 0, ptOut);
}

bool CCommonUtils::pickPoint(const AcGePoint3d* pBase, LPCTSTR lpszPrompt, AcGePoint3d& point) {
  ads_point ptResult;
  int nResult;
  if (pBase != NULL) {
    // The base comes in world coordinates; the prompt works in user ones.
    ads_point ptBaseWorld = {pBase->x, pBase->y, pBase->z};
    ads_point ptBase;
    sa_w2u(ptBaseWorld, ptBase);
    nResult = acedGetPoint(ptBase, lpszPrompt, ptResult);
  } else {
    nResult = acedGetPoint(NULL, lpszPrompt, ptResult);
  }
  if (nResult != RTNORM) return false;
  ads_point ptWorld;
  sa_u2w(ptResult, ptWorld);
  point = asPnt3d(ptWorld);
  return true;
}

bool CCommonUtils::getYorN(LPCTSTR lpszPrompt) {
  acutPrintf(_T("\n%s"), lpszPrompt != NULL ? lpszPrompt : _T(""));
  acedInitGet(0, _T("No Yes"));
  ACHAR szKword[133] = {0};
  int nResult = acedGetKword(_T(" -- No/<Yes>:  "), szKword, 133);
  if (nResult == RTNONE) return true;
  if (nResult == RTNORM) return szKword[0] != _T('N') && szKword[0] != _T('n');
  return false;
}

void CCommonUtils::sendCommandToAutoCAD(LPCTSTR lpszCommand) {
  if (lpszCommand == NULL) return;
  CWnd* pCmdLine = acedGetAcadDockCmdLine();
  if (pCmdLine == NULL) return;
  // One character message each, waiting until the window has taken it.
  for (int i = 0; lpszCommand[i] != 0; i++) pCmdLine->SendMessage(WM_CHAR, static_cast<WPARAM>(lpszCommand[i]), 1);
}

void CCommonUtils::getViewRectPoint(AcGePoint3d& ptTopLeft, AcGePoint3d& ptBottomRight) {
  // The client area of the drawing window, in pixels.
  resbuf rb;
  CRect rect(0, 0, 0, 0);
  if (acedGetVar(_T("SCREENSIZE"), &rb) == RTNORM)
    rect = CRect(0, 0, static_cast<int>(rb.resval.rpoint[X]), static_cast<int>(rb.resval.rpoint[Y]));
  ads_point ptTL, ptBR;
  acedCoordFromPixelToWorld(rect.TopLeft(), ptTL);
  acedCoordFromPixelToWorld(rect.BottomRight(), ptBR);
  ptTopLeft = asPnt3d(ptTL);
  ptBottomRight = asPnt3d(ptBR);
}

void CCommonUtils::getUcsToWcsMat(AcGeMatrix3d& mat) { acedGetCurrentUCS(mat); }

void CCommonUtils::getWcsToUcsMat(AcGeMatrix3d& mat) {
  acedGetCurrentUCS(mat);
  mat.invert();
}

void CCommonUtils::getZucs(AcGeVector3d& vec) {
  AcGeMatrix3d mat;
  acedGetCurrentUCS(mat);
  AcGePoint3d ptOrigin;
  AcGeVector3d xAxis, yAxis, zAxis;
  mat.getCoordSystem(ptOrigin, xAxis, yAxis, zAxis);
  vec = xAxis.crossProduct(yAxis);
  vec.normalize();
}

void CCommonUtils::getUcsAngle(double& dAngle) {
  AcGeMatrix3d mat;
  acedGetCurrentUCS(mat);
  AcGePoint3d ptOrigin;
  AcGeVector3d xAxis, yAxis, zAxis;
  mat.getCoordSystem(ptOrigin, xAxis, yAxis, zAxis);
  dAngle = xAxis.angleTo(AcGeVector3d::kXAxis);
  // A user x direction below the world X axis is a clockwise turn.
  if (xAxis.y < 0) dAngle = 6.2831852 - dAngle;
}

void CCommonUtils::getAcuteAngle(const AcGeVector3d& vec, double& dAngle) {
  // The direction at right angles to the vector, measured in the user plane:
  // the vector's own user angle plus a quarter turn.
  ads_point ptWorld = {vec.x, vec.y, vec.z};
  ads_point ptUser;
  resbuf rbFrom, rbTo;
  setCoordSystem(rbFrom, 0);
  setCoordSystem(rbTo, 1);
  acedTrans(ptWorld, &rbFrom, &rbTo, 1, ptUser);
  AcGeVector3d vecUser(ptUser[X], ptUser[Y], 0.0);
  dAngle = getAngle(vecUser, 1) + 1.5707963;
}

void CCommonUtils::getNormalDirection(const AcGeVector3d& vec, AcGeVector3d& normal) {
  // A quarter turn to the left in the user plane: the user z direction
  // crossed with the vector.
  AcGeVector3d zAxis;
  getZucs(zAxis);
  normal = zAxis.crossProduct(vec);
  if (!normal.isZeroLength()) normal.normalize();
}

double CCommonUtils::getAngle(const AcGeVector3d& vec, int nMode) {
  if (vec.isZeroLength()) return 0.0;
  if (nMode != 1) return atan2(vec.y, vec.x);
  double dAngle = vec.angleTo(AcGeVector3d::kXAxis);
  if (vec.y <= 0) dAngle = 2 * PI - dAngle;
  // Along +X the turn back is a whole one: the angle stays in [0, 2pi).
  if (dAngle >= 2 * PI) dAngle = 0.0;
  return dAngle;
}

void CCommonUtils::getVectorAngle(const AcGeVector3d& first, const AcGeVector3d& second, double& dAngle) {
  if (first.isCodirectionalTo(second)) {
    dAngle = 0.0;
    return;
  }
  if (first.isParallelTo(second)) {
    dAngle = PI;
    return;
  }
  dAngle = first.angleTo(second);
  AcGeVector3d vecCross = (first - second).crossProduct(second);
  if (vecCross.z >= 0) dAngle = 2 * PI - dAngle;
}
