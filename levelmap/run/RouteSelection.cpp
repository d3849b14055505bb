// Choosing the drive-test range by two corners and the route polylines, and the
// map entities crossing the range.
#include "RouteSelection.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "CommonUtils.h"
#include "TextDialog.h"
#include "acedframe.h"
#include "acedsel.h"
#include "acutprint.h"
#include "adscodes.h"
#include "dbobject.h"
#include "edprompt.h"
#include "geassign.h"

namespace {

// A refused selection: the message dialog owned by the host's main window,
// then the same text on the command line.
void ShowSelectionMessage(LPCTSTR lpszText) {
  CTextDialog dlg(acedGetAcadFrame(), lpszText, TD_WARNING_ICON, FALSE);
  dlg.DoModal();
  acutPrintf(_T("\n%s\n"), lpszText);
}

// The ids of a selection set, in its order.
void AppendSelection(const ads_name ss, AcDbObjectIdArray& ids) {
  Adesk::Int32 nLength = 0;
  if (acedSSLength(ss, &nLength) != RTNORM) return;
  for (Adesk::Int32 i = 0; i < nLength; ++i) {
    ads_name ent;
    AcDbObjectId id;
    if (acedSSName(ss, i, ent) != RTNORM) continue;
    if (acdbGetObjectId(id, ent) != Acad::eOk) continue;
    ids.append(id);
  }
}

}  // namespace

BOOL IsRangeSideTooSmall(double d1, double d2) {
  double dSide = fabs(d1 - d2);
  double dMagnitude = std::max(1.0, std::max(fabs(d1), fabs(d2)));
  return dSide < DT_MIN_RANGE_SIDE - 4 * DBL_EPSILON * dMagnitude;
}

int SelectRange(AcDbExtents& extRange, AcDbObjectIdArray& rangeIds) {
  extRange = AcDbExtents();

  ads_point pt1, pt2;
  if (acedGetPoint(NULL, _T("\n请选择路测范围的第一个对角点:"), pt1) != RTNORM) return 0;
  if (acedGetCorner(pt1, _T("\n请选择另一个对角:"), pt2) != RTNORM) return 0;

  if (IsRangeSideTooSmall(pt1[X], pt2[X]) || IsRangeSideTooSmall(pt1[Y], pt2[Y])) {
    ShowSelectionMessage(_T("选择范围太小"));
    return 0;
  }

  extRange.addPoint(AcGePoint3d(pt1[X], pt1[Y], 0.0));
  extRange.addPoint(AcGePoint3d(pt2[X], pt2[Y], 0.0));
  CCommonUtils::zoomExtents(extRange.minPoint(), extRange.maxPoint());

  // The crossing window goes through the corners as they were picked.
  ads_name ss;
  if (acedSSGet(_T("C"), pt1, pt2, NULL, ss) == RTNORM) {
    AppendSelection(ss, rangeIds);
    acedSSFree(ss);
  }
  return 1;
}

bool SelectRoutePolylines(AcDbObjectIdArray& rangeIds, AcDbObjectIdArray& routeIds) {
  acutPrintf(_T("\n请选择多段线\n"));

  resbuf* pFilter = acutBuildList(RTDXF0, _T("LWPOLYLINE"), 0);
  ads_name ss;
  int nResult = acedSSGet(NULL, NULL, NULL, pFilter, ss);
  acutRelRb(pFilter);

  if (nResult == RTNORM) {
    int nFirst = routeIds.length();
    AppendSelection(ss, routeIds);
    for (int i = nFirst; i < routeIds.length(); ++i) {
      int nAt = -1;
      if (rangeIds.find(routeIds[i], nAt)) rangeIds.removeAt(nAt);
    }
    acedSSFree(ss);
  }

  if (routeIds.isEmpty()) {
    ShowSelectionMessage(_T("没有选择多段线"));
    return false;
  }
  return true;
}
