// The host's automation server: the application object, the preferences
// objects, the class objects and the serving of the client.
#include "automation.h"

#include "comproxy.h"

#include <sys/stat.h>

#include <algorithm>

#include "acadi.h"
#include "acadmodel.h"
#include "acadprefs.h"
#include "acedframe.h"
#include "acedview.h"
#include "dbdatabase.h"
#include "dbentity.h"
#include "dbextents.h"
#include "dbhostapp.h"
#include "dbsymtb.h"
#include "module.h"
#include "objbase.h"
#include "paths.h"
#include "regtext.h"
#include "rxdynlink.h"
#include "rxmfcapi.h"

namespace host {
namespace {

const wchar_t kSource[] = L"AutoCAD.Application";

// The value of a property put, converted; DISP_E_PARAMNOTFOUND without one.
HRESULT PutValue(DISPPARAMS* params, VARTYPE type, VARIANT& out, UINT* argErr) {
  VARIANT* value = com::PropertyPutValue(params);
  if (!value) return DISP_E_PARAMNOTFOUND;
  VariantInit(&out);
  HRESULT hr = VariantChangeType(&out, value, 0, type);
  if (FAILED(hr) && argErr) *argErr = 0;
  return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

HRESULT IntegerResult(LONG value, VARIANT* result) {
  if (result) {
    VariantClear(result);
    result->vt = VT_I4;
    result->lVal = value;
  }
  return S_OK;
}

CRect FrameRect() {
  CRect rect;
  if (CWnd* frame = acedGetAcadFrame()) frame->GetWindowRect(&rect);
  return rect;
}

// The application's visible flag lives in the host's automation model; the
// main window follows it.
void SetVisible(bool visible) {
  if (IDispatch* dispatch = AcadGetIDispatch(FALSE)) {
    IAcadApplication* app = nullptr;
    if (SUCCEEDED(dispatch->QueryInterface(IAcadApplication::Uuid(), reinterpret_cast<void**>(&app))) && app) {
      app->put_Visible(visible ? VARIANT_TRUE : VARIANT_FALSE);
      app->Release();
    }
  }
  if (CWnd* frame = acedGetAcadFrame()) frame->ShowWindow(visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

class PreferencesFiles : public com::RefCounted<IAcadPreferencesFiles> {
 public:
  PreferencesFiles(const host::Release& release, IDispatch* application) : m_release(release), m_application(application) {
    if (m_application) m_application->AddRef();
  }
  ~PreferencesFiles() override {
    if (m_application) m_application->Release();
  }
  HRESULT get_Application(IDispatch** application) override {
    if (!application) return E_POINTER;
    *application = m_application;
    if (m_application) m_application->AddRef();
    return m_application ? S_OK : E_FAIL;
  }
  HRESULT put_SupportPath(BSTR path) override {
    return SetSupportPath(m_release, path ? path : L"") ? S_OK : E_ACCESSDENIED;
  }
  HRESULT get_SupportPath(BSTR* path) override {
    if (!path) return E_POINTER;
    std::wstring text = SupportPath(m_release);
    *path = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return S_OK;
  }

 private:
  const host::Release& m_release;
  IDispatch* m_application;
};

class Preferences : public com::RefCounted<IAcadPreferences> {
 public:
  Preferences(const host::Release& release, IDispatch* application) : m_release(release), m_application(application) {
    if (m_application) m_application->AddRef();
  }
  ~Preferences() override {
    if (m_application) m_application->Release();
  }
  HRESULT get_Application(IDispatch** application) override {
    if (!application) return E_POINTER;
    *application = m_application;
    if (m_application) m_application->AddRef();
    return m_application ? S_OK : E_FAIL;
  }
  HRESULT get_Files(IAcadPreferencesFiles** files) override {
    if (!files) return E_POINTER;
    *files = new PreferencesFiles(m_release, m_application);
    (*files)->AddRef();
    return S_OK;
  }

 private:
  const host::Release& m_release;
  IDispatch* m_application;
};

class Application : public com::RefCounted<IDispatch> {
 public:
  explicit Application(const host::Release& release) : m_release(release) {}

  HRESULT Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                 UINT* argErr) override {
    const bool get = (flags & DISPATCH_PROPERTYGET) != 0;
    const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    const bool method = (flags & DISPATCH_METHOD) != 0;
    switch (member) {
      case 1:
        if (put) {
          VARIANT value;
          HRESULT hr = PutValue(params, VT_BOOL, value, argErr);
          if (FAILED(hr)) return hr;
          SetVisible(value.boolVal != VARIANT_FALSE);
          return S_OK;
        }
        if (!get) break;
        if (result) {
          VariantClear(result);
          result->vt = VT_BOOL;
          result->boolVal = acad::ApplicationVisible() ? VARIANT_TRUE : VARIANT_FALSE;
        }
        return S_OK;
      case 7:
        if (get) return IntegerResult(FrameRect().Height(), result);
        break;
      case 8:
        if (get) return IntegerResult(FrameRect().left, result);
        break;
      case 11:
        if (get) return IntegerResult(FrameRect().top, result);
        break;
      case 13:
        if (get) return IntegerResult(FrameRect().Width(), result);
        break;
      case 14:
        if (!get) break;
        if (result) {
          auto* prefs = new Preferences(m_release, this);
          prefs->AddRef();
          com::ObjectResult(prefs, result);
        }
        return S_OK;
      case 19:
        if (method) return LoadArx(params, excepInfo, argErr);
        break;
      case 24:
        if (!method) break;
        if (CWnd* frame = acedGetAcadFrame()) {
          frame->Invalidate();
          frame->UpdateWindow();
        }
        return S_OK;
      case 25:
        if (!method) break;
        ZoomAll();
        return S_OK;
      case 34:
        if (put) {
          VARIANT value;
          HRESULT hr = PutValue(params, VT_I4, value, argErr);
          if (FAILED(hr)) return hr;
          return SetWindowState(value.lVal, excepInfo);
        }
        if (get) return IntegerResult(m_windowState, result);
        break;
      default: break;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  HRESULT LoadArx(DISPPARAMS* params, EXCEPINFO* excepInfo, UINT* argErr) {
    if (!params || params->cArgs - params->cNamedArgs != 1) return DISP_E_BADPARAMCOUNT;
    VARIANT path;
    VariantInit(&path);
    if (FAILED(VariantChangeType(&path, com::DispatchArgument(params, 0), 0, VT_BSTR))) {
      if (argErr) *argErr = 0;
      return DISP_E_TYPEMISMATCH;
    }
    std::wstring file = path.bstrVal ? path.bstrVal : L"";
    VariantClear(&path);
    struct stat info {};
    if (file.empty() || ::stat(win::ToPosixPath(file).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
      return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (acrxDynamicLinker->loadModule(file.c_str(), true)) return S_OK;
    std::wstring why = L"Unable to load " + file + L": " + acrxDynamicLinker->lastError();
    return com::FillExcepInfo(excepInfo, E_FAIL, kSource, why.c_str());
  }

  HRESULT SetWindowState(LONG state, EXCEPINFO* excepInfo) {
    CWnd* frame = acedGetAcadFrame();
    if (state < 1 || state > 3)
      return com::FillExcepInfo(excepInfo, E_INVALIDARG, kSource, L"The window state is 1, 2 or 3.");
    m_windowState = state;
    if (!frame) return S_OK;
    DWORD remove = WS_MINIMIZE | WS_MAXIMIZE;
    DWORD add = state == 2 ? WS_MINIMIZE : state == 3 ? WS_MAXIMIZE : 0;
    frame->ModifyStyle(remove, add);
    return S_OK;
  }

  const host::Release& m_release;
  LONG m_windowState = 1;
};

class ClassFactory : public com::RefCounted<IClassFactory> {
 public:
  explicit ClassFactory(const host::Release& release) : m_release(release) {}
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IDispatch* app = CreateApplicationObject(m_release);
    HRESULT hr = app->QueryInterface(iid, object);
    app->Release();
    return hr;
  }
  HRESULT LockServer(BOOL) override { return S_OK; }

 private:
  const host::Release& m_release;
};

std::wstring HostFolder() {
  wchar_t path[MAX_PATH] = {0};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring text(path);
  size_t slash = text.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : text.substr(0, slash);
}

}  // namespace

std::wstring SupportPath(const Release& release) {
  if (std::optional<std::wstring> stored = win::ReadRegText(HKEY_CURRENT_USER, ProfileGeneralKey(release), L"ACAD"))
    return *stored;
  return HostFolder() + L"\\support";
}

bool SetSupportPath(const Release& release, const std::wstring& path) {
  return win::WriteRegText(HKEY_CURRENT_USER, ProfileGeneralKey(release), L"ACAD", path) == ERROR_SUCCESS;
}

IDispatch* CreateApplicationObject(const Release& release) {
  IDispatch* app = new Application(release);
  app->AddRef();
  return app;
}

void ZoomAll() {
  // The default limits: the sheet the host starts with.
  AcDbExtents box(AcGePoint3d(0, 0, 0), AcGePoint3d(420, 297, 0));
  if (AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase()) {
    AcDbBlockTable* table = nullptr;
    if (db->getBlockTable(table, AcDb::kForRead) == Acad::eOk) {
      AcDbBlockTableRecord* space = nullptr;
      if (table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForRead) == Acad::eOk) {
        AcDbBlockTableRecordIterator* it = nullptr;
        if (space->newIterator(it) == Acad::eOk) {
          for (; !it->done(); it->step()) {
            AcDbEntity* entity = nullptr;
            if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk) continue;
            AcDbExtents extents;
            if (entity->getGeomExtents(extents) == Acad::eOk && !extents.isEmpty()) box.addExt(extents);
            entity->close();
          }
          delete it;
        }
        space->close();
      }
      table->close();
    }
  }
  acad::View& view = acad::CurrentView();
  const double aspect = static_cast<double>(acad::kDrawingWindowWidth) / acad::kDrawingWindowHeight;
  const double width = box.maxPoint().x - box.minPoint().x;
  const double height = box.maxPoint().y - box.minPoint().y;
  view.centerX = (box.minPoint().x + box.maxPoint().x) / 2;
  view.centerY = (box.minPoint().y + box.maxPoint().y) / 2;
  view.height = std::max(height, width / aspect);
  view.width = view.height * aspect;
}

com::ServerEnd ServeAutomationClient() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (CWnd* frame = acedGetAcadFrame()) frame->ShowWindow(SW_HIDE);
  std::vector<DWORD> cookies;
  for (const Release& release : Releases()) {
    auto* factory = new ClassFactory(release);
    factory->AddRef();
    DWORD cookie = 0;
    if (SUCCEEDED(CoRegisterClassObject(release.clsid, factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie)))
      cookies.push_back(cookie);
    factory->Release();
  }
  // The host goes on after its client when the client (or a module) made
  // it visible: the user has it now.
  com::ServerEnd end = com::ServeClient([] { return acad::ApplicationVisible(); });
  for (DWORD cookie : cookies) CoRevokeClassObject(cookie);
  // Whoever made the application visible (the client, or a module through
  // the model), its window is shown for the session that follows.
  if (CWnd* frame = end.handedOver ? acedGetAcadFrame() : nullptr) frame->ShowWindow(SW_SHOWNOACTIVATE);
  CoUninitialize();
  return end;
}

}  // namespace host
