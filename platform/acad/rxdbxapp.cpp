// AcRxDbxApp: a module's application object and the dispatch of the host's
// application messages to its handlers.
#include "rxdbxapp.h"

AcRxDbxApp::AcRxDbxApp(bool bUnlockApp, bool bMDIAware) : m_bUnlocked(bUnlockApp), m_bMDIAware(bMDIAware) {}

AcRx::AppRetCode AcRxDbxApp::On_kInitAppMsg(void* pkt) {
  if (m_bUnlocked) acrxDynamicLinker->unlockApplication(pkt);
  if (m_bMDIAware) acrxDynamicLinker->registerAppMDIAware(pkt);
  RegisterServerComponents();
  return AcRx::kRetOK;
}

AcRx::AppRetCode AcRxDbxApp::On_kUnloadAppMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kLoadDwgMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kUnloadDwgMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kInvkSubrMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kCfgMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kEndMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kQuitMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kSaveMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kDependencyMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kNoDependencyMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kOleUnloadAppMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kPreQuitMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kInitDialogMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kEndDialogMsg(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode AcRxDbxApp::On_kNullMsg(void*) { return AcRx::kRetOK; }

AcRx::AppRetCode AcRxDbxApp::acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
  // The handlers in message-number order; the null message is the last one.
  using Handler = AcRx::AppRetCode (AcRxDbxApp::*)(void*);
  static constexpr Handler kHandlers[] = {
      &AcRxDbxApp::On_kNullMsg,        &AcRxDbxApp::On_kInitAppMsg,      &AcRxDbxApp::On_kUnloadAppMsg,
      &AcRxDbxApp::On_kLoadDwgMsg,     &AcRxDbxApp::On_kUnloadDwgMsg,    &AcRxDbxApp::On_kInvkSubrMsg,
      &AcRxDbxApp::On_kCfgMsg,         &AcRxDbxApp::On_kEndMsg,          &AcRxDbxApp::On_kQuitMsg,
      &AcRxDbxApp::On_kSaveMsg,        &AcRxDbxApp::On_kDependencyMsg,   &AcRxDbxApp::On_kNoDependencyMsg,
      &AcRxDbxApp::On_kOleUnloadAppMsg, &AcRxDbxApp::On_kPreQuitMsg,     &AcRxDbxApp::On_kInitDialogMsg,
      &AcRxDbxApp::On_kEndDialogMsg};
  int code = static_cast<int>(msg);
  if (code < 0 || code >= static_cast<int>(sizeof kHandlers / sizeof kHandlers[0])) return static_cast<AcRx::AppRetCode>(0);
  return (this->*kHandlers[code])(pkt);
}
