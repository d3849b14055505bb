// In-place editing through real key and mouse messages: the start keys,
// Escape, the owner's veto, Tab and the move keys going on from cell to
// cell, merged ranges, the digits-only editor, and a grid inside a dialog
// where Enter belongs to the editor.
#include "GridCellNumeric.h"
#include "GridTestSupport.h"
#include "dlgscript.h"
#include "wintest.h"
#include "wndimpl.h"

using gridtest::GridFixture;

namespace {

class GridEditTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    Fill(6, 5);
    m_grid->SetFocus();
    m_grid->SetFocusCell(2, 2);
  }
  CWnd* Editor() const { return m_grid->GetDlgItem(IDC_INPLACE_CONTROL); }
  CString EditorText() const {
    CString text;
    if (CWnd* pEditor = Editor()) pEditor->GetWindowText(text);
    return text;
  }
  void Key(UINT vk, bool ctrl = false, bool shift = false) {
    CWnd* pTarget = CWnd::GetFocus();
    if (ctrl) win::wnd::SetKeyDown(VK_CONTROL, true);
    if (shift) win::wnd::SetKeyDown(VK_SHIFT, true);
    pTarget->SendMessage(WM_KEYDOWN, vk, 1);
    win::wnd::SetKeyDown(VK_CONTROL, false);
    win::wnd::SetKeyDown(VK_SHIFT, false);
  }
  void Char(wchar_t ch) { CWnd::GetFocus()->SendMessage(WM_CHAR, ch, 1); }
  void Type(const wchar_t* text) {
    for (; *text; ++text) Char(*text);
  }
};

TEST_F(GridEditTest, StartKeysReplaceKeepOrShortenTheText) {
  struct Case {
    wchar_t start;
    const wchar_t* typed;
    const char* result;
  } cases[] = {
      {L'5', L"", "5"},         // a character replaces the whole text
      {L'\b', L"", "2,"},       // Backspace takes the last character
      {L'\r', L"x", "2,2x"},    // Enter: the caret at the end
  };
  for (const Case& c : cases) {
    m_grid->SetItemText(2, 2, L"2,2");
    m_grid->SetFocus();
    Char(c.start);
    ASSERT_NE(nullptr, Editor());
    EXPECT_TRUE(m_grid->IsItemEditing(2, 2));
    Type(c.typed);
    Char(L'\r');
    EXPECT_EQ(nullptr, Editor()) << "Enter ends editing";
    EXPECT_EQ(c.result, m_grid->GetItemText(2, 2).ToUtf8());
    EXPECT_TRUE(m_grid->GetFocusCell() == CCellID(2, 2)) << "Enter leaves the focus where it is";
  }
  EXPECT_TRUE(m_grid->GetModified(2, 2));
}

TEST_F(GridEditTest, F2AndDoubleClickEditWithTheCaretAtTheEnd) {
  Key(VK_F2);
  Type(L"!");
  Char(L'\r');
  EXPECT_EQ("2,2!", m_grid->GetItemText(2, 2).ToUtf8());
  m_grid->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(175, 70));  // cell (3,3)
  ASSERT_NE(nullptr, Editor());
  Type(L"?");
  m_grid->SetFocus();  // losing the focus ends editing too
  EXPECT_EQ("3,3?", m_grid->GetItemText(3, 3).ToUtf8());
}

TEST_F(GridEditTest, EscapeRestoresAndReportsNoChange) {
  m_owner.m_notices.clear();
  Char(L'7');
  EXPECT_EQ("7", EditorText().ToUtf8());
  Char(0x1B);
  EXPECT_EQ(nullptr, Editor());
  EXPECT_EQ("2,2", m_grid->GetItemText(2, 2).ToUtf8());
  EXPECT_EQ(1, m_owner.Count(static_cast<int>(GVN_BEGINLABELEDIT)));
  EXPECT_EQ(0, m_owner.Count(static_cast<int>(GVN_ENDLABELEDIT)));
  EXPECT_FALSE(m_grid->GetModified(2, 2));
}

TEST_F(GridEditTest, ANegativeBeginReplyOpensNoEditor) {
  m_owner.m_replies[static_cast<int>(GVN_BEGINLABELEDIT)] = -1;
  Char(L'5');
  Key(VK_F2);
  EXPECT_EQ(nullptr, Editor());
  EXPECT_FALSE(m_grid->IsItemEditing(2, 2));
  EXPECT_EQ("2,2", m_grid->GetItemText(2, 2).ToUtf8());
}

TEST_F(GridEditTest, EndNotificationCarriesTextAndKeyAndMayBeRefused) {
  m_owner.m_replies[static_cast<int>(GVN_ENDLABELEDIT)] = -1;
  Char(L'9');
  Char(L'\r');
  EXPECT_EQ("2,2", m_grid->GetItemText(2, 2).ToUtf8()) << "refused: the old text is back";
  const gridtest::Notice& end = m_owner.m_notices.back();
  EXPECT_EQ(static_cast<int>(GVN_ENDLABELEDIT), end.code);
  EXPECT_EQ("9", end.text.ToUtf8());
  EXPECT_FALSE(m_grid->IsItemEditing(2, 2));
}

TEST_F(GridEditTest, TabAndArrowsEndOneEditAndStartTheNext) {
  m_grid->SetFocusCell(2, 4);  // the last cell of the row
  Char(L'a');
  Char(L'\t');
  EXPECT_EQ("a", m_grid->GetItemText(2, 4).ToUtf8());
  EXPECT_TRUE(m_grid->GetFocusCell() == CCellID(3, 1)) << "Tab wraps to the next row's first data cell";
  ASSERT_NE(nullptr, Editor()) << "editing goes on";
  EXPECT_EQ("3,1", EditorText().ToUtf8());
  Key(VK_DOWN);  // a key-started edit ends on an arrow
  EXPECT_TRUE(m_grid->GetFocusCell() == CCellID(4, 1));
  ASSERT_NE(nullptr, Editor());
  Char(0x1B);
  EXPECT_EQ(nullptr, Editor());
}

TEST_F(GridEditTest, ArrowsSkipHiddenCellsCrossMergesAndNotifyAroundEachMove) {
  m_grid->SetColumnWidth(3, 0);
  m_grid->MergeCells(CCellRange(3, 1, 4, 2));
  m_owner.m_notices.clear();
  Key(VK_RIGHT);
  EXPECT_TRUE(m_grid->GetFocusCell() == CCellID(2, 4)) << "column 3 is hidden";
  EXPECT_EQ((std::vector<int>{static_cast<int>(GVN_SELCHANGING), static_cast<int>(GVN_SELCHANGED)}), m_owner.Codes());
  EXPECT_EQ(1, m_grid->GetSelectedCount());
  m_grid->SetFocusCell(2, 2);
  Key(VK_DOWN);
  EXPECT_TRUE(m_grid->GetFocusCell() == CCellID(3, 1)) << "into the merge: its top-left cell";
  Key(VK_DOWN);
  EXPECT_TRUE(m_grid->GetFocusCell() == CCellID(5, 1)) << "out of the merge past its last row";
  Key(VK_DOWN);
  EXPECT_TRUE(m_grid->GetFocusCell() == CCellID(5, 1)) << "the last row";
  Key(VK_HOME, true);
  EXPECT_TRUE(m_grid->GetFocusCell() == CCellID(1, 1));
  Key(VK_END, true);
  EXPECT_TRUE(m_grid->GetFocusCell() == CCellID(5, 4));
  Key(VK_UP, false, true);
  EXPECT_EQ(2, m_grid->GetSelectedCount()) << "Shift extends from the anchor";
}

TEST_F(GridEditTest, TabLeavesTheGridWithQuitFocusOnTab) {
  m_grid->ForceQuitFocusOnTab(TRUE);
  EXPECT_EQ(0u, m_grid->SendMessage(WM_GETDLGCODE) & DLGC_WANTTAB) << "the dialog takes Tab";
  m_grid->SetFocusCell(2, 4);
  Key(VK_TAB);
  EXPECT_TRUE(m_grid->GetFocusCell() == CCellID(2, 4)) << "no wrap inside the grid";
  m_grid->ForceQuitFocusOnTab(FALSE);
  EXPECT_NE(0u, m_grid->SendMessage(WM_GETDLGCODE) & DLGC_WANTTAB);
}

TEST_F(GridEditTest, ClickOnACoveredCellEditsTheRangesTopLeftCell) {
  m_grid->MergeCells(CCellRange(3, 1, 4, 2));
  m_grid->SetItemState(3, 1, GVIS_READONLY);
  m_grid->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(125, 90));  // on the covered cell (4,2)
  EXPECT_EQ(nullptr, Editor()) << "the read-only top-left cell decides";
  m_grid->SetItemState(3, 1, 0);
  m_grid->OnEditCell(4, 2, CPoint(-1, -1), VK_LBUTTON);
  ASSERT_NE(nullptr, Editor());
  EXPECT_EQ("3,1", EditorText().ToUtf8());
  CRect rect;
  Editor()->GetWindowRect(&rect);
  EXPECT_GE(rect.Width(), 99) << "over the whole range";
  Char(0x1B);
}

TEST_F(GridEditTest, NumberCellTakesDigitsOnlyAndAtMostNine) {
  m_grid->SetCellType(2, 2, RUNTIME_CLASS(CGridCellNumeric));
  m_grid->SetItemText(2, 2, L"12");
  Char(L'\r');
  Type(L"3x4567890123");
  EXPECT_EQ("123456789", EditorText().ToUtf8()) << "letters refused, nine digits at most";
  Char(L'\r');
  EXPECT_EQ(123456789, _wtoi(m_grid->GetItemText(2, 2)));
}

// A dialog with a default button and the grid as control 100.
constexpr UINT IDD_GRIDDLG = 7300;
const win::ResourceTable kDialogs{{win::DialogResource{
    IDD_GRIDDLG, WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, 0, 0, 220, 140, L"grid", L"Tahoma", 8,
    {{GRIDCTRL_CLASSNAME, L"", 100, 5, 5, 210, 100, WS_TABSTOP, 0},
     {L"Button", L"OK", IDOK, 160, 115, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0}}}}};

class CGridDialog : public CDialog {
 public:
  CGridDialog() : CDialog(IDD_GRIDDLG) {}
  CGridCtrl m_Grid;
  int m_nOK = 0;
  BOOL m_bQuitFocusOnTab = FALSE;
  bool m_bOKFocused = false;  // where the focus was when OK ran

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_Grid.SubclassDlgItem(100, this);
    m_Grid.SetRowCount(4);
    m_Grid.SetColumnCount(3);
    m_Grid.SetFixedRowCount(1);
    for (int r = 0; r < 4; ++r) m_Grid.SetRowHeight(r, 20);
    for (int c = 0; c < 3; ++c) m_Grid.SetColumnWidth(c, 60);
    m_Grid.SetItemText(1, 1, L"old");
    m_Grid.ForceQuitFocusOnTab(m_bQuitFocusOnTab);
    return TRUE;
  }
  void OnOK() override {
    ++m_nOK;
    m_bOKFocused = CWnd::GetFocus() == GetDlgItem(IDOK);
  }
};

TEST(GridDialogTest, EnterEndsTheEditInsteadOfPressingTheDefaultButton) {
  wintest::Transcript transcript;
  wintest::Script({"@mouse 100 ldbl 90,30", "@type new", "@key ENTER", "@print 100", "@key ENTER", "@close"});
  CGridDialog dlg;
  dlg.DoModal();
  EXPECT_EQ(CString(L"oldnew"), dlg.m_Grid.GetItemText(1, 1));
  EXPECT_EQ(1, dlg.m_nOK) << "only the Enter pressed on the grid itself reaches the button";
  EXPECT_NE(std::string::npos, transcript.Text().find("[print 100 row 1]  | oldnew | ")) << transcript.Text();
}

TEST(GridDialogTest, TabOnTheLastCellLeavesTheGridOnlyWithQuitFocusOnTab) {
  // Tab from the row's last cell, then Space: on the button it presses it, on
  // the grid it starts editing the cell Tab went to.
  for (BOOL bQuit : {TRUE, FALSE}) {
    wintest::Transcript transcript;
    wintest::Script({"@cell 100 1 2", "@key TAB", "@key SPACE", "@key ESC", "@close"});
    CGridDialog dlg;
    dlg.m_bQuitFocusOnTab = bQuit;
    dlg.DoModal();
    if (bQuit) {
      EXPECT_EQ(1, dlg.m_nOK) << transcript.Text();
      EXPECT_TRUE(dlg.m_bOKFocused) << "Tab moved the focus to the dialog's next control";
    } else {
      EXPECT_EQ(0, dlg.m_nOK) << transcript.Text();
      EXPECT_TRUE(dlg.m_Grid.GetFocusCell() == CCellID(2, 0)) << "Tab wrapped to the next row";
    }
  }
}

}  // namespace
