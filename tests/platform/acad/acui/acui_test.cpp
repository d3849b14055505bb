// The host's dialog classes: handing the input to the editor and back, the
// keep-focus message, and the host frame that owns dialogs and message boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acedframe.h"
#include "acui.h"
#include "dlgscript.h"
#include "edprompt.h"
#include "wintest.h"

namespace {

constexpr UINT IDD_PICK = 700;
constexpr int IDC_PICK_TEXT = 701;
constexpr UINT IDD_OUTER = 710;
constexpr int IDC_OPEN_INNER = 711;

const win::ResourceTable kResources{
    {win::DialogResource{IDD_PICK, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 0, 160, 60, L"拾取",
                         L"Tahoma", 8,
                         {{L"Edit", L"", IDC_PICK_TEXT, 7, 7, 100, 12, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
                          {L"Button", L"拾取点<", IDOK, 7, 40, 60, 14, BS_PUSHBUTTON | WS_TABSTOP, 0},
                          {L"Button", L"关闭", IDCANCEL, 90, 40, 60, 14, BS_PUSHBUTTON | WS_TABSTOP, 0}}},
     win::DialogResource{IDD_OUTER, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 0, 160, 60, L"外层",
                         L"Tahoma", 8,
                         {{L"Button", L"打开", IDC_OPEN_INNER, 7, 40, 60, 14, BS_PUSHBUTTON | WS_TABSTOP, 0},
                          {L"Button", L"关闭", IDCANCEL, 90, 40, 60, 14, BS_PUSHBUTTON | WS_TABSTOP, 0}}}}};

// Button 1 picks a point in the drawing; the dialog stays up afterwards.
class CPickDlg : public CAcUiDialog {
 public:
  explicit CPickDlg(CWnd* parent = nullptr) : CAcUiDialog(IDD_PICK, parent) {}
  enum Mode { kComplete, kCancel, kNoRestore };
  Mode m_mode = kComplete;
  int m_rc = 0;
  ads_point m_pt = {0, 0, 0};
  struct Seen {
    BOOL visible, frameEnabled, keepFocus, active, secondBegin;
  };
  std::vector<Seen> m_seen;
  BOOL m_bVisibleAfter = FALSE;
  BOOL m_bKeepFocusAfter = FALSE;
  HWND m_hFocusAfter = nullptr;
  HWND m_hEdit = nullptr;
  HWND m_hOuter = nullptr;
  BOOL m_bOuterVisibleDuring = TRUE;
  BOOL m_bOuterVisibleAfter = FALSE;

 protected:
  void OnOK() override {
    GetDlgItem(IDC_PICK_TEXT)->SetFocus();
    ASSERT_TRUE(BeginEditorCommand());
    CWnd* frame = acedGetAcadFrame();
    m_seen.push_back({::IsWindowVisible(m_hWnd), frame->IsWindowEnabled(),
                      static_cast<BOOL>(SendMessage(WM_ACAD_KEEPFOCUS)), ::GetActiveWindow() == frame->m_hWnd,
                      BeginEditorCommand()});
    if (m_hOuter) m_bOuterVisibleDuring = ::IsWindowVisible(m_hOuter);
    m_rc = acedGetPoint(nullptr, L"\n选择点: ", m_pt);
    if (m_mode == kCancel) {
      CancelEditorCommand();
      return;
    }
    CompleteEditorCommand(m_mode == kComplete);
    m_bVisibleAfter = ::IsWindowVisible(m_hWnd);
    m_bKeepFocusAfter = static_cast<BOOL>(SendMessage(WM_ACAD_KEEPFOCUS));
    m_hFocusAfter = ::GetFocus();
    m_hEdit = GetDlgItem(IDC_PICK_TEXT)->m_hWnd;
    if (m_hOuter) m_bOuterVisibleAfter = ::IsWindowVisible(m_hOuter);
  }
};

class AcUiDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { win::SetAppName(L"AutoCAD"); }
  wintest::Transcript m_transcript;
};

TEST_F(AcUiDialogTest, TheEditorTakesThePointWhileTheDialogIsHidden) {
  wintest::Script({"@click 1", "10,20", "@click 2"});
  CPickDlg dlg;
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ(RTNORM, dlg.m_rc);
  EXPECT_DOUBLE_EQ(10.0, dlg.m_pt[0]);
  EXPECT_DOUBLE_EQ(20.0, dlg.m_pt[1]);
  ASSERT_EQ(1u, dlg.m_seen.size());
  EXPECT_FALSE(dlg.m_seen[0].visible) << "hidden while the editor prompts";
  EXPECT_TRUE(dlg.m_seen[0].frameEnabled) << "the host frame takes the input";
  EXPECT_FALSE(dlg.m_seen[0].keepFocus);
  EXPECT_TRUE(dlg.m_seen[0].active);
  EXPECT_FALSE(dlg.m_seen[0].secondBegin) << "one editor command at a time";
  EXPECT_TRUE(dlg.m_bVisibleAfter);
  EXPECT_TRUE(dlg.m_bKeepFocusAfter);
  EXPECT_NE(nullptr, dlg.m_hEdit);
  EXPECT_EQ(dlg.m_hEdit, dlg.m_hFocusAfter)
      << "the focus goes back to the control that had it";
  EXPECT_NE(std::string::npos, m_transcript.Text().find("选择点: 10,20\n")) << m_transcript.Text();
  EXPECT_TRUE(acedGetAcadFrame()->IsWindowEnabled()) << "the modal loop gave the frame back";
}

TEST_F(AcUiDialogTest, TheFrameIsDisabledAgainWhileTheDialogIsUp) {
  struct CheckDlg : CPickDlg {
    BOOL m_bFrameEnabledAfter = TRUE;
    void OnOK() override {
      CPickDlg::OnOK();
      m_bFrameEnabledAfter = acedGetAcadFrame()->IsWindowEnabled();
    }
  };
  wintest::Script({"@click 1", "@5,5", "@click 2"});
  CheckDlg dlg;
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_FALSE(dlg.m_bFrameEnabledAfter);
}

TEST_F(AcUiDialogTest, EscAtThePromptAndCancelEditorCommandEndTheDialog) {
  wintest::Script({"@click 1", "^C", "@text 701 never"});
  CPickDlg dlg;
  dlg.m_mode = CPickDlg::kCancel;
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ(RTCAN, dlg.m_rc);
  EXPECT_EQ(std::optional<std::string>("@text 701 never"), user::Script::Instance().Next())
      << "the dialog ended without taking another line";
}

TEST_F(AcUiDialogTest, WithoutRestoreTheDialogStaysHidden) {
  wintest::Script({"@click 1", "1,1", "@click 2"});
  CPickDlg dlg;
  dlg.m_mode = CPickDlg::kNoRestore;
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_FALSE(dlg.m_bVisibleAfter);
}

class COuterDlg : public CAcUiDialog {
 public:
  COuterDlg() : CAcUiDialog(IDD_OUTER) {}
  CPickDlg* m_pInner = nullptr;

 protected:
  afx_msg void OnOpenInner() {
    m_pInner->m_hOuter = m_hWnd;
    m_pInner->m_pParentWnd = this;
    m_pInner->DoModal();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COuterDlg, CAcUiDialog)
  ON_BN_CLICKED(IDC_OPEN_INNER, &COuterDlg::OnOpenInner)
END_MESSAGE_MAP()

TEST_F(AcUiDialogTest, DialogsThatOwnTheDialogAreHiddenAndShownWithIt) {
  wintest::Script({"@click 711", "@click 1", "3,4", "@click 2", "@click 2"});
  CPickDlg inner;
  COuterDlg outer;
  outer.m_pInner = &inner;
  EXPECT_EQ(IDCANCEL, outer.DoModal());
  EXPECT_EQ(RTNORM, inner.m_rc);
  EXPECT_FALSE(inner.m_bOuterVisibleDuring);
  EXPECT_TRUE(inner.m_bOuterVisibleAfter);
  ASSERT_EQ(1u, inner.m_seen.size());
  EXPECT_TRUE(inner.m_seen[0].frameEnabled) << "the frame, not the outer dialog, takes the input";
}

TEST_F(AcUiDialogTest, BeginEditorCommandNeedsAWindow) {
  CPickDlg dlg;
  EXPECT_FALSE(dlg.BeginEditorCommand());
  dlg.CompleteEditorCommand();  // nothing to complete
  EXPECT_FALSE(dlg.IsEditorCommandActive());
}

TEST(AcadFrame, IsOneTopLevelWindowThatOwnsMessageBoxes) {
  wintest::Transcript transcript;
  EXPECT_TRUE(InitAcUiDLL());
  CWnd* frame = acedGetAcadFrame();
  ASSERT_NE(nullptr, frame);
  EXPECT_EQ(frame, acedGetAcadFrame());
  EXPECT_EQ(nullptr, ::GetParent(frame->m_hWnd));
  EXPECT_EQ(nullptr, ::GetWindow(frame->m_hWnd, GW_OWNER));
  wintest::Script({"@answer NO"});
  EXPECT_EQ(IDNO, ::MessageBoxW(frame->m_hWnd, L"保存修改?", L"AutoCAD", MB_YESNO));
  EXPECT_NE(std::string::npos, transcript.Text().find("[AutoCAD] 保存修改? {YES NO} -> NO")) << transcript.Text();
}

TEST(AcadFrame, IsMadeAgainAfterItWasDestroyed) {
  CWnd* frame = acedGetAcadFrame();
  ASSERT_NE(nullptr, frame);
  HWND before = frame->m_hWnd;
  frame->DestroyWindow();
  EXPECT_FALSE(::IsWindow(before));
  CWnd* again = acedGetAcadFrame();
  ASSERT_NE(nullptr, again);
  EXPECT_TRUE(::IsWindow(again->m_hWnd));
}

TEST(AcadFrame, OwnsDialogsWithoutAParent) {
  struct OwnerDlg : CPickDlg {
    HWND m_hOwner = nullptr;
    BOOL OnInitDialog() override {
      CPickDlg::OnInitDialog();
      m_hOwner = ::GetWindow(m_hWnd, GW_OWNER);
      return TRUE;
    }
  };
  wintest::Transcript transcript;
  wintest::Script({"@click 2"});
  OwnerDlg dlg;
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ(acedGetAcadFrame()->m_hWnd, dlg.m_hOwner);
}

}  // namespace
