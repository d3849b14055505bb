// What the scripted user sees of the grid: every cell's text for @print,
// and the centre of a cell scrolled into view for @cell.
#include "GridCtrl.h"
#include "scriptprobe.h"

LRESULT CGridCtrl::OnScriptPrint(WPARAM wParam, LPARAM lParam) {
  (void)wParam;
  auto* pLines = reinterpret_cast<win::ScriptPrintLines*>(lParam);
  if (!pLines) return FALSE;
  CString strSize;
  strSize.Format(L"%d x %d", GetRowCount(), GetColumnCount());
  pLines->emplace_back(L"", strSize.GetString());
  for (int row = 0; row < GetRowCount(); ++row) {
    CString strTag, strLine;
    strTag.Format(L"row %d", row);
    for (int col = 0; col < GetColumnCount(); ++col) {
      if (col > 0) strLine += L" | ";
      strLine += GetItemText(row, col);
    }
    pLines->emplace_back(strTag.GetString(), strLine.GetString());
  }
  return TRUE;
}

LRESULT CGridCtrl::OnScriptCellPoint(WPARAM wParam, LPARAM lParam) {
  int nRow = static_cast<int>(wParam), nCol = static_cast<int>(lParam);
  if (!IsValid(nRow, nCol) || GetRowHeight(nRow) <= 0 || GetColumnWidth(nCol) <= 0) return -1;
  EnsureVisible(nRow, nCol);
  CRect rect;
  if (!GetCellRect(nRow, nCol, &rect)) return -1;
  CRect rectClient;
  GetClientRect(&rectClient);
  CPoint centre((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  if (!rectClient.PtInRect(centre)) return -1;
  return MAKELRESULT(centre.x, centre.y);
}
