// Identifiers of the preferences interfaces and their marshallers: the
// proxies a client uses and the stubs that call the host's objects.
#include "acadprefs.h"

#include "comproxy.h"

// {5A6047B5-55E8-456B-A5D1-D42C5DC90B96}
const IID IID_IAcadPreferences = {0x5A6047B5, 0x55E8, 0x456B, {0xA5, 0xD1, 0xD4, 0x2C, 0x5D, 0xC9, 0x0B, 0x96}};
// {F6CD9A53-A4BA-4861-910C-D4619B52A261}
const IID IID_IAcadPreferencesFiles = {0xF6CD9A53, 0xA4BA, 0x4861, {0x91, 0x0C, 0xD4, 0x61, 0x9B, 0x52, 0xA2, 0x61}};

const GUID& IAcadPreferences::Uuid() { return IID_IAcadPreferences; }
const GUID& IAcadPreferencesFiles::Uuid() { return IID_IAcadPreferencesFiles; }

namespace {

class PreferencesProxy : public com::ProxyOf<IAcadPreferences> {
 public:
  using ProxyOf::ProxyOf;
  HRESULT get_Application(IDispatch** application) override { return GetObjectSlot(7, application); }
  HRESULT get_Files(IAcadPreferencesFiles** files) override { return GetObjectSlot(8, files); }
};

class PreferencesFilesProxy : public com::ProxyOf<IAcadPreferencesFiles> {
 public:
  using ProxyOf::ProxyOf;
  HRESULT get_Application(IDispatch** application) override { return GetObjectSlot(7, application); }
  HRESULT put_SupportPath(BSTR path) override { return PutTextSlot(8, path); }
  HRESULT get_SupportPath(BSTR* path) override { return GetTextSlot(9, path); }
};

HRESULT ApplicationSlot(HRESULT (*get)(IUnknown*, IDispatch**), IUnknown* object, VARIANT* out) {
  IDispatch* application = nullptr;
  HRESULT hr = get(object, &application);
  if (SUCCEEDED(hr)) com::ObjectResult(application, out);
  return hr;
}

HRESULT PreferencesSlot(IUnknown* object, int slot, std::vector<_variant_t>&, VARIANT* out) {
  auto* prefs = static_cast<IAcadPreferences*>(object);
  switch (slot) {
    case 7:
      return ApplicationSlot([](IUnknown* o, IDispatch** a) { return static_cast<IAcadPreferences*>(o)->get_Application(a); },
                             object, out);
    case 8: {
      IAcadPreferencesFiles* files = nullptr;
      HRESULT hr = prefs->get_Files(&files);
      if (SUCCEEDED(hr)) com::ObjectResult(files, out);
      return hr;
    }
    default: return E_INVALIDARG;
  }
}

HRESULT PreferencesFilesSlot(IUnknown* object, int slot, std::vector<_variant_t>& in, VARIANT* out) {
  auto* files = static_cast<IAcadPreferencesFiles*>(object);
  switch (slot) {
    case 7:
      return ApplicationSlot(
          [](IUnknown* o, IDispatch** a) { return static_cast<IAcadPreferencesFiles*>(o)->get_Application(a); },
          object, out);
    case 8: {
      if (in.size() != 1) return E_INVALIDARG;
      _bstr_t text(in[0]);
      BSTR path = text.copy();
      HRESULT hr = files->put_SupportPath(path);
      SysFreeString(path);
      return hr;
    }
    case 9: {
      BSTR path = nullptr;
      HRESULT hr = files->get_SupportPath(&path);
      if (SUCCEEDED(hr)) com::TextResult(path, out);
      return hr;
    }
    default: return E_INVALIDARG;
  }
}

const bool g_registered = [] {
  com::RegisterMarshaller(IID_IAcadPreferences,
                          {[](std::shared_ptr<com::RemoteRef> ref) -> IUnknown* {
                             return static_cast<IAcadPreferences*>(new PreferencesProxy(std::move(ref)));
                           },
                           PreferencesSlot});
  com::RegisterMarshaller(IID_IAcadPreferencesFiles,
                          {[](std::shared_ptr<com::RemoteRef> ref) -> IUnknown* {
                             return static_cast<IAcadPreferencesFiles*>(new PreferencesFilesProxy(std::move(ref)));
                           },
                           PreferencesFilesSlot});
  return true;
}();

}  // namespace
