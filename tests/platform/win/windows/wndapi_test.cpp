// The window calls the class library seldom reaches directly: scroll bar
// ranges and clamping, hit testing and coordinate mapping through nested
// children, re-parenting, window properties, the update region and integer
// dialog items.
#include <gtest/gtest.h>

#include "afxwin.h"
#include "wintest.h"

namespace {

class WndApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_top = ::CreateWindowExW(0, L"Static", L"top", WS_POPUP | WS_VISIBLE, 100, 50, 300, 200, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(nullptr, m_top);
    m_child = ::CreateWindowExW(0, L"Static", L"child", WS_CHILD | WS_VISIBLE, 20, 10, 100, 80, m_top,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(10)), nullptr, nullptr);
    m_grandchild = ::CreateWindowExW(0, L"Static", L"gc", WS_CHILD | WS_VISIBLE, 5, 5, 30, 30, m_child,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(11)), nullptr, nullptr);
    ASSERT_NE(nullptr, m_grandchild);
  }
  void TearDown() override {
    if (::IsWindow(m_top)) ::DestroyWindow(m_top);
  }
  HWND m_top = nullptr, m_child = nullptr, m_grandchild = nullptr;
};

TEST_F(WndApiTest, ScrollPositionsStayInsideTheRangeLessThePage) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 500;
  ::SetScrollInfo(m_top, SB_VERT, &si, FALSE);
  SCROLLINFO got{};
  got.cbSize = sizeof got;
  got.fMask = SIF_ALL;
  ASSERT_TRUE(::GetScrollInfo(m_top, SB_VERT, &got));
  EXPECT_EQ(90, got.nPos) << "the last position shows the last page";
  EXPECT_EQ(10u, got.nPage);
  si.fMask = SIF_POS;
  si.nPos = -7;
  ::SetScrollInfo(m_top, SB_VERT, &si, FALSE);
  EXPECT_EQ(0, ::GetScrollPos(m_top, SB_VERT));
  ::SetScrollRange(m_top, SB_HORZ, 5, 40, FALSE);
  int lo = 0, hi = 0;
  ::GetScrollRange(m_top, SB_HORZ, &lo, &hi);
  EXPECT_EQ(5, lo);
  EXPECT_EQ(40, hi);
  ::SetScrollPos(m_top, SB_HORZ, 100, FALSE);
  EXPECT_EQ(40, ::GetScrollPos(m_top, SB_HORZ)) << "a position past the end goes to the end";
}

TEST_F(WndApiTest, PointsMapThroughNestedChildren) {
  POINT p{1, 2};
  ASSERT_TRUE(::ClientToScreen(m_grandchild, &p));
  POINT origin{0, 0};
  ::ClientToScreen(m_top, &origin);
  EXPECT_EQ(origin.x + 20 + 5 + 1, p.x);
  EXPECT_EQ(origin.y + 10 + 5 + 2, p.y);
  POINT back = p;
  ::ScreenToClient(m_child, &back);
  EXPECT_EQ(6, back.x);
  EXPECT_EQ(7, back.y);
  POINT q{3, 4};
  EXPECT_EQ(MAKELONG(25, 15), ::MapWindowPoints(m_grandchild, m_top, &q, 1));
  EXPECT_EQ(28, q.x);
  EXPECT_EQ(19, q.y);
}

TEST_F(WndApiTest, HitTestingFindsTheDeepestVisibleChild) {
  POINT origin{0, 0};
  ::ClientToScreen(m_top, &origin);
  EXPECT_EQ(m_grandchild, ::WindowFromPoint(POINT{origin.x + 30, origin.y + 20}));
  EXPECT_EQ(m_child, ::WindowFromPoint(POINT{origin.x + 100, origin.y + 80}));
  EXPECT_EQ(m_top, ::WindowFromPoint(POINT{origin.x + 200, origin.y + 150}));
  EXPECT_EQ(m_child, ::ChildWindowFromPoint(m_top, POINT{30, 20})) << "only the direct child";
  EXPECT_EQ(m_top, ::ChildWindowFromPoint(m_top, POINT{200, 150}));
  ::ShowWindow(m_grandchild, SW_HIDE);
  EXPECT_EQ(m_child, ::WindowFromPoint(POINT{origin.x + 30, origin.y + 20})) << "hidden windows are not hit";
}

TEST_F(WndApiTest, SetParentMovesTheWindowToTheNewParent) {
  EXPECT_TRUE(::IsChild(m_top, m_grandchild));
  EXPECT_EQ(m_child, ::SetParent(m_grandchild, m_top));
  EXPECT_EQ(m_top, ::GetParent(m_grandchild));
  EXPECT_EQ(nullptr, ::GetDlgItem(m_child, 11));
  EXPECT_EQ(m_grandchild, ::GetDlgItem(m_top, 11));
  ::DestroyWindow(m_child);
  EXPECT_TRUE(::IsWindow(m_grandchild)) << "it no longer goes with its old parent";
  ::DestroyWindow(m_top);
  EXPECT_FALSE(::IsWindow(m_grandchild)) << "it goes with its new one";
}

TEST_F(WndApiTest, PropertiesAreKeptPerWindowAndName) {
  int a = 1, b = 2;
  EXPECT_TRUE(::SetPropW(m_top, L"Data", &a));
  EXPECT_TRUE(::SetPropW(m_child, L"Data", &b));
  EXPECT_EQ(&a, ::GetPropW(m_top, L"Data"));
  EXPECT_EQ(&b, ::GetPropW(m_child, L"Data"));
  EXPECT_EQ(nullptr, ::GetPropW(m_top, L"Other"));
  EXPECT_EQ(&a, ::RemovePropW(m_top, L"Data"));
  EXPECT_EQ(nullptr, ::GetPropW(m_top, L"Data"));
  EXPECT_EQ(nullptr, ::RemovePropW(m_top, L"Data"));
}

TEST_F(WndApiTest, TheUpdateRegionCoversWhatWasInvalidatedUntilValidated) {
  ::ValidateRect(m_top, nullptr);
  RECT r{};
  EXPECT_FALSE(::GetUpdateRect(m_top, &r, FALSE));
  RECT a{10, 10, 20, 20}, b{50, 40, 60, 70};
  ::InvalidateRect(m_top, &a, FALSE);
  ::InvalidateRect(m_top, &b, FALSE);
  ASSERT_TRUE(::GetUpdateRect(m_top, &r, FALSE));
  // The whole client area may be repainted; both parts must be in it.
  RECT both{};
  ::UnionRect(&both, &a, &b);
  RECT inside{};
  ::IntersectRect(&inside, &r, &both);
  EXPECT_TRUE(::EqualRect(&inside, &both));
  ::ValidateRect(m_top, nullptr);
  EXPECT_FALSE(::GetUpdateRect(m_top, &r, FALSE));
}

TEST_F(WndApiTest, IntegerDialogItemsRoundTripAndRefuseText) {
  HWND edit = ::CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, m_top,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(12)), nullptr, nullptr);
  ASSERT_NE(nullptr, edit);
  ::SetDlgItemInt(m_top, 12, static_cast<UINT>(-42), TRUE);
  BOOL ok = FALSE;
  EXPECT_EQ(-42, static_cast<int>(::GetDlgItemInt(m_top, 12, &ok, TRUE)));
  EXPECT_TRUE(ok);
  ::SetDlgItemTextW(m_top, 12, L"12x");
  ::GetDlgItemInt(m_top, 12, &ok, TRUE);
  EXPECT_FALSE(ok) << "text after the digits is not a number";
  ::SetDlgItemTextW(m_top, 12, L"");
  ::GetDlgItemInt(m_top, 12, &ok, TRUE);
  EXPECT_FALSE(ok);
}

}  // namespace
