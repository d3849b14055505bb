// Where cells are on screen: scroll positions (in pixels of the scrolling
// part), the top-left scrolled cell, cell origins and rectangles, hit
// testing, scrolling a cell into view and the scroll bars.
#include <algorithm>

#include "GridCtrl.h"

// ---------------------------------------------------------------- scroll bars

int CGridCtrl::GetScrollPos32(int nBar) const {
  if (!m_hWnd || !::IsWindow(m_hWnd)) return 0;
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
  return ::GetScrollInfo(m_hWnd, nBar, &si) ? si.nPos : 0;
}

BOOL CGridCtrl::SetScrollPos32(int nBar, int nPos, BOOL bRedraw) {
  if (!m_hWnd || !::IsWindow(m_hWnd)) return FALSE;
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, nPos, 0};
  ::SetScrollInfo(m_hWnd, nBar, &si, bRedraw);
  return TRUE;
}

void CGridCtrl::ResetScrollBars() {
  if (!m_hWnd || !::IsWindow(m_hWnd) || m_bInResetScrollBars) return;
  m_bInResetScrollBars = TRUE;

  // The client area as it would be without scroll bars.
  CRect rect;
  GetClientRect(&rect);
  int cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL), cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
  if (IsVisibleVScroll()) rect.right += cxVScroll;
  if (IsVisibleHScroll()) rect.bottom += cyHScroll;

  long lVirtualWidth = GetVirtualWidth(), lVirtualHeight = GetVirtualHeight();
  int nFixedWidth = GetFixedColumnWidth(), nFixedHeight = GetFixedRowHeight();
  bool bNeedV = lVirtualHeight > rect.Height();
  bool bNeedH = lVirtualWidth > rect.Width();
  if (bNeedV && !bNeedH) bNeedH = lVirtualWidth > rect.Width() - cxVScroll;
  if (bNeedH && !bNeedV) bNeedV = lVirtualHeight > rect.Height() - cyHScroll;
  int nVisibleHeight = rect.Height() - (bNeedH ? cyHScroll : 0);
  int nVisibleWidth = rect.Width() - (bNeedV ? cxVScroll : 0);

  if (IsVisibleVScroll() != bNeedV) ShowScrollBar(SB_VERT, bNeedV);
  if (IsVisibleHScroll() != bNeedH) ShowScrollBar(SB_HORZ, bNeedH);

  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  if (bNeedV) {
    si.nMax = std::max(0, static_cast<int>(lVirtualHeight) - nFixedHeight - 1);
    si.nPage = static_cast<UINT>(std::max(1, nVisibleHeight - nFixedHeight));
    m_nVScrollMax = std::max(0, static_cast<int>(lVirtualHeight) - nVisibleHeight);
  } else {
    si.fMask |= SIF_POS;
    m_nVScrollMax = 0;
  }
  ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
  si = SCROLLINFO{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  if (bNeedH) {
    si.nMax = std::max(0, static_cast<int>(lVirtualWidth) - nFixedWidth - 1);
    si.nPage = static_cast<UINT>(std::max(1, nVisibleWidth - nFixedWidth));
    m_nHScrollMax = std::max(0, static_cast<int>(lVirtualWidth) - nVisibleWidth);
  } else {
    si.fMask |= SIF_POS;
    m_nHScrollMax = 0;
  }
  ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
  m_bInResetScrollBars = FALSE;
}

void CGridCtrl::OnSize(UINT nType, int cx, int cy) {
  (void)nType, (void)cx, (void)cy;
  ResetScrollBars();
  Refresh();
}

// ---------------------------------------------------------------- the scrolled part

CCellID CGridCtrl::GetTopleftNonFixedCell(BOOL bForceRecalculation) {
  (void)bForceRecalculation;
  int nVertScroll = GetScrollPos32(SB_VERT), nHorzScroll = GetScrollPos32(SB_HORZ);
  int nRow = GetFixedRowCount(TRUE), nTop = 0;
  while (nRow < m_nRows - 1 && nTop + GetRowHeight(nRow) <= nVertScroll) nTop += GetRowHeight(nRow++);
  int nCol = GetFixedColumnCount(TRUE), nLeft = 0;
  while (nCol < m_nCols - 1 && nLeft + GetColumnWidth(nCol) <= nHorzScroll) nLeft += GetColumnWidth(nCol++);
  return CCellID(nRow, nCol);
}

void CGridCtrl::GetVisibleRows(std::vector<std::pair<int, int>>& rows, int nClientHeight) {
  rows.clear();
  int y = 0;
  int nFixed = std::min(GetFixedRowCount(TRUE), m_nRows);
  for (int row = 0; row < nFixed && y < nClientHeight; ++row) {
    int h = GetRowHeight(row);
    if (h > 0) rows.emplace_back(row, y);
    y += std::max(h, 0);
  }
  for (int row = GetTopleftNonFixedCell().row; row < m_nRows && y < nClientHeight; ++row) {
    if (row < nFixed) continue;
    int h = GetRowHeight(row);
    if (h > 0) rows.emplace_back(row, y);
    y += std::max(h, 0);
  }
}

void CGridCtrl::GetVisibleColumns(std::vector<std::pair<int, int>>& cols, int nClientWidth) {
  cols.clear();
  int x = 0;
  int nFixed = std::min(GetFixedColumnCount(TRUE), m_nCols);
  for (int col = 0; col < nFixed && x < nClientWidth; ++col) {
    int w = GetColumnWidth(col);
    if (w > 0) cols.emplace_back(col, x);
    x += std::max(w, 0);
  }
  for (int col = GetTopleftNonFixedCell().col; col < m_nCols && x < nClientWidth; ++col) {
    if (col < nFixed) continue;
    int w = GetColumnWidth(col);
    if (w > 0) cols.emplace_back(col, x);
    x += std::max(w, 0);
  }
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange(LPRECT pRect, BOOL bForceRecalculation) {
  CRect rect;
  GetClientRect(&rect);
  CCellID idTopLeft = GetTopleftNonFixedCell(bForceRecalculation);
  int bottom = GetFixedRowHeight(), i = idTopLeft.row;
  for (; i < m_nRows; ++i) {
    bottom += GetRowHeight(i);
    if (bottom >= rect.bottom) break;
  }
  int maxVisibleRow = std::min(i, m_nRows - 1);
  int right = GetFixedColumnWidth();
  for (i = idTopLeft.col; i < m_nCols; ++i) {
    right += GetColumnWidth(i);
    if (right >= rect.right) break;
  }
  int maxVisibleCol = std::min(i, m_nCols - 1);
  if (pRect) {
    pRect->left = pRect->top = 0;
    pRect->right = std::min<LONG>(right, rect.right);
    pRect->bottom = std::min<LONG>(bottom, rect.bottom);
  }
  return CCellRange(idTopLeft.row, idTopLeft.col, maxVisibleRow, maxVisibleCol);
}

CCellRange CGridCtrl::GetUnobstructedNonFixedCellRange(BOOL bForceRecalculation) {
  CRect rect;
  GetClientRect(&rect);
  CCellID idTopLeft = GetTopleftNonFixedCell(bForceRecalculation);
  int bottom = GetFixedRowHeight(), i = idTopLeft.row;
  for (; i < m_nRows; ++i) {
    bottom += GetRowHeight(i);
    if (bottom > rect.bottom) break;
  }
  int maxVisibleRow = std::min(i - 1, m_nRows - 1);
  int right = GetFixedColumnWidth();
  for (i = idTopLeft.col; i < m_nCols; ++i) {
    right += GetColumnWidth(i);
    if (right > rect.right) break;
  }
  int maxVisibleCol = std::min(i - 1, m_nCols - 1);
  return CCellRange(idTopLeft.row, idTopLeft.col, maxVisibleRow, maxVisibleCol);
}

// ---------------------------------------------------------------- cell positions

BOOL CGridCtrl::GetCellOrigin(int nRow, int nCol, LPPOINT p) {
  if (!IsValid(nRow, nCol) || !p) return FALSE;
  CCellID idTopLeft;
  if (nCol >= GetFixedColumnCount(TRUE) || nRow >= GetFixedRowCount(TRUE)) idTopLeft = GetTopleftNonFixedCell();
  if (nCol >= GetFixedColumnCount(TRUE) && nCol < idTopLeft.col) return FALSE;
  if (nRow >= GetFixedRowCount(TRUE) && nRow < idTopLeft.row) return FALSE;

  p->x = 0;
  if (nCol < GetFixedColumnCount(TRUE)) {
    for (int i = 0; i < nCol; ++i) p->x += GetColumnWidth(i);
  } else {
    p->x = GetFixedColumnWidth();
    for (int i = idTopLeft.col; i < nCol; ++i) p->x += GetColumnWidth(i);
  }
  p->y = 0;
  if (nRow < GetFixedRowCount(TRUE)) {
    for (int i = 0; i < nRow; ++i) p->y += GetRowHeight(i);
  } else {
    p->y = GetFixedRowHeight();
    for (int i = idTopLeft.row; i < nRow; ++i) p->y += GetRowHeight(i);
  }
  return TRUE;
}

BOOL CGridCtrl::GetCellRect(int nRow, int nCol, LPRECT pRect) {
  CPoint CellOrigin;
  if (!pRect || !GetCellOrigin(nRow, nCol, &CellOrigin)) return FALSE;
  pRect->left = CellOrigin.x;
  pRect->top = CellOrigin.y;
  pRect->right = CellOrigin.x + GetColumnWidth(nCol) - 1;
  pRect->bottom = CellOrigin.y + GetRowHeight(nRow) - 1;
  return TRUE;
}

BOOL CGridCtrl::GetCellRangeRect(const CCellRange& cellRange, LPRECT lpRect) {
  if (!lpRect || !IsValid(cellRange)) return FALSE;
  // The range's visible part: from its first cell on screen.
  CPoint MinOrigin;
  int nMinRow = cellRange.GetMinRow(), nMinCol = cellRange.GetMinCol();
  while (nMinRow <= cellRange.GetMaxRow() && !GetCellOrigin(nMinRow, cellRange.GetMinCol(), &MinOrigin)) ++nMinRow;
  if (nMinRow > cellRange.GetMaxRow()) return FALSE;
  while (nMinCol <= cellRange.GetMaxCol() && !GetCellOrigin(nMinRow, nMinCol, &MinOrigin)) ++nMinCol;
  if (nMinCol > cellRange.GetMaxCol()) return FALSE;
  lpRect->left = MinOrigin.x;
  lpRect->top = MinOrigin.y;
  int nWidth = 0, nHeight = 0;
  for (int col = nMinCol; col <= cellRange.GetMaxCol(); ++col) nWidth += GetColumnWidth(col);
  for (int row = nMinRow; row <= cellRange.GetMaxRow(); ++row) nHeight += GetRowHeight(row);
  lpRect->right = lpRect->left + nWidth - 1;
  lpRect->bottom = lpRect->top + nHeight - 1;
  return TRUE;
}

BOOL CGridCtrl::GetTextRect(int nRow, int nCol, LPRECT pRect) {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (!pCell || !GetCellRect(nRow, nCol, pRect)) return FALSE;
  return pCell->GetTextRect(pRect);
}

BOOL CGridCtrl::IsCellVisible(int nRow, int nCol) {
  if (!m_hWnd || !::IsWindow(m_hWnd) || !IsValid(nRow, nCol)) return FALSE;
  if (GetRowHeight(nRow) <= 0 || GetColumnWidth(nCol) <= 0) return FALSE;
  CPoint origin;
  if (!GetCellOrigin(nRow, nCol, &origin)) return FALSE;
  CRect rect;
  GetClientRect(&rect);
  return origin.x < rect.right && origin.y < rect.bottom;
}

CCellID CGridCtrl::GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck) {
  CCellID cellID;
  if (point.x < 0 || point.y < 0) return cellID;
  CCellID idTopLeft = GetTopleftNonFixedCell();
  int nFixedColWidth = GetFixedColumnWidth(), nFixedRowHeight = GetFixedRowHeight();

  int xpos = 0, col = 0;
  if (point.x < nFixedColWidth) {
    for (col = 0; col < GetFixedColumnCount(TRUE); ++col) {
      xpos += GetColumnWidth(col);
      if (xpos > point.x) break;
    }
    cellID.col = col;
  } else {
    xpos = nFixedColWidth;
    for (col = idTopLeft.col; col < m_nCols; ++col) {
      xpos += GetColumnWidth(col);
      if (xpos > point.x) break;
    }
    cellID.col = col >= m_nCols ? -1 : col;
  }

  int ypos = 0, row = 0;
  if (point.y < nFixedRowHeight) {
    for (row = 0; row < GetFixedRowCount(TRUE); ++row) {
      ypos += GetRowHeight(row);
      if (ypos > point.y) break;
    }
    cellID.row = row;
  } else {
    ypos = nFixedRowHeight;
    for (row = idTopLeft.row; row < m_nRows; ++row) {
      ypos += GetRowHeight(row);
      if (ypos > point.y) break;
    }
    cellID.row = row >= m_nRows ? -1 : row;
  }

  if (!IsValid(cellID)) return CCellID();
  if (!bAllowFixedCellCheck && (cellID.row < m_nFixedRows || cellID.col < m_nFixedCols)) return CCellID();
  // A covered cell answers for its merged range.
  CCellRange range = GetMergedRangeOf(cellID.row, cellID.col);
  if (range.IsValid()) return range.GetTopLeft();
  return cellID;
}

// ---------------------------------------------------------------- scrolling

namespace {

// The start of the row (column) `index` of the scrolling part, in pixels.
template <class SizeFn>
int StartOf(int nFirst, int nIndex, SizeFn size) {
  int nStart = 0;
  for (int i = nFirst; i < nIndex; ++i) nStart += size(i);
  return nStart;
}

// Where the scroll bar goes so that the row (column) `nIndex` is wholly in
// the `nVisible` pixels of the scrolling part, the same for rows and
// columns: its start when it lies above (left of) the view, the first start
// from which it fits when it lies below (right), -1 when it is in view.
template <class SizeFn>
int ScrollPosToShow(int nFirst, int nIndex, int nTopLeft, int nVisible, SizeFn size) {
  int nStart = StartOf(nFirst, nIndex, size), nEnd = nStart + size(nIndex);
  int nCurStart = StartOf(nFirst, nTopLeft, size);
  if (nStart < nCurStart) return nStart;
  if (nEnd <= nCurStart + nVisible) return -1;
  int nFrom = 0;
  for (int i = nFirst; i <= nIndex; ++i) {
    if (nEnd - nFrom <= nVisible) return nFrom;
    nFrom += size(i);
  }
  return nStart;
}

// Where a scroll bar goes for a scroll code, the same for rows (SB_VERT) and
// columns (SB_HORZ): a line step moves to the next or previous row (column)
// that is not hidden, a page by the scrolling part of the client area.
// A line down from the last row stays where it is. Returns -1 for codes that
// do not scroll.
template <class SizeFn>
int NewScrollPos(HWND hWnd, int nBar, UINT nSBCode, UINT nPos, int nScrollPos, int nFirst, int nTopLeft, int nCount,
                 int nPage, int nMax, SizeFn size) {
  int nNewPos = nScrollPos;
  switch (nSBCode) {
    case SB_LINEDOWN: {
      int i = nTopLeft;
      while (i < nCount && size(i) <= 0) ++i;
      if (i < nCount) nNewPos = StartOf(nFirst, i, size) + size(i);
      break;
    }
    case SB_LINEUP: {
      int i = nTopLeft - 1;
      while (i >= nFirst && size(i) <= 0) --i;
      nNewPos = i >= nFirst ? StartOf(nFirst, i, size) : 0;
      break;
    }
    case SB_PAGEDOWN: nNewPos = StartOf(nFirst, nTopLeft, size) + nPage; break;
    case SB_PAGEUP: nNewPos = std::max(0, StartOf(nFirst, nTopLeft, size) - nPage); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      nNewPos = ::GetScrollInfo(hWnd, nBar, &si) && nSBCode == SB_THUMBTRACK ? si.nTrackPos : static_cast<int>(nPos);
      break;
    }
    case SB_TOP: nNewPos = 0; break;
    case SB_BOTTOM: nNewPos = nMax; break;
    default: return -1;
  }
  return std::clamp(nNewPos, 0, std::max(0, nMax));
}

}  // namespace

void CGridCtrl::EnsureVisible(int nRow, int nCol) {
  if (!m_hWnd || !::IsWindow(m_hWnd) || !IsValid(nRow, nCol)) return;
  CRect rectClient;
  GetClientRect(&rectClient);
  bool bMoved = false;
  // Once: finding it walks the rows from the top.
  CCellID idTopLeft = GetTopleftNonFixedCell();

  int nFixedRows = GetFixedRowCount(TRUE);
  if (nRow >= nFixedRows && GetRowHeight(nRow) > 0) {
    int nPos = ScrollPosToShow(nFixedRows, nRow, idTopLeft.row, rectClient.Height() - GetFixedRowHeight(),
                               [this](int row) { return GetRowHeight(row); });
    if (nPos >= 0) {
      SetScrollPos32(SB_VERT, nPos);
      bMoved = true;
    }
  }
  int nFixedCols = GetFixedColumnCount(TRUE);
  if (nCol >= nFixedCols && GetColumnWidth(nCol) > 0) {
    int nPos = ScrollPosToShow(nFixedCols, nCol, idTopLeft.col, rectClient.Width() - GetFixedColumnWidth(),
                               [this](int col) { return GetColumnWidth(col); });
    if (nPos >= 0) {
      SetScrollPos32(SB_HORZ, nPos);
      bMoved = true;
    }
  }
  if (bMoved) Refresh();
}

void CGridCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  (void)pScrollBar;
  CRect rect;
  GetClientRect(&rect);
  int nPage = std::max(1, rect.Height() - GetFixedRowHeight());
  int nScrollPos = GetScrollPos32(SB_VERT);
  int nNewPos = NewScrollPos(m_hWnd, SB_VERT, nSBCode, nPos, nScrollPos, GetFixedRowCount(TRUE), GetTopleftNonFixedCell().row,
                             m_nRows, nPage, m_nVScrollMax, [this](int row) { return GetRowHeight(row); });
  if (nNewPos >= 0 && nNewPos != nScrollPos) {
    SetScrollPos32(SB_VERT, nNewPos);
    Refresh();
  }
}

void CGridCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  (void)pScrollBar;
  CRect rect;
  GetClientRect(&rect);
  int nPage = std::max(1, rect.Width() - GetFixedColumnWidth());
  int nScrollPos = GetScrollPos32(SB_HORZ);
  int nNewPos = NewScrollPos(m_hWnd, SB_HORZ, nSBCode, nPos, nScrollPos, GetFixedColumnCount(TRUE), GetTopleftNonFixedCell().col,
                             m_nCols, nPage, m_nHScrollMax, [this](int col) { return GetColumnWidth(col); });
  if (nNewPos >= 0 && nNewPos != nScrollPos) {
    SetScrollPos32(SB_HORZ, nNewPos);
    Refresh();
  }
}
