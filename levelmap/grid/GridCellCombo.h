// CGridCellCombo: a cell edited by choosing from a list of options (or, in
// the drop-down style, typing). The focus cell shows a drop-down button.
#pragma once

#include "GridCell.h"

class AFX_EXT_CLASS CGridCellCombo : public CGridCell {
  DECLARE_DYNCREATE(CGridCellCombo)

 public:
  CGridCellCombo();

  void SetOptions(const CStringArray& ar);
  const CStringArray& GetOptions() const { return m_Strings; }
  // The combo box style: CBS_DROPDOWN (with an edit field) or CBS_DROPDOWNLIST.
  void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
  DWORD GetStyle() const { return m_dwStyle; }

  BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
  void EndEdit() override;
  BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;
  CSize GetCellExtent(CDC* pDC) override;
  void OnCopy(const CGridCellBase& cell) override;

 protected:
  CStringArray m_Strings;
  DWORD m_dwStyle;
};
