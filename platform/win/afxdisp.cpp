// COleDispatchDriver: creating an automation object, calling its members by
// dispatch id, and turning failures into the library's exceptions.
#include "afxdisp.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

bool g_controlContainer = false;

// The file error behind a result code, as a file exception's cause and
// system error number; false for results that are no file errors.
bool FileError(SCODE sc, int& cause, LONG& osError) {
  const uint32_t code = static_cast<uint32_t>(sc);
  if ((code & 0xFFFF0000u) == 0x80070000u) {
    LONG win32 = static_cast<LONG>(code & 0xFFFFu);
    switch (win32) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
      case ERROR_INVALID_NAME:
      case ERROR_SHARING_VIOLATION:
      case ERROR_WRITE_FAULT:
      case ERROR_READ_FAULT:
      case 39:   // the disk is full (handle)
      case 112:  // the disk is full
        osError = win32;
        cause = CFileException::OsErrorToException(win32);
        return true;
      default: return false;
    }
  }
  switch (code) {  // the structured-storage errors
    case 0x80030002u: cause = CFileException::fileNotFound; break;
    case 0x80030003u: cause = CFileException::badPath; break;
    case 0x80030004u: cause = CFileException::tooManyOpenFiles; break;
    case 0x80030005u: cause = CFileException::accessDenied; break;
    case 0x80030006u: cause = CFileException::invalidFile; break;
    case 0x80030019u: cause = CFileException::badSeek; break;
    case 0x8003001Du:
    case 0x8003001Eu: cause = CFileException::hardIO; break;
    case 0x80030020u: cause = CFileException::sharingViolation; break;
    case 0x80030021u: cause = CFileException::lockViolation; break;
    case 0x80030070u: cause = CFileException::diskFull; break;
    default: return false;
  }
  osError = sc;
  return true;
}

[[noreturn]] void ThrowFailure(SCODE sc, EXCEPINFO& info) {
  if (sc == DISP_E_EXCEPTION) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    auto* e = new COleDispatchException(info.bstrDescription, info.dwHelpContext, info.wCode);
    e->m_strSource = info.bstrSource ? info.bstrSource : L"";
    e->m_strHelpFile = info.bstrHelpFile ? info.bstrHelpFile : L"";
    e->m_scError = info.wCode ? S_OK : info.scode;
    com::ClearExcepInfo(&info);
    throw e;
  }
  com::ClearExcepInfo(&info);
  int cause = 0;
  LONG osError = 0;
  if (FileError(sc, cause, osError)) AfxThrowFileException(cause, osError);
  AfxThrowOleException(sc);
}

// Stores a result converted to vtRet where pvRet points.
void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet) {
  switch (vtRet) {
    case VT_I1:
    case VT_UI1: *static_cast<BYTE*>(pvRet) = result.bVal; break;
    case VT_I2: *static_cast<short*>(pvRet) = result.iVal; break;
    case VT_I4: *static_cast<LONG*>(pvRet) = result.lVal; break;
    case VT_R4: *static_cast<float*>(pvRet) = result.fltVal; break;
    case VT_R8:
    case VT_DATE: *static_cast<double*>(pvRet) = result.dblVal; break;
    case VT_ERROR: *static_cast<SCODE*>(pvRet) = result.scode; break;
    case VT_BOOL: *static_cast<BOOL*>(pvRet) = result.boolVal != VARIANT_FALSE; break;
    case VT_BSTR:
      *static_cast<CString*>(pvRet) = result.bstrVal ? CString(result.bstrVal) : CString();
      VariantClear(&result);
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      // The reference goes to the caller.
      *static_cast<IUnknown**>(pvRet) = result.punkVal;
      result.vt = VT_EMPTY;
      break;
    case VT_VARIANT: {
      VARIANT* out = static_cast<VARIANT*>(pvRet);
      VariantClear(out);
      *out = result;
      result.vt = VT_EMPTY;
      break;
    }
    default: break;
  }
}

}  // namespace

void AFXAPI AfxEnableControlContainer() { g_controlContainer = true; }
bool AfxControlContainerEnabled() { return g_controlContainer; }

COleDispatchDriver::COleDispatchDriver(const COleDispatchDriver& other)
    : m_lpDispatch(other.m_lpDispatch), m_bAutoRelease(TRUE) {
  if (m_lpDispatch) m_lpDispatch->AddRef();
}

COleDispatchDriver& COleDispatchDriver::operator=(const COleDispatchDriver& other) {
  if (this != &other) {
    if (other.m_lpDispatch) other.m_lpDispatch->AddRef();
    ReleaseDispatch();
    m_lpDispatch = other.m_lpDispatch;
    m_bAutoRelease = TRUE;
  }
  return *this;
}

COleDispatchDriver& COleDispatchDriver::operator=(LPDISPATCH lpDispatch) {
  AttachDispatch(lpDispatch, TRUE);
  return *this;
}

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid, COleException* pError) {
  ReleaseDispatch();
  IUnknown* unknown = nullptr;
  SCODE sc = ::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IUnknown::Uuid(), reinterpret_cast<void**>(&unknown));
  if (SUCCEEDED(sc)) {
    IDispatch* dispatch = nullptr;
    sc = unknown->QueryInterface(IDispatch::Uuid(), reinterpret_cast<void**>(&dispatch));
    unknown->Release();
    if (SUCCEEDED(sc)) {
      AttachDispatch(dispatch, TRUE);
      return TRUE;
    }
  }
  if (pError) pError->m_sc = sc;
  return FALSE;
}

BOOL COleDispatchDriver::CreateDispatch(LPCTSTR lpszProgID, COleException* pError) {
  CLSID clsid{};
  SCODE sc = ::CLSIDFromProgID(lpszProgID, &clsid);
  if (FAILED(sc)) {
    if (pError) pError->m_sc = sc;
    return FALSE;
  }
  return CreateDispatch(clsid, pError);
}

void COleDispatchDriver::AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease) {
  ReleaseDispatch();
  m_lpDispatch = lpDispatch;
  m_bAutoRelease = bAutoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch() {
  LPDISPATCH dispatch = m_lpDispatch;
  m_lpDispatch = nullptr;
  return dispatch;
}

void COleDispatchDriver::ReleaseDispatch() {
  LPDISPATCH dispatch = m_lpDispatch;
  m_lpDispatch = nullptr;
  if (dispatch && m_bAutoRelease) dispatch->Release();
}

void COleDispatchDriver::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                      const BYTE* pbParamInfo, ...) {
  va_list args;
  va_start(args, pbParamInfo);
  try {
    InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
}

void COleDispatchDriver::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                       const BYTE* pbParamInfo, va_list argList) {
  if (!m_lpDispatch) AfxThrowOleException(E_POINTER);
  try {
    Invoke(m_lpDispatch, dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
  } catch (const std::bad_alloc&) {
    // Memory runs out as the library reports it.
    AfxThrowMemoryException();
  }
}

void COleDispatchDriver::Invoke(LPDISPATCH lpDispatch, DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                const BYTE* pbParamInfo, va_list argList) {
  const size_t count = pbParamInfo ? std::strlen(reinterpret_cast<const char*>(pbParamInfo)) : 0;
  // The arguments in the order written, then turned last-first for Invoke.
  std::vector<VARIANT> values(count);
  std::vector<BSTR> owned;
  for (size_t i = 0; i < count; ++i) {
    VARIANT& v = values[i];
    VariantInit(&v);
    VARTYPE vt = pbParamInfo[i];
    v.vt = vt;
    switch (vt) {
      case VT_I1:
      case VT_UI1: v.bVal = static_cast<BYTE>(va_arg(argList, int)); break;
      case VT_I2: v.iVal = static_cast<SHORT>(va_arg(argList, int)); break;
      case VT_I4: v.lVal = va_arg(argList, LONG); break;
      case VT_ERROR: v.scode = va_arg(argList, SCODE); break;
      case VT_BOOL: v.boolVal = va_arg(argList, BOOL) ? VARIANT_TRUE : VARIANT_FALSE; break;
      case VT_R4: v.fltVal = static_cast<float>(va_arg(argList, double)); break;
      case VT_R8:
      case VT_DATE: v.dblVal = va_arg(argList, double); break;
      case VT_BSTR:
        v.bstrVal = SysAllocString(va_arg(argList, const wchar_t*));
        owned.push_back(v.bstrVal);
        break;
      case VT_DISPATCH:
      case VT_UNKNOWN: v.punkVal = va_arg(argList, IUnknown*); break;
      case VT_VARIANT:
        if (const VARIANT* given = va_arg(argList, const VARIANT*)) v = *given;
        else v.vt = VT_EMPTY;
        break;
      default:
        for (BSTR s : owned) SysFreeString(s);
        AfxThrowOleException(DISP_E_BADVARTYPE);
    }
  }
  std::vector<VARIANT> reversed(values.rbegin(), values.rend());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(count), 0};
  if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = count ? 1 : 0;
  }
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO info{};
  UINT argErr = 0;
  SCODE sc = lpDispatch->Invoke(dwDispID, IID{}, 0, wFlags, &params, vtRet != VT_EMPTY ? &result : nullptr, &info,
                                  &argErr);
  for (BSTR s : owned) SysFreeString(s);
  if (FAILED(sc)) {
    VariantClear(&result);
    ThrowFailure(sc, info);
  }
  com::ClearExcepInfo(&info);
  if (vtRet == VT_EMPTY || !pvRet) {
    VariantClear(&result);
    return;
  }
  if (vtRet != VT_VARIANT && result.vt != vtRet) {
    sc = VariantChangeType(&result, &result, 0, vtRet);
    if (FAILED(sc)) {
      VariantClear(&result);
      AfxThrowOleException(sc);
    }
  }
  StoreResult(result, vtRet, pvRet);
  VariantClear(&result);
}

void COleDispatchDriver::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...) {
  BYTE info[2] = {static_cast<BYTE>(vtProp), 0};
  WORD flags = vtProp == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
  va_list args;
  va_start(args, vtProp);
  try {
    InvokeHelperV(dwDispID, flags, VT_EMPTY, nullptr, info, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
}

void COleDispatchDriver::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const {
  const_cast<COleDispatchDriver*>(this)->InvokeHelper(dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp, nullptr);
}
