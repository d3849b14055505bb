// The host's dialog base classes. A dialog derived from CAcUiDialog can hand
// the input to the host's editor for a while: BeginEditorCommand hides it, the
// editor's prompts (acedGetPoint ...) then take the next script lines, and
// CompleteEditorCommand shows the dialog again and gives the input back.
#pragma once

#include <vector>

#include "afxwin.h"

// Sent by the host to a modeless or modal dialog to ask whether it keeps the
// keyboard focus; a non-zero answer keeps it.
#define WM_ACAD_KEEPFOCUS (WM_USER + 0x6D01)

// Registers the window classes of the host's dialogs and frame. Any number
// of calls; TRUE when the classes are there.
BOOL InitAcUiDLL();

class CAdUiBaseDialog : public CDialog {
  DECLARE_DYNAMIC(CAdUiBaseDialog)

 public:
  explicit CAdUiBaseDialog(UINT idd, CWnd* parent = nullptr, HINSTANCE hDialogResource = nullptr);
  ~CAdUiBaseDialog() override;

  // Modal: a dialog without a parent is owned by the host's frame.
  INT_PTR DoModal() override;

 protected:
  // The dialog keeps the focus unless it has handed the input to the editor.
  afx_msg LRESULT OnAcadKeepFocus(WPARAM, LPARAM);
  virtual BOOL KeepsFocus() const { return TRUE; }
  DECLARE_MESSAGE_MAP()
};

class CAcUiDialog : public CAdUiBaseDialog {
  DECLARE_DYNAMIC(CAcUiDialog)

 public:
  explicit CAcUiDialog(UINT idd, CWnd* parent = nullptr, HINSTANCE hDialogResource = nullptr);
  ~CAcUiDialog() override;

  // Hides the dialog (and the dialogs that own it) and enables the host's
  // frame so that the editor takes the input. FALSE when the dialog has no
  // window or an editor command is already running.
  BOOL BeginEditorCommand();
  // Gives the input back: the frame is disabled again and, with
  // restoreDialogs, the hidden dialogs are shown and this one is active.
  void CompleteEditorCommand(BOOL restoreDialogs = TRUE);
  // Gives the input back and ends the dialog with IDCANCEL.
  void CancelEditorCommand();
  BOOL IsEditorCommandActive() const { return m_bEditorCommand; }

 protected:
  BOOL KeepsFocus() const override { return !m_bEditorCommand; }

 private:
  bool m_bEditorCommand = false;
  bool m_bEnabledOwner = false;  // the owner was disabled by the modal loop
  HWND m_hOwner = nullptr;
  HWND m_hFocus = nullptr;
  std::vector<HWND> m_hidden;  // windows hidden by BeginEditorCommand, owner chain order
};
