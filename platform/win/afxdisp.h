// The class library's automation client: COleDispatchDriver holds one
// object's IDispatch and calls its members by dispatch identifier with
// typed arguments (InvokeHelper with a VTS_ list), throwing the library's
// exceptions when a call fails:
// - DISP_E_EXCEPTION: COleDispatchException with the server's exception
//   record (its description, code, source and help);
// - E_OUTOFMEMORY: CMemoryException;
// - a file or storage error (not found, bad path, sharing violation, disk
//   full, read/write fault): CFileException with its cause;
// - anything else, including a call on a driver that holds no object:
//   COleException with the result code.
// Results arrive converted to the type asked for (a conversion that cannot
// be made is a COleException). Arguments of the VTS_ list are read from the
// variable arguments as: VTS_I2/VTS_I4/VTS_BOOL/VTS_SCODE an int (LONG for
// VTS_I4, BOOL for VTS_BOOL), VTS_R4/VTS_R8/VTS_DATE a double, VTS_BSTR a
// const wchar_t*, VTS_DISPATCH/VTS_UNKNOWN an interface pointer, VTS_VARIANT
// a const VARIANT*. A VT_I4 result is written to a LONG, VT_BSTR to a
// CString, VT_BOOL to a BOOL, VT_DISPATCH to an LPDISPATCH the caller
// releases, VT_VARIANT to a VARIANT.
#pragma once

#include <cstdarg>

#include "afxexception.h"
#include "cstring.h"
#include "objbase.h"

#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R4 "\x04"
#define VTS_R8 "\x05"
#define VTS_DATE "\x07"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_SCODE "\x0A"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"
#define VTS_I1 "\x10"
#define VTS_UI1 "\x11"

class COleDispatchDriver {
 public:
  COleDispatchDriver() = default;
  explicit COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE)
      : m_lpDispatch(lpDispatch), m_bAutoRelease(bAutoRelease) {}
  COleDispatchDriver(const COleDispatchDriver& other);
  COleDispatchDriver& operator=(const COleDispatchDriver& other);
  COleDispatchDriver& operator=(LPDISPATCH lpDispatch);
  ~COleDispatchDriver() { ReleaseDispatch(); }

  // Creates the object (in this process or by starting its local server)
  // and keeps its IDispatch. FALSE on failure, with the result code in
  // pError when given.
  BOOL CreateDispatch(REFCLSID clsid, COleException* pError = nullptr);
  BOOL CreateDispatch(LPCTSTR lpszProgID, COleException* pError = nullptr);

  void AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
  LPDISPATCH DetachDispatch();
  // Gives the object back (when the driver owns its reference) and empties
  // the driver.
  void ReleaseDispatch();

  void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...);
  void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                     va_list argList);
  void SetProperty(DISPID dwDispID, VARTYPE vtProp, ...);
  void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;

  operator LPDISPATCH() const { return m_lpDispatch; }  // NOLINT

  LPDISPATCH m_lpDispatch = nullptr;
  BOOL m_bAutoRelease = TRUE;

 private:
  static void Invoke(LPDISPATCH lpDispatch, DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                     const BYTE* pbParamInfo, va_list argList);
};

// Lets dialogs host ActiveX controls; without a display there are none to
// host, so it only notes that the program asked for it.
void AFXAPI AfxEnableControlContainer();
bool AfxControlContainerEnabled();
