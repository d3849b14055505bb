// The class library's print-job record, CPrintInfo: what a print loop hands
// its page hooks (the page being printed, the page range, the drawing
// rectangle, whether to go on).
#pragma once

#include "afxdlgs.h"

struct CPrintInfo {
  CPrintInfo();
  ~CPrintInfo();
  CPrintInfo(const CPrintInfo&) = delete;
  CPrintInfo& operator=(const CPrintInfo&) = delete;

  void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = static_cast<WORD>(nMinPage); }
  void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(std::min<UINT>(nMaxPage, 0xFFFF)); }
  UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
  UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
  UINT GetFromPage() const { return m_pPD->m_pd.nFromPage; }
  UINT GetToPage() const { return m_pPD->m_pd.nToPage; }

  CPrintDialog* m_pPD;
  BOOL m_bDocObject;
  DWORD m_dwFlags;
  UINT m_nOffsetPage;
  BOOL m_bDirect;
  BOOL m_bPreview;
  BOOL m_bContinuePrinting;
  UINT m_nCurPage;
  UINT m_nNumPreviewPages;
  CString m_strPageDesc;
  LPVOID m_lpUserData;
  CRect m_rectDraw;
};
