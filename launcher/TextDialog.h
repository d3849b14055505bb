// The launcher's message box: a toolkit task dialog titled "Marlo" with the
// message as its main instruction, an icon, and OK (or Yes and No).
#pragma once

#include "XTToolkitPro.h"

class CTextDialog : public CXTPTaskDialog {
 public:
  // pszIcon: a standard task-dialog icon (TD_INFORMATION_ICON ...).
  // bAsk: FALSE for one OK button, TRUE for Yes and No.
  CTextDialog(CWnd* pParent, LPCTSTR lpszText, LPCWSTR pszIcon, BOOL bAsk);
};
