// The local server of the COM tests: offers one class whose object answers
// dispatch calls of every kind the tests need, and the early-bound
// ITestGadget. When its client hands over the script it writes the lines it
// got to the file $COMTEST_HANDOVER.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "comserver.h"
#include "testgadget.h"
#include "textconv.h"

namespace {

bool g_goesOn = false;

class Gadget : public com::RefCounted<ITestGadget> {
 public:
  explicit Gadget(Gadget* owner = nullptr) : m_owner(owner) {
    if (m_owner) m_owner->AddRef();
  }
  ~Gadget() override {
    if (m_owner) m_owner->Release();
  }

  HRESULT get_Name(BSTR* name) override {
    if (!name) return E_POINTER;
    *name = SysAllocString(m_name.c_str());
    return S_OK;
  }
  HRESULT put_Name(BSTR name) override {
    m_name = name ? name : L"";
    return S_OK;
  }
  HRESULT get_Owner(IDispatch** owner) override {
    if (!owner) return E_POINTER;
    *owner = m_owner ? static_cast<IDispatch*>(m_owner) : static_cast<IDispatch*>(this);
    (*owner)->AddRef();
    return S_OK;
  }

  HRESULT Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                 UINT* argErr) override {
    VARIANT* first = com::DispatchArgument(params, 0);
    VARIANT* second = com::DispatchArgument(params, 1);
    switch (member) {
      case comtest::kEcho:
        if (!first) return DISP_E_BADPARAMCOUNT;
        return result ? VariantCopy(result, first) : S_OK;
      case comtest::kConcat: {
        if (!first || !second) return DISP_E_BADPARAMCOUNT;
        _bstr_t a(*first), b(*second);
        return com::TextResult((a + b).copy(), result);
      }
      case comtest::kValue:
        if (flags & DISPATCH_PROPERTYPUT) {
          VARIANT* value = com::PropertyPutValue(params);
          if (!value) return DISP_E_PARAMNOTFOUND;
          VARIANT converted;
          VariantInit(&converted);
          if (FAILED(VariantChangeType(&converted, value, 0, VT_I4))) {
            if (argErr) *argErr = 0;
            return DISP_E_TYPEMISMATCH;
          }
          m_value = converted.lVal;
          return S_OK;
        }
        if (result) {
          VariantClear(result);
          result->vt = VT_I4;
          result->lVal = m_value;
        }
        return S_OK;
      case comtest::kFail:
        if (!first) return DISP_E_BADPARAMCOUNT;
        return static_cast<HRESULT>(_variant_t(*first));
      case comtest::kRaise: {
        if (!first) return DISP_E_BADPARAMCOUNT;
        _bstr_t text(*first);
        return com::FillExcepInfo(excepInfo, static_cast<HRESULT>(0x80040201), L"TestServer", text);
      }
      case comtest::kChild: {
        auto* child = new Gadget(this);
        child->AddRef();
        return com::ObjectResult(child, result);
      }
      case comtest::kIsSelf:
        if (!first) return DISP_E_BADPARAMCOUNT;
        if (result) {
          VariantClear(result);
          result->vt = VT_BOOL;
          IUnknown* self = static_cast<ITestGadget*>(this);
          result->boolVal = first->vt == VT_DISPATCH && first->punkVal == self ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return S_OK;
      case comtest::kCrash:
        std::fflush(stdout);
        ::_exit(3);
      case comtest::kVisible: {
        VARIANT* value = com::PropertyPutValue(params);
        if (!value) return DISP_E_PARAMNOTFOUND;
        g_goesOn = _variant_t(*value);
        return S_OK;
      }
      case comtest::kPid:
        if (result) {
          VariantClear(result);
          result->vt = VT_I4;
          result->lVal = static_cast<LONG>(::getpid());
        }
        return S_OK;
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  Gadget* m_owner;
  std::wstring m_name;
  LONG m_value = 0;
};

class Factory : public com::RefCounted<IClassFactory> {
 public:
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* gadget = new Gadget;
    gadget->AddRef();
    HRESULT hr = gadget->QueryInterface(iid, object);
    gadget->Release();
    return hr;
  }
  HRESULT LockServer(BOOL) override { return S_OK; }
};

}  // namespace

int main() {
  comtest::RegisterGadgetMarshaller();
  if (!com::StartedAsLocalServer()) {
    std::fprintf(stderr, "comtestserver: not started by the COM runtime\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  auto* factory = new Factory;
  factory->AddRef();
  DWORD cookie = 0;
  CoRegisterClassObject(comtest::kServerClass, factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie);
  factory->Release();
  com::ServerEnd end = com::ServeClient([] { return g_goesOn; });
  CoRevokeClassObject(cookie);
  if (end.handedOver) {
    if (const char* file = std::getenv("COMTEST_HANDOVER")) {
      std::ofstream out(file);
      for (const std::string& line : end.stream.lines) out << line << "\n";
      out << "standard input: " << (end.stream.thenStandardInput ? "yes" : "no") << "\n";
    }
  }
  return 0;
}
