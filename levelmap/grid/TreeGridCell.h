// CTreeGridCell: the ordinary text cell with a tree part, the default cell of
// a tree grid's tree column. In the tree column it draws the node's
// indentation, connecting lines and expand button left of its text.
#pragma once

#include "GridCell.h"
#include "TreeCell.h"

class AFX_EXT_CLASS CTreeGridCell : public CGridCell, public CTreeCell {
  DECLARE_DYNCREATE(CTreeGridCell)

 public:
  CTreeGridCell();

  // Setting the coordinates keeps the row in the tree part.
  void SetCoords(int nRow, int nCol) override;
  BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;
  BOOL GetTextRect(LPRECT pRect) override;
  BOOL GetTipTextRect(LPRECT pRect) override { return GetTextRect(pRect); }
  CSize GetCellExtent(CDC* pDC) override;
  BOOL PrintCell(CDC* pDC, int nRow, int nCol, CRect rect) override;
  // The editor opens right of the tree part.
  BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
  void OnCopy(const CGridCellBase& cell) override;
};

// Shared by the cell classes with a tree part: whether the cell at that
// column shows its tree part, and the colours it is drawn in.
namespace treecell {
// The tree part is drawn only in the tree column of a tree grid.
BOOL ShowsTree(const CGridCellBase* pCell, const CTreeCell* pTree, int nCol);
// The cell's background colour as its ordinary drawing resolves it.
COLORREF BackColour(const CGridCellBase* pCell);
// The tree-line colour of the cell's grid.
COLORREF LineColour(const CGridCellBase* pCell);
// The rectangle a cell whose tree part shows leaves for the ordinary
// content (the tree width taken off its left).
void TakeTreeWidth(const CTreeCell* pTree, LPRECT pRect);
}  // namespace treecell
