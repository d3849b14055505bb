// The drive-test dialog's previews and its clean-up: the previews reset and
// framed on the drive-test range, the reference drawing's model space and the
// map entities put into them, their colours, the Word button's message, and
// what closing the dialog releases (band collections, previews, the hatches
// of the points, the reference drawing and its file "lc.dwg").
#include "DTDlg.h"

#include "PreviewPalette.h"
#include "TextDialog.h"
#include "acedcolor.h"
#include "acedstatus.h"
#include "dbhatch.h"
#include "dbsymtb.h"
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

CGsPreviewCtrl* CDTDlg::PreviewAt(int nPreview) {
  switch (nPreview) {
    case 0: return &m_preview1;
    case 1: return &m_preview2;
    case 2: return &m_preview3;
    default: return NULL;
  }
}

int CDTDlg::PreviewIndex(const CGsPreviewCtrl& preview) const {
  if (&preview == &m_preview1) return 0;
  if (&preview == &m_preview2) return 1;
  if (&preview == &m_preview3) return 2;
  return -1;
}

void CDTDlg::AddToPreview(CGsPreviewCtrl& preview, AcDbHatch* pHatch) {
  int nPreview = PreviewIndex(preview);
  if (nPreview < 0 || preview.view() == NULL) {
    delete pHatch;
    return;
  }
  preview.view()->add(pHatch, preview.model());
  // The dialog owns the hatches; the previews only show them.
  m_arPreviewHatches[nPreview].Add(pHatch);
}

void CDTDlg::ReleasePreviewHatches() {
  for (int i = 0; i < 3; ++i) {
    CGsPreviewCtrl* pPreview = PreviewAt(i);
    if (pPreview->view() != NULL)
      for (INT_PTR k = 0; k < m_arPreviewHatches[i].GetSize(); ++k) pPreview->view()->erase(m_arPreviewHatches[i][k]);
    for (INT_PTR k = 0; k < m_arPreviewHatches[i].GetSize(); ++k) delete m_arPreviewHatches[i][k];
    m_arPreviewHatches[i].RemoveAll();
  }
}

int CDTDlg::GetPreviewDrawableCount(int nPreview) const {
  return nPreview >= 0 && nPreview < 3 ? (int)m_arPreviewHatches[nPreview].GetSize() : 0;
}

int CDTDlg::ResetPreviews() {
  m_preview1.clearAll();
  m_preview2.clearAll();
  m_preview3.clearAll();
  // The views that showed them are gone.
  ReleasePreviewHatches();

  m_preview1.init(LevelmapResourceInstance(), true);
  m_preview2.init(LevelmapResourceInstance(), true);
  m_preview3.init(LevelmapResourceInstance(), true);

  if (m_pRefDb != NULL) {
    ShowBlockInPreview(m_preview1, m_pRefDb, ACDB_MODEL_SPACE);
    ShowBlockInPreview(m_preview2, m_pRefDb, ACDB_MODEL_SPACE);
    ShowBlockInPreview(m_preview3, m_pRefDb, ACDB_MODEL_SPACE);
  }

  ApplyPreviewColors(m_preview1);
  ApplyPreviewColors(m_preview2);
  ApplyPreviewColors(m_preview3);

  FitPreviewsToRange();
  return 1;
}

void CDTDlg::FitPreviewsToRange() {
  AcGePoint3d ptCenter;
  double dWidth = 0.0, dHeight = 0.0;
  GetPreviewFrame(m_extRange, ptCenter, dWidth, dHeight);
  for (int i = 0; i < 3; ++i) {
    AcGsView* pView = PreviewAt(i)->view();
    if (pView == NULL) continue;
    pView->setView(ptCenter + AcGeVector3d(0, 0, 1), ptCenter, AcGeVector3d::kYAxis, dWidth, dHeight,
                   AcGsView::kParallel);
  }
}

Acad::ErrorStatus CDTDlg::ShowBlockInPreview(CGsPreviewCtrl& preview, AcDbDatabase* pDb, LPCTSTR lpszBlockName) {
  if (pDb == NULL) return Acad::eNullObjectPointer;
  AcDbBlockTableRecord* pRecord = NULL;
  AcDbBlockTable* pTable = NULL;
  Acad::ErrorStatus es = pDb->getBlockTable(pTable, AcDb::kForRead);
  if (es == Acad::eOk) {
    es = pTable->getAt(lpszBlockName, pRecord, AcDb::kForRead);
    pTable->close();
  }
  AcGsView* pView = preview.view();
  if (es == Acad::eOk && pView != NULL) pView->add(pRecord, preview.model());
  if (pView != NULL) pView->setMode(AcGsView::kGouraudShadedWithWireframe);
  if (m_preview1.view() != NULL) {
    m_preview1.view()->invalidate();
    m_preview1.view()->update();
  }
  if (es == Acad::eOk) pRecord->close();
  return es;
}

void CDTDlg::ApplyPreviewColors(CGsPreviewCtrl& preview) {
  AcGsDevice* pDevice = preview.device();
  if (pDevice == NULL) return;
  AcColorSettings colors;
  acedGetCurrentColors(&colors);
  COLORREF crBack = (COLORREF)colors.dwGfxLayoutBkColor;
  AcGsColor background;
  background.m_red = GetRValue(crBack);
  background.m_green = GetGValue(crBack);
  background.m_blue = GetBValue(crBack);
  background.m_filler = 255;
  pDevice->setBackgroundColor(background);

  AcGsColor palette[256];
  for (int i = 0; i < 256; ++i) {
    COLORREF cr = PreviewPaletteColor(i);
    palette[i].m_red = GetRValue(cr);
    palette[i].m_green = GetGValue(cr);
    palette[i].m_blue = GetBValue(cr);
    palette[i].m_filler = 255;
  }
  pDevice->setLogicalPalette(palette, 256);

  if (preview.view() != NULL) {
    preview.view()->invalidate();
    preview.view()->update();
  }
}

void CDTDlg::ErasePreviewViews() {
  acedSetStatusBarProgressMeter(_T("正在清理图形......"), 0, 3);
  acedSetStatusBarProgressMeterPos(0);
  for (int i = 0; i < 3; ++i) {
    CGsPreviewCtrl* pPreview = PreviewAt(i);
    if (pPreview->view() != NULL) pPreview->view()->eraseAll();
    if (i < 2) acedSetStatusBarProgressMeterPos(i + 1);
  }
  // Out of every view now: the hatches can go.
  ReleasePreviewHatches();
  acedRestoreStatusBar();
}

void CDTDlg::UpdatePreviewViews() {
  acedSetStatusBarProgressMeter(_T("正在处理显示结果......"), 0, 3);
  for (int i = 0; i < 3; ++i) {
    AcGsView* pView = PreviewAt(i)->view();
    if (pView != NULL) {
      pView->invalidate();
      pView->update();
    }
    if (i < 2) acedSetStatusBarProgressMeterPos(i + 1);
  }
  acedRestoreStatusBar();
}

void CDTDlg::DrawMapEntities(const AcDbObjectIdArray& rangeIds) {
  acedSetStatusBarProgressMeter(_T("正在绘制地图....."), 0, rangeIds.length());
  for (int i = 0; i < rangeIds.length(); ++i) {
    AcDbEntity* pEnt = NULL;
    if (acdbOpenAcDbEntity(pEnt, rangeIds[i], AcDb::kForRead) == Acad::eOk) {
      for (int k = 0; k < 3; ++k) {
        CGsPreviewCtrl* pPreview = PreviewAt(k);
        if (pPreview->view() != NULL) pPreview->view()->add(pEnt, pPreview->model());
      }
      pEnt->close();
    }
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

  // Every view lets go of the reference drawing before it is deleted.
  for (int i = 0; i < 3; ++i) {
    CGsPreviewCtrl* pPreview = PreviewAt(i);
    if (pPreview->view() != NULL) pPreview->view()->eraseAll();
  }
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

void CDTDlg::CleanUp() {
  if (!m_levelMap.IsEmpty()) CLevelBandTable::ClearBandMap(m_levelMap);
  if (m_typeNames.GetSize() > 0) m_typeNames.RemoveAll();
  if (m_preview1.view() != NULL && GetSafeHwnd() != NULL) {
    BeginEditorCommand();
    ShowWindow(SW_HIDE);
    ErasePreviewViews();
    CompleteEditorCommand(TRUE);
    ShowWindow(SW_SHOW);
  }
  ReleaseDialogData();
}
