// The tree's nodes and the tree part of tree-column cells: linking nodes,
// the expand button's place and hit test, and drawing the indentation with
// its connecting lines and the plus/minus button.
#include "TreeCell.h"

#include "GridCtrl.h"

// ---------------------------------------------------------------- CTreeNode

CTreeNode::CTreeNode()
    : m_dwItemValue(0),
      m_pParent(nullptr),
      m_pNextSibling(nullptr),
      m_pPrevSibling(nullptr),
      m_pRow(nullptr),
      m_dwLevelAndFlags(static_cast<WORD>(static_cast<short>(TN_LEVEL_UNLINKED))) {}

INT_PTR CTreeNode::FindChild(const CTreeNode* pChild) const {
  for (INT_PTR i = 0; i < m_arChildren.GetSize(); ++i)
    if (m_arChildren[i] == pChild) return i;
  return -1;
}

CTreeNode* CTreeNode::GetLastDescendant() {
  CTreeNode* pNode = this;
  while (pNode->m_arChildren.GetSize() > 0) pNode = pNode->m_arChildren[pNode->m_arChildren.GetSize() - 1];
  return pNode;
}

void CTreeNode::LinkChild(CTreeNode* pChild, INT_PTR nIndex) {
  if (nIndex < 0 || nIndex > m_arChildren.GetSize()) nIndex = m_arChildren.GetSize();
  m_arChildren.InsertAt(nIndex, pChild);
  pChild->m_pParent = this;
  RelinkSiblings();
}

void CTreeNode::UnlinkChild(CTreeNode* pChild) {
  INT_PTR nIndex = FindChild(pChild);
  if (nIndex < 0) return;
  m_arChildren.RemoveAt(nIndex);
  pChild->m_pParent = nullptr;
  pChild->m_pPrevSibling = pChild->m_pNextSibling = nullptr;
  RelinkSiblings();
}

void CTreeNode::RelinkSiblings() {
  INT_PTR nCount = m_arChildren.GetSize();
  for (INT_PTR i = 0; i < nCount; ++i) {
    CTreeNode* pChild = m_arChildren[i];
    pChild->m_pPrevSibling = i > 0 ? m_arChildren[i - 1] : nullptr;
    pChild->m_pNextSibling = i + 1 < nCount ? m_arChildren[i + 1] : nullptr;
  }
}

// ---------------------------------------------------------------- CTreeCell

CTreeCell::CTreeCell(CGridCellBase* pCarrier)
    : m_nButtonX(-1), m_nButtonY(-1), m_pNode(nullptr), m_nLevel(TN_LEVEL_UNLINKED), m_nRow(-1), m_pCarrier(pCarrier) {
  // A tree cell starts expanded.
  m_pCarrier->SetState(GVIS_EXPANDED);
}

void CTreeCell::SetNode(CTreeNode* pNode) {
  m_pNode = pNode;
  m_nLevel = pNode ? pNode->GetLevel() : TN_LEVEL_UNLINKED;
}

void CTreeCell::SetExpanded(BOOL bExpanded) {
  DWORD nState = m_pCarrier->GetState() & ~(GVIS_EXPANDED | GVIS_COLLAPSED);
  m_pCarrier->SetState(nState | (bExpanded ? GVIS_EXPANDED : GVIS_COLLAPSED));
}

void CTreeCell::CopyTreePart(const CTreeCell& other) {
  m_pNode = other.m_pNode;
  m_nLevel = other.m_nLevel;
  m_nRow = other.m_nRow;
  m_nButtonX = other.m_nButtonX;
  m_nButtonY = other.m_nButtonY;
}

CRect CTreeCell::GetButtonRect(const CRect& rectCell) const {
  if (!IsLinked() || m_pNode->HasFlag(TNF_NOBUTTON)) return CRect(0, 0, 0, 0);
  int nRight = rectCell.left + GetTreeWidth();
  int nCentreY = (rectCell.top + rectCell.bottom) / 2;
  CRect rect(nRight - TREE_BUTTON_SIZE, nCentreY - 4, nRight, nCentreY + 5);
  rect = rect & rectCell;
  return rect;
}

BOOL CTreeCell::HitButton(CPoint PointCellRelative, const CSize& sizeCell) const {
  CRect rect = GetButtonRect(CRect(CPoint(0, 0), sizeCell));
  return !rect.IsRectEmpty() && rect.PtInRect(PointCellRelative);
}

namespace {

// The x of the vertical line of a level's column.
int LevelColumn(int nLeft, int nLevel) { return nLeft + TREE_INDENT * nLevel + TREE_INDENT - TREE_BUTTON_SIZE + 4; }

void VerticalLine(CDC* pDC, int x, int y0, int y1) {
  if (y1 <= y0) return;
  pDC->MoveTo(x, y0);
  pDC->LineTo(x, y1);
}

}  // namespace

void CTreeCell::DrawTree(CDC* pDC, CRect& rect, COLORREF crBack, COLORREF crLine) {
  if (!IsLinked() || !pDC) return;
  int nWidth = GetTreeWidth();
  CRect rectTree(rect.left, rect.top, std::min<LONG>(rect.right, rect.left + nWidth), rect.bottom);
  if (rectTree.Width() <= 0 || rectTree.Height() <= 0) {
    rect.left = std::min<LONG>(rect.right, rect.left + nWidth);
    return;
  }
  int nSaved = pDC->SaveDC();
  pDC->IntersectClipRect(rectTree.left, rectTree.top, rectTree.right + 1, rectTree.bottom + 1);
  pDC->FillSolidRect(CRect(rectTree.left, rectTree.top, rectTree.right, rectTree.bottom + 1), crBack);

  const int nLevel = m_nLevel;
  const int nTop = rect.top, nBottom = rect.bottom + 1;
  const int nCentreY = (rect.top + rect.bottom) / 2;
  CRect rectButton = GetButtonRect(rect);
  m_nButtonX = LevelColumn(rect.left, nLevel);
  m_nButtonY = nCentreY;

  CPen pen(PS_SOLID, 1, crLine);
  CPen* pOldPen = pDC->SelectObject(&pen);
  // The node's own joint: up to its parent or previous sibling, down to its
  // next sibling, across to its button.
  int xJoint = LevelColumn(rect.left, nLevel > 0 ? nLevel - 1 : 0);
  if (nLevel > 0 || m_pNode->m_pPrevSibling) VerticalLine(pDC, xJoint, nTop, nCentreY + 1);
  if (m_pNode->m_pNextSibling) VerticalLine(pDC, xJoint, nCentreY, nBottom);
  if (nLevel > 0) {
    pDC->MoveTo(xJoint, nCentreY);
    pDC->LineTo(rect.left + nWidth, nCentreY);
  }
  // Down to the first child when the children show.
  if (!m_pNode->IsLeaf() && IsExpanded()) VerticalLine(pDC, m_nButtonX, nCentreY, nBottom);
  // Ancestors with siblings still to come pass by on their columns.
  for (CTreeNode* pAncestor = m_pNode->m_pParent; pAncestor && pAncestor->GetLevel() >= 0;
       pAncestor = pAncestor->m_pParent) {
    if (!pAncestor->m_pNextSibling) continue;
    int nLevelA = pAncestor->GetLevel();
    VerticalLine(pDC, LevelColumn(rect.left, nLevelA > 0 ? nLevelA - 1 : 0), nTop, nBottom);
  }
  pDC->SelectObject(pOldPen);

  if (!rectButton.IsRectEmpty()) {
    // A white square in a black frame with a minus, or a plus when collapsed.
    CRect rectFull(m_nButtonX - 4, nCentreY - 4, m_nButtonX + 5, nCentreY + 5);
    pDC->FillSolidRect(rectFull, RGB(255, 255, 255));
    CBrush brushFrame(RGB(0, 0, 0));
    pDC->FrameRect(rectFull, &brushFrame);
    pDC->FillSolidRect(CRect(m_nButtonX - 2, nCentreY, m_nButtonX + 3, nCentreY + 1), RGB(0, 0, 0));
    if (!IsExpanded()) pDC->FillSolidRect(CRect(m_nButtonX, nCentreY - 2, m_nButtonX + 1, nCentreY + 3), RGB(0, 0, 0));
  }
  pDC->RestoreDC(nSaved);
  rect.left = std::min<LONG>(rect.right, rect.left + nWidth);
}
