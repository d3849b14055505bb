// Early-bound interfaces across processes. A client that holds an object of
// a local server calls the interface's own methods (not only Invoke): its
// pointer is a proxy that sends "call function-table slot N with these
// values" to the server, where a stub calls that method of the real object.
// Slots count from 0 as the original function tables did: the three IUnknown
// entries, the four IDispatch entries, then the interface's own methods in
// declaration order (so the first own method is slot 7).
//
// Whoever declares an interface registers its marshaller: the proxy class
// (a ProxyOf<Interface> whose methods call CallSlot) and the stub function.
// A QueryInterface for an interface without a marshaller fails with
// E_NOINTERFACE in the client, as it did without a proxy/stub registration.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <type_traits>
#include <vector>

#include "comdef.h"
#include "comutil.h"
#include "oaidl.h"
#include "unknwn.h"

namespace com {

// One reference to an object of a local server, held by one proxy; the
// server is told when it goes.
class RemoteRef;

// What proxies use of the runtime (comclient.cpp).
HRESULT RemoteQueryInterface(const std::shared_ptr<RemoteRef>& ref, REFIID iid, void** object);
HRESULT RemoteInvoke(const std::shared_ptr<RemoteRef>& ref, DISPID member, LCID lcid, WORD flags, DISPPARAMS* params,
                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr);
// Calls slot `slot` of interface iid with the values `in` (the method's in
// parameters in order); the out value, if the method has one, comes back in
// *out (objects as VT_DISPATCH/VT_UNKNOWN proxies).
HRESULT RemoteCallSlot(const std::shared_ptr<RemoteRef>& ref, REFIID iid, int slot, const std::vector<_variant_t>& in,
                       VARIANT* out);
// Proxies announce themselves so that a proxy passed back to its server as
// an argument travels as the server's own object.
void NoteProxy(IUnknown* proxy, const std::shared_ptr<RemoteRef>& ref);
void ForgetProxy(IUnknown* proxy);

// The base of a proxy for a dual interface (one derived from IDispatch):
// reference counting is local, the last Release gives up the remote
// reference, QueryInterface and Invoke go to the server. Derived classes
// implement the interface's own methods with the helpers below.
template <class Interface>
class ProxyOf : public Interface {
  static_assert(std::is_base_of_v<IDispatch, Interface>, "proxies are made for dispatch interfaces");

 public:
  explicit ProxyOf(std::shared_ptr<RemoteRef> ref) : m_ref(std::move(ref)) {
    NoteProxy(static_cast<IUnknown*>(this), m_ref);
  }
  ~ProxyOf() override { ForgetProxy(static_cast<IUnknown*>(this)); }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (SameGuid(iid, IUnknown::Uuid()) || SameGuid(iid, Interface::Uuid()) ||
        (SameGuid(iid, IDispatch::Uuid()))) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    return RemoteQueryInterface(m_ref, iid, object);
  }
  ULONG AddRef() override { return ++m_refs; }
  ULONG Release() override {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }
  HRESULT Invoke(DISPID member, REFIID, LCID lcid, WORD flags, tagDISPPARAMS* params, tagVARIANT* result,
                 tagEXCEPINFO* excepInfo, UINT* argErr) override {
    return RemoteInvoke(m_ref, member, lcid, flags, params, result, excepInfo, argErr);
  }

 protected:
  HRESULT CallSlot(int slot, std::vector<_variant_t> in, VARIANT* out) {
    return RemoteCallSlot(m_ref, Interface::Uuid(), slot, in, out);
  }
  // A property get that hands out an object of interface I.
  template <class I>
  HRESULT GetObjectSlot(int slot, I** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = CallSlot(slot, {}, &value);
    if (SUCCEEDED(hr)) {
      if ((value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) && value.punkVal)
        hr = value.punkVal->QueryInterface(I::Uuid(), reinterpret_cast<void**>(out));
      else
        hr = E_FAIL;
    }
    VariantClear(&value);
    return hr;
  }
  // A property get of a text; *out is a BSTR the caller frees.
  HRESULT GetTextSlot(int slot, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = CallSlot(slot, {}, &value);
    if (SUCCEEDED(hr)) {
      if (value.vt == VT_BSTR) {
        *out = value.bstrVal;
        value.vt = VT_EMPTY;
      } else {
        hr = DISP_E_TYPEMISMATCH;
      }
    }
    VariantClear(&value);
    return hr;
  }
  // A property put of a text.
  HRESULT PutTextSlot(int slot, const wchar_t* text) {
    return CallSlot(slot, {_variant_t(text ? text : L"")}, nullptr);
  }

 private:
  std::shared_ptr<RemoteRef> m_ref;
  std::atomic<ULONG> m_refs{1};
};

// How one interface crosses: the client-side proxy and the server-side stub.
struct InterfaceMarshaller {
  // Makes the proxy for a remote object, holding one reference.
  std::function<IUnknown*(std::shared_ptr<RemoteRef>)> makeProxy;
  // Calls slot `slot` of `object` (a pointer to the interface itself) with
  // the in values; puts the out value (if any) into *out.
  std::function<HRESULT(IUnknown* object, int slot, std::vector<_variant_t>& in, VARIANT* out)> callSlot;
};

void RegisterMarshaller(REFIID iid, InterfaceMarshaller marshaller);
// Null when the interface has none.
const InterfaceMarshaller* FindMarshaller(REFIID iid);

// Helpers for stubs: an object put into an out VARIANT (one reference
// handed over), and a text.
HRESULT ObjectResult(IDispatch* object, VARIANT* out);
HRESULT TextResult(BSTR text, VARIANT* out);

}  // namespace com
