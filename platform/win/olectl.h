// The system picture loader: OleLoadPicturePath reads a picture file (PNG,
// or an uncompressed 24- or 32-bit BMP) into an IPicture, whose size is in
// HIMETRIC (hundredths of a millimetre, 2540 to the inch; pixels count at 96
// to the inch) and which draws itself into a device context with Render.
#pragma once

#include "unknwn.h"
#include "wingdi.h"
#include "wintypes.h"

typedef wchar_t OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef DWORD OLE_COLOR;
typedef LONG OLE_XPOS_HIMETRIC;
typedef LONG OLE_YPOS_HIMETRIC;
typedef LONG OLE_XSIZE_HIMETRIC;
typedef LONG OLE_YSIZE_HIMETRIC;

#define PICTYPE_UNINITIALIZED (-1)
#define PICTYPE_NONE 0
#define PICTYPE_BITMAP 1

// The data is not a picture the loader can read.
#define CTL_E_INVALIDPICTURE ((HRESULT)0x800A01E1L)

struct IPicture : IUnknown {
  static const GUID& Uuid();
  virtual HRESULT get_Type(SHORT* pType) = 0;
  virtual HRESULT get_Width(OLE_XSIZE_HIMETRIC* pWidth) = 0;
  virtual HRESULT get_Height(OLE_YSIZE_HIMETRIC* pHeight) = 0;
  // Draws the part of the picture given in HIMETRIC (x to the right, y up
  // from the bottom edge: the whole picture upright is 0, height, width,
  // -height) into the rectangle x, y, cx, cy of the device context, scaled
  // to fit. Transparent pixels leave the device's pixels as they were.
  virtual HRESULT Render(HDC hdc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                         OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT pRcWBounds) = 0;

 protected:
  IPicture() = default;
};

typedef IPicture* LPPICTURE;

extern const IID IID_IPicture;

// Loads the picture file at the path (Windows or POSIX form). The failure
// is HRESULT_FROM_WIN32 of the file error when the file cannot be opened or
// read, CTL_E_INVALIDPICTURE when its contents are no picture the loader
// reads, E_NOINTERFACE for an interface other than IPicture or IUnknown,
// E_POINTER / E_INVALIDARG for missing arguments.
HRESULT OleLoadPicturePath(LPOLESTR szURLorPath, LPUNKNOWN punkCaller, DWORD dwReserved, OLE_COLOR clrReserved,
                           REFIID riid, LPVOID* ppvRet);
