// The tree of a tree grid: CTreeNode, one per tree row (plus the grid's root,
// which has no row), and CTreeCell, the tree part a tree-column cell carries
// (the node it shows, its level and row, and where its expand button is).
#pragma once

#include "GridCell.h"

class CTreeNode;
class CTreeGridCtrl;
class GRID_ROW;

// State bits of a tree-column cell, besides the GVIS_* bits of every cell.
// A child whose tree cell has GVIS_TREESKIP is left alone by expand and
// collapse.
#define GVIS_TREESKIP 0x0200
#define GVIS_EXPANDED 0x0400
#define GVIS_COLLAPSED 0x0800

// Node flags (the high half of the level-and-flags word).
#define TNF_COLLAPSED 0x0002
#define TNF_HIDDEN 0x0004  // the row is hidden because an ancestor is collapsed
#define TNF_NOBUTTON 0x0008

// Levels: the root is -1, top-level nodes 0; a node not linked yet -2.
#define TN_LEVEL_ROOT (-1)
#define TN_LEVEL_UNLINKED (-2)

// Pixels of indentation per level, and the side of the expand button.
#define TREE_INDENT 12
#define TREE_BUTTON_SIZE 9

class AFX_EXT_CLASS CTreeNode {
 public:
  CTreeNode();
  CTreeNode(const CTreeNode&) = delete;
  CTreeNode& operator=(const CTreeNode&) = delete;

  int GetLevel() const { return static_cast<short>(LOWORD(m_dwLevelAndFlags)); }
  void SetLevel(int nLevel) { m_dwLevelAndFlags = MAKELONG(static_cast<WORD>(static_cast<short>(nLevel)), HIWORD(m_dwLevelAndFlags)); }
  WORD GetFlags() const { return HIWORD(m_dwLevelAndFlags); }
  BOOL HasFlag(WORD wFlag) const { return (GetFlags() & wFlag) != 0; }
  void AddFlag(WORD wFlag) { m_dwLevelAndFlags |= static_cast<DWORD>(wFlag) << 16; }
  void RemoveFlag(WORD wFlag) { m_dwLevelAndFlags &= ~(static_cast<DWORD>(wFlag) << 16); }
  BOOL IsLeaf() const { return m_arChildren.GetSize() == 0; }
  INT_PTR GetChildCount() const { return m_arChildren.GetSize(); }
  CTreeNode* GetChild(INT_PTR nIndex) const { return m_arChildren[nIndex]; }
  // The index of a direct child, or -1.
  INT_PTR FindChild(const CTreeNode* pChild) const;
  // The last node of the subtree in row order (the node itself when a leaf).
  CTreeNode* GetLastDescendant();
  // Puts the child at the index of the child list and relinks the siblings.
  void LinkChild(CTreeNode* pChild, INT_PTR nIndex);
  // Takes the child out of the list and relinks the siblings around it.
  void UnlinkChild(CTreeNode* pChild);
  // Makes the sibling links follow the child list.
  void RelinkSiblings();

  DWORD m_dwItemValue;
  CTreeNode* m_pParent;
  CTreeNode* m_pNextSibling;
  CTreeNode* m_pPrevSibling;
  CArray<CTreeNode*, CTreeNode*> m_arChildren;
  GRID_ROW* m_pRow;  // the node's row of cells; null for the root
  DWORD m_dwLevelAndFlags;
};

// The tree part of a tree-column cell. A cell class with a tree part derives
// from a grid cell class and from this one.
class AFX_EXT_CLASS CTreeCell {
 public:
  explicit CTreeCell(CGridCellBase* pCarrier);
  virtual ~CTreeCell() = default;
  CTreeCell(const CTreeCell&) = delete;
  CTreeCell& operator=(const CTreeCell&) = delete;

  CTreeNode* GetNode() const { return m_pNode; }
  // Links the cell to its node (null unlinks it).
  void SetNode(CTreeNode* pNode);
  int GetLevel() const { return m_nLevel; }
  int GetRow() const { return m_nRow; }
  void SetRow(int nRow) { m_nRow = nRow; }
  CGridCellBase* GetCarrier() const { return m_pCarrier; }
  BOOL IsExpanded() const { return (m_pCarrier->GetState() & GVIS_EXPANDED) != 0; }
  void SetExpanded(BOOL bExpanded);
  BOOL IsLinked() const { return m_pNode != nullptr && m_nLevel >= 0; }

  // The width the tree part takes at the cell's left (0 when not linked).
  int GetTreeWidth() const { return IsLinked() ? TREE_INDENT * (m_nLevel + 1) : 0; }
  // The expand button in a cell rectangle, clipped to it (empty when the
  // node shows no button).
  CRect GetButtonRect(const CRect& rectCell) const;
  // Whether a point (relative to the cell's top-left corner) falls on the
  // expand button of the cell of that size.
  BOOL HitButton(CPoint PointCellRelative, const CSize& sizeCell) const;
  // Paints the tree part (background, connecting lines, button) and takes
  // its width off the rectangle.
  void DrawTree(CDC* pDC, CRect& rect, COLORREF crBack, COLORREF crLine);
  // Copies the tree part of another tree cell.
  void CopyTreePart(const CTreeCell& other);

  int m_nButtonX, m_nButtonY;  // the button's centre, filled while drawing

 protected:
  CTreeNode* m_pNode;
  int m_nLevel;
  int m_nRow;
  CGridCellBase* m_pCarrier;
};
