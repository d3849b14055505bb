// The launcher's message box.
#include "TextDialog.h"

CTextDialog::CTextDialog(CWnd* pParent, LPCTSTR lpszText, LPCWSTR pszIcon, BOOL bAsk) : CXTPTaskDialog(pParent) {
  SetWindowTitle(_T("Marlo"));
  SetMainInstruction(lpszText);
  SetMainIcon(pszIcon);
  if (bAsk)
    SetCommonButtons(TDCBF_YES_BUTTON | TDCBF_NO_BUTTON);
  else
    SetCommonButtons(TDCBF_OK_BUTTON);
  EnableMessageBoxStyle(TRUE);
}
