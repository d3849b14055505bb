// COM error reporting and the smart interface pointer: _com_error carries a
// result code, its system message and the description the failing object
// gave; _com_ptr_t holds one reference to an object and creates objects by
// class identifier or program identifier.
#pragma once

#include <functional>
#include <string>
#include <type_traits>

#include "comutil.h"
#include "unknwn.h"

#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_REMOTE_SERVER 0x10
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)

class _com_error {
 public:
  // description: what the failing object said (may be empty).
  explicit _com_error(HRESULT hr, const wchar_t* description = nullptr, const wchar_t* source = nullptr);

  HRESULT Error() const { return m_hr; }
  // The automation error code hidden in an interface-defined result, else 0.
  WORD WCode() const;
  // The message for the user: the failing object's description when it gave
  // one, else the system's text for the result code, else "IDispatch error #n"
  // for interface-defined codes or "Unknown error 0x%0lX".
  const wchar_t* ErrorMessage() const { return m_message.c_str(); }
  _bstr_t Description() const;
  _bstr_t Source() const;

  static HRESULT WCodeToHRESULT(WORD code) { return code >= 0xFE00 ? (HRESULT)0x80040200 : (HRESULT)(0x80040200 + code); }
  static WORD HRESULTToWCode(HRESULT hr);

 private:
  HRESULT m_hr;
  std::wstring m_description;
  std::wstring m_source;
  std::wstring m_message;
};

namespace com {

// The system's text for a result code, or null when it has none.
const wchar_t* SystemMessage(HRESULT hr);

// Object creation: a class registers a factory under its class identifier
// and program identifier ("ADODB.Connection").
using Factory = std::function<IUnknown*()>;
void RegisterClassFactory(const GUID& clsid, const wchar_t* progId, Factory factory);
// Takes a class out again; a library that registered its classes does so
// before it is unloaded, since the factories are its code.
void UnregisterClassFactory(const GUID& clsid);
HRESULT CLSIDFromProgID(const wchar_t* progId, GUID* clsid);
// Creates an object of the class and asks it for the interface.
HRESULT CreateInstance(const GUID& clsid, const GUID& iid, void** object);

}  // namespace com

// A reference-counting pointer to one interface. The arrow on an empty pointer
// raises E_POINTER, as the original did.
template <class Interface>
class _com_ptr_t {
 public:
  _com_ptr_t() = default;
  _com_ptr_t(Interface* object, bool addRef = true) : m_p(object) {  // NOLINT
    if (m_p && addRef) m_p->AddRef();
  }
  _com_ptr_t(const _com_ptr_t& other) : m_p(other.m_p) {
    if (m_p) m_p->AddRef();
  }
  _com_ptr_t(_com_ptr_t&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
  // From an automation value holding an object: asks it for this interface.
  _com_ptr_t(const _variant_t& value) {  // NOLINT
    if ((value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) && value.punkVal) {
      HRESULT hr = value.punkVal->QueryInterface(__uuidof(Interface), reinterpret_cast<void**>(&m_p));
      if (FAILED(hr)) _com_issue_error(hr);
    } else if (value.vt != VT_EMPTY && value.vt != VT_NULL) {
      _com_issue_error(DISP_E_TYPEMISMATCH);
    }
  }
  ~_com_ptr_t() { Release(); }

  _com_ptr_t& operator=(const _com_ptr_t& other) {
    if (other.m_p) other.m_p->AddRef();
    Interface* old = m_p;
    m_p = other.m_p;
    if (old) old->Release();
    return *this;
  }
  _com_ptr_t& operator=(_com_ptr_t&& other) noexcept {
    if (this != &other) {
      Interface* old = m_p;
      m_p = other.m_p;
      other.m_p = nullptr;
      if (old) old->Release();
    }
    return *this;
  }
  _com_ptr_t& operator=(Interface* object) { return *this = _com_ptr_t(object); }

  HRESULT CreateInstance(const GUID& clsid, IUnknown* outer = nullptr, DWORD context = CLSCTX_ALL) {
    (void)context;
    Release();
    if (outer) return CLASS_E_NOAGGREGATION;
    return com::CreateInstance(clsid, __uuidof(Interface), reinterpret_cast<void**>(&m_p));
  }
  HRESULT CreateInstance(const wchar_t* progId, IUnknown* outer = nullptr, DWORD context = CLSCTX_ALL) {
    GUID clsid{};
    HRESULT hr = com::CLSIDFromProgID(progId, &clsid);
    if (FAILED(hr)) {
      Release();
      return hr;
    }
    return CreateInstance(clsid, outer, context);
  }
  HRESULT CreateInstance(const char* progId, IUnknown* outer = nullptr, DWORD context = CLSCTX_ALL) {
    return CreateInstance(static_cast<const wchar_t*>(_bstr_t(progId)), outer, context);
  }

  void Release() {
    if (m_p) {
      Interface* old = m_p;
      m_p = nullptr;
      old->Release();
    }
  }
  void Attach(Interface* object) {
    Release();
    m_p = object;
  }
  Interface* Detach() {
    Interface* p = m_p;
    m_p = nullptr;
    return p;
  }

  Interface* GetInterfacePtr() const { return m_p; }
  operator Interface*() const { return m_p; }  // NOLINT
  Interface* operator->() const {
    if (!m_p) _com_issue_error(E_POINTER);
    return m_p;
  }
  Interface& operator*() const {
    if (!m_p) _com_issue_error(E_POINTER);
    return *m_p;
  }
  explicit operator bool() const { return m_p != nullptr; }
  bool operator!() const { return m_p == nullptr; }
  bool operator==(const Interface* other) const { return m_p == other; }
  bool operator!=(const Interface* other) const { return m_p != other; }

 private:
  Interface* m_p = nullptr;
};

#define _COM_SMARTPTR_TYPEDEF(Interface, iid) typedef _com_ptr_t<Interface> Interface##Ptr
