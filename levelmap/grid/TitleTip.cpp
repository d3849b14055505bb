// The title tip popup.
#include "TitleTip.h"

#include "GridCellBase.h"
#include "sysinfoapi.h"

#ifndef WM_NCLBUTTONDOWN
#define WM_NCLBUTTONDOWN 0x00A1
#define WM_NCLBUTTONDBLCLK 0x00A3
#define WM_NCRBUTTONDOWN 0x00A4
#define WM_NCMBUTTONDOWN 0x00A7
#endif

BEGIN_MESSAGE_MAP(CTitleTip, CWnd)
  ON_WM_PAINT()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_MBUTTONDOWN()
  ON_WM_KEYDOWN()
  ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CTitleTip::CTitleTip()
    : m_pParentWnd(nullptr),
      m_dwLastLButtonDown(static_cast<DWORD>(-1)),
      m_dwDblClickMsecs(::GetDoubleClickTime()),
      m_bCreated(FALSE),
      m_lf{},
      m_bHaveFont(FALSE),
      m_crText(CLR_DEFAULT),
      m_crBack(CLR_DEFAULT) {
  // The class once per module: save-bits, arrow cursor, tooltip background.
  WNDCLASS wndcls{};
  HINSTANCE hInst = AfxGetInstanceHandle();
  if (!::GetClassInfoW(hInst, TITLETIP_CLASSNAME, &wndcls)) {
    wndcls.style = CS_SAVEBITS;
    wndcls.lpfnWndProc = ::DefWindowProcW;
    wndcls.hInstance = hInst;
    wndcls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wndcls.hbrBackground = ::GetSysColorBrush(COLOR_INFOBK);
    wndcls.lpszClassName = TITLETIP_CLASSNAME;
    AfxRegisterClass(&wndcls);
  }
}

CTitleTip::~CTitleTip() = default;

BOOL CTitleTip::Create(CWnd* pParentWnd) {
  if (m_bCreated) return TRUE;
  m_pParentWnd = pParentWnd;
  if (!pParentWnd) return FALSE;
  m_bCreated = CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TITLETIP_CLASSNAME, nullptr, WS_BORDER | WS_POPUP,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), nullptr);
  return m_bCreated;
}

void CTitleTip::Show(CRect rectTitle, LPCTSTR lpszTitleText, int xoffset, LPRECT lpHoverRect, const LOGFONT* lpLogFont,
                     COLORREF crTextClr, COLORREF crBackClr) {
  if (!m_pParentWnd || !::IsWindow(m_pParentWnd->GetSafeHwnd())) return;
  if (rectTitle.IsRectEmpty()) return;
  if (!m_bCreated && !Create(m_pParentWnd)) return;
  if (IsWindowVisible()) return;

  m_rectHover = lpHoverRect ? CRect(lpHoverRect) : rectTitle;
  m_strTitle = CString(L" ") + (lpszTitleText ? lpszTitleText : L"") + L" ";
  m_bHaveFont = lpLogFont != nullptr;
  if (lpLogFont) m_lf = *lpLogFont;
  m_crText = crTextClr;
  m_crBack = crBackClr;

  CClientDC dc(this);
  CFont font;
  CFont* pOldFont = nullptr;
  if (m_bHaveFont && font.CreateFontIndirect(&m_lf)) pOldFont = dc.SelectObject(&font);
  else if (CFont* pParentFont = m_pParentWnd->GetFont()) pOldFont = dc.SelectObject(pParentFont);
  CSize size = dc.GetTextExtent(m_strTitle);
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  if (pOldFont) dc.SelectObject(pOldFont);
  size.cx += tm.tmOverhang;

  // Nothing is cut off: no tip.
  if (size.cx + 2 * xoffset <= rectTitle.Width()) return;

  CRect rectDisplay = rectTitle;
  rectDisplay.left += xoffset;
  rectDisplay.right = rectDisplay.left + size.cx + 2;
  m_pParentWnd->ClientToScreen(&rectDisplay);
  SetWindowPos(&wndTopMost, rectDisplay.left, rectDisplay.top, rectDisplay.Width(), rectDisplay.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
  SetCapture();
}

void CTitleTip::Hide() {
  if (!m_hWnd || !::IsWindow(m_hWnd)) return;
  if (GetCapture() == this) ::ReleaseCapture();
  ShowWindow(SW_HIDE);
}

void CTitleTip::OnPaint() {
  CPaintDC dc(this);
  CRect rect;
  GetClientRect(&rect);
  COLORREF crBack = m_crBack != CLR_DEFAULT ? m_crBack : ::GetSysColor(COLOR_INFOBK);
  dc.FillSolidRect(rect, crBack);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(m_crText != CLR_DEFAULT ? m_crText : ::GetSysColor(COLOR_INFOTEXT));
  CFont font;
  CFont* pOldFont = nullptr;
  if (m_bHaveFont && font.CreateFontIndirect(&m_lf)) pOldFont = dc.SelectObject(&font);
  else if (m_pParentWnd && m_pParentWnd->GetFont()) pOldFont = dc.SelectObject(m_pParentWnd->GetFont());
  dc.DrawText(m_strTitle, rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (pOldFont) dc.SelectObject(pOldFont);
}

void CTitleTip::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_pParentWnd) return;
  CPoint screen = point;
  ClientToScreen(&screen);
  CPoint parent = screen;
  m_pParentWnd->ScreenToClient(&parent);
  if (m_rectHover.PtInRect(parent)) return;
  // Out of the cell: the tip goes and the grid sees where the pointer is.
  Hide();
  if (::IsWindow(m_pParentWnd->GetSafeHwnd()))
    m_pParentWnd->SendMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(parent.x, parent.y));
}

void CTitleTip::ForwardButton(UINT nClientMsg, UINT nNonClientMsg, UINT nFlags, CPoint screen) {
  Hide();
  HWND hTarget = ::WindowFromPoint(screen);
  if (!hTarget || hTarget == m_hWnd) hTarget = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
  if (!hTarget || !::IsWindow(hTarget)) return;
  LRESULT nHit = ::SendMessageW(hTarget, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
  if (nHit == HTCLIENT || nHit == HTTRANSPARENT || nHit == HTNOWHERE) {
    CPoint client = screen;
    ::ScreenToClient(hTarget, &client);
    ::SendMessageW(hTarget, nClientMsg, nFlags, MAKELPARAM(client.x, client.y));
  } else {
    ::SendMessageW(hTarget, nNonClientMsg, static_cast<WPARAM>(nHit), MAKELPARAM(screen.x, screen.y));
  }
}

void CTitleTip::OnLButtonDown(UINT nFlags, CPoint point) {
  CPoint screen = point;
  ClientToScreen(&screen);
  // Two presses within the double-click time make a double click.
  DWORD dwTick = ::GetTickCount();
  bool bDouble = m_dwLastLButtonDown != static_cast<DWORD>(-1) && dwTick - m_dwLastLButtonDown <= m_dwDblClickMsecs;
  m_dwLastLButtonDown = bDouble ? static_cast<DWORD>(-1) : dwTick;
  if (bDouble) ForwardButton(WM_LBUTTONDBLCLK, WM_NCLBUTTONDBLCLK, nFlags, screen);
  else ForwardButton(WM_LBUTTONDOWN, WM_NCLBUTTONDOWN, nFlags, screen);
}

void CTitleTip::OnRButtonDown(UINT nFlags, CPoint point) {
  CPoint screen = point;
  ClientToScreen(&screen);
  ForwardButton(WM_RBUTTONDOWN, WM_NCRBUTTONDOWN, nFlags, screen);
}

void CTitleTip::OnMButtonDown(UINT nFlags, CPoint point) {
  CPoint screen = point;
  ClientToScreen(&screen);
  ForwardButton(WM_MBUTTONDOWN, WM_NCMBUTTONDOWN, nFlags, screen);
}

void CTitleTip::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  Hide();
  if (m_pParentWnd && ::IsWindow(m_pParentWnd->GetSafeHwnd()))
    m_pParentWnd->SendMessage(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
}

void CTitleTip::OnCaptureChanged(CWnd* pWnd) {
  // Someone else took the mouse: the tip cannot follow it any more.
  if (pWnd != this && m_hWnd && IsWindowVisible()) ShowWindow(SW_HIDE);
}
