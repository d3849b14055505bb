// The editing protocol: starting an edit (GVN_BEGINLABELEDIT, then the
// cell's Edit), ending it (compare, store, validate, GVN_ENDLABELEDIT, then
// the modified bit or the old text back), and the single-cell paste that
// takes the same path.
#include "GridCtrl.h"

void CGridCtrl::OnEditCell(int nRow, int nCol, CPoint point, UINT nChar) {
  // A covered cell is edited as its merged range's top-left cell, over the
  // whole range.
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
        SendEditMessageToParent(nRow, nCol, static_cast<int>(GVN_ENDLABELEDIT), str, 0) >= 0) {
      SetModified(TRUE, nRow, nCol);
      RedrawCell(nRow, nCol);
    } else {
      SetItemText(nRow, nCol, strCurrentText);
    }
  }
  if (CGridCellBase* pCell = GetCell(nRow, nCol)) pCell->OnEndEdit();
}

BOOL CGridCtrl::PasteTextToCell(int nRow, int nCol, LPCTSTR szText) {
  if (m_bVirtualMode || !IsCellEditable(nRow, nCol)) return FALSE;
  CString strText = szText ? szText : L"";
  if (SendEditMessageToParent(nRow, nCol, static_cast<int>(GVN_BEGINLABELEDIT), GetItemText(nRow, nCol), 0) < 0)
    return FALSE;
  OnEndEditCell(nRow, nCol, strText);
  return TRUE;
}
