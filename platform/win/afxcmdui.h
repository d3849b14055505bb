// The class library's command-state protocol and the standard edit
// commands. A command target answers "may this command run now?" through a
// CCmdUI; DoUpdate asks the target's message map:
//   ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CMyWnd::OnUpdateEditCopy)
//   void CMyWnd::OnUpdateEditCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(HasSelection()); }
#pragma once

#include "afxwin.h"

// Standard command identifiers of the Edit menu.
#define ID_EDIT_CLEAR 0xE120
#define ID_EDIT_CLEAR_ALL 0xE121
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_FIND 0xE124
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_REPLACE 0xE129
#define ID_EDIT_SELECT_ALL 0xE12A
#define ID_EDIT_UNDO 0xE12B
#define ID_EDIT_REDO 0xE12C

// The notification code that carries a state query in WM_COMMAND.
#define CN_UPDATE_COMMAND_UI 0xFFFF

class CCmdUI {
 public:
  explicit CCmdUI(UINT nID = 0) : m_nID(nID) {}
  virtual ~CCmdUI() = default;

  virtual void Enable(BOOL bOn = TRUE) {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  virtual void SetCheck(int nCheck = 1) { m_nCheck = nCheck; }
  virtual void SetText(LPCTSTR lpszText) { m_strText = lpszText ? lpszText : L""; }

  // Asks the target; FALSE when it has no handler for the command (the
  // state then stays as it was).
  BOOL DoUpdate(CWnd* pTarget) {
    if (!pTarget || !pTarget->m_hWnd) return FALSE;
    m_bHandled = FALSE;
    pTarget->SendMessage(WM_COMMAND, MAKEWPARAM(m_nID, CN_UPDATE_COMMAND_UI), reinterpret_cast<LPARAM>(this));
    return m_bHandled;
  }

  UINT m_nID;
  BOOL m_bEnabled = TRUE;
  BOOL m_bEnableChanged = FALSE;
  int m_nCheck = 0;
  CString m_strText;
  BOOL m_bHandled = FALSE;
};

#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                      \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id), static_cast<UINT>(id), nullptr,     \
   AFX_THUNK(reinterpret_cast<CCmdUI*>(lParam)->m_bHandled = TRUE;                               \
             (pThis_->*(memberFxn))(reinterpret_cast<CCmdUI*>(lParam)))},
