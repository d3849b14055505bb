// Module images, image lists and the date-time picker.
#include <cairo.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxcmn.h"
#include "resourcetable.h"

namespace {

constexpr uint32_t R = 0xFFFF0000, M = 0xFFFF00FF, B = 0xFF0000FF, T = 0x00000000;

const win::ResourceTable kImages{
    {},
    {{300, L"电平测试"}},
    {win::ImageResource{301, IMAGE_BITMAP, nullptr, 0, 4, 2, {R, R, B, M, R, R, B, B}},
     win::ImageResource{302, IMAGE_ICON, nullptr, 0, 2, 2, {B, T, T, B}}}};

HINSTANCE Instance() { return kImages.Instance(); }

class MemoryDC : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dc.CreateCompatibleDC(nullptr);
    m_bmp.CreateCompatibleBitmap(&m_dc, 20, 20);
    m_old = m_dc.SelectObject(&m_bmp);
    m_dc.FillSolidRect(0, 0, 20, 20, RGB(255, 255, 255));
  }
  void TearDown() override { m_dc.SelectObject(m_old); }
  CDC m_dc;
  CBitmap m_bmp;
  CBitmap* m_old = nullptr;
};

TEST_F(MemoryDC, ModuleStringsBitmapsAndIcons) {
  wchar_t buf[16];
  EXPECT_EQ(::LoadStringW(Instance(), 300, buf, 16), 4);
  EXPECT_STREQ(buf, L"电平测试");
  EXPECT_EQ(::LoadStringW(Instance(), 399, buf, 16), 0);
  HICON icon = ::LoadIconW(Instance(), MAKEINTRESOURCEW(302));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(::LoadIconW(Instance(), MAKEINTRESOURCEW(301)), nullptr) << "an icon is not looked up among bitmaps";
  m_dc.DrawIcon(5, 5, icon);
  EXPECT_EQ(m_dc.GetPixel(5, 5), RGB(0, 0, 255));
  EXPECT_EQ(m_dc.GetPixel(6, 5), RGB(255, 255, 255)) << "transparent pixels keep the background";
  ::DestroyIcon(icon);
  EXPECT_NE(::LoadIconW(nullptr, IDI_WARNING), nullptr);
  EXPECT_EQ(::LoadIconW(nullptr, IDI_WARNING), ::LoadIconW(nullptr, IDI_WARNING)) << "system icons are shared";
}

TEST_F(MemoryDC, ImageListCutsAStripAndMasksAColour) {
  CBitmap strip;
  AfxSetResourceHandle(Instance());
  ASSERT_TRUE(strip.LoadBitmap(301));
  AfxSetResourceHandle(nullptr);
  CImageList list;
  ASSERT_TRUE(list.Create(2, 2, ILC_COLOR32 | ILC_MASK, 2, 1));
  EXPECT_EQ(list.Add(&strip, RGB(255, 0, 255)), 0);
  EXPECT_EQ(list.GetImageCount(), 2);
  list.Draw(&m_dc, 1, CPoint(10, 10), ILD_NORMAL);
  EXPECT_EQ(m_dc.GetPixel(10, 10), RGB(0, 0, 255));
  EXPECT_EQ(m_dc.GetPixel(11, 10), RGB(255, 255, 255)) << "the mask colour is transparent";
  HICON first = list.ExtractIcon(0);
  ASSERT_NE(first, nullptr);
  m_dc.DrawIcon(0, 0, first);
  EXPECT_EQ(m_dc.GetPixel(1, 1), RGB(255, 0, 0));
  ::DestroyIcon(first);
  EXPECT_TRUE(list.Remove(0));
  EXPECT_EQ(list.GetImageCount(), 1);
}

TEST_F(MemoryDC, PngImagesOfAModuleLoadAsBitmaps) {
  // A 3x2 PNG made here: green with one red pixel.
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 3, 2);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 0, 1, 0);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 1, 0, 0);
  cairo_rectangle(cr, 2, 1, 1, 1);
  cairo_fill(cr);
  cairo_destroy(cr);
  std::vector<unsigned char> png;
  cairo_surface_write_to_png_stream(
      s,
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<unsigned char>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &png);
  cairo_surface_destroy(s);
  {
    win::ResourceTable table({}, {}, {win::ImageResource{400, IMAGE_BITMAP, png.data(), png.size(), 0, 0, {}},
                                      win::ImageResource{401, IMAGE_BITMAP, png.data(), 5, 0, 0, {}}});
    HBITMAP bmp = ::LoadBitmapW(table.Instance(), MAKEINTRESOURCEW(400));
    ASSERT_NE(bmp, nullptr);
    BITMAP bm{};
    ASSERT_EQ(::GetObjectW(bmp, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    CDC mem;
    mem.CreateCompatibleDC(&m_dc);
    HGDIOBJ old = ::SelectObject(mem.m_hDC, bmp);
    EXPECT_EQ(mem.GetPixel(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(mem.GetPixel(2, 1), RGB(255, 0, 0));
    ::SelectObject(mem.m_hDC, old);
    ::DeleteObject(bmp);
    EXPECT_EQ(::LoadBitmapW(table.Instance(), MAKEINTRESOURCEW(401)), nullptr) << "a broken PNG loads nothing";
  }
  EXPECT_EQ(win::FindImageResource(nullptr, 400, IMAGE_BITMAP), nullptr) << "an unloaded table is gone from the chain";
}

struct NotifyLog : CWnd {
  std::vector<SYSTEMTIME> m_changes;
  BOOL OnNotify(WPARAM w, LPARAM l, LRESULT* r) override {
    auto* hdr = reinterpret_cast<NMHDR*>(l);
    if (hdr->code == DTN_DATETIMECHANGE) m_changes.push_back(reinterpret_cast<NMDATETIMECHANGE*>(l)->st);
    return CWnd::OnNotify(w, l, r);
  }
};

TEST(DateTimePicker, KeysChangeTheFieldsAndNotify) {
  NotifyLog parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
  CDateTimeCtrl picker;
  ASSERT_TRUE(picker.Create(WS_CHILD | WS_VISIBLE | DTS_TIMEFORMAT, CRect(0, 0, 120, 22), &parent, 5));
  SYSTEMTIME st{2024, 2, 4, 29, 23, 59, 58, 0};
  EXPECT_TRUE(picker.SetTime(&st));
  SYSTEMTIME bad = st;
  bad.wMinute = 60;
  EXPECT_FALSE(picker.SetTime(&bad));
  CString text;
  picker.GetWindowText(text);
  EXPECT_EQ(text, CString(L"23:59:58"));
  picker.SetFocus();
  picker.SendMessage(WM_KEYDOWN, VK_UP);
  picker.SendMessage(WM_KEYDOWN, VK_RIGHT);
  picker.SendMessage(WM_KEYDOWN, VK_RIGHT);
  picker.SendMessage(WM_KEYDOWN, VK_DOWN);
  picker.GetWindowText(text);
  EXPECT_EQ(text, CString(L"00:59:57")) << "fields wrap within their range";
  ASSERT_EQ(parent.m_changes.size(), 2u);
  EXPECT_EQ(parent.m_changes[0].wHour, 0);
  picker.SendMessage(WM_KEYDOWN, VK_HOME);
  picker.SendMessage(WM_KEYDOWN, VK_LEFT);
  picker.SendMessage(WM_KEYDOWN, VK_LEFT);
  picker.SendMessage(WM_CHAR, L'1');
  picker.SendMessage(WM_CHAR, L'5');
  picker.SendMessage(WM_CHAR, L'3');
  SYSTEMTIME got{};
  EXPECT_EQ(picker.GetTime(&got), static_cast<DWORD>(GDT_VALID));
  EXPECT_EQ(got.wHour, 15);
  EXPECT_EQ(got.wMinute, 3) << "two digits fill a field and move to the next";
  EXPECT_EQ(got.wDay, 29);
  picker.SetFormat(L"yyyy'年'M'月'd'日'");
  picker.GetWindowText(text);
  EXPECT_EQ(text, CString(L"2024年2月29日"));
  picker.SendMessage(WM_KEYDOWN, VK_UP);
  picker.GetTime(&got);
  EXPECT_EQ(got.wYear, 2025);
  EXPECT_EQ(got.wDay, 28) << "29 February of a common year becomes the 28th";
  parent.DestroyWindow();
}

}  // namespace
