// The mouse on the grid: header clicks (sorting, selecting whole columns or
// rows, dragging a column), selecting cells by dragging with the scroll
// timer, sizing rows and columns at their borders, arming an edit on the
// focus cell, the wheel, the cursor, title tips, and the click notifications.
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

// Whether the pointer moved far enough from where the button went down to
// count as a drag.
bool Dragged(CPoint from, CPoint to) {
  return std::abs(to.x - from.x) > ::GetSystemMetrics(SM_CXDRAG) || std::abs(to.y - from.y) > ::GetSystemMetrics(SM_CYDRAG);
}

}  // namespace

// ---------------------------------------------------------------- borders

int CGridCtrl::MouseOverColumnResizeArea(CPoint point) {
  if (point.y < 0 || point.y >= GetFixedRowHeight(FALSE)) return -1;
  CRect rect;
  GetClientRect(&rect);
  std::vector<std::pair<int, int>> cols;
  GetVisibleColumns(cols, rect.Width());
  for (size_t i = 0; i < cols.size(); ++i) {
    int col = cols[i].first, left = cols[i].second, right = left + GetColumnWidth(col);
    if (point.x >= left - GRID_RESIZE_CAPTURE_RANGE && point.x < left + GRID_RESIZE_CAPTURE_RANGE && i > 0) {
      // The border at this column's left: a hidden column just before it
      // is the one sized (and so shown again) when unhiding is allowed.
      if (m_bHiddenColUnhide && col > 0 && GetColumnWidth(col - 1) == 0) return col - 1;
      return cols[i - 1].first;
    }
    if (point.x >= right - GRID_RESIZE_CAPTURE_RANGE && point.x < right + GRID_RESIZE_CAPTURE_RANGE) return col;
  }
  return -1;
}

int CGridCtrl::MouseOverRowResizeArea(CPoint point) {
  if (point.x < 0 || point.x >= GetFixedColumnWidth(FALSE)) return -1;
  CRect rect;
  GetClientRect(&rect);
  std::vector<std::pair<int, int>> rows;
  GetVisibleRows(rows, rect.Height());
  for (size_t i = 0; i < rows.size(); ++i) {
    int row = rows[i].first, top = rows[i].second, bottom = top + GetRowHeight(row);
    if (point.y >= top - GRID_RESIZE_CAPTURE_RANGE && point.y < top + GRID_RESIZE_CAPTURE_RANGE && i > 0) {
      if (m_bHiddenRowUnhide && row > 0 && GetRowHeight(row - 1) == 0) return row - 1;
      return rows[i - 1].first;
    }
    if (point.y >= bottom - GRID_RESIZE_CAPTURE_RANGE && point.y < bottom + GRID_RESIZE_CAPTURE_RANGE) return row;
  }
  return -1;
}

void CGridCtrl::InvertSizingLine(int nPos, BOOL bColumn) {
  if (nPos < 0 || !m_hWnd) return;
  CRect rect;
  GetClientRect(&rect);
  CRect line = bColumn ? CRect(nPos, rect.top, nPos + 2, rect.bottom) : CRect(rect.left, nPos, rect.right, nPos + 2);
  CClientDC dc(this);
  dc.InvertRect(line);
}

void CGridCtrl::EndMouseMode() {
  if (m_nSizingLinePos >= 0) {
    InvertSizingLine(m_nSizingLinePos, m_MouseMode == MOUSE_SIZING_COL);
    m_nSizingLinePos = -1;
  }
  m_MouseMode = MOUSE_NOTHING;
  if (m_bTimerRunning) {
    KillTimer(GRID_SCROLL_TIMER_ID);
    m_bTimerRunning = FALSE;
  }
}

// ---------------------------------------------------------------- buttons

void CGridCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  m_TitleTip.Hide();
  SetFocus();
  m_LeftClickDownPoint = point;
  m_LeftClickDownCell = GetCellFromPt(point);
  m_nDragColumn = -1;
  EndMouseMode();

  // A border in a header: the row or column is sized.
  int nIndex = m_bAllowColumnResize ? MouseOverColumnResizeArea(point) : -1;
  if (nIndex >= 0) {
    SetCapture();
    m_MouseMode = MOUSE_SIZING_COL;
    m_nSizingIndex = nIndex;
    m_nSizingLinePos = point.x;
    InvertSizingLine(point.x, TRUE);
    return;
  }
  nIndex = m_bAllowRowResize ? MouseOverRowResizeArea(point) : -1;
  if (nIndex >= 0) {
    SetCapture();
    m_MouseMode = MOUSE_SIZING_ROW;
    m_nSizingIndex = nIndex;
    m_nSizingLinePos = point.y;
    InvertSizingLine(point.y, FALSE);
    return;
  }
  if (!IsValid(m_LeftClickDownCell)) return;
  SetCapture();

  CCellID cell = m_LeftClickDownCell;
  if (cell.row < GetFixedRowCount()) {
    OnFixedRowClick(cell);
    // A data column's heading can be dragged to another place.
    if (m_AllowReorderColumn && cell.col >= GetFixedColumnCount()) {
      m_nDragColumn = cell.col;
      m_MouseMode = MOUSE_PREPARE_DRAG;
    }
  } else if (cell.col < GetFixedColumnCount()) {
    OnFixedColumnClick(cell);
  } else {
    CRect rectText;
    bool bOnText = GetTextRect(cell.row, cell.col, &rectText) && rectText.PtInRect(point);
    if (cell == m_idCurrentCell && !(nFlags & MK_CONTROL) && !(nFlags & MK_SHIFT) && bOnText &&
        IsCellEditable(cell.row, cell.col)) {
      // A press on the focus cell's text arms editing; it starts on release.
      m_MouseMode = MOUSE_PREPARE_EDIT;
    } else if (m_bAllowDragAndDrop && IsCellSelected(cell.row, cell.col) && !(nFlags & (MK_SHIFT | MK_CONTROL))) {
      m_MouseMode = MOUSE_PREPARE_DRAG;
    } else {
      // A selection drag, from the anchor with Shift; Control keeps the
      // cells selected before.
      SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_SELCHANGING));
      if (!(nFlags & MK_SHIFT) || !IsValid(m_SelectionStartCell)) m_SelectionStartCell = cell;
      if (nFlags & MK_CONTROL) m_PrevSelectedCellMap = m_SelectedCellMap;
      else m_PrevSelectedCellMap.clear();
      SetFocusCell(cell);
      m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
      OnSelecting(cell);
      SetTimer(GRID_SCROLL_TIMER_ID, GRID_SCROLL_TIMER_INTERVAL);
      m_bTimerRunning = TRUE;
    }
  }
  if (CGridCellBase* pCell = GetCell(m_LeftClickDownCell.row, m_LeftClickDownCell.col))
    pCell->OnClickDown(CellRelative(this, m_LeftClickDownCell, point));
}

void CGridCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  (void)nFlags;
  int nMode = m_MouseMode;
  int nSizingIndex = m_nSizingIndex;
  EndMouseMode();
  if (GetCapture() == this) ::ReleaseCapture();
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));

  switch (nMode) {
    case MOUSE_SIZING_COL: {
      CPoint origin;
      if (GetCellOrigin(0, nSizingIndex, &origin)) {
        int nWidth = std::max<int>(point.x - origin.x, m_bAllowColHide ? 0 : 1);
        SetColumnWidth(nSizingIndex, nWidth);
        ResetScrollBars();
        Invalidate();
      }
      return;
    }
    case MOUSE_SIZING_ROW: {
      CPoint origin;
      if (GetCellOrigin(nSizingIndex, 0, &origin)) {
        int nHeight = std::max<int>(point.y - origin.y, m_bAllowRowHide ? 0 : 1);
        SetRowHeight(nSizingIndex, nHeight);
        ResetScrollBars();
        Invalidate();
      }
      return;
    }
    default:
      break;
  }

  CCellID cell = GetCellFromPt(point);
  if (nMode == MOUSE_PREPARE_EDIT && cell == m_LeftClickDownCell) {
    OnEditCell(cell.row, cell.col, point, VK_LBUTTON);
  } else if (IsSelectionMode(nMode)) {
    SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, static_cast<int>(GVN_SELCHANGED));
  } else if (nMode == MOUSE_PREPARE_DRAG && m_nDragColumn >= 0) {
    // A heading pressed and let go in place: the column it selected stays so.
    if (GetFixedColumnSelection())
      SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, static_cast<int>(GVN_SELCHANGED));
  } else if (nMode == MOUSE_PREPARE_DRAG && IsValid(m_LeftClickDownCell)) {
    // A press on a selected cell that never became a drag selects that cell.
    CCellID down = m_LeftClickDownCell;
    MoveFocus(down, FALSE);
  } else if (nMode == MOUSE_DRAGGING && m_nDragColumn >= 0 && IsValid(cell) && cell.col >= GetFixedColumnCount() &&
             cell.col != m_nDragColumn) {
    // The dragged column goes where its heading was dropped.
    std::vector<int> arOrder = m_arColOrder;
    int nStored = arOrder[static_cast<size_t>(m_nDragColumn)];
    arOrder.erase(arOrder.begin() + m_nDragColumn);
    arOrder.insert(arOrder.begin() + cell.col, nStored);
    ResetSelectedRange();
    SetColumnOrder(arOrder);
  }
  m_nDragColumn = -1;

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
  // A double click on a data cell edits it, the caret at the end.
  if (cell.row >= GetFixedRowCount() && cell.col >= GetFixedColumnCount())
    OnEditCell(cell.row, cell.col, point, VK_LBUTTON);
}

void CGridCtrl::OnRButtonDown(UINT nFlags, CPoint point) {
  (void)nFlags;
  m_TitleTip.Hide();
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

void CGridCtrl::OnBeginDrag() {
  SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, static_cast<int>(GVN_BEGINDRAG));
  // With drag and drop on, the selected cells go on an OLE drag until the
  // button is let go.
  if (m_bAllowDragAndDrop) DragSelectedCells();
}

// ---------------------------------------------------------------- moving

void CGridCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  m_LastMousePoint = point;
  CCellID cell = GetCellFromPt(point);

  if (!(nFlags & MK_LBUTTON)) {
    // A mode the button held that ended without us seeing the release.
    if (m_MouseMode != MOUSE_NOTHING && m_MouseMode != MOUSE_OVER_COL_DIVIDE && m_MouseMode != MOUSE_OVER_ROW_DIVIDE)
      EndMouseMode();
    if (cell != m_idLastHoverCell) {
      if (CGridCellBase* pOld = GetCell(m_idLastHoverCell.row, m_idLastHoverCell.col)) pOld->OnMouseLeave();
      if (CGridCellBase* pNew = GetCell(cell.row, cell.col)) pNew->OnMouseEnter();
      m_idLastHoverCell = cell;
    } else if (CGridCellBase* pCell = GetCell(cell.row, cell.col)) {
      pCell->OnMouseOver();
    }
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point) >= 0) {
      m_MouseMode = MOUSE_OVER_COL_DIVIDE;
      ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
    } else if (m_bAllowRowResize && MouseOverRowResizeArea(point) >= 0) {
      m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
      ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
    } else {
      if (m_MouseMode != MOUSE_NOTHING) ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
      m_MouseMode = MOUSE_NOTHING;
    }
    if (m_MouseMode == MOUSE_NOTHING) ShowTitleTipFor(point);
    return;
  }

  switch (m_MouseMode) {
    case MOUSE_SELECT_COL:
    case MOUSE_SELECT_ROW:
    case MOUSE_SELECT_CELLS:
      if (IsValid(cell) && cell != m_idCurrentCell) {
        OnSelecting(cell);
        if (cell.row >= GetFixedRowCount() && cell.col >= GetFixedColumnCount()) SetFocusCell(cell);
      }
      break;
    case MOUSE_SIZING_COL: {
      CPoint origin;
      int nLeft = GetCellOrigin(0, m_nSizingIndex, &origin) ? origin.x : 0;
      int nPos = std::max<int>(point.x, nLeft);
      if (nPos != m_nSizingLinePos) {
        InvertSizingLine(m_nSizingLinePos, TRUE);
        m_nSizingLinePos = nPos;
        InvertSizingLine(nPos, TRUE);
      }
      break;
    }
    case MOUSE_SIZING_ROW: {
      CPoint origin;
      int nTop = GetCellOrigin(m_nSizingIndex, 0, &origin) ? origin.y : 0;
      int nPos = std::max<int>(point.y, nTop);
      if (nPos != m_nSizingLinePos) {
        InvertSizingLine(m_nSizingLinePos, FALSE);
        m_nSizingLinePos = nPos;
        InvertSizingLine(nPos, FALSE);
      }
      break;
    }
    case MOUSE_PREPARE_EDIT:
      // Moving on from the focus cell makes it a selection drag after all.
      if (Dragged(m_LeftClickDownPoint, point)) {
        SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, static_cast<int>(GVN_SELCHANGING));
        m_SelectionStartCell = m_LeftClickDownCell;
        m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
        OnSelecting(IsValid(cell) ? cell : m_LeftClickDownCell);
        SetTimer(GRID_SCROLL_TIMER_ID, GRID_SCROLL_TIMER_INTERVAL);
        m_bTimerRunning = TRUE;
      }
      break;
    case MOUSE_PREPARE_DRAG:
      if (Dragged(m_LeftClickDownPoint, point)) {
        m_MouseMode = MOUSE_DRAGGING;
        if (m_nDragColumn < 0) OnBeginDrag();
      }
      break;
    default:
      break;
  }
}

void CGridCtrl::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != GRID_SCROLL_TIMER_ID) {
    Default();
    return;
  }
  if (!IsSelectionMode(m_MouseMode)) {
    EndMouseMode();
    return;
  }
  // While the pointer is outside, the grid scrolls towards it and the
  // selection follows to the edge cell.
  CPoint point;
  ::GetCursorPos(&point);
  ScreenToClient(&point);
  CRect rect;
  GetClientRect(&rect);
  if (rect.PtInRect(point)) return;
  if (point.y >= rect.bottom) SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  else if (point.y < rect.top) SendMessage(WM_VSCROLL, SB_LINEUP, 0);
  if (point.x >= rect.right) SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
  else if (point.x < rect.left) SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
  CPoint inside(std::clamp<LONG>(point.x, std::max(0, GetFixedColumnWidth()), std::max<LONG>(0, rect.right - 1)),
                std::clamp<LONG>(point.y, std::max(0, GetFixedRowHeight()), std::max<LONG>(0, rect.bottom - 1)));
  CCellID cell = GetCellFromPt(inside);
  if (IsValid(cell)) {
    OnSelecting(cell);
    if (cell.row >= GetFixedRowCount() && cell.col >= GetFixedColumnCount()) SetFocusCell(cell);
  }
}

void CGridCtrl::OnCaptureChanged(CWnd* pWnd) {
  // Whoever took the mouse (a message box, the title tip) ends what a drag
  // was doing.
  if (pWnd == this) return;
  if (m_MouseMode != MOUSE_NOTHING && m_MouseMode != MOUSE_OVER_COL_DIVIDE && m_MouseMode != MOUSE_OVER_ROW_DIVIDE)
    EndMouseMode();
}

BOOL CGridCtrl::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
  (void)nFlags, (void)pt;
  m_TitleTip.Hide();
  int nNotches = zDelta / WHEEL_DELTA;
  if (nNotches == 0 && zDelta != 0) nNotches = zDelta > 0 ? 1 : -1;
  int nLines = std::abs(nNotches) * static_cast<int>(m_nRowsPerWheelNotch);
  // Away from the user scrolls up.
  for (int i = 0; i < nLines; ++i) SendMessage(WM_VSCROLL, nNotches > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
  return TRUE;
}

BOOL CGridCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  (void)pWnd, (void)message;
  if (nHitTest != HTCLIENT) return static_cast<BOOL>(Default());
  CPoint point;
  ::GetCursorPos(&point);
  ScreenToClient(&point);
  if (m_MouseMode == MOUSE_SIZING_COL || (m_bAllowColumnResize && MouseOverColumnResizeArea(point) >= 0)) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEWE));
    return TRUE;
  }
  if (m_MouseMode == MOUSE_SIZING_ROW || (m_bAllowRowResize && MouseOverRowResizeArea(point) >= 0)) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENS));
    return TRUE;
  }
  CCellID cell = GetCellFromPt(point);
  if (CGridCellBase* pCell = GetCell(cell.row, cell.col)) return pCell->OnSetCursor();
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  return TRUE;
}

// ---------------------------------------------------------------- title tips

void CGridCtrl::ShowTitleTipFor(CPoint point) {
  if (!m_bTitleTips || m_MouseMode != MOUSE_NOTHING || GetCapture()) return;
  CCellID cell = GetCellFromPt(point);
  if (!IsValid(cell)) return;
  CGridCellBase* pCell = GetCell(cell.row, cell.col);
  if (!pCell || pCell->IsEditing()) return;
  CRect rectCell;
  CCellRange range = GetMergedRangeOf(cell.row, cell.col);
  if (range.IsValid() ? !GetCellRangeRect(range, &rectCell) : !GetCellRect(cell.row, cell.col, &rectCell)) return;
  CRect rectText = rectCell;
  if (!pCell->GetTipTextRect(&rectText)) return;
  if (!m_TitleTip.GetSafeHwnd()) m_TitleTip.Create(this);
  m_TitleTip.Show(rectText, pCell->GetTipText(), 0, &rectCell, pCell->GetFont(), GetTitleTipTextClr(),
                  GetTitleTipBackClr());
}

void CGridCtrl::OnDestroy() {
  EndMouseMode();
  if (m_TitleTip.GetSafeHwnd()) m_TitleTip.DestroyWindow();
  Default();
}
