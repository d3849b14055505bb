// The two base interfaces of every automation object: reference counting and
// interface lookup (IUnknown), and the automation marker (IDispatch). Objects
// are reference counted; the last Release deletes them.
#pragma once

#include <atomic>
#include <cstring>
#include <type_traits>

#include "wintypes.h"

namespace com {

inline bool SameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

// Compile-time lookup of the identifier a class or interface declares (see
// __uuidof below): every interface has a static Uuid().
template <class T>
const GUID& UuidOf() {
  return T::Uuid();
}

}  // namespace com

#define __uuidof(type) (::com::UuidOf<type>())

struct IUnknown {
  static const GUID& Uuid();
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  IUnknown() = default;
  IUnknown(const IUnknown&) = delete;
  IUnknown& operator=(const IUnknown&) = delete;
  virtual ~IUnknown() = default;
};

typedef LONG DISPID;
struct tagDISPPARAMS;
struct tagEXCEPINFO;
struct tagVARIANT;
struct ITypeInfo;

// The automation interface: members called by dispatch identifier
// (oaidl.h has the parameter and exception structures). An object that is
// reached only through its own interface keeps the defaults: no type
// information, no names, and Invoke answers DISP_E_MEMBERNOTFOUND.
struct IDispatch : IUnknown {
  static const GUID& Uuid();
  virtual HRESULT GetTypeInfoCount(UINT* count);
  virtual HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info);
  virtual HRESULT GetIDsOfNames(REFIID riid, wchar_t** names, UINT count, LCID lcid, DISPID* ids);
  virtual HRESULT Invoke(DISPID member, REFIID riid, LCID lcid, WORD flags, tagDISPPARAMS* params,
                         tagVARIANT* result, tagEXCEPINFO* excepInfo, UINT* argErr);
};

typedef IUnknown* LPUNKNOWN;
typedef IDispatch* LPDISPATCH;

namespace com {

// Reference counting for an implementation class; Interface is the most
// derived interface it implements. QueryInterface answers IUnknown, Interface
// itself, and IDispatch when Interface is a dispatch interface.
template <class Interface>
class RefCounted : public Interface {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    bool dispatch = std::is_base_of_v<IDispatch, Interface> && SameGuid(iid, IDispatch::Uuid());
    if (SameGuid(iid, IUnknown::Uuid()) || dispatch || SameGuid(iid, Interface::Uuid())) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++m_refs; }
  ULONG Release() override {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }

 private:
  std::atomic<ULONG> m_refs{0};
};

}  // namespace com
