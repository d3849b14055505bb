// The in-process stand-in for the host's application object.
#include "fakeacad.h"

#include "comdef.h"
#include "comproxy.h"
#include "textconv.h"

namespace fakeacad {
namespace {

std::string Caption() {
  wchar_t text[256] = {0};
  if (State().dialog) ::GetWindowTextW(State().dialog, text, 256);
  return win::WideToUtf8(text);
}

void Note(const std::string& call) { State().calls.push_back(call + " | " + Caption()); }

template <class Interface>
class Counted : public com::RefCounted<Interface> {
 public:
  Counted() { ++State().live; }
  ~Counted() override { --State().live; }
};

class Files : public Counted<IAcadPreferencesFiles> {
 public:
  HRESULT get_Application(IDispatch** app) override {
    *app = nullptr;
    return E_NOTIMPL;
  }
  HRESULT put_SupportPath(BSTR path) override {
    Note("files put " + win::WideToUtf8(path ? path : L""));
    if (FAILED(State().putPathResult)) return State().putPathResult;
    State().supportPath = path ? path : L"";
    return S_OK;
  }
  HRESULT get_SupportPath(BSTR* path) override {
    Note("files get");
    *path = SysAllocString(State().supportPath.c_str());
    return S_OK;
  }
};

class Preferences : public Counted<IAcadPreferences> {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (com::SameGuid(iid, IAcadPreferences::Uuid())) Note("query preferences");
    if (State().prefsWithoutInterface && com::SameGuid(iid, IAcadPreferences::Uuid())) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    return Counted<IAcadPreferences>::QueryInterface(iid, object);
  }
  HRESULT get_Application(IDispatch** app) override {
    *app = nullptr;
    return E_NOTIMPL;
  }
  HRESULT get_Files(IAcadPreferencesFiles** files) override {
    Note("preferences files");
    *files = new Files;
    (*files)->AddRef();
    return S_OK;
  }
};

class Application : public Counted<IDispatch> {
 public:
  HRESULT Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                 UINT*) override {
    Host& host = State();
    std::string call = std::to_string(member);
    VARIANT* put = com::PropertyPutValue(params);
    VARIANT* argument = com::DispatchArgument(params, 0);
    if (flags & DISPATCH_PROPERTYPUT) call = "put " + call + " " + win::WideToUtf8(static_cast<const wchar_t*>(_bstr_t(*put)));
    else if (flags & DISPATCH_PROPERTYGET) call = "get " + call;
    if (member == 19 && argument) call += " " + win::WideToUtf8(static_cast<const wchar_t*>(_bstr_t(*argument)));
    Note(call);
    auto failure = host.failures.find(member);
    if (failure != host.failures.end()) return failure->second;
    switch (member) {
      case 14: {
        if (host.noPreferences) return S_OK;
        auto* prefs = new Preferences;
        prefs->AddRef();
        return com::ObjectResult(prefs, result);
      }
      case 19: {
        if (static_cast<int>(host.loaded.size()) + 1 == host.failingLoad) {
          if (host.loadFailure == DISP_E_EXCEPTION)
            return com::FillExcepInfo(excepInfo, E_FAIL, L"AutoCAD", L"the module refused to initialise");
          return host.loadFailure;
        }
        host.loaded.push_back(static_cast<const wchar_t*>(_bstr_t(*argument)));
        return S_OK;
      }
      case 1:
        host.visible = _variant_t(*put);
        return S_OK;
      case 34:
        host.windowState = _variant_t(*put);
        return S_OK;
      case 8:
      case 11:
      case 13:
        if (result) {
          result->vt = VT_I4;
          result->lVal = member == 8 ? host.left : member == 11 ? host.top : host.width;
        }
        return S_OK;
      default: return S_OK;
    }
  }
};

}  // namespace

Host& State() {
  static Host host;
  return host;
}

void Reset() { State() = Host{}; }

void RegisterClass(const CLSID& clsid, const wchar_t* progId) {
  com::RegisterClassFactory(clsid, progId, [clsid]() -> IUnknown* {
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    ++State().created;
    Note(std::string("created ") + win::WideToUtf8(text));
    return new Application;
  });
}

void UnregisterClass(const CLSID& clsid) { com::UnregisterClassFactory(clsid); }

}  // namespace fakeacad
