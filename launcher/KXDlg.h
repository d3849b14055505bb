// The launcher dialog: finds the installed CAD releases, lets the user
// choose one, and starts it with the system's two modules loaded.
#pragma once

#include "XTToolkitPro.h"
#include "afxdisp.h"
#include "resource.h"

class CKXDlg : public CDialog {
 public:
  explicit CKXDlg(CWnd* pParent = NULL);
  enum { IDD = IDD_KX_DIALOG };

  // The launcher folder: the program's own folder without the trailing
  // backslash (empty when the program file name has no folder part).
  const CString& GetLauncherFolder() const { return m_strPath; }
  // The same cut applied to any program file name.
  static CString FolderOfModule(const CString& strModule);

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);
  virtual BOOL OnInitDialog();
  afx_msg void OnPaint();
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnBnClickedOk();
  DECLARE_MESSAGE_MAP()

  // Loads the two modules into the host (the guarded block); FALSE when any
  // step failed.
  BOOL LoadModules(COleDispatchDriver& acadApp);
  // Shows the host's window and clicks its caption bar.
  void ActivateHost(COleDispatchDriver& acadApp);
  void ShowMessage(LPCTSTR lpszText);

  CXTPComboBox m_cmbVersion;
  CXTPButton m_btnOK;
  CXTPButton m_btnExit;
  HICON m_hIcon;
  CString m_strModulePath;
  CString m_strPath;
};
