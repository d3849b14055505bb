// CTreeGridCellCheck: the check-box cell with a tree part, for a tree column
// whose rows carry a check. The tree part (indentation, lines, button) comes
// first, then the check box, then the text.
#pragma once

#include "GridCellCheck.h"
#include "TreeCell.h"

class AFX_EXT_CLASS CTreeGridCellCheck : public CGridCellCheck, public CTreeCell {
  DECLARE_DYNCREATE(CTreeGridCellCheck)

 public:
  CTreeGridCellCheck();

  // Setting the coordinates keeps the row in the tree part.
  void SetCoords(int nRow, int nCol) override;
  BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;
  BOOL GetTextRect(LPRECT pRect) override;
  BOOL GetTipTextRect(LPRECT pRect) override { return GetTextRect(pRect); }
  CSize GetCellExtent(CDC* pDC) override;
  BOOL PrintCell(CDC* pDC, int nRow, int nCol, CRect rect) override;
  // A click on the box of a selected cell toggles the check.
  void OnClick(CPoint PointCellRelative) override;
  // The editor opens right of the check box.
  BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
  void OnCopy(const CGridCellBase& cell) override;

 private:
  // The tree part's width in the tree column, else 0.
  int TreeWidthAt(int nCol) const;
};
