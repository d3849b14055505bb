// The inside of the drawing layer that the window system and the snapshot
// writer share: regions as rectangle lists, pixel surfaces, and device
// contexts created on a window's surface.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "wingdi.h"
#include "winspool.h"
#include "winuser.h"

namespace win::gdi {

// A set of pixels as non-overlapping rectangles.
class Region {
 public:
  Region() = default;
  explicit Region(const RECT& rect) { if (rect.right > rect.left && rect.bottom > rect.top) m_rects.push_back(rect); }
  const std::vector<RECT>& Rects() const { return m_rects; }
  bool Empty() const { return m_rects.empty(); }
  RECT Box() const;
  bool Contains(int x, int y) const;
  Region Intersect(const Region& other) const;
  Region Subtract(const Region& other) const;
  Region Union(const Region& other) const;
  Region Xor(const Region& other) const { return Subtract(other).Union(other.Subtract(*this)); }
  void Offset(int dx, int dy);
  int Complexity() const { return m_rects.empty() ? NULLREGION : (m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION); }

 private:
  std::vector<RECT> m_rects;
};

// A device context that draws onto `surface` (a 32-bit image surface, which
// the context keeps a reference to) with client (0,0) at `origin` and only
// inside `visible` (surface coordinates).
HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, const Region& visible, HWND hWnd);
// The surface a device context draws on (for tests and snapshots).
cairo_surface_t* SurfaceOf(HDC hdc);

// A device whose pages are no pixel surface of the window system (a
// printer): its page in device units and its resolution in dots per inch.
class VectorDevice {
 public:
  VectorDevice(SIZE res, int dpiXIn, int dpiYIn) : resolution(res), dpiX(dpiXIn), dpiY(dpiYIn) {}
  virtual ~VectorDevice() = default;
  VectorDevice(const VectorDevice&) = delete;
  VectorDevice& operator=(const VectorDevice&) = delete;
  SIZE resolution;
  int dpiX, dpiY;
};
// A device context of such a device; the context owns the device. Until a
// surface is set, drawing lands nowhere.
HDC CreateDeviceDC(std::shared_ptr<VectorDevice> device);
VectorDevice* DeviceOf(HDC hdc);
// The surface the device's drawing goes to from now on (device units are
// its user units); null: none.
void SetDeviceSurface(HDC hdc, cairo_surface_t* surface);

// Icons and cursors: images with an alpha channel.
HICON CreateIconFromSurface(cairo_surface_t* surface, bool cursor);
cairo_surface_t* IconSurface(HICON icon);
// Decodes PNG bytes into a surface; null when they are not a PNG.
cairo_surface_t* DecodePng(const unsigned char* data, size_t size);
HBITMAP CreateBitmapFromSurface(cairo_surface_t* surface);
cairo_surface_t* BitmapSurface(HBITMAP bitmap);

// The face and pixel size a font resolves to (for tests).
std::wstring ResolvedFamily(const LOGFONTW& font);

// Colours as Cairo wants them.
inline double Red(COLORREF c) { return GetRValue(c) / 255.0; }
inline double Green(COLORREF c) { return GetGValue(c) / 255.0; }
inline double Blue(COLORREF c) { return GetBValue(c) / 255.0; }

}  // namespace win::gdi
