// The toolkit's task dialog: a message window with a title, a main
// instruction, an icon and common buttons. Without a display it is a message
// box in the transcript ("[title] text {buttons} -> answer") answered by the
// scripted user's "@answer" line; DoModal returns the pressed button's
// identifier (IDOK, IDYES, IDNO, IDCANCEL, IDRETRY, IDCLOSE).
#pragma once

#include <vector>

#include "afxwin.h"

typedef int TASKDIALOG_COMMON_BUTTON_FLAGS;
#define TDCBF_OK_BUTTON 0x0001
#define TDCBF_YES_BUTTON 0x0002
#define TDCBF_NO_BUTTON 0x0004
#define TDCBF_CANCEL_BUTTON 0x0008
#define TDCBF_RETRY_BUTTON 0x0010
#define TDCBF_CLOSE_BUTTON 0x0020
#define TD_WARNING_ICON MAKEINTRESOURCEW(-1)
#define TD_ERROR_ICON MAKEINTRESOURCEW(-2)
#define TD_INFORMATION_ICON MAKEINTRESOURCEW(-3)
#define TD_SHIELD_ICON MAKEINTRESOURCEW(-4)

class CXTPTaskDialog : public CWnd {
 public:
  explicit CXTPTaskDialog(CWnd* parent = nullptr);
  ~CXTPTaskDialog() override;

  void SetWindowTitle(LPCTSTR title) { m_strWindowTitle = title ? title : L""; }
  void SetMainInstruction(LPCTSTR text) { m_strMainInstruction = text ? text : L""; }
  void SetContent(LPCTSTR text) { m_strContent = text ? text : L""; }
  void SetFooter(LPCTSTR text) { m_strFooter = text ? text : L""; }
  // One of the standard icons (TD_WARNING_ICON ...) or an icon resource.
  void SetMainIcon(LPCWSTR icon) { m_pszMainIcon = icon; m_hMainIcon = nullptr; }
  void SetMainIcon(HICON icon) { m_hMainIcon = icon; m_pszMainIcon = nullptr; }
  void SetCommonButtons(TASKDIALOG_COMMON_BUTTON_FLAGS buttons) { m_dwCommonButtons = buttons; }
  void SetCommonButtons(BOOL ok, BOOL yes, BOOL no, BOOL cancel, BOOL retry, BOOL close);
  void AddButton(LPCTSTR text, int id) { m_customButtons.push_back({text ? text : L"", id}); }
  void SetDefaultButton(int id) { m_nDefaultButton = id; }
  void EnableMessageBoxStyle(BOOL enable = TRUE) { m_bMessageBoxStyle = enable; }
  void EnableCancellation(BOOL enable = TRUE) { m_bCancellation = enable; }

  CString GetWindowTitle() const { return m_strWindowTitle; }
  CString GetMainInstruction() const { return m_strMainInstruction; }
  LPCWSTR GetMainIconId() const { return m_pszMainIcon; }
  TASKDIALOG_COMMON_BUTTON_FLAGS GetCommonButtons() const { return m_dwCommonButtons; }
  BOOL IsMessageBoxStyle() const { return m_bMessageBoxStyle; }
  CWnd* GetOwnerWindow() const { return m_pParentWnd; }
  // The identifiers of the buttons, in the order shown.
  std::vector<int> GetButtonIds() const;

  virtual INT_PTR DoModal(BOOL useComCtl32 = TRUE);

 protected:
  struct Button {
    CString text;
    int id;
  };
  CWnd* m_pParentWnd;
  CString m_strWindowTitle;
  CString m_strMainInstruction;
  CString m_strContent;
  CString m_strFooter;
  LPCWSTR m_pszMainIcon = nullptr;
  HICON m_hMainIcon = nullptr;
  TASKDIALOG_COMMON_BUTTON_FLAGS m_dwCommonButtons = 0;
  std::vector<Button> m_customButtons;
  int m_nDefaultButton = 0;
  BOOL m_bMessageBoxStyle = FALSE;
  BOOL m_bCancellation = FALSE;
};
