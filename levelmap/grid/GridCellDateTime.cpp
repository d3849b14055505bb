// The date-time cell.
#include "GridCellDateTime.h"

#include <cwchar>

#include "GridCtrl.h"
#include "InPlaceDateTime.h"

IMPLEMENT_DYNCREATE(CGridCellDateTime, CGridCell)

CGridCellDateTime::CGridCellDateTime() : CGridCellDateTime(DTS_SHORTDATEFORMAT) {}

CGridCellDateTime::CGridCellDateTime(DWORD dwStyle) : m_cTime(::time(nullptr)), m_dwStyle(dwStyle) {
  SetFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SetTime(m_cTime);
}

CGridCellDateTime::~CGridCellDateTime() = default;

CString CGridCellDateTime::FormatTime(time_t time, DWORD dwStyle, const CString& strOther) {
  const wchar_t* pszFormat = nullptr;
  if (dwStyle == DTS_TIMEFORMAT) pszFormat = L"%X";
  else if (dwStyle == DTS_SHORTDATEFORMAT) pszFormat = L"%x";
  if (!pszFormat) return strOther;
  std::tm local{};
  if (!localtime_r(&time, &local)) return CString();
  wchar_t buffer[129] = {0};
  if (std::wcsftime(buffer, 128, pszFormat, &local) == 0) return CString();
  return CString(buffer);
}

SYSTEMTIME CGridCellDateTime::ToSystemTime(time_t time) {
  SYSTEMTIME st{};
  std::tm local{};
  if (!localtime_r(&time, &local)) return st;
  st.wYear = static_cast<WORD>(local.tm_year + 1900);
  st.wMonth = static_cast<WORD>(local.tm_mon + 1);
  st.wDayOfWeek = static_cast<WORD>(local.tm_wday);
  st.wDay = static_cast<WORD>(local.tm_mday);
  st.wHour = static_cast<WORD>(local.tm_hour);
  st.wMinute = static_cast<WORD>(local.tm_min);
  st.wSecond = static_cast<WORD>(local.tm_sec);
  return st;
}

time_t CGridCellDateTime::FromSystemTime(const SYSTEMTIME& st) {
  std::tm local{};
  local.tm_year = st.wYear - 1900;
  local.tm_mon = st.wMonth - 1;
  local.tm_mday = st.wDay;
  local.tm_hour = st.wHour;
  local.tm_min = st.wMinute;
  local.tm_sec = st.wSecond;
  local.tm_isdst = -1;
  return mktime(&local);
}

void CGridCellDateTime::SetTime(time_t time) {
  m_cTime = time;
  SetText(FormatTime(time, m_dwStyle, GetText()));
}

void CGridCellDateTime::OnCopy(const CGridCellBase& cell) {
  if (const auto* pOther = dynamic_cast<const CGridCellDateTime*>(&cell)) {
    m_cTime = pOther->m_cTime;
    m_dwStyle = pOther->m_dwStyle;
  }
}

BOOL CGridCellDateTime::Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) {
  (void)point;
  if (m_bEditing) return TRUE;
  CGridCtrl* pGrid = GetGrid();
  if (!pGrid) return FALSE;
  auto* pEditor = new CInPlaceDateTime(pGrid, rect, m_dwStyle, nID, nRow, nCol, GetTextClr(), GetBackClr(), &m_cTime,
                                       nChar);
  if (!pEditor->GetSafeHwnd()) {
    delete pEditor;
    return FALSE;
  }
  m_bEditing = TRUE;
  m_pEditWnd = pEditor;
  return TRUE;
}

void CGridCellDateTime::EndEdit() {
  if (auto* pEditor = dynamic_cast<CInPlaceDateTime*>(m_pEditWnd)) pEditor->EndEdit();
}
