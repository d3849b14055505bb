// The grid's model: counts and what shrinking them prunes, merged ranges
// through inserts, deletes and refills, the column order, cell types,
// default cells, fonts, virtual mode and the modified flags.
#include <cstring>

#include "GridTestSupport.h"

using gridtest::GridFixture;

namespace {

class GridModelTest : public GridFixture {};

TEST_F(GridModelTest, MergeRangesRefusedOrNumberedInListOrder) {
  Fill(6, 5);
  struct Case {
    CCellRange range;
    int expected;
  } cases[] = {
      {CCellRange(2, 2, 1, 3), -1},   // maximum row below minimum
      {CCellRange(1, 3, 2, 2), -1},   // maximum column below minimum
      {CCellRange(1, 1, 6, 2), -1},   // past the last row
      {CCellRange(1, 1, 2, 5), -1},   // past the last column
      {CCellRange(-1, 0, 1, 1), -1},  // not a cell
      {CCellRange(1, 1, 2, 2), 0},
      {CCellRange(3, 1, 3, 4), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, m_grid->MergeCells(c.range)) << c.range.GetMinRow();
  EXPECT_EQ(2, m_grid->GetMergedCellCount());
  // A covered cell answers for its range.
  EXPECT_TRUE(m_grid->GetCellFromPt(CPoint(110, 50)) == CCellID(1, 1));
}

TEST_F(GridModelTest, MergedRangesFollowInsertsDeletesShrinksAndRefills) {
  Fill(8, 6);
  m_grid->MergeCells(CCellRange(2, 1, 3, 2));  // rows 2-3
  m_grid->MergeCells(CCellRange(5, 1, 5, 4));  // row 5
  m_grid->MergeCells(CCellRange(6, 1, 7, 1));  // rows 6-7

  m_grid->InsertRow(L"new", 3);  // inside the first, before the others
  EXPECT_TRUE(m_grid->GetMergedCellRange(0) == CCellRange(2, 1, 4, 2));
  EXPECT_TRUE(m_grid->GetMergedCellRange(1) == CCellRange(6, 1, 6, 4));
  EXPECT_TRUE(m_grid->GetMergedCellRange(2) == CCellRange(7, 1, 8, 1));

  m_grid->DeleteRow(6);  // the whole of the second range
  ASSERT_EQ(2, m_grid->GetMergedCellCount());
  EXPECT_TRUE(m_grid->GetMergedCellRange(1) == CCellRange(6, 1, 7, 1));

  m_grid->DeleteColumn(1);  // the first column of both
  EXPECT_TRUE(m_grid->GetMergedCellRange(0) == CCellRange(2, 1, 4, 1));
  EXPECT_EQ(1, m_grid->GetMergedCellCount()) << "the one-column range lost its only column";

  m_grid->SetRowCount(4);  // cuts the remaining one
  EXPECT_TRUE(m_grid->GetMergedCellRange(0) == CCellRange(2, 1, 3, 1));

  // A refill, as the statistics table does on every change, starts clean.
  m_grid->DeleteAllItems();
  EXPECT_EQ(0, m_grid->GetMergedCellCount());
  Fill(5, 5);
  EXPECT_TRUE(m_grid->GetCellFromPt(CPoint(60, 65)) == CCellID(3, 1)) << "no stale range covers (3,1)";
  EXPECT_EQ(0, m_grid->MergeCells(CCellRange(1, 1, 2, 2))) << "the list starts again";
}

TEST_F(GridModelTest, ShrinkingPrunesFocusSelectionFrozenCountsAndSortColumn) {
  Fill(10, 6);
  m_grid->SetFreezedRowCount(3);
  m_grid->SetFreezedColumnCount(2);
  m_grid->SetFocusCell(8, 5);
  m_grid->SetSelectedRange(6, 3, 9, 5);
  m_grid->SortItems(5, TRUE);
  m_grid->SetFocusCell(8, 5);
  m_grid->SetSelectedRange(6, 3, 9, 5);

  EXPECT_TRUE(m_grid->SetRowCount(3));
  EXPECT_EQ(2, m_grid->GetFreezedRowCount()) << "frozen rows fit below the fixed row";
  EXPECT_FALSE(m_grid->GetFocusCell().IsValid());
  EXPECT_EQ(0, m_grid->GetSelectedCount());
  EXPECT_TRUE(m_grid->SetColumnCount(2));
  EXPECT_EQ(1, m_grid->GetFreezedColumnCount());
  EXPECT_EQ(-1, m_grid->GetSortColumn());
  EXPECT_FALSE(m_grid->CopyTextToClipboard()) << "nothing selected remains";

  EXPECT_FALSE(m_grid->SetRowCount(-1));
  EXPECT_FALSE(m_grid->SetColumnCount(-5));
  EXPECT_EQ(3, m_grid->GetRowCount());
  EXPECT_EQ(2, m_grid->GetColumnCount());
}

TEST_F(GridModelTest, ColumnOrderMapsCellsAndSurvivesAnUnchangedCount) {
  Fill(3, 4);
  ASSERT_TRUE(m_grid->SetColumnOrder({0, 3, 1, 2}));
  EXPECT_EQ("1,0|1,3|1,1|1,2", Row(1));
  m_grid->SetColumnWidth(1, 77);  // display column 1 is stored column 3
  EXPECT_TRUE(m_grid->SetColumnCount(4));
  EXPECT_EQ("1,0|1,3|1,1|1,2", Row(1)) << "an unchanged count keeps the order";
  EXPECT_EQ(77, m_grid->GetColumnWidth(1));
  EXPECT_FALSE(m_grid->SetColumnOrder({0, 1, 1, 2}));
  m_grid->SetColumnCount(5);
  EXPECT_EQ("1,0|1,1|1,2|1,3|", Row(1)) << "a new count resets the order";
}

TEST_F(GridModelTest, FixedCountsMarkCellsAndResetTheirColours) {
  Fill(4, 4, 0, 0);
  m_grid->SetItemBkColour(1, 2, RGB(1, 2, 3));
  m_grid->SetFixedRowCount(2);
  EXPECT_EQ(static_cast<UINT>(GVIS_FIXED | GVIS_FIXEDROW), m_grid->GetItemState(1, 2));
  EXPECT_EQ(CLR_DEFAULT, m_grid->GetItemBkColour(1, 2));
  m_grid->SetFixedColumnCount(1);
  EXPECT_EQ(static_cast<UINT>(GVIS_FIXED | GVIS_FIXEDROW | GVIS_FIXEDCOL), m_grid->GetItemState(0, 0));
  m_grid->SetFixedRowCount(0);
  EXPECT_EQ(static_cast<UINT>(GVIS_FIXED | GVIS_FIXEDCOL), m_grid->GetItemState(1, 0)) << "still in a fixed column";
  EXPECT_EQ(0u, m_grid->GetItemState(1, 2));
  EXPECT_TRUE(m_grid->SetFixedRowCount(6));
  EXPECT_EQ(6, m_grid->GetRowCount()) << "rows are added for the fixed ones";
}

TEST_F(GridModelTest, InsertAndDeleteRowsAndColumns) {
  Fill(3, 3);
  EXPECT_EQ(-1, m_grid->InsertRow(L"x", 0)) << "not among the fixed rows";
  EXPECT_EQ(-1, m_grid->InsertRow(L"x", 4));
  EXPECT_EQ(1, m_grid->InsertRow(L"", 1));
  EXPECT_EQ(m_grid->GetDefaultCell(TRUE, FALSE)->GetHeight(), m_grid->GetRowHeight(1));
  EXPECT_EQ(4, m_grid->InsertRow(L"end"));
  EXPECT_EQ("end||", Row(4));
  EXPECT_EQ(3, m_grid->InsertColumn(L"head", DT_RIGHT));
  EXPECT_EQ("0,0|0,1|0,2|head", Row(0));
  EXPECT_EQ(static_cast<UINT>(DT_RIGHT), m_grid->GetItemFormat(2, 3));
  EXPECT_TRUE(m_grid->DeleteColumn(1));
  EXPECT_TRUE(m_grid->DeleteRow(2));
  EXPECT_EQ("2,0|2,2|", Row(2));
  EXPECT_FALSE(m_grid->DeleteRow(9));
  EXPECT_FALSE(m_grid->SetRowHeight(1, -1));
  EXPECT_FALSE(m_grid->SetColumnWidth(3, 10));
  EXPECT_EQ(CString(), m_grid->GetItemText(40, 1)) << "out of range reads empty";

  // A grid without columns gets one for the first row's heading.
  CGridCtrl empty;
  EXPECT_EQ(0, empty.InsertRow(L"only"));
  EXPECT_EQ(1, empty.GetColumnCount());
  EXPECT_EQ(CString(L"only"), empty.GetItemText(0, 0));
}

class CTaggedCell : public CGridCell {
  DECLARE_DYNCREATE(CTaggedCell)
};
IMPLEMENT_DYNCREATE(CTaggedCell, CGridCell)

TEST_F(GridModelTest, SetCellTypeKeepsPropertiesAndRefusesOtherClasses) {
  Fill(3, 3);
  LOGFONT lf{};
  lf.lfHeight = -15;
  wcscpy(lf.lfFaceName, L"Arial");
  m_grid->SetItemFont(1, 1, &lf);
  m_grid->SetItemData(1, 1, 42);
  m_grid->SetItemFgColour(1, 1, RGB(200, 0, 0));
  ASSERT_TRUE(m_grid->SetCellType(1, 1, RUNTIME_CLASS(CTaggedCell)));
  CGridCellBase* pCell = m_grid->GetCell(1, 1);
  EXPECT_TRUE(pCell->IsKindOf(RUNTIME_CLASS(CTaggedCell)));
  EXPECT_EQ(CString(L"1,1"), CString(pCell->GetText()));
  EXPECT_EQ(42, pCell->GetData());
  EXPECT_EQ(RGB(200, 0, 0), pCell->GetTextClr());
  EXPECT_EQ(-15, pCell->GetFont()->lfHeight);
  EXPECT_EQ(m_grid.get(), pCell->GetGrid());
  EXPECT_FALSE(m_grid->SetCellType(1, 1, RUNTIME_CLASS(CWnd)));
  EXPECT_FALSE(m_grid->SetCellType(5, 1, RUNTIME_CLASS(CGridCell)));
}

TEST(GridCellTest, FontDescriptionIsCopiedWholeAndObjectsAreShared) {
  // A face name of 31 characters: longer than 92 bytes of description hold.
  LOGFONT lf{};
  lf.lfHeight = -13;
  wcscpy(lf.lfFaceName, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde");
  CGridCell a, b;
  a.SetFont(&lf);
  b.SetFont(&lf);
  EXPECT_EQ(0, wcscmp(lf.lfFaceName, a.GetFont()->lfFaceName));
  EXPECT_FALSE(a.IsDefaultFont());
  CFont* pFont = a.GetFontObject();
  EXPECT_EQ(pFont, b.GetFontObject()) << "one object per description";
  EXPECT_EQ(pFont, a.GetFontObject()) << "not rebuilt on each call";
  a.SetFont(nullptr);
  EXPECT_TRUE(a.IsDefaultFont());
  EXPECT_NE(nullptr, pFont->GetSafeHandle()) << "still valid for whoever selected it";

  CGridCell c;
  c.CopyFrom(b);
  EXPECT_FALSE(c.IsDefaultFont());
  c.Reset();
  EXPECT_TRUE(c.IsDefaultFont());
  EXPECT_STREQ(L"", c.GetText());
  EXPECT_EQ(-1, c.GetImage());
}

TEST(GridCellTest, DefaultCellMeasuresItsFontAndStaysReadOnly) {
  CGridDefaultCell cell;
  EXPECT_EQ(static_cast<DWORD>(0x8824), cell.GetFormat());
  EXPECT_TRUE(cell.IsReadOnly());
  cell.SetState(0);
  EXPECT_TRUE(cell.IsReadOnly());
  cell.SetData(5);
  EXPECT_EQ(0, cell.GetData());

  LOGFONT lf{};
  lf.lfHeight = -12;
  wcscpy(lf.lfFaceName, L"Tahoma");
  cell.SetFont(&lf);
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CFont font;
  font.CreateFontIndirect(&lf);
  CFont* pOld = dc.SelectObject(&font);
  CSize text = dc.GetTextExtent(L" XXXXXXXXXXXX ", 14);
  int space = dc.GetTextExtent(L" ", 1).cx;
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  dc.SelectObject(pOld);
  EXPECT_EQ(text.cx, cell.GetWidth());
  EXPECT_EQ(std::max<int>(text.cy, tm.tmHeight) * 3 / 2, cell.GetHeight());
  EXPECT_EQ(static_cast<UINT>(space), cell.GetMargin());
  EXPECT_GT(cell.GetWidth(), 14 * space);
}

TEST_F(GridModelTest, ModifiedFlagsAndTheSortColumn) {
  Fill(4, 3);
  m_grid->SortItems(2, TRUE);
  m_grid->SetModified(TRUE, 1, 1);
  EXPECT_TRUE(m_grid->GetModified(1, 1));
  EXPECT_TRUE(m_grid->GetModified());
  EXPECT_EQ(2, m_grid->GetSortColumn()) << "another column keeps the order";
  m_grid->SetModified(TRUE, 2, 2);
  EXPECT_EQ(-1, m_grid->GetSortColumn()) << "a change in the sort column ends it";
  m_grid->SetModified(FALSE, 1, 1);
  EXPECT_FALSE(m_grid->GetModified(1, 1));
  EXPECT_TRUE(m_grid->GetModified(2, 2));
  m_grid->SetModified(FALSE);
  EXPECT_FALSE(m_grid->GetModified(2, 2)) << "an unmodified grid clears every cell";
}

BOOL CALLBACK VirtualText(GV_DISPINFO* pInfo, LPARAM lParam) {
  pInfo->item.strText.Format(L"v%d.%d+%d", pInfo->item.row, pInfo->item.col, static_cast<int>(lParam));
  return TRUE;
}

bool ReverseRows(int a, int b) { return a > b; }

TEST_F(GridModelTest, VirtualModeAsksForCellsAndRefusesChanges) {
  m_grid->SetVirtualMode(TRUE);
  m_grid->SetRowCount(5);
  m_grid->SetColumnCount(3);
  m_grid->SetFixedRowCount(1);
  EXPECT_EQ(CString(L""), m_grid->GetItemText(2, 1));
  EXPECT_EQ(1, m_owner.Count(static_cast<int>(GVN_GETDISPINFO))) << "without a callback the owner is asked";
  m_grid->SetCallbackFunc(&VirtualText, 7);
  EXPECT_EQ(CString(L"v2.1+7"), m_grid->GetItemText(2, 1)) << "identity row order from the start";
  EXPECT_FALSE(m_grid->SetItemText(2, 1, L"x"));
  EXPECT_EQ(-1, m_grid->InsertRow(L"x"));
  EXPECT_FALSE(m_grid->Load(L"/nonexistent"));
  EXPECT_TRUE(m_grid->GetCell(0, 0)->IsFixedRow());
  m_grid->SetFocusCell(3, 2);
  EXPECT_TRUE(m_grid->GetCell(3, 2)->IsFocused());

  m_grid->SetVirtualCompare(&ReverseRows);
  EXPECT_TRUE(m_grid->SortItems(0, TRUE));
  EXPECT_EQ(CString(L"v4.0+7"), m_grid->GetItemText(1, 0));
  EXPECT_EQ(CString(L"v0.0+7"), m_grid->GetItemText(0, 0)) << "the fixed row stays";
  EXPECT_TRUE(m_grid->SortItems(0, FALSE));
  EXPECT_EQ(CString(L"v1.0+7"), m_grid->GetItemText(1, 0));
}

TEST(GridClassTest, RegisteredOnceAndAgainWithoutAnException) {
  CGridCtrl first;
  WNDCLASS wc{};
  ASSERT_TRUE(::GetClassInfoW(AfxGetInstanceHandle(), GRIDCTRL_CLASSNAME, &wc));
  EXPECT_EQ(static_cast<UINT>(CS_DBLCLKS), wc.style);
  // Another registration of the name (as a second copy of the module makes)
  // fails in the window system, yet constructing grids goes on working.
  EXPECT_EQ(0, ::RegisterClassW(&wc));
  EXPECT_NO_THROW({ CGridCtrl second(2, 2, 1, 1); });
}

}  // namespace
