// The workbench's commands. A command file declares one static
// WorkbenchCommand; the module registers every one of them with the host
// when it is loaded and removes them when it is unloaded.
#pragma once

#include "afx.h"

class WorkbenchCommand {
 public:
  typedef void (*Handler)();
  WorkbenchCommand(const wchar_t* globalName, const wchar_t* localName, Handler handler);

  const wchar_t* m_globalName;
  const wchar_t* m_localName;
  Handler m_handler;
  WorkbenchCommand* m_pNext;

  // The first of the registered commands (a list in no particular order).
  static WorkbenchCommand* First();
};

// The module's instance, for its resources.
HINSTANCE WorkbenchInstance();
