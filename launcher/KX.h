// The launcher application: sets up the library and runs the launcher
// dialog; the program ends when the dialog closes.
#pragma once

#include "afxwin.h"
#include "resource.h"

class CKXApp : public CWinApp {
 public:
  CKXApp();
  virtual BOOL InitInstance();
};

extern CKXApp theApp;
