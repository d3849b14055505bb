// Themed controls of the toolkit: they behave as the controls they subclass
// and paint a plain, flat look of their own.
#pragma once

#include "afxwin.h"

// The control themes; 7 is the theme drawn with the style file's images.
enum XTPControlTheme {
  xtpControlThemeDefault = 0,
  xtpControlThemeFlat = 1,
  xtpControlThemeUltraFlat = 2,
  xtpControlThemeOffice2000 = 3,
  xtpControlThemeOfficeXP = 4,
  xtpControlThemeOffice2003 = 5,
  xtpControlThemeNativeWinXP = 6,
  xtpControlThemeResource = 7,
};
typedef XTPControlTheme XTPButtonTheme;

// Where a button's image stands relative to its text.
enum XTPButtonTextImageRelation {
  xtpButtonOverlay = 0,
  xtpButtonImageAboveText = 1,
  xtpButtonTextAboveImage = 2,
  xtpButtonImageBeforeText = 3,
  xtpButtonTextBeforeImage = 4,
};

class CXTPButton : public CButton {
 public:
  CXTPButton();
  ~CXTPButton() override;

  void SetTheme(int theme);
  int GetTheme() const { return m_nTheme; }
  void SetFlatStyle(BOOL flat = TRUE);
  BOOL GetFlatStyle() const { return m_bFlatStyle; }
  void SetShowFocus(BOOL show);
  BOOL GetShowFocus() const { return m_bShowFocus; }
  void SetTextImageRelation(int relation);
  int GetTextImageRelation() const { return m_nTextImageRelation; }
  // The text shown when the pointer rests on the button.
  void SetTooltip(LPCTSTR text) { m_strTooltip = text ? text : L""; }
  CString GetTooltip() const { return m_strTooltip; }
  // The normal image and, optionally, the one shown while the pointer is over
  // the button. The button keeps copies of its own, so the caller may
  // destroy the icons it passed at once.
  BOOL SetIcon(CSize size, HICON normal, HICON hot = nullptr);
  BOOL SetBitmap(CSize size, UINT bitmapId);
  BOOL IsHot() const { return m_bHot; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* wnd);
  void DrawButton(CDC* dc);
  void DrawGroupBox(CDC* dc);
  void DestroyIcons();
  DECLARE_MESSAGE_MAP()

  int m_nTheme = xtpControlThemeDefault;
  BOOL m_bFlatStyle = FALSE;
  BOOL m_bShowFocus = TRUE;
  int m_nTextImageRelation = xtpButtonImageBeforeText;
  CString m_strTooltip;
  HICON m_hIcon = nullptr;
  HICON m_hIconHot = nullptr;
  CBitmap m_bitmap;
  CSize m_szImage;
  BOOL m_bHot = FALSE;
};

class CXTPComboBox : public CComboBox {
 public:
  void SetTheme(int theme) { m_nTheme = theme; Invalidate(); }
  int GetTheme() const { return m_nTheme; }

 private:
  int m_nTheme = xtpControlThemeDefault;
};

class CXTPEdit : public CEdit {
 public:
  void SetTheme(int theme) { m_nTheme = theme; Invalidate(); }
  int GetTheme() const { return m_nTheme; }

 private:
  int m_nTheme = xtpControlThemeDefault;
};

// A static that shows a link: blue, underlined text; a click opens the
// target with the shell's open verb.
class CXTPHyperLink : public CStatic {
 public:
  CXTPHyperLink();
  ~CXTPHyperLink() override;

  void SetURL(LPCTSTR url) { m_strURL = url ? url : L""; }
  CString GetURL() const { return m_strURL; }
  void SetTipText(LPCTSTR tip) { m_strTipText = tip ? tip : L""; }
  CString GetTipText() const { return m_strTipText; }
  void SetUnderline(BOOL underline) { m_bUnderline = underline; Invalidate(); }
  void SetColors(COLORREF link, COLORREF visited, COLORREF hover) {
    m_clrLink = link;
    m_clrVisited = visited;
    m_clrHover = hover;
    Invalidate();
  }
  BOOL IsVisited() const { return m_bVisited; }
  // Opens the target; FALSE when there is none or the shell refused it.
  BOOL GotoURL();

 protected:
  void PreSubclassWindow() override;
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  afx_msg LRESULT OnNcHitTest(CPoint) { return HTCLIENT; }
  DECLARE_MESSAGE_MAP()

  CString m_strURL;
  CString m_strTipText;
  BOOL m_bUnderline = TRUE;
  BOOL m_bVisited = FALSE;
  COLORREF m_clrLink = RGB(0, 0, 238);
  COLORREF m_clrVisited = RGB(85, 26, 139);
  COLORREF m_clrHover = RGB(0, 0, 238);
  CFont m_fontUnderline;
};
