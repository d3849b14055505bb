// The application object of a module: one static instance per module that
// receives the host's application messages through acrxEntryPoint and hands
// each to its handler. The base handlers do nothing and report success; the
// initialise handler unlocks the module and declares it aware of several
// documents when the flags say so, then registers server components.
#pragma once

#include "module.h"
#include "rxdynlink.h"
#include "wintypes.h"

class AcRxDbxApp {
 public:
  AcRxDbxApp(bool bUnlockApp = true, bool bMDIAware = true);
  virtual ~AcRxDbxApp() = default;
  AcRxDbxApp(const AcRxDbxApp&) = delete;
  AcRxDbxApp& operator=(const AcRxDbxApp&) = delete;

  // The handlers in the order of the host's message numbers 1 to 15, then
  // the null message.
  virtual AcRx::AppRetCode On_kInitAppMsg(void* pkt);
  virtual AcRx::AppRetCode On_kUnloadAppMsg(void* pkt);
  virtual AcRx::AppRetCode On_kLoadDwgMsg(void* pkt);
  virtual AcRx::AppRetCode On_kUnloadDwgMsg(void* pkt);
  virtual AcRx::AppRetCode On_kInvkSubrMsg(void* pkt);
  virtual AcRx::AppRetCode On_kCfgMsg(void* pkt);
  virtual AcRx::AppRetCode On_kEndMsg(void* pkt);
  virtual AcRx::AppRetCode On_kQuitMsg(void* pkt);
  virtual AcRx::AppRetCode On_kSaveMsg(void* pkt);
  virtual AcRx::AppRetCode On_kDependencyMsg(void* pkt);
  virtual AcRx::AppRetCode On_kNoDependencyMsg(void* pkt);
  virtual AcRx::AppRetCode On_kOleUnloadAppMsg(void* pkt);
  virtual AcRx::AppRetCode On_kPreQuitMsg(void* pkt);
  virtual AcRx::AppRetCode On_kInitDialogMsg(void* pkt);
  virtual AcRx::AppRetCode On_kEndDialogMsg(void* pkt);
  virtual AcRx::AppRetCode On_kNullMsg(void* pkt);
  // Called from the initialise handler; registers COM servers and the like.
  virtual void RegisterServerComponents() {}

  // Dispatches one host message to its handler; unknown codes give 0.
  AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt);

  void SetModuleInstance(HINSTANCE hInstance) { m_hdllInstance = hInstance; }
  HINSTANCE GetModuleInstance() const { return m_hdllInstance; }
  bool IsUnlocked() const { return m_bUnlocked; }
  bool IsMDIAware() const { return m_bMDIAware; }

 protected:
  HINSTANCE m_hdllInstance = nullptr;
  bool m_bUnlocked;
  bool m_bMDIAware;
};

// The exported entry points of a module whose application object is the
// given class: the one static instance, acrxEntryPoint and acrxGetApiVersion.
#define IMPLEMENT_ARX_ENTRYPOINT(classname)                                                       \
  classname theApp DLLMAIN_STATIC;                                                                \
  extern "C" __declspec(dllexport) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) { \
    return theApp.acrxEntryPoint(msg, pkt);                                                       \
  }                                                                                               \
  extern "C" __declspec(dllexport) Adesk::UInt32 acrxGetApiVersion() { return ACRX_API_VERSION; }
