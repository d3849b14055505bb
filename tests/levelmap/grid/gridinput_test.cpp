// The mouse and the rest of the input: sizing columns and rows at their
// header borders (cursor, inverted line, hiding), the selection drag and its
// scroll timer, losing the capture, the wheel, title tips, the keyboard
// shortcuts and the standard edit commands with their menu states.
#include "GridTestSupport.h"
#include "dlgscript.h"
#include "wininput.h"
#include "wintest.h"
#include "wndimpl.h"

using gridtest::GridFixture;

namespace {

class GridInputTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    Fill(30, 6);
    m_grid->SetFocus();
  }
  // A mouse message at a client point, with the pointer moved there first
  // and the cursor asked for, as the window system does.
  void Mouse(UINT msg, int x, int y, WPARAM keys = 0) {
    CPoint screen(x, y);
    m_grid->ClientToScreen(&screen);
    ::SetCursorPos(screen.x, screen.y);
    if (!::GetCapture())
      m_grid->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_grid->GetSafeHwnd()), MAKELPARAM(HTCLIENT, msg));
    HWND target = ::GetCapture() ? ::GetCapture() : m_grid->GetSafeHwnd();
    CPoint local = screen;
    ::ScreenToClient(target, &local);
    ::SendMessageW(target, msg, keys, MAKELPARAM(local.x, local.y));
  }
  COLORREF WindowPixel(int x, int y) {
    CClientDC dc(m_grid.get());
    return dc.GetPixel(x, y);
  }
};

TEST_F(GridInputTest, ColumnBorderSizesWithCursorAndInvertedLine) {
  m_grid->UpdateWindow();
  Mouse(WM_MOUSEMOVE, 99, 10);
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZEWE), ::GetCursor());
  EXPECT_EQ(CGridCtrl::MOUSE_OVER_COL_DIVIDE, m_grid->GetMouseMode());
  COLORREF before = WindowPixel(130, 150);
  Mouse(WM_LBUTTONDOWN, 99, 10, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 130, 10, MK_LBUTTON);
  EXPECT_EQ(CGridCtrl::MOUSE_SIZING_COL, m_grid->GetMouseMode());
  EXPECT_EQ(before ^ 0xFFFFFF, WindowPixel(130, 150)) << "the inverted line follows the pointer";
  Mouse(WM_LBUTTONUP, 130, 10);
  EXPECT_EQ(80, m_grid->GetColumnWidth(1)) << "from the column's left edge to the pointer";
  EXPECT_EQ(CGridCtrl::MOUSE_NOTHING, m_grid->GetMouseMode());
  EXPECT_EQ(nullptr, ::GetCapture());

  // Dragged past the left edge: hidden when hiding is allowed, else 1 pixel.
  Mouse(WM_LBUTTONDOWN, 179, 10, MK_LBUTTON);  // column 2's right border (x 130..179 now)
  Mouse(WM_LBUTTONUP, 150, 10);
  EXPECT_EQ(20, m_grid->GetColumnWidth(2));
  Mouse(WM_LBUTTONDOWN, 149, 10, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 100, 10);
  EXPECT_EQ(0, m_grid->GetColumnWidth(2));
  m_grid->EnableColumnHide(FALSE);
  Mouse(WM_LBUTTONDOWN, 229, 10, MK_LBUTTON);  // column 4's right border (x 180..229)
  Mouse(WM_LBUTTONUP, 10, 10);
  EXPECT_EQ(1, m_grid->GetColumnWidth(4));

  // Resizing switched off: no sizing cursor, the press is an ordinary one.
  m_grid->SetColumnResize(FALSE);
  Mouse(WM_MOUSEMOVE, 129, 10);
  EXPECT_EQ(CGridCtrl::MOUSE_NOTHING, m_grid->GetMouseMode());
}

TEST_F(GridInputTest, RowBorderInTheFixedColumnSizesTheRow) {
  Mouse(WM_MOUSEMOVE, 20, 59);
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZENS), ::GetCursor());
  Mouse(WM_LBUTTONDOWN, 20, 59, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 20, 75, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 20, 75);
  EXPECT_EQ(35, m_grid->GetRowHeight(2));
}

TEST_F(GridInputTest, SelectionDragScrollsOnTheTimerAndEndsOnRelease) {
  m_owner.m_notices.clear();
  Mouse(WM_LBUTTONDOWN, 75, 30, MK_LBUTTON);  // cell (1,1)
  EXPECT_EQ(CGridCtrl::MOUSE_SELECT_CELLS, m_grid->GetMouseMode());
  Mouse(WM_MOUSEMOVE, 125, 70, MK_LBUTTON);   // cell (3,2)
  EXPECT_EQ(6, m_grid->GetSelectedCount());
  Mouse(WM_MOUSEMOVE, 125, 340, MK_LBUTTON);  // below the window
  int top = m_grid->GetTopleftNonFixedCell().row;
  win::wnd::AdvanceClock(GRID_SCROLL_TIMER_INTERVAL);
  EXPECT_EQ(top + 1, m_grid->GetTopleftNonFixedCell().row) << "one line per tick";
  win::wnd::AdvanceClock(2 * GRID_SCROLL_TIMER_INTERVAL);
  EXPECT_EQ(top + 3, m_grid->GetTopleftNonFixedCell().row);
  EXPECT_GT(m_grid->GetSelectedCount(), 20) << "the selection followed to the edge";
  Mouse(WM_LBUTTONUP, 125, 340);
  EXPECT_EQ(static_cast<int>(GVN_SELCHANGED), m_owner.Codes().back());
  top = m_grid->GetTopleftNonFixedCell().row;
  win::wnd::AdvanceClock(10 * GRID_SCROLL_TIMER_INTERVAL);
  EXPECT_EQ(top, m_grid->GetTopleftNonFixedCell().row) << "the timer stopped";
}

TEST_F(GridInputTest, LosingTheCaptureEndsTheDragAndItsTimer) {
  Mouse(WM_LBUTTONDOWN, 75, 30, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 125, 340, MK_LBUTTON);
  // A message box (here: another window) takes the mouse.
  m_owner.SetCapture();
  EXPECT_EQ(CGridCtrl::MOUSE_NOTHING, m_grid->GetMouseMode());
  int top = m_grid->GetTopleftNonFixedCell().row;
  win::wnd::AdvanceClock(5 * GRID_SCROLL_TIMER_INTERVAL);
  EXPECT_EQ(top, m_grid->GetTopleftNonFixedCell().row);
  ::ReleaseCapture();
}

TEST_F(GridInputTest, PressOnTheFocusCellsTextArmsEditingUntilRelease) {
  m_grid->SetFocusCell(2, 2);
  Mouse(WM_LBUTTONDOWN, 110, 50, MK_LBUTTON);
  EXPECT_EQ(CGridCtrl::MOUSE_PREPARE_EDIT, m_grid->GetMouseMode());
  EXPECT_EQ(nullptr, m_grid->GetDlgItem(IDC_INPLACE_CONTROL));
  Mouse(WM_LBUTTONUP, 110, 50);
  ASSERT_NE(nullptr, m_grid->GetDlgItem(IDC_INPLACE_CONTROL));
  m_grid->SetFocus();
  // With Control held the press selects instead.
  Mouse(WM_LBUTTONDOWN, 110, 50, MK_LBUTTON | MK_CONTROL);
  EXPECT_EQ(CGridCtrl::MOUSE_SELECT_CELLS, m_grid->GetMouseMode());
  Mouse(WM_LBUTTONUP, 110, 50);
}

TEST_F(GridInputTest, AHeadingDraggedElsewhereMovesItsColumn) {
  m_grid->AllowReorderColumn(TRUE);
  Mouse(WM_LBUTTONDOWN, 125, 10, MK_LBUTTON);  // heading of column 2
  Mouse(WM_MOUSEMOVE, 180, 10, MK_LBUTTON);
  EXPECT_EQ(CGridCtrl::MOUSE_DRAGGING, m_grid->GetMouseMode());
  Mouse(WM_LBUTTONUP, 225, 10);  // dropped on column 4
  EXPECT_EQ("1,0|1,1|1,3|1,4|1,2|1,5", Row(1));
  m_grid->AllowReorderColumn(FALSE);
  Mouse(WM_LBUTTONDOWN, 125, 10, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 180, 10, MK_LBUTTON);
  Mouse(WM_LBUTTONUP, 225, 10);
  EXPECT_EQ("1,0|1,1|1,3|1,4|1,2|1,5", Row(1)) << "reordering not allowed";
}

TEST_F(GridInputTest, WheelScrollsTheSystemsLinesPerNotch) {
  EXPECT_EQ(3u, m_grid->GetMouseScrollLines());
  m_grid->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(4, m_grid->GetTopleftNonFixedCell().row);
  m_grid->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA)), 0);
  EXPECT_EQ(1, m_grid->GetTopleftNonFixedCell().row);
}

TEST_F(GridInputTest, TitleTipShowsCutTextAndGoesWhenThePointerLeaves) {
  m_grid->SetItemText(2, 2, L"a text far too long for its cell");
  Mouse(WM_MOUSEMOVE, 110, 50);
  CTitleTip& tip = m_grid->GetTitleTip();
  ASSERT_TRUE(tip.IsShowing());
  EXPECT_EQ(" a text far too long for its cell ", tip.GetTitle().ToUtf8());
  EXPECT_EQ(tip.GetSafeHwnd(), ::GetCapture()) << "the tip holds the mouse";
  Mouse(WM_MOUSEMOVE, 112, 52);
  EXPECT_TRUE(tip.IsShowing()) << "still over the cell";
  Mouse(WM_MOUSEMOVE, 300, 52);
  EXPECT_FALSE(tip.IsShowing());
  EXPECT_EQ(nullptr, ::GetCapture());

  // A press on the tip goes to the cell under it; a key hides it too.
  Mouse(WM_MOUSEMOVE, 110, 50);
  ASSERT_TRUE(tip.IsShowing());
  Mouse(WM_LBUTTONDOWN, 110, 50, MK_LBUTTON);
  EXPECT_FALSE(tip.IsShowing());
  EXPECT_TRUE(m_grid->GetFocusCell() == CCellID(2, 2));
  Mouse(WM_LBUTTONUP, 110, 50);
  Mouse(WM_MOUSEMOVE, 110, 50);
  m_grid->SendMessage(WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_FALSE(tip.IsShowing());

  // A text that fits, or title tips switched off: no tip.
  Mouse(WM_MOUSEMOVE, 75, 70);
  EXPECT_FALSE(tip.IsShowing());
  m_grid->EnableTitleTips(FALSE);
  Mouse(WM_MOUSEMOVE, 110, 50);
  EXPECT_FALSE(tip.IsShowing());
}

TEST_F(GridInputTest, ShortcutsAndStandardEditCommands) {
  m_grid->SetFocusCell(1, 1);
  win::wnd::SetKeyDown(VK_CONTROL, true);
  m_grid->SendMessage(WM_KEYDOWN, 'A', 1);
  EXPECT_EQ(29 * 5, m_grid->GetSelectedCount());
  m_grid->SetSelectedRange(1, 1, 1, 2);
  m_grid->SendMessage(WM_KEYDOWN, 'C', 1);
  m_grid->SetItemText(1, 3, L"a long text that widens its column");
  m_grid->SendMessage(WM_KEYDOWN, 0x6B, 1);  // the keypad plus
  win::wnd::SetKeyDown(VK_CONTROL, false);
  EXPECT_EQ("1,1\t1,2", ClipboardText());
  EXPECT_GT(m_grid->GetColumnWidth(3), 100) << "Control and the keypad plus auto-size";

  CCmdUI state(ID_EDIT_PASTE);
  EXPECT_TRUE(state.DoUpdate(m_grid.get()));
  EXPECT_TRUE(state.m_bEnabled);
  m_grid->SetEditable(FALSE);
  state.DoUpdate(m_grid.get());
  EXPECT_FALSE(state.m_bEnabled);
  m_grid->SetEditable(TRUE);
  m_grid->SetFocusCell(4, 4);
  m_grid->SendMessage(WM_COMMAND, ID_EDIT_PASTE, 0);
  // Commas separate fields too: "1,1\t1,2" is four fields, two fit.
  EXPECT_EQ("1|1", m_grid->GetItemText(4, 4).ToUtf8() + "|" + m_grid->GetItemText(4, 5).ToUtf8());
  m_grid->ResetSelectedRange();
  CCmdUI copy(ID_EDIT_COPY);
  copy.DoUpdate(m_grid.get());
  EXPECT_FALSE(copy.m_bEnabled) << "nothing selected to copy";
  CCmdUI other(ID_EDIT_UNDO);
  EXPECT_FALSE(other.DoUpdate(m_grid.get())) << "no handler";
}

}  // namespace

// Bringing a cell into view (as the keys and the editor do) scrolls the
// least that shows it whole, rows and columns alike: a cell below or right
// of the view ends at its edge, one above or left starts the scrolling part,
// one already whole in view scrolls nothing.
TEST_F(GridInputTest, EnsureVisibleScrollsTheLeastThatShowsTheCellWhole) {
  Fill(30, 12);
  m_grid->SetRowHeight(18, 45);
  m_grid->SetColumnWidth(9, 130);
  m_grid->ResetScrollBars();
  CRect client;
  m_grid->GetClientRect(&client);
  const int fixedH = m_grid->GetFixedRowHeight(), fixedW = m_grid->GetFixedColumnWidth();
  struct Case {
    int row, col;
  };
  for (Case c : {Case{20, 1}, Case{20, 10}, Case{18, 9}, Case{4, 10}, Case{4, 3}, Case{5, 4}}) {
    SCOPED_TRACE(testing::Message() << "cell " << c.row << "," << c.col);
    CCellID before = m_grid->GetTopleftNonFixedCell();
    CRect was;
    bool wasWhole = m_grid->GetCellRect(c.row, c.col, &was) && was.top >= fixedH && was.bottom <= client.bottom &&
                    was.left >= fixedW && was.right <= client.right;
    m_grid->EnsureVisible(c.row, c.col);
    CRect r;
    ASSERT_TRUE(m_grid->GetCellRect(c.row, c.col, &r));
    EXPECT_GE(r.top, fixedH);
    EXPECT_LE(r.bottom, client.bottom);
    EXPECT_GE(r.left, fixedW);
    EXPECT_LE(r.right, client.right);
    CCellID after = m_grid->GetTopleftNonFixedCell();
    if (wasWhole) {
      EXPECT_EQ(before.row, after.row);
      EXPECT_EQ(before.col, after.col);
      continue;
    }
    // The least: the cell touches the edge it came in from, or one more row
    // (column) before it would not fit.
    if (after.row != before.row)
      EXPECT_TRUE(r.top == fixedH || r.bottom + m_grid->GetRowHeight(after.row - 1) > client.bottom);
    if (after.col != before.col)
      EXPECT_TRUE(r.left == fixedW || r.right + m_grid->GetColumnWidth(after.col - 1) > client.right);
  }
}

// The scroll bars' codes, rows and columns alike: a line step skips hidden
// rows/columns, a line past the end stays, the thumb and the ends go where
// they say. Each step starts where the one before left the grid.
TEST_F(GridInputTest, ScrollBarCodesStepOverHiddenRowsAndColumns) {
  Fill(30, 12);
  m_grid->SetRowHeight(2, 0);
  m_grid->SetColumnWidth(2, 0);
  m_grid->ResetScrollBars();
  struct Step {
    UINT message, code, pos;
    int topLeft;  // the first scrolling row or column afterwards
  };
  const Step steps[] = {
      {WM_VSCROLL, SB_LINEDOWN, 0, 3},   {WM_VSCROLL, SB_LINEUP, 0, 1},
      {WM_VSCROLL, SB_THUMBPOSITION, 100, 7}, {WM_VSCROLL, SB_LINEUP, 0, 6},
      {WM_VSCROLL, SB_TOP, 0, 1},        {WM_HSCROLL, SB_LINERIGHT, 0, 3},
      {WM_HSCROLL, SB_LINELEFT, 0, 1},   {WM_HSCROLL, SB_THUMBPOSITION, 150, 5},
      {WM_HSCROLL, SB_LEFT, 0, 1},       {WM_VSCROLL, SB_ENDSCROLL, 0, 1},
  };
  for (const Step& s : steps) {
    m_grid->SendMessage(s.message, MAKEWPARAM(s.code, s.pos), 0);
    CCellID id = m_grid->GetTopleftNonFixedCell();
    EXPECT_EQ(s.topLeft, s.message == WM_VSCROLL ? id.row : id.col) << "code " << s.code << " pos " << s.pos;
  }
  for (UINT message : {WM_VSCROLL, WM_HSCROLL}) {
    int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
    m_grid->SendMessage(message, SB_BOTTOM, 0);
    int nEnd = ::GetScrollPos(m_grid->GetSafeHwnd(), bar);
    EXPECT_GT(nEnd, 0);
    m_grid->SendMessage(message, SB_LINEDOWN, 0);
    EXPECT_EQ(nEnd, ::GetScrollPos(m_grid->GetSafeHwnd(), bar)) << "a line past the end stays";
    m_grid->SendMessage(message, SB_PAGEUP, 0);
    EXPECT_LT(::GetScrollPos(m_grid->GetSafeHwnd(), bar), nEnd);
    m_grid->SendMessage(message, SB_TOP, 0);
  }
  // Presses on the bars themselves, as the pointer gives them: an arrow steps
  // a line, the track beside the thumb a page, the thumb does nothing.
  CRect client;
  m_grid->GetClientRect(&client);
  const int cxv = ::GetSystemMetrics(SM_CXVSCROLL), cyh = ::GetSystemMetrics(SM_CYHSCROLL);
  auto press = [&](int x, int y) {
    CPoint at(x, y);
    m_grid->ClientToScreen(&at);
    LRESULT hit = m_grid->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    m_grid->SendMessage(WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), MAKELPARAM(at.x, at.y));
    return hit;
  };
  const int barX = client.right + cxv / 2, barY = client.bottom + cyh / 2;
  EXPECT_EQ(HTVSCROLL, press(barX, cxv + 2));  // the thumb, at the top of the track
  EXPECT_EQ(1, m_grid->GetTopleftNonFixedCell().row);
  press(barX, client.bottom - 2);  // the down arrow
  EXPECT_EQ(3, m_grid->GetTopleftNonFixedCell().row);
  press(barX, client.bottom - cxv - 3);  // the track below the thumb
  EXPECT_GT(m_grid->GetTopleftNonFixedCell().row, 10);
  m_grid->SendMessage(WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(HTHSCROLL, press(client.right - 2, barY));  // the right arrow
  EXPECT_EQ(3, m_grid->GetTopleftNonFixedCell().col);
  press(2, barY);  // the left arrow
  EXPECT_EQ(1, m_grid->GetTopleftNonFixedCell().col);
}
