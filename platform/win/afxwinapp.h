// The class library's application object and program start. A program
// defines one global object of a class derived from CWinApp; the library's
// start-up (AfxWinMain, called by the main function of appmodul/) runs its
// InitInstance and, when that returns TRUE, its message loop.
//
// The scripted user: AfxWinMain takes `--script FILE` (the user's lines;
// otherwise standard input, read without reading ahead so that a program it
// starts can go on with the rest) and `--out DIR` (where snapshots go).
#pragma once

#include <string>

#include "afxwin.h"

#define ID_HELP 0xE146

class CWinApp : public CCmdTarget {
  DECLARE_DYNAMIC(CWinApp)

 public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitApplication() { return TRUE; }
  virtual BOOL InitInstance() { return TRUE; }
  // Dispatches posted messages until WM_QUIT (or until none is left:
  // without a display nothing else arrives), then ExitInstance.
  virtual int Run();
  // The program's exit code.
  virtual int ExitInstance() { return m_nExitCode; }

  HICON LoadIcon(UINT nIDResource) const;
  HICON LoadIcon(LPCTSTR lpszResourceName) const;
  // Where the profile of the program would be kept: the key
  // HKEY_CURRENT_USER, Software, <key>, <application name>. Nothing is
  // written until a profile value is.
  void SetRegistryKey(LPCTSTR lpszRegistryKey);
  // The standard help command: this library has no help viewer, so it says so.
  afx_msg void OnHelp();

  CWnd* m_pMainWnd = nullptr;
  HINSTANCE m_hInstance = nullptr;
  LPCTSTR m_pszAppName = nullptr;
  LPCTSTR m_pszRegistryKey = nullptr;
  LPCTSTR m_pszProfileName = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;

 protected:
  int m_nExitCode = 0;

 private:
  std::wstring m_strAppName;
  std::wstring m_strRegistryKey;
};

// The application object (the last one constructed and not yet destroyed).
CWinApp* AFXAPI AfxGetApp();
CWnd* AFXAPI AfxGetMainWnd();
// The library's program start: reads the options, runs the application
// object, waits for the servers it handed its script to, and returns the
// exit code (2 for a bad option, 1 for an unreadable script).
int AFXAPI AfxWinMain(int argc, char** argv);
