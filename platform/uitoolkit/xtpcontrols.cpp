// Themed button and group box, combo box, edit and hyperlink.
#include "xtpcontrols.h"

#include "dlgscript.h"

namespace {
// The flat look's colours.
constexpr COLORREF kFace = RGB(240, 240, 240);
constexpr COLORREF kFaceHot = RGB(229, 241, 251);
constexpr COLORREF kFacePushed = RGB(204, 228, 247);
constexpr COLORREF kBorder = RGB(112, 112, 112);
constexpr COLORREF kBorderDefault = RGB(0, 120, 215);
constexpr COLORREF kGroupLine = RGB(188, 188, 188);
constexpr COLORREF kGroupText = RGB(0, 70, 160);
}  // namespace

// ---------------------------------------------------------------- button

BEGIN_MESSAGE_MAP(CXTPButton, CButton)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_MOUSEMOVE()
  ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CXTPButton::CXTPButton() = default;
CXTPButton::~CXTPButton() { DestroyIcons(); }

void CXTPButton::DestroyIcons() {
  if (m_hIcon) ::DestroyIcon(m_hIcon);
  if (m_hIconHot) ::DestroyIcon(m_hIconHot);
  m_hIcon = m_hIconHot = nullptr;
}

void CXTPButton::SetTheme(int theme) {
  m_nTheme = theme;
  if (m_hWnd) Invalidate();
}

void CXTPButton::SetFlatStyle(BOOL flat) {
  m_bFlatStyle = flat;
  if (m_hWnd) Invalidate();
}

void CXTPButton::SetShowFocus(BOOL show) {
  m_bShowFocus = show;
  if (m_hWnd) Invalidate();
}

void CXTPButton::SetTextImageRelation(int relation) {
  m_nTextImageRelation = relation;
  if (m_hWnd) Invalidate();
}

BOOL CXTPButton::SetIcon(CSize size, HICON normal, HICON hot) {
  DestroyIcons();
  m_szImage = size;
  m_hIcon = normal ? ::CopyIcon(normal) : nullptr;
  m_hIconHot = hot ? ::CopyIcon(hot) : nullptr;
  if (m_hWnd) Invalidate();
  return normal != nullptr;
}

BOOL CXTPButton::SetBitmap(CSize size, UINT bitmapId) {
  m_bitmap.DeleteObject();
  if (!m_bitmap.LoadBitmap(bitmapId)) return FALSE;
  m_szImage = size;
  if (m_hWnd) Invalidate();
  return TRUE;
}

void CXTPButton::OnMouseMove(UINT flags, CPoint point) {
  CRect rc;
  GetClientRect(&rc);
  BOOL hot = rc.PtInRect(point);
  if (hot != m_bHot) {
    m_bHot = hot;
    Invalidate();
  }
  CButton::OnMouseMove(flags, point);
}

void CXTPButton::OnCaptureChanged(CWnd* wnd) {
  m_bHot = FALSE;
  Invalidate();
  CButton::OnCaptureChanged(wnd);
}

void CXTPButton::OnPaint() {
  CPaintDC dc(this);
  if ((GetStyle() & BS_TYPEMASK) == BS_GROUPBOX) DrawGroupBox(&dc);
  else DrawButton(&dc);
}

void CXTPButton::DrawGroupBox(CDC* dc) {
  CRect rc;
  GetClientRect(&rc);
  CFont* old = dc->SelectObject(GetFont());
  TEXTMETRIC tm;
  dc->GetTextMetrics(&tm);
  CString text;
  GetWindowText(text);
  CRect frame(rc.left, rc.top + tm.tmHeight / 2, rc.right, rc.bottom);
  dc->Draw3dRect(&frame, kGroupLine, kGroupLine);
  if (!text.IsEmpty()) {
    CRect tr(rc.left + 8, rc.top, rc.right - 8, rc.top + tm.tmHeight);
    CRect calc = tr;
    dc->DrawText(text, &calc, DT_SINGLELINE | DT_CALCRECT);
    tr.right = std::min(tr.right, calc.right + 2);
    dc->FillSolidRect(CRect(tr.left - 2, tr.top, tr.right, tr.bottom), ::GetSysColor(COLOR_BTNFACE));
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(IsWindowEnabled() ? (m_nTheme == xtpControlThemeDefault ? ::GetSysColor(COLOR_BTNTEXT) : kGroupText)
                                       : ::GetSysColor(COLOR_GRAYTEXT));
    dc->DrawText(text, &tr, DT_SINGLELINE | DT_LEFT | DT_VCENTER);
  }
  dc->SelectObject(old);
}

void CXTPButton::DrawButton(CDC* dc) {
  CRect rc;
  GetClientRect(&rc);
  UINT state = GetState();
  bool pushed = (state & BST_PUSHED) != 0;
  bool focused = ::GetFocus() == m_hWnd;
  bool isDefault = (GetStyle() & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  bool enabled = IsWindowEnabled() != FALSE;
  if (m_bFlatStyle && !m_bHot && !pushed) {
    dc->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
  } else {
    dc->FillSolidRect(&rc, pushed ? kFacePushed : m_bHot ? kFaceHot : kFace);
    dc->Draw3dRect(&rc, isDefault ? kBorderDefault : kBorder, isDefault ? kBorderDefault : kBorder);
    if (isDefault) {
      CRect inner = rc;
      inner.DeflateRect(1, 1);
      dc->Draw3dRect(&inner, kBorderDefault, kBorderDefault);
    }
  }
  CFont* old = dc->SelectObject(GetFont());
  CString text;
  GetWindowText(text);
  CRect content = rc;
  content.DeflateRect(4, 3);
  if (pushed) content.OffsetRect(1, 1);
  HICON icon = (m_bHot && m_hIconHot) ? m_hIconHot : m_hIcon;
  bool hasImage = icon || m_bitmap.m_hObject;
  CSize img = hasImage ? m_szImage : CSize(0, 0);
  CRect textRect = content;
  if (hasImage) {
    CRect calc(0, 0, content.Width(), 0);
    dc->DrawText(text, &calc, DT_SINGLELINE | DT_CALCRECT);
    CPoint at;
    switch (text.IsEmpty() ? xtpButtonOverlay : m_nTextImageRelation) {
      case xtpButtonImageAboveText:
        at = CPoint(content.CenterPoint().x - img.cx / 2, content.top);
        textRect.top = content.top + img.cy + 2;
        break;
      case xtpButtonTextAboveImage:
        at = CPoint(content.CenterPoint().x - img.cx / 2, content.bottom - img.cy);
        textRect.bottom = content.bottom - img.cy - 2;
        break;
      case xtpButtonTextBeforeImage: {
        int total = calc.Width() + 4 + img.cx;
        int left = content.CenterPoint().x - total / 2;
        textRect = CRect(left, content.top, left + calc.Width(), content.bottom);
        at = CPoint(left + calc.Width() + 4, content.CenterPoint().y - img.cy / 2);
        break;
      }
      case xtpButtonImageBeforeText: {
        int total = img.cx + 4 + calc.Width();
        int left = content.CenterPoint().x - total / 2;
        at = CPoint(left, content.CenterPoint().y - img.cy / 2);
        textRect = CRect(left + img.cx + 4, content.top, left + total, content.bottom);
        break;
      }
      default:
        at = CPoint(content.CenterPoint().x - img.cx / 2, content.CenterPoint().y - img.cy / 2);
        break;
    }
    if (icon) {
      ::DrawIconEx(dc->m_hDC, at.x, at.y, icon, img.cx, img.cy, 0, nullptr, DI_NORMAL);
    } else {
      CDC mem;
      mem.CreateCompatibleDC(dc);
      CBitmap* ob = mem.SelectObject(&m_bitmap);
      BITMAP bm{};
      m_bitmap.GetBitmap(&bm);
      dc->StretchBlt(at.x, at.y, img.cx, img.cy, &mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
      mem.SelectObject(ob);
    }
  }
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(enabled ? ::GetSysColor(COLOR_BTNTEXT) : ::GetSysColor(COLOR_GRAYTEXT));
  dc->DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  if (focused && m_bShowFocus) {
    CRect fr = rc;
    fr.DeflateRect(3, 3);
    dc->DrawFocusRect(&fr);
  }
  dc->SelectObject(old);
}

// ---------------------------------------------------------------- hyperlink

BEGIN_MESSAGE_MAP(CXTPHyperLink, CStatic)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONUP()
  ON_WM_SETCURSOR()
  ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CXTPHyperLink::CXTPHyperLink() = default;
CXTPHyperLink::~CXTPHyperLink() = default;

void CXTPHyperLink::PreSubclassWindow() {
  ModifyStyle(0, SS_NOTIFY);
  CStatic::PreSubclassWindow();
}

BOOL CXTPHyperLink::GotoURL() {
  CString target = m_strURL;
  if (target.IsEmpty()) GetWindowText(target);
  if (target.IsEmpty()) return FALSE;
  HINSTANCE r = ::ShellExecuteW(m_hWnd, L"open", target, nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<intptr_t>(r) <= 32) return FALSE;
  m_bVisited = TRUE;
  Invalidate();
  return TRUE;
}

void CXTPHyperLink::OnLButtonUp(UINT, CPoint) {
  GotoURL();
  CWnd* parent = GetParent();
  if (parent) parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), STN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}

BOOL CXTPHyperLink::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
  return TRUE;
}

void CXTPHyperLink::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  HBRUSH bg = reinterpret_cast<HBRUSH>(GetParent() ? GetParent()->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.m_hDC),
                                                                              reinterpret_cast<LPARAM>(m_hWnd))
                                                   : 0);
  if (bg) ::FillRect(dc.m_hDC, &rc, bg);
  else dc.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
  CFont* base = GetFont();
  LOGFONT lf{};
  if (base && base->m_hObject) base->GetLogFont(&lf);
  else ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  lf.lfUnderline = m_bUnderline ? 1 : 0;
  m_fontUnderline.DeleteObject();
  m_fontUnderline.CreateFontIndirect(&lf);
  CFont* old = dc.SelectObject(&m_fontUnderline);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(m_bVisited ? m_clrVisited : m_clrLink);
  CString text;
  GetWindowText(text);
  UINT fmt = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  DWORD type = GetStyle() & SS_TYPEMASK;
  if (type == SS_CENTER) fmt |= DT_CENTER;
  else if (type == SS_RIGHT) fmt |= DT_RIGHT;
  dc.DrawText(text, &rc, fmt);
  dc.SelectObject(old);
}
