// Sorting: the header click, SortItems with the default, numeric or a
// user compare, the quicksort that exchanges whole rows, and the virtual-mode
// sort of the row order.
#include <algorithm>
#include <utility>

#include "GridCtrl.h"

namespace {

// A character as the original platform's 16-bit text holds it: characters
// beyond the basic plane compare as their surrogate pair.
inline unsigned Utf16Unit(wchar_t ch, bool bLow) {
  auto cp = static_cast<unsigned>(ch);
  if (cp < 0x10000u) return cp;
  cp -= 0x10000u;
  return bLow ? 0xDC00u + (cp & 0x3FFu) : 0xD800u + (cp >> 10);
}

int CompareUtf16(const wchar_t* a, const wchar_t* b) {
  for (;; ++a, ++b) {
    if (*a == *b) {
      if (*a == 0) return 0;
      continue;
    }
    if (*a == 0) return -1;
    if (*b == 0) return 1;
    unsigned ua = Utf16Unit(*a, false), ub = Utf16Unit(*b, false);
    if (ua == ub) {
      ua = Utf16Unit(*a, true);
      ub = Utf16Unit(*b, true);
    }
    return ua < ub ? -1 : 1;
  }
}

}  // namespace

int CALLBACK CGridCtrl::pfnCellTextCompare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
  (void)lParamSort;
  auto* pCell1 = reinterpret_cast<CGridCellBase*>(lParam1);
  auto* pCell2 = reinterpret_cast<CGridCellBase*>(lParam2);
  if (!pCell1 || !pCell2) return 0;
  return CompareUtf16(pCell1->GetText(), pCell2->GetText());
}

int CALLBACK CGridCtrl::pfnCellNumericCompare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
  (void)lParamSort;
  auto* pCell1 = reinterpret_cast<CGridCellBase*>(lParam1);
  auto* pCell2 = reinterpret_cast<CGridCellBase*>(lParam2);
  if (!pCell1 || !pCell2) return 0;
  long nValue1 = _wtol(pCell1->GetText()), nValue2 = _wtol(pCell2->GetText());
  return nValue1 < nValue2 ? -1 : nValue1 == nValue2 ? 0 : 1;
}

BOOL CGridCtrl::SortTextItems(int nCol, BOOL bAscending, LPARAM data) {
  return SortItems(pfnCellTextCompare, nCol, bAscending, data);
}

BOOL CGridCtrl::SortItems(int nCol, BOOL bAscending, LPARAM data) {
  return SortItems(m_pfnCompare ? m_pfnCompare : pfnCellTextCompare, nCol, bAscending, data);
}

BOOL CGridCtrl::SortItems(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data) {
  if (nCol < 0 || nCol >= m_nCols) return FALSE;
  ResetSelectedRange();
  SetFocusCell(-1, -1);
  SetSortColumn(nCol);
  SetSortAscending(bAscending);

  BOOL bResult = FALSE;
  if (m_bVirtualMode) {
    // The data rows' order, from the first non-fixed row.
    if (m_pfnVirtualCompare && static_cast<int>(m_arRowOrder.size()) > m_nFixedRows) {
      PVIRTUALCOMPARE pfn = m_pfnVirtualCompare;
      auto first = m_arRowOrder.begin() + m_nFixedRows;
      if (bAscending) std::sort(first, m_arRowOrder.end(), [pfn](int a, int b) { return pfn(a, b); });
      else std::sort(first, m_arRowOrder.end(), [pfn](int a, int b) { return pfn(b, a); });
      bResult = TRUE;
    }
  } else {
    bResult = SortItems(pfnCompare, nCol, bAscending, data, m_nFixedRows, -1);
  }
  Refresh();
  return bResult;
}

BOOL CGridCtrl::SortItems(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low, int high) {
  if (!pfnCompare || nCol < 0 || nCol >= m_nCols || m_bVirtualMode) return FALSE;
  if (high == -1) high = m_nRows - 1;
  if (low < 0 || high >= m_nRows || high >= m_RowData.GetSize() || high <= low) return FALSE;

  // Rows are exchanged whole: two row pointers and two heights.
  GRID_ROW** ppRows = m_RowData.GetData();
  UINT* pHeights = m_arRowHeights.GetData();
  const INT_PTR nStored = m_arColOrder[static_cast<size_t>(nCol)];
  auto cell = [ppRows, nStored](int row) { return reinterpret_cast<LPARAM>(ppRows[row]->GetAt(nStored)); };
  auto swapRows = [ppRows, pHeights](int a, int b) {
    std::swap(ppRows[a], ppRows[b]);
    std::swap(pHeights[a], pHeights[b]);
  };
  // Descending order uses the same loop with the comparisons reversed.
  const int nSign = bAscending ? 1 : -1;
  auto compare = [&](LPARAM a, LPARAM b) { return nSign * pfnCompare(a, b, data); };

  // Quicksort with the middle row's cell as pivot. The smaller part is
  // sorted by recursion and the larger by the loop, so the depth stays
  // logarithmic whatever the data.
  while (low < high) {
    int lo = low, hi = high;
    LPARAM midItem = cell((lo + hi) / 2);
    while (lo <= hi) {
      while (lo < high && compare(cell(lo), midItem) < 0) ++lo;
      while (hi > low && compare(cell(hi), midItem) > 0) --hi;
      if (lo <= hi) {
        if (lo != hi) swapRows(lo, hi);
        ++lo;
        --hi;
      }
    }
    if (hi - low < high - lo) {
      if (low < hi) SortItems(pfnCompare, nCol, bAscending, data, low, hi);
      low = lo;
    } else {
      if (lo < high) SortItems(pfnCompare, nCol, bAscending, data, lo, high);
      high = hi;
    }
  }
  return TRUE;
}

void CGridCtrl::OnFixedRowClick(CCellID& cell) {
  if (!IsValid(cell)) return;
  if (GetHeaderSort()) {
    CWaitCursor waiter;
    // Ascending unless it is the same column sorted ascending last time.
    if (cell.col == GetSortColumn() && GetSortAscending()) SortItems(cell.col, FALSE);
    else SortItems(cell.col, TRUE);
    Invalidate();
  }
  if (GetFixedColumnSelection()) {
    if (cell.col < GetFixedColumnCount()) {
      m_MouseMode = MOUSE_SELECT_ALL;
      OnSelecting(cell);
    } else {
      m_MouseMode = MOUSE_SELECT_COL;
      m_SelectionStartCell = cell;
      SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_SELCHANGING));
      OnSelecting(cell);
    }
  }
}

void CGridCtrl::OnFixedColumnClick(CCellID& cell) {
  if (!IsValid(cell)) return;
  if (GetFixedRowSelection()) {
    if (cell.row < GetFixedRowCount()) {
      m_MouseMode = MOUSE_SELECT_ALL;
      OnSelecting(cell);
    } else {
      m_MouseMode = MOUSE_SELECT_ROW;
      m_SelectionStartCell = cell;
      SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_SELCHANGING));
      OnSelecting(cell);
    }
  }
}
