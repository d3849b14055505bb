// The COM library calls of a process: thread initialisation, program
// identifiers, object creation, the dispatch defaults and helpers, and the
// table of interface marshallers.
#include <cwchar>
#include <map>
#include <mutex>

#include "comclient.h"
#include "comproxy.h"
#include "objbase.h"
#include "regtext.h"

// ---------------------------------------------------------------- IDispatch defaults

HRESULT IDispatch::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT IDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT IDispatch::GetIDsOfNames(REFIID, wchar_t**, UINT count, LCID, DISPID* ids) {
  for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT IDispatch::Invoke(DISPID, REFIID, LCID, WORD, tagDISPPARAMS*, tagVARIANT*, tagEXCEPINFO*, UINT*) {
  return DISP_E_MEMBERNOTFOUND;
}

const GUID& IClassFactory::Uuid() {
  static const GUID id = {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  return id;
}

namespace com {

void ClearExcepInfo(EXCEPINFO* info) {
  if (!info) return;
  SysFreeString(info->bstrSource);
  SysFreeString(info->bstrDescription);
  SysFreeString(info->bstrHelpFile);
  *info = EXCEPINFO{};
}

HRESULT FillExcepInfo(EXCEPINFO* info, HRESULT code, const wchar_t* source, const wchar_t* description) {
  if (info) {
    ClearExcepInfo(info);
    info->scode = code;
    info->bstrSource = SysAllocString(source);
    info->bstrDescription = SysAllocString(description);
  }
  return DISP_E_EXCEPTION;
}

VARIANT* DispatchArgument(DISPPARAMS* params, UINT index) {
  if (!params || !params->rgvarg || params->cNamedArgs > params->cArgs) return nullptr;
  UINT positional = params->cArgs - params->cNamedArgs;
  if (index >= positional) return nullptr;
  return &params->rgvarg[params->cArgs - 1 - index];
}

VARIANT* PropertyPutValue(DISPPARAMS* params) {
  if (!params || !params->rgvarg || !params->rgdispidNamedArgs) return nullptr;
  for (UINT i = 0; i < params->cNamedArgs && i < params->cArgs; ++i)
    if (params->rgdispidNamedArgs[i] == DISPID_PROPERTYPUT) return &params->rgvarg[i];
  return nullptr;
}

HRESULT ObjectResult(IDispatch* object, VARIANT* out) {
  if (!out) {
    if (object) object->Release();
    return S_OK;
  }
  VariantClear(out);
  out->vt = VT_DISPATCH;
  out->pdispVal = object;
  return S_OK;
}

HRESULT TextResult(BSTR text, VARIANT* out) {
  if (!out) {
    SysFreeString(text);
    return S_OK;
  }
  VariantClear(out);
  out->vt = VT_BSTR;
  out->bstrVal = text;
  return S_OK;
}

namespace {

std::mutex g_marshallerLock;

std::map<std::wstring, InterfaceMarshaller>& Marshallers() {
  static std::map<std::wstring, InterfaceMarshaller> table;
  return table;
}

std::wstring Key(REFIID iid) {
  wchar_t text[40];
  StringFromGUID2(iid, text, 40);
  return text;
}

// The calling thread's initialisation: how often, and in which model.
thread_local int t_initCount = 0;
thread_local DWORD t_model = 0;

}  // namespace

void RegisterMarshaller(REFIID iid, InterfaceMarshaller marshaller) {
  std::lock_guard<std::mutex> lock(g_marshallerLock);
  Marshallers()[Key(iid)] = std::move(marshaller);
}

const InterfaceMarshaller* FindMarshaller(REFIID iid) {
  std::lock_guard<std::mutex> lock(g_marshallerLock);
  auto it = Marshallers().find(Key(iid));
  return it == Marshallers().end() ? nullptr : &it->second;
}

bool ThreadInitialized() { return t_initCount > 0; }

}  // namespace com

// ---------------------------------------------------------------- the library calls

HRESULT CoInitializeEx(LPVOID, DWORD coInit) {
  DWORD model = coInit & COINIT_APARTMENTTHREADED;
  if (com::t_initCount > 0 && com::t_model != model) return RPC_E_CHANGED_MODE;
  com::t_model = model;
  return com::t_initCount++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(LPVOID reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize() {
  if (com::t_initCount > 0) --com::t_initCount;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, LPCLSID clsid) {
  if (!progId || !clsid) return E_INVALIDARG;
  if (SUCCEEDED(com::CLSIDFromProgID(progId, clsid))) return S_OK;
  std::wstring name(progId);
  // A ProgID is one key name: a backslash would reach other keys.
  if (name.empty() || name.find(L'\\') != std::wstring::npos) return CO_E_CLASSSTRING;
  for (int hop = 0; hop < 2; ++hop) {
    if (std::optional<std::wstring> text = win::ReadRegText(HKEY_CLASSES_ROOT, name + L"\\CLSID", L"")) {
      CLSID found{};
      if (FAILED(CLSIDFromString(text->c_str(), &found))) return CO_E_CLASSSTRING;
      *clsid = found;
      return S_OK;
    }
    // A version-independent ProgID names its current version.
    std::optional<std::wstring> current = win::ReadRegText(HKEY_CLASSES_ROOT, name + L"\\CurVer", L"");
    if (!current || current->empty() || current->find(L'\\') != std::wstring::npos || *current == name) break;
    name = *current;
  }
  return CO_E_CLASSSTRING;
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD clsContext, REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!com::ThreadInitialized()) return CO_E_NOTINITIALIZED;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (clsContext & CLSCTX_INPROC_SERVER) {
    HRESULT hr = com::CreateInstance(clsid, iid, object);
    if (hr != REGDB_E_CLASSNOTREG) return hr;
  }
  if (clsContext & CLSCTX_LOCAL_SERVER) {
    wchar_t key[40];
    StringFromGUID2(clsid, key, 40);
    std::optional<std::wstring> command =
        win::ReadRegText(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + key + L"\\LocalServer32", L"");
    if (command) return com::CreateInLocalServer(clsid, *command, iid, object);
  }
  return REGDB_E_CLASSNOTREG;
}
