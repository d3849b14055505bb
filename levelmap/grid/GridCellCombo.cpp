// The drop-down list cell.
#include "GridCellCombo.h"

#include "GridCtrl.h"
#include "InPlaceList.h"

IMPLEMENT_DYNCREATE(CGridCellCombo, CGridCell)

CGridCellCombo::CGridCellCombo() : m_dwStyle(CBS_DROPDOWN) {}

void CGridCellCombo::SetOptions(const CStringArray& ar) { m_Strings.Copy(ar); }

void CGridCellCombo::OnCopy(const CGridCellBase& cell) {
  if (const auto* pOther = dynamic_cast<const CGridCellCombo*>(&cell)) {
    m_Strings.Copy(pOther->m_Strings);
    m_dwStyle = pOther->m_dwStyle;
  }
}

BOOL CGridCellCombo::Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) {
  (void)point;
  if (m_bEditing) return TRUE;
  CGridCtrl* pGrid = GetGrid();
  if (!pGrid || !pGrid->GetSafeHwnd()) return FALSE;
  m_bEditing = TRUE;
  auto* pEditor = new CInPlaceList(pGrid, rect, m_dwStyle, nID, nRow, nCol, GetTextClr(), GetBackClr(), m_Strings,
                                   GetText(), nChar);
  if (!pEditor->GetSafeHwnd()) {
    delete pEditor;
    m_bEditing = FALSE;
    return FALSE;
  }
  if (m_bEditing) m_pEditWnd = pEditor;
  return TRUE;
}

void CGridCellCombo::EndEdit() {
  if (auto* pEditor = dynamic_cast<CInPlaceList*>(m_pEditWnd)) pEditor->EndEdit();
}

BOOL CGridCellCombo::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd) {
  // The focus cell, not being edited, shows the drop-down button at its
  // right edge; the text keeps to the left of it.
  int cxButton = ::GetSystemMetrics(SM_CXVSCROLL), cyButton = ::GetSystemMetrics(SM_CYHSCROLL);
  bool bButton = IsFocused() && !IsEditing() && rect.Width() > cxButton && rect.Height() > cyButton;
  if (!bButton) return CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);

  CRect rectButton(rect.right - cxButton, rect.top, rect.right, rect.top + cyButton);
  CString strText = m_strText;
  m_strText.Empty();
  BOOL bResult = CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
  m_strText = strText;
  if (!bResult) return FALSE;
  CRect rectText(rect.left, rect.top, rectButton.left, rect.bottom);
  GetTextRect(rectText);
  if (rectText.Width() > 0) {
    int nSaved = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    CGridDefaultCell* pDefaultCell = GetDefaultCell();
    COLORREF crText = GetTextClr() != CLR_DEFAULT ? GetTextClr()
                      : pDefaultCell && pDefaultCell->GetTextClr() != CLR_DEFAULT ? pDefaultCell->GetTextClr()
                                                                                  : ::GetSysColor(COLOR_WINDOWTEXT);
    if (IsSelected()) crText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    pDC->SetTextColor(crText);
    pDC->SelectObject(GetFontObject());
    pDC->DrawText(strText, rectText, GetFormat() | DT_NOPREFIX);
    pDC->RestoreDC(nSaved);
  }
  pDC->DrawFrameControl(rectButton, DFC_SCROLL, DFCS_SCROLLDOWN);
  return TRUE;
}

CSize CGridCellCombo::GetCellExtent(CDC* pDC) {
  CSize size = CGridCell::GetCellExtent(pDC);
  // Room for the drop-down button beside the text.
  size.cx += ::GetSystemMetrics(SM_CXVSCROLL);
  size.cy = std::max<LONG>(size.cy, ::GetSystemMetrics(SM_CYHSCROLL));
  return size;
}
