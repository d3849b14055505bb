// Modules as shared objects: loading and freeing with DllMain, exported
// functions, module handles and file names.
#include "module.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "paths.h"
#include "textconv.h"
#include "textutil.h"

namespace {

thread_local DWORD g_lastError = 0;
thread_local std::string g_lastLoadError;

std::mutex g_attachMutex;
std::set<HMODULE> g_failedAttach;

// The dlopen handle of an already loaded object, without changing its count.
void* HandleOf(HMODULE module) {
  Dl_info info{};
  if (!module || !dladdr(reinterpret_cast<void*>(module), &info) || !info.dli_fname) return nullptr;
  return dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
}

HMODULE BaseOfHandle(void* handle) {
  link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map) return nullptr;
  return reinterpret_cast<HMODULE>(map->l_addr);
}

}  // namespace

DWORD GetLastError() { return g_lastError; }
void SetLastError(DWORD error) { g_lastError = error; }

namespace win {

HMODULE ModuleFromAddress(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info)) return nullptr;
  return static_cast<HMODULE>(info.dli_fbase);
}

void NoteModuleAttach(HMODULE module, BOOL ok) {
  std::lock_guard<std::mutex> lock(g_attachMutex);
  if (ok) g_failedAttach.erase(module);
  else g_failedAttach.insert(module);
}

bool ModuleAttachFailed(HMODULE module) {
  std::lock_guard<std::mutex> lock(g_attachMutex);
  return g_failedAttach.count(module) != 0;
}

const char* LastLoadError() { return g_lastLoadError.c_str(); }

}  // namespace win

HMODULE LoadLibraryW(LPCWSTR fileName) {
  if (!fileName || !*fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string path = win::ToPosixPath(fileName);
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    g_lastLoadError = why ? why : "cannot load";
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  HMODULE module = BaseOfHandle(handle);
  if (win::ModuleAttachFailed(module)) {
    dlclose(handle);
    std::lock_guard<std::mutex> lock(g_attachMutex);
    g_failedAttach.erase(module);
    g_lastLoadError = path + ": the module's initialisation failed";
    SetLastError(ERROR_DLL_INIT_FAILED);
    return nullptr;
  }
  return module;
}

BOOL FreeLibrary(HMODULE module) {
  void* handle = HandleOf(module);
  if (!handle) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  dlclose(handle);  // the reference HandleOf took
  return dlclose(handle) == 0;
}

void* GetProcAddress(HMODULE module, LPCSTR procName) {
  void* handle = module ? HandleOf(module) : dlopen(nullptr, RTLD_NOW);
  if (!handle || !procName) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  void* sym = dlsym(handle, procName);
  dlclose(handle);
  if (!sym) SetLastError(ERROR_PROC_NOT_FOUND);
  return sym;
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
  if (!moduleName) return BaseOfHandle(dlopen(nullptr, RTLD_NOW));
  // Match by file name, with or without folder.
  std::string wanted = win::ToPosixPath(moduleName);
  std::string wantedName = wanted.substr(wanted.find_last_of('/') + 1);
  struct Search {
    std::string name;
    HMODULE found = nullptr;
  } search{wantedName, nullptr};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) -> int {
        auto* s = static_cast<Search*>(data);
        std::string path = info->dlpi_name ? info->dlpi_name : "";
        std::string name = path.substr(path.find_last_of('/') + 1);
        if (!name.empty() && win::textutil::EqualNoCase(name, s->name)) {
          s->found = reinterpret_cast<HMODULE>(info->dlpi_addr);
          return 1;
        }
        return 0;
      },
      &search);
  if (!search.found) SetLastError(ERROR_MOD_NOT_FOUND);
  return search.found;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
  std::string path;
  if (module) {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(module), &info) || !info.dli_fname) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return 0;
    }
    char real[PATH_MAX];
    path = realpath(info.dli_fname, real) ? real : info.dli_fname;
  } else {
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return 0;
    path.assign(exe, static_cast<size_t>(n));
  }
  std::wstring w = win::ToWindowsPath(path);
  if (!fileName || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  DWORD n = static_cast<DWORD>(std::min<size_t>(w.size(), size - 1));
  std::wmemcpy(fileName, w.data(), n);
  fileName[n] = 0;
  if (n < w.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  return n;
}
