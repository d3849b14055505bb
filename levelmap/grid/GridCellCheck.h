// CGridCellCheck: a cell with a check box left of its text. A click in the
// box toggles it (in an editable grid, on a cell that is not read-only).
#pragma once

#include "GridCell.h"

class AFX_EXT_CLASS CGridCellCheck : public CGridCell {
  DECLARE_DYNCREATE(CGridCellCheck)

 public:
  CGridCellCheck();

  BOOL SetCheck(BOOL bChecked = TRUE);
  BOOL GetCheck() const { return m_bChecked; }

  BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;
  BOOL GetTextRect(LPRECT pRect) override;
  CSize GetCellExtent(CDC* pDC) override;
  void OnClick(CPoint PointCellRelative) override;
  void OnCopy(const CGridCellBase& cell) override;

 protected:
  // The box in the cell rectangle: a square of the scroll-arrow width, one
  // margin in from the top-left corner (centred when the cell is too low).
  CRect GetCheckPlacement(const CRect& rectCell) const;

  BOOL m_bChecked;
  CRect m_Rect;  // the cell rectangle last drawn, in the grid's client pixels
};
