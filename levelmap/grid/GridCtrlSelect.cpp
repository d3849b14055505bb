// The focus cell, the selection and the modified flags.
#include <algorithm>
#include <climits>

#include "GridCtrl.h"

// ---------------------------------------------------------------- focus

CCellID CGridCtrl::SetFocusCell(CCellID cell) {
  if (cell == m_idCurrentCell) return m_idCurrentCell;
  CCellID idPrev = m_idCurrentCell;
  if (!IsValid(cell)) cell = CCellID(-1, -1);
  m_idCurrentCell = cell;

  if (IsValid(idPrev)) {
    if (!m_bVirtualMode)
      if (CGridCellBase* pCell = GetCell(idPrev.row, idPrev.col)) pCell->SetState(pCell->GetState() & ~GVIS_FOCUSED);
    RedrawCell(idPrev.row, idPrev.col);
    if (m_bTrackFocusCell) {
      if (idPrev.col != m_idCurrentCell.col)
        for (int row = 0; row < m_nFixedRows; ++row) RedrawCell(row, idPrev.col);
      if (idPrev.row != m_idCurrentCell.row)
        for (int col = 0; col < m_nFixedCols; ++col) RedrawCell(idPrev.row, col);
    }
  }
  if (IsValid(m_idCurrentCell)) {
    if (!m_bVirtualMode)
      if (CGridCellBase* pCell = GetCell(m_idCurrentCell.row, m_idCurrentCell.col))
        pCell->SetState(pCell->GetState() | GVIS_FOCUSED);
    RedrawCell(m_idCurrentCell.row, m_idCurrentCell.col);
    if (m_bTrackFocusCell) {
      for (int row = 0; row < m_nFixedRows; ++row) RedrawCell(row, m_idCurrentCell.col);
      for (int col = 0; col < m_nFixedCols; ++col) RedrawCell(m_idCurrentCell.row, col);
    }
  }
  return idPrev;
}

void CGridCtrl::OnSetFocus(CWnd* pOldWnd) {
  (void)pOldWnd;
  Default();
  if (IsValid(m_idCurrentCell)) RedrawCell(m_idCurrentCell.row, m_idCurrentCell.col);
}

void CGridCtrl::OnKillFocus(CWnd* pNewWnd) {
  (void)pNewWnd;
  Default();
  if (IsValid(m_idCurrentCell)) RedrawCell(m_idCurrentCell.row, m_idCurrentCell.col);
}

// ---------------------------------------------------------------- selection

void CGridCtrl::SetCellSelected(const CCellID& cell, BOOL bSelected, BOOL bRedraw) {
  if (bSelected) m_SelectedCellMap.insert(cell);
  else m_SelectedCellMap.erase(cell);
  if (!m_bVirtualMode)
    if (CGridCellBase* pCell = GetCell(cell.row, cell.col)) {
      DWORD nState = pCell->GetState();
      DWORD nNew = bSelected ? (nState | GVIS_SELECTED) : (nState & ~GVIS_SELECTED);
      if (nNew == nState) return;
      pCell->SetState(nNew);
    }
  if (bRedraw) RedrawCell(cell.row, cell.col);
}

void CGridCtrl::SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint,
                                 BOOL bSelectCells) {
  if (!m_bEnableSelection) return;
  (void)bForceRepaint;
  CCellRange range(nMinRow, nMinCol, nMaxRow, nMaxCol);
  if (range.IsValid()) range = range.Intersect(GetCellRange());

  // The new selection: the range, and the cells selected before a drag
  // began with Control held. Everything else loses its mark.
  std::set<CCellID> arWanted;
  if (range.IsValid() && bSelectCells)
    for (int row = range.GetMinRow(); row <= range.GetMaxRow(); ++row)
      for (int col = range.GetMinCol(); col <= range.GetMaxCol(); ++col) arWanted.insert(CCellID(row, col));
  for (const CCellID& cell : m_PrevSelectedCellMap)
    if (IsValid(cell)) arWanted.insert(cell);
  for (const CCellID& cell : std::set<CCellID>(m_SelectedCellMap))
    if (!arWanted.count(cell)) SetCellSelected(cell, FALSE, TRUE);
  for (const CCellID& cell : arWanted) SetCellSelected(cell, TRUE, TRUE);
  m_SelectedRange = range;
}

void CGridCtrl::SetSelectedRange(const CCellRange& Range, BOOL bForceRepaint, BOOL bSelectCells) {
  SetSelectedRange(Range.GetMinRow(), Range.GetMinCol(), Range.GetMaxRow(), Range.GetMaxCol(), bForceRepaint,
                   bSelectCells);
}

void CGridCtrl::ResetSelectedRange() {
  m_PrevSelectedCellMap.clear();
  SetSelectedRange(-1, -1, -1, -1);
  // Whatever selection was made while selecting was switched off goes too.
  for (const CCellID& cell : std::set<CCellID>(m_SelectedCellMap)) SetCellSelected(cell, FALSE, TRUE);
  m_SelectedCellMap.clear();
  m_SelectedRange = CCellRange();
}

void CGridCtrl::ClearSelectionAndFocus() {
  ResetSelectedRange();
  SetFocusCell(-1, -1);
}

void CGridCtrl::PruneSelection() {
  for (auto it = m_SelectedCellMap.begin(); it != m_SelectedCellMap.end();)
    it = IsValid(*it) ? std::next(it) : m_SelectedCellMap.erase(it);
  for (auto it = m_PrevSelectedCellMap.begin(); it != m_PrevSelectedCellMap.end();)
    it = IsValid(*it) ? std::next(it) : m_PrevSelectedCellMap.erase(it);
  if (m_SelectedRange.IsValid()) {
    m_SelectedRange = m_SelectedRange.Intersect(GetCellRange());
    if (!m_SelectedRange.IsValid()) m_SelectedRange = CCellRange();
  }
}

CCellRange CGridCtrl::GetSelectedCellRange() const {
  if (m_SelectedCellMap.empty()) return CCellRange();
  CCellRange range(INT_MAX, INT_MAX, -1, -1);
  for (const CCellID& cell : m_SelectedCellMap) {
    range.SetMinRow(std::min(range.GetMinRow(), cell.row));
    range.SetMinCol(std::min(range.GetMinCol(), cell.col));
    range.SetMaxRow(std::max(range.GetMaxRow(), cell.row));
    range.SetMaxCol(std::max(range.GetMaxCol(), cell.col));
  }
  return range;
}

void CGridCtrl::SelectAllCells() {
  SendMessageToParent(-1, -1, static_cast<int>(GVN_SELCHANGING));
  if (m_bEnableSelection && m_nRows > m_nFixedRows && m_nCols > m_nFixedCols)
    SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1);
  SendMessageToParent(-1, -1, static_cast<int>(GVN_SELCHANGED));
}

void CGridCtrl::SelectColumns(CCellID currentCell, BOOL bForceRedraw, BOOL bSelectCells) {
  if (!IsValid(currentCell) || m_nRows <= m_nFixedRows) return;
  if (currentCell.col < m_nFixedCols) return;
  int nStart = IsValid(m_SelectionStartCell) ? m_SelectionStartCell.col : currentCell.col;
  if (m_bSingleColSelection) nStart = currentCell.col;
  nStart = std::max(nStart, m_nFixedCols);
  SetSelectedRange(m_nFixedRows, std::min(nStart, currentCell.col), m_nRows - 1, std::max(nStart, currentCell.col),
                   bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectRows(CCellID currentCell, BOOL bForceRedraw, BOOL bSelectCells) {
  if (!IsValid(currentCell) || m_nCols <= m_nFixedCols) return;
  if (currentCell.row < m_nFixedRows) return;
  int nStart = IsValid(m_SelectionStartCell) ? m_SelectionStartCell.row : currentCell.row;
  if (GetSingleRowSelection()) nStart = currentCell.row;
  nStart = std::max(nStart, m_nFixedRows);
  SetSelectedRange(std::min(nStart, currentCell.row), m_nFixedCols, std::max(nStart, currentCell.row), m_nCols - 1,
                   bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectCells(CCellID currentCell, BOOL bForceRedraw, BOOL bSelectCells) {
  if (!IsValid(currentCell)) return;
  if (currentCell.row < m_nFixedRows || currentCell.col < m_nFixedCols) return;
  CCellID start = IsValid(m_SelectionStartCell) ? m_SelectionStartCell : currentCell;
  int nMinRow = std::max(std::min(start.row, currentCell.row), m_nFixedRows);
  int nMinCol = std::max(std::min(start.col, currentCell.col), m_nFixedCols);
  int nMaxRow = std::max(start.row, currentCell.row), nMaxCol = std::max(start.col, currentCell.col);
  // A merged range is selected whole.
  for (const CCellRange& merged : m_arMergedCells) {
    if (!IsValid(merged)) continue;
    CCellRange sel(nMinRow, nMinCol, nMaxRow, nMaxCol);
    if (!sel.Intersect(merged).IsValid()) continue;
    nMinRow = std::min(nMinRow, merged.GetMinRow());
    nMinCol = std::min(nMinCol, merged.GetMinCol());
    nMaxRow = std::max(nMaxRow, merged.GetMaxRow());
    nMaxCol = std::max(nMaxCol, merged.GetMaxCol());
  }
  SetSelectedRange(nMinRow, nMinCol, nMaxRow, nMaxCol, bForceRedraw, bSelectCells);
}

void CGridCtrl::OnSelecting(const CCellID& currentCell) {
  if (!m_bEnableSelection) return;
  switch (m_MouseMode) {
    case MOUSE_SELECT_ALL: SelectAllCells(); break;
    case MOUSE_SELECT_COL: SelectColumns(currentCell, FALSE); break;
    case MOUSE_SELECT_ROW: SelectRows(currentCell, FALSE); break;
    case MOUSE_SELECT_CELLS: SelectCells(currentCell, FALSE); break;
    default: break;
  }
}

// ---------------------------------------------------------------- modification

void CGridCtrl::SetSortColumn(int nCol) {
  if (nCol == m_nSortColumn) return;
  int nOld = m_nSortColumn;
  m_nSortColumn = nCol;
  if (nOld >= 0 && nOld < m_nCols) RedrawCell(0, nOld);
  if (nCol >= 0 && nCol < m_nCols) RedrawCell(0, nCol);
}

void CGridCtrl::SetModified(BOOL bModified, int nRow, int nCol) {
  // An edited sort column is no longer in order.
  if (nCol < 0 || nCol == GetSortColumn()) SetSortColumn(-1);

  if (nRow >= 0 && nCol >= 0) {
    if (CGridCellBase* pCell = m_bVirtualMode ? nullptr : GetCell(nRow, nCol)) {
      if (bModified) {
        pCell->SetState(pCell->GetState() | GVIS_MODIFIED);
        m_bModified = TRUE;
      } else {
        pCell->SetState(pCell->GetState() & ~GVIS_MODIFIED);
      }
    }
  } else {
    m_bModified = bModified;
  }

  if (!m_bModified && !m_bVirtualMode)
    for (int row = 0; row < m_nRows; ++row)
      for (int col = 0; col < m_nCols; ++col)
        if (CGridCellBase* pCell = GetCell(row, col)) pCell->SetState(pCell->GetState() & ~GVIS_MODIFIED);
}

BOOL CGridCtrl::GetModified(int nRow, int nCol) {
  if (nRow >= 0 && nCol >= 0) return (GetItemState(nRow, nCol) & GVIS_MODIFIED) == GVIS_MODIFIED;
  return m_bModified;
}
