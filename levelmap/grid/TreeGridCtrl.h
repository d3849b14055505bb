// CTreeGridCtrl: the grid with a tree column. Every tree row belongs to a
// node (CTreeNode); the tree-column cell of the row (a cell with a tree part,
// CTreeGridCell by default) shows the node's indentation, connecting lines
// and expand button, and collapsing a node hides the rows of its
// descendants (their heights wait in the collapse map until they show
// again). Rows without a node (InsertRow) may stand between tree rows.
#pragma once

#include "GridCtrl.h"
#include "TreeCell.h"
#include "TreeGridCell.h"

// Handles for InsertItem: the root as parent; the front or the end of the
// parent's children as the place.
#define GTVI_ROOT (reinterpret_cast<CTreeNode*>(static_cast<ULONG_PTR>(-0x10000)))
#define GTVI_FIRST (reinterpret_cast<CTreeNode*>(static_cast<ULONG_PTR>(-0x0FFFF)))
#define GTVI_LAST (reinterpret_cast<CTreeNode*>(static_cast<ULONG_PTR>(-0x0FFFE)))

// Notifications of the mouse toggle (a negative reply to the "-ing" ones
// stops it).
#define GVN_ITEMCOLLAPSING (0U - 110U)
#define GVN_ITEMCOLLAPSED (0U - 109U)
#define GVN_ITEMEXPANDING (0U - 112U)
#define GVN_ITEMEXPANDED (0U - 111U)

class AFX_EXT_CLASS CTreeGridCtrl : public CGridCtrl {
  DECLARE_DYNCREATE(CTreeGridCtrl)

 public:
  CTreeGridCtrl();
  ~CTreeGridCtrl() override;

  // ------------------------------------------------------------ items
  // A new node with its row: under pParent (a node or GTVI_ROOT), at the
  // front (GTVI_FIRST), at the end (GTVI_LAST) or right after the child
  // pInsertAfter of pParent. Null, with no row added, when the parent or
  // the sibling is not one of this grid's, the sibling is not a child of
  // the parent, or the tree-column cell cannot carry a tree part.
  CTreeNode* InsertItem(LPCTSTR strHeading, CTreeNode* pParent = GTVI_ROOT, CTreeNode* pInsertAfter = GTVI_LAST,
                        BOOL bRedraw = TRUE);
  // Removes the node, its descendants and their rows.
  BOOL DeleteItem(CTreeNode* pNode);
  // Empties the grid (rows, columns and every node) and starts a fresh tree.
  BOOL DeleteAllItems() override;
  int GetItemCount() const { return GetRowCount(); }

  // ------------------------------------------------------------ look-ups
  // The node of a row (of its tree-column cell), or null.
  CTreeNode* GetTreeNode(int nRow) const;
  // The parent of a node, or null for a top-level node, the root and a
  // node that is not one of this grid's.
  CTreeNode* GetParentNode(CTreeNode* pNode) const;
  // The row of a node; the last fixed row when the node has none.
  int GetNodeRow(CTreeNode* pNode) const;
  CTreeNode* GetRootNode() const { return m_pRootNode; }
  // Whether the node is this grid's root or one of its live nodes.
  BOOL IsValidNode(const CTreeNode* pNode) const;
  // The tree part of the node's tree-column cell, or null.
  CTreeCell* GetTreeCell(CTreeNode* pNode) const;
  CTreeCell* GetTreeCell(int nRow) const;

  // ------------------------------------------------------------ expand and collapse
  // TRUE when every descendant could be processed.
  BOOL Expand(CTreeNode* pNode);
  BOOL Collapse(CTreeNode* pNode);
  BOOL IsExpanded(CTreeNode* pNode) const;
  // A collapsed node's descendants wait here with their row heights.
  BOOL GetCollapsedHeight(CTreeNode* pNode, UINT& nHeight) const { return m_mapCollapsed.Lookup(pNode, nHeight); }

  // ------------------------------------------------------------ the tree column
  // Changing the tree column of a filled grid deletes all items first.
  void SetTreeColumn(int nCol);
  int GetTreeColumn() const { return m_nTreeColumn; }
  // The class new tree-column cells of data rows are made of (it must have
  // a tree part, CTreeGridCell by default).
  BOOL SetTreeColumnCellType(CRuntimeClass* pRuntimeClass);
  CRuntimeClass* GetTreeColumnCellType() const { return m_pRtcTreeCell; }
  // Tree colours; CLR_DEFAULT is the complement of the grid background.
  void SetTreeLineColour(COLORREF clr) { m_crTreeLine = clr; Refresh(); }
  COLORREF GetTreeLineColour() const;
  void SetTreeColour2(COLORREF clr) { m_crTree2 = clr; Refresh(); }
  COLORREF GetTreeColour2() const;
  // Row numbering: each tree cell keeps its row, so finding a node's row
  // costs nothing; without it rows are searched.
  void SetRowNumbering(BOOL bNumbering);
  BOOL GetRowNumbering() const { return m_bRowNumbering; }

  // ------------------------------------------------------------ sorting
  // Sorts the node's children by the cells of a column, each child with the
  // rows of its descendants (and any plain rows between them); with
  // bRecursive the children's children too.
  BOOL SortChildren(CTreeNode* pNode, int nCol, BOOL bAscending, PFNLVCOMPARE pfnCompare = nullptr,
                    BOOL bRecursive = TRUE, LPARAM data = 0);
  // A sort of the whole grid (a header click) sorts the top-level nodes the
  // same way; a part of the rows cannot be sorted without tearing nodes
  // from their descendants and is refused.
  BOOL SortItems(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low, int high) override;
  using CGridCtrl::SortItems;

  // ------------------------------------------------------------ overridables
  BOOL CheckClipRect() override { return FALSE; }
  int InsertRow(LPCTSTR strHeading, int nRow = -1) override;
  BOOL DeleteRow(int nRow) override;
  // Refuses a class without a tree part for the tree-column cell of a tree
  // row; a class with one takes the node over.
  BOOL SetCellType(int nRow, int nCol, CRuntimeClass* pRuntimeClass) override;

 protected:
  // Sorts the rows low..high of the row lists in place (used per level).
  virtual BOOL SortRowRange(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low, int high);
  // Sorts one node's children (and, with bRecursive, below).
  virtual BOOL SortNodeChildren(CTreeNode* pNode, int nCol, BOOL bAscending, PFNLVCOMPARE pfnCompare,
                                BOOL bRecursive, LPARAM data);
  virtual void OnTreeHook() {}
  // Runs after the tree column changed.
  virtual void OnTreeColumnChanged() {}
  // The left button on an expand button toggles the node (with the
  // notifications); TRUE when it did.
  virtual BOOL OnTreeButtonClick(UINT nFlags, CPoint point);

  CGridCellBase* CreateCell(int nRow, int nCol) override;
  void DestroyCell(int nRow, int nCol) override;

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  // Nodes.
  CTreeNode* NewNode();
  void FreeNode(CTreeNode* pNode);
  void FreeAllNodes();
  // Takes a node whose row is going out of its parent; its children are
  // left without a parent (their rows go too).
  void DetachNode(CTreeNode* pNode);
  // Gives the tree-column cells from nFromRow on their rows again.
  void RenumberRows(int nFromRow = 0);
  // The stored index of the row in the row list, or -1.
  int FindRow(const GRID_ROW* pRow) const;
  // Hides (collapse) or shows (expand) the rows of a node's children.
  BOOL HideChildren(CTreeNode* pNode);
  BOOL ShowChildren(CTreeNode* pNode);
  void StoreHeight(CTreeNode* pNode, int nRow);
  UINT TakeHeight(CTreeNode* pNode);

  CMapPtrToPtr m_mapNodes;  // every live node of this grid
  CTreeNode* m_pRootNode;
  COLORREF m_crTree2;
  COLORREF m_crTreeLine;
  BOOL m_bRowNumbering;
  BOOL m_bDeleting;
  CRuntimeClass* m_pRtcTreeCell;
  CMap<CTreeNode*, CTreeNode*, UINT, UINT> m_mapCollapsed;
  int m_nTreeColumn;
  int m_nSuspendNumbering;
  int m_nInRowSort;
};
