// Painting the grid: cells, grid lines, merged ranges over the cells they
// cover, frozen-pane lines, and invalidating single cells, rows and columns.
#include <algorithm>

#include "GridCtrl.h"

void CGridCtrl::OnPaint() {
  CPaintDC dc(this);
  if (!m_bDoubleBuffer) {
    OnDraw(&dc);
    return;
  }
  CRect rect;
  GetClientRect(&rect);
  CDC dcMemory;
  CBitmap bitmap;
  if (rect.Width() <= 0 || rect.Height() <= 0 || !dcMemory.CreateCompatibleDC(&dc) ||
      !bitmap.CreateCompatibleBitmap(&dc, rect.Width(), rect.Height())) {
    OnDraw(&dc);
    return;
  }
  CBitmap* pOldBitmap = dcMemory.SelectObject(&bitmap);
  OnDraw(&dcMemory);
  dc.BitBlt(0, 0, rect.Width(), rect.Height(), &dcMemory, 0, 0, SRCCOPY);
  dcMemory.SelectObject(pOldBitmap);
}

BOOL CGridCtrl::OnEraseBkgnd(CDC* pDC) {
  // Everything is painted by OnDraw; erasing first would only flicker.
  (void)pDC;
  return TRUE;
}

void CGridCtrl::EraseBkgnd(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  if (m_bShowHorzNonGridArea) {
    pDC->FillSolidRect(rect, m_crGridBkColour);
    return;
  }
  // Only below the rows; the area right of the last column keeps the
  // window's own background.
  pDC->FillSolidRect(rect, ::GetSysColor(COLOR_3DFACE));
  CRect rectGrid(0, 0, std::min<LONG>(rect.right, GetVirtualWidth()), rect.bottom);
  pDC->FillSolidRect(rectGrid, m_crGridBkColour);
}

void CGridCtrl::DrawCellAt(CDC* pDC, int nRow, int nCol, const CRect& rect, BOOL bErase) {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (pCell) pCell->Draw(pDC, nRow, nCol, rect, bErase);
}

void CGridCtrl::OnDraw(CDC* pDC) {
  if (!pDC) return;
  CRect rectClient;
  GetClientRect(&rectClient);
  CRect rectClip;
  if (pDC->GetClipBox(&rectClip) == ERROR || rectClip.IsRectEmpty()) rectClip = rectClient;
  EraseBkgnd(pDC);

  std::vector<std::pair<int, int>> rows, cols;
  GetVisibleRows(rows, rectClient.Height());
  GetVisibleColumns(cols, rectClient.Width());
  if (rows.empty() || cols.empty()) return;

  // Cells, except those a merged range covers (drawn below as one).
  for (const auto& [row, y] : rows)
    for (const auto& [col, x] : cols) {
      CRect rect(x, y, x + GetColumnWidth(col) - 1, y + GetRowHeight(row) - 1);
      if (CheckClipRect()) {
        CRect rectTest(rect.left, rect.top, rect.right + 1, rect.bottom + 1), rectHit;
        if (!rectHit.IntersectRect(&rectTest, &rectClip)) continue;
      }
      if (GetMergedRangeOf(row, col).IsValid()) continue;
      DrawCellAt(pDC, row, col, rect, TRUE);
    }

  int nGridRight = cols.back().second + GetColumnWidth(cols.back().first);
  int nGridBottom = rows.back().second + GetRowHeight(rows.back().first);
  if (m_nGridLines != GVL_NONE) {
    CPen pen(PS_SOLID, 1, m_crGridLineColour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT)
      for (const auto& [col, x] : cols) {
        int nLine = x + GetColumnWidth(col) - 1;
        pDC->MoveTo(nLine, 0);
        pDC->LineTo(nLine, nGridBottom);
      }
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ)
      for (const auto& [row, y] : rows) {
        int nLine = y + GetRowHeight(row) - 1;
        pDC->MoveTo(0, nLine);
        pDC->LineTo(nGridRight, nLine);
      }
    pDC->SelectObject(pOldPen);
  }

  // Merged ranges in list order, each painted by its top-left cell over the
  // range less its last pixel column and row (the grid lines stay).
  int nFixedRowHeight = GetFixedRowHeight(), nFixedColWidth = GetFixedColumnWidth();
  for (const CCellRange& range : m_arMergedCells) {
    if (!IsValid(range)) continue;
    CRect rect;
    if (!GetCellRangeRect(range, &rect)) continue;
    rect.right--;
    rect.bottom--;
    if (rect.right < rect.left || rect.bottom < rect.top) continue;
    int nSaved = pDC->SaveDC();
    // A scrolled range stays out of the fixed area.
    CRect rectArea = rectClient;
    if (range.GetMinRow() >= GetFixedRowCount(TRUE)) rectArea.top = nFixedRowHeight;
    if (range.GetMinCol() >= GetFixedColumnCount(TRUE)) rectArea.left = nFixedColWidth;
    pDC->IntersectClipRect(rectArea);
    DrawCellAt(pDC, range.GetMinRow(), range.GetMinCol(), rect, TRUE);
    pDC->RestoreDC(nSaved);
  }

  if (m_bFreezedFrame) {
    CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
    CPen* pOldPen = pDC->SelectObject(&pen);
    if (m_nFreezedRows > 0) {
      int y = nFixedRowHeight - 1;
      pDC->MoveTo(0, y);
      pDC->LineTo(rectClient.right, y);
    }
    if (m_nFreezedCols > 0) {
      int x = nFixedColWidth - 1;
      pDC->MoveTo(x, 0);
      pDC->LineTo(x, rectClient.bottom);
    }
    pDC->SelectObject(pOldPen);
  }
}

// ---------------------------------------------------------------- invalidating

BOOL CGridCtrl::RedrawCell(int nRow, int nCol, CDC* pDC) {
  (void)pDC;
  if (!m_bAllowDraw || !m_hWnd || !::IsWindow(m_hWnd) || !IsValid(nRow, nCol)) return FALSE;
  CRect rect;
  CCellRange range = GetMergedRangeOf(nRow, nCol);
  if (range.IsValid() ? !GetCellRangeRect(range, &rect) : !GetCellRect(nRow, nCol, &rect)) return FALSE;
  rect.right++;
  rect.bottom++;
  InvalidateRect(rect, TRUE);
  return TRUE;
}

void CGridCtrl::RedrawMergedOrCell(int nRow, int nCol) { RedrawCell(nRow, nCol); }

BOOL CGridCtrl::RedrawRow(int row) {
  if (!m_bAllowDraw || !m_hWnd || !::IsWindow(m_hWnd) || row < 0 || row >= m_nRows) return FALSE;
  CRect rect;
  if (!GetCellRect(row, GetFixedColumnCount(TRUE) < m_nCols ? GetFixedColumnCount(TRUE) : 0, &rect)) return FALSE;
  CRect rectClient;
  GetClientRect(&rectClient);
  InvalidateRect(CRect(0, rect.top, rectClient.right, rect.bottom + 1), TRUE);
  return TRUE;
}

BOOL CGridCtrl::RedrawColumn(int col) {
  if (!m_bAllowDraw || !m_hWnd || !::IsWindow(m_hWnd) || col < 0 || col >= m_nCols) return FALSE;
  CRect rect;
  if (!GetCellRect(GetFixedRowCount(TRUE) < m_nRows ? GetFixedRowCount(TRUE) : 0, col, &rect) &&
      !GetCellRect(0, col, &rect))
    return FALSE;
  CRect rectClient;
  GetClientRect(&rectClient);
  InvalidateRect(CRect(rect.left, 0, rect.right + 1, rectClient.bottom), TRUE);
  return TRUE;
}
