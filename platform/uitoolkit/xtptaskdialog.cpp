// The toolkit's task dialog, shown as a message box in the transcript and
// answered by the script.
#include "xtptaskdialog.h"

#include <algorithm>

#include "dlgscript.h"

CXTPTaskDialog::CXTPTaskDialog(CWnd* parent) : m_pParentWnd(parent) {}
CXTPTaskDialog::~CXTPTaskDialog() = default;

void CXTPTaskDialog::SetCommonButtons(BOOL ok, BOOL yes, BOOL no, BOOL cancel, BOOL retry, BOOL close) {
  m_dwCommonButtons = (ok ? TDCBF_OK_BUTTON : 0) | (yes ? TDCBF_YES_BUTTON : 0) | (no ? TDCBF_NO_BUTTON : 0) |
                      (cancel ? TDCBF_CANCEL_BUTTON : 0) | (retry ? TDCBF_RETRY_BUTTON : 0) |
                      (close ? TDCBF_CLOSE_BUTTON : 0);
}

std::vector<int> CXTPTaskDialog::GetButtonIds() const {
  std::vector<int> ids;
  for (const Button& b : m_customButtons) ids.push_back(b.id);
  // Common buttons in the order the original shows them.
  const std::pair<int, int> common[] = {{TDCBF_OK_BUTTON, IDOK},         {TDCBF_YES_BUTTON, IDYES},
                                        {TDCBF_NO_BUTTON, IDNO},         {TDCBF_RETRY_BUTTON, IDRETRY},
                                        {TDCBF_CANCEL_BUTTON, IDCANCEL}, {TDCBF_CLOSE_BUTTON, IDCLOSE}};
  for (auto [flag, id] : common)
    if (m_dwCommonButtons & flag) ids.push_back(id);
  // With no button at all there is an OK button.
  if (ids.empty()) ids.push_back(IDOK);
  return ids;
}

INT_PTR CXTPTaskDialog::DoModal(BOOL) {
  std::vector<int> ids = GetButtonIds();
  int def = std::find(ids.begin(), ids.end(), m_nDefaultButton) != ids.end() ? m_nDefaultButton : ids.front();
  std::wstring text(m_strMainInstruction.View());
  if (!m_strContent.IsEmpty()) text += (text.empty() ? L"" : L" ") + std::wstring(m_strContent.View());
  CString title = m_strWindowTitle.IsEmpty() ? CString(AfxGetAppName()) : m_strWindowTitle;
  return win::ScriptedMessageBox(std::wstring(title.View()), text, ids, def);
}
