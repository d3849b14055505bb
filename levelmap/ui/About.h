// The About dialog: the product title with its version and the contact
// information, with a mail link that opens the system's mail program.
#pragma once

#include "XTToolkitPro.h"
#include "acui.h"
#include "resource.h"

class CAbout : public CAcUiDialog {
  DECLARE_DYNAMIC(CAbout)

 public:
  // hInstance: where template 113 and icon 111 are; the module's own tables
  // when none is given.
  explicit CAbout(CWnd* pParent = NULL, HINSTANCE hInstance = NULL);
  ~CAbout() override;

  enum { IDD = IDD_ABOUTBOX };

  CFont m_fontBold;
  CXTPHyperLink m_stcMail;
  CStatic m_stcVersion;
  CXTPButton m_grpContact;
  CXTPButton m_btnOK;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  HICON m_hIcon;  // icon 111, loaded for the window and released with the dialog
};
