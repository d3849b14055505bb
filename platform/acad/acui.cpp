// The host's dialog base classes and the hand-over of input to the editor while
// a dialog is hidden (BeginEditorCommand, CompleteEditorCommand).
#include "acui.h"

#include "acedframe.h"

BOOL InitAcUiDLL() {
  WNDCLASS wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE + 1));
  wc.lpszClassName = acad::kAcadFrameClass;
  return AfxRegisterClass(&wc);
}

// ---------------------------------------------------------------- CAdUiBaseDialog

IMPLEMENT_DYNAMIC(CAdUiBaseDialog, CDialog)

BEGIN_MESSAGE_MAP(CAdUiBaseDialog, CDialog)
  ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CAdUiBaseDialog::OnAcadKeepFocus)
END_MESSAGE_MAP()

CAdUiBaseDialog::CAdUiBaseDialog(UINT idd, CWnd* parent, HINSTANCE hDialogResource) : CDialog(idd, parent) {
  m_hResource = hDialogResource;
}

CAdUiBaseDialog::~CAdUiBaseDialog() = default;

INT_PTR CAdUiBaseDialog::DoModal() {
  if (m_pParentWnd == nullptr) m_pParentWnd = acedGetAcadFrame();
  return CDialog::DoModal();
}

LRESULT CAdUiBaseDialog::OnAcadKeepFocus(WPARAM, LPARAM) { return KeepsFocus() ? TRUE : FALSE; }

// ---------------------------------------------------------------- CAcUiDialog

IMPLEMENT_DYNAMIC(CAcUiDialog, CAdUiBaseDialog)

CAcUiDialog::CAcUiDialog(UINT idd, CWnd* parent, HINSTANCE hDialogResource)
    : CAdUiBaseDialog(idd, parent, hDialogResource) {}

CAcUiDialog::~CAcUiDialog() = default;

BOOL CAcUiDialog::BeginEditorCommand() {
  if (m_bEditorCommand || !::IsWindow(m_hWnd)) return FALSE;
  m_hFocus = ::IsChild(m_hWnd, ::GetFocus()) ? ::GetFocus() : nullptr;
  m_hidden.clear();
  // This dialog and every visible dialog above it in the owner chain go
  // out of the way; the first window that is not a dialog takes the input.
  HWND h = m_hWnd;
  for (;;) {
    if (::IsWindowVisible(h)) {
      ::ShowWindow(h, SW_HIDE);
      m_hidden.push_back(h);
    }
    HWND owner = ::GetWindow(h, GW_OWNER);
    if (!owner) break;
    wchar_t cls[16] = {0};
    ::GetClassNameW(owner, cls, 16);
    if (std::wstring(cls) != L"#32770") break;
    h = owner;
  }
  m_hOwner = ::GetWindow(h, GW_OWNER);
  if (!m_hOwner) m_hOwner = acedGetAcadFrame() ? acedGetAcadFrame()->m_hWnd : nullptr;
  m_bEnabledOwner = m_hOwner && !::IsWindowEnabled(m_hOwner);
  if (m_bEnabledOwner) ::EnableWindow(m_hOwner, TRUE);
  if (m_hOwner) {
    ::SetActiveWindow(m_hOwner);
    ::SetFocus(m_hOwner);
  }
  m_bEditorCommand = true;
  return TRUE;
}

void CAcUiDialog::CompleteEditorCommand(BOOL restoreDialogs) {
  if (!m_bEditorCommand) return;
  m_bEditorCommand = false;
  if (m_bEnabledOwner && ::IsWindow(m_hOwner)) ::EnableWindow(m_hOwner, FALSE);
  m_bEnabledOwner = false;
  m_hOwner = nullptr;
  if (restoreDialogs) {
    // Outermost first, so this dialog ends up in front.
    for (auto it = m_hidden.rbegin(); it != m_hidden.rend(); ++it) {
      if (::IsWindow(*it)) ::ShowWindow(*it, SW_SHOW);
    }
  }
  m_hidden.clear();
  if (::IsWindow(m_hWnd)) {
    ::SetActiveWindow(m_hWnd);
    if (::IsWindow(m_hFocus) && ::IsChild(m_hWnd, m_hFocus)) ::SetFocus(m_hFocus);
  }
  m_hFocus = nullptr;
}

void CAcUiDialog::CancelEditorCommand() {
  CompleteEditorCommand(TRUE);
  if (::IsWindow(m_hWnd)) EndDialog(IDCANCEL);
}
