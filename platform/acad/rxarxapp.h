// The application object of a module that registers commands: on top of the
// module application (rxdbxapp.h) it keeps a command table, registers every
// entry with the host's command stack when the module initialises, and
// removes them when it unloads. The load-drawing, unload-drawing and
// invoke-function handlers walk the module's function table, which holds
// no entries in this host (no LISP), and report success.
#pragma once

#include "edcmdstack.h"
#include "rxdbxapp.h"

// One command of a module's command table. A command whose flags hold
// ACRX_CMD_SESSION runs in the application's context; every other command
// is registered with the module's resource instance.
struct AcRxArxCommandEntry {
  const ACHAR* pszCmdGroupName;
  const ACHAR* pszCmdGlobalName;
  const ACHAR* pszCmdLocalName;
  Adesk::Int32 commandFlags;
  AcRxFunctionPtr pCmdFct;
  AcEdUIContext* pUIContext;
  UINT localNameID;  // string resource of the local name; 0 when it is given as text
};

class AcRxArxApp : public AcRxDbxApp {
 public:
  AcRxArxApp(bool bUnlockApp = true, bool bMDIAware = true) : AcRxDbxApp(bUnlockApp, bMDIAware) {}

  // The framework's part of initialisation (unlock, MDI awareness, server
  // components, custom classes), then every command of the table.
  AcRx::AppRetCode On_kInitAppMsg(void* pkt) override;
  // The custom classes go and every command of the table is removed by group
  // and global name.
  AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override;

  // The module's command table, ended by an entry with no global name; none
  // by default.
  virtual const AcRxArxCommandEntry* GetCommandTable() const { return nullptr; }
  // Custom object classes of the module: made at initialisation, deleted at
  // unload. None by default.
  virtual void CreateCustomClasses() {}
  virtual void DeleteCustomClasses() {}

  // How many commands of the table the last initialisation registered.
  int RegisteredCommandCount() const { return m_nRegistered; }

 private:
  int m_nRegistered = 0;
};
