// Scaled map modes and printer contexts: logical and device points both
// ways, the clip box in logical units, what a printer context reports, its
// document calls in the wrong order, and pixels that a page does not have.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "afxwin.h"

namespace {

TEST(MapModeTest, AnisotropicScalesPointsClipAndDrawing) {
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
  CBitmap bitmap;
  bitmap.CreateBitmap(200, 200, 1, 32, nullptr);
  CBitmap* old = dc.SelectObject(&bitmap);
  EXPECT_EQ(MM_TEXT, dc.SetMapMode(MM_ANISOTROPIC));
  dc.SetWindowExt(100, 100);
  dc.SetViewportExt(200, 100);  // twice as wide, as high
  dc.SetWindowOrg(-10, 0);
  POINT p{20, 30};
  dc.LPtoDP(&p);
  EXPECT_EQ(60, p.x);
  EXPECT_EQ(30, p.y);
  dc.DPtoLP(&p);
  EXPECT_EQ(20, p.x);
  dc.IntersectClipRect(0, 0, 40, 50);
  CRect box;
  dc.GetClipBox(&box);
  EXPECT_EQ(CRect(0, 0, 40, 50), box);
  dc.FillSolidRect(CRect(0, 0, 5, 5), RGB(255, 0, 0));
  dc.SetMapMode(MM_TEXT);
  dc.SetWindowOrg(0, 0);
  dc.SelectClipRgn(nullptr);
  EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(29, 4)) << "logical 0..5 from x 10 is device 20..30";
  EXPECT_NE(RGB(255, 0, 0), dc.GetPixel(31, 4));
  EXPECT_EQ(0, ::SetMapMode(dc.GetSafeHdc(), 4)) << "a metric mode is not kept";
  dc.SelectObject(old);
}

TEST(PrinterDCTest, CapsDocumentOrderAndNoPixels) {
  char dir[] = "/tmp/printdcXXXXXX";
  ASSERT_NE(nullptr, mkdtemp(dir));
  std::string file = std::string(dir) + "/doc.pdf";
  CDC dc;
  ASSERT_TRUE(dc.CreateDC(L"WINSPOOL", CString(file.c_str()), nullptr, nullptr));
  EXPECT_EQ(4961, dc.GetDeviceCaps(HORZRES));
  EXPECT_EQ(7016, dc.GetDeviceCaps(VERTRES));
  EXPECT_EQ(600, dc.GetDeviceCaps(LOGPIXELSY));
  EXPECT_EQ(210, dc.GetDeviceCaps(HORZSIZE));
  EXPECT_EQ(DT_RASPRINTER, dc.GetDeviceCaps(TECHNOLOGY));
  EXPECT_EQ(SP_ERROR, dc.StartPage()) << "no document yet";
  ASSERT_GT(dc.StartDoc(L"test"), 0);
  EXPECT_EQ(SP_ERROR, dc.StartDoc(L"again"));
  EXPECT_EQ(SP_ERROR, dc.EndPage()) << "no page yet";
  ASSERT_GT(dc.StartPage(), 0);
  dc.FillSolidRect(CRect(0, 0, 100, 100), RGB(0, 0, 0));
  EXPECT_EQ(CLR_INVALID, dc.GetPixel(10, 10)) << "a page has no pixels to read";
  CDC memory;
  memory.CreateCompatibleDC(nullptr);
  EXPECT_FALSE(dc.BitBlt(0, 0, 10, 10, &memory, 0, 0, SRCCOPY));
  ASSERT_GT(dc.EndPage(), 0);
  ASSERT_GT(dc.EndDoc(), 0);
  EXPECT_GT(std::filesystem::file_size(file), 100u);
  // A document dropped half-way leaves no file; one with no page fails.
  std::string dropped = std::string(dir) + "/dropped.pdf";
  CString strDropped(dropped.c_str());
  DOCINFO di{sizeof(DOCINFO), L"dropped", strDropped, nullptr, 0};
  ASSERT_GT(dc.StartDoc(&di), 0);
  dc.StartPage();
  EXPECT_GT(dc.AbortDoc(), 0);
  EXPECT_FALSE(std::filesystem::exists(dropped));
  ASSERT_GT(dc.StartDoc(&di), 0);
  EXPECT_EQ(SP_ERROR, dc.EndDoc());
  EXPECT_FALSE(std::filesystem::exists(dropped));
  dc.DeleteDC();
  EXPECT_EQ(nullptr, ::CreateDCW(nullptr, L"DISPLAY", nullptr, nullptr));
  std::filesystem::remove_all(dir);
}

}  // namespace
