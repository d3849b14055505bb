// The application's message box: a toolkit task dialog in message-box style
// with one line of text, an icon and either OK or Yes and No.
#pragma once

#include "XTToolkitPro.h"

class CTextDialog : public CXTPTaskDialog {
 public:
  // pszIcon: a standard task-dialog icon (TD_WARNING_ICON, TD_INFORMATION_ICON ...).
  // bAsk: FALSE for one OK button, TRUE for Yes and No.
  CTextDialog(CWnd* pParent, LPCTSTR lpszText, LPCWSTR pszIcon, BOOL bAsk);
};
