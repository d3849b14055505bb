// The test interface's identifier and its marshaller.
#include "testgadget.h"

const GUID& ITestGadget::Uuid() {
  // {1D4E2A90-7C3B-4F65-8E21-3B9A6C0D5F12}
  static const GUID id = {0x1D4E2A90, 0x7C3B, 0x4F65, {0x8E, 0x21, 0x3B, 0x9A, 0x6C, 0x0D, 0x5F, 0x12}};
  return id;
}

namespace comtest {
namespace {

class GadgetProxy : public com::ProxyOf<ITestGadget> {
 public:
  using ProxyOf::ProxyOf;
  HRESULT get_Name(BSTR* name) override { return GetTextSlot(7, name); }
  HRESULT put_Name(BSTR name) override { return PutTextSlot(8, name); }
  HRESULT get_Owner(IDispatch** owner) override { return GetObjectSlot(9, owner); }
};

HRESULT GadgetSlot(IUnknown* object, int slot, std::vector<_variant_t>& in, VARIANT* out) {
  auto* gadget = static_cast<ITestGadget*>(object);
  switch (slot) {
    case 7: {
      BSTR name = nullptr;
      HRESULT hr = gadget->get_Name(&name);
      if (SUCCEEDED(hr)) com::TextResult(name, out);
      return hr;
    }
    case 8: {
      if (in.size() != 1) return E_INVALIDARG;
      _bstr_t name(in[0]);
      BSTR copy = name.copy();
      HRESULT hr = gadget->put_Name(copy);
      SysFreeString(copy);
      return hr;
    }
    case 9: {
      IDispatch* owner = nullptr;
      HRESULT hr = gadget->get_Owner(&owner);
      if (SUCCEEDED(hr)) com::ObjectResult(owner, out);
      return hr;
    }
    default: return E_INVALIDARG;
  }
}

}  // namespace

void RegisterGadgetMarshaller() {
  com::RegisterMarshaller(ITestGadget::Uuid(),
                          {[](std::shared_ptr<com::RemoteRef> ref) -> IUnknown* {
                             return static_cast<ITestGadget*>(new GadgetProxy(std::move(ref)));
                           },
                           GadgetSlot});
}

}  // namespace comtest
