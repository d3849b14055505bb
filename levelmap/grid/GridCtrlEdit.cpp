// The editing protocol: starting an edit (GVN_BEGINLABELEDIT, then the
// cell's Edit), ending it (compare, store, validate, GVN_ENDLABELEDIT, then
// the modified bit or the old text back), going on to the next cell when a
// move key ended it, and the single-cell paste that takes the same path.
#include "GridCtrl.h"

void CGridCtrl::OnEditCell(int nRow, int nCol, CPoint point, UINT nChar) {
  m_TitleTip.Hide();
  // A covered cell is edited as its merged range's top-left cell, over the
  // whole range: that cell's editability and read-only bit decide.
  CCellRange range = GetMergedRangeOf(nRow, nCol);
  if (range.IsValid()) {
    nRow = range.GetMinRow();
    nCol = range.GetMinCol();
  }
  if (!IsValid(nRow, nCol) || !IsCellEditable(nRow, nCol)) return;
  EnsureVisible(nRow, nCol);
  if (!IsCellVisible(nRow, nCol)) return;
  CRect rect;
  if (range.IsValid() ? !GetCellRangeRect(range, &rect) : !GetCellRect(nRow, nCol, &rect)) return;

  if (SendEditMessageToParent(nRow, nCol, static_cast<int>(GVN_BEGINLABELEDIT), GetItemText(nRow, nCol), nChar) < 0)
    return;
  if (CGridCellBase* pCell = GetCell(nRow, nCol))
    pCell->Edit(nRow, nCol, rect, point, IDC_INPLACE_CONTROL, nChar);
}

BOOL CGridCtrl::ValidateEdit(int nRow, int nCol, LPCTSTR str) {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell ? pCell->ValidateEdit(str) : TRUE;
}

void CGridCtrl::OnEndEditCell(int nRow, int nCol, CString str) {
  CString strCurrentText = GetItemText(nRow, nCol);
  if (strCurrentText != str) {
    SetItemText(nRow, nCol, str);
    if (ValidateEdit(nRow, nCol, str) &&
        SendEditMessageToParent(nRow, nCol, static_cast<int>(GVN_ENDLABELEDIT), str, m_nEditEndKey) >= 0) {
      SetModified(TRUE, nRow, nCol);
      RedrawCell(nRow, nCol);
    } else {
      SetItemText(nRow, nCol, strCurrentText);
    }
  }
  if (CGridCellBase* pCell = GetCell(nRow, nCol)) pCell->OnEndEdit();
}

void CGridCtrl::OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  auto* pDispInfo = reinterpret_cast<GV_DISPINFO*>(pNMHDR);
  // The editor may end while the grid's window goes.
  if (!m_hWnd || !::IsWindow(m_hWnd)) return;
  const GV_ITEM& item = pDispInfo->item;
  UINT nKey = static_cast<UINT>(item.lParam);
  m_nEditEndKey = nKey;
  OnEndEditCell(item.row, item.col, item.strText);
  m_nEditEndKey = 0;
  // Tab and the move keys go on to the next cell and edit it too; Enter
  // and Esc leave the focus where it is.
  switch (nKey) {
    case VK_TAB:
    case VK_DOWN:
    case VK_UP:
    case VK_RIGHT:
    case VK_LEFT:
    case VK_NEXT:
    case VK_PRIOR:
    case VK_HOME:
    case VK_END: {
      CCellID before = m_idCurrentCell;
      OnKeyDown(nKey, 0, 0);
      if (IsValid(m_idCurrentCell) && m_idCurrentCell != before)
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), nKey);
      break;
    }
    default:
      break;
  }
}

void CGridCtrl::EndEditing() {
  CCellID cell = GetFocusCell();
  if (!IsValid(cell)) return;
  CCellRange range = GetMergedRangeOf(cell.row, cell.col);
  if (range.IsValid()) cell = range.GetTopLeft();
  if (CGridCellBase* pCell = GetCell(cell.row, cell.col); pCell && pCell->IsEditing()) pCell->EndEdit();
}

BOOL CGridCtrl::PasteTextToCell(int nRow, int nCol, LPCTSTR szText) {
  if (m_bVirtualMode || !IsCellEditable(nRow, nCol)) return FALSE;
  CString strText = szText ? szText : L"";
  if (SendEditMessageToParent(nRow, nCol, static_cast<int>(GVN_BEGINLABELEDIT), GetItemText(nRow, nCol), 0) < 0)
    return FALSE;
  OnEndEditCell(nRow, nCol, strText);
  return TRUE;
}
