// Expanding and collapsing tree nodes: collapsing hides the rows of all
// descendants and keeps their heights in the collapse map; expanding shows
// the children again and, below them, the children of every node that is
// itself marked expanded.
#include "TreeGridCtrl.h"

void CTreeGridCtrl::StoreHeight(CTreeNode* pNode, int nRow) {
  // Only a visible height, and never over one kept already: collapsing twice
  // must not lose it.
  int nHeight = GetRowHeight(nRow);
  UINT nKept = 0;
  if (nHeight > 0 && !m_mapCollapsed.Lookup(pNode, nKept)) m_mapCollapsed.SetAt(pNode, static_cast<UINT>(nHeight));
}

UINT CTreeGridCtrl::TakeHeight(CTreeNode* pNode) {
  UINT nHeight = 0;
  if (m_mapCollapsed.Lookup(pNode, nHeight)) m_mapCollapsed.RemoveKey(pNode);
  return nHeight > 0 ? nHeight : static_cast<UINT>(std::max(1, GetDefCellHeight()));
}

BOOL CTreeGridCtrl::IsExpanded(CTreeNode* pNode) const {
  CTreeCell* pTree = GetTreeCell(pNode);
  return pTree && pTree->IsExpanded();
}

BOOL CTreeGridCtrl::HideChildren(CTreeNode* pNode) {
  BOOL bAll = TRUE;
  for (INT_PTR i = 0; i < pNode->GetChildCount(); ++i) {
    CTreeNode* pChild = pNode->GetChild(i);
    CTreeCell* pTree = GetTreeCell(pChild);
    if (!pTree) {
      bAll = FALSE;
      continue;
    }
    if (pTree->GetCarrier()->GetState() & GVIS_TREESKIP) continue;
    if (!HideChildren(pChild)) bAll = FALSE;
    int nRow = GetNodeRow(pChild);
    StoreHeight(pChild, nRow);
    SetRowHeight(nRow, 0);
    pChild->AddFlag(TNF_HIDDEN);
  }
  return bAll;
}

BOOL CTreeGridCtrl::ShowChildren(CTreeNode* pNode) {
  BOOL bAll = TRUE;
  for (INT_PTR i = 0; i < pNode->GetChildCount(); ++i) {
    CTreeNode* pChild = pNode->GetChild(i);
    CTreeCell* pTree = GetTreeCell(pChild);
    if (!pTree) {
      bAll = FALSE;
      continue;
    }
    if (pTree->GetCarrier()->GetState() & GVIS_TREESKIP) continue;
    int nRow = GetNodeRow(pChild);
    if (GetRowHeight(nRow) == 0) SetRowHeight(nRow, static_cast<int>(TakeHeight(pChild)));
    else m_mapCollapsed.RemoveKey(pChild);
    pChild->RemoveFlag(TNF_HIDDEN);
    // Further down only where the child is open itself.
    if (pTree->IsExpanded() && !ShowChildren(pChild)) bAll = FALSE;
  }
  return bAll;
}

BOOL CTreeGridCtrl::Collapse(CTreeNode* pNode) {
  CTreeCell* pTree = GetTreeCell(pNode);
  if (!pTree) return FALSE;
  BOOL bAllowDraw = GetRedraw();
  SetRedraw(FALSE);
  pTree->SetExpanded(FALSE);
  pNode->AddFlag(TNF_COLLAPSED);
  BOOL bAll = HideChildren(pNode);
  SetRedraw(bAllowDraw);
  ResetScrollBars();
  Refresh();
  return bAll;
}

BOOL CTreeGridCtrl::Expand(CTreeNode* pNode) {
  CTreeCell* pTree = GetTreeCell(pNode);
  if (!pTree) return FALSE;
  BOOL bAllowDraw = GetRedraw();
  SetRedraw(FALSE);
  pTree->SetExpanded(TRUE);
  pNode->RemoveFlag(TNF_COLLAPSED);
  // A node under a collapsed ancestor only changes its mark: its children
  // show when the ancestor opens.
  BOOL bAll = pNode->HasFlag(TNF_HIDDEN) ? TRUE : ShowChildren(pNode);
  SetRedraw(bAllowDraw);
  ResetScrollBars();
  Refresh();
  return bAll;
}
