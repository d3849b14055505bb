// The library's COM exceptions: their messages, the TRY/CATCH macros that
// delete what they caught, and an exception a message handler lets escape.
#include <gtest/gtest.h>

#include "afxdisp.h"
#include "afxwin.h"
#include "wintest.h"

namespace {

struct CountedException : CException {
  static int alive;
  CountedException() { ++alive; }
  ~CountedException() override { --alive; }
};
int CountedException::alive = 0;

TEST(LibraryExceptions, TheCatchMacrosTakeTheFirstMatchingHandlerAndDeleteTheException) {
  int handler = 0;
  TRY {
    throw new CountedException;
  }
  CATCH(CMemoryException, e) {
    handler = 1;
  }
  AND_CATCH(CException, e) {
    handler = 2;
  }
  END_CATCH
  EXPECT_EQ(2, handler);
  EXPECT_EQ(0, CountedException::alive);
  TRY {
    AfxThrowOleException(E_OUTOFMEMORY);
  }
  CATCH(CMemoryException, e) {
    handler = 3;
  }
  AND_CATCH(COleException, e) {
    handler = 4;
  }
  END_CATCH
  EXPECT_EQ(3, handler) << "out of memory is the memory exception";
}

TEST(LibraryExceptions, MessagesComeFromTheDescriptionTheCodeOrTheNumber) {
  wchar_t text[80];
  COleDispatchException described(L"模块加载失败", 0, 0);
  ASSERT_TRUE(described.GetErrorMessage(text, 80));
  EXPECT_STREQ(L"模块加载失败", text);
  COleDispatchException coded(nullptr, 7, 0);
  coded.m_scError = RPC_E_DISCONNECTED;
  UINT help = 0;
  ASSERT_TRUE(coded.GetErrorMessage(text, 80, &help));
  EXPECT_STREQ(L"The object invoked has disconnected from its clients.", text);
  EXPECT_EQ(7u, help);
  COleDispatchException numbered(L"", 0, 1002);
  ASSERT_TRUE(numbered.GetErrorMessage(text, 80));
  EXPECT_STREQ(L"Error 1002", text);
  COleException ole(CO_E_SERVER_EXEC_FAILURE);
  ASSERT_TRUE(ole.GetErrorMessage(text, 10));
  EXPECT_STREQ(L"Server ex", text) << "cut to the buffer";
  EXPECT_EQ(E_UNEXPECTED, COleException::Process(&numbered));
}

constexpr UINT WM_THROW = WM_USER + 11;

class CThrowingWnd : public CWnd {
 protected:
  afx_msg LRESULT OnThrow(WPARAM wParam, LPARAM) {
    if (wParam) AfxThrowOleException(REGDB_E_CLASSNOTREG);
    return 42;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
  ON_MESSAGE(WM_THROW, &CThrowingWnd::OnThrow)
END_MESSAGE_MAP()

TEST(LibraryExceptions, AnExceptionEscapingAHandlerIsReportedAndTheWindowLivesOn) {
  CThrowingWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, L"Static", L"thrower", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
  wintest::Transcript transcript;
  wintest::Script({});
  EXPECT_EQ(0, wnd.SendMessage(WM_THROW, 1));
  EXPECT_NE(std::string::npos, transcript.Text().find("] Class not registered {OK} -> OK")) << transcript.Text();
  EXPECT_EQ(42, wnd.SendMessage(WM_THROW, 0));
  wnd.DestroyWindow();
}

}  // namespace
