// The class library's print dialog and print-job record.
#include "afxext.h"

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd) : m_pdActual{}, m_pd(m_pdActual) {
  m_pd.lStructSize = sizeof(PRINTDLG);
  m_pd.hwndOwner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
  m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
  m_pd.nFromPage = m_pd.nToPage = 1;
  m_pd.nMinPage = 1;
  m_pd.nMaxPage = 0xFFFF;
  m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog() {
  if (m_pd.hDevNames) ::GlobalFree(m_pd.hDevNames);
  if (m_pd.hDevMode) ::GlobalFree(m_pd.hDevMode);
}

INT_PTR CPrintDialog::DoModal() {
  m_pd.Flags &= ~PD_RETURNDEFAULT;
  return ::PrintDlgW(&m_pd) ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults() {
  DWORD dwFlags = m_pd.Flags;
  m_pd.Flags |= PD_RETURNDEFAULT;
  BOOL bResult = ::PrintDlgW(&m_pd);
  m_pd.Flags = dwFlags;
  return bResult;
}

HDC CPrintDialog::CreatePrinterDC() {
  CString strDevice = GetDeviceName();
  if (strDevice.IsEmpty()) return nullptr;
  const DEVMODEW* pDevMode = m_pd.hDevMode ? static_cast<const DEVMODEW*>(::GlobalLock(m_pd.hDevMode)) : nullptr;
  m_pd.hDC = ::CreateDCW(GetDriverName(), strDevice, nullptr, pDevMode);
  if (m_pd.hDevMode) ::GlobalUnlock(m_pd.hDevMode);
  return m_pd.hDC;
}

CString CPrintDialog::DevNamesPart(int nPart) const {
  if (!m_pd.hDevNames) return CString();
  auto* pBase = static_cast<const wchar_t*>(::GlobalLock(m_pd.hDevNames));
  if (!pBase) return CString();
  const auto* pNames = reinterpret_cast<const DEVNAMES*>(pBase);
  WORD nOffset = nPart == 0 ? pNames->wDriverOffset : nPart == 1 ? pNames->wDeviceOffset : pNames->wOutputOffset;
  CString strPart;
  if (nOffset * sizeof(wchar_t) < ::GlobalSize(m_pd.hDevNames)) strPart = pBase + nOffset;
  ::GlobalUnlock(m_pd.hDevNames);
  return strPart;
}

CString CPrintDialog::GetDriverName() const { return DevNamesPart(0); }
CString CPrintDialog::GetDeviceName() const { return DevNamesPart(1); }
CString CPrintDialog::GetPortName() const { return DevNamesPart(2); }

LPDEVMODE CPrintDialog::GetDevMode() const {
  return m_pd.hDevMode ? static_cast<LPDEVMODE>(::GlobalLock(m_pd.hDevMode)) : nullptr;
}

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)),
      m_bDocObject(FALSE),
      m_dwFlags(0),
      m_nOffsetPage(0),
      m_bDirect(FALSE),
      m_bPreview(FALSE),
      m_bContinuePrinting(TRUE),
      m_nCurPage(1),
      m_nNumPreviewPages(0),
      m_lpUserData(nullptr) {
  SetMinPage(1);
  SetMaxPage(0xFFFF);
}

CPrintInfo::~CPrintInfo() { delete m_pPD; }
