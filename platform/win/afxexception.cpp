// The library's COM exceptions: their messages and the calls that throw them.
#include "afxexception.h"

#include <algorithm>
#include <cwchar>
#include <new>

#include "afxwin.h"
#include "comdef.h"
#include "format.h"

namespace {

BOOL CopyMessage(const std::wstring& text, LPTSTR out, UINT max) {
  if (!out || max == 0) return FALSE;
  size_t n = std::min<size_t>(text.size(), max - 1);
  std::wmemcpy(out, text.data(), n);
  out[n] = L'\0';
  return TRUE;
}

}  // namespace

BOOL COleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  return CopyMessage(_com_error(m_sc).ErrorMessage(), lpszError, nMaxError);
}

SCODE COleException::Process(const CException* e) {
  if (!e) return E_UNEXPECTED;
  if (auto* ole = dynamic_cast<const COleException*>(e)) return ole->m_sc;
  if (dynamic_cast<const CMemoryException*>(e)) return E_OUTOFMEMORY;
  return E_UNEXPECTED;
}

BOOL COleDispatchException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = m_dwHelpContext;
  if (!m_strDescription.IsEmpty()) return CopyMessage(std::wstring(m_strDescription.View()), lpszError, nMaxError);
  if (m_scError != S_OK) return CopyMessage(_com_error(m_scError).ErrorMessage(), lpszError, nMaxError);
  return CopyMessage(win::Format(L"Error %u", static_cast<unsigned>(m_wCode)), lpszError, nMaxError);
}

void AFXAPI AfxThrowOleException(SCODE sc) {
  if (sc == E_OUTOFMEMORY) AfxThrowMemoryException();
  throw new COleException(sc);
}

void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID) {
  throw new COleDispatchException(lpszDescription, nHelpID, wCode);
}
