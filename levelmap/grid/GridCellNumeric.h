// CGridCellNumeric: a cell edited in a digits-only in-place editor (at most
// nine digits, so that the number always fits an int).
#pragma once

#include "GridCell.h"

class AFX_EXT_CLASS CGridCellNumeric : public CGridCell {
  DECLARE_DYNCREATE(CGridCellNumeric)

 public:
  BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
};
