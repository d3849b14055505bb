// Dialogs from templates driven by the scripted user's window lines: typing
// into a digits-only edit, Enter and the default button, Esc and the close
// box, kill-focus before a click's handler, combo boxes, message boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxwin.h"
#include "dlgscript.h"
#include "wintest.h"
#include "textconv.h"

namespace {

constexpr UINT IDD_TEST = 500;
constexpr int IDC_COUNT = 1000;
constexpr int IDC_NET = 1002;
constexpr int IDC_NAME = 1003;
constexpr int IDC_APPLY = 1004;
constexpr int IDC_ASK = 1005;

const win::ResourceTable kResources{
    {win::DialogResource{IDD_TEST,
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                         0, 0, 0, 200, 120, L"测试对话框", L"Tahoma", 8,
                         {{L"Static", L"数量", -1, 7, 9, 40, 8, SS_LEFT, 0},
                          {L"Edit", L"", IDC_COUNT, 50, 7, 60, 12, ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
                          {L"ComboBox", L"", IDC_NET, 50, 25, 60, 80, CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP, 0},
                          {L"ComboBox", L"", IDC_NAME, 50, 43, 60, 80, CBS_DROPDOWN | WS_TABSTOP, 0},
                          {L"Button", L"应用", IDC_APPLY, 120, 7, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, 0},
                          {L"Button", L"询问", IDC_ASK, 120, 25, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, 0},
                          {L"Button", L"确定", IDOK, 40, 96, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
                          {L"Button", L"取消", IDCANCEL, 110, 96, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, 0}}}}};

class CTestDlg : public CDialog {
 public:
  CTestDlg() : CDialog(IDD_TEST) {}
  CEdit m_editCount;
  CComboBox m_comboNet;
  CString m_strCount;
  std::vector<std::string> m_log;
  int m_nAnswer = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COUNT, m_editCount);
    DDX_Control(pDX, IDC_NET, m_comboNet);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_comboNet.AddString(L"WCDMA");
    m_comboNet.AddString(L"GSM");
    m_comboNet.AddString(L"CDMA");
    m_comboNet.SetCurSel(0);
    return TRUE;
  }
  void OnOK() override {
    m_editCount.GetWindowText(m_strCount);
    CDialog::OnOK();
  }
  afx_msg void OnKillFocusCount() {
    CString text;
    m_editCount.GetWindowText(text);
    m_log.push_back("kill:" + text.ToUtf8());
  }
  afx_msg void OnApply() { m_log.push_back("apply"); }
  afx_msg void OnAsk() { m_nAnswer = AfxMessageBox(L"确认?", MB_YESNO | MB_ICONQUESTION); }
  afx_msg void OnNetChanged() {
    CString text;
    m_comboNet.GetLBText(m_comboNet.GetCurSel(), text);
    m_log.push_back("sel:" + text.ToUtf8());
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
  ON_EN_KILLFOCUS(IDC_COUNT, &CTestDlg::OnKillFocusCount)
  ON_BN_CLICKED(IDC_APPLY, &CTestDlg::OnApply)
  ON_BN_CLICKED(IDC_ASK, &CTestDlg::OnAsk)
  ON_CBN_SELCHANGE(IDC_NET, &CTestDlg::OnNetChanged)
END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { win::SetAppName(L"测试"); }
  wintest::Transcript m_transcript;
};

TEST_F(DialogTest, DigitsOnlyEditAndEnterPressesTheDefaultButton) {
  wintest::Script({"@text 1000 12ab3", ""});
  CTestDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_strCount, CString(L"123"));
  EXPECT_EQ(dlg.m_hWnd, nullptr) << "the dialog window is gone after DoModal";
  EXPECT_EQ(dlg.m_editCount.m_hWnd, nullptr) << "and the controls bound to it";
}

TEST_F(DialogTest, TypingReplacesTheSelectionAndBackspaceDeletes) {
  wintest::Script({"@text 1000 456", "@key BACK", "@type 9", "@key HOME", "@key SHIFT+RIGHT", "@type 7", ""});
  CTestDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_strCount, CString(L"759"));
}

TEST_F(DialogTest, KillFocusArrivesBeforeTheClickHandlerAndEscCancels) {
  wintest::Script({"@text 1000 5", "@click 1004", "@key ESC"});
  CTestDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ((std::vector<std::string>{"kill:5", "apply"}), dlg.m_log);
}

TEST_F(DialogTest, TheCloseBoxAndTheEndOfTheScriptCancel) {
  {
    wintest::Script({"@close", "@text 1000 1"});
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(user::Script::Instance().Next(), std::optional<std::string>("@text 1000 1"))
        << "lines after the close stay for whoever waits next";
  }
  {
    wintest::Script({});
    CTestDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  }
}

class CCloseDlg : public CTestDlg {
 public:
  std::vector<std::string> m_steps;

 protected:
  afx_msg void OnClose() {
    m_steps.push_back("close");
    CTestDlg::OnClose();
    m_steps.push_back("close done");
  }
  void OnCancel() override {
    m_steps.push_back("cancel");
    CTestDlg::OnCancel();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCloseDlg, CTestDlg)
  ON_WM_CLOSE()
END_MESSAGE_MAP()

TEST_F(DialogTest, TheCloseBoxPostsTheCancelCommandAndEscSendsIt) {
  wintest::Script({"@close"});
  CCloseDlg closed;
  EXPECT_EQ(closed.DoModal(), IDCANCEL);
  EXPECT_EQ((std::vector<std::string>{"close", "close done", "cancel"}), closed.m_steps);
  wintest::Script({"^C"});
  CCloseDlg escaped;
  EXPECT_EQ(escaped.DoModal(), IDCANCEL);
  EXPECT_EQ((std::vector<std::string>{"cancel"}), escaped.m_steps);
}

TEST_F(DialogTest, EnterOnAFocusedPushButtonPressesThatButton) {
  wintest::Script({"@focus 1004", "", "@key TAB", "@key TAB", ""});
  CTestDlg dlg;
  // Tab from "apply" goes to "ask" then to OK, which Enter presses.
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ((std::vector<std::string>{"kill:", "apply"}), dlg.m_log) << "the edit had the focus first";
}

TEST_F(DialogTest, ComboSortsAndReportsTheSelectionChange) {
  wintest::Script({"@snapshot unused_before.png 9999", "@select 1002 GSM", "@select 1002 LTE", "@select 1002 GSM",
                   "@key ESC"});
  CTestDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ((std::vector<std::string>{"kill:", "sel:GSM"}), dlg.m_log) << "choosing the chosen item again is no change";
  std::string t = m_transcript.Text();
  EXPECT_NE(t.find("@select 1002 LTE (no such item)"), std::string::npos) << t;
  EXPECT_NE(t.find("@snapshot unused_before.png 9999 (no such control)"), std::string::npos) << t;
}

TEST_F(DialogTest, ComboItemsAreKeptSorted) {
  wintest::Script({"@key ESC"});
  struct CSortCheck : CTestDlg {
    std::vector<std::string> m_items;
    BOOL OnInitDialog() override {
      CTestDlg::OnInitDialog();
      for (int i = 0; i < m_comboNet.GetCount(); ++i) {
        CString s;
        m_comboNet.GetLBText(i, s);
        m_items.push_back(s.ToUtf8());
      }
      return TRUE;
    }
  } dlg;
  dlg.DoModal();
  EXPECT_EQ((std::vector<std::string>{"CDMA", "GSM", "WCDMA"}), dlg.m_items);
}

TEST_F(DialogTest, DropDownComboTypesIntoItsEditPart) {
  wintest::Script({"@text 1003 abc", "@key ESC"});
  struct CNameCheck : CTestDlg {
    CString m_name;
    HWND m_edit = nullptr;
    void OnCancel() override {
      GetDlgItem(IDC_NAME)->GetWindowText(m_name);
      m_edit = ::GetDlgItem(GetDlgItem(IDC_NAME)->m_hWnd, 1001);
      CTestDlg::OnCancel();
    }
  } dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_name, CString(L"abc"));
  EXPECT_NE(dlg.m_edit, nullptr);
}

TEST_F(DialogTest, MessageBoxTakesTheAnswerOrItsDefault) {
  wintest::Script({"@click 1005", "@answer NO", "@click 1005", "@key ESC"});
  CTestDlg dlg;
  dlg.DoModal();
  std::string t = m_transcript.Text();
  EXPECT_NE(t.find("[测试] 确认? {YES NO} -> NO"), std::string::npos) << t;
  // The second box had no answer waiting: its default, without taking the Esc.
  EXPECT_NE(t.find("[测试] 确认? {YES NO} -> YES"), std::string::npos) << t;
  EXPECT_EQ(dlg.m_nAnswer, IDYES);
}

TEST_F(DialogTest, PlainMessageBoxRefusesAnAnswerItDoesNotHave) {
  wintest::Script({"@answer YES"});
  EXPECT_EQ(::MessageBoxW(nullptr, L"\n完成", L"提示", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  EXPECT_NE(m_transcript.Text().find("[提示] 完成 {OK CANCEL} -> CANCEL"), std::string::npos) << m_transcript.Text();
}

TEST_F(DialogTest, ModelessDialogAndDialogUnits) {
  CTestDlg dlg;
  ASSERT_TRUE(dlg.Create(IDD_TEST));
  EXPECT_FALSE(dlg.IsWindowVisible()) << "the template has no visible style";
  CRect client;
  dlg.GetClientRect(&client);
  SIZE base = win::DialogBaseUnits(dlg.GetFont()->operator HFONT());
  EXPECT_EQ(client.Width(), MulDiv(200, base.cx, 4));
  EXPECT_EQ(client.Height(), MulDiv(120, base.cy, 8));
  CRect r(0, 0, 4, 8);
  ::MapDialogRect(dlg.m_hWnd, &r);
  EXPECT_EQ(r, CRect(0, 0, base.cx, base.cy));
  dlg.SetDlgItemText(IDC_COUNT, L"42");
  EXPECT_EQ(dlg.GetDlgItemInt(IDC_COUNT), 42u);
  EXPECT_EQ(LOWORD(dlg.GetDefID()), IDOK);
  dlg.DestroyWindow();
  EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST_F(DialogTest, MissingTemplateFailsCleanly) {
  CDialog dlg(4242);
  EXPECT_EQ(dlg.DoModal(), -1);
}

}  // namespace
