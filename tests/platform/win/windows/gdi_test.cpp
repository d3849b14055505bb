// Drawing into memory bitmaps: shapes, raster operations, clipping, text
// measuring with DrawText and the ellipsis.
#include <gtest/gtest.h>

#include "afxwin.h"
#include "gdiimpl.h"

namespace {

class GdiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(m_bmp.CreateCompatibleBitmap(&m_dc, 200, 100));
    m_old = m_dc.SelectObject(&m_bmp);
    m_dc.FillSolidRect(0, 0, 200, 100, RGB(255, 255, 255));
  }
  void TearDown() override { m_dc.SelectObject(m_old); }
  int CountPixels(const CRect& r, COLORREF c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += m_dc.GetPixel(x, y) == c;
    return n;
  }
  int CountNotWhite(const CRect& r) { return r.Width() * r.Height() - CountPixels(r, RGB(255, 255, 255)); }

  CDC m_dc;
  CBitmap m_bmp;
  CBitmap* m_old = nullptr;
};

TEST(GdiBasics, MulDivRoundsAndRefusesZero) {
  EXPECT_EQ(MulDiv(8, 96, 72), 11);
  EXPECT_EQ(MulDiv(-8, 96, 72), -11);
  EXPECT_EQ(MulDiv(5, 1, 2), 3);
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(1, 2, 0), -1);
  EXPECT_EQ(::GetDeviceCaps(nullptr, LOGPIXELSX), 96);
}

TEST_F(GdiTest, RectangleFillsInsideItsPen) {
  CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
  CBrush brush(RGB(0, 255, 0));
  CPen* op = m_dc.SelectObject(&pen);
  CBrush* ob = m_dc.SelectObject(&brush);
  m_dc.Rectangle(10, 10, 20, 20);
  m_dc.SelectObject(op);
  m_dc.SelectObject(ob);
  EXPECT_EQ(m_dc.GetPixel(10, 10), RGB(0, 0, 255));
  EXPECT_EQ(m_dc.GetPixel(19, 19), RGB(0, 0, 255));
  EXPECT_EQ(m_dc.GetPixel(15, 15), RGB(0, 255, 0));
  EXPECT_EQ(m_dc.GetPixel(20, 20), RGB(255, 255, 255)) << "right and bottom edges are exclusive";
  EXPECT_EQ(CountPixels(CRect(10, 10, 20, 20), RGB(0, 0, 255)), 36);
}

TEST_F(GdiTest, NotAndXorPensUndoThemselves) {
  m_dc.FillSolidRect(0, 0, 50, 50, RGB(10, 20, 30));
  CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
  CPen* op = m_dc.SelectObject(&pen);
  m_dc.SetROP2(R2_XORPEN);
  m_dc.MoveTo(0, 5);
  m_dc.LineTo(40, 5);
  EXPECT_EQ(m_dc.GetPixel(20, 5), RGB(10 ^ 255, 20, 30));
  m_dc.MoveTo(0, 5);
  m_dc.LineTo(40, 5);
  EXPECT_EQ(m_dc.GetPixel(20, 5), RGB(10, 20, 30));
  m_dc.SetROP2(R2_NOT);
  m_dc.MoveTo(0, 8);
  m_dc.LineTo(40, 8);
  EXPECT_EQ(m_dc.GetPixel(20, 8), RGB(245, 235, 225));
  m_dc.SetROP2(R2_COPYPEN);
  m_dc.SelectObject(op);
  CRect r(60, 10, 70, 20);
  m_dc.InvertRect(&r);
  EXPECT_EQ(m_dc.GetPixel(65, 15), RGB(0, 0, 0));
  m_dc.DrawFocusRect(&r);
  m_dc.DrawFocusRect(&r);
  EXPECT_EQ(CountPixels(r, RGB(0, 0, 0)), 100) << "a focus rectangle drawn twice leaves nothing";
}

TEST_F(GdiTest, ClipRegionsLimitDrawingAndSaveDCRestoresThem) {
  CRgn rgn;
  rgn.CreateRectRgn(0, 0, 50, 50);
  int saved = m_dc.SaveDC();
  m_dc.SelectClipRgn(&rgn);
  m_dc.ExcludeClipRect(10, 10, 20, 20);
  m_dc.FillSolidRect(0, 0, 200, 100, RGB(0, 0, 0));
  EXPECT_EQ(m_dc.GetPixel(15, 15), CLR_INVALID) << "outside the clip nothing is read";
  EXPECT_EQ(m_dc.GetPixel(5, 5), RGB(0, 0, 0));
  m_dc.RestoreDC(saved);
  EXPECT_EQ(m_dc.GetPixel(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(m_dc.GetPixel(15, 15), RGB(255, 255, 255));
  EXPECT_EQ(m_dc.GetPixel(60, 5), RGB(255, 255, 255));
  CRect box;
  EXPECT_EQ(m_dc.GetClipBox(&box), SIMPLEREGION);
  EXPECT_EQ(box, CRect(0, 0, 200, 100));
}

TEST_F(GdiTest, ViewportOriginMovesDrawing) {
  m_dc.SetViewportOrg(100, 50);
  m_dc.FillSolidRect(0, 0, 5, 5, RGB(255, 0, 0));
  m_dc.SetViewportOrg(0, 0);
  EXPECT_EQ(m_dc.GetPixel(102, 52), RGB(255, 0, 0));
  EXPECT_EQ(m_dc.GetPixel(2, 2), RGB(255, 255, 255));
}

TEST_F(GdiTest, DrawTextMeasuresWrapsAndEllipsizes) {
  LOGFONT lf{};
  lf.lfHeight = -12;
  wcscpy(lf.lfFaceName, L"宋体");
  CFont font;
  ASSERT_TRUE(font.CreateFontIndirect(&lf));
  CFont* of = m_dc.SelectObject(&font);
  CRect one(0, 0, 1000, 0);
  int h = m_dc.DrawText(L"测试文字", -1, &one, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(h, 10);
  EXPECT_LT(h, 20);
  EXPECT_GE(one.Width(), 4 * 10) << "four Chinese characters of a 12-pixel face";
  EXPECT_LE(one.Width(), 4 * 14);
  CRect two(0, 0, 1000, 0);
  m_dc.DrawText(L"测试文字测试文字", -1, &two, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_NEAR(two.Width(), 2 * one.Width(), 2);
  CRect prefix(0, 0, 1000, 0), noPrefix(0, 0, 1000, 0);
  m_dc.DrawText(L"&&A", -1, &prefix, DT_CALCRECT | DT_SINGLELINE);
  m_dc.DrawText(L"&A", -1, &noPrefix, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(prefix.Width(), noPrefix.Width()) << "&& shows one ampersand";

  CRect wrapped(0, 0, one.Width() + 2, 0);
  int wh = m_dc.DrawText(L"测试文字测试文字测试文字", -1, &wrapped, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_GE(wh, 3 * h - 2) << "three lines";
  EXPECT_LE(wrapped.Width(), one.Width() + 2);

  // Drawn with the ellipsis, a long text stays inside its rectangle.
  CRect box(10, 10, 70, 30);
  m_dc.SetBkMode(TRANSPARENT);
  m_dc.DrawText(L"测试文字测试文字测试文字", -1, &box, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  EXPECT_GT(CountNotWhite(box), 20);
  EXPECT_EQ(CountNotWhite(CRect(70, 0, 200, 100)), 0);
  EXPECT_EQ(CountNotWhite(CRect(0, 30, 200, 100)), 0);
  m_dc.SelectObject(of);
}

TEST_F(GdiTest, TextOutWithOpaqueBackground) {
  m_dc.SetBkMode(OPAQUE);
  m_dc.SetBkColor(RGB(255, 255, 0));
  m_dc.SetTextColor(RGB(0, 0, 0));
  m_dc.TextOut(5, 5, CString(L"Ab"));
  CSize ext = m_dc.GetTextExtent(CString(L"Ab"));
  EXPECT_GT(ext.cx, 5);
  EXPECT_EQ(m_dc.GetPixel(5 + ext.cx - 1, 5), RGB(255, 255, 0));
  EXPECT_GT(CountPixels(CRect(5, 5, 5 + ext.cx, 5 + ext.cy), RGB(255, 255, 0)), 0);
  TEXTMETRIC tm;
  m_dc.GetTextMetrics(&tm);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GT(tm.tmAveCharWidth, 2);
}

TEST_F(GdiTest, FrameControlsAndEdges) {
  CRect check(0, 0, 13, 13), unchecked(20, 0, 33, 13);
  m_dc.DrawFrameControl(&check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  m_dc.DrawFrameControl(&unchecked, DFC_BUTTON, DFCS_BUTTONCHECK);
  int darkChecked = CountPixels(CRect(3, 3, 10, 10), RGB(0, 0, 0)) + CountNotWhite(CRect(3, 3, 10, 10));
  EXPECT_GT(darkChecked, 5) << "the check mark";
  EXPECT_EQ(CountNotWhite(CRect(23, 3, 30, 10)), 0);
  CRect edge(40, 0, 60, 20);
  m_dc.DrawEdge(&edge, EDGE_SUNKEN, BF_RECT);
  EXPECT_EQ(m_dc.GetPixel(40, 0), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(m_dc.GetPixel(59, 19), ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(GdiTest, BitBltCopiesBetweenMemoryContexts) {
  CDC other;
  other.CreateCompatibleDC(&m_dc);
  CBitmap bmp;
  bmp.CreateCompatibleBitmap(&m_dc, 10, 10);
  CBitmap* old = other.SelectObject(&bmp);
  other.FillSolidRect(0, 0, 10, 10, RGB(1, 2, 3));
  m_dc.BitBlt(100, 50, 10, 10, &other, 0, 0, SRCCOPY);
  EXPECT_EQ(m_dc.GetPixel(105, 55), RGB(1, 2, 3));
  EXPECT_EQ(m_dc.GetPixel(110, 55), RGB(255, 255, 255));
  // Part of the source, to another place: each pixel from its own source pixel.
  other.SetPixel(7, 8, RGB(200, 0, 100));
  m_dc.BitBlt(20, 30, 5, 5, &other, 5, 5, SRCCOPY);
  EXPECT_EQ(m_dc.GetPixel(22, 33), RGB(200, 0, 100));
  EXPECT_EQ(m_dc.GetPixel(21, 33), RGB(1, 2, 3));
  EXPECT_EQ(m_dc.GetPixel(25, 33), RGB(255, 255, 255));
  // A source rectangle running past the bitmap copies only what the bitmap has.
  m_dc.BitBlt(40, 30, 10, 10, &other, 5, 5, SRCCOPY);
  EXPECT_EQ(m_dc.GetPixel(42, 33), RGB(200, 0, 100));
  EXPECT_EQ(m_dc.GetPixel(45, 33), RGB(255, 255, 255));
  EXPECT_FALSE(::DeleteObject(bmp.m_hObject)) << "a selected bitmap is not deleted";
  other.SelectObject(old);
  BITMAP bm;
  bmp.GetBitmap(&bm);
  EXPECT_EQ(bm.bmWidth, 10);
}

TEST(GdiFonts, FacesMapToInstalledFontsWithChineseGlyphs) {
  LOGFONT lf{};
  wcscpy(lf.lfFaceName, L"宋体");
  EXPECT_EQ(win::gdi::ResolvedFamily(lf), L"WenQuanYi Zen Hei");
  wcscpy(lf.lfFaceName, L"Tahoma");
  EXPECT_NE(win::gdi::ResolvedFamily(lf).find(L"WenQuanYi Zen Hei"), std::wstring::npos);
}

}  // namespace
