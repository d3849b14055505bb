// The picture loader: PNG and BMP files into IPicture, sizes in HIMETRIC,
// Render upright, scaled, partial and over transparent pixels, and the
// failures of missing, unreadable and undecodable files.
#include <gtest/gtest.h>

#include <cairo.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "olectl.h"
#include "paths.h"
#include "winuser.h"

namespace {

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/olepicture_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
    m_wnd = ::CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, nullptr, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(m_wnd, nullptr);
    m_dc = ::GetDC(m_wnd);
    RECT all{0, 0, 64, 48};
    HBRUSH grey = ::CreateSolidBrush(RGB(128, 128, 128));
    ::FillRect(m_dc, &all, grey);
    ::DeleteObject(grey);
  }
  void TearDown() override {
    if (m_dc) ::ReleaseDC(m_wnd, m_dc);
    if (m_wnd) ::DestroyWindow(m_wnd);
    for (const std::string& f : m_files) std::remove(f.c_str());
    rmdir(m_dir.c_str());
  }

  std::wstring Path(const std::string& name) {
    m_files.push_back(m_dir + "/" + name);
    return win::ToWindowsPath(m_files.back());
  }
  void WriteBytes(const std::string& name, const std::vector<unsigned char>& bytes) {
    std::ofstream(m_dir + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  // A PNG of w x h pixels, each (alpha << 24 | rgb) as given row by row.
  std::wstring WritePng(const std::string& name, int w, int h, const std::vector<uint32_t>& argb) {
    std::wstring path = Path(name);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint32_t p = argb[static_cast<size_t>(y * w + x)];
        uint32_t a = p >> 24;
        // Cairo keeps premultiplied colours.
        auto pre = [a](uint32_t c) { return c * a / 255; };
        reinterpret_cast<uint32_t*>(data + y * stride)[x] =
            (a << 24) | (pre((p >> 16) & 0xFF) << 16) | (pre((p >> 8) & 0xFF) << 8) | pre(p & 0xFF);
      }
    cairo_surface_mark_dirty(s);
    EXPECT_EQ(cairo_surface_write_to_png(s, (m_dir + "/" + name).c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(s);
    return path;
  }
  IPicture* Load(const std::wstring& path) {
    IPicture* picture = nullptr;
    EXPECT_EQ(OleLoadPicturePath(const_cast<LPOLESTR>(path.c_str()), nullptr, 0, 0, IID_IPicture,
                                 reinterpret_cast<LPVOID*>(&picture)),
              S_OK);
    return picture;
  }
  HRESULT LoadResult(const std::wstring& path) {
    IPicture* picture = reinterpret_cast<IPicture*>(1);
    HRESULT hr = OleLoadPicturePath(const_cast<LPOLESTR>(path.c_str()), nullptr, 0, 0, IID_IPicture,
                                    reinterpret_cast<LPVOID*>(&picture));
    EXPECT_EQ(picture, nullptr) << "a failed load hands out nothing";
    return hr;
  }

  std::string m_dir;
  std::vector<std::string> m_files;
  HWND m_wnd = nullptr;
  HDC m_dc = nullptr;
};

// A BMP file: 24 or 32 bits, bottom-up unless topDown; pixels as 0xRRGGBB
// row by row from the top.
std::vector<unsigned char> Bmp(int w, int h, int bits, bool topDown, const std::vector<uint32_t>& rgb) {
  int bpp = bits / 8;
  int stride = (w * bpp + 3) & ~3;
  std::vector<unsigned char> b(54 + static_cast<size_t>(stride * h), 0);
  auto put32 = [&b](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<uint32_t>(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(topDown ? -h : h));
  b[26] = 1;
  b[28] = static_cast<unsigned char>(bits);
  for (int y = 0; y < h; ++y) {
    int fileRow = topDown ? y : h - 1 - y;
    for (int x = 0; x < w; ++x) {
      uint32_t c = rgb[static_cast<size_t>(y * w + x)];
      size_t at = 54 + static_cast<size_t>(fileRow * stride + x * bpp);
      b[at] = c & 0xFF;
      b[at + 1] = (c >> 8) & 0xFF;
      b[at + 2] = (c >> 16) & 0xFF;
      if (bpp == 4) b[at + 3] = 0;  // unused: the pixel is still opaque
    }
  }
  return b;
}

TEST_F(PictureTest, PngDrawnUprightAtItsSize) {
  std::wstring path = WritePng("p.png", 3, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,  //
                                               0xFFFFFF00, 0xFF000000, 0xFFFFFFFF});
  IPicture* picture = Load(path);
  ASSERT_NE(picture, nullptr);
  SHORT type = 0;
  EXPECT_EQ(picture->get_Type(&type), S_OK);
  EXPECT_EQ(type, PICTYPE_BITMAP);
  OLE_XSIZE_HIMETRIC hmWidth = 0;
  OLE_YSIZE_HIMETRIC hmHeight = 0;
  ASSERT_EQ(picture->get_Width(&hmWidth), S_OK);
  ASSERT_EQ(picture->get_Height(&hmHeight), S_OK);
  EXPECT_EQ(hmWidth, 79);  // 3 pixels at 96 to the inch
  EXPECT_EQ(hmHeight, 53);
  ASSERT_EQ(picture->Render(m_dc, 10, 5, 3, 2, 0, hmHeight, hmWidth, -hmHeight, nullptr), S_OK);
  EXPECT_EQ(::GetPixel(m_dc, 10, 5), RGB(255, 0, 0));
  EXPECT_EQ(::GetPixel(m_dc, 11, 5), RGB(0, 255, 0));
  EXPECT_EQ(::GetPixel(m_dc, 12, 5), RGB(0, 0, 255));
  EXPECT_EQ(::GetPixel(m_dc, 10, 6), RGB(255, 255, 0));
  EXPECT_EQ(::GetPixel(m_dc, 11, 6), RGB(0, 0, 0));
  EXPECT_EQ(::GetPixel(m_dc, 12, 6), RGB(255, 255, 255));
  // Nothing outside the rectangle.
  EXPECT_EQ(::GetPixel(m_dc, 9, 5), RGB(128, 128, 128));
  EXPECT_EQ(::GetPixel(m_dc, 13, 5), RGB(128, 128, 128));
  EXPECT_EQ(::GetPixel(m_dc, 10, 7), RGB(128, 128, 128));
  EXPECT_EQ(picture->Release(), 0u);
}

TEST_F(PictureTest, ScaledFlippedAndPartialRendering) {
  std::wstring path = WritePng("q.png", 2, 2, {0xFFFF0000, 0xFF00FF00,  //
                                               0xFF0000FF, 0xFFFFFFFF});
  IPicture* picture = Load(path);
  ASSERT_NE(picture, nullptr);
  OLE_XSIZE_HIMETRIC hmW = 0;
  OLE_YSIZE_HIMETRIC hmH = 0;
  picture->get_Width(&hmW);
  picture->get_Height(&hmH);
  // Twice the size: each pixel becomes a 2 x 2 block.
  ASSERT_EQ(picture->Render(m_dc, 0, 0, 4, 4, 0, hmH, hmW, -hmH, nullptr), S_OK);
  EXPECT_EQ(::GetPixel(m_dc, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(::GetPixel(m_dc, 2, 1), RGB(0, 255, 0));
  EXPECT_EQ(::GetPixel(m_dc, 1, 3), RGB(0, 0, 255));
  EXPECT_EQ(::GetPixel(m_dc, 3, 3), RGB(255, 255, 255));
  // A positive source height runs from the bottom edge up: upside down.
  ASSERT_EQ(picture->Render(m_dc, 20, 0, 2, 2, 0, 0, hmW, hmH, nullptr), S_OK);
  EXPECT_EQ(::GetPixel(m_dc, 20, 0), RGB(0, 0, 255));
  EXPECT_EQ(::GetPixel(m_dc, 21, 1), RGB(0, 255, 0));
  // The right half of the picture only, into one column.
  ASSERT_EQ(picture->Render(m_dc, 30, 0, 1, 2, hmW / 2, hmH, hmW / 2, -hmH, nullptr), S_OK);
  EXPECT_EQ(::GetPixel(m_dc, 30, 0), RGB(0, 255, 0));
  EXPECT_EQ(::GetPixel(m_dc, 30, 1), RGB(255, 255, 255));
  EXPECT_EQ(::GetPixel(m_dc, 31, 0), RGB(128, 128, 128));
  // Zero extents draw nothing.
  EXPECT_EQ(picture->Render(m_dc, 40, 0, 0, 2, 0, hmH, hmW, -hmH, nullptr), E_INVALIDARG);
  EXPECT_EQ(picture->Render(nullptr, 40, 0, 2, 2, 0, hmH, hmW, -hmH, nullptr), E_INVALIDARG);
  picture->Release();
}

TEST_F(PictureTest, TransparentPixelsKeepWhatWasThere) {
  std::wstring path = WritePng("t.png", 2, 1, {0x00000000, 0x80FF0000});
  IPicture* picture = Load(path);
  ASSERT_NE(picture, nullptr);
  OLE_XSIZE_HIMETRIC hmW = 0;
  OLE_YSIZE_HIMETRIC hmH = 0;
  picture->get_Width(&hmW);
  picture->get_Height(&hmH);
  ASSERT_EQ(picture->Render(m_dc, 0, 0, 2, 1, 0, hmH, hmW, -hmH, nullptr), S_OK);
  EXPECT_EQ(::GetPixel(m_dc, 0, 0), RGB(128, 128, 128));
  COLORREF half = ::GetPixel(m_dc, 1, 0);
  EXPECT_NEAR(GetRValue(half), 191, 2);  // half red over grey
  EXPECT_NEAR(GetGValue(half), 64, 2);
  picture->Release();
}

TEST_F(PictureTest, BmpBottomUpTopDownAndPaddedRows) {
  // Three pixels a row: 9 bytes padded to 12 in the 24-bit file.
  std::vector<uint32_t> rgb = {0xFF0000, 0x00FF00, 0x0000FF, 0x102030, 0x405060, 0x708090};
  WriteBytes("a.bmp", Bmp(3, 2, 24, false, rgb));
  WriteBytes("b.bmp", Bmp(3, 2, 32, true, rgb));
  for (const char* name : {"a.bmp", "b.bmp"}) {
    IPicture* picture = Load(Path(name));
    ASSERT_NE(picture, nullptr) << name;
    OLE_XSIZE_HIMETRIC hmW = 0;
    OLE_YSIZE_HIMETRIC hmH = 0;
    picture->get_Width(&hmW);
    picture->get_Height(&hmH);
    ASSERT_EQ(picture->Render(m_dc, 0, 0, 3, 2, 0, hmH, hmW, -hmH, nullptr), S_OK);
    EXPECT_EQ(::GetPixel(m_dc, 0, 0), RGB(255, 0, 0)) << name;
    EXPECT_EQ(::GetPixel(m_dc, 2, 0), RGB(0, 0, 255)) << name;
    EXPECT_EQ(::GetPixel(m_dc, 0, 1), RGB(0x10, 0x20, 0x30)) << name;
    EXPECT_EQ(::GetPixel(m_dc, 2, 1), RGB(0x70, 0x80, 0x90)) << name;
    picture->Release();
  }
}

TEST_F(PictureTest, FailuresNameTheirCause) {
  EXPECT_EQ(LoadResult(Path("missing.png")), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(LoadResult(Path("nofolder/x.png")), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  EXPECT_TRUE(FAILED(LoadResult(win::ToWindowsPath(m_dir))));  // a folder cannot be read
  WriteBytes("text.png", {'h', 'e', 'l', 'l', 'o'});
  EXPECT_EQ(LoadResult(Path("text.png")), CTL_E_INVALIDPICTURE);
  WriteBytes("empty.bmp", {});
  EXPECT_EQ(LoadResult(Path("empty.bmp")), CTL_E_INVALIDPICTURE);
  // A BMP whose pixels are cut short, and one of 8 bits a pixel.
  std::vector<unsigned char> bmp = Bmp(4, 4, 24, false, std::vector<uint32_t>(16, 0));
  bmp.resize(bmp.size() - 5);
  WriteBytes("short.bmp", bmp);
  EXPECT_EQ(LoadResult(Path("short.bmp")), CTL_E_INVALIDPICTURE);
  std::vector<unsigned char> eight = Bmp(4, 4, 24, false, std::vector<uint32_t>(16, 0));
  eight[28] = 8;
  WriteBytes("eight.bmp", eight);
  EXPECT_EQ(LoadResult(Path("eight.bmp")), CTL_E_INVALIDPICTURE);
  // A huge size in the header with no pixels behind it.
  std::vector<unsigned char> huge = Bmp(1, 1, 24, false, {0});
  huge[18] = 0xFF;
  huge[19] = 0xFF;
  huge[20] = 0xFF;
  huge[21] = 0x7F;
  WriteBytes("huge.bmp", huge);
  EXPECT_EQ(LoadResult(Path("huge.bmp")), CTL_E_INVALIDPICTURE);

  IPicture* picture = nullptr;
  EXPECT_EQ(OleLoadPicturePath(nullptr, nullptr, 0, 0, IID_IPicture, reinterpret_cast<LPVOID*>(&picture)),
            E_INVALIDARG);
  EXPECT_EQ(OleLoadPicturePath(const_cast<LPOLESTR>(L"x"), nullptr, 0, 0, IID_IPicture, nullptr), E_POINTER);
  WritePng("ok.png", 1, 1, {0xFF000000});
  EXPECT_EQ(OleLoadPicturePath(const_cast<LPOLESTR>(Path("ok.png").c_str()), nullptr, 0, 0, IDispatch::Uuid(),
                               reinterpret_cast<LPVOID*>(&picture)),
            E_NOINTERFACE);
  EXPECT_EQ(picture, nullptr);

  // A loaded picture answers IUnknown and IPicture, never IDispatch.
  ASSERT_EQ(OleLoadPicturePath(const_cast<LPOLESTR>(Path("ok.png").c_str()), nullptr, 0, 0, IID_IPicture,
                               reinterpret_cast<LPVOID*>(&picture)),
            S_OK);
  void* other = nullptr;
  EXPECT_EQ(picture->QueryInterface(IDispatch::Uuid(), &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  ASSERT_EQ(picture->QueryInterface(IUnknown::Uuid(), &other), S_OK);
  static_cast<IUnknown*>(other)->Release();
  EXPECT_EQ(picture->Release(), 0u);
}

}  // namespace
