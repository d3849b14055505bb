// The command stack: commands that modules register by group, global and
// local name, and the lookup the command line does when a name is typed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "adesk.h"
#include "wintypes.h"

typedef void (*AcRxFunctionPtr)();
class AcEdUIContext;

// Command flags.
#define ACRX_CMD_MODAL 0x00000000
#define ACRX_CMD_TRANSPARENT 0x00000001
#define ACRX_CMD_USEPICKSET 0x00000002
#define ACRX_CMD_REDRAW 0x00000004
#define ACRX_CMD_NOPERSPECTIVE 0x00000008
#define ACRX_CMD_NOMULTIPLE 0x00000010
#define ACRX_CMD_NOTILEMODE 0x00000020
#define ACRX_CMD_NOPAPERSPACE 0x00000040
#define ACRX_CMD_NOOEM 0x00000100
#define ACRX_CMD_UNDEFINED 0x00000200
#define ACRX_CMD_INPROGRESS 0x00000400
#define ACRX_CMD_DEFUN 0x00000800
#define ACRX_CMD_NOINTERNALLOCK 0x00001000
#define ACRX_CMD_DOCREADLOCK 0x00080000
#define ACRX_CMD_DOCEXCLUSIVELOCK 0x00100000
#define ACRX_CMD_SESSION 0x00200000
#define ACRX_CMD_INTERRUPTIBLE 0x00400000
#define ACRX_CMD_NOHISTORY 0x00800000

class AcEdCommand {
 public:
  const ACHAR* globalName() const { return m_global.c_str(); }
  const ACHAR* localName() const { return m_local.c_str(); }
  const ACHAR* groupName() const { return m_group.c_str(); }
  Adesk::Int32 commandFlags() const { return m_nFlags; }
  AcRxFunctionPtr functionAddr() const { return m_pFunction; }
  HINSTANCE resourceHandle() const { return m_hResource; }
  int functionCode() const { return m_nFunctionCode; }

 private:
  friend class AcEdCommandStack;
  std::wstring m_group, m_global, m_local;
  Adesk::Int32 m_nFlags = 0;
  AcRxFunctionPtr m_pFunction = nullptr;
  HINSTANCE m_hResource = nullptr;
  int m_nFunctionCode = -1;
};

class AcEdCommandStack {
 public:
  static AcEdCommandStack* instance();

  Acad::ErrorStatus addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName, const ACHAR* cmdLocalName,
                               Adesk::Int32 commandFlags, AcRxFunctionPtr functionAddr,
                               AcEdUIContext* uiContext = nullptr, int fcode = -1,
                               HINSTANCE hResourceHandle = nullptr, AcEdCommand** cmdPtrRet = nullptr);
  Acad::ErrorStatus removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName);
  Acad::ErrorStatus removeGroup(const ACHAR* groupName);

  // A typed name, any case: a local name, or a global name (with or without
  // the leading underscore that asks for the global one).
  const AcEdCommand* lookupCmd(const ACHAR* typedName) const;
  const AcEdCommand* lookupGlobalCmd(const ACHAR* globalName) const;
  const AcEdCommand* lookupLocalCmd(const ACHAR* localName) const;

  // Every command in registration order (for the host's HELP).
  std::vector<const AcEdCommand*> commands() const;

 private:
  std::vector<std::unique_ptr<AcEdCommand>> m_commands;
};

#define acedRegCmds (AcEdCommandStack::instance())
