// The tree grid: construction, inserting and deleting items, the tree
// column and its cells, look-ups between rows and nodes, and the mouse
// toggle of the expand buttons.
#include "TreeGridCtrl.h"

IMPLEMENT_DYNCREATE(CTreeGridCtrl, CGridCtrl)

BEGIN_MESSAGE_MAP(CTreeGridCtrl, CGridCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

namespace {

CTreeNode* NewRoot() {
  auto* pRoot = new CTreeNode;
  pRoot->SetLevel(TN_LEVEL_ROOT);
  return pRoot;
}

// The bitwise complement of a colour's red, green and blue.
COLORREF Complement(COLORREF clr) { return RGB(255 - GetRValue(clr), 255 - GetGValue(clr), 255 - GetBValue(clr)); }

}  // namespace

CTreeGridCtrl::CTreeGridCtrl()
    : m_mapNodes(10),
      m_pRootNode(NewRoot()),
      m_crTree2(0x3200DC),
      m_crTreeLine(0xFA0000),
      m_bRowNumbering(TRUE),
      m_bDeleting(FALSE),
      m_pRtcTreeCell(RUNTIME_CLASS(CTreeGridCell)),
      m_mapCollapsed(10),
      m_nTreeColumn(1),
      m_nSuspendNumbering(0),
      m_nInRowSort(0) {
  m_mapNodes.InitHashTable(17);
  m_mapCollapsed.InitHashTable(17);
}

CTreeGridCtrl::~CTreeGridCtrl() {
  // The cells still point at their nodes but never look at them again.
  FreeAllNodes();
  delete m_pRootNode;
  m_pRootNode = nullptr;
}

// ---------------------------------------------------------------- nodes

CTreeNode* CTreeGridCtrl::NewNode() {
  auto* pNode = new CTreeNode;
  m_mapNodes.SetAt(pNode, pNode);
  return pNode;
}

void CTreeGridCtrl::FreeNode(CTreeNode* pNode) {
  if (!pNode || pNode == m_pRootNode) return;
  m_mapNodes.RemoveKey(pNode);
  m_mapCollapsed.RemoveKey(pNode);
  delete pNode;
}

void CTreeGridCtrl::FreeAllNodes() {
  POSITION pos = m_mapNodes.GetStartPosition();
  while (pos) {
    void* pKey = nullptr;
    void* pValue = nullptr;
    m_mapNodes.GetNextAssoc(pos, pKey, pValue);
    delete static_cast<CTreeNode*>(pKey);
  }
  m_mapNodes.RemoveAll();
  m_mapCollapsed.RemoveAll();
  if (m_pRootNode) m_pRootNode->m_arChildren.RemoveAll();
}

BOOL CTreeGridCtrl::IsValidNode(const CTreeNode* pNode) const {
  if (!pNode) return FALSE;
  if (pNode == m_pRootNode) return TRUE;
  void* pValue = nullptr;
  return m_mapNodes.Lookup(const_cast<CTreeNode*>(pNode), pValue);
}

void CTreeGridCtrl::DetachNode(CTreeNode* pNode) {
  if (pNode->m_pParent) pNode->m_pParent->UnlinkChild(pNode);
  for (INT_PTR i = 0; i < pNode->m_arChildren.GetSize(); ++i) {
    CTreeNode* pChild = pNode->m_arChildren[i];
    pChild->m_pParent = nullptr;
    pChild->m_pPrevSibling = pChild->m_pNextSibling = nullptr;
  }
  pNode->m_arChildren.RemoveAll();
  pNode->m_pRow = nullptr;
}

// ---------------------------------------------------------------- look-ups

int CTreeGridCtrl::FindRow(const GRID_ROW* pRow) const {
  if (!pRow) return -1;
  for (int row = 0; row < m_RowData.GetSize(); ++row)
    if (m_RowData[row] == pRow) return row;
  return -1;
}

CTreeCell* CTreeGridCtrl::GetTreeCell(int nRow) const {
  if (GetVirtualMode()) return nullptr;
  return dynamic_cast<CTreeCell*>(GetCell(nRow, m_nTreeColumn));
}

CTreeCell* CTreeGridCtrl::GetTreeCell(CTreeNode* pNode) const {
  if (!IsValidNode(pNode) || !pNode->m_pRow || m_nTreeColumn < 0 || m_nTreeColumn >= m_nCols) return nullptr;
  INT_PTR nStored = m_arColOrder[static_cast<size_t>(m_nTreeColumn)];
  if (nStored >= pNode->m_pRow->GetSize()) return nullptr;
  auto* pTree = dynamic_cast<CTreeCell*>(pNode->m_pRow->GetAt(nStored));
  return pTree && pTree->GetNode() == pNode ? pTree : nullptr;
}

CTreeNode* CTreeGridCtrl::GetTreeNode(int nRow) const {
  CTreeCell* pTree = GetTreeCell(nRow);
  return pTree && pTree->IsLinked() ? pTree->GetNode() : nullptr;
}

CTreeNode* CTreeGridCtrl::GetParentNode(CTreeNode* pNode) const {
  if (!IsValidNode(pNode) || pNode == m_pRootNode) return nullptr;
  return pNode->m_pParent == m_pRootNode ? nullptr : pNode->m_pParent;
}

int CTreeGridCtrl::GetNodeRow(CTreeNode* pNode) const {
  if (!IsValidNode(pNode) || !pNode->m_pRow) return m_nFixedRows - 1;
  if (m_bRowNumbering && !m_nSuspendNumbering) {
    CTreeCell* pTree = GetTreeCell(pNode);
    int nRow = pTree ? pTree->GetRow() : -1;
    if (nRow >= 0 && nRow < m_RowData.GetSize() && m_RowData[nRow] == pNode->m_pRow) return nRow;
  }
  int nRow = FindRow(pNode->m_pRow);
  return nRow >= 0 ? nRow : m_nFixedRows - 1;
}

void CTreeGridCtrl::RenumberRows(int nFromRow) {
  if (!m_bRowNumbering || m_nSuspendNumbering || GetVirtualMode()) return;
  for (int row = std::max(0, nFromRow); row < m_nRows; ++row)
    if (CTreeCell* pTree = GetTreeCell(row)) pTree->SetRow(row);
}

void CTreeGridCtrl::SetRowNumbering(BOOL bNumbering) {
  m_bRowNumbering = bNumbering;
  RenumberRows(0);
}

COLORREF CTreeGridCtrl::GetTreeLineColour() const {
  return m_crTreeLine == CLR_DEFAULT ? Complement(GetGridBkColor()) : m_crTreeLine;
}

COLORREF CTreeGridCtrl::GetTreeColour2() const {
  return m_crTree2 == CLR_DEFAULT ? Complement(GetGridBkColor()) : m_crTree2;
}

// ---------------------------------------------------------------- cells

CGridCellBase* CTreeGridCtrl::CreateCell(int nRow, int nCol) {
  if (nCol != m_nTreeColumn || nRow < m_nFixedRows || !m_pRtcTreeCell) return CGridCtrl::CreateCell(nRow, nCol);
  auto* pCell = static_cast<CGridCellBase*>(m_pRtcTreeCell->CreateObject());
  if (!pCell) return CGridCtrl::CreateCell(nRow, nCol);
  pCell->SetGrid(this);
  pCell->SetCoords(nRow, nCol);
  SetFixedFlags(nRow, nCol, pCell);
  return pCell;
}

void CTreeGridCtrl::DestroyCell(int nRow, int nCol) {
  // A row going out of the grid takes its node out of the tree.
  if (!m_bDeleting && nCol == m_nTreeColumn)
    if (CTreeNode* pNode = GetTreeNode(nRow)) {
      DetachNode(pNode);
      FreeNode(pNode);
    }
  CGridCtrl::DestroyCell(nRow, nCol);
}

BOOL CTreeGridCtrl::SetTreeColumnCellType(CRuntimeClass* pRuntimeClass) {
  if (!pRuntimeClass || !pRuntimeClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) return FALSE;
  // Only a class whose cells carry a tree part can hold nodes.
  CObject* pProbe = pRuntimeClass->CreateObject();
  bool bTree = dynamic_cast<CTreeCell*>(pProbe) != nullptr;
  delete pProbe;
  if (!bTree) return FALSE;
  m_pRtcTreeCell = pRuntimeClass;
  return TRUE;
}

BOOL CTreeGridCtrl::SetCellType(int nRow, int nCol, CRuntimeClass* pRuntimeClass) {
  CTreeNode* pNode = nCol == m_nTreeColumn ? GetTreeNode(nRow) : nullptr;
  if (!pNode) return CGridCtrl::SetCellType(nRow, nCol, pRuntimeClass);
  if (!pRuntimeClass || !pRuntimeClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) return FALSE;
  CObject* pProbe = pRuntimeClass->CreateObject();
  bool bTree = dynamic_cast<CTreeCell*>(pProbe) != nullptr;
  delete pProbe;
  if (!bTree) return FALSE;
  if (!CGridCtrl::SetCellType(nRow, nCol, pRuntimeClass)) return FALSE;
  // The new cell takes the node over, whatever its copy did.
  if (CTreeCell* pTree = GetTreeCell(nRow)) {
    DWORD nState = pTree->GetCarrier()->GetState();
    pTree->SetNode(pNode);
    pTree->SetRow(nRow);
    pTree->GetCarrier()->SetState(nState);
  }
  return TRUE;
}

// ---------------------------------------------------------------- rows

int CTreeGridCtrl::InsertRow(LPCTSTR strHeading, int nRow) {
  int nNewRow = CGridCtrl::InsertRow(strHeading, nRow);
  if (nNewRow >= 0) RenumberRows(nNewRow);
  return nNewRow;
}

BOOL CTreeGridCtrl::DeleteRow(int nRow) {
  if (CTreeNode* pNode = GetTreeNode(nRow)) return DeleteItem(pNode);
  if (!CGridCtrl::DeleteRow(nRow)) return FALSE;
  RenumberRows(nRow);
  return TRUE;
}

CTreeNode* CTreeGridCtrl::InsertItem(LPCTSTR strHeading, CTreeNode* pParent, CTreeNode* pInsertAfter, BOOL bRedraw) {
  if (GetVirtualMode()) return nullptr;
  if (!pParent || pParent == GTVI_ROOT) pParent = m_pRootNode;
  if (!IsValidNode(pParent)) return nullptr;
  if (pParent != m_pRootNode && !GetTreeCell(pParent)) return nullptr;

  // Where among the children, and so which row.
  INT_PTR nIndex = 0;
  int nRow = -1;
  if (pInsertAfter == GTVI_FIRST || (pInsertAfter == GTVI_LAST && pParent->IsLeaf())) {
    nIndex = pInsertAfter == GTVI_FIRST ? 0 : pParent->GetChildCount();
    nRow = pParent == m_pRootNode ? m_nFixedRows : GetNodeRow(pParent) + 1;
  } else {
    CTreeNode* pSibling = pInsertAfter == GTVI_LAST ? pParent->GetChild(pParent->GetChildCount() - 1) : pInsertAfter;
    if (!IsValidNode(pSibling) || pSibling == m_pRootNode || pSibling->m_pParent != pParent) return nullptr;
    nIndex = pParent->FindChild(pSibling) + 1;
    nRow = GetNodeRow(pSibling->GetLastDescendant()) + 1;
  }
  nRow = std::clamp(nRow, m_nFixedRows, m_nRows);

  if (CGridCtrl::InsertRow(L"", nRow) < 0) return nullptr;
  CTreeCell* pTree = GetTreeCell(nRow);
  if (!pTree) {
    // The tree column's cell has no tree part: no node, and no row either.
    CGridCtrl::DeleteRow(nRow);
    RenumberRows(nRow);
    return nullptr;
  }

  CTreeNode* pNode = NewNode();
  pNode->SetLevel(pParent->GetLevel() + 1);
  pNode->m_pRow = m_RowData[nRow];
  pParent->LinkChild(pNode, nIndex);
  pTree->SetNode(pNode);
  pTree->SetRow(nRow);
  if (pParent->HasFlag(TNF_COLLAPSED) || pParent->HasFlag(TNF_HIDDEN)) {
    StoreHeight(pNode, nRow);
    SetRowHeight(nRow, 0);
    pNode->AddFlag(TNF_HIDDEN);
  }
  RenumberRows(nRow);
  SetItemText(nRow, m_nTreeColumn, strHeading);
  if (bRedraw) {
    ResetScrollBars();
    Refresh();
  }
  return pNode;
}

BOOL CTreeGridCtrl::DeleteItem(CTreeNode* pNode) {
  if (!IsValidNode(pNode) || pNode == m_pRootNode) return FALSE;
  // The subtree in row order; its rows go from the last up.
  std::vector<CTreeNode*> arNodes{pNode};
  for (size_t i = 0; i < arNodes.size(); ++i)
    for (INT_PTR c = 0; c < arNodes[i]->GetChildCount(); ++c) arNodes.push_back(arNodes[i]->GetChild(c));
  if (pNode->m_pParent) pNode->m_pParent->UnlinkChild(pNode);
  int nFirstRow = m_nRows;
  for (auto it = arNodes.rbegin(); it != arNodes.rend(); ++it) {
    CTreeNode* pDoomed = *it;
    int nRow = FindRow(pDoomed->m_pRow);
    if (nRow >= 0) {
      if (CTreeCell* pTree = GetTreeCell(nRow)) pTree->SetNode(nullptr);
      CGridCtrl::DeleteRow(nRow);
      nFirstRow = std::min(nFirstRow, nRow);
    }
    pDoomed->m_arChildren.RemoveAll();
    FreeNode(pDoomed);
  }
  RenumberRows(nFirstRow);
  return TRUE;
}

BOOL CTreeGridCtrl::DeleteAllItems() {
  m_bDeleting = TRUE;
  BOOL bAllowDraw = GetRedraw();
  SetRedraw(FALSE);
  // Rows from the last up lose their nodes; then the grid is emptied.
  for (int row = m_nRows - 1; row >= 0; --row)
    if (CTreeCell* pTree = GetTreeCell(row)) pTree->SetNode(nullptr);
  FreeAllNodes();
  BOOL bResult = CGridCtrl::DeleteAllItems();
  // A fresh root, so nothing can link after a node that is gone.
  delete m_pRootNode;
  m_pRootNode = NewRoot();
  SetRedraw(bAllowDraw);
  m_bDeleting = FALSE;
  return bResult;
}

// ---------------------------------------------------------------- the tree column

void CTreeGridCtrl::SetTreeColumn(int nCol) {
  if (nCol < 0 || nCol == m_nTreeColumn) return;
  // Nodes live in the old column's cells: a filled grid starts again.
  if (m_mapNodes.GetCount() > 0) DeleteAllItems();
  delete m_pRootNode;
  m_pRootNode = NewRoot();
  m_nTreeColumn = nCol;
  OnTreeColumnChanged();
  Refresh();
}

// ---------------------------------------------------------------- the mouse

BOOL CTreeGridCtrl::OnTreeButtonClick(UINT nFlags, CPoint point) {
  if (nFlags & (MK_SHIFT | MK_CONTROL)) return FALSE;
  CCellID cell = GetCellFromPt(point);
  if (!IsValid(cell) || cell.col != m_nTreeColumn) return FALSE;
  CTreeCell* pTree = GetTreeCell(cell.row);
  if (!pTree || !pTree->IsLinked()) return FALSE;
  CRect rect;
  if (!GetCellRect(cell.row, cell.col, &rect)) return FALSE;
  if (!pTree->HitButton(CPoint(point.x - rect.left, point.y - rect.top), rect.Size())) return FALSE;

  CTreeNode* pNode = pTree->GetNode();
  if (pTree->IsExpanded()) {
    if (SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_ITEMCOLLAPSING)) >= 0) {
      Collapse(pNode);
      SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_ITEMCOLLAPSED));
    }
  } else if (SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_ITEMEXPANDING)) >= 0) {
    Expand(pNode);
    SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_ITEMEXPANDED));
  }
  return TRUE;
}

void CTreeGridCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  SetFocus();
  if (OnTreeButtonClick(nFlags, point)) {
    // The press was the button's: no selection, no edit, no click on release.
    m_LeftClickDownCell = CCellID(-1, -1);
    m_MouseMode = MOUSE_NOTHING;
    return;
  }
  CGridCtrl::OnLButtonDown(nFlags, point);
}

void CTreeGridCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
  // The second press of a double click on a button toggles again.
  if (OnTreeButtonClick(nFlags, point)) {
    m_LeftClickDownCell = CCellID(-1, -1);
    return;
  }
  CGridCtrl::OnLButtonDblClk(nFlags, point);
}
