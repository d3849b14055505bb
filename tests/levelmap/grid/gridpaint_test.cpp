// Painting, read back pixel by pixel: hidden columns, grid lines, raised
// headers, merged ranges, frozen-pane lines, the sort arrow, selection; and
// what the scripted user's @print and @cell probes answer.
#include "GridTestSupport.h"
#include "scriptprobe.h"

using gridtest::CPainted;
using gridtest::GridFixture;

namespace {

const COLORREF kGridLine = RGB(192, 192, 192);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

class GridPaintTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    Fill(6, 5);
  }
};

TEST_F(GridPaintTest, HiddenColumnIsNotPaintedAndTheNextOneMovesUp) {
  m_grid->SetItemBkColour(1, 2, kRed);
  m_grid->SetItemBkColour(1, 3, kBlue);
  m_grid->SetColumnWidth(2, 0);
  CPainted px(*m_grid);
  EXPECT_EQ(0, px.Count(kRed, 0, 0, 400, 140));
  // Column 3 now starts where column 2 would have: x 100..149.
  EXPECT_EQ(kBlue, px.At(101, 21));
  EXPECT_EQ(kBlue, px.At(147, 37));
  EXPECT_EQ(kGridLine, px.At(99, 30)) << "column 1's line";
  EXPECT_EQ(kGridLine, px.At(149, 30)) << "column 3's line";
}

TEST_F(GridPaintTest, GridLinesRaisedHeadersAndTheBackgroundBeyond) {
  {
    CPainted px(*m_grid);
    EXPECT_EQ(kGridLine, px.At(49, 50));
    EXPECT_EQ(kGridLine, px.At(120, 39));
    EXPECT_EQ(::GetSysColor(COLOR_3DHIGHLIGHT), px.At(60, 0)) << "header's lit top edge";
    EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), px.At(98, 10)) << "header's dark right edge";
    EXPECT_EQ(::GetSysColor(COLOR_3DFACE), px.At(90, 10)) << "header face";
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), px.At(92, 31)) << "data cell";
    EXPECT_EQ(::GetSysColor(COLOR_3DSHADOW), px.At(300, 200)) << "grid background right of and below the cells";
  }
  m_grid->SetGridLines(GVL_NONE);
  CPainted px(*m_grid);
  EXPECT_EQ(0, px.Count(kGridLine, 0, 0, 250, 120));
  EXPECT_EQ(::GetSysColor(COLOR_3DFACE), px.At(60, 0)) << "no raised look without lines";
}

TEST_F(GridPaintTest, MergedRangeCoversItsInnerLinesAndKeepsItsBorder) {
  m_grid->MergeCells(CCellRange(1, 1, 2, 2));
  m_grid->SetItemBkColour(1, 1, kBlue);
  m_grid->SetItemText(1, 1, L"");
  CPainted px(*m_grid);
  EXPECT_EQ(kBlue, px.At(99, 30)) << "the inner vertical line is covered";
  EXPECT_EQ(kBlue, px.At(75, 39)) << "the inner horizontal line is covered";
  EXPECT_EQ(kBlue, px.At(140, 55));
  EXPECT_EQ(kGridLine, px.At(149, 30)) << "the right border stays";
  EXPECT_EQ(kGridLine, px.At(75, 59)) << "the bottom border stays";
}

TEST_F(GridPaintTest, FrozenPanesAreMarkedInBlue) {
  m_grid->SetFreezedRowCount(1);
  m_grid->SetFreezedColumnCount(1);
  CPainted px(*m_grid);
  EXPECT_EQ(kBlue, px.At(390, 39)) << "under the frozen row, across the window";
  EXPECT_EQ(kBlue, px.At(99, 290)) << "right of the frozen column";
}

TEST_F(GridPaintTest, SortArrowShowsInTheHeaderUnlessTheRowIsTooLow) {
  // The arrow's base is a lit horizontal line; nothing else inside a header
  // cell has that colour.
  const COLORREF lit = ::GetSysColor(COLOR_3DHIGHLIGHT);
  {
    CPainted px(*m_grid);
    EXPECT_EQ(0, px.Count(lit, 51, 1, 98, 18));
  }
  m_grid->SortItems(1, TRUE);
  {
    CPainted px(*m_grid);
    EXPECT_GT(px.Count(lit, 51, 1, 98, 18), 2);
    EXPECT_EQ(0, px.Count(lit, 101, 1, 148, 18)) << "only the sort column";
  }
  m_grid->SetRowHeight(0, 6);
  CPainted px(*m_grid);
  EXPECT_EQ(0, px.Count(lit, 51, 1, 98, 5)) << "no arrow of size zero or less";
}

TEST_F(GridPaintTest, SelectionAndFocusFrame) {
  m_grid->SetSelectedRange(2, 2, 2, 3);
  m_grid->SetFocusCell(3, 1);
  CPainted px(*m_grid);
  EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), px.At(140, 50));
  EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), px.At(190, 50));
  EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), px.At(50, 60)) << "focus frame's corner in the text colour";
}

TEST_F(GridPaintTest, ScriptProbesPrintEveryCellAndFindCellCentres) {
  m_grid->SetColumnWidth(3, 0);
  win::ScriptPrintLines lines;
  ASSERT_TRUE(m_grid->SendMessage(WM_SCRIPT_PRINT, 0, reinterpret_cast<LPARAM>(&lines)));
  ASSERT_EQ(7u, lines.size());
  EXPECT_EQ(L"", lines[0].first);
  EXPECT_EQ(L"6 x 5", lines[0].second);
  EXPECT_EQ(L"row 2", lines[3].first);
  EXPECT_EQ(L"2,0 | 2,1 | 2,2 | 2,3 | 2,4", lines[3].second) << "hidden columns included";

  EXPECT_EQ(MAKELRESULT(74, 49), m_grid->SendMessage(WM_SCRIPT_CELLPOINT, 2, 1));
  EXPECT_EQ(-1, m_grid->SendMessage(WM_SCRIPT_CELLPOINT, 2, 3)) << "a hidden column";
  EXPECT_EQ(-1, m_grid->SendMessage(WM_SCRIPT_CELLPOINT, 9, 1));

  // A cell below the window is scrolled into view first.
  Fill(60, 5);
  LRESULT point = m_grid->SendMessage(WM_SCRIPT_CELLPOINT, 50, 2);
  ASSERT_NE(-1, point);
  EXPECT_TRUE(m_grid->GetCellFromPt(CPoint(LOWORD(point), HIWORD(point))) == CCellID(50, 2));
  EXPECT_GT(m_grid->GetTopleftNonFixedCell().row, 1);
}

}  // namespace
