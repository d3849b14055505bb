// The tree grid: where items land and how rows and nodes find each other,
// what is refused, expand and collapse with the collapse map, the mouse
// toggle and its notifications, the drawn tree column, sorting a node's
// children with their descendants, and emptying the grid.
#include "GridTestSupport.h"
#include "TreeGridCellCheck.h"
#include "TreeGridCtrl.h"

using gridtest::COwnerWnd;
using gridtest::CPainted;

namespace {

const int kCollapsing = static_cast<int>(GVN_ITEMCOLLAPSING);
const int kCollapsed = static_cast<int>(GVN_ITEMCOLLAPSED);
const int kExpanding = static_cast<int>(GVN_ITEMEXPANDING);
const int kExpanded = static_cast<int>(GVN_ITEMEXPANDED);

class TreeGridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_owner.CreateOwner());
    ASSERT_TRUE(m_grid.Create(CRect(0, 0, 400, 300), &m_owner, 100, WS_CHILD | WS_VISIBLE));
    m_grid.SetColumnCount(3);
    m_grid.SetFixedRowCount(1);
    for (int c = 0; c < 3; ++c) m_grid.SetColumnWidth(c, 100);
  }
  void TearDown() override {
    m_grid.DestroyWindow();
    m_owner.DestroyWindow();
  }

  CTreeNode* Add(const wchar_t* text, CTreeNode* parent = GTVI_ROOT, CTreeNode* after = GTVI_LAST) {
    CTreeNode* node = m_grid.InsertItem(text, parent, after);
    EXPECT_NE(nullptr, node) << "inserting " << CString(text).ToUtf8();
    return node;
  }
  // The tree column's texts of the data rows, "/"-joined, hidden rows in
  // brackets.
  std::string Outline() {
    std::string out;
    for (int r = m_grid.GetFixedRowCount(); r < m_grid.GetRowCount(); ++r) {
      std::string text = m_grid.GetItemText(r, 1).ToUtf8();
      if (m_grid.GetRowHeight(r) == 0) text = "(" + text + ")";
      out += (out.empty() ? "" : "/") + text;
    }
    return out;
  }
  // Every tree row and its node agree both ways, with and without the
  // numbering the cells keep.
  void ExpectConsistent() {
    for (BOOL numbering : {TRUE, FALSE}) {
      m_grid.SetRowNumbering(numbering);
      for (int r = 0; r < m_grid.GetRowCount(); ++r)
        if (CTreeNode* node = m_grid.GetTreeNode(r)) {
          EXPECT_EQ(r, m_grid.GetNodeRow(node)) << "row " << r << " numbering " << numbering;
          CTreeNode* parent = m_grid.GetParentNode(node);
          EXPECT_EQ(parent ? parent->GetLevel() + 1 : 0, node->GetLevel());
          if (parent) {
            EXPECT_LT(m_grid.GetNodeRow(parent), r) << "a parent is above its children";
          }
        }
    }
    m_grid.SetRowNumbering(TRUE);
  }
  // A left press at the expand button of a row's tree cell.
  void PressButton(int row, UINT flags = 0, bool doubleClick = false) {
    CRect rect;
    ASSERT_TRUE(m_grid.GetCellRect(row, 1, &rect));
    CTreeNode* node = m_grid.GetTreeNode(row);
    ASSERT_NE(nullptr, node);
    int x = rect.left + TREE_INDENT * (node->GetLevel() + 1) - 5, y = (rect.top + rect.bottom) / 2;
    m_grid.SendMessage(doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON | flags, MAKELPARAM(x, y));
    m_grid.SendMessage(WM_LBUTTONUP, flags, MAKELPARAM(x, y));
  }

  COwnerWnd m_owner;
  CTreeGridCtrl m_grid;
};

TEST_F(TreeGridTest, ItemsLandByHandleAndSiblingAndRowsAndNodesFindEachOther) {
  CTreeNode* a = Add(L"A");
  CTreeNode* b = Add(L"B");
  CTreeNode* a1 = Add(L"A1", a);
  Add(L"A2", a);
  Add(L"A0", a, GTVI_FIRST);
  Add(L"A1a", a1);
  Add(L"A1b", a1);
  Add(L"A15", a, a1);  // after A1, so below A1's descendants
  Add(L"B1", b);
  Add(L"Top", GTVI_ROOT, GTVI_FIRST);
  EXPECT_EQ("Top/A/A0/A1/A1a/A1b/A15/A2/B/B1", Outline());
  ExpectConsistent();
  EXPECT_EQ(2, a1->GetChildCount() ? m_grid.GetTreeNode(m_grid.GetNodeRow(a1) + 1)->GetLevel() : -1);
  EXPECT_EQ(nullptr, m_grid.GetParentNode(a)) << "a top-level node has no parent";
  EXPECT_EQ(a, m_grid.GetParentNode(a1));
  EXPECT_EQ(nullptr, m_grid.GetTreeNode(0)) << "the fixed row has no node";
  EXPECT_EQ(m_grid.GetRowCount(), m_grid.GetItemCount());

  // A plain row in the middle moves the tree rows below it; their numbers
  // follow, and deleting it moves them back.
  int rowB = m_grid.GetNodeRow(b);
  EXPECT_EQ(3, m_grid.InsertRow(L"", 3));
  EXPECT_EQ(rowB + 1, m_grid.GetNodeRow(b));
  ExpectConsistent();
  EXPECT_TRUE(m_grid.DeleteRow(3));
  EXPECT_EQ(rowB, m_grid.GetNodeRow(b));
  ExpectConsistent();

  // Deleting a tree row takes the node's whole subtree with it.
  EXPECT_TRUE(m_grid.DeleteRow(m_grid.GetNodeRow(a1)));
  EXPECT_EQ("Top/A/A0/A15/A2/B/B1", Outline());
  EXPECT_FALSE(m_grid.IsValidNode(a1));
  ExpectConsistent();
}

TEST_F(TreeGridTest, RefusedInsertionsAddNoRowAndNodesStayInTreeCells) {
  CTreeNode* a = Add(L"A");
  CTreeNode* b = Add(L"B");
  CTreeNode* a1 = Add(L"A1", a);
  int rows = m_grid.GetRowCount();
  EXPECT_EQ(nullptr, m_grid.InsertItem(L"x", a, b)) << "B is not a child of A";
  EXPECT_EQ(nullptr, m_grid.InsertItem(L"x", b, a1)) << "A1 is not a child of B";
  CTreeNode stranger;
  EXPECT_EQ(nullptr, m_grid.InsertItem(L"x", &stranger)) << "a node of no grid as parent";
  EXPECT_EQ(nullptr, m_grid.InsertItem(L"x", a, &stranger)) << "a node of no grid as sibling";
  EXPECT_EQ(rows, m_grid.GetRowCount());
  EXPECT_EQ("A/A1/B", Outline());

  // The tree column's cells: a class without a tree part is refused for
  // new tree cells and for the cell of a tree row; elsewhere it is fine.
  EXPECT_FALSE(m_grid.SetTreeColumnCellType(RUNTIME_CLASS(CGridCell)));
  EXPECT_FALSE(m_grid.SetCellType(m_grid.GetNodeRow(a1), 1, RUNTIME_CLASS(CGridCell)));
  EXPECT_EQ(a1, m_grid.GetTreeNode(m_grid.GetNodeRow(a1)));
  EXPECT_TRUE(m_grid.SetCellType(m_grid.GetNodeRow(a1), 2, RUNTIME_CLASS(CGridCell)));
  m_grid.SetItemText(m_grid.GetNodeRow(a1), 1, L"A1 again");
  EXPECT_TRUE(m_grid.SetCellType(m_grid.GetNodeRow(a1), 1, RUNTIME_CLASS(CTreeGridCell)));
  EXPECT_EQ(a1, m_grid.GetTreeNode(m_grid.GetNodeRow(a1))) << "a new tree cell takes the node over";
  EXPECT_EQ(CString(L"A1 again"), m_grid.GetItemText(m_grid.GetNodeRow(a1), 1));

  // Without a tree column to hold the node nothing is inserted.
  m_grid.SetTreeColumn(5);
  EXPECT_EQ(0, m_grid.GetRowCount()) << "changing the tree column of a filled grid empties it";
  m_grid.SetColumnCount(3);
  EXPECT_EQ(nullptr, m_grid.InsertItem(L"x"));
  EXPECT_EQ(0, m_grid.GetRowCount());
  m_grid.SetTreeColumn(1);
  EXPECT_NE(nullptr, m_grid.InsertItem(L"y"));
  EXPECT_EQ(1, m_grid.GetRowCount());
}

TEST_F(TreeGridTest, CollapseHidesDescendantsAndExpandRestoresTheirHeights) {
  CTreeNode* a = Add(L"A");
  CTreeNode* a1 = Add(L"A1", a);
  Add(L"A1a", a1);
  CTreeNode* a2 = Add(L"A2", a);
  Add(L"B");
  m_grid.SetRowHeight(m_grid.GetNodeRow(a1), 33);
  const int defaultHeight = m_grid.GetRowHeight(m_grid.GetNodeRow(a2));

  // Collapsing twice keeps the first stored heights.
  EXPECT_TRUE(m_grid.Collapse(a));
  EXPECT_TRUE(m_grid.Collapse(a));
  EXPECT_EQ("A/(A1)/(A1a)/(A2)/B", Outline());
  EXPECT_FALSE(m_grid.IsExpanded(a));
  EXPECT_TRUE(a1->HasFlag(TNF_HIDDEN));
  EXPECT_TRUE(m_grid.GetItemState(m_grid.GetNodeRow(a), 1) & GVIS_COLLAPSED);

  // A row inserted under a collapsed parent is hidden at once.
  CTreeNode* a3 = Add(L"A3", a);
  EXPECT_EQ(0, m_grid.GetRowHeight(m_grid.GetNodeRow(a3)));
  EXPECT_TRUE(m_grid.Expand(a));
  EXPECT_EQ("A/A1/A1a/A2/A3/B", Outline());
  EXPECT_EQ(33, m_grid.GetRowHeight(m_grid.GetNodeRow(a1)));
  EXPECT_EQ(defaultHeight, m_grid.GetRowHeight(m_grid.GetNodeRow(a3)));
  EXPECT_TRUE(m_grid.GetItemState(m_grid.GetNodeRow(a), 1) & GVIS_EXPANDED);

  // A child collapsed on its own keeps its children hidden when the parent
  // opens again; opening a node whose ancestor is closed shows nothing yet.
  EXPECT_TRUE(m_grid.Collapse(a1));
  EXPECT_TRUE(m_grid.Collapse(a));
  EXPECT_TRUE(m_grid.Expand(a1));
  EXPECT_EQ("A/(A1)/(A1a)/(A2)/(A3)/B", Outline());
  EXPECT_TRUE(m_grid.Collapse(a1));
  EXPECT_TRUE(m_grid.Expand(a));
  EXPECT_EQ("A/A1/(A1a)/A2/A3/B", Outline());
  EXPECT_TRUE(m_grid.Expand(a1));
  EXPECT_EQ("A/A1/A1a/A2/A3/B", Outline());

  // A child marked to be skipped keeps its row whatever the parent does; a
  // row the user hid comes back at the default height.
  m_grid.SetItemState(m_grid.GetNodeRow(a2), 1, m_grid.GetItemState(m_grid.GetNodeRow(a2), 1) | GVIS_TREESKIP);
  m_grid.SetRowHeight(m_grid.GetNodeRow(a3), 0);
  EXPECT_TRUE(m_grid.Collapse(a));
  EXPECT_EQ("A/(A1)/(A1a)/A2/(A3)/B", Outline());
  EXPECT_TRUE(m_grid.Expand(a));
  EXPECT_EQ(defaultHeight, m_grid.GetRowHeight(m_grid.GetNodeRow(a3)));
}

TEST_F(TreeGridTest, MouseToggleSendsItsNotificationsAndHonoursRefusalsAndModifiers) {
  CTreeNode* a = Add(L"A");
  Add(L"A1", a);
  Add(L"B");
  const int rowA = m_grid.GetNodeRow(a);

  PressButton(rowA);
  EXPECT_EQ((std::vector<int>{kCollapsing, kCollapsed}), m_owner.Codes());
  EXPECT_EQ("A/(A1)/B", Outline());
  m_owner.m_notices.clear();
  PressButton(rowA);
  EXPECT_EQ((std::vector<int>{kExpanding, kExpanded}), m_owner.Codes());
  EXPECT_EQ("A/A1/B", Outline());

  // Shift or Control on the button: an ordinary press, no toggle.
  for (UINT flags : {MK_SHIFT, MK_CONTROL}) {
    m_owner.m_notices.clear();
    PressButton(rowA, flags);
    EXPECT_EQ(0, m_owner.Count(kCollapsing)) << flags;
    EXPECT_EQ("A/A1/B", Outline()) << flags;
  }
  // A negative reply stops it.
  m_owner.m_notices.clear();
  m_owner.m_replies[kCollapsing] = -1;
  PressButton(rowA);
  EXPECT_EQ((std::vector<int>{kCollapsing}), m_owner.Codes());
  EXPECT_EQ("A/A1/B", Outline());
  m_owner.m_replies.clear();
  // A double click toggles twice and edits nothing.
  m_owner.m_notices.clear();
  PressButton(rowA);
  PressButton(rowA, 0, true);
  EXPECT_EQ((std::vector<int>{kCollapsing, kCollapsed, kExpanding, kExpanded}), m_owner.Codes());
  EXPECT_FALSE(m_grid.IsItemEditing(rowA, 1));

  // A press on the text is no toggle.
  m_owner.m_notices.clear();
  CRect rect;
  m_grid.GetCellRect(rowA, 1, &rect);
  m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.left + 60, rect.top + 5));
  m_grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rect.left + 60, rect.top + 5));
  EXPECT_EQ(0, m_owner.Count(kCollapsing));
  EXPECT_EQ("A/A1/B", Outline());
}

TEST_F(TreeGridTest, TreeColumnShowsIndentationButtonsAndLines) {
  CTreeNode* a = Add(L"");
  CTreeNode* a1 = Add(L"", a);
  Add(L"", a);
  m_grid.SetGridLines(GVL_NONE);
  m_grid.Collapse(a1);
  CRect rectA, rectA1;
  m_grid.GetCellRect(m_grid.GetNodeRow(a), 1, &rectA);
  m_grid.GetCellRect(m_grid.GetNodeRow(a1), 1, &rectA1);
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), line = RGB(0, 0, 0xFA);
  {
    CPainted px(m_grid);
    // Level 0: the button's centre 7 pixels in; level 1 twelve further.
    int cx = rectA.left + 7, cy = (rectA.top + rectA.bottom) / 2;
    EXPECT_EQ(black, px.At(cx - 4, cy - 4)) << "frame corner";
    EXPECT_EQ(black, px.At(cx + 4, cy + 4)) << "frame corner";
    EXPECT_EQ(black, px.At(cx - 2, cy)) << "minus";
    EXPECT_EQ(white, px.At(cx, cy - 2)) << "no plus on an expanded node";
    int cx1 = rectA1.left + 19, cy1 = (rectA1.top + rectA1.bottom) / 2;
    EXPECT_EQ(black, px.At(cx1, cy1 - 2)) << "plus on a collapsed node";
    EXPECT_EQ(black, px.At(cx1 + 2, cy1));
    // The joint of a child: a line from the parent's column to its button,
    // and the parent's column going on to the next child.
    EXPECT_EQ(line, px.At(rectA1.left + 7, rectA1.top + 1));
    EXPECT_EQ(line, px.At(rectA1.left + 7, rectA1.bottom - 1));
    EXPECT_EQ(line, px.At(rectA1.left + 10, cy1));
    EXPECT_EQ(line, px.At(cx, cy + 8)) << "from the open parent's button down";
  }
  // The default line colour is the complement of the grid background.
  m_grid.SetTreeLineColour(CLR_DEFAULT);
  m_grid.SetGridBkColor(RGB(10, 20, 30));
  EXPECT_EQ(RGB(245, 235, 225), m_grid.GetTreeLineColour());
  CPainted px(m_grid);
  EXPECT_EQ(RGB(245, 235, 225), px.At(rectA1.left + 7, rectA1.top + 1));
}

TEST_F(TreeGridTest, SortingChildrenKeepsDescendantsUnderTheirParents) {
  m_grid.SetFixedRowCount(2);
  CTreeNode* top = Add(L"top");
  const wchar_t* names[] = {L"b", L"d", L"a", L"c"};
  for (const wchar_t* name : names) {
    CTreeNode* child = Add(name, top);
    CString grand1 = CString(name) + L"2", grand2 = CString(name) + L"1";
    Add(grand1, child);
    Add(grand2, child);
  }
  Add(L"z-last");
  Add(L"m-middle", GTVI_ROOT, GTVI_FIRST);
  // A plain row travels with the tree row above it.
  int rowD = m_grid.GetNodeRow(m_grid.GetTreeNode(m_grid.GetNodeRow(top) + 4));
  ASSERT_EQ(CString(L"d"), m_grid.GetItemText(rowD, 1));
  m_grid.InsertRow(L"", rowD + 3);
  m_grid.SetItemText(rowD + 3, 1, L"d-plain");

  EXPECT_TRUE(m_grid.SortChildren(top, 1, TRUE, nullptr, FALSE));
  EXPECT_EQ("m-middle/top/a/a2/a1/b/b2/b1/c/c2/c1/d/d2/d1/d-plain/z-last", Outline());
  ExpectConsistent();
  EXPECT_TRUE(m_grid.SortChildren(top, 1, FALSE, nullptr, TRUE));
  EXPECT_EQ("m-middle/top/d/d2/d1/d-plain/c/c2/c1/b/b2/b1/a/a2/a1/z-last", Outline());
  EXPECT_TRUE(m_grid.SortChildren(top, 1, TRUE, nullptr, TRUE));
  EXPECT_EQ("m-middle/top/a/a1/a2/b/b1/b2/c/c1/c2/d/d1/d-plain/d2/z-last", Outline()) << "with d1 above it now";
  ExpectConsistent();

  // A header sort orders the top-level nodes, each with its rows; a part of
  // the rows is not sorted.
  EXPECT_TRUE(m_grid.SortItems(1, FALSE));
  EXPECT_EQ("z-last/top/a/a1/a2/b/b1/b2/c/c1/c2/d/d1/d-plain/d2/m-middle", Outline());
  ExpectConsistent();
  EXPECT_FALSE(m_grid.SortItems(CGridCtrl::pfnCellTextCompare, 1, TRUE, 0, 4, 8));
}

TEST_F(TreeGridTest, EmptiedGridTakesNewItemsSafely) {
  CTreeNode* a = Add(L"A");
  Add(L"A1", a);
  m_grid.Collapse(a);
  EXPECT_TRUE(m_grid.DeleteAllItems());
  EXPECT_EQ(0, m_grid.GetRowCount());
  EXPECT_FALSE(m_grid.IsValidNode(a));
  EXPECT_EQ(0, m_grid.GetRootNode()->GetChildCount());
  m_grid.SetColumnCount(3);
  CTreeNode* b = Add(L"B");
  CTreeNode* c = Add(L"C");
  Add(L"B1", b);
  EXPECT_EQ("B/B1/C", Outline().substr(0));
  EXPECT_EQ(c, m_grid.GetTreeNode(2));
  EXPECT_EQ(0, b->GetLevel());

  // Rows cut off the end take their nodes out of the tree.
  EXPECT_TRUE(m_grid.SetRowCount(2));
  EXPECT_FALSE(m_grid.IsValidNode(c));
  CTreeNode* d = Add(L"D");
  EXPECT_EQ("B/B1/D", Outline());
  EXPECT_EQ(2, m_grid.GetNodeRow(d));
  ExpectConsistent();
}

TEST_F(TreeGridTest, CheckCellsAndEditorsSitRightOfTheTreePart) {
  m_grid.SetEditable(TRUE);
  ASSERT_TRUE(m_grid.SetTreeColumnCellType(RUNTIME_CLASS(CTreeGridCellCheck)));
  CTreeNode* a = Add(L"A");
  CTreeNode* a1 = Add(L"A1", a);
  Add(L"A2", a);
  const int rowA = m_grid.GetNodeRow(a), rowA1 = m_grid.GetNodeRow(a1);
  auto* pCheck = dynamic_cast<CTreeGridCellCheck*>(m_grid.GetCell(rowA1, 1));
  ASSERT_NE(nullptr, pCheck);
  EXPECT_EQ(a1, pCheck->GetNode());
  m_grid.UpdateWindow();  // a check cell places its box while it is drawn

  CRect rect;
  ASSERT_TRUE(m_grid.GetCellRect(rowA1, 1, &rect));
  const int side = ::GetSystemMetrics(SM_CXHSCROLL), margin = static_cast<int>(pCheck->GetMargin());
  const int boxLeft = rect.left + 2 * TREE_INDENT + margin;  // level 1: two indents of tree part
  auto click = [&](int x, int y) {
    m_grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    m_grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  };
  // The box where the tree part ends toggles; the same offset from the
  // cell's left edge lies in the tree part and does not.
  click(boxLeft + side / 2, rect.top + margin + side / 2);
  EXPECT_TRUE(pCheck->GetCheck());
  click(rect.left + margin + side / 2, rect.top + margin + side / 2);
  EXPECT_TRUE(pCheck->GetCheck());
  click(boxLeft + side / 2, rect.top + margin + side / 2);
  EXPECT_FALSE(pCheck->GetCheck());
  EXPECT_FALSE(m_grid.IsItemEditing(rowA1, 1)) << "a click on the box edits nothing";

  // The button of a check cell still opens and closes the node.
  PressButton(rowA);
  EXPECT_EQ("A/(A1)/(A2)", Outline());
  PressButton(rowA);
  EXPECT_EQ("A/A1/A2", Outline());

  // The editor of a check cell opens right of the box.
  pCheck->SetCheck(TRUE);
  m_grid.SetFocus();
  m_grid.SetFocusCell(rowA1, 1);
  m_grid.SendMessage(WM_KEYDOWN, VK_F2, 1);
  CWnd* pEditor = m_grid.GetDlgItem(IDC_INPLACE_CONTROL);
  ASSERT_NE(nullptr, pEditor);
  CRect editor;
  pEditor->GetWindowRect(&editor);
  m_grid.ScreenToClient(&editor);
  EXPECT_GE(editor.left, boxLeft + side);
  EXPECT_LE(editor.right, rect.right + 1);
  m_grid.SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
  if (CWnd* pStill = m_grid.GetDlgItem(IDC_INPLACE_CONTROL)) pStill->SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);

  // A plain tree cell's editor starts where its tree part ends.
  ASSERT_TRUE(m_grid.SetTreeColumnCellType(RUNTIME_CLASS(CTreeGridCell)));
  CTreeNode* a11 = Add(L"A11", a1);
  const int rowA11 = m_grid.GetNodeRow(a11);
  m_grid.SetFocus();
  m_grid.SetFocusCell(rowA11, 1);
  m_grid.SendMessage(WM_KEYDOWN, VK_F2, 1);
  pEditor = m_grid.GetDlgItem(IDC_INPLACE_CONTROL);
  ASSERT_NE(nullptr, pEditor);
  pEditor->GetWindowRect(&editor);
  m_grid.ScreenToClient(&editor);
  ASSERT_TRUE(m_grid.GetCellRect(rowA11, 1, &rect));
  EXPECT_GE(editor.left, rect.left + 3 * TREE_INDENT);
}

}  // namespace
