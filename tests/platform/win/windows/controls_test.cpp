// The built-in controls' own rules and the dialog manager's edge cases:
// editing keys, combo box lists and notifications, tab order, a cancel
// button that is disabled, data exchange failures, scroll ranges, regions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxwin.h"
#include "dlgscript.h"
#include "wintest.h"
#include "wndimpl.h"

namespace {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
  }
  void TearDown() override { m_parent.DestroyWindow(); }

  // Records the WM_COMMAND notifications the parent receives.
  struct CParent : CWnd {
    std::vector<std::pair<int, int>> m_notes;
    BOOL OnCommand(WPARAM w, LPARAM l) override {
      m_notes.push_back({LOWORD(w), HIWORD(w)});
      return CWnd::OnCommand(w, l);
    }
  } m_parent;
};

TEST_F(ControlsTest, EditKeysSelectDeleteAndLimit) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &m_parent, 1));
  edit.SetWindowText(L"abcdef");
  edit.SetFocus();
  EXPECT_TRUE(win::HandleWindowLine(m_parent.m_hWnd, "@key END"));
  win::HandleWindowLine(m_parent.m_hWnd, "@key SHIFT+LEFT");
  win::HandleWindowLine(m_parent.m_hWnd, "@key SHIFT+LEFT");
  int a = 0, b = 0;
  edit.GetSel(a, b);
  EXPECT_EQ(a, 4);
  EXPECT_EQ(b, 6);
  win::HandleWindowLine(m_parent.m_hWnd, "@key DELETE");
  win::HandleWindowLine(m_parent.m_hWnd, "@key HOME");
  win::HandleWindowLine(m_parent.m_hWnd, "@key DELETE");
  CString text;
  edit.GetWindowText(text);
  EXPECT_EQ(text, CString(L"bcd"));
  win::HandleWindowLine(m_parent.m_hWnd, "@key CTRL+A");
  win::HandleWindowLine(m_parent.m_hWnd, "@type \"x y\"");
  edit.GetWindowText(text);
  EXPECT_EQ(text, CString(L"x y")) << "a quoted value keeps its blank";

  edit.LimitText(4);
  m_parent.m_notes.clear();
  win::HandleWindowLine(m_parent.m_hWnd, "@type 12345");
  edit.GetWindowText(text);
  EXPECT_EQ(text, CString(L"x y1"));
  EXPECT_NE(std::find(m_parent.m_notes.begin(), m_parent.m_notes.end(), std::make_pair(1, static_cast<int>(EN_MAXTEXT))),
            m_parent.m_notes.end());
  EXPECT_TRUE(edit.GetModify());
  edit.SetReadOnly(TRUE);
  win::HandleWindowLine(m_parent.m_hWnd, "@key BACK");
  edit.GetWindowText(text);
  EXPECT_EQ(text, CString(L"x y1")) << "a read-only edit refuses editing";
}

TEST_F(ControlsTest, ComboListMessagesAndNotificationOrder) {
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 100, 200), &m_parent, 2));
  CRect r;
  combo.GetWindowRect(&r);
  EXPECT_LT(r.Height(), 40) << "the window is as high as its selection field";
  EXPECT_EQ(combo.AddString(L"b"), 0);
  EXPECT_EQ(combo.AddString(L"a"), 1) << "without the sort style items keep their order";
  EXPECT_EQ(combo.InsertString(0, L"c"), 0);
  EXPECT_EQ(combo.InsertString(9, L"x"), CB_ERR);
  EXPECT_EQ(combo.GetCount(), 3);
  EXPECT_EQ(combo.FindStringExact(-1, L"A"), 2) << "the search ignores case";
  EXPECT_EQ(combo.FindString(0, L"c"), 0) << "the prefix search wraps around";
  combo.SetItemData(1, 77);
  EXPECT_EQ(combo.GetItemData(1), 77u);
  EXPECT_EQ(combo.SetCurSel(2), 2);
  combo.DeleteString(0);
  EXPECT_EQ(combo.GetCurSel(), 1) << "the selection follows its item";
  EXPECT_EQ(combo.GetItemData(0), 77u);
  combo.SetDroppedWidth(250);
  EXPECT_EQ(combo.GetDroppedWidth(), 250);

  m_parent.m_notes.clear();
  ASSERT_TRUE(win::HandleWindowLine(m_parent.m_hWnd, "@select 2 b"));
  std::vector<std::pair<int, int>> expected = {
      {2, CBN_SETFOCUS}, {2, CBN_DROPDOWN}, {2, CBN_SELCHANGE}, {2, CBN_SELENDOK}, {2, CBN_CLOSEUP}};
  EXPECT_EQ(expected, m_parent.m_notes);
  m_parent.m_notes.clear();
  win::HandleWindowLine(m_parent.m_hWnd, "@key DOWN");
  EXPECT_EQ(combo.GetCurSel(), 1);
  EXPECT_EQ((std::vector<std::pair<int, int>>{{2, CBN_SELCHANGE}}), m_parent.m_notes);
  CString text;
  combo.GetWindowText(text);
  EXPECT_EQ(text, CString(L"a"));
  combo.ResetContent();
  EXPECT_EQ(combo.GetCurSel(), CB_ERR);
}

TEST_F(ControlsTest, CheckBoxesAndRadioGroups) {
  CButton check, r1, r2;
  ASSERT_TRUE(check.Create(L"勾选", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 0, 80, 16), &m_parent, 3));
  ASSERT_TRUE(r1.Create(L"一", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | WS_GROUP, CRect(0, 20, 80, 36), &m_parent, 4));
  ASSERT_TRUE(r2.Create(L"二", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(0, 40, 80, 56), &m_parent, 5));
  win::HandleWindowLine(m_parent.m_hWnd, "@click 3");
  EXPECT_EQ(check.GetCheck(), BST_CHECKED);
  win::HandleWindowLine(m_parent.m_hWnd, "@click 3");
  EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
  win::HandleWindowLine(m_parent.m_hWnd, "@click 4");
  win::HandleWindowLine(m_parent.m_hWnd, "@click 5");
  EXPECT_EQ(r1.GetCheck(), BST_UNCHECKED);
  EXPECT_EQ(r2.GetCheck(), BST_CHECKED);
  // A press that is released outside the button is no click.
  m_parent.m_notes.clear();
  win::HandleWindowLine(m_parent.m_hWnd, "@mouse 3 ldown 2,2");
  win::HandleWindowLine(m_parent.m_hWnd, "@mouse 3 lup 200,2");
  EXPECT_EQ(check.GetCheck(), BST_UNCHECKED);
  EXPECT_TRUE(m_parent.m_notes.empty());
  check.EnableWindow(FALSE);
  wintest::Transcript t;
  EXPECT_FALSE(win::HandleWindowLine(m_parent.m_hWnd, "@click 3"));
  EXPECT_NE(t.Text().find("window input refused: @click 3 (control 3 is hidden or disabled)"), std::string::npos);
}

TEST_F(ControlsTest, ScrollInfoIsClampedToItsRange) {
  m_parent.ModifyStyle(0, WS_VSCROLL);
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 500, 0};
  EXPECT_EQ(m_parent.SetScrollInfo(SB_VERT, &si), 90);
  EXPECT_EQ(m_parent.GetScrollPos(SB_VERT), 90);
  EXPECT_EQ(m_parent.GetScrollLimit(SB_VERT), 90);
  m_parent.SetScrollPos(SB_VERT, -5);
  EXPECT_EQ(m_parent.GetScrollPos(SB_VERT), 0);
  CRect client;
  m_parent.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 300 - ::GetSystemMetrics(SM_CXVSCROLL));
}

TEST(Regions, CombineModes) {
  CRgn a, b, out;
  a.CreateRectRgn(0, 0, 10, 10);
  b.CreateRectRgn(5, 5, 15, 15);
  out.CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(out.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
  EXPECT_TRUE(out.PtInRegion(7, 7));
  EXPECT_FALSE(out.PtInRegion(2, 2));
  EXPECT_EQ(out.CombineRgn(&a, &b, RGN_DIFF), COMPLEXREGION);
  EXPECT_TRUE(out.PtInRegion(2, 2));
  EXPECT_FALSE(out.PtInRegion(7, 7));
  out.CombineRgn(&a, &b, RGN_XOR);
  EXPECT_TRUE(out.PtInRegion(12, 12));
  EXPECT_FALSE(out.PtInRegion(7, 7));
  out.CombineRgn(&a, &b, RGN_OR);
  CRect box;
  out.GetRgnBox(&box);
  EXPECT_EQ(box, CRect(0, 0, 15, 15));
  EXPECT_FALSE(out.PtInRegion(12, 2));
}

TEST(SystemSettings, MetricsColoursAndMenuFont) {
  NONCLIENTMETRICS ncm{};
  ncm.cbSize = sizeof ncm;
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
  EXPECT_STREQ(ncm.lfMenuFont.lfFaceName, L"宋体");
  EXPECT_LT(ncm.lfMenuFont.lfHeight, 0);
  ncm.cbSize = 3;
  EXPECT_FALSE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 3, &ncm, 0)) << "a wrong size is refused";
  UINT lines = 0;
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
  EXPECT_EQ(lines, 3u);
  EXPECT_EQ(::GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_GT(::GetDoubleClickTime(), 0u);
  RECT clip{10, 10, 20, 20};
  ::ClipCursor(&clip);
  ::SetCursorPos(100, 0);
  POINT p;
  ::GetCursorPos(&p);
  EXPECT_EQ(p.x, 19);
  EXPECT_EQ(p.y, 10);
  ::ClipCursor(nullptr);
}

TEST(Timers, ProcTimersAndMessagesWithoutWindows) {
  static int fired = 0;
  fired = 0;
  UINT_PTR id = ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) { ++fired; });
  ASSERT_NE(id, 0u);
  EXPECT_TRUE(win::HandleWindowLine(nullptr, "@wait 100") == false) << "no window, no line";
  win::wnd::AdvanceClock(100);
  EXPECT_EQ(fired, 3);
  ::KillTimer(nullptr, id);
  MSG msg;
  EXPECT_FALSE(::GetMessageW(&msg, nullptr, 0, 0)) << "an empty queue never blocks";
}

// ---------------------------------------------------------------- dialogs

constexpr UINT IDD_GUARD = 510;
const win::ResourceTable kGuardResources{
    {win::DialogResource{IDD_GUARD,
                         WS_POPUP | WS_CAPTION | WS_SYSMENU,
                         0, 0, 0, 150, 80, L"Guard", L"", 8,
                         {{L"Edit", L"", 10, 5, 5, 60, 12, WS_TABSTOP, 0},
                          {L"Edit", L"", 11, 5, 20, 60, 12, WS_TABSTOP | WS_DISABLED, 0},
                          {L"Edit", L"", 12, 5, 35, 60, 12, WS_TABSTOP, 0},
                          {L"Button", L"OK", IDOK, 80, 60, 30, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
                          {L"Button", L"Cancel", IDCANCEL, 115, 60, 30, 14, WS_TABSTOP | WS_DISABLED, 0}}}}};

class CGuardDlg : public CDialog {
 public:
  CGuardDlg() : CDialog(IDD_GUARD) {}
  int m_nValue = 7;
  HWND m_focusAfterTab = nullptr;

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 10, m_nValue); }
};

TEST(DialogGuards, DisabledCancelKeepsTheDialogUntilTheScriptEnds) {
  wintest::Transcript t;
  wintest::Script({"@close", "@key ESC", "@key TAB", "@text 12 z"});
  CGuardDlg dlg;
  // Neither the close box nor Esc can cancel; the end of the script must.
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(DialogGuards, TabSkipsDisabledControlsAndDataExchangeFailureKeepsTheDialog) {
  wintest::Transcript t;
  // The first edit holds the focus; Tab skips the disabled one.
  wintest::Script({"@key TAB", "@type 5", "@text 10 abc", "", "@answer OK", "@text 10 42", ""});
  struct CProbe : CGuardDlg {
    CString m_second;
    void OnOK() override {
      GetDlgItemText(12, m_second);
      CGuardDlg::OnOK();
    }
  } dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_second, CString(L"5"));
  EXPECT_EQ(dlg.m_nValue, 42);
  EXPECT_NE(t.Text().find("请输入一个整数。"), std::string::npos) << "the first OK failed validation: " << t.Text();
}

TEST(DialogGuards, OwnerIsDisabledWhileTheDialogRuns) {
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
  struct CCheck : CGuardDlg {
    CWnd* m_owner = nullptr;
    BOOL m_ownerEnabled = TRUE;
    void OnOK() override {
      m_ownerEnabled = m_owner->IsWindowEnabled();
      CGuardDlg::OnOK();
    }
  } dlg;
  dlg.m_pParentWnd = &owner;
  dlg.m_owner = &owner;
  wintest::Script({""});
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_FALSE(dlg.m_ownerEnabled);
  EXPECT_TRUE(owner.IsWindowEnabled());
  owner.DestroyWindow();
}

TEST(Geometry, RectPointSize) {
  CRect r(10, 20, 110, 70);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
  r.DeflateRect(5, 5);
  EXPECT_EQ(r, CRect(15, 25, 105, 65));
  r.OffsetRect(CPoint(-15, -25));
  EXPECT_EQ(r.TopLeft(), CPoint(0, 0));
  EXPECT_TRUE(r.PtInRect(CPoint(89, 39)));
  EXPECT_FALSE(r.PtInRect(CPoint(90, 39)));
  CRect i = r & CRect(50, 20, 200, 200);
  EXPECT_EQ(i, CRect(50, 20, 90, 40));
  EXPECT_TRUE((CRect(0, 0, 5, 5) & CRect(6, 6, 9, 9)).IsRectEmpty());
}

}  // namespace
