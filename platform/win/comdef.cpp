// _com_error and its message, and the registry of creatable classes behind
// CoCreateInstance and CLSIDFromProgID.
#include "comdef.h"

#include <algorithm>
#include <cwchar>
#include <map>
#include <mutex>
#include <vector>

#include "format.h"
#include "textutil.h"

[[noreturn]] void _com_issue_error(HRESULT hr) { throw _com_error(hr); }

[[noreturn]] void _com_issue_errorex(HRESULT hr, const wchar_t* description) { throw _com_error(hr, description); }

namespace com {

const wchar_t* SystemMessage(HRESULT hr) {
  switch (static_cast<uint32_t>(hr)) {
    case 0x00000000u: return L"The operation completed successfully.";
    case 0x80004001u: return L"Not implemented";
    case 0x80004002u: return L"No such interface supported";
    case 0x80004003u: return L"Invalid pointer";
    case 0x80004005u: return L"Unspecified error";
    case 0x8000FFFFu: return L"Catastrophic failure";
    case 0x80070002u: return L"The system cannot find the file specified.";
    case 0x80070005u: return L"Access is denied.";
    case 0x8007000Eu: return L"Not enough memory resources are available to complete this operation.";
    case 0x80070057u: return L"The parameter is incorrect.";
    case 0x80020004u: return L"Parameter not found.";
    case 0x80020005u: return L"Type mismatch.";
    case 0x80020008u: return L"Bad variable type.";
    case 0x8002000Au: return L"Out of present range.";
    case 0x80040110u: return L"Class does not support aggregation (or class object is remote)";
    case 0x80040154u: return L"Class not registered";
    case 0x800401F3u: return L"Invalid class string";
    case 0x800401F0u: return L"CoInitialize has not been called.";
    case 0x80080005u: return L"Server execution failed";
    case 0x80010105u: return L"The server threw an exception.";
    case 0x80010108u: return L"The object invoked has disconnected from its clients.";
    case 0x80020003u: return L"Member not found.";
    case 0x80020006u: return L"Unknown name.";
    case 0x80020009u: return L"Exception occurred.";
    case 0x8002000Eu: return L"Invalid number of parameters.";
    default: return nullptr;
  }
}

namespace {

struct ClassEntry {
  GUID clsid;
  std::wstring progId;
  Factory factory;
};

std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}

std::vector<ClassEntry>& Classes() {
  static std::vector<ClassEntry> classes;
  return classes;
}

}  // namespace

void RegisterClassFactory(const GUID& clsid, const wchar_t* progId, Factory factory) {
  std::lock_guard<std::mutex> guard(RegistryLock());
  for (ClassEntry& entry : Classes()) {
    if (SameGuid(entry.clsid, clsid)) {
      entry.progId = progId ? progId : L"";
      entry.factory = std::move(factory);
      return;
    }
  }
  Classes().push_back({clsid, progId ? progId : L"", std::move(factory)});
}

void UnregisterClassFactory(const GUID& clsid) {
  std::lock_guard<std::mutex> guard(RegistryLock());
  std::vector<ClassEntry>& classes = Classes();
  classes.erase(std::remove_if(classes.begin(), classes.end(),
                               [&](const ClassEntry& entry) { return SameGuid(entry.clsid, clsid); }),
                classes.end());
}

HRESULT CLSIDFromProgID(const wchar_t* progId, GUID* clsid) {
  if (!progId || !clsid) return E_INVALIDARG;
  std::lock_guard<std::mutex> guard(RegistryLock());
  for (const ClassEntry& entry : Classes()) {
    if (win::textutil::EqualNoCase(entry.progId, progId)) {
      *clsid = entry.clsid;
      return S_OK;
    }
  }
  return CO_E_CLASSSTRING;
}

HRESULT CreateInstance(const GUID& clsid, const GUID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  Factory factory;
  {
    std::lock_guard<std::mutex> guard(RegistryLock());
    for (const ClassEntry& entry : Classes()) {
      if (SameGuid(entry.clsid, clsid)) factory = entry.factory;
    }
  }
  if (!factory) return REGDB_E_CLASSNOTREG;
  IUnknown* created = nullptr;
  try {
    created = factory();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  if (!created) return E_OUTOFMEMORY;
  created->AddRef();
  HRESULT hr = created->QueryInterface(iid, object);
  created->Release();
  return hr;
}

}  // namespace com

const GUID& IUnknown::Uuid() {
  static const GUID id = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  return id;
}

const GUID& IDispatch::Uuid() {
  static const GUID id = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  return id;
}

_com_error::_com_error(HRESULT hr, const wchar_t* description, const wchar_t* source)
    : m_hr(hr), m_description(description ? description : L""), m_source(source ? source : L"") {
  if (!m_description.empty()) {
    m_message = m_description;
  } else if (const wchar_t* text = com::SystemMessage(hr)) {
    m_message = text;
  } else if (WCode() != 0) {
    m_message = win::Format(L"IDispatch error #%d", static_cast<int>(WCode()));
  } else {
    m_message = win::Format(L"Unknown error 0x%0lX", static_cast<DWORD>(hr));
  }
}

WORD _com_error::HRESULTToWCode(HRESULT hr) {
  uint32_t code = static_cast<uint32_t>(hr);
  return code >= 0x80040200u && code <= 0x8004FFFFu ? static_cast<WORD>(code - 0x80040200u) : 0;
}

WORD _com_error::WCode() const { return HRESULTToWCode(m_hr); }

_bstr_t _com_error::Description() const { return m_description.empty() ? _bstr_t() : _bstr_t(m_description); }

_bstr_t _com_error::Source() const { return m_source.empty() ? _bstr_t() : _bstr_t(m_source); }
