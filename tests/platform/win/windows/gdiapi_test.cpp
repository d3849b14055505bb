// Device-context state the drawing calls depend on: origins and the point
// conversions, pixels, pattern fills, clipping with save and restore, and
// stock objects.
#include <gtest/gtest.h>

#include "wingdi.h"
#include "winuser.h"

namespace {

// A memory device context over a white 40x30 bitmap.
class MemoryDc : public ::testing::Test {
 protected:
  void SetUp() override {
    HDC screen = ::GetDC(nullptr);
    m_dc = ::CreateCompatibleDC(screen);
    m_bitmap = ::CreateCompatibleBitmap(screen, 40, 30);
    ::ReleaseDC(nullptr, screen);
    ASSERT_NE(nullptr, m_dc);
    ASSERT_NE(nullptr, m_bitmap);
    m_old = ::SelectObject(m_dc, m_bitmap);
    RECT all{0, 0, 40, 30};
    ::FillRect(m_dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  void TearDown() override {
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
  }
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
};

TEST_F(MemoryDc, OriginsShiftDrawingAndTheConversionsAgree) {
  POINT old{};
  ::SetViewportOrgEx(m_dc, 10, 5, &old);
  EXPECT_EQ(0, old.x);
  ::SetWindowOrgEx(m_dc, 2, 1, nullptr);
  POINT p[2] = {{0, 0}, {4, 6}};
  ::LPtoDP(m_dc, p, 2);
  EXPECT_EQ(8, p[0].x);
  EXPECT_EQ(4, p[0].y);
  EXPECT_EQ(12, p[1].x);
  EXPECT_EQ(10, p[1].y);
  ::DPtoLP(m_dc, p, 2);
  EXPECT_EQ(0, p[0].x);
  EXPECT_EQ(6, p[1].y);
  ::SetPixel(m_dc, 3, 3, RGB(255, 0, 0));
  ::SetViewportOrgEx(m_dc, 0, 0, nullptr);
  ::SetWindowOrgEx(m_dc, 0, 0, nullptr);
  EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(m_dc, 3 - 2 + 10, 3 - 1 + 5)) << "the pixel lands at the device point";
  EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(m_dc, 3, 3));
  ::OffsetViewportOrgEx(m_dc, 3, 4, nullptr);
  ::OffsetViewportOrgEx(m_dc, 3, 4, &old);
  EXPECT_EQ(3, old.x);
  EXPECT_EQ(4, old.y);
}

TEST_F(MemoryDc, PixelsOutsideTheBitmapAreInvalid) {
  EXPECT_EQ(CLR_INVALID, ::GetPixel(m_dc, 40, 0));
  EXPECT_EQ(CLR_INVALID, ::GetPixel(m_dc, -1, 5));
  EXPECT_EQ(CLR_INVALID, ::SetPixel(m_dc, 0, 30, RGB(0, 0, 0)));
}

TEST_F(MemoryDc, PatBltWithBlacknessAndDstInvert) {
  ::PatBlt(m_dc, 5, 5, 10, 10, BLACKNESS);
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(m_dc, 5, 5));
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(m_dc, 14, 14));
  EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(m_dc, 15, 15)) << "the right and bottom edges are exclusive";
  ::PatBlt(m_dc, 0, 0, 10, 10, DSTINVERT);
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(m_dc, 0, 0));
  EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(m_dc, 6, 6)) << "inverting black gives white";
}

TEST_F(MemoryDc, ClippingNarrowsAndRestoreDcWidensAgain) {
  int saved = ::SaveDC(m_dc);
  ASSERT_NE(0, saved);
  ::IntersectClipRect(m_dc, 10, 10, 20, 20);
  ::ExcludeClipRect(m_dc, 10, 10, 15, 15);
  EXPECT_FALSE(::PtVisible(m_dc, 12, 12));
  EXPECT_TRUE(::PtVisible(m_dc, 17, 17));
  EXPECT_FALSE(::PtVisible(m_dc, 25, 25));
  RECT all{0, 0, 40, 30};
  ::FillRect(m_dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(CLR_INVALID, ::GetPixel(m_dc, 12, 12)) << "a pixel outside the clipping region cannot be read";
  EXPECT_EQ(CLR_INVALID, ::SetPixel(m_dc, 25, 25, RGB(0, 0, 0))) << "nor set";
  EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(m_dc, 17, 17));
  ASSERT_TRUE(::RestoreDC(m_dc, saved));
  EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(m_dc, 12, 12));
  EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(m_dc, 25, 25));
  EXPECT_TRUE(::PtVisible(m_dc, 25, 25));
  RECT box{};
  ::GetClipBox(m_dc, &box);
  EXPECT_EQ(40, box.right);
  EXPECT_EQ(30, box.bottom);
}

TEST(StockObjects, AreSharedAndSurviveDeleteObject) {
  HGDIOBJ brush = ::GetStockObject(WHITE_BRUSH);
  ASSERT_NE(nullptr, brush);
  EXPECT_EQ(brush, ::GetStockObject(WHITE_BRUSH));
  ::DeleteObject(brush);
  LOGBRUSH lb{};
  EXPECT_EQ(static_cast<int>(sizeof lb), ::GetObjectW(brush, sizeof lb, &lb)) << "a stock object is never deleted";
  EXPECT_EQ(RGB(255, 255, 255), lb.lbColor);
  EXPECT_NE(::GetStockObject(BLACK_PEN), ::GetStockObject(WHITE_PEN));
}

}  // namespace
