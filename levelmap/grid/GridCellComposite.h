// CGridCellComposite: a cell that holds an inner, windowless grid of
// sub-cells laid out inside it: the inner grid's columns share the cell's
// width and its rows the cell's height in proportion to their sizes. The
// cell's text goes to the inner grid's focus sub-cell too; editing, its end
// and validation go to that sub-cell; the state is the two states combined.
#pragma once

#include "GridCell.h"

class CGridCtrl;

class AFX_EXT_CLASS CCompositeCellInfo {
 public:
  CGridCtrl* m_pGrid = nullptr;
  BOOL m_bOwned = TRUE;
};

class AFX_EXT_CLASS CGridCellComposite : public CGridCell {
  DECLARE_DYNCREATE(CGridCellComposite)

 public:
  // Starts with an owned inner grid of one sub-cell.
  CGridCellComposite();
  ~CGridCellComposite() override;

  // Takes another inner grid (deleted with the cell when owned).
  void SetInnerGrid(CGridCtrl* pGrid, BOOL bOwned = TRUE);
  CGridCtrl* GetInnerGrid() const { return m_Info.m_pGrid; }
  // The sub-cell's rectangle inside the cell rectangle.
  CRect GetSubCellRect(const CRect& rectCell, int nRow, int nCol) const;
  // The sub-cell under a point relative to the cell (invalid when none).
  CCellID GetSubCellFromPoint(CPoint PointCellRelative) const;

  void SetText(LPCTSTR szText) override;
  DWORD GetState() const override;
  BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;
  BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
  BOOL ValidateEdit(LPCTSTR str) override;
  void EndEdit() override;
  void OnClick(CPoint PointCellRelative) override;

 protected:
  CGridCellBase* GetFocusSubCell() const;

  CCompositeCellInfo m_Info;
  CRect m_Rect;  // the cell rectangle last drawn
};
