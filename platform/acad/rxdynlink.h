// Module entry and the dynamic linker: how the host loads a module, sends it
// its application messages and unloads it.
#pragma once

#include <string>
#include <vector>

#include "adesk.h"
#include "wintypes.h"

namespace AcRx {
// Application messages, in the order the host numbers them.
enum AppMsgCode {
  kNullMsg = 0,
  kInitAppMsg = 1,
  kUnloadAppMsg = 2,
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
  kCfgMsg = 6,
  kEndMsg = 7,
  kQuitMsg = 8,
  kSaveMsg = 9,
  kDependencyMsg = 10,
  kNoDependencyMsg = 11,
  kOleUnloadAppMsg = 12,
  kPreQuitMsg = 13,
  kInitDialogMsg = 14,
  kEndDialogMsg = 15,
  kSuspendMsg = 16,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

// The interface version a module reports from acrxGetApiVersion.
#define ACRX_API_VERSION 0x00110000

// Every module exports these with C linkage.
typedef AcRx::AppRetCode (*AcRxEntryPointFn)(AcRx::AppMsgCode msg, void* appId);
typedef Adesk::UInt32 (*AcRxGetApiVersionFn)();

class AcRxDynamicLinker {
 public:
  static AcRxDynamicLinker* instance();

  // Loads the module (process attach), then sends it the initialise message.
  // A failure prints the loader's reason on the command line when printIt.
  bool loadModule(const ACHAR* fileName, bool printIt, bool asCmd = false);
  // Sends the unload message, then unloads the module. Refused while the
  // module has not unlocked itself.
  bool unloadModule(const ACHAR* fileName, bool asCmd = false);
  // Unloads every module, last loaded first, whether locked or not (host exit).
  void unloadAll();

  bool unlockApplication(void* appId) const;
  bool lockApplication(void* appId) const;
  bool isApplicationLocked(const ACHAR* fileName) const;
  bool registerAppMDIAware(void* appId) const;
  bool registerAppNotMDIAware(void* appId) const;
  bool isAppMDIAware(const ACHAR* fileName) const;

  // The loaded modules' file names, in load order.
  std::vector<std::wstring> loadedModules() const;
  // Why the last loadModule failed.
  const std::wstring& lastError() const { return m_lastError; }

 private:
  struct Module {
    std::wstring path;  // as given
    std::wstring name;  // file name only
    HMODULE handle = nullptr;
    AcRxEntryPointFn entry = nullptr;
    mutable bool locked = true;
    mutable bool mdiAware = false;
  };
  const Module* find(const ACHAR* fileName) const;
  const Module* findById(void* appId) const;

  std::vector<Module> m_modules;
  std::wstring m_lastError;
};

#define acrxDynamicLinker (AcRxDynamicLinker::instance())
