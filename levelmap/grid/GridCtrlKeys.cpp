// The keyboard: moving the focus cell (arrows, pages, Home/End, Tab), the
// clipboard and select-all shortcuts, Delete, F2 and typing, which start or
// feed an edit, and what the grid asks of a dialog it sits in.
#include "GridCtrl.h"

#ifndef VK_ADD
#define VK_ADD 0x6B  // the keypad's plus
#endif

UINT CGridCtrl::OnGetDlgCode() {
  // Arrows and characters always; Tab unless it is to leave the grid.
  UINT nCodes = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (m_bHandleTabKey && !m_QuitFocusOnTab) nCodes |= DLGC_WANTTAB;
  return nCodes;
}

CCellID CGridCtrl::GetNextCell(CCellID cell, int dRow, int dCol) const {
  if (!IsValid(cell)) return cell;
  // From a merged range, the step starts at its far side.
  int row = cell.row, col = cell.col;
  CCellRange range = GetMergedRangeOf(row, col);
  if (range.IsValid()) {
    if (dRow > 0) row = range.GetMaxRow();
    if (dRow < 0) row = range.GetMinRow();
    if (dCol > 0) col = range.GetMaxCol();
    if (dCol < 0) col = range.GetMinCol();
  }
  for (;;) {
    row += dRow;
    col += dCol;
    if (row < m_nFixedRows || row >= m_nRows || col < m_nFixedCols || col >= m_nCols) return cell;
    // Hidden rows and columns are stepped over.
    if (dRow != 0 && GetRowHeight(row) <= 0) continue;
    if (dCol != 0 && GetColumnWidth(col) <= 0) continue;
    CCellRange target = GetMergedRangeOf(row, col);
    return target.IsValid() ? target.GetTopLeft() : CCellID(row, col);
  }
}

void CGridCtrl::MoveFocus(CCellID next, BOOL bShift) {
  if (!IsValid(next)) return;
  SendMessageToParent(next.row, next.col, static_cast<int>(GVN_SELCHANGING));
  // Without Shift the anchor moves with the focus; with it the range from
  // the anchor is selected.
  if (!bShift || !IsValid(m_SelectionStartCell)) m_SelectionStartCell = next;
  m_PrevSelectedCellMap.clear();
  ResetSelectedRange();
  int nMode = m_MouseMode;
  m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
  OnSelecting(next);
  m_MouseMode = nMode;
  SendMessageToParent(next.row, next.col, static_cast<int>(GVN_SELCHANGED));
  SetFocusCell(next);
  EnsureVisible(next.row, next.col);
}

void CGridCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  (void)nRepCnt, (void)nFlags;
  m_TitleTip.Hide();
  BOOL bCtrl = GetKeyState(VK_CONTROL) < 0, bShift = GetKeyState(VK_SHIFT) < 0;
  CCellID current = m_idCurrentCell;
  if (!IsValid(current)) {
    Default();
    return;
  }

  if (bCtrl) {
    switch (nChar) {
      case 'A': OnEditSelectAll(); return;
      case 'C':
      case VK_INSERT: OnEditCopy(); return;
      case 'X': OnEditCut(); return;
      case 'V': OnEditPaste(); return;
      case VK_ADD:
        AutoSize();
        Invalidate();
        return;
      default: break;
    }
  }

  CCellID next = current;
  switch (nChar) {
    case VK_DELETE:
      if (IsEditable()) ClearSelectedText();
      return;
    case VK_F2:
      // As a mouse click would: the caret at the end of the text.
      OnEditCell(current.row, current.col, CPoint(-1, -1), VK_LBUTTON);
      return;
    case VK_TAB: {
      CWnd* pParent = GetParent();
      if (m_QuitFocusOnTab) {
        if (pParent) pParent->SendMessage(WM_NEXTDLGCTL, bShift, 0);
        return;
      }
      if (!m_bHandleTabKey) {
        Default();
        return;
      }
      if (bShift) {
        next = GetNextCell(current, 0, -1);
        if (next == current) {
          // Wrap to the last cell of the row above.
          CCellID above = GetNextCell(current, -1, 0);
          if (above != current) {
            int col = m_nCols - 1;
            while (col > m_nFixedCols && GetColumnWidth(col) <= 0) --col;
            CCellRange range = GetMergedRangeOf(above.row, col);
            next = range.IsValid() ? range.GetTopLeft() : CCellID(above.row, col);
          }
        }
      } else {
        next = GetNextCell(current, 0, 1);
        if (next == current) {
          // Wrap to the first cell of the row below.
          CCellID below = GetNextCell(current, 1, 0);
          if (below != current) {
            int col = m_nFixedCols;
            while (col < m_nCols - 1 && GetColumnWidth(col) <= 0) ++col;
            CCellRange range = GetMergedRangeOf(below.row, col);
            next = range.IsValid() ? range.GetTopLeft() : CCellID(below.row, col);
          }
        }
      }
      // At the grid's last (first) cell Tab goes on to the dialog's next
      // (previous) control rather than staying put.
      if (next == current) {
        if (pParent) pParent->SendMessage(WM_NEXTDLGCTL, bShift, 0);
        return;
      }
      bShift = FALSE;
      break;
    }
    case VK_DOWN: next = GetNextCell(current, 1, 0); break;
    case VK_UP: next = GetNextCell(current, -1, 0); break;
    case VK_RIGHT: next = GetNextCell(current, 0, 1); break;
    case VK_LEFT: next = GetNextCell(current, 0, -1); break;
    case VK_NEXT:
    case VK_PRIOR: {
      // A page: as many rows as the scrolling part shows.
      CRect rect;
      GetClientRect(&rect);
      int nPage = std::max(1, rect.Height() - GetFixedRowHeight());
      int dRow = nChar == VK_NEXT ? 1 : -1;
      int nMoved = 0;
      for (CCellID step = GetNextCell(next, dRow, 0); step != next; step = GetNextCell(next, dRow, 0)) {
        nMoved += GetRowHeight(step.row);
        next = step;
        if (nMoved >= nPage) break;
      }
      break;
    }
    case VK_HOME:
    case VK_END: {
      bool bHome = nChar == VK_HOME;
      int row = current.row;
      if (bCtrl) {
        row = bHome ? m_nFixedRows : m_nRows - 1;
        while (row >= m_nFixedRows && row < m_nRows && GetRowHeight(row) <= 0) row += bHome ? 1 : -1;
        if (row < m_nFixedRows || row >= m_nRows) row = current.row;
      }
      int col = bHome ? m_nFixedCols : m_nCols - 1;
      while (col >= m_nFixedCols && col < m_nCols && GetColumnWidth(col) <= 0) col += bHome ? 1 : -1;
      if (col < m_nFixedCols || col >= m_nCols) col = current.col;
      CCellRange range = GetMergedRangeOf(row, col);
      next = range.IsValid() ? range.GetTopLeft() : CCellID(row, col);
      break;
    }
    default:
      Default();
      return;
  }
  if (next != current) MoveFocus(next, bShift);
}

void CGridCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  (void)nRepCnt, (void)nFlags;
  // A typed character starts editing the focus cell with that key (it
  // replaces the text; Enter keeps it with the caret at the end; Backspace
  // takes its last character).
  // Not while a button drags something (hovering over a border is no drag).
  bool bDragging = m_MouseMode != MOUSE_NOTHING && m_MouseMode != MOUSE_OVER_COL_DIVIDE &&
                   m_MouseMode != MOUSE_OVER_ROW_DIVIDE;
  if (GetKeyState(VK_CONTROL) < 0 || bDragging || nChar == VK_ESCAPE) return;
  if (m_bHandleTabKey && nChar == VK_TAB) return;
  if (nChar < 0x20 && nChar != VK_RETURN && nChar != VK_BACK) return;
  if (IsValid(m_idCurrentCell)) OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, CPoint(-1, -1), nChar);
}

void CGridCtrl::OnUpdateEditPaste(CCmdUI* pCmdUI) {
  CCellID cell = GetFocusCell();
  pCmdUI->Enable(IsEditable() && IsValid(cell) && IsCellEditable(cell.row, cell.col) &&
                 ::IsClipboardFormatAvailable(CF_TEXT));
}
