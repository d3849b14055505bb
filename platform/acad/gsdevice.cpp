// Graphics devices: a pixel surface the size of the window's client area,
// its background colour and logical palette, the views drawn on it, and the
// update that draws the views and copies the pixels into the window (left
// to the paint when the window cannot be seen).
#include <algorithm>

#include "acedcolor.h"
#include "gdiimpl.h"
#include "gsimpl.h"

namespace acgs {

GsDevice::GsDevice(HWND window) : m_hWnd(window) {
  // The host's colour-index palette until the application gives its own.
  for (int i = 0; i < 256; ++i) {
    Adesk::UInt32 c = acedGetRGB(i);
    m_palette[static_cast<size_t>(i)] = AcGsColor{static_cast<unsigned char>(c & 0xFF),
                                                  static_cast<unsigned char>((c >> 8) & 0xFF),
                                                  static_cast<unsigned char>((c >> 16) & 0xFF), 255};
  }
  if (window) {
    RECT rc{};
    GetClientRect(window, &rc);
    onSize(rc.right - rc.left, rc.bottom - rc.top);
  }
}

GsDevice::~GsDevice() {
  for (GsView* v : m_views) v->setDevice(nullptr);
  if (m_pSurface) cairo_surface_destroy(m_pSurface);
}

bool GsDevice::isValid() const {
  if (!m_bValid) return false;
  for (const GsView* v : m_views)
    if (!v->isValid()) return false;
  return true;
}

void GsDevice::onSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == m_nWidth && height == m_nHeight && m_pSurface) return;
  if (m_pSurface) cairo_surface_destroy(m_pSurface);
  m_pSurface = nullptr;
  m_nWidth = width;
  m_nHeight = height;
  if (width > 0 && height > 0) m_pSurface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  m_bValid = false;
  for (GsView* v : m_views) v->invalidate();
}

bool GsDevice::add(AcGsView* view) {
  auto* v = dynamic_cast<GsView*>(view);
  if (!v) return false;
  if (std::find(m_views.begin(), m_views.end(), v) != m_views.end()) return true;
  if (v->device() && v->device() != this) v->device()->erase(v);
  v->setDevice(this);
  v->invalidate();
  m_views.push_back(v);
  return true;
}

bool GsDevice::erase(AcGsView* view) {
  auto* v = dynamic_cast<GsView*>(view);
  auto it = std::find(m_views.begin(), m_views.end(), v);
  if (it == m_views.end()) return false;
  m_views.erase(it);
  v->setDevice(nullptr);
  m_bValid = false;
  return true;
}

void GsDevice::eraseAll() {
  for (GsView* v : m_views) v->setDevice(nullptr);
  m_views.clear();
  m_bValid = false;
}

void GsDevice::forgetView(GsView* view) {
  std::erase(m_views, view);
  m_bValid = false;
}

bool GsDevice::setBackgroundColor(AcGsColor color) {
  m_background = color;
  m_bValid = false;
  return true;
}

void GsDevice::setLogicalPalette(const AcGsColor* palette, int count) {
  if (!palette) return;
  count = std::clamp(count, 0, 256);
  std::copy(palette, palette + count, m_palette.begin());
  m_bValid = false;
}

COLORREF GsDevice::pixel(int x, int y) const {
  if (!m_pSurface || x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return 0;
  // The pixels a deferred update would have drawn.
  if (m_bDeferred) const_cast<GsDevice*>(this)->draw();
  cairo_surface_flush(m_pSurface);
  const unsigned char* data = cairo_image_surface_get_data(m_pSurface);
  int stride = cairo_image_surface_get_stride(m_pSurface);
  uint32_t p = *reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4);
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void GsDevice::render(GsView& view) {
  cairo_t* cr = cairo_create(m_pSurface);
  RenderView(cr, view, *this);
  cairo_destroy(cr);
  view.setValid();
}

void GsDevice::update(AcGsDCRect* updatedRect) {
  if (!m_pSurface) return;
  if (updatedRect) *updatedRect = AcGsDCRect{{0, 0}, {m_nWidth - 1, m_nHeight - 1}};
  // A window that cannot be seen (hidden, or in a hidden dialog) is not
  // drawn: showing it paints it, and its paint updates the device again.
  if (m_hWnd && IsWindow(m_hWnd) && !IsWindowVisible(m_hWnd)) {
    m_bDeferred = true;
    return;
  }
  draw();
  present();
}

void GsDevice::draw() {
  m_bDeferred = false;
  bool whole = !m_bValid;
  // Pixels no view covers show the background; a view over the whole
  // device paints every pixel itself (in the same background) first.
  bool covered = std::any_of(m_views.begin(), m_views.end(), [&](const GsView* v) {
    int left, top, right, bottom;
    v->pixelRect(left, top, right, bottom);
    return left <= 0 && top <= 0 && right >= m_nWidth && bottom >= m_nHeight;
  });
  if (whole && !covered) {
    cairo_t* cr = cairo_create(m_pSurface);
    cairo_set_source_rgb(cr, m_background.m_red / 255.0, m_background.m_green / 255.0, m_background.m_blue / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  for (GsView* v : m_views)
    if (whole || !v->isValid()) render(*v);
  m_bValid = true;
  cairo_surface_flush(m_pSurface);
}

void GsDevice::present() {
  if (!m_hWnd || !IsWindow(m_hWnd)) return;
  HDC dc = GetDC(m_hWnd);
  if (!dc) return;
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bitmap = win::gdi::CreateBitmapFromSurface(m_pSurface);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BitBlt(dc, 0, 0, m_nWidth, m_nHeight, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bitmap);
  DeleteDC(mem);
  ReleaseDC(m_hWnd, dc);
}

}  // namespace acgs
