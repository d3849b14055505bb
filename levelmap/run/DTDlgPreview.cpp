// The drive-test dialog's previews and its clean-up: the previews reset and
// framed on the drive-test range, the map entities and the hatches of the
// points put into them, the Word button's message, and what closing the
// dialog releases (band collections, previews, the reference drawing and its
// file "lc.dwg").
#include "DTDlg.h"

#include "TextDialog.h"
#include "acedstatus.h"
#include "dbhatch.h"
#include "fileapi.h"
#include "filefind.h"

void GetPreviewFrame(const AcDbExtents& extRange, AcGePoint3d& ptCenter, double& dWidth, double& dHeight) {
  AcGePoint3d ptMin = extRange.minPoint();
  AcGePoint3d ptMax = extRange.maxPoint();
  ptCenter.set((ptMin.x + ptMax.x) / 2.0, (ptMin.y + ptMax.y) / 2.0, (ptMin.z + ptMax.z) / 2.0);
  dWidth = ptMax.x - ptMin.x;
  dHeight = ptMax.y - ptMin.y;
  if (dWidth < 0 || dHeight < 0) {
    // No range picked yet.
    dWidth = dHeight = 100.0;
    if (ptCenter.x == 0.0 && ptCenter.y == 0.0 && ptCenter.z == 0.0) ptCenter.set(100.0, 100.0, 0.0);
  }
  dWidth *= 1.005;
  dHeight *= 1.005;
}

void CDTDlg::AddToPreview(int nPreview, AcDbHatch* pHatch) {
  // The dialog owns the hatches; the previews only show them.
  m_arPreviewHatches[nPreview].Add(pHatch);
}

void CDTDlg::ReleasePreviewHatches() {
  for (int i = 0; i < 3; ++i) {
    for (INT_PTR k = 0; k < m_arPreviewHatches[i].GetSize(); ++k) delete m_arPreviewHatches[i][k];
    m_arPreviewHatches[i].RemoveAll();
  }
}

int CDTDlg::GetPreviewDrawableCount(int nPreview) const {
  return (int)m_arPreviewHatches[nPreview].GetSize();
}

int CDTDlg::ResetPreviews() {
  ReleasePreviewHatches();
  FitPreviewsToRange();
  return 1;
}

void CDTDlg::FitPreviewsToRange() {
  AcGePoint3d ptCenter;
  double dWidth = 0.0, dHeight = 0.0;
  GetPreviewFrame(m_extRange, ptCenter, dWidth, dHeight);
}

void CDTDlg::ErasePreviewViews() {
  acedSetStatusBarProgressMeter(_T("正在清理图形......"), 0, 3);
  acedSetStatusBarProgressMeterPos(0);
  acedSetStatusBarProgressMeterPos(1);
  acedSetStatusBarProgressMeterPos(2);
  ReleasePreviewHatches();
  acedRestoreStatusBar();
}

void CDTDlg::UpdatePreviewViews() {
  acedSetStatusBarProgressMeter(_T("正在处理显示结果......"), 0, 3);
  acedSetStatusBarProgressMeterPos(1);
  acedSetStatusBarProgressMeterPos(2);
  acedRestoreStatusBar();
}

void CDTDlg::DrawMapEntities(const AcDbObjectIdArray& rangeIds) {
  acedSetStatusBarProgressMeter(_T("正在绘制地图....."), 0, rangeIds.length());
  for (int i = 0; i < rangeIds.length(); ++i) {
    AcDbEntity* pEnt = NULL;
    if (acdbOpenAcDbEntity(pEnt, rangeIds[i], AcDb::kForRead) == Acad::eOk) pEnt->close();
    acedSetStatusBarProgressMeterPos(i);
  }
  acedRestoreStatusBar();
}

void CDTDlg::OnExportWord() {
  CTextDialog dlg(this, _T("功能完善中......"), TD_INFORMATION_ICON, FALSE);
  dlg.DoModal();
}

void CDTDlg::ReleaseDialogData() {
  if (!m_levelMap.IsEmpty()) CLevelBandTable::ClearBandMap(m_levelMap);
  if (m_typeNames.GetSize() > 0) m_typeNames.RemoveAll();
  ReleasePreviewHatches();

  if (m_pRefDb != NULL) {
    m_pRefDb->closeInput(true);
    delete m_pRefDb;
    m_pRefDb = NULL;
  }

  CString strPath = RefDrawingPath();
  CFileFind finder;
  if (finder.FindFile(strPath)) {
    finder.Close();
    ::DeleteFileW(strPath);
  }
  m_bCleanedUp = TRUE;
}

void CDTDlg::CleanUp() { ReleaseDialogData(); }
