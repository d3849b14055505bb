// The check-box cell.
#include "GridCellCheck.h"

#include "GridCtrl.h"

IMPLEMENT_DYNCREATE(CGridCellCheck, CGridCell)

CGridCellCheck::CGridCellCheck() : m_bChecked(FALSE) {}

BOOL CGridCellCheck::SetCheck(BOOL bChecked) {
  BOOL bOld = m_bChecked;
  m_bChecked = bChecked;
  if (CGridCtrl* pGrid = GetGrid(); pGrid && pGrid->GetSafeHwnd() && !m_Rect.IsRectEmpty())
    pGrid->InvalidateRect(CRect(m_Rect.left, m_Rect.top, m_Rect.right + 1, m_Rect.bottom + 1));
  return bOld;
}

void CGridCellCheck::OnCopy(const CGridCellBase& cell) {
  if (const auto* pOther = dynamic_cast<const CGridCellCheck*>(&cell)) m_bChecked = pOther->m_bChecked;
}

CRect CGridCellCheck::GetCheckPlacement(const CRect& rectCell) const {
  int nWidth = ::GetSystemMetrics(SM_CXHSCROLL);
  int nMargin = static_cast<int>(GetMargin());
  CRect place(rectCell.left + nMargin, rectCell.top + nMargin, rectCell.left + nMargin + nWidth,
              rectCell.top + nMargin + nWidth);
  if (rectCell.Height() < nWidth + 2 * nMargin) {
    place.top = rectCell.top + (rectCell.Height() - nWidth) / 2;
    place.bottom = place.top + nWidth;
  }
  return place;
}

BOOL CGridCellCheck::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd) {
  // The ordinary cell with its text moved right of the box, then the box.
  CString strText = m_strText;
  m_strText.Empty();
  BOOL bResult = CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
  m_strText = strText;
  if (!bResult) return FALSE;
  m_Rect = rect;

  CRect rectText = rect;
  GetTextRect(rectText);
  if (!strText.IsEmpty() && !IsEditing() && rectText.Width() > 0) {
    int nSaved = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    CGridDefaultCell* pDefaultCell = GetDefaultCell();
    COLORREF crText = GetTextClr() != CLR_DEFAULT ? GetTextClr()
                      : pDefaultCell && pDefaultCell->GetTextClr() != CLR_DEFAULT
                          ? pDefaultCell->GetTextClr()
                          : ::GetSysColor(IsFixed() ? COLOR_BTNTEXT : COLOR_WINDOWTEXT);
    if (IsSelected() || ((IsFocused() || IsDropHighlighted()) && IsSelected())) crText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    pDC->SetTextColor(crText);
    pDC->SelectObject(GetFontObject());
    pDC->DrawText(strText, rectText, GetFormat() | DT_NOPREFIX);
    pDC->RestoreDC(nSaved);
  }

  CRect rectBox = GetCheckPlacement(rect);
  CRect rectClip = rectBox & rect;
  if (!rectClip.IsRectEmpty())
    pDC->DrawFrameControl(rectBox, DFC_BUTTON, DFCS_BUTTONCHECK | (m_bChecked ? DFCS_CHECKED : 0));
  return TRUE;
}

BOOL CGridCellCheck::GetTextRect(LPRECT pRect) {
  if (!pRect) return FALSE;
  CRect rectCell(pRect);
  CRect rectBox = GetCheckPlacement(rectCell);
  BOOL bResult = CGridCell::GetTextRect(pRect);
  pRect->left = std::max<LONG>(pRect->left, rectBox.right + static_cast<LONG>(GetMargin()));
  return bResult;
}

CSize CGridCellCheck::GetCellExtent(CDC* pDC) {
  int nWidth = ::GetSystemMetrics(SM_CXHSCROLL) + 2 * static_cast<int>(GetMargin());
  CSize size = CGridCell::GetCellExtent(pDC);
  size.cx += nWidth;
  size.cy = std::max<LONG>(size.cy, nWidth);
  return size;
}

void CGridCellCheck::OnClick(CPoint PointCellRelative) {
  CGridCtrl* pGrid = GetGrid();
  // Only a grid the user may change, and only a cell that is not read-only.
  if (!pGrid || !pGrid->IsEditable() || IsReadOnly() || m_Rect.IsRectEmpty()) return;
  CRect rectBox = GetCheckPlacement(m_Rect);
  rectBox.OffsetRect(-m_Rect.left, -m_Rect.top);
  if (!rectBox.PtInRect(PointCellRelative)) return;
  SetCheck(!m_bChecked);
}
