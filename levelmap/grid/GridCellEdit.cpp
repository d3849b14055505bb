// Editing an ordinary text cell in an in-place edit control.
#include "GridCell.h"
#include "GridCtrl.h"
#include "InPlaceEdit.h"

BOOL CGridCell::Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) {
  (void)point;
  if (m_bEditing) {
    // Already open: the key goes to the editor.
    if (m_pEditWnd && ::IsWindow(m_pEditWnd->GetSafeHwnd())) m_pEditWnd->SendMessage(WM_CHAR, nChar, 1);
    return TRUE;
  }
  CGridCtrl* pGrid = GetGrid();
  if (!pGrid || !pGrid->GetSafeHwnd()) return FALSE;
  DWORD dwStyle = ES_LEFT;
  if (GetFormat() & DT_RIGHT) dwStyle = ES_RIGHT;
  else if (GetFormat() & DT_CENTER) dwStyle = ES_CENTER;
  m_bEditing = TRUE;
  auto* pEditor = new CInPlaceEdit(pGrid, rect, dwStyle, nID, nRow, nCol, GetText(), nChar);
  if (!pEditor->GetSafeHwnd()) {
    // No editor could be made: the cell is not being edited.
    delete pEditor;
    m_bEditing = FALSE;
    return FALSE;
  }
  // The editor may have ended already (the first key ended it).
  if (m_bEditing) m_pEditWnd = pEditor;
  return TRUE;
}

void CGridCell::EndEdit() {
  if (auto* pEditor = dynamic_cast<CInPlaceEdit*>(m_pEditWnd)) pEditor->EndEdit();
}
