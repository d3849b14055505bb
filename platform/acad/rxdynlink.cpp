// The dynamic linker: loading a module (attach, then the initialise message),
// unloading it, and the flags modules set.
#include "rxdynlink.h"

#include <algorithm>
#include <cwctype>

#include "acutprint.h"
#include "module.h"
#include "textconv.h"
#include "textutil.h"

namespace {

std::wstring FileNameOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

using win::textutil::EqualNoCase;

}  // namespace

AcRxDynamicLinker* AcRxDynamicLinker::instance() {
  static AcRxDynamicLinker linker;
  return &linker;
}

const AcRxDynamicLinker::Module* AcRxDynamicLinker::find(const ACHAR* fileName) const {
  if (!fileName) return nullptr;
  std::wstring wanted = FileNameOf(fileName);
  for (const Module& m : m_modules)
    if (EqualNoCase(m.name, wanted)) return &m;
  return nullptr;
}

const AcRxDynamicLinker::Module* AcRxDynamicLinker::findById(void* appId) const {
  for (const Module& m : m_modules)
    if (m.handle == appId) return &m;
  return nullptr;
}

bool AcRxDynamicLinker::loadModule(const ACHAR* fileName, bool printIt, bool /*asCmd*/) {
  m_lastError.clear();
  std::wstring path = fileName ? fileName : L"";
  auto fail = [&](const std::wstring& why) {
    m_lastError = why;
    if (printIt) acutPrintf(L"\nUnable to load %s: %s\n", path.c_str(), why.c_str());
    return false;
  };
  if (path.empty()) return fail(L"no file name");
  if (find(path.c_str())) return true;  // already loaded: nothing to do
  HMODULE handle = LoadLibraryW(path.c_str());
  if (!handle) return fail(win::Utf8ToWide(win::LastLoadError()));
  auto entry = reinterpret_cast<AcRxEntryPointFn>(GetProcAddress(handle, "acrxEntryPoint"));
  if (!entry) {
    FreeLibrary(handle);
    return fail(L"the module has no acrxEntryPoint");
  }
  m_modules.push_back(Module{path, FileNameOf(path), handle, entry});
  if (entry(AcRx::kInitAppMsg, handle) != AcRx::kRetOK) {
    m_modules.pop_back();
    FreeLibrary(handle);
    return fail(L"the module refused to initialise");
  }
  return true;
}

bool AcRxDynamicLinker::unloadModule(const ACHAR* fileName, bool /*asCmd*/) {
  const Module* m = find(fileName);
  if (!m || m->locked) return false;
  Module module = *m;
  if (module.entry(AcRx::kUnloadAppMsg, module.handle) != AcRx::kRetOK) return false;
  m_modules.erase(m_modules.begin() + (m - m_modules.data()));
  FreeLibrary(module.handle);
  return true;
}

void AcRxDynamicLinker::unloadAll() {
  while (!m_modules.empty()) {
    Module module = m_modules.back();
    module.entry(AcRx::kUnloadAppMsg, module.handle);
    m_modules.pop_back();
    FreeLibrary(module.handle);
  }
}

bool AcRxDynamicLinker::unlockApplication(void* appId) const {
  const Module* m = findById(appId);
  if (m) m->locked = false;
  return m != nullptr;
}

bool AcRxDynamicLinker::lockApplication(void* appId) const {
  const Module* m = findById(appId);
  if (m) m->locked = true;
  return m != nullptr;
}

bool AcRxDynamicLinker::isApplicationLocked(const ACHAR* fileName) const {
  const Module* m = find(fileName);
  return m && m->locked;
}

bool AcRxDynamicLinker::registerAppMDIAware(void* appId) const {
  const Module* m = findById(appId);
  if (m) m->mdiAware = true;
  return m != nullptr;
}

bool AcRxDynamicLinker::registerAppNotMDIAware(void* appId) const {
  const Module* m = findById(appId);
  if (m) m->mdiAware = false;
  return m != nullptr;
}

bool AcRxDynamicLinker::isAppMDIAware(const ACHAR* fileName) const {
  const Module* m = find(fileName);
  return m && m->mdiAware;
}

std::vector<std::wstring> AcRxDynamicLinker::loadedModules() const {
  std::vector<std::wstring> names;
  for (const Module& m : m_modules) names.push_back(m.name);
  return names;
}
