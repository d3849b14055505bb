// Rows and columns of the grid: inserting and deleting them, their heights
// and widths, and sizing them to their contents.
#include <algorithm>

#include "GridCtrl.h"

// ---------------------------------------------------------------- insert and delete

int CGridCtrl::InsertRow(LPCTSTR strHeading, int nRow) {
  if (m_bVirtualMode) return -1;
  if (nRow != -1 && (nRow < m_nFixedRows || nRow > m_nRows)) return -1;
  if (nRow == -1) nRow = m_nRows;

  ClearSelectionAndFocus();
  if (m_nCols < 1 && !SetColumnCount(1)) return -1;

  auto* pRow = new GRID_ROW;
  try {
    pRow->SetSize(m_nCols);
    for (int col = 0; col < m_nCols; ++col) pRow->SetAt(m_arColOrder[static_cast<size_t>(col)], CreateCell(nRow, col));
    m_RowData.InsertAt(nRow, pRow);
    m_arRowHeights.InsertAt(nRow, 0u);
  } catch (...) {
    for (int col = 0; col < pRow->GetSize(); ++col) delete pRow->GetAt(col);
    delete pRow;
    if (m_RowData.GetSize() > m_nRows) m_RowData.RemoveAt(nRow);
    return -1;
  }
  ++m_nRows;
  if (nRow < m_nFixedRows + m_nFreezedRows && nRow >= m_nFixedRows && m_nFreezedRows > 0) ++m_nFreezedRows;
  ShiftMergedRows(nRow, 1);

  SetItemText(nRow, 0, strHeading);
  CString strText = strHeading ? strHeading : L"";
  if (strText.IsEmpty()) m_arRowHeights[nRow] = static_cast<UINT>(m_cellFixedRowDef.GetHeight());
  else m_arRowHeights[nRow] = static_cast<UINT>(std::max<LONG>(1, GetTextExtent(nRow, 0, strText).cy));

  if (m_bAllowDraw) {
    ResetScrollBars();
    Refresh();
  }
  return nRow;
}

int CGridCtrl::InsertColumn(LPCTSTR strHeading, UINT nFormat, int nColumn) {
  if (m_bVirtualMode) return -1;
  if (nColumn != -1 && (nColumn < m_nFixedCols || nColumn > m_nCols)) return -1;
  if (nColumn == -1) nColumn = m_nCols;

  ClearSelectionAndFocus();
  // A grid without rows gets one to hold the heading.
  if (m_nRows < 1 && !SetRowCount(1)) return -1;

  // New cells are made first; then every row takes its own.
  std::vector<CGridCellBase*> arCells;
  try {
    arCells.reserve(static_cast<size_t>(m_nRows));
    for (int row = 0; row < m_nRows; ++row) arCells.push_back(CreateCell(row, nColumn));
    for (int row = 0; row < m_nRows; ++row) m_RowData[row]->InsertAt(nColumn, arCells[static_cast<size_t>(row)]);
    m_arColWidths.InsertAt(nColumn, 0u);
  } catch (...) {
    return -1;
  }
  ++m_nCols;
  ResetColumnOrder();
  if (nColumn < m_nFixedCols + m_nFreezedCols && nColumn >= m_nFixedCols && m_nFreezedCols > 0) ++m_nFreezedCols;
  if (m_nSortColumn >= nColumn) ++m_nSortColumn;
  ShiftMergedColumns(nColumn, 1);

  for (int row = 0; row < m_nRows; ++row) SetItemFormat(row, nColumn, nFormat);
  SetItemText(0, nColumn, strHeading);
  CString strText = strHeading ? strHeading : L"";
  if (strText.IsEmpty()) m_arColWidths[nColumn] = static_cast<UINT>(m_cellFixedColDef.GetWidth());
  else m_arColWidths[nColumn] = static_cast<UINT>(std::max<LONG>(1, GetTextExtent(0, nColumn, strText).cx));

  if (m_bAllowDraw) {
    ResetScrollBars();
    Refresh();
  }
  return nColumn;
}

BOOL CGridCtrl::DeleteRow(int nRow) {
  if (m_bVirtualMode || nRow < 0 || nRow >= m_nRows) return FALSE;
  ResetSelectedRange();
  if (m_idCurrentCell.row == nRow) m_idCurrentCell = CCellID(-1, -1);
  else if (m_idCurrentCell.row > nRow) --m_idCurrentCell.row;
  m_SelectionStartCell = CCellID(-1, -1);

  GRID_ROW* pRow = m_RowData[nRow];
  if (pRow) {
    for (int col = 0; col < pRow->GetSize(); ++col) delete pRow->GetAt(col);
    delete pRow;
  }
  m_RowData.RemoveAt(nRow);
  m_arRowHeights.RemoveAt(nRow);
  --m_nRows;
  if (nRow < m_nFixedRows) --m_nFixedRows;
  else if (nRow < m_nFixedRows + m_nFreezedRows) --m_nFreezedRows;
  ShiftMergedRows(nRow, -1);

  if (m_bAllowDraw) {
    ResetScrollBars();
    Refresh();
  }
  return TRUE;
}

BOOL CGridCtrl::DeleteColumn(int nColumn) {
  if (m_bVirtualMode || nColumn < 0 || nColumn >= m_nCols) return FALSE;
  ResetSelectedRange();
  if (m_idCurrentCell.col == nColumn) m_idCurrentCell = CCellID(-1, -1);
  else if (m_idCurrentCell.col > nColumn) --m_idCurrentCell.col;
  m_SelectionStartCell = CCellID(-1, -1);

  int nStored = m_arColOrder[static_cast<size_t>(nColumn)];
  for (int row = 0; row < m_nRows; ++row) {
    GRID_ROW* pRow = m_RowData[row];
    if (!pRow) continue;
    delete pRow->GetAt(nStored);
    pRow->RemoveAt(nStored);
  }
  m_arColWidths.RemoveAt(nStored);
  --m_nCols;
  ResetColumnOrder();
  if (nColumn < m_nFixedCols) --m_nFixedCols;
  else if (nColumn < m_nFixedCols + m_nFreezedCols) --m_nFreezedCols;
  if (m_nSortColumn == nColumn) m_nSortColumn = -1;
  else if (m_nSortColumn > nColumn) --m_nSortColumn;
  ShiftMergedColumns(nColumn, -1);

  if (m_bAllowDraw) {
    ResetScrollBars();
    Refresh();
  }
  return TRUE;
}

BOOL CGridCtrl::DeleteAllItems() {
  ClearSelectionAndFocus();
  m_SelectionStartCell = CCellID(-1, -1);
  m_arColWidths.RemoveAll();
  m_arRowHeights.RemoveAll();
  if (m_bVirtualMode) {
    m_arRowOrder.clear();
  } else {
    for (int row = 0; row < m_RowData.GetSize(); ++row) {
      GRID_ROW* pRow = m_RowData[row];
      if (!pRow) continue;
      for (int col = 0; col < pRow->GetSize(); ++col) delete pRow->GetAt(col);
      delete pRow;
    }
    m_RowData.RemoveAll();
  }
  m_nRows = m_nFixedRows = m_nFreezedRows = 0;
  m_nCols = m_nFixedCols = m_nFreezedCols = 0;
  m_arColOrder.clear();
  // Ranges of the old contents would cover the new ones.
  m_arMergedCells.RemoveAll();
  m_nSortColumn = -1;
  ResetScrollBars();
  Refresh();
  return TRUE;
}

BOOL CGridCtrl::DeleteNonFixedRows() {
  if (m_bVirtualMode) return FALSE;
  BOOL bAllowDraw = m_bAllowDraw;
  m_bAllowDraw = FALSE;
  for (int row = m_nRows - 1; row >= m_nFixedRows; --row) DeleteRow(row);
  m_bAllowDraw = bAllowDraw;
  ResetScrollBars();
  Refresh();
  return TRUE;
}

// ---------------------------------------------------------------- sizes

int CGridCtrl::GetRowHeight(int nRow) const {
  if (nRow < 0 || nRow >= m_arRowHeights.GetSize()) return -1;
  return static_cast<int>(m_arRowHeights[nRow]);
}

BOOL CGridCtrl::SetRowHeight(int nRow, int height) {
  if (height < 0 || nRow < 0 || nRow >= m_nRows || nRow >= m_arRowHeights.GetSize()) return FALSE;
  m_arRowHeights[nRow] = static_cast<UINT>(height);
  return TRUE;
}

int CGridCtrl::GetColumnWidth(int nCol) const {
  if (nCol < 0 || nCol >= m_nCols || nCol >= static_cast<int>(m_arColOrder.size())) return -1;
  int nStored = m_arColOrder[static_cast<size_t>(nCol)];
  if (nStored >= m_arColWidths.GetSize()) return -1;
  return static_cast<int>(m_arColWidths[nStored]);
}

BOOL CGridCtrl::SetColumnWidth(int nCol, int width) {
  if (width < 0 || nCol < 0 || nCol >= m_nCols || nCol >= static_cast<int>(m_arColOrder.size())) return FALSE;
  int nStored = m_arColOrder[static_cast<size_t>(nCol)];
  if (nStored >= m_arColWidths.GetSize()) return FALSE;
  m_arColWidths[nStored] = static_cast<UINT>(width);
  return TRUE;
}

int CGridCtrl::GetFixedRowHeight(BOOL bIncludeFreezedRows) const {
  int nHeight = 0;
  int nCount = GetFixedRowCount(bIncludeFreezedRows);
  for (int row = 0; row < nCount; ++row) nHeight += GetRowHeight(row);
  return nHeight;
}

int CGridCtrl::GetFixedColumnWidth(BOOL bIncludeFreezedCols) const {
  int nWidth = 0;
  int nCount = GetFixedColumnCount(bIncludeFreezedCols);
  for (int col = 0; col < nCount; ++col) nWidth += GetColumnWidth(col);
  return nWidth;
}

long CGridCtrl::GetVirtualWidth() const {
  long lWidth = 0;
  for (INT_PTR i = 0; i < m_arColWidths.GetSize(); ++i) lWidth += static_cast<long>(m_arColWidths[i]);
  return lWidth;
}

long CGridCtrl::GetVirtualHeight() const {
  long lHeight = 0;
  for (INT_PTR i = 0; i < m_arRowHeights.GetSize(); ++i) lHeight += static_cast<long>(m_arRowHeights[i]);
  return lHeight;
}

// ---------------------------------------------------------------- auto-sizing

namespace {

// A device to measure text in: the window's own when it exists.
class CMeasureDC {
 public:
  explicit CMeasureDC(CWnd* pWnd) {
    if (pWnd->m_hWnd && ::IsWindow(pWnd->m_hWnd)) {
      m_pWnd = pWnd;
      m_pDC = pWnd->GetDC();
    }
    if (!m_pDC && m_dcMemory.CreateCompatibleDC(nullptr)) m_pDC = &m_dcMemory;
  }
  ~CMeasureDC() {
    if (m_pWnd && m_pDC) m_pWnd->ReleaseDC(m_pDC);
  }
  CMeasureDC(const CMeasureDC&) = delete;
  CMeasureDC& operator=(const CMeasureDC&) = delete;
  CDC* Get() const { return m_pDC; }

 private:
  CWnd* m_pWnd = nullptr;
  CDC* m_pDC = nullptr;
  CDC m_dcMemory;
};

// The size a cell needs, with its measuring bit set while it is measured.
CSize MeasureCell(CGridCellBase* pCell, CDC* pDC) {
  DWORD nState = pCell->GetState();
  pCell->SetState(nState | GVIS_MEASURING);
  CSize size = pCell->GetCellExtent(pDC);
  pCell->SetState(nState);
  return size;
}

bool RowTakesPart(int nRow, int nFixedRows, UINT nStyle) {
  return nRow < nFixedRows ? (nStyle & GVS_HEADER) != 0 : (nStyle & GVS_DATA) != 0;
}

}  // namespace

BOOL CGridCtrl::AutoSizeRow(int nRow, BOOL bResetScroll) {
  if (nRow < 0 || nRow >= m_nRows || GetRowHeight(nRow) == 0) return FALSE;
  CMeasureDC dc(this);
  if (!dc.Get()) return FALSE;
  int nHeight = 0;
  for (int col = 0; col < m_nCols; ++col) {
    if (GetColumnWidth(col) <= 0) continue;
    if (CGridCellBase* pCell = GetCell(nRow, col)) nHeight = std::max<int>(nHeight, MeasureCell(pCell, dc.Get()).cy);
  }
  if (nHeight > 0) m_arRowHeights[nRow] = static_cast<UINT>(nHeight);
  if (bResetScroll) {
    ResetScrollBars();
    Refresh();
  }
  return TRUE;
}

BOOL CGridCtrl::AutoSizeColumn(int nCol, UINT nAutoSizeStyle, BOOL bResetScroll) {
  if (nCol < 0 || nCol >= m_nCols || GetColumnWidth(nCol) == 0) return FALSE;
  if (nAutoSizeStyle == GVS_DEFAULT) nAutoSizeStyle = static_cast<UINT>(m_nAutoSizeColumnStyle);
  CMeasureDC dc(this);
  if (!dc.Get()) return FALSE;
  int nWidth = 0;
  for (int row = 0; row < m_nRows; ++row) {
    if (GetRowHeight(row) <= 0 || !RowTakesPart(row, m_nFixedRows, nAutoSizeStyle)) continue;
    if (CGridCellBase* pCell = GetCell(row, nCol)) nWidth = std::max<int>(nWidth, MeasureCell(pCell, dc.Get()).cx);
  }
  // Nothing measured leaves the column as it was rather than hiding it.
  if (nWidth > 0) SetColumnWidth(nCol, nWidth);
  if (bResetScroll) {
    ResetScrollBars();
    Refresh();
  }
  return TRUE;
}

void CGridCtrl::AutoSizeRows() {
  for (int row = 0; row < m_nRows; ++row) AutoSizeRow(row, FALSE);
  ResetScrollBars();
  Refresh();
}

void CGridCtrl::AutoSizeColumns(UINT nAutoSizeStyle) {
  for (int col = 0; col < m_nCols; ++col) AutoSizeColumn(col, nAutoSizeStyle, FALSE);
  ResetScrollBars();
  Refresh();
}

void CGridCtrl::AutoSize(UINT nAutoSizeStyle) {
  if (nAutoSizeStyle == GVS_DEFAULT) nAutoSizeStyle = static_cast<UINT>(m_nAutoSizeColumnStyle);
  CMeasureDC dc(this);
  if (!dc.Get()) return;

  // Measured rows start at 1 and visible columns at 0, then grow to the
  // largest extent found; hidden rows and columns stay hidden.
  std::vector<int> arOldWidths(static_cast<size_t>(m_nCols));
  for (int col = 0; col < m_nCols; ++col) {
    arOldWidths[static_cast<size_t>(col)] = GetColumnWidth(col);
    if (arOldWidths[static_cast<size_t>(col)] > 0) SetColumnWidth(col, 0);
  }
  for (int row = 0; row < m_nRows; ++row) {
    if (GetRowHeight(row) <= 0 || !RowTakesPart(row, m_nFixedRows, nAutoSizeStyle)) continue;
    m_arRowHeights[row] = 1;
    for (int col = 0; col < m_nCols; ++col) {
      if (arOldWidths[static_cast<size_t>(col)] <= 0) continue;
      CGridCellBase* pCell = GetCell(row, col);
      if (!pCell) continue;
      CSize size = MeasureCell(pCell, dc.Get());
      if (size.cx > GetColumnWidth(col)) SetColumnWidth(col, size.cx);
      if (size.cy > static_cast<LONG>(m_arRowHeights[row])) m_arRowHeights[row] = static_cast<UINT>(size.cy);
    }
  }
  // A visible column that had nothing to measure keeps its width.
  for (int col = 0; col < m_nCols; ++col)
    if (arOldWidths[static_cast<size_t>(col)] > 0 && GetColumnWidth(col) == 0)
      SetColumnWidth(col, arOldWidths[static_cast<size_t>(col)]);

  ResetScrollBars();
  Refresh();
}

void CGridCtrl::ExpandColumnsToFit(BOOL bExpandFixed) {
  if (!m_hWnd || !::IsWindow(m_hWnd) || m_nCols <= 0) return;
  CRect rect;
  GetClientRect(&rect);
  int nFirst = bExpandFixed ? 0 : m_nFixedCols;
  int nCount = 0;
  for (int col = nFirst; col < m_nCols; ++col)
    if (GetColumnWidth(col) > 0) ++nCount;
  long lVirtualWidth = GetVirtualWidth();
  if (nCount == 0 || lVirtualWidth >= rect.Width()) return;
  int nDifference = rect.Width() - static_cast<int>(lVirtualWidth);
  int nAdd = nDifference / nCount, nLeft = nDifference % nCount;
  for (int col = nFirst; col < m_nCols; ++col) {
    int nWidth = GetColumnWidth(col);
    if (nWidth <= 0) continue;
    SetColumnWidth(col, nWidth + nAdd + (nLeft-- > 0 ? 1 : 0));
  }
  ResetScrollBars();
  Refresh();
}
