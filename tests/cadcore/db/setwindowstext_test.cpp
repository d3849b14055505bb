// Window captions of the CAD modules' dialogs: the maker's name in front.
#include <gtest/gtest.h>

#include "GlobalVars.h"
#include "afxwin.h"

namespace {

class CaptionWindow {
 public:
  explicit CaptionWindow(LPCTSTR caption, DWORD dwStyle = WS_POPUP) {
    m_wnd.CreateEx(0, L"Static", caption, dwStyle, CRect(0, 0, 100, 40), nullptr, 0);
  }
  ~CaptionWindow() { m_wnd.DestroyWindow(); }
  CWnd* Wnd() { return &m_wnd; }
  CString Caption() const {
    CString text;
    m_wnd.GetWindowText(text);
    return text;
  }

 private:
  CWnd m_wnd;
};

TEST(SetWindownsText, PrefixesTheCaptionWithTheMakersName) {
  CaptionWindow window(L"路测");
  ASSERT_NE(nullptr, window.Wnd()->GetSafeHwnd());
  CGlobalVars::SetWindownsText(window.Wnd());
  EXPECT_EQ(CString(L"Marlo-路测"), window.Caption());
  CGlobalVars::SetWindownsText(window.Wnd());
  EXPECT_EQ(CString(L"Marlo-Marlo-路测"), window.Caption()) << "each call adds the prefix once more";
}

TEST(SetWindownsText, AnEmptyCaptionGetsTheNameAndTheHyphen) {
  CaptionWindow window(L"");
  CGlobalVars::SetWindownsText(window.Wnd());
  EXPECT_EQ(CString(L"Marlo-"), window.Caption());
}

TEST(SetWindownsText, WithoutAWindowNoCaptionChanges) {
  // A visible window is the active one: it must not take the prefix meant for
  // a window that is not there.
  CaptionWindow active(L"路测", WS_POPUP | WS_VISIBLE);
  ASSERT_EQ(active.Wnd()->GetSafeHwnd(), ::GetActiveWindow());
  CGlobalVars::SetWindownsText(nullptr);
  CWnd notCreated;
  CGlobalVars::SetWindownsText(&notCreated);
  EXPECT_EQ(nullptr, notCreated.GetSafeHwnd());
  EXPECT_EQ(CString(L"路测"), active.Caption());
}

}  // namespace
