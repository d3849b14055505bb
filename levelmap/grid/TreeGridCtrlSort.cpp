// Sorting a tree grid: a node's children are ordered by the cells of a
// column with the grid's own row sort, then each child's block of rows (its
// row, its descendants' rows and the plain rows below them, up to the next
// tree row outside the child) is put back in that order, so descendants
// always stay under their parents.
#include <utility>

#include "TreeGridCtrl.h"

BOOL CTreeGridCtrl::SortRowRange(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low, int high) {
  // The base sort recurses through the overridable; while it runs the rows
  // it sees are plain rows.
  ++m_nInRowSort;
  BOOL bResult = CGridCtrl::SortItems(pfnCompare, nCol, bAscending, data, low, high);
  --m_nInRowSort;
  return bResult;
}

BOOL CTreeGridCtrl::SortItems(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low, int high) {
  if (m_nInRowSort || m_mapNodes.GetCount() == 0) return CGridCtrl::SortItems(pfnCompare, nCol, bAscending, data, low, high);
  // The whole grid: the top-level nodes, each with its rows. A part of it
  // would tear nodes from their descendants.
  if (low > m_nFixedRows || (high != -1 && high < m_nRows - 1)) return FALSE;
  ++m_nSuspendNumbering;
  BOOL bResult = SortNodeChildren(m_pRootNode, nCol, bAscending, pfnCompare, FALSE, data);
  --m_nSuspendNumbering;
  RenumberRows(0);
  return bResult;
}

BOOL CTreeGridCtrl::SortChildren(CTreeNode* pNode, int nCol, BOOL bAscending, PFNLVCOMPARE pfnCompare,
                                 BOOL bRecursive, LPARAM data) {
  if (!pNode || pNode == GTVI_ROOT) pNode = m_pRootNode;
  if (GetVirtualMode() || !IsValidNode(pNode) || nCol < 0 || nCol >= m_nCols) return FALSE;
  if (!pfnCompare) pfnCompare = m_pfnCompare ? m_pfnCompare : pfnCellTextCompare;
  ResetSelectedRange();
  SetFocusCell(-1, -1);
  ++m_nSuspendNumbering;
  BOOL bResult = SortNodeChildren(pNode, nCol, bAscending, pfnCompare, bRecursive, data);
  --m_nSuspendNumbering;
  RenumberRows(0);
  Refresh();
  return bResult;
}

BOOL CTreeGridCtrl::SortNodeChildren(CTreeNode* pNode, int nCol, BOOL bAscending, PFNLVCOMPARE pfnCompare,
                                     BOOL bRecursive, LPARAM data) {
  INT_PTR nChildren = pNode->GetChildCount();
  if (nChildren >= 2) {
    // Each child's block of rows: from its row to the row before the next
    // child, the last one to its last descendant.
    std::vector<int> arStart(static_cast<size_t>(nChildren));
    for (INT_PTR i = 0; i < nChildren; ++i) {
      arStart[static_cast<size_t>(i)] = FindRow(pNode->GetChild(i)->m_pRow);
      if (arStart[static_cast<size_t>(i)] < 0 || (i > 0 && arStart[static_cast<size_t>(i)] <= arStart[static_cast<size_t>(i - 1)]))
        return FALSE;
    }
    int nEnd = FindRow(pNode->GetChild(nChildren - 1)->GetLastDescendant()->m_pRow);
    if (nEnd < arStart.back()) return FALSE;
    // Plain rows travel with the tree row above them, after the last child too.
    while (nEnd + 1 < m_nRows && !GetTreeNode(nEnd + 1)) ++nEnd;

    // The children's rows alone, behind the fixed rows, sorted by the grid's
    // row sort in place of the grid's own lists.
    CArray<GRID_ROW*, GRID_ROW*> arSavedRows;
    CUIntArray arSavedHeights;
    arSavedRows.Copy(m_RowData);
    arSavedHeights.Copy(m_arRowHeights);
    int nSavedRows = m_nRows;
    int nFixed = std::min(m_nFixedRows, nSavedRows);
    CArray<GRID_ROW*, GRID_ROW*> arTemp;
    CUIntArray arTempHeights;
    for (int row = 0; row < nFixed; ++row) {
      arTemp.Add(arSavedRows[row]);
      arTempHeights.Add(arSavedHeights[row]);
    }
    for (INT_PTR i = 0; i < nChildren; ++i) {
      arTemp.Add(pNode->GetChild(i)->m_pRow);
      arTempHeights.Add(arSavedHeights[arStart[static_cast<size_t>(i)]]);
    }
    m_RowData.Copy(arTemp);
    m_arRowHeights.Copy(arTempHeights);
    m_nRows = static_cast<int>(arTemp.GetSize());
    BOOL bSorted = SortRowRange(pfnCompare, nCol, bAscending, data, nFixed, m_nRows - 1);
    arTemp.Copy(m_RowData);
    m_RowData.Copy(arSavedRows);
    m_arRowHeights.Copy(arSavedHeights);
    m_nRows = nSavedRows;
    if (!bSorted) return FALSE;

    // The children in their new order, and their blocks in that order.
    std::vector<std::pair<int, int>> arBlocks;  // [first, last] rows
    CArray<CTreeNode*, CTreeNode*> arOrder;
    for (INT_PTR k = nFixed; k < arTemp.GetSize(); ++k)
      for (INT_PTR i = 0; i < nChildren; ++i)
        if (pNode->GetChild(i)->m_pRow == arTemp[k]) {
          arOrder.Add(pNode->GetChild(i));
          int nLast = i + 1 < nChildren ? arStart[static_cast<size_t>(i + 1)] - 1 : nEnd;
          arBlocks.emplace_back(arStart[static_cast<size_t>(i)], nLast);
          break;
        }
    if (arOrder.GetSize() != nChildren) return FALSE;
    int nRow = arStart.front();
    for (const auto& [nFirst, nLast] : arBlocks)
      for (int row = nFirst; row <= nLast; ++row, ++nRow) {
        m_RowData[nRow] = arSavedRows[row];
        m_arRowHeights[nRow] = arSavedHeights[row];
      }
    pNode->m_arChildren.Copy(arOrder);
    pNode->RelinkSiblings();
  }
  BOOL bAll = TRUE;
  if (bRecursive)
    for (INT_PTR i = 0; i < pNode->GetChildCount(); ++i)
      if (!SortNodeChildren(pNode->GetChild(i), nCol, bAscending, pfnCompare, TRUE, data)) bAll = FALSE;
  return bAll;
}
