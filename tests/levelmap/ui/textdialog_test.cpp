// The application's message box: buttons, icon, title and the answer taken.
#include <gtest/gtest.h>

#include "TextDialog.h"
#include "wintest.h"

namespace {

TEST(CTextDialog, WithoutAskItShowsOnlyOkAndReturnsIt) {
  wintest::Transcript transcript;
  wintest::Script({"@answer NO", "next"});
  CTextDialog dlg(NULL, _T("请先选择路测轨迹"), TD_WARNING_ICON, FALSE);
  EXPECT_EQ(std::vector<int>{IDOK}, dlg.GetButtonIds());
  EXPECT_EQ(IDOK, dlg.DoModal()) << "an answer the box does not have is refused";
  EXPECT_NE(std::string::npos, transcript.Text().find("[Marlo] 请先选择路测轨迹 {OK} -> OK")) << transcript.Text();
  EXPECT_EQ(TD_WARNING_ICON, dlg.GetMainIconId());
  EXPECT_TRUE(dlg.IsMessageBoxStyle());
  EXPECT_EQ(CString(_T("Marlo")), dlg.GetWindowTitle());
}

TEST(CTextDialog, WithAskItShowsYesAndNoAndReturnsTheAnswer) {
  wintest::Transcript transcript;
  wintest::Script({"@answer NO", "@answer YES"});
  CTextDialog first(NULL, _T("是否继续?"), TD_INFORMATION_ICON, TRUE);
  EXPECT_EQ((std::vector<int>{IDYES, IDNO}), first.GetButtonIds());
  EXPECT_EQ(IDNO, first.DoModal());
  CTextDialog second(NULL, _T("是否继续?"), TD_INFORMATION_ICON, TRUE);
  EXPECT_EQ(IDYES, second.DoModal());
  EXPECT_NE(std::string::npos, transcript.Text().find("[Marlo] 是否继续? {YES NO} -> NO")) << transcript.Text();
  EXPECT_NE(std::string::npos, transcript.Text().find("[Marlo] 是否继续? {YES NO} -> YES")) << transcript.Text();
  EXPECT_EQ(TD_INFORMATION_ICON, first.GetMainIconId());
}

TEST(CTextDialog, KeepsItsOwner) {
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, L"Static", L"owner", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  CTextDialog dlg(&owner, _T("x"), TD_WARNING_ICON, FALSE);
  EXPECT_EQ(&owner, dlg.GetOwnerWindow());
  owner.DestroyWindow();
}

}  // namespace
