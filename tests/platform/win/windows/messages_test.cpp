// Windows and messages: creation, message maps, routing of notifications,
// the posted queue, focus with kill-focus, capture, keyboard state, timers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxwin.h"
#include "dlgscript.h"
#include "wintest.h"
#include "wndimpl.h"

namespace {

std::vector<std::string> g_log;

UINT WM_TESTREGISTERED = ::RegisterWindowMessageW(L"WindowsTest.Registered");
constexpr UINT WM_TESTUSER = WM_USER + 7;
constexpr UINT NM_TESTCODE = 0xFFF0;

class CLogWnd : public CWnd {
 public:
  int m_nCreated = 0;
  int m_nPainted = 0;
  bool m_bDestroyed = false;
  bool m_bNcDestroyedAndDeleted = false;
  CSize m_size;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    ++m_nCreated;
    g_log.push_back("create " + std::to_string(cs->cx) + "x" + std::to_string(cs->cy));
    return CWnd::OnCreate(cs);
  }
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    ++m_nPainted;
    dc.FillSolidRect(0, 0, 10, 10, RGB(255, 0, 0));
  }
  afx_msg void OnSize(UINT, int cx, int cy) { m_size = CSize(cx, cy); }
  afx_msg void OnDestroy() {
    m_bDestroyed = true;
    CWnd::OnDestroy();
  }
  afx_msg LRESULT OnTestUser(WPARAM w, LPARAM l) {
    g_log.push_back("user " + std::to_string(w) + " " + std::to_string(l));
    return static_cast<LRESULT>(w + l);
  }
  afx_msg LRESULT OnTestRegistered(WPARAM w, LPARAM) {
    g_log.push_back("registered " + std::to_string(w));
    return 99;
  }
  afx_msg void OnButton() { g_log.push_back("clicked 10"); }
  afx_msg void OnEditKill() { g_log.push_back("killfocus 11"); }
  afx_msg void OnRange(UINT id) { g_log.push_back("range " + std::to_string(id)); }
  afx_msg void OnTestNotify(NMHDR* hdr, LRESULT* result) {
    g_log.push_back("notify " + std::to_string(hdr->idFrom));
    *result = 5;
  }
  afx_msg void OnTimer(UINT_PTR id) { g_log.push_back("timer " + std::to_string(id)); }
  afx_msg void OnLButtonDown(UINT flags, CPoint pt) {
    g_log.push_back("ldown " + std::to_string(pt.x) + "," + std::to_string(pt.y) + ((flags & MK_SHIFT) ? " shift" : ""));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLogWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_DESTROY()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_MESSAGE(WM_TESTUSER, &CLogWnd::OnTestUser)
  ON_REGISTERED_MESSAGE(WM_TESTREGISTERED, &CLogWnd::OnTestRegistered)
  ON_BN_CLICKED(10, &CLogWnd::OnButton)
  ON_EN_KILLFOCUS(11, &CLogWnd::OnEditKill)
  ON_COMMAND_RANGE(20, 22, &CLogWnd::OnRange)
  ON_NOTIFY(NM_TESTCODE, 30, &CLogWnd::OnTestNotify)
END_MESSAGE_MAP()

// A derived window whose own entry comes before its base's.
class CDerivedWnd : public CLogWnd {
 protected:
  afx_msg void OnButtonFirst() { g_log.push_back("derived clicked 10"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CLogWnd)
  ON_BN_CLICKED(10, &CDerivedWnd::OnButtonFirst)
END_MESSAGE_MAP()

// A button that handles its own click by reflection.
class CSelfButton : public CButton {
 public:
  int m_nClicks = 0;

 protected:
  afx_msg void OnReflectedClick() { ++m_nClicks; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfButton, CButton)
  ON_CONTROL_REFLECT(BN_CLICKED, &CSelfButton::OnReflectedClick)
END_MESSAGE_MAP()

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    ASSERT_TRUE(m_wnd.CreateEx(0, AfxRegisterWndClass(0), L"Main", WS_POPUP | WS_VISIBLE, CRect(100, 100, 500, 400),
                               nullptr, 0));
  }
  void TearDown() override {
    if (m_wnd.m_hWnd) m_wnd.DestroyWindow();
  }
  CLogWnd m_wnd;
};

TEST_F(WindowsTest, CreationSendsCreateAndSizeThroughTheMap) {
  EXPECT_EQ(m_wnd.m_nCreated, 1);
  ASSERT_FALSE(g_log.empty());
  EXPECT_EQ(g_log[0], "create 400x300");
  EXPECT_EQ(m_wnd.m_size, CSize(400, 300));
  EXPECT_EQ(CWnd::FromHandlePermanent(m_wnd.m_hWnd), &m_wnd);
  m_wnd.MoveWindow(0, 0, 200, 150);
  EXPECT_EQ(m_wnd.m_size, CSize(200, 150));
}

TEST_F(WindowsTest, UserRegisteredAndUnmappedMessages) {
  EXPECT_EQ(m_wnd.SendMessage(WM_TESTUSER, 3, 4), 7);
  EXPECT_EQ(m_wnd.SendMessage(WM_TESTREGISTERED, 8, 0), 99);
  EXPECT_NE(WM_TESTREGISTERED, 0u);
  EXPECT_EQ(::RegisterWindowMessageW(L"windowstest.registered"), WM_TESTREGISTERED);
  // Unmapped messages go to the default procedure: text is kept there.
  m_wnd.SetWindowText(L"标题");
  CString text;
  m_wnd.GetWindowText(text);
  EXPECT_EQ(text, CString(L"标题"));
  EXPECT_EQ((std::vector<std::string>{"create 400x300", "user 3 4", "registered 8"}), g_log);
}

TEST_F(WindowsTest, ControlNotificationsReachTheParentsMap) {
  CButton button;
  ASSERT_TRUE(button.Create(L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 80, 30), &m_wnd, 10));
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 40, 80, 60), &m_wnd, 11));
  EXPECT_EQ(m_wnd.GetDlgItem(10), &button);
  edit.SetFocus();
  g_log.clear();
  button.SendMessage(BM_CLICK);
  // The click moves the focus first: the edit's kill-focus arrives before the click.
  EXPECT_EQ((std::vector<std::string>{"killfocus 11", "clicked 10"}), g_log);
  EXPECT_EQ(CWnd::GetFocus(), &button);

  g_log.clear();
  m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(21, 0), 0);
  m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(23, 0), 0);
  EXPECT_EQ((std::vector<std::string>{"range 21"}), g_log);

  NMHDR hdr{button.m_hWnd, 30, NM_TESTCODE};
  EXPECT_EQ(m_wnd.SendMessage(WM_NOTIFY, 30, reinterpret_cast<LPARAM>(&hdr)), 5);
  NMHDR other{button.m_hWnd, 31, NM_TESTCODE};
  EXPECT_EQ(m_wnd.SendMessage(WM_NOTIFY, 31, reinterpret_cast<LPARAM>(&other)), 0);
  EXPECT_EQ(g_log.back(), "notify 30");
}

TEST(WindowsRouting, DerivedEntriesComeFirstAndReflectionStaysInTheControl) {
  g_log.clear();
  CDerivedWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), 0);
  EXPECT_EQ(g_log.back(), "derived clicked 10");
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), std::string("clicked 10")), 0);

  CSelfButton self;
  ASSERT_TRUE(self.Create(L"self", WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), &wnd, 10));
  g_log.clear();
  self.SendMessage(BM_CLICK);
  EXPECT_EQ(self.m_nClicks, 1);
  EXPECT_TRUE(g_log.empty()) << "a reflected notification does not reach the parent";
  wnd.DestroyWindow();
  EXPECT_EQ(self.m_hWnd, nullptr) << "children are destroyed with their parent";
}

TEST_F(WindowsTest, PostedMessagesWaitInOrderUntilDispatched) {
  m_wnd.PostMessage(WM_TESTUSER, 1, 0);
  m_wnd.PostMessage(WM_TESTUSER, 2, 0);
  EXPECT_EQ(g_log.size(), 1u);
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  EXPECT_EQ((std::vector<std::string>{"create 400x300", "user 1 0", "user 2 0"}), g_log);
  // Messages for a window that is destroyed are dropped with it.
  m_wnd.PostMessage(WM_TESTUSER, 3, 0);
  m_wnd.DestroyWindow();
  EXPECT_TRUE(m_wnd.m_bDestroyed);
  EXPECT_FALSE(::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(WindowsTest, TimersFireOnTheVirtualClock) {
  m_wnd.SetTimer(5, 100);
  win::wnd::AdvanceClock(99);
  EXPECT_EQ(g_log.size(), 1u);
  win::wnd::AdvanceClock(1);
  EXPECT_EQ(g_log.back(), "timer 5");
  win::wnd::AdvanceClock(250);
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), std::string("timer 5")), 3);
  m_wnd.KillTimer(5);
  win::wnd::AdvanceClock(1000);
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), std::string("timer 5")), 3);
}

TEST_F(WindowsTest, CaptureAndKeyStateAndMouseLines) {
  CWnd other;
  ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &m_wnd, 40));
  m_wnd.SetCapture();
  EXPECT_EQ(::GetCapture(), m_wnd.m_hWnd);
  EXPECT_EQ(::GetKeyState(VK_SHIFT), 0);
  // A mouse line on the child goes to the window that holds the capture, in its coordinates.
  EXPECT_TRUE(win::HandleWindowLine(m_wnd.m_hWnd, "@mouse 40 ldown 5,6 SHIFT"));
  EXPECT_EQ(g_log.back(), "ldown 5,6 shift");
  ::ReleaseCapture();
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(::GetKeyState(VK_SHIFT), 0) << "modifiers are released after the line";
}

TEST_F(WindowsTest, ZOrderParentsAndClientCoordinates) {
  CStatic a, b;
  ASSERT_TRUE(a.Create(L"a", WS_CHILD | WS_VISIBLE, CRect(10, 20, 30, 40), &m_wnd, 1));
  ASSERT_TRUE(b.Create(L"b", WS_CHILD | WS_VISIBLE, CRect(10, 20, 30, 40), &m_wnd, 2));
  EXPECT_EQ(::GetWindow(m_wnd.m_hWnd, GW_CHILD), a.m_hWnd);
  EXPECT_EQ(::GetWindow(a.m_hWnd, GW_HWNDNEXT), b.m_hWnd);
  b.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(::GetWindow(m_wnd.m_hWnd, GW_CHILD), b.m_hWnd);
  CRect r;
  a.GetWindowRect(&r);
  EXPECT_EQ(r, CRect(110, 120, 130, 140));
  CPoint p(115, 125);
  a.ScreenToClient(&p);
  EXPECT_EQ(p, CPoint(5, 5));
  EXPECT_EQ(a.GetParent(), &m_wnd);
  a.ShowWindow(SW_HIDE);
  EXPECT_FALSE(a.IsWindowVisible());
  m_wnd.ShowWindow(SW_HIDE);
  EXPECT_FALSE(b.IsWindowVisible()) << "a child of a hidden window is not visible";
}

TEST_F(WindowsTest, PaintingRunsThePaintHandlerAndValidates) {
  m_wnd.Invalidate();
  m_wnd.UpdateWindow();
  EXPECT_EQ(m_wnd.m_nPainted, 1);
  m_wnd.UpdateWindow();
  EXPECT_EQ(m_wnd.m_nPainted, 1) << "a valid window is not painted again";
  CClientDC dc(&m_wnd);
  EXPECT_EQ(dc.GetPixel(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(dc.GetPixel(15, 15), ::GetSysColor(COLOR_BTNFACE)) << "the class background was erased first";
}

TEST(WindowsClasses, RegistryAndClassCursor) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.lpszClassName = L"WindowsTestClass";
  wc.hCursor = ::LoadCursorW(nullptr, IDC_CROSS);
  ASSERT_TRUE(AfxRegisterClass(&wc));
  EXPECT_TRUE(AfxRegisterClass(&wc)) << "registering again is fine for the class library";
  EXPECT_EQ(::RegisterClassW(&wc), 0) << "but not for the plain call";
  HWND h = ::CreateWindowExW(0, L"windowstestclass", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(::GetClassLongPtrW(h, GCLP_HCURSOR)), ::LoadCursorW(nullptr, IDC_CROSS));
  ::SetClassLongPtrW(h, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(::LoadCursorW(nullptr, IDC_ARROW)));
  ::SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(::CreateWindowExW(0, L"NoSuchClass", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  size_t before = win::wnd::WindowCount();
  ::DestroyWindow(h);
  EXPECT_EQ(win::wnd::WindowCount(), before - 1);
  EXPECT_FALSE(::IsWindow(h));
}

TEST(WindowsSubclass, SubclassDlgItemRoutesTheControlsMessages) {
  g_log.clear();
  CLogWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
  HWND raw = ::CreateWindowExW(0, L"Button", L"x", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent.m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(50)), nullptr, nullptr);
  ASSERT_NE(raw, nullptr);
  CSelfButton sub;
  ASSERT_TRUE(sub.SubclassDlgItem(50, &parent));
  EXPECT_EQ(sub.m_hWnd, raw);
  ::SendMessageW(raw, BM_CLICK, 0, 0);
  EXPECT_EQ(sub.m_nClicks, 1);
  EXPECT_FALSE(sub.SubclassDlgItem(50, &parent)) << "a window has one permanent object";
  parent.DestroyWindow();
}

}  // namespace

namespace {

class CHitWnd : public CWnd {
 public:
  std::vector<std::string> m_seen;

 protected:
  afx_msg LRESULT OnNcHitTest(CPoint pt) {
    CRect r;
    GetWindowRect(&r);
    return pt.x < r.left + 10 ? HTBORDER : HTCLIENT;
  }
  afx_msg BOOL OnSetCursor(CWnd*, UINT hit, UINT message) {
    m_seen.push_back("cursor " + std::to_string(hit) + " " + std::to_string(message));
    return TRUE;
  }
  afx_msg void OnMouseMove(UINT, CPoint pt) { m_seen.push_back("move " + std::to_string(pt.x)); }
  afx_msg BOOL OnMouseWheel(UINT, short delta, CPoint) {
    m_seen.push_back("wheel " + std::to_string(delta));
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHitWnd, CWnd)
  ON_WM_NCHITTEST()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

TEST(WindowsMouse, HitTestDecidesTheCursorAndTheWheelArrives) {
  CWnd top;
  ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 200), nullptr, 0));
  CHitWnd hit;
  ASSERT_TRUE(hit.CreateEx(0, AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, CRect(20, 20, 120, 120), &top, 77));
  EXPECT_TRUE(win::HandleWindowLine(top.m_hWnd, "@mouse 77 move 5,5"));
  EXPECT_TRUE(win::HandleWindowLine(top.m_hWnd, "@mouse 77 move 50,5"));
  EXPECT_TRUE(win::HandleWindowLine(top.m_hWnd, "@wheel 77 10,10 -240"));
  EXPECT_FALSE(win::HandleWindowLine(top.m_hWnd, "@mouse 77 jump 1,1"));
  EXPECT_FALSE(win::HandleWindowLine(top.m_hWnd, "@wheel 77 10,10"));
  std::vector<std::string> expected = {"cursor " + std::to_string(HTBORDER) + " " + std::to_string(WM_MOUSEMOVE), "move 5",
                                       "cursor " + std::to_string(HTCLIENT) + " " + std::to_string(WM_MOUSEMOVE), "move 50",
                                       "wheel -240"};
  EXPECT_EQ(expected, hit.m_seen);
  top.DestroyWindow();
}

}  // namespace
