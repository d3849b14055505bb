// Mouse buttons on the grid: header clicks (sorting and selecting whole
// columns or rows), selecting cells, the click notifications and the cells'
// own click handlers.
#include "GridCtrl.h"

namespace {

CPoint CellRelative(CGridCtrl* pGrid, const CCellID& cell, CPoint point) {
  CPoint origin;
  if (pGrid->GetCellOrigin(cell, &origin)) point -= origin;
  return point;
}

bool IsSelectionMode(int nMode) {
  return nMode == CGridCtrl::MOUSE_SELECT_ALL || nMode == CGridCtrl::MOUSE_SELECT_COL ||
         nMode == CGridCtrl::MOUSE_SELECT_ROW || nMode == CGridCtrl::MOUSE_SELECT_CELLS;
}

}  // namespace

void CGridCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  SetFocus();
  m_LeftClickDownPoint = point;
  m_LeftClickDownCell = GetCellFromPt(point);
  m_MouseMode = MOUSE_NOTHING;
  if (!IsValid(m_LeftClickDownCell)) return;
  SetCapture();

  CCellID cell = m_LeftClickDownCell;
  if (cell.row < GetFixedRowCount()) {
    OnFixedRowClick(cell);
  } else if (cell.col < GetFixedColumnCount()) {
    OnFixedColumnClick(cell);
  } else {
    // A data cell: the focus moves there and a selection starts, or with
    // Shift grows from the anchor.
    SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_SELCHANGING));
    if (!(nFlags & MK_SHIFT) || !IsValid(m_SelectionStartCell)) m_SelectionStartCell = cell;
    if (!(nFlags & MK_CONTROL)) m_PrevSelectedCellMap.clear();
    else m_PrevSelectedCellMap = m_SelectedCellMap;
    SetFocusCell(cell);
    m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
    OnSelecting(cell);
  }
  if (CGridCellBase* pCell = GetCell(m_LeftClickDownCell.row, m_LeftClickDownCell.col))
    pCell->OnClickDown(CellRelative(this, m_LeftClickDownCell, point));
}

void CGridCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  (void)nFlags;
  int nMode = m_MouseMode;
  m_MouseMode = MOUSE_NOTHING;
  if (GetCapture() == this) ::ReleaseCapture();
  if (IsSelectionMode(nMode)) SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col,
                                                  static_cast<int>(GVN_SELCHANGED));
  CCellID cell = GetCellFromPt(point);
  if (IsValid(cell) && cell == m_LeftClickDownCell) {
    if (CGridCellBase* pCell = GetCell(cell.row, cell.col)) pCell->OnClick(CellRelative(this, cell, point));
    SendMessageToParent(cell.row, cell.col, static_cast<int>(NM_CLICK));
  }
}

void CGridCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
  (void)nFlags;
  CCellID cell = GetCellFromPt(point);
  if (!IsValid(cell)) return;
  if (CGridCellBase* pCell = GetCell(cell.row, cell.col)) pCell->OnDblClick(CellRelative(this, cell, point));
  SendMessageToParent(cell.row, cell.col, static_cast<int>(NM_DBLCLK));
}

void CGridCtrl::OnRButtonDown(UINT nFlags, CPoint point) {
  (void)nFlags;
  SetFocus();
  CCellID cell = GetCellFromPt(point);
  if (IsValid(cell) && cell.row >= GetFixedRowCount() && cell.col >= GetFixedColumnCount() &&
      !IsCellSelected(cell.row, cell.col)) {
    // A right click outside the selection selects the cell under it first.
    SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_SELCHANGING));
    m_SelectionStartCell = cell;
    SetFocusCell(cell);
    SelectCells(cell);
    SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_SELCHANGED));
  }
}

void CGridCtrl::OnRButtonUp(UINT nFlags, CPoint point) {
  (void)nFlags;
  CCellID cell = GetCellFromPt(point);
  if (!IsValid(cell)) return;
  if (CGridCellBase* pCell = GetCell(cell.row, cell.col)) pCell->OnRClick(CellRelative(this, cell, point));
  SendMessageToParent(cell.row, cell.col, static_cast<int>(NM_RCLICK));
}
