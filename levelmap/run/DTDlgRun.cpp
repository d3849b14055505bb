// The drive-test run behind the draw button: range and route picked in the
// drawing with the dialog hidden, points simulated along the route, the map
// and the points, coloured by the band each point drew, put into the
// preview of every measurement type.
#include "DTDlg.h"

#include "CommonUtils.h"
#include "PointSimulation.h"
#include "acdocman.h"
#include "acedstatus.h"
#include "dbcurves.h"
#include "dbhatch.h"

void CDTDlg::OnDrawDriveTest() {
  // Leaving a count field runs its validation first.
  m_btnDraw.SetFocus();
  if (m_bNameChanged) SaveBandNames();

  BeginEditorCommand();
  ShowWindow(SW_HIDE);

  ResetBandQuotas();
  AcDbObjectIdArray* pRangeIds = new AcDbObjectIdArray();
  if (SimulateRoutePoints(m_nPointCount, (double)m_nDrawCount / (double)m_nPointCount, m_levelMap, m_extRange,
                          *pRangeIds) == 1) {
    ErasePreviewViews();
    ResetPreviews();
    DrawMapEntities(*pRangeIds);
    pRangeIds->removeAll();
    DrawRoutePoints();
  }
  acedRestoreStatusBar();

  UpdatePreviewViews();

  CompleteEditorCommand(TRUE);
  ShowWindow(SW_SHOW);
  delete pRangeIds;
}

void CDTDlg::DrawRoutePoints() {
  acDocManager->lockDocument(curDoc(), AcAp::kWrite, NULL, NULL, true);

  int nPoints = g_routePoints.length();
  // Counted in 64 bits: the types times the points may pass what an int holds.
  long long nMax = (long long)m_levelMap.GetCount() * nPoints;
  acedSetStatusBarProgressMeter(_T("正在绘制路测点....."), 0, nMax > INT_MAX ? INT_MAX : (int)nMax);
  int nPos = 1;

  int n = nPoints < m_nPointCount ? nPoints : m_nPointCount;
  BOOL bAppendFailed = FALSE;
  for (INT_PTR i = 0; i < m_typeNames.GetSize() && !bAppendFailed; ++i) {
    CLevelBandArray* pBands = NULL;
    if (!m_levelMap.Lookup(m_typeNames[i], pBands) || pBands == NULL || n <= 0) continue;
    CGsPreviewCtrl* pPreview = i < 3 ? PreviewAt((int)i) : NULL;
    for (int k = 0; k < n; ++k) {
      int nColor = PickBand(*pBands);
      // Types after the third consume their quotas but have no preview.
      if (pPreview != NULL && !DrawTestPoint(*pPreview, g_routePoints[k], g_pointSpacing, nColor)) {
        // The drawing takes no circle: one alert was enough, no more points.
        bAppendFailed = TRUE;
        break;
      }
      acedSetStatusBarProgressMeterPos(nPos);
      if (nPos < INT_MAX) ++nPos;
    }
  }

  g_routePoints.removeAll();
  acDocManager->unlockDocument(curDoc());
}

BOOL CDTDlg::DrawTestPoint(CGsPreviewCtrl& preview, const AcGePoint3d& ptCenter, double dRadius, int nColor) {
  AcDbCircle* pCircle = new AcDbCircle();
  pCircle->setCenter(ptCenter);
  pCircle->setRadius(dRadius);
  pCircle->setColorIndex((Adesk::UInt16)nColor, Adesk::kTrue);

  AcDbObjectId circleId;
  if (!CCommonUtils::append(pCircle, circleId)) {
    // Not in a drawing, so nobody else will free it.
    delete pCircle;
    return FALSE;
  }
  pCircle->close();

  AcDbObjectIdArray boundaryIds;
  boundaryIds.append(circleId);
  AddHatchToPreview(preview, boundaryIds, nColor, _T("SOLID"), true);
  return TRUE;
}

AcDbObjectId CDTDlg::AddHatchToPreview(CGsPreviewCtrl& preview, AcDbObjectIdArray boundaryIds, int nColor,
                                       LPCTSTR lpszPattern, bool bAssociative) {
  AcDbHatch* pHatch = new AcDbHatch();
  pHatch->setNormal(AcGeVector3d(0, 0, 1));
  pHatch->setElevation(0.0);
  pHatch->setColorIndex((Adesk::UInt16)nColor, Adesk::kTrue);
  pHatch->setAssociative(bAssociative);
  pHatch->setPattern(AcDbHatch::kPreDefined, lpszPattern);
  pHatch->appendLoop(AcDbHatch::kExternal, boundaryIds);
  pHatch->evaluateHatch(false);

  AcDbObjectId hatchId;
  hatchId.setNull();
  AddToPreview(preview, pHatch);

  if (bAssociative) {
    for (int i = 0; i < boundaryIds.length(); ++i) {
      AcDbEntity* pEnt = NULL;
      if (acdbOpenAcDbEntity(pEnt, boundaryIds[i], AcDb::kForWrite) == Acad::eOk) {
        pEnt->erase();
        pEnt->close();
      }
    }
  }
  return hatchId;
}
