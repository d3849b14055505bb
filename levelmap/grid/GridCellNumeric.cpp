// The number cell.
#include "GridCellNumeric.h"

#include "GridCtrl.h"
#include "InPlaceEdit.h"

IMPLEMENT_DYNCREATE(CGridCellNumeric, CGridCell)

BOOL CGridCellNumeric::Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) {
  (void)point;
  if (m_bEditing) return TRUE;
  CGridCtrl* pGrid = GetGrid();
  if (!pGrid || !pGrid->GetSafeHwnd()) return FALSE;
  m_bEditing = TRUE;
  auto* pEditor = new CInPlaceEdit(pGrid, rect, ES_NUMBER, nID, nRow, nCol, GetText(), nChar);
  if (!pEditor->GetSafeHwnd()) {
    delete pEditor;
    m_bEditing = FALSE;
    return FALSE;
  }
  if (m_bEditing) m_pEditWnd = pEditor;
  return TRUE;
}
