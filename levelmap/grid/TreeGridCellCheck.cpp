// The check-box cell with a tree part.
#include "TreeGridCellCheck.h"

#include "TreeGridCell.h"
#include "TreeGridCtrl.h"

IMPLEMENT_DYNCREATE(CTreeGridCellCheck, CGridCellCheck)

CTreeGridCellCheck::CTreeGridCellCheck() : CGridCellCheck(), CTreeCell(this) {}

void CTreeGridCellCheck::SetCoords(int nRow, int nCol) {
  (void)nCol;
  SetRow(nRow);
}

int CTreeGridCellCheck::TreeWidthAt(int nCol) const {
  return treecell::ShowsTree(this, this, nCol) ? GetTreeWidth() : 0;
}

BOOL CTreeGridCellCheck::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd) {
  if (pDC && GetGrid() && treecell::ShowsTree(this, this, nCol) && rect.Width() > 0 && rect.Height() > 0)
    DrawTree(pDC, rect, treecell::BackColour(this), treecell::LineColour(this));
  if (rect.Width() <= 0) return TRUE;
  // The check cell keeps the rectangle right of the tree part, so that its
  // box is placed there and a click is measured from there.
  return CGridCellCheck::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
}

BOOL CTreeGridCellCheck::GetTextRect(LPRECT pRect) {
  if (!pRect) return FALSE;
  treecell::TakeTreeWidth(this, pRect);
  return CGridCellCheck::GetTextRect(pRect);
}

CSize CTreeGridCellCheck::GetCellExtent(CDC* pDC) {
  CSize size = CGridCellCheck::GetCellExtent(pDC);
  size.cx += GetTreeWidth();
  return size;
}

BOOL CTreeGridCellCheck::PrintCell(CDC* pDC, int nRow, int nCol, CRect rect) {
  if (pDC && GetGrid() && treecell::ShowsTree(this, this, nCol) && rect.Width() > 0 && rect.Height() > 0) {
    COLORREF crBack = GetGrid()->GetShadedPrintOut() ? treecell::BackColour(this) : RGB(255, 255, 255);
    DrawTree(pDC, rect, crBack, treecell::LineColour(this));
  }
  if (rect.Width() <= 0) return TRUE;
  return CGridCellCheck::PrintCell(pDC, nRow, nCol, rect);
}

void CTreeGridCellCheck::OnClick(CPoint PointCellRelative) {
  // Only the box of a cell the user has selected; the box is measured from
  // the end of the tree part.
  if (!IsSelected() && !IsFocused()) return;
  // (A node is only ever attached to a cell of the tree column.)
  CGridCellCheck::OnClick(CPoint(PointCellRelative.x - GetTreeWidth(), PointCellRelative.y));
}

BOOL CTreeGridCellCheck::Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) {
  rect.left = std::min(rect.right, rect.left + TreeWidthAt(nCol));
  CRect rectBox = GetCheckPlacement(rect);
  rect.left = std::min<LONG>(rect.right, std::max<LONG>(rect.left, rectBox.right + static_cast<LONG>(GetMargin())));
  return CGridCellCheck::Edit(nRow, nCol, rect, point, nID, nChar);
}

void CTreeGridCellCheck::OnCopy(const CGridCellBase& cell) {
  CGridCellCheck::OnCopy(cell);
  if (const auto* pTree = dynamic_cast<const CTreeCell*>(&cell)) CopyTreePart(*pTree);
}
