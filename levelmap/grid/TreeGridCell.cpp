// The tree grid's text cell with a tree part, and the helpers every cell
// class with a tree part shares.
#include "TreeGridCell.h"

#include "TreeGridCtrl.h"

IMPLEMENT_DYNCREATE(CTreeGridCell, CGridCell)

namespace treecell {

BOOL ShowsTree(const CGridCellBase* pCell, const CTreeCell* pTree, int nCol) {
  if (!pTree || !pTree->IsLinked()) return FALSE;
  auto* pGrid = dynamic_cast<CTreeGridCtrl*>(pCell->GetGrid());
  return pGrid && pGrid->GetTreeColumn() == nCol;
}

COLORREF BackColour(const CGridCellBase* pCell) {
  if (pCell->GetBackClr() != CLR_DEFAULT) return pCell->GetBackClr();
  CGridDefaultCell* pDefault = pCell->GetDefaultCell();
  if (pDefault && pDefault->GetBackClr() != CLR_DEFAULT) return pDefault->GetBackClr();
  bool bFixed = pCell->IsFixed() || pCell->IsFixedRow() || pCell->IsFixedCol();
  return ::GetSysColor(bFixed ? COLOR_BTNFACE : COLOR_WINDOW);
}

COLORREF LineColour(const CGridCellBase* pCell) {
  auto* pGrid = dynamic_cast<CTreeGridCtrl*>(pCell->GetGrid());
  return pGrid ? pGrid->GetTreeLineColour() : RGB(0, 0, 0xFA);
}

void TakeTreeWidth(const CTreeCell* pTree, LPRECT pRect) {
  pRect->left = std::min<LONG>(pRect->right, pRect->left + pTree->GetTreeWidth());
}

}  // namespace treecell

CTreeGridCell::CTreeGridCell() : CGridCell(), CTreeCell(this) {}

void CTreeGridCell::SetCoords(int nRow, int nCol) {
  (void)nCol;
  SetRow(nRow);
}

BOOL CTreeGridCell::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd) {
  if (pDC && GetGrid() && treecell::ShowsTree(this, this, nCol) && rect.Width() > 0 && rect.Height() > 0)
    DrawTree(pDC, rect, treecell::BackColour(this), treecell::LineColour(this));
  if (rect.Width() <= 0) return TRUE;
  return CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
}

BOOL CTreeGridCell::GetTextRect(LPRECT pRect) {
  if (!pRect) return FALSE;
  treecell::TakeTreeWidth(this, pRect);
  return CGridCell::GetTextRect(pRect);
}

CSize CTreeGridCell::GetCellExtent(CDC* pDC) {
  CSize size = CGridCell::GetCellExtent(pDC);
  size.cx += GetTreeWidth();
  return size;
}

BOOL CTreeGridCell::PrintCell(CDC* pDC, int nRow, int nCol, CRect rect) {
  if (pDC && GetGrid() && treecell::ShowsTree(this, this, nCol) && rect.Width() > 0 && rect.Height() > 0) {
    COLORREF crBack = GetGrid()->GetShadedPrintOut() ? treecell::BackColour(this) : RGB(255, 255, 255);
    DrawTree(pDC, rect, crBack, treecell::LineColour(this));
  }
  if (rect.Width() <= 0) return TRUE;
  return CGridCell::PrintCell(pDC, nRow, nCol, rect);
}

BOOL CTreeGridCell::Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) {
  if (treecell::ShowsTree(this, this, nCol)) treecell::TakeTreeWidth(this, rect);
  return CGridCell::Edit(nRow, nCol, rect, point, nID, nChar);
}

void CTreeGridCell::OnCopy(const CGridCellBase& cell) {
  if (const auto* pTree = dynamic_cast<const CTreeCell*>(&cell)) CopyTreePart(*pTree);
}
