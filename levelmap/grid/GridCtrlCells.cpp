// The grid's cells: finding, making, replacing and destroying them, their
// content, the column order, virtual mode's shared cell and merged ranges.
#include <algorithm>

#include "GridCtrl.h"

// ---------------------------------------------------------------- finding cells

CGridCellBase* CGridCtrl::GetStoredCell(int nRow, int nStoredCol) const {
  if (m_bVirtualMode || nRow < 0 || nRow >= m_nRows || nStoredCol < 0 || nStoredCol >= m_nCols) return nullptr;
  if (nRow >= m_RowData.GetSize()) return nullptr;
  GRID_ROW* pRow = m_RowData[nRow];
  if (!pRow || nStoredCol >= pRow->GetSize()) return nullptr;
  return pRow->GetAt(nStoredCol);
}

CGridCellBase* CGridCtrl::GetCell(int nRow, int nCol) const {
  if (nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols) return nullptr;
  if (!m_bVirtualMode) {
    int nStored = nCol < static_cast<int>(m_arColOrder.size()) ? m_arColOrder[static_cast<size_t>(nCol)] : nCol;
    return GetStoredCell(nRow, nStored);
  }

  // Virtual mode: one shared cell, filled from the default cell and then
  // by the callback (or the owner) for this cell.
  bool bFixedRow = nRow < m_nFixedRows, bFixedCol = nCol < m_nFixedCols;
  CGridDefaultCell* pDefaultCell = GetDefaultCell(bFixedRow, bFixedCol);
  GV_DISPINFO* pInfo = m_pVirtualDispInfo;
  GV_ITEM& item = pInfo->item;
  item.row = nRow < static_cast<int>(m_arRowOrder.size()) ? m_arRowOrder[static_cast<size_t>(nRow)] : nRow;
  item.col = nCol < static_cast<int>(m_arColOrder.size()) ? m_arColOrder[static_cast<size_t>(nCol)] : nCol;
  item.mask = GVIF_ALL;
  item.nState = 0;
  if (m_SelectedCellMap.count(CCellID(nRow, nCol))) item.nState |= GVIS_SELECTED;
  if (bFixedRow) item.nState |= GVIS_FIXED | GVIS_FIXEDROW;
  if (bFixedCol) item.nState |= GVIS_FIXED | GVIS_FIXEDCOL;
  if (m_idCurrentCell == CCellID(nRow, nCol)) item.nState |= GVIS_FOCUSED;
  item.nFormat = pDefaultCell->GetFormat();
  item.iImage = pDefaultCell->GetImage();
  item.crBkClr = pDefaultCell->GetBackClr();
  item.crFgClr = pDefaultCell->GetTextClr();
  item.lParam = 0;
  item.lfFont = *pDefaultCell->GetFont();
  item.nMargin = pDefaultCell->GetMargin();
  item.strText.Empty();
  if (m_pfnCallback) m_pfnCallback(pInfo, m_lParam);
  else SendDisplayRequestToParent(pInfo);

  CGridCell* pCell = m_pVirtualCell;
  pCell->Reset();
  pCell->SetGrid(const_cast<CGridCtrl*>(this));
  pCell->SetState(item.nState);
  pCell->SetFormat(item.nFormat);
  pCell->SetImage(item.iImage);
  pCell->SetBackClr(item.crBkClr);
  pCell->SetTextClr(item.crFgClr);
  pCell->SetData(item.lParam);
  pCell->SetFont(&item.lfFont);
  pCell->SetMargin(item.nMargin);
  pCell->SetText(item.strText);
  return pCell;
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol) const {
  CGridCtrl* pThis = const_cast<CGridCtrl*>(this);
  if (bFixedRow && bFixedCol) return &pThis->m_cellFixedRowColDef;
  if (bFixedRow) return &pThis->m_cellFixedRowDef;
  if (bFixedCol) return &pThis->m_cellFixedColDef;
  return &pThis->m_cellDefault;
}

BOOL CGridCtrl::SetCell(int nRow, int nCol, CGridCellBase* pCell) {
  if (m_bVirtualMode || !IsValid(nRow, nCol) || !pCell) return FALSE;
  GRID_ROW* pRow = m_RowData[nRow];
  if (!pRow) return FALSE;
  pCell->SetCoords(nRow, nCol);
  pRow->SetAt(m_arColOrder[static_cast<size_t>(nCol)], pCell);
  return TRUE;
}

void CGridCtrl::SetFixedFlags(int nRow, int nCol, CGridCellBase* pCell) const {
  DWORD nState = pCell->GetState() & ~(GVIS_FIXED | GVIS_FIXEDROW | GVIS_FIXEDCOL);
  if (nRow < m_nFixedRows) nState |= GVIS_FIXED | GVIS_FIXEDROW;
  if (nCol < m_nFixedCols) nState |= GVIS_FIXED | GVIS_FIXEDCOL;
  pCell->SetState(nState);
}

CGridCellBase* CGridCtrl::CreateCell(int nRow, int nCol) {
  if (!m_pRtcDefault || !m_pRtcDefault->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) return nullptr;
  auto* pCell = static_cast<CGridCellBase*>(m_pRtcDefault->CreateObject());
  if (!pCell) return nullptr;
  pCell->SetGrid(this);
  pCell->SetCoords(nRow, nCol);
  SetFixedFlags(nRow, nCol, pCell);
  return pCell;
}

void CGridCtrl::DestroyCell(int nRow, int nCol) {
  if (m_bVirtualMode || nRow < 0 || nRow >= m_RowData.GetSize() || nCol < 0 || nCol >= m_nCols) return;
  GRID_ROW* pRow = m_RowData[nRow];
  if (!pRow) return;
  int nStored = m_arColOrder[static_cast<size_t>(nCol)];
  if (nStored >= pRow->GetSize()) return;
  m_SelectedCellMap.erase(CCellID(nRow, nCol));
  delete pRow->GetAt(nStored);
  pRow->SetAt(nStored, nullptr);
}

BOOL CGridCtrl::SetCellType(int nRow, int nCol, CRuntimeClass* pRuntimeClass) {
  if (m_bVirtualMode || !IsValid(nRow, nCol) || !pRuntimeClass) return FALSE;
  if (!pRuntimeClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) return FALSE;
  CGridCellBase* pCurrentCell = GetCell(nRow, nCol);
  auto* pNewCell = static_cast<CGridCellBase*>(pRuntimeClass->CreateObject());
  if (!pNewCell) return FALSE;
  if (pCurrentCell) pNewCell->CopyFrom(*pCurrentCell);
  else pNewCell->SetGrid(this);
  SetCell(nRow, nCol, pNewCell);
  delete pCurrentCell;
  return TRUE;
}

BOOL CGridCtrl::SetDefaultCellType(CRuntimeClass* pRuntimeClass) {
  if (!pRuntimeClass || !pRuntimeClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) return FALSE;
  m_pRtcDefault = pRuntimeClass;
  return TRUE;
}

BOOL CGridCtrl::IsValid(const CCellRange& range) const {
  return range.IsValid() && range.GetMaxRow() < m_nRows && range.GetMaxCol() < m_nCols;
}

CCellRange CGridCtrl::GetCellRange() const { return CCellRange(0, 0, m_nRows - 1, m_nCols - 1); }

BOOL CGridCtrl::IsCellFixed(int nRow, int nCol) const { return nRow < m_nFixedRows || nCol < m_nFixedCols; }

BOOL CGridCtrl::IsCellEditable(int nRow, int nCol) const {
  if (!IsEditable()) return FALSE;
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell && !pCell->IsReadOnly();
}

BOOL CGridCtrl::IsCellSelected(int nRow, int nCol) const {
  if (m_bVirtualMode) return m_SelectedCellMap.count(CCellID(nRow, nCol)) != 0;
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell && pCell->IsSelected();
}

// ---------------------------------------------------------------- content

BOOL CGridCtrl::SetItem(const GV_ITEM* pItem) {
  if (!pItem || m_bVirtualMode) return FALSE;
  CGridCellBase* pCell = GetCell(pItem->row, pItem->col);
  if (!pCell) return FALSE;
  if (pItem->mask & GVIF_TEXT) pCell->SetText(pItem->strText);
  if (pItem->mask & GVIF_PARAM) pCell->SetData(pItem->lParam);
  if (pItem->mask & GVIF_IMAGE) pCell->SetImage(pItem->iImage);
  if (pItem->mask & GVIF_STATE) SetItemState(pItem->row, pItem->col, pItem->nState);
  if (pItem->mask & GVIF_FORMAT) pCell->SetFormat(pItem->nFormat);
  if (pItem->mask & GVIF_BKCLR) pCell->SetBackClr(pItem->crBkClr);
  if (pItem->mask & GVIF_FGCLR) pCell->SetTextClr(pItem->crFgClr);
  if (pItem->mask & GVIF_FONT) pCell->SetFont(&pItem->lfFont);
  if (pItem->mask & GVIF_MARGIN) pCell->SetMargin(pItem->nMargin);
  return TRUE;
}

BOOL CGridCtrl::GetItem(GV_ITEM* pItem) const {
  if (!pItem) return FALSE;
  CGridCellBase* pCell = GetCell(pItem->row, pItem->col);
  if (!pCell) return FALSE;
  if (pItem->mask & GVIF_TEXT) pItem->strText = pCell->GetText();
  if (pItem->mask & GVIF_PARAM) pItem->lParam = pCell->GetData();
  if (pItem->mask & GVIF_IMAGE) pItem->iImage = pCell->GetImage();
  if (pItem->mask & GVIF_STATE) pItem->nState = pCell->GetState();
  if (pItem->mask & GVIF_FORMAT) pItem->nFormat = pCell->GetFormat();
  if (pItem->mask & GVIF_BKCLR) pItem->crBkClr = pCell->GetBackClr();
  if (pItem->mask & GVIF_FGCLR) pItem->crFgClr = pCell->GetTextClr();
  if ((pItem->mask & GVIF_FONT) && pCell->GetFont()) pItem->lfFont = *pCell->GetFont();
  if (pItem->mask & GVIF_MARGIN) pItem->nMargin = pCell->GetMargin();
  return TRUE;
}

BOOL CGridCtrl::SetItemText(int nRow, int nCol, LPCTSTR str) {
  if (m_bVirtualMode) return FALSE;
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (!pCell) return FALSE;
  pCell->SetText(str);
  return TRUE;
}

CString CGridCtrl::GetItemText(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell ? CString(pCell->GetText()) : CString();
}

BOOL CGridCtrl::SetItemData(int nRow, int nCol, LPARAM lParam) {
  if (m_bVirtualMode) return FALSE;
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (!pCell) return FALSE;
  pCell->SetData(lParam);
  return TRUE;
}

LPARAM CGridCtrl::GetItemData(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell ? pCell->GetData() : 0;
}

BOOL CGridCtrl::SetItemImage(int nRow, int nCol, int iImage) {
  if (m_bVirtualMode) return FALSE;
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (!pCell) return FALSE;
  pCell->SetImage(iImage);
  return TRUE;
}

int CGridCtrl::GetItemImage(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell ? pCell->GetImage() : -1;
}

BOOL CGridCtrl::SetItemState(int nRow, int nCol, UINT state) {
  if (m_bVirtualMode) return FALSE;
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (!pCell) return FALSE;
  // The selection list follows the selected bit.
  CCellID cell(nRow, nCol);
  if (state & GVIS_SELECTED) m_SelectedCellMap.insert(cell);
  else m_SelectedCellMap.erase(cell);
  pCell->SetState(state);
  return TRUE;
}

UINT CGridCtrl::GetItemState(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell ? static_cast<UINT>(pCell->GetState()) : 0;
}

BOOL CGridCtrl::SetItemFormat(int nRow, int nCol, UINT nFormat) {
  if (m_bVirtualMode) return FALSE;
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (!pCell) return FALSE;
  pCell->SetFormat(nFormat);
  return TRUE;
}

UINT CGridCtrl::GetItemFormat(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (pCell) return static_cast<UINT>(pCell->GetFormat());
  return static_cast<UINT>(GetDefaultCell(nRow < m_nFixedRows, nCol < m_nFixedCols)->GetFormat());
}

BOOL CGridCtrl::SetItemBkColour(int nRow, int nCol, COLORREF cr) {
  if (m_bVirtualMode) return FALSE;
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (!pCell) return FALSE;
  pCell->SetBackClr(cr);
  return TRUE;
}

COLORREF CGridCtrl::GetItemBkColour(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell ? pCell->GetBackClr() : CLR_DEFAULT;
}

BOOL CGridCtrl::SetItemFgColour(int nRow, int nCol, COLORREF cr) {
  if (m_bVirtualMode) return FALSE;
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (!pCell) return FALSE;
  pCell->SetTextClr(cr);
  return TRUE;
}

COLORREF CGridCtrl::GetItemFgColour(int nRow, int nCol) const {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell ? pCell->GetTextClr() : CLR_DEFAULT;
}

BOOL CGridCtrl::SetItemFont(int nRow, int nCol, const LOGFONT* plf) {
  if (m_bVirtualMode) return FALSE;
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (!pCell) return FALSE;
  pCell->SetFont(plf);
  return TRUE;
}

const LOGFONT* CGridCtrl::GetItemFont(int nRow, int nCol) {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (pCell) return pCell->GetFont();
  return GetDefaultCell(nRow < m_nFixedRows, nCol < m_nFixedCols)->GetFont();
}

BOOL CGridCtrl::IsItemEditing(int nRow, int nCol) {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  return pCell && pCell->IsEditing();
}

CSize CGridCtrl::GetTextExtent(int nRow, int nCol, LPCTSTR str) {
  CGridCellBase* pCell = GetCell(nRow, nCol);
  if (!pCell) pCell = GetDefaultCell(nRow < m_nFixedRows, nCol < m_nFixedCols);
  return pCell->GetTextExtent(str);
}

// ---------------------------------------------------------------- column and row order

BOOL CGridCtrl::SetColumnOrder(const std::vector<int>& arColOrder) {
  if (static_cast<int>(arColOrder.size()) != m_nCols) return FALSE;
  std::vector<int> sorted(arColOrder);
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < m_nCols; ++i)
    if (sorted[static_cast<size_t>(i)] != i) return FALSE;
  m_arColOrder = arColOrder;
  Refresh();
  return TRUE;
}

void CGridCtrl::ResetColumnOrder() {
  m_arColOrder.resize(static_cast<size_t>(m_nCols));
  for (int i = 0; i < m_nCols; ++i) m_arColOrder[static_cast<size_t>(i)] = i;
}

void CGridCtrl::ResetVirtualOrder() {
  // Identity from the start, so that a virtual grid shows its data rows in
  // order before any sort.
  m_arRowOrder.resize(static_cast<size_t>(m_bVirtualMode ? m_nRows : 0));
  for (size_t i = 0; i < m_arRowOrder.size(); ++i) m_arRowOrder[i] = static_cast<int>(i);
}

// ---------------------------------------------------------------- merged ranges

int CGridCtrl::MergeCells(const CCellRange& mergedCellRange) {
  if (!IsValid(mergedCellRange)) return -1;
  return static_cast<int>(m_arMergedCells.Add(mergedCellRange));
}

CCellRange CGridCtrl::GetMergedCellRange(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_arMergedCells.GetSize()) return CCellRange();
  return m_arMergedCells[nIndex];
}

BOOL CGridCtrl::UnMergeCells(int nIndex) {
  if (nIndex < 0 || nIndex >= m_arMergedCells.GetSize()) return FALSE;
  m_arMergedCells.RemoveAt(nIndex);
  Refresh();
  return TRUE;
}

CCellRange CGridCtrl::GetMergedRangeOf(int nRow, int nCol) const {
  for (const CCellRange& range : m_arMergedCells)
    if (IsValid(range) && range.InRange(nRow, nCol)) return range;
  return CCellRange();
}

namespace {

// Where an edge of a range goes when the rows (columns) [nAt, nAt + nCount)
// are inserted (nCount > 0) or [nAt, nAt - nCount) removed (nCount < 0).
// A range an insertion falls into grows; one a removal cuts into shrinks.
bool ShiftSpan(int& nMin, int& nMax, int nAt, int nCount) {
  if (nCount > 0) {
    if (nMin >= nAt) nMin += nCount;
    if (nMax >= nAt) nMax += nCount;
    return true;
  }
  int nEnd = nAt - nCount;  // first kept index after the removed ones
  int nRemoved = -nCount;
  auto shift = [&](int x, bool bIsMin) {
    if (x < nAt) return x;
    if (x >= nEnd) return x - nRemoved;
    return bIsMin ? nAt : nAt - 1;
  };
  nMin = shift(nMin, true);
  nMax = shift(nMax, false);
  return nMin <= nMax;
}

}  // namespace

void CGridCtrl::ShiftMergedRows(int nAt, int nCount) {
  for (INT_PTR i = m_arMergedCells.GetSize() - 1; i >= 0; --i) {
    CCellRange& range = m_arMergedCells[i];
    int nMin = range.GetMinRow(), nMax = range.GetMaxRow();
    if (!ShiftSpan(nMin, nMax, nAt, nCount)) {
      m_arMergedCells.RemoveAt(i);
      continue;
    }
    range.SetMinRow(nMin);
    range.SetMaxRow(nMax);
  }
}

void CGridCtrl::ShiftMergedColumns(int nAt, int nCount) {
  for (INT_PTR i = m_arMergedCells.GetSize() - 1; i >= 0; --i) {
    CCellRange& range = m_arMergedCells[i];
    int nMin = range.GetMinCol(), nMax = range.GetMaxCol();
    if (!ShiftSpan(nMin, nMax, nAt, nCount)) {
      m_arMergedCells.RemoveAt(i);
      continue;
    }
    range.SetMinCol(nMin);
    range.SetMaxCol(nMax);
  }
}

void CGridCtrl::PruneMergedCells() {
  // Ranges reaching past the grid lose what lies outside it; a range with
  // nothing left inside goes.
  for (INT_PTR i = m_arMergedCells.GetSize() - 1; i >= 0; --i) {
    CCellRange& range = m_arMergedCells[i];
    range.SetMaxRow(std::min(range.GetMaxRow(), m_nRows - 1));
    range.SetMaxCol(std::min(range.GetMaxCol(), m_nCols - 1));
    if (!IsValid(range)) m_arMergedCells.RemoveAt(i);
  }
}
