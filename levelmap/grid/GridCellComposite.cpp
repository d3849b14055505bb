// The composite cell.
#include "GridCellComposite.h"

#include "GridCtrl.h"
#include "InPlaceEdit.h"

IMPLEMENT_DYNCREATE(CGridCellComposite, CGridCell)

CGridCellComposite::CGridCellComposite() {
  m_Info.m_pGrid = new CGridCtrl(1, 1, 0, 0);
  m_Info.m_bOwned = TRUE;
}

CGridCellComposite::~CGridCellComposite() {
  if (m_Info.m_bOwned) delete m_Info.m_pGrid;
}

void CGridCellComposite::SetInnerGrid(CGridCtrl* pGrid, BOOL bOwned) {
  if (pGrid == m_Info.m_pGrid) {
    m_Info.m_bOwned = bOwned;
    return;
  }
  if (m_Info.m_bOwned) delete m_Info.m_pGrid;
  m_Info.m_pGrid = pGrid;
  m_Info.m_bOwned = bOwned;
}

CGridCellBase* CGridCellComposite::GetFocusSubCell() const {
  CGridCtrl* pInner = m_Info.m_pGrid;
  if (!pInner) return nullptr;
  CCellID focus = pInner->GetFocusCell();
  if (!pInner->IsValid(focus)) focus = CCellID(0, 0);
  return pInner->GetCell(focus.row, focus.col);
}

CRect CGridCellComposite::GetSubCellRect(const CRect& rectCell, int nRow, int nCol) const {
  CGridCtrl* pInner = m_Info.m_pGrid;
  if (!pInner || !pInner->IsValid(nRow, nCol)) return CRect();
  long lWidth = std::max<long>(1, pInner->GetVirtualWidth()), lHeight = std::max<long>(1, pInner->GetVirtualHeight());
  // Edges in proportion to the inner sizes, so the sub-cells fill the cell.
  auto edge = [](int nFrom, int nSpan, long lBefore, long lTotal) {
    return nFrom + static_cast<int>(static_cast<long long>(nSpan) * lBefore / lTotal);
  };
  long lLeft = 0, lTop = 0;
  for (int col = 0; col < nCol; ++col) lLeft += pInner->GetColumnWidth(col);
  for (int row = 0; row < nRow; ++row) lTop += pInner->GetRowHeight(row);
  int nWidth = rectCell.Width() + 1, nHeight = rectCell.Height() + 1;
  return CRect(edge(rectCell.left, nWidth, lLeft, lWidth), edge(rectCell.top, nHeight, lTop, lHeight),
               edge(rectCell.left, nWidth, lLeft + pInner->GetColumnWidth(nCol), lWidth) - 1,
               edge(rectCell.top, nHeight, lTop + pInner->GetRowHeight(nRow), lHeight) - 1);
}

CCellID CGridCellComposite::GetSubCellFromPoint(CPoint PointCellRelative) const {
  CGridCtrl* pInner = m_Info.m_pGrid;
  if (!pInner || m_Rect.IsRectEmpty()) return CCellID();
  CRect rectCell(0, 0, m_Rect.Width(), m_Rect.Height());
  for (int row = 0; row < pInner->GetRowCount(); ++row)
    for (int col = 0; col < pInner->GetColumnCount(); ++col) {
      CRect rect = GetSubCellRect(rectCell, row, col);
      if (PointCellRelative.x >= rect.left && PointCellRelative.x <= rect.right && PointCellRelative.y >= rect.top &&
          PointCellRelative.y <= rect.bottom)
        return CCellID(row, col);
    }
  return CCellID();
}

void CGridCellComposite::SetText(LPCTSTR szText) {
  CGridCell::SetText(szText);
  if (CGridCellBase* pSub = GetFocusSubCell()) pSub->SetText(szText);
}

DWORD CGridCellComposite::GetState() const {
  CGridCellBase* pSub = GetFocusSubCell();
  return CGridCell::GetState() | (pSub ? pSub->GetState() & (GVIS_READONLY | GVIS_MODIFIED) : 0);
}

BOOL CGridCellComposite::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd) {
  // The cell's own background, selection and focus frame, then the sub-cells.
  CString strText = m_strText;
  m_strText.Empty();
  BOOL bResult = CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
  m_strText = strText;
  if (!bResult) return FALSE;
  m_Rect = rect;
  CGridCtrl* pInner = m_Info.m_pGrid;
  if (!pInner) return TRUE;
  CGridCtrl* pGrid = GetGrid();
  CPen pen(PS_SOLID, 1, pGrid ? pGrid->GetGridLineColor() : RGB(192, 192, 192));
  for (int row = 0; row < pInner->GetRowCount(); ++row)
    for (int col = 0; col < pInner->GetColumnCount(); ++col) {
      CGridCellBase* pSub = pInner->GetCell(row, col);
      CRect rectSub = GetSubCellRect(rect, row, col);
      if (!pSub || rectSub.Width() <= 0 || rectSub.Height() <= 0) continue;
      // A sub-cell shows the composite's selection rather than its own.
      DWORD nState = pSub->GetState();
      pSub->SetState((nState & ~(GVIS_SELECTED | GVIS_FOCUSED)) | (IsSelected() ? GVIS_SELECTED : 0));
      pSub->Draw(pDC, row, -1, rectSub, !IsSelected());
      pSub->SetState(nState);
      CPen* pOldPen = pDC->SelectObject(&pen);
      if (rectSub.right < rect.right) {
        pDC->MoveTo(rectSub.right, rectSub.top);
        pDC->LineTo(rectSub.right, rectSub.bottom + 1);
      }
      if (rectSub.bottom < rect.bottom) {
        pDC->MoveTo(rectSub.left, rectSub.bottom);
        pDC->LineTo(rectSub.right + 1, rectSub.bottom);
      }
      pDC->SelectObject(pOldPen);
    }
  return TRUE;
}

BOOL CGridCellComposite::Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) {
  (void)point;
  if (m_bEditing) return TRUE;
  CGridCtrl* pGrid = GetGrid();
  CGridCtrl* pInner = m_Info.m_pGrid;
  CGridCellBase* pSub = GetFocusSubCell();
  if (!pGrid || !pGrid->GetSafeHwnd() || !pInner || !pSub || pSub->IsReadOnly()) return FALSE;
  CCellID focus = pInner->GetFocusCell();
  if (!pInner->IsValid(focus)) focus = CCellID(0, 0);
  CRect rectSub = GetSubCellRect(rect, focus.row, focus.col);
  m_bEditing = TRUE;
  auto* pEditor = new CInPlaceEdit(pGrid, rectSub, ES_LEFT, nID, nRow, nCol, pSub->GetText(), nChar);
  if (!pEditor->GetSafeHwnd()) {
    delete pEditor;
    m_bEditing = FALSE;
    return FALSE;
  }
  if (m_bEditing) m_pEditWnd = pEditor;
  return TRUE;
}

BOOL CGridCellComposite::ValidateEdit(LPCTSTR str) {
  CGridCellBase* pSub = GetFocusSubCell();
  return pSub ? pSub->ValidateEdit(str) : TRUE;
}

void CGridCellComposite::EndEdit() {
  if (auto* pEditor = dynamic_cast<CInPlaceEdit*>(m_pEditWnd)) pEditor->EndEdit();
}

void CGridCellComposite::OnClick(CPoint PointCellRelative) {
  // A click chooses the sub-cell that editing and the text go to.
  CCellID sub = GetSubCellFromPoint(PointCellRelative);
  if (m_Info.m_pGrid && m_Info.m_pGrid->IsValid(sub)) m_Info.m_pGrid->SetFocusCell(sub);
}
