// OleLoadPicturePath and the bitmap picture it makes: the file is decoded
// into a Cairo image surface (PNG through Cairo, uncompressed BMP by the
// small reader below) and drawn by Render through a memory device context,
// so that the destination's origin, clipping and pixels are the GDI's.
#include "olectl.h"

#include <cairo.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fileapi.h"
#include "gdiimpl.h"
#include "paths.h"

// {7BF80980-BF32-101A-8BBB-00AA00300CAB}
const IID IID_IPicture = {0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

const GUID& IPicture::Uuid() { return IID_IPicture; }

namespace {

constexpr int kPixelsPerInch = 96;
constexpr int kHimetricPerInch = 2540;
// Larger pictures are refused rather than allocated.
constexpr int kMaxSide = 32768;

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const {
    if (s) cairo_surface_destroy(s);
  }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// ---- reading the file -------------------------------------------------------

HRESULT ReadWholeFile(const wchar_t* path, std::vector<unsigned char>& bytes) {
  std::string posix = win::ToPosixPath(path);
  int fd = ::open(posix.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    DWORD error = win::ErrorFromErrno(errno);
    // A missing folder on the way is a missing path, not a missing file.
    if (errno == ENOENT) {
      size_t cut = posix.find_last_of('/');
      std::string folder = cut == std::string::npos ? std::string(".") : posix.substr(0, cut + 1);
      if (::access(folder.c_str(), F_OK) != 0) error = ERROR_PATH_NOT_FOUND;
    }
    return HRESULT_FROM_WIN32(error);
  }
  HRESULT hr = S_OK;
  unsigned char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      hr = HRESULT_FROM_WIN32(win::ErrorFromErrno(errno));
      break;
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  ::close(fd);
  return hr;
}

// ---- BMP ----------------------------------------------------------------------

uint32_t U32(const unsigned char* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint16_t U16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// An uncompressed bottom-up or top-down bitmap of 24 or 32 bits a pixel
// (BI_RGB); the fourth byte of a 32-bit pixel is unused, as GDI treats it.
SurfacePtr DecodeBmp(const std::vector<unsigned char>& b) {
  constexpr size_t kFileHeader = 14;
  if (b.size() < kFileHeader + 40 || b[0] != 'B' || b[1] != 'M') return nullptr;
  uint32_t offBits = U32(&b[10]);
  const unsigned char* info = &b[kFileHeader];
  uint32_t infoSize = U32(info);
  if (infoSize < 40 || kFileHeader + infoSize > b.size()) return nullptr;
  int32_t width = static_cast<int32_t>(U32(info + 4));
  int32_t height = static_cast<int32_t>(U32(info + 8));
  uint16_t planes = U16(info + 12);
  uint16_t bitCount = U16(info + 14);
  uint32_t compression = U32(info + 16);
  if (planes != 1 || (bitCount != 24 && bitCount != 32) || compression != 0) return nullptr;
  bool topDown = height < 0;
  int64_t rows = topDown ? -static_cast<int64_t>(height) : height;
  if (width <= 0 || rows <= 0 || width > kMaxSide || rows > kMaxSide) return nullptr;
  size_t bytesPerPixel = bitCount / 8;
  size_t stride = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t(3);
  if (offBits > b.size() || stride * static_cast<size_t>(rows) > b.size() - offBits) return nullptr;

  SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, static_cast<int>(rows)));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_surface_flush(surface.get());
  unsigned char* data = cairo_image_surface_get_data(surface.get());
  int outStride = cairo_image_surface_get_stride(surface.get());
  for (int64_t y = 0; y < rows; ++y) {
    int64_t fileRow = topDown ? y : rows - 1 - y;
    const unsigned char* in = &b[offBits + static_cast<size_t>(fileRow) * stride];
    auto* out = reinterpret_cast<uint32_t*>(data + y * outStride);
    for (int32_t x = 0; x < width; ++x) {
      const unsigned char* px = in + static_cast<size_t>(x) * bytesPerPixel;
      out[x] = 0xFF000000u | (uint32_t(px[2]) << 16) | (uint32_t(px[1]) << 8) | px[0];
    }
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

SurfacePtr Decode(const std::vector<unsigned char>& bytes) {
  if (bytes.empty()) return nullptr;
  if (SurfacePtr bmp = DecodeBmp(bytes)) return bmp;
  cairo_surface_t* png = win::gdi::DecodePng(bytes.data(), bytes.size());
  if (!png) return nullptr;
  SurfacePtr surface(png);
  if (cairo_image_surface_get_width(png) > kMaxSide || cairo_image_surface_get_height(png) > kMaxSide) return nullptr;
  return surface;
}

// ---- the picture ----------------------------------------------------------------

class BitmapPicture final : public com::RefCounted<IPicture> {
 public:
  explicit BitmapPicture(SurfacePtr surface) : m_surface(std::move(surface)) {
    int w = cairo_image_surface_get_width(m_surface.get());
    int h = cairo_image_surface_get_height(m_surface.get());
    m_hmWidth = MulDiv(w, kHimetricPerInch, kPixelsPerInch);
    m_hmHeight = MulDiv(h, kHimetricPerInch, kPixelsPerInch);
  }

  HRESULT get_Type(SHORT* pType) override {
    if (!pType) return E_POINTER;
    *pType = PICTYPE_BITMAP;
    return S_OK;
  }
  HRESULT get_Width(OLE_XSIZE_HIMETRIC* pWidth) override {
    if (!pWidth) return E_POINTER;
    *pWidth = m_hmWidth;
    return S_OK;
  }
  HRESULT get_Height(OLE_YSIZE_HIMETRIC* pHeight) override {
    if (!pHeight) return E_POINTER;
    *pHeight = m_hmHeight;
    return S_OK;
  }

  HRESULT Render(HDC hdc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                 OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT) override {
    if (!hdc) return E_INVALIDARG;
    if (cx == 0 || cy == 0 || cxSrc == 0 || cySrc == 0) return E_INVALIDARG;
    int w = cairo_image_surface_get_width(m_surface.get());
    int h = cairo_image_surface_get_height(m_surface.get());
    // The source in pixels: its left and top edges and its extents (negative
    // extents run left or up).
    double srcLeft = static_cast<double>(xSrc) * w / m_hmWidth;
    double srcTop = static_cast<double>(m_hmHeight - ySrc) * h / m_hmHeight;
    double srcWidth = static_cast<double>(cxSrc) * w / m_hmWidth;
    double srcHeight = static_cast<double>(-cySrc) * h / m_hmHeight;
    // The destination as a rectangle with positive extents; a negative
    // extent mirrors the picture.
    bool mirrorX = cx < 0, mirrorY = cy < 0;
    int left = mirrorX ? x + cx : x, top = mirrorY ? y + cy : y;
    int width = std::abs(cx), height = std::abs(cy);
    if (width > kMaxSide || height > kMaxSide) return E_INVALIDARG;

    // Take the destination's pixels, draw the picture over them, put them back.
    HDC mem = CreateCompatibleDC(hdc);
    if (!mem) return E_FAIL;
    HBITMAP bitmap = CreateCompatibleBitmap(hdc, width, height);
    cairo_surface_t* target = bitmap ? win::gdi::BitmapSurface(bitmap) : nullptr;
    if (!target) {
      if (bitmap) DeleteObject(bitmap);
      DeleteDC(mem);
      return E_OUTOFMEMORY;
    }
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, width, height, hdc, left, top, SRCCOPY);

    cairo_surface_flush(target);
    cairo_t* cr = cairo_create(target);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_clip(cr);
    cairo_translate(cr, mirrorX ? width : 0, mirrorY ? height : 0);
    cairo_scale(cr, (mirrorX ? -1.0 : 1.0) * width / srcWidth, (mirrorY ? -1.0 : 1.0) * height / srcHeight);
    cairo_set_source_surface(cr, m_surface.get(), -srcLeft, -srcTop);
    // Pixels stay sharp when the picture is drawn at its own size or blown up.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_mark_dirty(target);

    if (ok) BitBlt(hdc, left, top, width, height, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    return ok ? S_OK : E_FAIL;
  }

 private:
  ~BitmapPicture() override = default;

  SurfacePtr m_surface;
  OLE_XSIZE_HIMETRIC m_hmWidth = 0;
  OLE_YSIZE_HIMETRIC m_hmHeight = 0;
};

}  // namespace

HRESULT OleLoadPicturePath(LPOLESTR szURLorPath, LPUNKNOWN, DWORD, OLE_COLOR, REFIID riid, LPVOID* ppvRet) {
  if (!ppvRet) return E_POINTER;
  *ppvRet = nullptr;
  if (!szURLorPath || !*szURLorPath) return E_INVALIDARG;
  if (!com::SameGuid(riid, IID_IPicture) && !com::SameGuid(riid, IUnknown::Uuid())) return E_NOINTERFACE;
  std::vector<unsigned char> bytes;
  HRESULT hr = ReadWholeFile(szURLorPath, bytes);
  if (FAILED(hr)) return hr;
  SurfacePtr surface = Decode(bytes);
  if (!surface) return CTL_E_INVALIDPICTURE;
  auto* picture = new BitmapPicture(std::move(surface));
  return picture->QueryInterface(riid, ppvRet);
}
